#include "gui/dialog_prefs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/dialog_spin.h"

namespace vantu {

namespace {

constexpr int kMarginLimit = 5;

const std::array<const char*, cfg::kBudgetPartCount> kBudgetParts = {
    "Insumos Basicos",
    "Analisis Unitarios",
    "Resumen Precios Unitarios",
    "Analisis Subcontratos",
    "Requerimientos Insumos Basicos",
    "Presupuesto de Obra",
    "Resumen del Presupuesto"};
const std::array<const char*, cfg::kFormPartCount> kFormParts = {
    "Insumos Basicos", "Precios Globales", "Subcontratos"};
const std::array<const char*, cfg::kSchedulePartCount> kScheduleParts = {
    "Cronograma", "Ejecucion Obra", "Flujo de Pagos (Tabla )", "Flujo de Pagos (Grafico)"};

QLabel* Note(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TPrefForm::TPrefForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Preferencias");
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  frame->setLineWidth(2);
  auto* title = new QLabel("<b>Preferencias</b>", frame);
  auto* closeBox = new QToolButton(frame);
  closeBox->setText("X");
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(title, 1);
  titleRow->addWidget(closeBox);

  tabs_ = new QTabWidget(frame);
  tabs_->addTab(BuildGeneral(), "Generales");
  tabs_->addTab(BuildListings(), "Listados");
  tabs_->addTab(BuildMargins(), "Margenes");

  accept_ = new QPushButton("Aceptar", frame);
  accept_->setDefault(true);
  auto* cancel = new QPushButton("Cancelar", frame);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(accept_);
  buttons->addWidget(cancel);

  auto* inner = new QVBoxLayout(frame);
  inner->addLayout(titleRow);
  inner->addWidget(tabs_, 1);
  inner->addLayout(buttons);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);

  connect(closeBox, &QToolButton::clicked, this, &QDialog::reject);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(accept_, &QPushButton::clicked, this, [this] { OnAccept(); });
}

QGroupBox* TPrefForm::MakeChoice(const QString& title, const QString& first, const QString& second,
                                 Choice& choice) {
  auto* box = new QGroupBox(title);
  choice.first = new QRadioButton(first, box);
  choice.second = new QRadioButton(second, box);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(choice.first);
  layout->addWidget(choice.second);
  return box;
}

template <size_t N>
QGroupBox* TPrefForm::MakeChecks(const QString& title, const std::array<const char*, N>& labels,
                                 std::array<QCheckBox*, N>& boxes) {
  auto* box = new QGroupBox(title);
  auto* layout = new QVBoxLayout(box);
  for (size_t i = 0; i < N; ++i) {
    boxes[i] = new QCheckBox(labels[i], box);
    layout->addWidget(boxes[i]);
  }
  return box;
}

QGroupBox* TPrefForm::MakeMargins(const QString& title, MarginSpins& spins) {
  auto* box = new QGroupBox(title);
  auto* layout = new QFormLayout(box);
  spins.top = new ReadOnlySpinBox(-kMarginLimit, kMarginLimit, box);
  spins.bottom = new ReadOnlySpinBox(-kMarginLimit, kMarginLimit, box);
  spins.left = new ReadOnlySpinBox(-kMarginLimit, kMarginLimit, box);
  for (QSpinBox* spin : {spins.top, spins.bottom, spins.left}) spin->setMaximumWidth(80);
  layout->addRow("Ajuste Margen Superior", spins.top);
  layout->addRow("Ajuste Margen Inferior", spins.bottom);
  layout->addRow("Ajuste Margen Izquierdo", spins.left);
  return box;
}

QWidget* TPrefForm::BuildGeneral() {
  auto* page = new QWidget;
  beepOff_ = new QCheckBox("Inactivar el sonido Beep en el programa", page);
  descriptionForPliegos_ = new QCheckBox("Accesar descripcion para igualar a Pliegos", page);
  listUndefined_ = new QCheckBox("Listar Items con cantidad de obra <Por Definir>", page);
  roundToPeso_ = new QCheckBox("Ajuste al peso (omitir centavos)", page);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(beepOff_);
  layout->addWidget(MakeChoice("Sistema de Unidades", "Metrico decimal", "Ingles", units_));
  layout->addWidget(descriptionForPliegos_);
  layout->addWidget(listUndefined_);
  layout->addWidget(roundToPeso_);
  layout->addWidget(MakeChoice("Impresora", "Laser o Burbuja", "Matriz de punto", printer_));
  layout->addStretch(1);
  return page;
}

QWidget* TPrefForm::BuildListings() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Note("Seleccion de elementos a incluir en los Listados Totales", page));
  auto* columns = new QHBoxLayout;
  columns->addWidget(MakeChecks("Presupuesto (Total )", kBudgetParts, budgetParts_));
  auto* right = new QVBoxLayout;
  right->addWidget(
      MakeChecks("Formularios (Total ) - para actualizacion precios", kFormParts, formParts_));
  right->addWidget(MakeChecks("Programacion (Total )", kScheduleParts, scheduleParts_));
  columns->addLayout(right);
  layout->addLayout(columns);
  layout->addWidget(MakeChoice("Presentacion Analisis Unitarios en listados",
                               "Listar uno en cada hoja", "Listar varios en cada hoja",
                               analysisPages_));
  layout->addStretch(1);
  return page;
}

QWidget* TPrefForm::BuildMargins() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(MakeMargins("Presupuesto y Formularios (Todos los listados)", marginsBudget_));
  layout->addWidget(
      MakeMargins("Programacion (Todos y Cronogramas hasta 2 años o 24 semanas)", marginsShort_));
  layout->addWidget(
      MakeMargins("Programacion (Cronogramas de mas de 2 años o 24 semanas)", marginsLong_));
  layout->addWidget(
      Note("La mayoria de las impresoras no requieren ajuste (dejar en ceros)", page));
  layout->addWidget(
      Note("El Ajuste Margen Superior no funciona en Impresora de Matriz - ajuste el papel", page));
  layout->addStretch(1);
  return page;
}

void TPrefForm::SetControls(const Preferences& p) {
  beepOff_->setChecked(p.beepOff);
  descriptionForPliegos_->setChecked(p.descriptionForPliegos);
  listUndefined_->setChecked(p.listUndefinedQuantities);
  roundToPeso_->setChecked(p.roundToPeso);
  (p.englishUnits ? units_.second : units_.first)->setChecked(true);
  (p.dotMatrixPrinter ? printer_.second : printer_.first)->setChecked(true);
  (p.oneAnalysisPerPage ? analysisPages_.first : analysisPages_.second)->setChecked(true);
  for (size_t i = 0; i < budgetParts_.size(); ++i)
    budgetParts_[i]->setChecked(p.totalBudgetParts[i]);
  for (size_t i = 0; i < formParts_.size(); ++i) formParts_[i]->setChecked(p.totalFormParts[i]);
  for (size_t i = 0; i < scheduleParts_.size(); ++i)
    scheduleParts_[i]->setChecked(p.totalScheduleParts[i]);
  const auto setMargins = [](const MarginSpins& s, const Margins& m) {
    s.top->setValue(m.top);
    s.bottom->setValue(m.bottom);
    s.left->setValue(m.left);
  };
  setMargins(marginsBudget_, p.marginsBudget);
  setMargins(marginsShort_, p.marginsScheduleShort);
  setMargins(marginsLong_, p.marginsScheduleLong);
}

Preferences TPrefForm::Controls() const {
  Preferences p;
  p.beepOff = beepOff_->isChecked();
  p.descriptionForPliegos = descriptionForPliegos_->isChecked();
  p.listUndefinedQuantities = listUndefined_->isChecked();
  p.roundToPeso = roundToPeso_->isChecked();
  p.englishUnits = units_.second->isChecked();
  p.dotMatrixPrinter = printer_.second->isChecked();
  p.oneAnalysisPerPage = analysisPages_.first->isChecked();
  for (size_t i = 0; i < budgetParts_.size(); ++i)
    p.totalBudgetParts[i] = budgetParts_[i]->isChecked();
  for (size_t i = 0; i < formParts_.size(); ++i) p.totalFormParts[i] = formParts_[i]->isChecked();
  for (size_t i = 0; i < scheduleParts_.size(); ++i)
    p.totalScheduleParts[i] = scheduleParts_[i]->isChecked();
  const auto margins = [](const MarginSpins& s) {
    return Margins{static_cast<int16_t>(s.top->value()), static_cast<int16_t>(s.bottom->value()),
                   static_cast<int16_t>(s.left->value())};
  };
  p.marginsBudget = margins(marginsBudget_);
  p.marginsScheduleShort = margins(marginsShort_);
  p.marginsScheduleLong = margins(marginsLong_);
  return p;
}

void TPrefForm::OnAccept() {
  if (!AcceptPreferences(Controls()))
    QMessageBox::warning(this, "Preferencias",
                         "No se pudo grabar el archivo de configuracion; las preferencias valen "
                         "solo hasta salir del programa.");
  accept();
}

bool EditPreferences(QWidget* parent) {
  TPrefForm form(parent);
  form.SetControls(Prefs());
  return form.exec() == QDialog::Accepted;
}

}  // namespace vantu
