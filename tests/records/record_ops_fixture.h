#pragma once
// A fresh or generated set with the estimating modules installed, and a
// coded screen over work area 2 for the shared record operations.

#include <gtest/gtest.h>

#include <string>

#include "app/install_modules.h"
#include "console/keys.h"
#include "dataset_fixture.h"
#include "records/list_source.h"
#include "records/record_ops.h"
#include "session/shell_state.h"
#include "toolkit/error_review.h"
#include "toolkit/field_hooks.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"

namespace vantu::test {

class RecordOpsTest : public DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    ResetRecordOps();
    ResetReview();
    ResetFieldEditor();
    ResetSchemes();
    ResetStatusLine();
    InstallEstimating();
    code.label = "Codigo   (#####)      :";
    code.kind = kKindCode;
    code.width = 5;
    code.column = 2;
    code.row = 11;
    code.minValue = "2";
    code.maxValue = "3";
    screen.area = 2;
    screen.buffer = rec.data();
    screen.codeField = &code;
  }
  void TearDown() override {
    ClearCommands();
    SetListSource(nullptr);
    ResetFieldEditor();
    DatasetTest::TearDown();
  }

  // Adds chapters and items of file 2 with the given codes, in order.
  void AddInputs(std::initializer_list<const char*> codes) {
    for (const char* c : codes) AddCoded(2, c);
  }
  // Makes the record of `code` of area 2 the current one.
  void Select(const std::string& c) {
    Area(2).CurrentRecord = Find(2, c);
    LoadCurrent(2, rec.data());
  }
  std::string Current() { return Get(rec, coded::Code); }
  std::string Row25() { return ScreenRow(25); }

  FieldDescriptor code;
  InputRecord rec;
  CodedScreen screen;
};

}  // namespace vantu::test

namespace vantu::test {

// A headless host whose calendar and consultant dialogs answer from the
// script.
class SessionHost : public HeadlessHost {
 public:
  std::string dateAnswer;        // "dd/mm/yyyy"; empty keeps the date shown
  std::string consultantAnswer;  // empty: the dialog is cancelled
  std::vector<std::string> datesAsked;
  std::string PickDate(const std::string& date) override {
    datesAsked.push_back(date);
    return dateAnswer.empty() ? date : dateAnswer;
  }
  bool EditConsultant(std::string& name) override {
    if (consultantAnswer.empty()) return false;
    name = consultantAnswer;
    return true;
  }
};

// Whole command sessions over an open set: the script types, the command
// runs as the main loop would run it.
class SessionTest : public RecordOpsTest {
 protected:
  void SetUp() override {
    RecordOpsTest::SetUp();
    SetHost(&session);
    InstallFileSets();  // the work areas' titles and buttons
    Selection().RamaCode = "A";
  }
  void TearDown() override {
    Hooks() = ShellHooks{};
    SetHost(&host);
    RecordOpsTest::TearDown();
  }
  // A record of file 2 as the module would have written it.
  void PutInput(const std::string& c, const std::string& description, int16_t group,
                const std::string& unit = "", long double price = 0) {
    const int16_t r = AddCoded(2, c);
    InputRecord in = Read<InputRecord>(2, r);
    Set(in, input::Description, description);
    if (c.size() == 2) {
      Set(in, input::Group, group);
    } else {
      Set(in, input::Unit, unit);
      Set(in, input::Price, price);
    }
    PutRec(Area(2).Data, r, in.data());
  }
  void Type(const std::string& text, std::vector<int> after = {}) {
    session.QueueStep([text, after] {
      for (unsigned char ch : text) PushKey(ch);
      for (int k : after) PushKey(static_cast<uint8_t>(k));
    });
  }

  SessionHost session;
};

}  // namespace vantu::test
