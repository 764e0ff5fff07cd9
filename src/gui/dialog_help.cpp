#include "gui/dialog_help.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vantu {

namespace {

// The five sections, each headed by its title with a leading blank.
constexpr const char* kInstructions =
    " FECHA DE HOY\n"
    "La fecha que aparece en la pantalla de seleccion es la fecha del sistema. Se usa en los "
    "encabezados de los listados y como fecha propuesta al crear una Rama o una Obra. Para "
    "cambiarla basta hacer clic sobre ella: se abre el calendario, donde se elige el mes y el "
    "año con las flechas y el dia con un clic.\n"
    "\n"
    " DIRECTORIO\n"
    "Es la carpeta donde se guardan los archivos de datos. El programa propone la ultima "
    "carpeta de trabajo; con el boton del directorio se abre el dialogo de carpetas para "
    "escoger otra. Todas las Ramas y Obras de una carpeta se muestran juntas en la seleccion.\n"
    "\n"
    " EXPLICACION RAMAS Y OBRAS\n"
    "Una Rama es una rama de actividad de la construccion identificada con un solo caracter. "
    "Cada Rama es una base de datos separada con sus propios Insumos Basicos, Analisis "
    "Unitarios y Subcontratos. Las Obras se identifican con dos caracteres y pertenecen "
    "siempre a una Rama: cada Obra guarda su Presupuesto de Obra y su Cronograma, y toma los "
    "precios de su Rama. Los listados que se piden sin escoger una Obra cubren toda la base de "
    "datos de la Rama.\n"
    "\n"
    " BOTON COPIAR\n"
    "Abre el dialogo para copiar o borrar archivos. La lista de archivos se filtra segun la "
    "seleccion: solo se ofrecen los archivos de la Rama o de la Obra escogida, de modo que "
    "puede hacerse una copia de seguridad o llevar los datos a otra carpeta sin mezclarlos.\n"
    "\n"
    " BOTON REGENERAR\n"
    "Reconstruye los indices de los archivos de las Obras o Ramas seleccionadas a partir de "
    "sus datos. Sirve cuando un archivo quedo danado por un corte de energia o por un cierre "
    "anormal. El programa lo ejecuta por si mismo al arrancar si la vez anterior no termino "
    "normalmente.\n";

}  // namespace

void ShowGeneralHelp(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle("INSTRUCCIONES GENERALES");
  auto* memo = new QPlainTextEdit(&dialog);
  memo->setReadOnly(true);
  memo->setPlainText(QString::fromUtf8(kInstructions));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(memo);
  layout->addWidget(buttons);
  dialog.resize(620, 480);
  dialog.exec();
}

}  // namespace vantu
