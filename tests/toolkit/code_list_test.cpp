#include "toolkit/code_list.h"

#include <gtest/gtest.h>

#include "toolkit/code_list_memory_source.h"
#include "toolkit/field_fixture.h"
#include "toolkit/item_detail.h"

namespace vantu::test {
namespace {

constexpr int kF1 = 133, kF2 = 134, kF7 = 139, kEnter = 13, kEsc = 27, kPgDn = 143, kPgUp = 144;

class CodeListTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    source = MemorySource{};
    source.Fill(3, 5, 10, 6);  // analyses 010010 ..
    source.Fill(2, 4, 3, 5);   // basic inputs 01010 ..
    source.groups = {{"01", 1}, {"02", 2}, {"04", 4}};
    SetListSource(&source);
  }

  // Runs the list with the keys typed, then `inspect` while it still waits,
  // then Esc as often as needed to close it.
  std::optional<std::string> Run(const std::string& areas, const std::string& at,
                                 const std::vector<int>& keys, std::function<void()> inspect = {},
                                 int callingArea = 3) {
    if (!keys.empty()) host.TypeKeys(keys);
    // A message drops the codes waiting: one idle step lets it pass first.
    host.QueueStep([] {});
    host.QueueStep([inspect] {
      if (inspect) inspect();
      PushKey(kEsc);
    });
    try {
      return OpenCodeList(callingArea, areas, at, exitKey);
    } catch (const ScriptExhausted&) {
      ADD_FAILURE() << "the list did not close";
      return std::nullopt;
    }
  }

  static std::vector<std::string> Codes(int kind) {
    std::vector<std::string> codes;
    for (const ListEntry& e : CodeListFor(kind).rows) codes.push_back(e.code);
    return codes;
  }
  static std::string Selected(int kind) {
    const CodeListState& st = CodeListFor(kind);
    return st.rows.empty() ? "" : st.rows[st.selected].code;
  }

  MemorySource source;
  uint8_t exitKey = 0;
};

TEST_F(CodeListTest, F2TwiceOnChapter03ListsItsItems) {
  std::vector<std::string> chapters, items;
  host.TypeKeys({kF2});
  host.QueueStep([&] {
    chapters = Codes(3);
    PushKey(kF2);
  });
  Run("3", "03", {}, [&] { items = Codes(3); });
  EXPECT_EQ(chapters, (std::vector<std::string>{"03", "04", "05"}));
  ASSERT_EQ(items.size(), 11u);
  for (const std::string& c : items) EXPECT_EQ(c.substr(0, 2), "03") << c;
  EXPECT_EQ(exitKey, kF1);
}

TEST_F(CodeListTest, PagesOf19AndRows) {
  std::vector<std::string> page2, back;
  std::string afterDown;
  host.TypeKeys({kPgDn});
  host.QueueStep([&] {
    page2 = Codes(3);
    PushKey(kPgUp);
  });
  host.QueueStep([&] {
    back = Codes(3);
    for (int i = 0; i < 20; ++i) PushKey(129);
  });
  Run("3", "", {}, [&] { afterDown = Selected(3); });
  ASSERT_EQ(page2.size(), 19u);
  EXPECT_EQ(page2.front(), "020080");  // the 20th entry of 55
  EXPECT_EQ(back.front(), "01");
  EXPECT_EQ(afterDown, "020090");  // 18 rows down, then two scrolled in
  EXPECT_EQ(Codes(3).size(), 19u);
  EXPECT_EQ(Codes(3).front(), "010020");
}

TEST_F(CodeListTest, PageDownAtTheEndAndTypedScrollCodesBeep) {
  Run("3", "050010", {kPgDn, kPgDn, 169, 170});
  EXPECT_GE(host.BeepCount(), 3);
  EXPECT_EQ(Codes(3).front(), "050010");
}

TEST_F(CodeListTest, SearchGoesForwardOnlyWithoutWrapping) {
  bool notFound = false;
  std::string selected;
  host.TypeKeys({kF7});
  host.TypeText("item 0101");  // upper-cased by the field; only 010100 has it
  host.TypeKeys({kEnter});
  host.QueueStep([&] {
    notFound = ScreenContains("... No se encontro ...");
    PushKey(kEsc);
  });
  host.TypeKeys({kF7});
  host.TypeText("0100");  // replaces the last text
  host.TypeKeys({kEnter});
  Run("3", "040010", {}, [&] { selected = Selected(3); });
  EXPECT_TRUE(notFound);
  EXPECT_EQ(CodeListFor(3).searchText, "0100");
  EXPECT_EQ(selected, "040100");
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(CodeListTest, CaptureChecksRefuseWithTheirTexts) {
  struct Case {
    const char* name;
    std::string areas, at;
    CaptureTarget target;
    const char* message;
  };
  CaptureTarget self{3, "020010", {}, 0, ""};
  CaptureTarget equipos{3, "030010", {}, 1, ""};
  CaptureTarget used{3, "030010", {"", "010020"}, 0, ""};
  CaptureTarget undefinedGroup{3, "030010", {}, 3, ""};
  CaptureTarget budget{6, "", {}, 0, ""};
  source.budgetUses = {"010010"};
  const Case cases[] = {
      {"itself", "23", "020010", self, "Un Analisis Unitario no puede ser componente de si mismo"},
      {"Materiales into Equipos", "23", "02010", equipos,
       "Ese Item fue clasificado como Materiales y no puede usarse en ese sitio"},
      {"group not defined", "23", "03010", undefinedGroup,
       "Regrese a Insumos Basicos y defina el Grupo"},
      {"already in a line", "3", "010020", used, "El Analisis Unitario ya usa ese Item"},
      {"chapter", "3", "02", self, "Un Capitulo no puede ser componente"},
      {"budget uses it", "3", "010010", budget, "El Presupuesto de Obra ya usa ese Item"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListHooks().captureTarget = [&c](int) { return c.target; };
    std::string status;
    const auto got = Run(c.areas, c.at, {kEnter}, [&] { status = ScreenRow(25); });
    EXPECT_FALSE(got.has_value());
    EXPECT_NE(status.find(c.message), std::string::npos) << status;
  }
}

TEST_F(CodeListTest, AcceptedCaptureAndOverwriteConfirmation) {
  ListHooks().captureTarget = [](int) { return CaptureTarget{3, "030010", {}, 1, ""}; };
  host.TypeKeys({kEnter});
  EXPECT_EQ(OpenCodeList(3, "23", "01010", exitKey), std::optional<std::string>("01010"));
  EXPECT_EQ(exitKey, kEnter);
  EXPECT_EQ(WindowDepth(), 0);

  ListHooks().captureTarget = [](int) { return CaptureTarget{6, "", {}, 0, "030010"}; };
  host.AnswerBox(BoxAnswer::No);
  EXPECT_FALSE(Run("3", "010010", {kEnter}).has_value());
  ASSERT_FALSE(host.Boxes().empty());
  EXPECT_EQ(host.Boxes().back().text, " Confirma la sobreescritura del Item");
  EXPECT_EQ(host.Boxes().back().caption, "Advertencia sobreescritura");
  host.AnswerBox(BoxAnswer::Yes);
  host.TypeKeys({kEnter});
  EXPECT_EQ(OpenCodeList(6, "3", "010010", exitKey), std::optional<std::string>("010010"));
}

TEST_F(CodeListTest, ClicksSelectAndADoubleClickCaptures) {
  const CodeListState& st = CodeListFor(3);
  host.Click(st.left + 5, st.top + 2);  // third row
  host.Click(st.left + 5, st.top + 2);  // again: Enter
  EXPECT_EQ(OpenCodeList(3, "3", "", exitKey), std::optional<std::string>("010020"));
}

TEST_F(CodeListTest, F1SwitchesBetweenTheFieldsFiles) {
  std::string title;
  Run("23", "010010", {kF1}, [&] { title = ScreenRow(CodeListFor(2).top); });
  EXPECT_NE(title.find(" INSUMOS BASICOS "), std::string::npos);
  // A single file has nothing to switch to.
  const int beeps = host.BeepCount();
  Run("3", "", {kF1});
  EXPECT_EQ(host.BeepCount(), beeps + 1);
}

TEST_F(CodeListTest, EditorCapturesACodeFromTheList) {
  FieldEditorHooks().listsAllowed = [](int) { return true; };
  FieldEditorHooks().hasRecords = [](int) { return true; };
  FieldDescriptor d = Field('K', 6, 0, "2", "4");
  d.listAreas = "3";
  host.TypeKeys({kF1, kPgDn, kF7});
  host.TypeText("ITEM 0401");
  host.TypeKeys({kEnter, kEnter});
  FieldValue v = std::string();
  uint8_t key = 0;
  EditField(3, v, d, key, KeySet{kEnter, kEsc});
  EXPECT_EQ(key, kEnter);
  EXPECT_EQ(v, FieldValue(std::string("040100")));
  EXPECT_EQ(ValueCells(d), "040100");
  EXPECT_EQ(WindowDepth(), 0);
}

TEST(ItemDetailText, EveryRecordKind) {
  using K = ItemDetail::Kind;
  struct Case {
    const char* name;
    ItemDetail d;
    bool aiu;
    const char* expected;  // a line the window must show
  };
  ItemDetail chapter;
  chapter.kind = K::Chapter;
  ItemDetail input;
  input.kind = K::BasicInput;
  input.unit = "M3";
  ItemDetail priced = input;
  priced.price = 1234.5L;
  ItemDetail global;
  global.kind = K::GlobalPrice;
  ItemDetail analysis;
  analysis.kind = K::Analysis;
  analysis.lines = {{2, false, "CEMENTO", "KG", 10, 3}, {1, true, "ANDAMIO", "", 50, 0}};
  analysis.directCost = 80;
  analysis.unitPrice = 100;
  ItemDetail circular = analysis;
  circular.circular = true;
  ItemDetail costless;
  costless.kind = K::Subcontract;
  ItemDetail sub = costless;
  sub.directCost = 10;
  sub.unitPrice = 12;
  ItemDetail item;
  item.kind = K::BudgetItem;
  ItemDetail undefinedQty = item;
  undefinedQty.porDefinir = true;
  ItemDetail unpriced = item;
  unpriced.quantity = 2;
  const Case cases[] = {
      {"chapter", chapter, false, "Los capitulos no tienen detalle"},
      {"input without price", input, false, "<<<  FALTA EL PRECIO UNITARIO   >>>"},
      {"input price", priced, false, " Unidad: M3  $        1.234,50"},
      {"global without price", global, false, "<<<   FALTA EL PRECIO GLOBAL    >>>"},
      {"analysis line", analysis, false,
       "CEMENTO                         KG            10,00     3,0000           30,00"},
      {"global line", analysis, false, "ANDAMIO                         Glb."},
      {"analysis with AIU", analysis, true, "TOTAL  (con AIU)   $          100,00"},
      {"analysis without AIU", analysis, false, "TOTAL  (sin AIU)   $           80,00"},
      {"circular", circular, false, "ERROR CIRCULARIDAD  Use opcion Calcular"},
      {"subcontract", sub, true, "COSTO (Con AIU)    $           12,00"},
      {"subcontract without cost", costless, true, "FALTAN DATOS COSTO"},
      {"quantity missing", item, false, "<<<  FALTA LA CANTIDAD DE OBRA  >>>"},
      {"quantity to define", undefinedQty, false, "<<<  CANT. DE OBRA POR DEFINIR  >>>"},
      {"no price", unpriced, false, " Precio: $ ???.??"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> lines = ItemDetailLines(c.d, c.aiu);
    bool found = false;
    for (const std::string& l : lines) found |= l.rfind(c.expected, 0) == 0;
    EXPECT_TRUE(found) << ::testing::PrintToString(lines);
  }
}

}  // namespace
}  // namespace vantu::test
