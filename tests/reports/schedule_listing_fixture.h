#pragma once
// A small calculated Obra with a planned chart, a host that keeps what the
// viewer and the printer were given, and the pieces of the listings' lines
// in the viewer's form.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "console/keys.h"
#include "reports/listing_engine.h"
#include "schedule/schedule_fixture.h"

namespace vantu::test {

using namespace schedule_file;

inline std::string Slurp(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Keeps what the viewer and the printer were given.
class CaptureHost : public SessionHost {
 public:
  std::vector<std::string> shown, printed;
  std::vector<bool> landscapes;
  void ShowListing(const std::string& fileName) override { shown.push_back(Slurp(fileName)); }
  bool PrintListingFile(const std::string& fileName, bool landscape, std::string&) override {
    printed.push_back(Slurp(fileName));
    landscapes.push_back(landscape);
    return true;
  }
};

using Marks = std::vector<std::pair<int, std::vector<int>>>;  // activity row, periods

// Activities of the small budget: 1 chapter 01, 2 item 010 (1000), 3 item
// 020 (500), 4 chapter 02, 5 item 010 (1500). This plan spreads them into
// 500, 1500, 500 and 500 over four months.
inline const Marks kPlan = {{2, {1, 2}}, {3, {2}}, {5, {2, 3, 4}}};

class ScheduleListingTest : public ScheduleTest {
 protected:
  void SetUp() override {
    ScheduleTest::SetUp();
    SetHost(&capture);
    ResetListingState();
    Prefs() = DefaultPreferences();
    Prefs().englishUnits = true;  // decimal point, comma thousands
    Shell().listingFileName = (dataDir / "LPT").string();
    Shell().consultantName = "CONSULTOR";
    Selection().ObraName = "OBRA DE PRUEBA";
    Selection().ObraReference = "REF-1";
    Selection().BudgetDate = "01/02/26";
    EmptyListingFile();
    SetGeneral(0);
    WriteBudget(SmallBudget(), 30, 5);
  }
  void TearDown() override {
    ResetListingState();
    ScheduleTest::TearDown();
  }

  void Plan(const Marks& marks, int16_t serial = 0, uint8_t changed = 0) {
    ScheduleBlock b;
    InitScheduleBlock(b, kScopeItems);
    b.SetScheduleSerial(serial);
    b.SetScheduleChanged(changed);
    for (const auto& [row, periods] : marks)
      for (int p : periods) b.Cell(row, p) = kCellMarked;
    StoreBlock(b);
  }
  void Percentages(long double anticipo, long double retencion) {
    ObraHeader h = Read<ObraHeader>(6, 0);
    Set(h, obra_header::AnticipoPct, anticipo);
    Set(h, obra_header::RetencionPct, retencion);
    PutRec(Area(6).Data, 0, h.data());
  }
  // Answers the next message box with Esc, keeping its screen.
  void AnswerBox(std::vector<std::string>& seen) {
    capture.QueueStep([&seen] {
      seen.push_back(ScreenText());
      PushKey(kKeyEsc);
    });
  }
  void Keys(const std::vector<int>& keys) {
    capture.QueueStep([keys] {
      for (int k : keys) PushKey(static_cast<uint8_t>(k));
    });
  }
  std::vector<std::string> ListingLines() {
    CloseListingFile();
    return Lines(Slurp(Shell().listingFileName));
  }

  CaptureHost capture;
};

inline std::string Glyph(int c, int n = 1) {
  return std::string(static_cast<size_t>(n), static_cast<char>(c));
}

inline const std::string V = Glyph(186);

// The payment table's pieces, in the viewer (left margin 1).
inline std::string TableRule(int left, int joint, int right, int fill) {
  std::string s = " " + Glyph(left) + Glyph(fill, 10) + Glyph(joint);
  for (int c = 0; c < 6; ++c) s += Glyph(fill, 18) + Glyph(c < 5 ? joint : right);
  return s;
}
inline std::string Amount(const std::string& s) {
  return s.empty() ? std::string(13, ' ') + "---- " : std::string(17 - s.size(), ' ') + s + " ";
}
inline std::string TableRow(const std::string& label, const std::vector<std::string>& amounts) {
  std::string s = " " + V + label + V;
  for (const std::string& a : amounts) s += Amount(a) + V;
  return s;
}
}  // namespace vantu::test
