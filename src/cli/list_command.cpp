#include "cli/list_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/install_modules.h"
#include "cli/calc_command.h"
#include "cli/cli_output.h"
#include "cli/list_host.h"
#include "cli/listing_names.h"
#include "cli/pdf_program.h"
#include "cli/set_open.h"
#include "cli/set_session.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/halt.h"
#include "reports/budget_listings_command.h"
#include "reports/listing_engine.h"
#include "reports/listing_output.h"
#include "reports/listing_page.h"
#include "reports/listing_text.h"
#include "session/paths.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "storage/storage_engine.h"

namespace vantu::cli {

namespace fs = std::filesystem;

namespace {

struct ListArgs {
  std::string dir, rama, obra, listing, out;
  bool pdf = false;
  bool pagesGiven = false;
  int from = 1;  // 0: a separator page first
  int to = 0;    // 0: the last page
};

constexpr int kMaxPage = 999;

// "A-B" with 0 <= A, B <= 999.
bool ParsePages(const std::string& text, int& from, int& to) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == text.size()) return false;
  auto number = [](const std::string& s, int& v) {
    if (s.empty() || s.size() > 3 || s.find_first_not_of("0123456789") != std::string::npos)
      return false;
    v = std::stoi(s);
    return v <= kMaxPage;
  };
  return number(text.substr(0, dash), from) && number(text.substr(dash + 1), to);
}

bool TakeOption(ListArgs& a, const std::string& opt, const std::string& value, std::string& why) {
  if (opt == "--dir") {
    a.dir = value;
  } else if (opt == "--rama") {
    a.rama = value;
  } else if (opt == "--obra") {
    a.obra = value;
  } else if (opt == "--listing") {
    a.listing = value;
  } else if (opt == "--pages") {
    a.pagesGiven = true;
    if (!ParsePages(value, a.from, a.to)) {
      why = "--pages espera DESDE-HASTA (0 a 999; desde 0 = separador, hasta 0 = ultima): " + value;
      return false;
    }
  } else if ((opt == "--pdf" || opt == "--text") && a.out.empty()) {
    // Taken from the current directory now: opening the set enters its own.
    std::error_code ec;
    a.out = fs::absolute(value, ec).string();
    a.pdf = opt == "--pdf";
  } else {
    why = opt == "--pdf" || opt == "--text" ? "se da una sola salida, --pdf o --text"
                                            : "opcion no valida: " + opt;
    return false;
  }
  return true;
}

std::optional<ListArgs> Parse(const std::vector<std::string>& args, std::string& why) {
  ListArgs a;
  for (size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) {
      why = "falta el valor de " + args[i];
      return std::nullopt;
    }
    if (!TakeOption(a, args[i], args[i + 1], why)) return std::nullopt;
  }
  if (a.dir.empty() || a.rama.size() != 1 || (!a.obra.empty() && a.obra.size() != 2)) {
    why = "se requieren --dir, --rama de un caracter y, si se da, --obra de dos";
  } else if (a.out.empty()) {
    why = "falta la salida: --pdf ARCHIVO o --text ARCHIVO";
  } else if (const ListingName* n = FindListing(a.listing); n == nullptr) {
    why = "listado desconocido: '" + a.listing + "'";
  } else if (n->needsObra && a.obra.empty()) {
    why = "el listado " + a.listing + " requiere --obra";
  } else if (n->whole && a.pagesGiven) {
    why = "el listado " + a.listing + " se escribe completo: no admite --pages";
  } else {
    return a;
  }
  return std::nullopt;
}

// Checks that need no set: the data directory, the set's files, where the
// output goes, the window program for a PDF.
int CheckPlaces(const ListArgs& a, std::string& gui) {
  std::error_code ec;
  if (!fs::is_directory(a.dir, ec)) {
    std::fprintf(stderr, "vantu-cli: no existe el directorio %s\n", a.dir.c_str());
    return kExitFailure;
  }
  if (const std::string missing = MissingSetFile(a.dir, a.rama, a.obra); !missing.empty()) {
    std::fprintf(stderr, "vantu-cli: no existe el archivo %s en %s\n", missing.c_str(),
                 a.dir.c_str());
    return kExitFailure;
  }
  const fs::path parent = fs::absolute(a.out, ec).parent_path();
  if (!fs::is_directory(parent, ec)) {
    std::fprintf(stderr, "vantu-cli: no existe la carpeta de salida %s\n", parent.c_str());
    return kExitFailure;
  }
  std::string why;
  if (a.pdf && (gui = FindGuiProgram(why)).empty()) {
    std::fprintf(stderr, "vantu-cli: no se puede escribir el PDF: %s\n", why.c_str());
    return kExitFailure;
  }
  return kExitOk;
}

// A private directory for the listing file, so that a running vantu's own
// listing file is never touched; removed at the end.
struct WorkDir {
  fs::path path;
  WorkDir() {
    std::string made;
    if (os::MakeTempFolder("vantu-list-", made) == 0) path = made;
  }
  ~WorkDir() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
};

// Writes bytes to `out` through a temporary file beside it, so that a
// failed write leaves no partial output.
bool WriteOutput(const std::string& out, const std::string& bytes) {
  const std::string temp = out + ".tmp" + std::to_string(CurrentProcessId());
  {
    std::ofstream f(std::filesystem::path(temp), std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f.flush()) {
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, out, ec);
  if (ec) fs::remove(temp, ec);
  return !ec;
}

void PrintNotes(const ListHost& host) {
  for (const std::string& note : host.notes) std::fprintf(stderr, "%s", note.c_str());
}

// Runs the listing into the listing file and sends it along the route:
// the viewer for text, the laser printer for a PDF.
int RunListing(const ListArgs& a, ListHost& host) {
  if (NeedsCalculation()) {
    std::fprintf(stderr, "vantu-cli: los datos cambiaron desde el ultimo calculo\n");
    PrintNotes(host);
    return kExitDataErrors;
  }
  // The PDF is the laser route; the text is the viewer's.
  Shell().viewMode = !a.pdf;
  if (a.pdf) Prefs().dotMatrixPrinter = false;
  const ListingName& entry = *FindListing(a.listing);
  ListingState& s = Listing();
  s.quietEmpty = entry.whole;
  s.emptyListingCount = 0;
  s.listingContinue = true;
  s.fromPage = static_cast<int16_t>(a.from);
  s.toPage = static_cast<int16_t>(a.to);
  EmptyListingFile();
  if (a.pdf) {  // every printed listing file begins with a line holding SI
    CondensedOn();
    LineEnd();
  }
  const ListingRan ran = entry.run(a.from, a.to);
  s.quietEmpty = false;
  if (ran.count == 0 || s.emptyListingCount >= ran.count) {
    if (entry.whole) EmptyListingMessage(kEmptyNoData);
    EmptyListingFile();
  } else {
    OutputListing(ran.landscape);
  }
  if (!host.wasShown && !host.wasPrinted) {
    std::fprintf(stderr, "vantu-cli: no se escribio nada\n");
    PrintNotes(host);
    return kExitDataErrors;
  }
  return kExitOk;
}

int WriteResult(const ListArgs& a, const ListHost& host, const std::string& gui,
                const fs::path& work) {
  if (!a.pdf) {
    if (WriteOutput(a.out, host.shown)) return kExitOk;
    std::fprintf(stderr, "vantu-cli: no se puede escribir %s\n", a.out.c_str());
    return kExitFailure;
  }
  const std::string listing = (work / "listado.lpt").string();
  const std::string pdf = a.out + ".tmp" + std::to_string(CurrentProcessId()) + ".pdf";
  std::string error;
  std::error_code ec;
  if (!WriteOutput(listing, host.printed)) {
    error = "no se puede escribir " + listing;
  } else if (DrawListingPdf(gui, listing, pdf, host.landscape, error)) {
    fs::rename(pdf, a.out, ec);
    if (!ec) return kExitOk;
    error = "no se puede escribir " + a.out + ": " + ec.message();
  }
  fs::remove(pdf, ec);
  std::fprintf(stderr, "vantu-cli: no se pudo dibujar el PDF: %s\n", error.c_str());
  return kExitFailure;
}

}  // namespace

std::string ListUsage() {
  std::string text =
      "  list --dir DIRECTORIO --rama R [--obra OO] --listing NOMBRE [--pages DESDE-HASTA]\n"
      "       (--pdf ARCHIVO | --text ARCHIVO)\n"
      "       escribe un listado de un conjunto calculado: --text el texto de la vista,\n"
      "       --pdf las hojas de la impresora laser (dibujadas por el programa vantu);\n"
      "       --pages: desde 0 agrega la hoja separadora, hasta 0 = la ultima. Listados:\n";
  for (const ListingName& n : ListingNames()) {
    char line[160];
    std::snprintf(line, sizeof line, "         %-20s %s%s\n", n.name, n.title,
                  n.needsObra ? " (con Obra)" : "");
    text += line;
  }
  text +=
      "       estado 0 escrito, 1 nada escrito por los datos (sin calcular, nada que\n"
      "       listar, paginas fuera de rango), 2 fallo\n";
  return text;
}

int ListCommand(const std::vector<std::string>& args, const std::string& argv0) {
  int status = kExitOk;
  const std::optional<ListArgs> a =
      ParseOrShowUsage(args, Parse, "uso: vantu-cli\n" + ListUsage(), status);
  if (!a) return status;
  std::string gui;
  if (const int status = CheckPlaces(*a, gui); status != kExitOk) return status;
  WorkDir work;
  if (work.path.empty()) {
    std::fprintf(stderr, "vantu-cli: no se puede crear una carpeta temporal\n");
    return kExitFailure;
  }
  ListHost host;
  status = RunOverHost(host, [&] {
    OpenSetAsSelected(a->dir, a->rama, a->obra, argv0);
    Shell().consultantName = ReadUserSetting(kSettingsKey, "sConsultor").substr(0, 35);
    Shell().listingFileName = (work.path / "LPT").string();
    return RunListing(*a, host);
  });
  if (status == kExitOk) status = WriteResult(*a, host, gui, work.path);
  return status;
}

}  // namespace vantu::cli
