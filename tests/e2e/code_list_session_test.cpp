// The code list as a consultant uses it from the code field of command E,
// over a generated set: open it with F1, page it, search it and capture.
#include <gtest/gtest.h>

#include "app/main_program.h"
#include "estimating/basic_inputs.h"
#include "records/record_ops_fixture.h"

namespace vantu {
namespace {

class CodeListSessionTest : public test::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    auto shape = SmallShape();
    shape.obra = "";
    GenerateDataset(shape);
    OpenSet("A");
  }
  // Item codes of file 2 in key order.
  std::vector<std::string> Items() {
    std::vector<std::string> items;
    for (const IndexEntry& e : Entries(2))
      if (e.key.size() == 5) items.push_back(e.key);
    return items;
  }
  // The list row (1-based screen row) that shows code, or 0.
  static int RowOf(const std::string& code) {
    for (int r = 1; r <= 25; ++r)
      if (ScreenRow(r).find(code + "    ") != std::string::npos) return r;
    return 0;
  }
};

TEST_F(CodeListSessionTest, PageSearchAndCaptureIntoTheCodeField) {
  const std::vector<std::string> items = Items();
  ASSERT_GT(items.size(), 40u);
  // Cement is a Materiales input of the generated catalogue.
  std::string cement;
  for (const std::string& c : items) {
    const InputRecord in = Read<InputRecord>(2, Find(2, c));
    if (Get(in, input::Description).rfind("Cemento gris", 0) == 0) cement = c;
  }
  ASSERT_FALSE(cement.empty());

  session.QueueStep([] { PushKey(kKeyF1); });  // on the code field: the list
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" INSUMOS BASICOS "));
    EXPECT_NE(RowOf("01"), 0);
    PushKey(kKeyPgDn);
  });
  session.QueueStep([] {
    EXPECT_EQ(RowOf("01"), 0);  // the first page is gone
    PushKey(kKeyHome);          // back to the first chapter
  });
  session.QueueStep([] {
    EXPECT_NE(RowOf("01"), 0);
    PushKey(kKeyF7);  // F7: search
  });
  Type("CEMENTO GRIS", {kKeyEnter});
  session.QueueStep([cement] {
    EXPECT_NE(RowOf(cement), 0) << "the match's page is shown";
    PushKey(kKeyEnter);  // capture
  });
  session.QueueStep([cement] {
    EXPECT_FALSE(ScreenContains(" INSUMOS BASICOS "));
    EXPECT_EQ(ScreenRow(11).substr(25, 5), cement);
    EXPECT_NE(ScreenText().find("Cemento gris 50 kg"), std::string::npos);
    PushKey(kKeyEsc);
    PushKey(kKeyEsc);
  });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
}

TEST_F(CodeListSessionTest, ASearchWithoutMatchAheadSaysSo) {
  session.QueueStep([] { PushKey(kKeyF1); });
  session.QueueStep([] { PushKey(kKeyF7); });
  Type("NO EXISTE EN EL CATALOGO", {kKeyEnter});
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains("... No se encontro ..."));
    PushKey(kKeyEsc);  // closes the message
  });
  session.QueueStep([] {
    EXPECT_TRUE(ScreenContains(" INSUMOS BASICOS "));
    PushKey(kKeyEsc);  // the list
  });
  session.QueueStep([] { PushKey(kKeyEsc); });
  RunCommand('E');
  EXPECT_TRUE(session.ScriptDone());
}

}  // namespace
}  // namespace vantu
