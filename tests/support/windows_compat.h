#pragma once
// What the tests take from POSIX and the Windows C runtime lacks, given the
// same meaning; included into every test source of a Windows build.
#ifdef _WIN32

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <process.h>
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

// A new folder named by the template with its XXXXXX made unique.
inline char* mkdtemp(char* tmpl) {
  const size_t n = std::strlen(tmpl);
  if (n < 6) return nullptr;
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    std::snprintf(tmpl + n - 6, 7, "%06u", (_getpid() * 1000u + attempt) % 1000000u);
    std::error_code ec;
    if (std::filesystem::create_directory(tmpl, ec)) return tmpl;
  }
  return nullptr;
}
// Folder permissions are not POSIX modes on Windows: the tests that take
// a folder's write right away skip as they do for an administrator.
inline int geteuid() {
  return 0;
}

#endif
