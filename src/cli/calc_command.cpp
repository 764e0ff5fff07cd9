#include "cli/calc_command.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "calc/review_and_calc.h"
#include "cli/cli_output.h"
#include "cli/set_open.h"
#include "cli/set_session.h"
#include "platform/halt.h"
#include "platform/headless/headless_host.h"
#include "selection/selection_sets.h"
#include "session/paths.h"
#include "session/preferences.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/storage_engine.h"
#include "toolkit/error_review.h"

namespace vantu::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "uso: vantu-cli calc --dir DIRECTORIO --rama R [--obra OO] [--ajuste-al-peso si|no]\n";

struct CalcArgs {
  std::string dir, rama, obra;
  std::optional<bool> roundToPeso;
};

std::optional<CalcArgs> Parse(const std::vector<std::string>& args, std::string& why) {
  CalcArgs a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (i + 1 >= args.size()) {
      why = "falta el valor de " + opt;
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (opt == "--dir") {
      a.dir = value;
    } else if (opt == "--rama") {
      a.rama = value;
    } else if (opt == "--obra") {
      a.obra = value;
    } else if (opt == "--ajuste-al-peso" && (value == "si" || value == "no")) {
      a.roundToPeso = value == "si";
    } else {
      why = "opcion no valida: " + opt + " " + value;
      return std::nullopt;
    }
  }
  if (a.dir.empty() || a.rama.size() != 1 || (!a.obra.empty() && a.obra.size() != 2)) {
    why = "se requieren --dir, --rama de un caracter y, si se da, --obra de dos";
    return std::nullopt;
  }
  return a;
}

class CliObserver : public CalcObserver {
 public:
  explicit CliObserver(Progress& p) : progress_(p) {}
  void StepSkipped(CalcStep step) override { progress_.Done(Label(step), "no requiere proceso"); }
  void StepRecord(CalcStep step, int i, int n) override { progress_.Step(Label(step), i, n); }

 private:
  static std::string Label(CalcStep step) {
    static const char* const kPhase[] = {"Contenido", "Cruzada", "Calculo"};
    const StepLine s = StepLineOf(step);
    return std::string(kPhase[s.phase]) + ": " + s.label;
  }
  Progress& progress_;
};

void PrintErrors(const std::vector<ErrorEntry>& errors) {
  int i = 0;
  for (const ErrorEntry& e : errors) {
    std::string code = e.errCode;
    code.erase(code.find_last_not_of(' ') + 1);
    code.erase(0, code.find_first_not_of(' '));
    std::printf("[%d:%zu] %s %s %s %s\n", ++i, errors.size(), SeverityWord(e.severity).c_str(),
                Utf8(AreaName(e.targetKind)).c_str(), Utf8(code).c_str(),
                Utf8(ErrorDescription(e)).c_str());
  }
}

void PrintSummary(const RunOutcome& out) {
  if (out.showsTotal) {
    const BudgetSummary& s = out.summary;
    const struct {
      const char* label;
      long double value;
    } rows[] = {
        {"SUBTOTAL COSTO DIRECTO", s.directCostTotal},
        {"mas AIU", s.aiuAmount},
        {"  Administracion", s.adminAmount},
        {"  Imprevistos", s.imprevistosAmount},
        {"  Utilidad", s.utilidadAmount},
        {"SUBTOTAL", s.subtotalWithAiu},
        {"mas IVA", s.ivaAmount},
        {"VALOR TOTAL DEL PRESUPUESTO", s.budgetTotal},
    };
    for (const auto& r : rows) std::printf("%-30s $%20s\n", r.label, PlainAmount(r.value).c_str());
  }
  std::printf("%s\n", ClosingText(out).c_str());
}

int RunCalc(const CalcArgs& a, const std::string& argv0) {
  OpenSetAsSelected(a.dir, a.rama, a.obra, argv0);
  // The preference changes as the preferences dialog changes it: stored,
  // and every price that depends on it to be recalculated.
  if (a.roundToPeso && *a.roundToPeso != Prefs().roundToPeso) {
    Prefs().roundToPeso = *a.roundToPeso;
    SavePreferences();
    if (RoundToPesoChangedHook()) RoundToPesoChangedHook()();
  }
  Progress progress(stdout, isatty(STDOUT_FILENO) != 0);
  CliObserver observer(progress);
  const RunOutcome out = ExecuteRun(PrepareRun(), observer, Shell().errorFileName);
  progress.Finish();
  if (!out.somethingToDo) std::printf("Nada cambio desde el ultimo calculo\n");
  if (out.TotalErrors() > 0) {
    std::printf("... Hay %d Errores ...\n", out.TotalErrors());
    PrintErrors(ReadErrorFile(Shell().errorFileName));
  } else {
    PrintSummary(out);
  }
  return out.TotalErrors() > 0 ? kExitDataErrors : kExitOk;
}

}  // namespace

int CalcCommand(const std::vector<std::string>& args, const std::string& argv0) {
  const std::optional<CalcArgs> a = ParseOrShowUsage(args, Parse, kUsage);
  if (!a) return kExitFailure;
  std::error_code ec;
  if (!fs::is_directory(a->dir, ec)) {
    std::fprintf(stderr, "vantu-cli: no existe el directorio %s\n", a->dir.c_str());
    return kExitFailure;
  }
  if (const std::string missing = MissingSetFile(a->dir, a->rama, a->obra); !missing.empty()) {
    std::fprintf(stderr, "vantu-cli: no existe el archivo %s en %s: la Rama %s%s no esta ahi\n",
                 missing.c_str(), a->dir.c_str(), a->rama.c_str(),
                 a->obra.empty() ? "" : (" con la Obra " + a->obra).c_str());
    return kExitFailure;
  }
  HeadlessHost host;
  return RunOverHost(host, [&] { return RunCalc(*a, argv0); });
}

}  // namespace vantu::cli
