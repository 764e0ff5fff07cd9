#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "gui/settings_store.h"

namespace vantu {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { qputenv("VANTU_HOME", dir.path().toUtf8()); }
  void TearDown() override { qunsetenv("VANTU_HOME"); }
  QTemporaryDir dir;
};

TEST_F(SettingsStoreTest, ReadingNeverCreatesTheFile) {
  EXPECT_EQ(SettingsFilePath(), dir.filePath("Presupuesto.conf").toStdString());
  EXPECT_EQ(ReadSettingFile("\\Presupuesto", "sConsultor"), "");
  EXPECT_FALSE(QFile::exists(dir.filePath("Presupuesto.conf")));
}

TEST_F(SettingsStoreTest, ValuesRoundTripWithTheirBytes) {
  struct Case {
    const char* value;
    std::string text;
  };
  const Case cases[] = {
      {"sConsultor",
       "Nu\xF1"
       "ez Pe\xD1"
       "a"},  // Windows-1252 ñ and Ñ
      {"sProyDir", "/home/ana/01 Archivos Presupuesto/Vantu"},
      {"sVacio", ""},
      {"sSignos", "a=b;c,d \"e\" \x80"},
  };
  for (const Case& c : cases) WriteSettingFile("\\Presupuesto", c.value, c.text);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ReadSettingFile("\\Presupuesto", c.value), c.text);
  }
  EXPECT_EQ(ReadSettingFile("\\Presupuesto", "sOtro"), "");
  EXPECT_EQ(ReadSettingFile("\\OtraClave", "sConsultor"), "");
}

}  // namespace
}  // namespace vantu
