#include "gui/dialog_prefs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <vector>

#include "platform/headless/headless_host.h"
#include "session/preferences.h"
#include "session/shell_state.h"

namespace vantu {
namespace {

class PrefFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHost(&host);
    ResetShell();
    ResetPrefs();
    Shell().programDir = dir.path().toStdString();
    LoadPreferences();
  }
  void TearDown() override {
    RoundToPesoChangedHook() = nullptr;
    SetHost(nullptr);
  }
  QByteArray FileBytes() const {
    QFile file(QString::fromStdString(ConfigFilePath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  template <typename W>
  W* Find(TPrefForm& form, const QString& text) {
    for (W* w : form.findChildren<W*>())
      if (w->text() == text) return w;
    ADD_FAILURE() << "no control " << text.toStdString();
    return nullptr;
  }

  HeadlessHost host;
  QTemporaryDir dir;
};

TEST_F(PrefFormTest, ThreeTabsShowTheStoredValues) {
  TPrefForm form;
  form.SetControls(Prefs());
  ASSERT_EQ(form.Tabs()->count(), 3);
  EXPECT_EQ(form.Tabs()->tabText(0), "Generales");
  EXPECT_EQ(form.Tabs()->tabText(1), "Listados");
  EXPECT_EQ(form.Tabs()->tabText(2), "Margenes");
  EXPECT_TRUE(Find<QCheckBox>(form, "Ajuste al peso (omitir centavos)")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(form, "Metrico decimal")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(form, "Listar varios en cada hoja")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(form, "Flujo de Pagos (Grafico)")->isChecked());
  EXPECT_EQ(form.Controls(), DefaultPreferences());
  EXPECT_EQ(form.findChildren<QSpinBox*>().size(), 9);
}

TEST_F(PrefFormTest, AceptarWritesEveryControlToItsByte) {
  const QByteArray before = FileBytes();
  ASSERT_EQ(before.size(), 614);
  int marked = 0;
  RoundToPesoChangedHook() = [&marked] { ++marked; };

  TPrefForm form;
  form.SetControls(Prefs());
  Find<QCheckBox>(form, "Inactivar el sonido Beep en el programa")->setChecked(true);
  Find<QRadioButton>(form, "Ingles")->setChecked(true);
  Find<QRadioButton>(form, "Listar uno en cada hoja")->setChecked(true);
  Find<QCheckBox>(form, "Accesar descripcion para igualar a Pliegos")->setChecked(false);
  Find<QCheckBox>(form, "Ajuste al peso (omitir centavos)")->setChecked(false);
  Find<QRadioButton>(form, "Matriz de punto")->setChecked(true);
  Find<QCheckBox>(form, "Resumen del Presupuesto")->setChecked(false);
  Find<QCheckBox>(form, "Precios Globales")->setChecked(false);
  Find<QCheckBox>(form, "Flujo de Pagos (Grafico)")->setChecked(true);
  const QList<QSpinBox*> spins = form.findChildren<QSpinBox*>();
  spins[0]->setValue(-5);  // budget top
  spins[8]->setValue(5);   // long schedules, left
  spins[4]->setValue(-6);  // clamped to -5
  form.AcceptButton()->click();

  QByteArray expected = before;
  const std::vector<std::pair<int, char>> changes = {
      {11, 1},           {12, 1},           {13, 1},           {15, 0},  {17, 0},
      {18, 1},           {360, 0},          {362, 0},          {367, 1}, {368, char(0xFB)},
      {369, char(0xFF)}, {376, char(0xFB)}, {377, char(0xFF)}, {384, 5}};
  for (auto [offset, value] : changes) expected[offset] = value;
  const QByteArray after = FileBytes();
  ASSERT_EQ(after.size(), 614);
  for (int i = 0; i < 614; ++i) {
    SCOPED_TRACE("byte " + std::to_string(i));
    EXPECT_EQ(after[i], expected[i]);
  }
  EXPECT_EQ(marked, 1);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(PrefFormTest, CancelAndTheCloseBoxChangeNothing) {
  const QByteArray before = FileBytes();
  for (const char* button : {"Cancelar", "X"}) {
    SCOPED_TRACE(button);
    TPrefForm form;
    form.SetControls(Prefs());
    Find<QCheckBox>(form, "Ajuste al peso (omitir centavos)")->setChecked(false);
    for (QAbstractButton* b : form.findChildren<QAbstractButton*>())
      if (b->text() == button) b->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(Prefs().roundToPeso);
    EXPECT_EQ(FileBytes(), before);
  }
}

}  // namespace
}  // namespace vantu
