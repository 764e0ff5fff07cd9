#include "gui/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "gui/dialog_text.h"

namespace vantu {

namespace {

// "\Presupuesto\Sub" -> "Presupuesto/Sub".
QString GroupOf(const std::string& key) {
  QString group = CoreToQt(key);
  group.replace('\\', '/');
  while (group.startsWith('/')) group.remove(0, 1);
  while (group.endsWith('/')) group.chop(1);
  return group;
}

QString EntryOf(const std::string& key, const std::string& value) {
  const QString group = GroupOf(key);
  const QString name = CoreToQt(value);
  return group.isEmpty() ? name : group + '/' + name;
}

}  // namespace

std::string SettingsFilePath() {
  const QString home = qEnvironmentVariable("VANTU_HOME");
  if (!home.isEmpty()) return QDir(home).filePath("Presupuesto.conf").toStdString();
  QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (config.isEmpty()) config = QDir::homePath() + "/.config";
  return QDir(config).filePath("vantu/Presupuesto.conf").toStdString();
}

std::string ReadSettingFile(const std::string& key, const std::string& value) {
  const QString path = QString::fromStdString(SettingsFilePath());
  if (value.empty() || !QFileInfo::exists(path)) return {};
  QSettings settings(path, QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return {};
  const QVariant stored = settings.value(EntryOf(key, value));
  if (!stored.isValid()) return {};
  return QtToCore(stored.toString());
}

void WriteSettingFile(const std::string& key, const std::string& value, const std::string& text) {
  if (value.empty()) return;
  const QString path = QString::fromStdString(SettingsFilePath());
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return;
  QSettings settings(path, QSettings::IniFormat);
  settings.setValue(EntryOf(key, value), CoreToQt(text));
  settings.sync();
}

}  // namespace vantu
