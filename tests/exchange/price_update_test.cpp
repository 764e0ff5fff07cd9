// A price bank into an existing Rama: prices changed, kept, new items in
// the chapters of their group, codes the bank lacks reported, analyses
// untouched, the set left to calculate, and a second run finding nothing
// left to do.
#include <gtest/gtest.h>

#include "calc/review_and_calc.h"
#include "exchange/price_update_plan.h"
#include "price_update_fixture.h"

namespace vantu::test {
namespace {

// New concepts: labour, materials and transport inputs, a subcontract the
// bank's chapter uses, a decomposition, and a concept without price.
const std::vector<std::string> kNewConcepts = {
    "C|MO-AYU|h|Ayudante nuevo|15.5|010125|1",
    "C|MT-TUBO|m|Tubo nuevo|7.25||3",
    "C|TR-VOLQ|viaje|Volqueta nueva|80||0",
    "C|SUB-PINT|m2|Pintura subcontratada|12||0",
    "C|AN-MURO|m2|Muro nuevo|99||0",
    "D|AN-MURO|MO-AYU\\1\\2\\MT-TUBO\\1\\3\\",
    "C|CERO|u|Sin precio|0||3",
    "C|BANCO##||Banco 2025|0||0",
    "C|CAP#||Capitulo|0||0",
    "D|BANCO##|CAP#\\1\\1\\",
    "D|CAP#|SUB-PINT\\1\\1\\",
};

class PriceUpdateRunTest : public PriceUpdateTest {
 protected:
  void SetUp() override {
    PriceUpdateTest::SetUp();
    GenerateRama();
    OpenRama();
  }
  void TearDown() override {
    CloseSet();
    PriceUpdateTest::TearDown();
  }
  // The group of the chapter an input code belongs to.
  int GroupOf(const SetState& s, const std::string& code) {
    return s.at("2:" + code.substr(0, 2)).group;
  }
};

TEST_F(PriceUpdateRunTest, ChangedKeptNewAndMissingCodesAreAppliedAndReported) {
  const std::vector<InputRecord> inputs = Inputs();
  const std::vector<SubcontractRecord> subs = Subcontracts();
  ASSERT_GE(inputs.size(), 12u);
  ASSERT_GE(subs.size(), 3u);
  const SetState before = State();
  const auto analyses = WholeFile("Apr03dat.A");
  const fs::path bank = WriteFile(Bc3Of(BankOf(5, 3, kNewConcepts)), "banco.bc3");
  const PriceUpdateResult r = Update(bank);
  ASSERT_TRUE(r.Ok()) << r.refused << r.failure;
  FlushWorkArea(kAreaInputs);
  const SetState after = State();

  for (size_t i = 0; i < 8; ++i) {
    const std::string code = Get(inputs[i], coded::Code);
    const long double old = Get(inputs[i], input::Price);
    const long double expected = i < 5 ? RoundCents(old * 1.1L) : old;
    EXPECT_EQ(after.at("2:" + code).price, expected) << code;
    EXPECT_EQ(after.at("2:" + code).date,
              i < 5 && expected != old ? "01/01/25" : before.at("2:" + code).date)
        << code << ": a changed price takes the bank's date";
  }
  for (size_t i = 8; i < inputs.size(); ++i) {
    const std::string code = Get(inputs[i], coded::Code);
    EXPECT_EQ(after.at("2:" + code), before.at("2:" + code)) << code << " is not in the bank";
  }
  for (size_t i = 0; i < 2; ++i) {
    const std::string code = Get(subs[i], coded::Code);
    const ItemState& s = after.at("4:" + code);
    const long double expected = RoundCents(SubcontractPrice(subs[i]) * 0.95L);
    EXPECT_EQ(RoundCents(s.values[0] + s.values[1] + s.values[2] + s.values[3]), expected) << code;
    EXPECT_EQ(s.price, expected) << code;
  }
  EXPECT_EQ(WholeFile("Apr03dat.A"), analyses) << "no analysis may change";

  // The new ones, in chapters of their group, their codes in the codes file.
  const auto codes = CodesOf(Mapping(r.mapPath), "insumo");
  ASSERT_EQ(codes.size(), 3u) << Text(r.mapPath);
  const struct {
    const char* original;
    int group;
    long double price;
  } added[] = {{"MO-AYU", 4, 15.5L}, {"MT-TUBO", 2, 7.25L}, {"TR-VOLQ", 3, 80}};
  for (const auto& a : added) {
    const std::string code = codes.at(a.original);
    EXPECT_FALSE(before.count("2:" + code)) << a.original << " took a used code";
    EXPECT_EQ(GroupOf(after, code), a.group) << a.original;
    EXPECT_EQ(after.at("2:" + code).price, a.price) << a.original;
  }
  const auto subCodes = CodesOf(Mapping(r.mapPath), "subcontrato");
  ASSERT_EQ(subCodes.size(), 1u);
  const ItemState& painting = after.at("4:" + subCodes.at("SUB-PINT"));
  EXPECT_EQ(painting.values[2], 12) << "an untyped concept's price goes to Transportes";
  EXPECT_EQ(painting.description, "Pintura subcontratada");
  EXPECT_EQ(after.size(), before.size() + 4) << "three inputs and a subcontract, no chapter";

  // The report.
  const auto report = Report();
  const std::string changed = Get(inputs[0], coded::Code);
  ASSERT_TRUE(report.count("insumo:" + changed));
  const std::vector<std::string>& row = report.at("insumo:" + changed);
  EXPECT_EQ(row[3], "cambia");
  EXPECT_EQ(row[6], Price(Get(inputs[0], input::Price)));
  EXPECT_EQ(row[8], "10.00");
  EXPECT_FALSE(report.count("insumo:" + Get(inputs[6], coded::Code))) << "unchanged prices";
  EXPECT_EQ(report.at("insumo:" + Get(inputs[9], coded::Code))[3], "falta en el banco");
  EXPECT_EQ(report.at("insumo:" + codes.at("MO-AYU"))[3], "nuevo");
  EXPECT_EQ(report.at("analisis:AN-MURO")[3], "descomposicion no aplicada");
  EXPECT_EQ(report.at("insumo:CERO")[3], "sin precio en el banco");
  EXPECT_EQ(r.plan.Count(kChanged), 7);
  EXPECT_EQ(r.plan.Count(kAdded), 4);
  EXPECT_EQ(r.plan.Count(kMissing), static_cast<int>(inputs.size() - 8 + subs.size() - 2));
  EXPECT_FALSE(fs::exists(PriceReportPath(dataDir.string(), "A") + ".pendiente"));
}

TEST_F(PriceUpdateRunTest, TheSetNeedsCalculationAndCalculatesTheNewPrices) {
  CloseSet();
  EXPECT_EQ(Markers(2, "A").first, 0) << "generated calculated";
  OpenRama();
  ASSERT_TRUE(Update(WriteFile(Bc3Of(BankOf(5, 0, kNewConcepts)), "banco.bc3")).Ok());
  CloseSet();
  EXPECT_EQ(Markers(2, "A").first, 1);
  EXPECT_EQ(Markers(4, "A").first, 1);
  OpenRama();
  CalcObserver none;
  const RunPlan plan = PrepareRun();
  EXPECT_TRUE(plan.calcAnalyses) << "the analyses must be priced again";
  EXPECT_TRUE(plan.calcSubcontracts);
  const RunOutcome run = ExecuteRun(plan, none, "ApError");
  EXPECT_EQ(run.TotalErrors(), 0) << Errors();
}

TEST_F(PriceUpdateRunTest, ASecondRunOfTheSameBankChangesNothing) {
  const fs::path bank = WriteFile(Bc3Of(BankOf(5, 3, kNewConcepts)), "banco.bc3");
  ASSERT_TRUE(Update(bank).Ok());
  const SetState once = State();
  const std::string codes = Text(DefaultCodesPath(dataDir.string(), "A"));
  const PriceUpdateResult again = Update(bank);
  ASSERT_TRUE(again.Ok());
  EXPECT_EQ(Differences(State(), once), "");
  EXPECT_EQ(again.plan.Count(kChanged), 0);
  EXPECT_EQ(again.plan.Count(kAdded), 0);
  EXPECT_EQ(Text(DefaultCodesPath(dataDir.string(), "A")), codes);
}

TEST_F(PriceUpdateRunTest, AMappingFileMatchesTheBanksOwnCodes) {
  const std::vector<InputRecord> inputs = Inputs();
  const std::string target = Get(inputs[2], coded::Code);
  const fs::path map = WriteFile(
      "codigo original;codigo nuevo;tipo;resumen\r\nBANCO-17;" + target + ";insumo;Algo\r\n",
      "importado.csv");
  const fs::path bank = WriteFile(Bc3Of({"C|BANCO-17|u|Algo|4321.5||3"}), "banco.bc3");
  const PriceUpdateResult r = Update(bank, map.string());
  ASSERT_TRUE(r.Ok()) << r.failure;
  EXPECT_EQ(State().at("2:" + target).price, 4321.5L);
  EXPECT_EQ(r.plan.Count(kAdded), 0);
  EXPECT_EQ(Text(map),
            "codigo original;codigo nuevo;tipo;resumen\r\nBANCO-17;" + target + ";insumo;Algo\r\n")
      << "nothing new to add to the codes";
}

TEST_F(PriceUpdateRunTest, ABankThatDoesNotReadOrAMissingMapWritesNothing) {
  const SetState before = State();
  const struct {
    const char* name;
    std::string bank;
    std::string map;
    bool refused;
  } cases[] = {
      {"a price that is no number", Bc3Of({"C|01010|u|x|nan||3"}), "", true},
      {"a cut file", Bc3Of({"C|01010|u|x|5||3"}) + "~C|X|", "", true},
      {"a codes file that is not there", Bc3Of({"C|01010|u|x|5||3"}),
       (root / "no-existe.csv").string(), false},
  };
  for (const auto& c : cases) {
    const PriceUpdateResult r = Update(WriteFile(c.bank, "banco.bc3"), c.map);
    EXPECT_EQ(!r.refused.empty(), c.refused) << c.name << ": " << r.refused << r.failure;
    EXPECT_FALSE(r.Ok()) << c.name;
    EXPECT_EQ(Differences(State(), before), "") << c.name;
    EXPECT_FALSE(fs::exists(PriceReportPath(dataDir.string(), "A"))) << c.name;
  }
}

// The plan alone, on a Rama of a few records.
class PricePlanTest : public ::testing::Test {
 protected:
  static Bc3Document Bank(const std::vector<std::string>& records) {
    const Bc3ReadResult read = ReadBc3(Bc3Of(records));
    EXPECT_EQ(read.error, "");
    return read.doc;
  }
  PriceUpdatePlan Plan(const std::vector<std::string>& records,
                       const std::map<std::string, MappedCode>& mapping = {}) {
    return PlanPriceUpdate(Bank(records), rama, mapping, "02/03/25");
  }
  static const PriceChange& Row(const PriceUpdatePlan& p, const std::string& original) {
    for (const PriceChange& r : p.rows)
      if (r.original == original) return r;
    static const PriceChange none;
    ADD_FAILURE() << original << " has no row";
    return none;
  }

  RamaPrices rama = [] {
    RamaPrices p;
    p.inputChapters = {{"01", 1}, {"02", 2}, {"03", 4}};
    p.inputs["01010"] = {"Mezcladora", "dia", 50, {}};
    p.inputs["02990"] = {"Cemento", "saco", 30, {}};
    p.inputs["03010"] = {"Oficial", "h", 20, {}};
    p.subcontractChapters = {"01"};
    p.subcontracts["01010"] = {"Pintura", "m2", 100, {10, 60, 0, 30}};
    return p;
  }();
};

TEST_F(PricePlanTest, NewItemsGoToTheLastChapterOfTheirGroupOrToANewOne) {
  const PriceUpdatePlan p =
      Plan({"C|A|h|Ayudante|10||1", "C|B|m|Arena|5||3", "C|C|v|Flete|9||0", "C|D|h|Peon|8||1"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(Row(p, "A").code, "03020") << "ten past the chapter's last item";
  EXPECT_EQ(Row(p, "D").code, "03030");
  EXPECT_EQ(Row(p, "B").code, "02991") << "a chapter near its end takes the next number";
  EXPECT_EQ(Row(p, "C").code, "04010") << "no Transportes chapter: a new one";
  ASSERT_EQ(p.chapters.size(), 1u);
  EXPECT_EQ(p.chapters[0].code, "04");
  EXPECT_EQ(p.chapters[0].group, 3);
  EXPECT_EQ(p.newMappings.size(), 4u);
}

TEST_F(PricePlanTest, ASubcontractKeepsTheShareOfEachGroup) {
  const PriceUpdatePlan p = Plan({"C|S01010|m2|Pintura|150||0"});
  const PriceChange& r = Row(p, "S01010");
  EXPECT_EQ(r.verdict, std::string(kChanged));
  EXPECT_EQ(r.oldPrice, 100);
  EXPECT_EQ(r.values[0], 15);
  EXPECT_EQ(r.values[1], 90);
  EXPECT_EQ(r.values[2], 0);
  EXPECT_EQ(r.values[3], 45);
}

TEST_F(PricePlanTest, AMappedCodeTheRamaLacksIsGivenBackWhenItsChapterFits) {
  const std::map<std::string, MappedCode> mapping = {
      {"A", {"07010", "insumo"}},  // chapter missing: added for its group
      {"B", {"02500", "insumo"}},  // chapter of Materiales: kept
      {"C", {"01500", "insumo"}},  // chapter of Equipos for labour: a code of its own
      {"M", {"02990", "insumo"}},  // there: an ordinary match
  };
  const PriceUpdatePlan p = Plan(
      {"C|A|h|Ayudante|10||1", "C|B|m|Arena|5||3", "C|C|h|Peon|8||1", "C|M|saco|C|31||3"}, mapping);
  EXPECT_EQ(Row(p, "A").code, "07010");
  EXPECT_EQ(Row(p, "B").code, "02500");
  EXPECT_EQ(Row(p, "C").code, "07020") << "the last chapter of labour is now 07";
  EXPECT_EQ(Row(p, "M").verdict, std::string(kChanged));
  ASSERT_EQ(p.chapters.size(), 1u);
  EXPECT_EQ(p.chapters[0].code, "07");
  EXPECT_EQ(p.chapters[0].group, 4);
  EXPECT_EQ(p.newMappings.size(), 1u) << "only C's code is new";
}

TEST_F(PricePlanTest, UnitsThatDifferAndRepeatedMatchesAreNoted) {
  const std::map<std::string, MappedCode> mapping = {{"X", {"01010", "insumo"}}};
  const PriceUpdatePlan p = Plan({"C|01010|h|Mezcladora|55||2", "C|X|dia|Otra|60||2"}, mapping);
  EXPECT_NE(Row(p, "01010").note.find("unidad en el banco: h"), std::string::npos);
  EXPECT_EQ(Row(p, "X").verdict, "repetido en el banco");
}

TEST_F(PricePlanTest, RunningOutOfChaptersRefusesTheWholeUpdate) {
  for (int c = 1; c <= 99; ++c) {
    char code[3];
    std::snprintf(code, sizeof code, "%02d", c);
    rama.inputChapters[code] = c == 99 ? 2 : 1;
  }
  EXPECT_NE(Plan({"C|A|h|Ayudante|10||1"}).error.find("Mano de Obra"), std::string::npos);
  EXPECT_EQ(Plan({"C|B|m|Arena|5||3"}).error, "") << "Materiales still has chapter 99";
}

}  // namespace
}  // namespace vantu::test
