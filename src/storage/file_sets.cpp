#include "storage/file_sets.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "session/selection_state.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

struct AreaDescriptor {
  const char* title;
  int param1, param2;
  const char* base;
  int16_t keyLength;
  uint8_t kind;
  ButtonSet buttons;
};

const AreaDescriptor kDescriptors[kWorkAreaCount] = {
    {" Seleccion Obra ", 0, 0, "", 0, kNoFile, ButtonsOf({1, 3, 5, 7, 10})},
    {" Datos Generales ", 1, 0, "Apr01", 0, kSingleRecord, ButtonsOf({2, 3, 14, 21, 22})},
    {" Insumos Basicos ", 3, 2, "Apr02", 5, kIndexedFile,
     ButtonsOf({2, 3, 6, 11, 12, 14, 19, 21, 22})},
    {" Analisis Unitarios ", 2, 3, "Apr03", 6, kIndexedFile,
     ButtonsOf({2, 3, 6, 11, 12, 17, 18, 19, 20})},
    {" Analisis de Subcontratos ", 14, 4, "Apr04", 5, kIndexedFile,
     ButtonsOf({2, 3, 6, 11, 12, 19, 20})},
    {" Actualizacion de Globales ", 0, 5, "Apr05", 0, kPlainFile, ButtonsOf({2, 3})},
    {" Presupuesto de Obra ", 16, 6, "Apr06", 5, kIndexedFile,
     ButtonsOf({2, 3, 6, 11, 12, 16, 17, 18, 19, 20})},
    {" Impresion", 0, 7, "", 0, kNoFile, ButtonsOf({2, 3})},
    {" Recodificacion ", 0, 8, "", 0, kNoFile, ButtonsOf({2, 3})},
    {" Reindexacion ", 0, 9, "", 0, kNoFile, ButtonsOf({2, 3})},
    {" Configuracion ", 0, 10, "", 0, kNoFile, ButtonsOf({2, 3})},
};

std::array<WorkArea, kWorkAreaCount> gAreas;

bool AllDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) {
    return std::isdigit(c) != 0;
  });
}

bool PositiveNumber(const std::string& s) { return AllDigits(s) && std::stoi(s) > 0; }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

WorkArea& Area(int n) { return gAreas.at(static_cast<size_t>(n)); }

void ResetWorkAreas() {
  for (auto& a : gAreas) a = WorkArea{};
}

std::string DataBaseName(int fileNo, const std::string& ext) {
  return "Apr0" + std::to_string(fileNo) + "dat." + ext;
}

std::string FindFileIn(const std::string& dir, const std::string& name) {
  const fs::path exact = fs::path(dir) / name;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.string();
  const std::string wanted = Lower(name);
  for (fs::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (Lower(it->path().filename().string()) == wanted) return it->path().string();
  }
  return exact.string();
}

std::string DataFileName(int fileNo, const std::string& ext) {
  return FindFileIn(Selection().DataDirectory, DataBaseName(fileNo, ext));
}

std::string IndexFileName(int fileNo, const std::string& ext) {
  return FindFileIn(Selection().DataDirectory, "Apr0" + std::to_string(fileNo) + "ixc." + ext);
}

bool WellFormedCode(const std::string& code) {
  switch (code.size()) {
    case 2:
      return PositiveNumber(code);
    case 5:
      return PositiveNumber(code.substr(0, 2)) && PositiveNumber(code.substr(2));
    case 6:
      return PositiveNumber(code.substr(0, 2)) && PositiveNumber(code.substr(2));
    default:
      return false;
  }
}

void SetUpWorkArea(int n, int recordLength) {
  const AreaDescriptor& d = kDescriptors[n];
  WorkArea& a = Area(n);
  a = WorkArea{};
  a.Title = d.title;
  a.moduleParam1 = d.param1;
  a.moduleParam2 = d.param2;
  a.BaseName = d.base;
  a.KeyLength = d.keyLength;
  a.FileKind = d.kind;
  a.buttons = d.buttons;
  a.RecordLength = static_cast<int16_t>(recordLength);
}

std::string BuildSetHeaderLine(const std::string& ramaName, const std::string& obraName) {
  const SelectionState& s = Selection();
  if (!s.ObraCode.empty()) {
    const std::string name = obraName.substr(0, 35);
    return "OBRA : " + s.ObraCode + " - " + (name.empty() ? "<< Obra sin Nombre >>" : name);
  }
  const std::string name = ramaName.substr(0, 35);
  return "RAMA : [" + s.RamaCode + "] - " + (name.empty() ? "<< Rama sin Nombre >>" : name);
}

}  // namespace vantu
