#include "dataset_catalog.h"

#include <array>

namespace vantu::dataset {

namespace {

// "\xF1" is ñ and "\xD1" Ñ; a literal is split after them so that the
// following letters are not read as more hex digits.
constexpr InputEntry kEquipos[] = {
    {"Retroexcavadora sobre llantas", "hora", 145000, 0.02, 0.25},
    {"Volqueta sencilla 6 m3", "hora", 95000, 0.02, 0.30},
    {"Mezcladora de concreto 1 saco", "dia", 65000, 0.05, 0.60},
    {"Vibrador de concreto a gasolina", "dia", 45000, 0.05, 0.50},
    {"Compactador canguro", "dia", 85000, 0.03, 0.40},
    {"Vibrocompactador de rodillo", "hora", 120000, 0.01, 0.10},
    {"Motoniveladora", "hora", 180000, 0.01, 0.05},
    {"Andamio tubular (cuerpo)", "dia", 3500, 0.50, 4.00},
    {"Formaleta metalica para muro", "m2", 4500, 1.00, 3.00},
    {"Pulidora electrica", "dia", 25000, 0.05, 0.30},
    {"Cortadora de ladrillo", "dia", 40000, 0.02, 0.20},
    {"Taladro percutor", "dia", 20000, 0.05, 0.30},
    {"Planta electrica 5 kw", "dia", 70000, 0.02, 0.20},
    {"Equipo de soldadura", "dia", 60000, 0.05, 0.40},
    {"Motobomba de 3 pulgadas", "dia", 55000, 0.02, 0.20},
    {"Puntal metalico telescopico", "dia", 1200, 2.00, 10.00},
    {"Minicargador", "hora", 110000, 0.02, 0.15},
    {"Martillo demoledor electrico", "dia", 75000, 0.05, 0.40},
    {"Malacate con torre", "dia", 50000, 0.02, 0.20},
};

constexpr InputEntry kMateriales[] = {
    {"Cemento gris 50 kg", "bulto", 32500, 0.20, 9.00},
    {"Arena de pe\xF1"
     "a",
     "m3", 65000, 0.02, 0.70},
    {"Arena de rio lavada", "m3", 85000, 0.02, 0.60},
    {"Triturado de 3/4", "m3", 110000, 0.05, 0.90},
    {"Grava comun", "m3", 95000, 0.05, 0.80},
    {"Agua", "m3", 4500, 0.02, 0.25},
    {"Ladrillo tolete", "un", 850, 10.00, 60.00},
    {"Bloque de concreto 10x20x40", "un", 2200, 10.00, 14.00},
    {"Ladrillo farol 10x20x30", "un", 1100, 14.00, 18.00},
    {"Varilla corrugada 1/2", "kg", 4300, 1.00, 40.00},
    {"Varilla corrugada 3/8", "kg", 4300, 1.00, 30.00},
    {"Alambre negro calibre 18", "kg", 6500, 0.05, 1.00},
    {"Puntilla de 2 1/2 con cabeza", "lb", 5200, 0.05, 0.50},
    {"Concreto 3000 psi premezclado", "m3", 420000, 0.05, 1.05},
    {"Concreto 4000 psi premezclado", "m3", 470000, 0.05, 1.05},
    {"Malla electrosoldada", "m2", 18000, 1.00, 1.10},
    {"Tuberia PVC sanitaria 4", "ml", 18500, 1.00, 6.00},
    {"Tuberia PVC presion 1/2", "ml", 3200, 1.00, 8.00},
    {"Teja de fibrocemento No. 6", "un", 42000, 0.40, 0.60},
    {"Pintura vinilo tipo 1", "galon", 58000, 0.05, 0.30},
    {"Baldosa ceramica 30x30", "m2", 28000, 1.00, 1.08},
    {"Pegante para ceramica 25 kg", "bulto", 21000, 0.10, 0.30},
    {"Cal hidratada", "bulto", 15000, 0.05, 0.50},
    {"Tabla de formaleta", "un", 9000, 0.20, 2.00},
    {"Impermeabilizante integral", "kg", 9500, 0.20, 1.50},
    {"Cable de cobre THHN 12", "ml", 2300, 5.00, 30.00},
    {"Tubo conduit PVC 1/2", "ml", 1900, 3.00, 15.00},
    {"Estuco plastico (cu\xF1"
     "ete)",
     "un", 68000, 0.02, 0.10},
    {"Recebo comun", "m3", 55000, 0.50, 1.30},
    {"Soldadura electrodo 6013", "kg", 14000, 0.02, 0.30},
};

constexpr InputEntry kTransportes[] = {
    {"Transporte de agregados", "m3", 25000, 0.05, 1.00},
    {"Acarreo interno de materiales", "m3", 15000, 0.05, 1.00},
    {"Transporte de escombros", "m3", 28000, 0.10, 1.30},
    {"Flete de cemento", "bulto", 1200, 0.20, 9.00},
    {"Transporte de acero de refuerzo", "ton", 45000, 0.001, 0.05},
    {"Transporte de ladrillo", "mil", 60000, 0.01, 0.06},
    {"Retiro de sobrantes en volqueta", "viaje", 180000, 0.02, 0.25},
    {"Transporte de concreto", "m3", 12000, 0.05, 1.05},
    {"Transporte de equipo en cama baja", "viaje", 650000, 0.001, 0.01},
};

constexpr InputEntry kManoDeObra[] = {
    {"Oficial de construccion", "dia", 95000, 0.05, 1.20},
    {"Ayudante de construccion", "dia", 68000, 0.05, 1.50},
    {"Maestro de obra", "dia", 150000, 0.01, 0.10},
    {"Cuadrilla 1 oficial 2 ayudantes", "dia", 240000, 0.05, 0.80},
    {"Cuadrilla 1 oficial 1 ayudante", "dia", 170000, 0.05, 0.80},
    {"Operador de maquinaria", "hora", 18000, 0.02, 0.30},
    {"Soldador", "dia", 120000, 0.02, 0.30},
    {"Electricista", "dia", 110000, 0.05, 0.50},
    {"Plomero", "dia", 105000, 0.05, 0.50},
    {"Pintor", "dia", 90000, 0.02, 0.20},
    {"Carpintero de formaleta", "dia", 100000, 0.05, 0.60},
    {"Enchapador", "dia", 105000, 0.05, 0.40},
    {"Armador de hierro", "dia", 100000, 0.005, 0.05},
    {"Topografo", "dia", 160000, 0.002, 0.02},
    {"Cadenero", "dia", 70000, 0.002, 0.02},
    {"Ayudante de alba\xF1"
     "il",
     "dia", 65000, 0.05, 1.00},
};

constexpr ActivityEntry kMezclas[] = {
    {"Concreto 3000 psi hecho en obra", "m3"},
    {"Concreto 2500 psi hecho en obra", "m3"},
    {"Concreto 4000 psi hecho en obra", "m3"},
    {"Mortero 1:3", "m3"},
    {"Mortero 1:4", "m3"},
    {"Mortero 1:5", "m3"},
    {"Concreto ciclopeo 60/40", "m3"},
};
constexpr ActivityEntry kPreliminares[] = {
    {"Localizacion y replanteo", "m2"},         {"Descapote manual e=0.20", "m2"},
    {"Cerramiento en tela verde h=2.10", "ml"}, {"Campamento en madera", "m2"},
    {"Demolicion de placa de concreto", "m2"},
};
constexpr ActivityEntry kExcavaciones[] = {
    {"Excavacion manual material comun", "m3"},
    {"Excavacion mecanica", "m3"},
    {"Relleno compactado material sitio", "m3"},
    {"Relleno con recebo compactado", "m3"},
    {"Retiro de sobrantes", "m3"},
};
constexpr ActivityEntry kCimentacion[] = {
    {"Zapata en concreto 3000 psi", "m3"}, {"Viga de cimentacion 0.30x0.30", "ml"},
    {"Solado de limpieza e=0.05", "m2"},   {"Acero de refuerzo 60000 psi", "kg"},
    {"Pilote preexcavado D=0.40", "ml"},
};
constexpr ActivityEntry kEstructura[] = {
    {"Columna en concreto 0.30x0.30", "ml"},  {"Viga aerea en concreto 3000 psi", "ml"},
    {"Placa aligerada e=0.40", "m2"},         {"Escalera en concreto", "m3"},
    {"Muro de contencion en concreto", "m3"},
};
constexpr ActivityEntry kMamposteria[] = {
    {"Muro en ladrillo tolete e=0.12", "m2"},
    {"Muro en bloque de concreto", "m2"},
    {"Muro en ladrillo farol", "m2"},
    {"Sobrecimiento en ladrillo", "ml"},
    {"Dintel en concreto", "ml"},
};
constexpr ActivityEntry kPanetes[] = {
    {"Pa\xF1"
     "ete liso sobre muros 1:4",
     "m2"},
    {"Pa\xF1"
     "ete impermeabilizado 1:3",
     "m2"},
    {"Filos y dilataciones", "ml"},
    {"Estuco sobre pa\xF1"
     "ete",
     "m2"},
};
constexpr ActivityEntry kPisos[] = {
    {"Placa de contrapiso e=0.10", "m2"}, {"Enchape ceramico de piso 30x30", "m2"},
    {"Enchape ceramico de muro", "m2"},   {"Guardaescoba en ceramica", "ml"},
    {"Alistado de piso e=0.04", "m2"},
};
constexpr ActivityEntry kCubiertas[] = {
    {"Cubierta en teja de fibrocemento", "m2"},
    {"Canal en lamina galvanizada", "ml"},
    {"Estructura metalica de cubierta", "kg"},
    {"Caballete en fibrocemento", "ml"},
};
constexpr ActivityEntry kHidrosanitarias[] = {
    {"Punto hidraulico PVC 1/2", "un"},
    {"Punto sanitario PVC 4", "un"},
    {"Tuberia PVC sanitaria 4 instalada", "ml"},
    {"Caja de inspeccion 0.60x0.60", "un"},
};
constexpr ActivityEntry kElectricas[] = {
    {"Salida de alumbrado", "un"},
    {"Salida de tomacorriente doble", "un"},
    {"Acometida electrica", "ml"},
    {"Tablero de 12 circuitos", "un"},
};
constexpr ActivityEntry kPintura[] = {
    {"Pintura vinilo tres manos", "m2"},
    {"Pintura esmalte sobre metal", "m2"},
    {"Pintura de fachada", "m2"},
};
constexpr ActivityEntry kCarpinteria[] = {
    {"Puerta en madera entamborada", "un"},
    {"Ventana en aluminio", "m2"},
    {"Closet en madera", "ml"},
};
constexpr ActivityEntry kExteriores[] = {
    {"Anden en concreto e=0.10", "m2"},
    {"Sardinel en concreto", "ml"},
    {"Aseo general de obra", "m2"},
};

constexpr Theme kAnalysisThemes[] = {
    {"MEZCLAS Y CONCRETOS", kMezclas},
    {"PRELIMINARES", kPreliminares},
    {"EXCAVACIONES Y RELLENOS", kExcavaciones},
    {"CIMENTACION", kCimentacion},
    {"ESTRUCTURA", kEstructura},
    {"MAMPOSTERIA", kMamposteria},
    {"PA\xD1"
     "ETES Y REVOQUES",
     kPanetes},
    {"PISOS Y ENCHAPES", kPisos},
    {"CUBIERTAS", kCubiertas},
    {"INSTALACIONES HIDROSANITARIAS", kHidrosanitarias},
    {"INSTALACIONES ELECTRICAS", kElectricas},
    {"PINTURA", kPintura},
    {"CARPINTERIA", kCarpinteria},
    {"OBRAS EXTERIORES Y ASEO", kExteriores},
};

constexpr ActivityEntry kObraGris[] = {
    {"Impermeabilizacion de cubierta", "m2"},
    {"Pilotaje hincado", "ml"},
    {"Estructura metalica especial", "kg"},
};
constexpr ActivityEntry kAcabados[] = {
    {"Cielo raso en drywall", "m2"},   {"Muros en drywall", "m2"},
    {"Piso en madera laminada", "m2"}, {"Vidrios templados", "m2"},
    {"Carpinteria metalica", "m2"},
};
constexpr ActivityEntry kEspeciales[] = {
    {"Instalacion de ascensor", "un"},    {"Red contra incendio", "gl"},
    {"Aire acondicionado central", "gl"}, {"Instalacion de gas natural", "gl"},
    {"Planta de tratamiento", "un"},
};
constexpr ActivityEntry kEstudios[] = {
    {"Estudio de suelos", "gl"},
    {"Levantamiento topografico", "gl"},
    {"Se\xF1"
     "alizacion de obra",
     "gl"},
    {"Jardineria y empradizacion", "m2"},
};

constexpr Theme kSubcontractThemes[] = {
    {"SUBCONTRATOS DE OBRA GRIS", kObraGris},
    {"ACABADOS", kAcabados},
    {"INSTALACIONES ESPECIALES", kEspeciales},
    {"ESTUDIOS Y DISE\xD1"
     "OS",
     kEstudios},
};

constexpr const char* kGlobalPriceNames[] = {
    "Alquiler de formaleta especial",
    "Ensayos de laboratorio",
    "Pruebas de presion",
    "Transporte especial de equipos",
    "Bombeo de concreto",
    "Se\xF1"
    "alizacion temporal",
    "Retiro de escombros especiales",
};

constexpr const char* kBudgetGlobalNames[] = {
    "Administracion de la obra", "Campamento provisional", "Valla informativa",
    "Poliza de estabilidad",     "Aseo final de obra",
};

}  // namespace

std::span<const InputEntry> InputCatalog(int group) {
  switch (group) {
    case 1:
      return kEquipos;
    case 2:
      return kMateriales;
    case 3:
      return kTransportes;
    default:
      return kManoDeObra;
  }
}

const char* GroupChapterName(int group) {
  static constexpr std::array<const char*, 4> kNames = {"EQUIPOS", "MATERIALES", "TRANSPORTES",
                                                        "MANO DE OBRA"};
  return kNames.at(static_cast<size_t>(group - 1));
}

std::span<const Theme> AnalysisThemes() {
  return kAnalysisThemes;
}
std::span<const Theme> SubcontractThemes() {
  return kSubcontractThemes;
}
std::span<const char* const> GlobalPriceNames() {
  return kGlobalPriceNames;
}
std::span<const char* const> BudgetGlobalNames() {
  return kBudgetGlobalNames;
}

std::string VariantName(std::string_view base, int round, size_t capacity) {
  std::string text(base);
  if (round > 0) {
    const std::string suffix = " ref " + std::to_string(round + 1);
    text = text.substr(0, capacity > suffix.size() ? capacity - suffix.size() : 0) + suffix;
  }
  return text.substr(0, capacity);
}

}  // namespace vantu::dataset
