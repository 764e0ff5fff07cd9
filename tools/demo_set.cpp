// vantu_demo <directory>: when the directory holds no Rama ("Apr01dat.?"),
// writes a demo Rama A with its Obra 01 there, calculated, at a realistic
// size. A directory that already holds a set is left alone.
#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "dataset_generator.h"
#include "platform/file_system.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "session/preferences.h"
#include "storage/storage_engine.h"

namespace {

namespace fs = std::filesystem;

bool HoldsARama(const fs::path& dir) {
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name.size() == 10 && name.rfind("APR01DAT.", 0) == 0) return true;
  }
  return false;
}

vantu::dataset::DatasetShape DemoShape(const std::string& dir) {
  vantu::dataset::DatasetShape shape;
  shape.directory = dir;
  shape.inputRecords = 320;
  shape.analysisRecords = 360;
  shape.subcontractRecords = 40;
  shape.globalRecords = 60;
  shape.budgetRecords = 150;
  shape.calculated = true;
  // Priced as a first start of the program prices it, so that the listings
  // match the preference the consultant finds.
  shape.roundToPeso = vantu::DefaultPreferences().roundToPeso;
  return shape;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string usage = "uso: vantu_demo DIRECTORIO\n"
                            "  Escribe en DIRECTORIO una Rama A con su Obra 01 de muestra, calculada,\n"
                            "  si el directorio no tiene ya una Rama.\n";
  if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::fputs(usage.c_str(), stdout);
    return 0;
  }
  // An option is never taken for a folder to write into.
  if (argc != 2 || argv[1][0] == '-') {
    std::fputs(usage.c_str(), stderr);
    return 2;
  }
  const fs::path dir = vantu::os::ProgramArguments(argc, argv)[1];
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (HoldsARama(dir)) return 0;
  // A host without a display: a storage failure ends in an exception here,
  // not in a box nobody can answer.
  vantu::HeadlessHost host;
  vantu::SetHost(&host);
  vantu::InitStorageEngine();
  try {
    const auto summary = vantu::dataset::GenerateDataset(DemoShape(dir.string()));
    std::printf("Rama A y Obra 01 de muestra en %s (%d insumos, %d analisis, %d items)\n",
                dir.string().c_str(), summary.records[2], summary.records[3], summary.records[6]);
  } catch (const vantu::Halt&) {
    std::fprintf(stderr, "vantu_demo: fallo al escribir los archivos en %s\n",
                 dir.string().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantu_demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
