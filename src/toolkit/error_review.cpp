#include "toolkit/error_review.h"

#include <algorithm>
#include <array>
#include <vector>

#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "session/shell_state.h"
#include "session/work_area_ids.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"

namespace vantu {

namespace {

constexpr size_t kDescriptionChars = 80;
constexpr size_t kLineTextChars = 145;
constexpr size_t kReplayChars = 20;
constexpr int kStatusRow = 25;

// string[25] tables of the review texts.
constexpr std::array<const char*, 14> kMissingTexts = {"..{ descripcion }",
                                                       "..{ unidad }",
                                                       "..{ precio }",
                                                       "..{ costos }",
                                                       "..{ cantidad o precio }",
                                                       "..{ grupo }",
                                                       "..{ cantidades }",
                                                       "..{ rama }",
                                                       "..{ obra }",
                                                       "..{ referencia }",
                                                       "..{ fecha }",
                                                       "..{ codigos }",
                                                       "..{ globales }",
                                                       "..{ eliminar un item }"};

constexpr std::array<const char*, 10> kAreaNames = {"--- ",
                                                    "General",
                                                    "Insumo Basico",
                                                    "Analisis Unitario",
                                                    "Analisis Subcontrato",
                                                    "Global de Unitario",
                                                    "Presupuesto de Obra",
                                                    "Cambio de Grupo",
                                                    "Eliminar3",
                                                    "Eliminar6"};

constexpr std::array<const char*, 3> kSeverityWords = {"CORREGIR", "ERROR", "ADVERTENCIA"};

ReviewState gReview;

std::string Trim(const std::string& s) {
  size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool Visible(const std::vector<ErrorEntry>& records, int last, int index) {
  return index >= 0 && index <= last && !records[index].hidden;
}

// The nearest visible record in the direction of the key; when there is
// none, a beep, and a current record that is no longer visible (or none
// yet) gives way to the nearest visible one on the other side.
int NextIndex(const std::vector<ErrorEntry>& records, int last, int current, bool backward) {
  int seen = -1;
  if (backward) {
    for (int i = last; i >= 0; --i) {
      if (records[i].hidden) continue;
      seen = i;
      if (i < current) return i;
    }
  } else {
    for (int i = 0; i <= last; ++i) {
      if (records[i].hidden) continue;
      seen = i;
      if (i > current) return i;
    }
  }
  Beep();
  return Visible(records, last, current) ? current : seen;
}

int VisibleBefore(const std::vector<ErrorEntry>& records, int index) {
  int n = 0;
  for (int i = 0; i < index; ++i) n += records[i].hidden ? 0 : 1;
  return n;
}

}  // namespace

ReviewState& Review() {
  return gReview;
}
void ResetReview() {
  gReview = ReviewState{};
}

void StartErrorReview(int16_t count) {
  gReview = ReviewState{};
  gReview.active = count > 0;
  gReview.errorCount = count;
  gReview.lastErrorIndex = static_cast<int16_t>(count - 1);
}

void EndErrorReview() {
  ReviewState& rv = gReview;
  const uint8_t kind = rv.reviewTargetKind;
  rv.errorPosition = 0;
  Shell().messageShown = false;
  rv.active = false;
  rv.reviewKey = 0;
  rv.errorCount = 0;
  // A replay cut short must not go on driving the modules.
  rv.replayActive = false;
  rv.replayKeys.clear();
  NormalText();
  SavedStatusLine().clear();
  RemoveKeyButtons(2);
  FullScreenWindow full;
  if (kind == kAreaGeneral || IsCodedArea(kind)) TextBackground(Screen().highColour ? 21 : 8);
  if (!Shell().atMainMenu) {
    GotoXY(1, kStatusRow);
    ClrEol();
  }
}

void HideError(int16_t index) {
  if (!gReview.active || !SetErrorHidden(Shell().errorFileName, index)) return;
  if (index == gReview.currentError) gReview.current.hidden = true;
  if (--gReview.errorCount <= 0) EndErrorReview();
}

void MoveToError(uint8_t reviewKey) {
  ReviewState& rv = gReview;
  std::vector<ErrorEntry> records = ReadErrorFile(Shell().errorFileName);
  int last = std::min<int>(rv.lastErrorIndex, static_cast<int>(records.size()) - 1);
  int index = NextIndex(records, last, rv.currentError, reviewKey == kKeyCtrlPgUp);
  rv.replayKeys.clear();
  if (index < 0) {
    rv.currentError = -1;
    rv.reviewText.clear();
    return;
  }
  rv.currentError = static_cast<int16_t>(index);
  rv.current = records[index];
  rv.errorPosition = static_cast<int16_t>(VisibleBefore(records, index));
  rv.reviewText = ErrorDescription(rv.current);
  uint8_t kind = rv.reviewTargetKind;
  rv.replayKeys = ErrorReplayKeys(rv.current, kind).substr(0, kReplayChars);
  rv.reviewTargetKind = kind;
}

void ShowReviewLine(bool save) {
  const ReviewState& rv = gReview;
  if (rv.currentError < 0) return;
  FullScreenWindow full;
  BoldText();
  TextColor(0);
  GotoXY(1, kStatusRow);
  if (save) {
    SaveStatusLine();
  } else {
    ClrEol();
  }
  WriteText("** ");
  GotoXY(3, kStatusRow);
  WriteText("[" + std::to_string(rv.errorPosition + 1) + ":" + std::to_string(rv.errorCount) +
            "] " + SeverityWord(rv.current.severity) + " " +
            rv.reviewText.substr(0, kLineTextChars));
  NormalText();
}

std::string MissingItemText(uint8_t value) {
  return value < kMissingTexts.size() ? kMissingTexts[value] : "";
}

std::string AreaName(uint8_t index) {
  return index < kAreaNames.size() ? kAreaNames[index] : "";
}

std::string SeverityWord(uint8_t severity) {
  return severity < kSeverityWords.size() ? kSeverityWords[severity] : "";
}

std::string ErrorDescription(const ErrorEntry& r) {
  std::string text;
  if (r.severity == kSevContent) {
    for (uint8_t m : r.missing) text += MissingItemText(m);
  } else if (r.variant == 0) {
    text = "...{ " + AreaName(r.nameIndex) + " " + r.detailsText + " eliminado usuario }";
  } else if (r.variant == 1) {
    text = "...{ Analisis unitario involucrado en error de circularidad }";
  } else if (r.variant == 2) {
    text = "...{ Codigo " + r.detailsText + " candidato a eliminar }";
  }
  return text.substr(0, kDescriptionChars);
}

std::string ErrorReplayKeys(const ErrorEntry& r, uint8_t& kind) {
  char letter = 0;
  if (r.severity == kSevContent) {
    switch (r.targetKind) {
      case 1:
        kind = 1;
        return std::string("D") + char(kKeyEnter) + "$";
      case 2:
        letter = 'E';
        break;
      case 3:
      case 7:
        letter = 'F';
        break;
      case 4:
        letter = 'G';
        break;
      case 6:
        letter = 'H';
        break;
      default:
        break;
    }
  } else if (r.severity == kSevCross || r.severity == kSevWarning) {
    if (r.targetKind == 3 || r.targetKind == 8) letter = 'F';
    if (r.targetKind == 6 || r.targetKind == 9) letter = 'H';
  }
  if (letter == 0) return {};
  static constexpr uint8_t kKindOfLetter[] = {kAreaInputs, kAreaAnalyses, kAreaSubcontracts,
                                              kAreaBudget};  // E, F, G, H
  kind = kKindOfLetter[letter - 'E'];
  return letter + Trim(r.errCode) + char(kKeyEnter) + "$";
}

}  // namespace vantu
