// The status table and the engine's one way of failing.
#include "platform/halt.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

struct StatusEntry {
  int code;
  const char* text;
};

constexpr StatusEntry kStatusTable[] = {
    {1, "Funcion de DOS invalida"},
    {2, "No se encontro el archivo"},
    {3, "No se encontro el subdirectorio"},
    {4, "Hay demasiados archivos abiertos"},
    {5, "Acceso denegado al archivo"},
    {6, "Manejador de archivo invalido"},
    {8, "No hay suficiente memoria"},
    {12, "Inavalido Codigo de acceso al archivo"},
    {15, "Unidad de disco invalida"},
    {16, "Se intento suprimir el directorio corriente"},
    {17, "Se intento renombrar archivo en otra unidad"},
    {100, "Error de lectura de archivo"},
    {101, "Error de escritura de archivo"},
    {102, "Archivo sin asignar"},
    {103, "Archivo sin abrir"},
    {104, "Archivo no abierto para lectura"},
    {105, "Archivo no abierto para escritura"},
    {106, "Formato numerico invalido"},
    {200, "Division por cero"},
    {201, "Error de rango"},
    {202, "Stack excedido"},
    {203, "Heap excedido"},
    {204, "Operacion de apuntador invalida"},
    {1000, "Registro mayor que el maximo especificado"},
    {1001, "Registro menor que el minimo especificado"},
    {1002, "Llave mas larga que el maximo especificado"},
    {1003, "Longitud de registro de datos diferente de la inicial"},
    {1004, "Archivo Indices con Llave o Pagina diferente de la inicial"},
    {1005, "No hay suficiente memoria en el Stack para las Paginas"},
    {1006, "Cadena de registros libres invalida"},
    {1007, "Pagina de Indices invalida"},
    {1008, "Numero de registro fuera del archivo"},
    {1009, "Archivo lleno: mas de 32767 registros"},
    {1010, "Permiso denegado"},
    {1011, "Disco lleno: no hay espacio para escribir"},
    {1012, "Falta el archivo de datos y existe su indice"},
    {1013, "El archivo ya esta abierto"},
    {1014, "No se pudo escribir la marca de uso en la configuracion"},
    {1015, "Nombre de archivo demasiado largo"},
    {1016, "La Rama esta en uso por otro programa"},
    {1017, "Falta un archivo del conjunto y existen los demas"},
    {1018, "Archivo vacio, sin encabezado"},
    {1019, "Es una carpeta, no un archivo"},
};

}  // namespace

std::string StatusText(int code) {
  for (const StatusEntry& e : kStatusTable)
    if (e.code == code) return e.text;
  return "Error no especificado";
}

std::string AdviceLine(int code) {
  if (code == 4) return "El CONFIG.SYS debe incluir FILES = 20";
  if (code == kStatusDataLength) return "Use KORVEN para actualizar la Version";
  if (code == kStatusMarkerNotWritten) return "Revise el permiso de escritura y el espacio del disco";
  if (code == kStatusSetInUse) return "Intente de nuevo cuando el otro programa la cierre";
  return "Use KORVEN - Si persiste use Copia de Respaldo";
}

std::string StatusMessage(int code) {
  std::string text = StatusText(code);
  return std::to_string(code) + (text.empty() ? "" : ": " + text);
}

EngineFailureUi& EngineFailureScreen() {
  static EngineFailureUi ui;
  return ui;
}

void CheckEngineStatus() {
  EngineState& e = Engine();
  if (e.EngineStatus == 0) return;
  // Once the box has been shown the program is ending: a later failure
  // (while the end routine closes files) only stops again.
  if (e.failed) DoHalt(kEngineFailureExitCode);
  e.failed = true;
  if (EngineFailureScreen().show) EngineFailureScreen().show(e.EngineStatus, e.failedFile);
  DoHalt(kEngineFailureExitCode);
}

void FailEngine(int16_t code, const std::string& file) {
  Engine().failedFile = file;
  FailEngine(code);
}

void FailEngine(int16_t code) {
  Engine().EngineStatus = code;
  CheckEngineStatus();
  DoHalt(kEngineFailureExitCode);  // not reached: the check above halts
}

}  // namespace vantu
