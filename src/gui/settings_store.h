#pragma once
// The settings file that stands for the registry key "\Presupuesto": an INI
// file, $VANTU_HOME/Presupuesto.conf when VANTU_HOME is set, otherwise
// ~/.config/vantu/Presupuesto.conf. A key such as "\Presupuesto" becomes the
// group "Presupuesto"; each value name is an entry of that group. Texts are
// Windows-1252 bytes on the core side and UTF-8 in the file.

#include <string>

namespace vantu {

// Full path of the settings file.
std::string SettingsFilePath();

// The string stored under key/value; a missing file, key or value, or a read
// error, gives the empty string. Never creates the file.
std::string ReadSettingFile(const std::string& key, const std::string& value);

// Stores text under key/value, creating the file and the key when missing.
// Nothing happens when the file cannot be written.
void WriteSettingFile(const std::string& key, const std::string& value, const std::string& text);

}  // namespace vantu
