#pragma once
// What the tests take from POSIX and the Windows C runtime lacks, given the
// same meaning; included into every test source of a Windows build.
#ifdef _WIN32

#include <cstdlib>
#include <filesystem>
#include <string>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && std::getenv(name) != nullptr) return 0;
  return _putenv_s(name, value);
}
// A path's c_str() is wide on Windows.
inline int setenv(const char* name, const wchar_t* value, int overwrite) {
  return setenv(name, std::filesystem::path(value).string().c_str(), overwrite);
}
inline int unsetenv(const char* name) {
  return _putenv_s(name, "");
}

#endif
