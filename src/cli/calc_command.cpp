#include "cli/calc_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "calc/review_and_calc.h"
#include "cli/cli_output.h"
#include "cli/set_open.h"
#include "cli/set_session.h"
#include "platform/file_system.h"
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

constexpr const char* kHelp =
    "uso: vantu-cli calc --dir DIRECTORIO --rama R [--obra OO] [--ajuste-al-peso si|no] [--json]\n"
    "  Revisa y calcula la Rama R (y su Obra OO) del DIRECTORIO. El avance va a la\n"
    "  salida de errores; los errores hallados o el resumen del presupuesto, a la\n"
    "  salida normal (un objeto JSON con --json).\n"
    "  --ajuste-al-peso si|no  cambia la preferencia \"Ajuste al peso\" y la guarda\n"
    "  Estado de salida: 0 todo correcto, 1 errores en los datos (nada calculado),\n"
    "  2 fallo (nada cambiado).\n";

struct CalcArgs {
  std::string dir, rama, obra;
  std::optional<bool> roundToPeso;
  bool json = false;
};

std::optional<CalcArgs> Parse(const std::vector<std::string>& args, std::string& why) {
  CalcArgs a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (opt == "--json") {
      a.json = true;
      continue;
    }
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

std::string Trimmed(std::string code) {
  code.erase(code.find_last_not_of(' ') + 1);
  code.erase(0, code.find_first_not_of(' '));
  return code;
}

void PrintErrors(const std::vector<ErrorEntry>& errors) {
  int i = 0;
  for (const ErrorEntry& e : errors) {
    std::printf("[%d:%zu] %s %s %s %s\n", ++i, errors.size(), SeverityWord(e.severity).c_str(),
                Utf8(AreaName(e.targetKind)).c_str(), Utf8(Trimmed(e.errCode)).c_str(),
                Utf8(ErrorDescription(e)).c_str());
  }
}

struct SummaryRow {
  const char* label;
  const char* key;  // its name in the JSON summary
  long double value;
};

std::vector<SummaryRow> SummaryRows(const BudgetSummary& s) {
  return {
      {"SUBTOTAL COSTO DIRECTO", "costo_directo", s.directCostTotal},
      {"mas AIU", "aiu", s.aiuAmount},
      {"  Administracion", "administracion", s.adminAmount},
      {"  Imprevistos", "imprevistos", s.imprevistosAmount},
      {"  Utilidad", "utilidad", s.utilidadAmount},
      {"SUBTOTAL", "subtotal", s.subtotalWithAiu},
      {"mas IVA", "iva", s.ivaAmount},
      {"VALOR TOTAL DEL PRESUPUESTO", "total", s.budgetTotal},
  };
}

void PrintSummary(const RunOutcome& out) {
  if (out.showsTotal)
    for (const SummaryRow& r : SummaryRows(out.summary))
      std::printf("%-30s $%20s\n", r.label, PlainAmount(r.value).c_str());
  std::printf("%s\n", ClosingText(out, false).c_str());
}

// The run's result as one JSON object: "correcto", "sin_cambios" (nothing
// changed since the last calculation), the errors in the error
// review's words, and the budget summary when there is one.
void PrintJson(const RunOutcome& out, const std::vector<ErrorEntry>& errors) {
  std::string text = "{\"correcto\": ";
  text += out.TotalErrors() == 0 ? "true" : "false";
  text += ", \"sin_cambios\": ";
  text += out.somethingToDo ? "false" : "true";
  text += ", \"errores\": [";
  for (size_t i = 0; i < errors.size(); ++i) {
    const ErrorEntry& e = errors[i];
    text += (i == 0 ? "" : ", ");
    text += "{\"gravedad\": " + JsonString(SeverityWord(e.severity)) +
            ", \"area\": " + JsonString(Utf8(AreaName(e.targetKind))) +
            ", \"codigo\": " + JsonString(Utf8(Trimmed(e.errCode))) +
            ", \"descripcion\": " + JsonString(Utf8(ErrorDescription(e))) + "}";
  }
  text += "], \"presupuesto\": ";
  if (out.showsTotal && out.TotalErrors() == 0) {
    std::string fields;
    for (const SummaryRow& r : SummaryRows(out.summary))
      fields += (fields.empty() ? "" : ", ") + JsonString(r.key) + ": " + JsonAmount(r.value);
    text += "{" + fields + "}";
  } else {
    text += "null";
  }
  std::printf("%s}\n", text.c_str());
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
  Progress progress(stderr, os::IsTerminal(stderr));
  CliObserver observer(progress);
  const RunOutcome out = ExecuteRun(PrepareRun(), observer, Shell().errorFileName);
  progress.Finish();
  if (!out.somethingToDo) std::fprintf(stderr, "Nada cambio desde el ultimo calculo\n");
  if (a.json) {
    PrintJson(out, out.TotalErrors() > 0 ? ReadErrorFile(Shell().errorFileName)
                                         : std::vector<ErrorEntry>{});
  } else if (out.TotalErrors() > 0) {
    std::printf("... Hay %d Errores ...\n", out.TotalErrors());
    PrintErrors(ReadErrorFile(Shell().errorFileName));
  } else {
    PrintSummary(out);
  }
  return out.TotalErrors() > 0 ? kExitDataErrors : kExitOk;
}

}  // namespace

int CalcCommand(const std::vector<std::string>& args, const std::string& argv0) {
  int status = kExitOk;
  const std::optional<CalcArgs> a = ParseOrShowUsage(args, Parse, kHelp, status);
  if (!a) return status;
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
