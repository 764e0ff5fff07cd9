// Importing exchange files into new sets: the program's own export comes
// back at the same prices, a hand-written file lands in the records and
// the mapping it should, and a bad file or an existing set writes nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "exchange/bc3_writer.h"
#include "import_fixture.h"
#include "records/analysis_records.h"
#include "toolkit/numbers.h"

namespace vantu::test {
namespace {

class Bc3ImportTest : public ImportTest {};

// The budget's direct cost as the items price it: an analysis at its
// rounded direct cost, a subcontract at its direct cost, a global amount
// as it is, or without its AIU when every price includes it.
long double DirectBudget(const ExportModel& m, bool toPeso) {
  const bool perItem = Get(m.general, general::AiuMode) == general::kAiuPerItem;
  const long double aiu = 1 + Get(m.general, general::AiuPerItem) / 100;
  std::map<std::string, long double> direct, subcontract;
  for (const ExportAnalysis& a : m.analyses) direct[a.code] = a.stored.directCost;
  for (const ExportSubcontract& s : m.subcontracts) subcontract[s.code] = s.directCost;
  long double sum = 0;
  for (const ExportChapter& c : m.chapters)
    for (const ExportBudgetItem& it : c.items) {
      if (it.refType == budget_item::kRefGlobal)
        sum += RoundMoneyAs(perItem ? it.quantity / aiu : it.quantity, toPeso);
      else if (it.refType == budget_item::kRefSubcontract)
        sum += RoundMoneyAs(it.quantity * subcontract[it.refCode], toPeso);
      else
        sum += RoundMoneyAs(it.quantity * RoundMoneyAs(direct[it.refCode], toPeso), toPeso);
    }
  return sum;
}

TEST_F(Bc3ImportTest, AnExportedSetComesBackAtTheSamePrices) {
  const char* newRama[] = {"B", "C", "D"};
  static_assert(std::size(newRama) == std::size(kExportShapes));
  for (size_t i = 0; i < std::size(kExportShapes); ++i) {
    const ExportShape& s = kExportShapes[i];
    SCOPED_TRACE(s.name);
    OpenCalculatedSet(s);
    const ExportModel original = ReadExportModel();
    CloseSet();
    const ImportResult r = Import(WriteFile(Bc3Text(original)), newRama[i], "02");
    ASSERT_TRUE(r.Ok()) << r.refused << r.failure;

    const RunOutcome run = OpenAndCalculate(newRama[i], "02");
    ASSERT_TRUE(run.closed) << "errors in the imported set:\n" << Errors();
    const ExportModel imported = ReadExportModel();
    const auto analyses = CodesOf(Mapping(r.mapWritten), "analisis");
    std::map<std::string, const ExportAnalysis*> byCode;
    for (const ExportAnalysis& a : imported.analyses) byCode[a.code] = &a;
    ASSERT_EQ(imported.analyses.size(), original.analyses.size());
    for (const ExportAnalysis& a : original.analyses) {
      SCOPED_TRACE(a.code);
      ASSERT_TRUE(analyses.count(a.code));
      ASSERT_TRUE(byCode.count(analyses.at(a.code)));
      // Lines may sit in other sections than they did, which sums the same
      // amounts in another order: equal to the last money decimal.
      EXPECT_EQ(RoundMoneyAs(byCode.at(analyses.at(a.code))->stored.directCost, s.roundToPeso),
                RoundMoneyAs(a.stored.directCost, s.roundToPeso));
    }
    ASSERT_EQ(imported.chapters.size(), original.chapters.size());
    for (size_t c = 0; c < original.chapters.size(); ++c)
      EXPECT_EQ(imported.chapters[c].items.size(), original.chapters[c].items.size());
    const long double direct = DirectBudget(original, s.roundToPeso);
    EXPECT_EQ(imported.budgetTotal, direct);
    EXPECT_EQ(imported.summary.directCostTotal, direct);
    if (s.aiuMode == general::kAiuAtEnd) {
      EXPECT_EQ(direct, original.summary.directCostTotal);
    } else {
      // The listings take the AIU out of the whole total, the file out of
      // each price: the same budget, up to each line's rounding.
      long double slack = 0, globals = 0;
      for (const ExportChapter& c : original.chapters)
        for (const ExportBudgetItem& it : c.items) {
          slack += 0.01L * (1 + it.quantity);
          globals += it.refType == budget_item::kRefGlobal;
        }
      EXPECT_GT(globals, 0) << "the round trip carries global items";
      EXPECT_NEAR(static_cast<double>(direct),
                  static_cast<double>(original.summary.directCostTotal),
                  static_cast<double>(slack));
    }
    // The AIU travels as general expenses and profit.
    EXPECT_EQ(
        Get(imported.general, general::AdminPct),
        Get(original.general, general::AdminPct) + Get(original.general, general::ImprevistosPct));
    EXPECT_EQ(Get(imported.general, general::UtilidadPct),
              Get(original.general, general::UtilidadPct));
    CloseSet();
  }
}

// A small price base in DOS code page 850: the four input types, an
// analysis with a materials part under waste and a percentage over all
// its lines, a subcontract straight in the budget, measurements.
std::string SmallFile() {
  return Bc3Of({"K|\\2\\2\\|0\\12\\6\\0\\16|", "C|MO01|h|Oficial|20||1",
                "C|MAQ1|h|Retroexcavadora|100||2", "C|MAT1|m3|Concreto de ca\xA4o|300|010224|3",
                "C|TR01|viaje|Volqueta|50||0", "C|AN01M|m3|Materiales con desperdicio|330.75||0",
                "C|%D|%|Desperdicio|||0", "C|%CI|%|Costes indirectos|||0",
                "C|AN01|m3|Zapata; corrida|608.47||0", "D|AN01M|MAT1\\1\\1.05\\%D\\1\\0.05\\",
                "D|AN01|MO01\\1\\8\\MAQ1\\1\\0.5\\AN01M\\1\\1\\TR01\\1\\1\\%CI\\1\\0.03\\",
                "C|SUB1|gl|Impermeabilizacion|1500||0", "C|OBRA##||Obra de prueba|0|150324|0",
                "C|CAP1#||Cimientos|0||0", "D|CAP1#|AN01\\1\\12.5\\SUB1\\1\\2\\",
                "D|OBRA##|CAP1#\\1\\1\\", "M|CAP1#\\AN01|1\\1\\|12.5|",
                "T|AN01|Zapata corrida de concreto, con su excavacion y su relleno"},
               "850");
}

TEST_F(Bc3ImportTest, AHandWrittenFileLandsInTheRecordsAndTheMapping) {
  Prefs().roundToPeso = false;
  const ImportResult r = Import(WriteFile(SmallFile()), "B", "02");
  ASSERT_TRUE(r.Ok()) << r.refused << r.failure;
  EXPECT_EQ(r.mapWritten, (dataDir / "importacion-B02.csv").string());
  for (const std::string& n : r.notes)
    EXPECT_EQ(n.find("~M"), n.npos) << "measurements are read, not left aside: " << n;

  const std::vector<MappingRow> rows = Mapping(r.mapWritten);
  const struct {
    const char* original;
    const char* code;
    const char* kind;
  } expected[] = {
      {"MAQ1", "01010", "insumo"},
      {"MAT1", "02010", "insumo"},
      {"TR01", "03010", "insumo"},
      {"%CI", "03020", "porcentaje"},
      {"MO01", "04010", "insumo"},
      {"AN01", "010010", "analisis"},
      {"AN01M", "010010", "parte de analisis"},
      {"SUB1", "01010", "subcontrato"},
      {"CAP1#", "01", "capitulo"},
      {"AN01", "01010", "item"},
      {"SUB1", "01020", "item"},
      {"OBRA##", "B02", "obra"},
      {"%D", "", "desperdicio"},
      {"CAP1#\\AN01", "01010", "medicion"},
  };
  const auto notes = std::count_if(rows.begin(), rows.end(),
                                   [](const MappingRow& row) { return row.kind == "nota"; });
  EXPECT_EQ(rows.size() - static_cast<size_t>(notes), std::size(expected));
  for (const auto& e : expected) {
    bool found = false;
    for (const MappingRow& row : rows)
      found = found || (row.original == e.original && row.code == e.code && row.kind == e.kind);
    EXPECT_TRUE(found) << e.original << " -> " << e.code << " (" << e.kind << ")";
  }
  for (const MappingRow& row : rows) {
    if (row.original == "MAT1") {
      EXPECT_EQ(row.summary, "Concreto de ca\xC3\xB1o");  // UTF-8
    }
    if (row.kind == "analisis") {
      EXPECT_EQ(row.summary, "Zapata; corrida");
    }
  }

  ASSERT_TRUE(OpenAndCalculate("B", "02").closed) << Errors();
  const ExportModel m = ReadExportModel();
  ASSERT_EQ(m.analyses.size(), 1u);
  const ExportAnalysis& a = m.analyses[0];
  EXPECT_EQ(a.desperdicioPct, 5);
  EXPECT_EQ(a.herramientaMenorPct, 0);
  EXPECT_EQ(a.sections[1].size(), 1u);  // machinery
  EXPECT_EQ(a.sections[2].size(), 1u);  // materials, under the waste
  EXPECT_EQ(a.sections[3].size(), 2u);  // transport and the indirect costs' amount
  EXPECT_EQ(a.sections[4].size(), 1u);  // labour
  const long double materials = 300 * 1.05L + RoundCents(300 * 1.05L * 5 / 100);
  const long double above = 20 * 8 + 100 * 0.5L + materials + 50;
  EXPECT_EQ(a.stored.directCost, above + RoundCents(above * 0.03L));
  for (const ExportInput& in : m.inputs)
    if (in.code == "02010") {
      EXPECT_EQ(in.description, "Concreto de ca\xF1o");  // stored in 1252
      EXPECT_EQ(in.date, "01/02/24");
      EXPECT_EQ(in.group, 2);
    }
  EXPECT_EQ(Get(m.obraHeader, obra_header::BudgetDate), "15/03/24");
  EXPECT_EQ(Get(m.obraHeader, obra_header::ObraName), "Obra de prueba");
  EXPECT_EQ(Get(m.general, general::AdminPct), 12);
  ASSERT_EQ(m.subcontracts.size(), 1u);
  EXPECT_EQ(m.subcontracts[0].directCost, 1500);
  EXPECT_EQ(m.budgetTotal, RoundCents(12.5L * a.stored.directCost) + 2 * 1500);
  CloseSet();
}

TEST_F(Bc3ImportTest, ABadFileIsRefusedNamingItsLineAndWritesNothing) {
  const std::vector<std::string> base = {"C|OBRA##||Obra|0||0",    "C|CAP1#||Capitulo|0||0",
                                         "C|MO01|h|Oficial|20||1", "C|AN01|m2|Muro|0||0",
                                         "D|OBRA##|CAP1#\\1\\1\\", "D|CAP1#|AN01\\1\\3\\",
                                         "D|AN01|MO01\\1\\2\\"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> all = base;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  std::vector<std::string> manyChapters = base, manyLines = base;
  std::string rootLines, analysisLines;
  for (int i = 1; i <= 100; ++i) {
    manyChapters.push_back("C|K" + std::to_string(i) + "#||Capitulo|0||0");
    rootLines += "K" + std::to_string(i) + "#\\1\\1\\";
  }
  manyChapters.push_back("D|OBRA##|" + rootLines);
  for (int i = 0; i < 16; ++i) analysisLines += "MO01\\1\\" + std::to_string(i + 1) + "\\";
  manyLines.push_back("D|AN01|" + analysisLines);
  const std::string good = Bc3Of(base);

  const struct {
    const char* name;
    std::string text;
    const char* says;
  } cases[] = {
      {"record without its final separator", Bc3Of(base) + "~C|MO02|h|Ayudante|12||1\r\n",
       "linea 9: registro sin terminar"},
      {"file cut inside a record", good.substr(0, good.size() - 6),
       "linea 8: registro sin terminar"},
      {"unknown concept in a decomposition", Bc3Of(with({"D|CAP1#|AN01\\1\\3\\NOPE\\1\\1\\"})),
       "linea 9: la descomposicion de CAP1# usa el concepto NOPE"},
      {"circular decomposition",
       Bc3Of(with({"C|AN02|m2|Otro|0||0", "D|AN02|AN01\\1\\1\\", "D|AN01|AN02\\1\\1\\"})),
       "descomposicion circular: AN01 > AN02 > AN01"},
      {"more chapters than an Obra holds", Bc3Of(manyChapters),
       "mas de 99 capitulos y una Obra admite 99"},
      {"more lines than an analysis holds", Bc3Of(manyLines), "linea 9: el concepto AN01 tiene 16"},
      {"price that is not a number", Bc3Of(with({"C|MO02|h|Ayudante|doce||1"})),
       "linea 9: precio del concepto MO02: \"doce\" no es un numero"},
      {"decomposition that is not in triples", Bc3Of(with({"D|AN01|MO01\\1\\"})),
       "linea 9: descomposicion de AN01 mal formada"},
      {"no root", Bc3Of({"C|MO01|h|Oficial|20||1"}), "no tiene concepto raiz"},
      {"unknown character set", Bc3Of(base, "EBCDIC"), "linea 1: juego de caracteres"},
  };
  const std::set<std::string> before = Entries();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ImportResult r = Import(WriteFile(c.text), "B", "02");
    EXPECT_NE(r.refused.find(c.says), std::string::npos) << r.refused;
    EXPECT_TRUE(r.failure.empty()) << r.failure;
    EXPECT_EQ(Entries(), before);
  }
  // The same directory takes the sound file.
  EXPECT_TRUE(Import(WriteFile(good), "B", "02").Ok());
  EXPECT_TRUE(fs::exists(dataDir / "Apr01dat.B"));
  EXPECT_TRUE(fs::exists(dataDir / "Apr06dat.B02"));
}

TEST_F(Bc3ImportTest, AnExistingRamaOrObraIsNeverWrittenInto) {
  GenerateDataset(SmallShape());  // Rama A, Obra 01
  const fs::path file = WriteFile(SmallFile());
  const auto general = WholeFile("Apr01dat.A");
  const auto budget = WholeFile("Apr06dat.A01");
  // A schedule left by an Obra of a Rama since removed would be taken up.
  std::ofstream(dataDir / "APR06CRO.C01") << "x";
  const std::set<std::string> before = Entries();
  const struct {
    const char *rama, *obra, *says;
  } cases[] = {
      {"A", "02", "la Rama A ya existe"},
      {"a", "01", "la Rama a ya existe"},  // names differ only in letter case
      {"c", "01", "la Obra 01 de la Rama c ya existe"},
      {"AB", "01", "codigo de la Rama"},
      {"B", "1", "codigo de la Obra"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.rama) + c.obra);
    const ImportResult r = Import(file, c.rama, c.obra);
    EXPECT_NE(r.refused.find(c.says), std::string::npos) << r.refused;
    EXPECT_EQ(Entries(), before);
  }
  EXPECT_EQ(WholeFile("Apr01dat.A"), general);
  EXPECT_EQ(WholeFile("Apr06dat.A01"), budget);
}

TEST_F(Bc3ImportTest, ARamaExportedAloneImportsBackWithItsAnalyses) {
  OpenCalculatedSet(kExportShapes[0]);
  Shell().obraSelected = false;
  const ExportModel original = ReadExportModel();
  CloseSet();
  const ImportResult r = Import(WriteFile(Bc3Text(original)), "B", "01");
  ASSERT_TRUE(r.Ok()) << r.refused << r.failure;
  const RunOutcome run = OpenAndCalculate("B", "01");
  ASSERT_TRUE(run.closed) << Errors();
  const ExportModel imported = ReadExportModel();
  EXPECT_EQ(imported.analyses.size(), original.analyses.size());
  EXPECT_EQ(Get(imported.general, general::RamaName), Get(original.general, general::RamaName));
  EXPECT_TRUE(imported.chapters.empty());
  CloseSet();
}

TEST_F(Bc3ImportTest, TheImportIsCalculatedAndItsTotalComparedWithTheFiles) {
  Prefs().roundToPeso = false;
  const auto file = [](const std::string& rootPrice) {
    return Bc3Of({"C|R##||Obra|" + rootPrice + "||0", "C|C1#||Uno|0||0", "C|MO|h|Oficial|20||1",
                  "C|A|m2|Muro|40||0", "C|S|gl|Subcontrato|100.5||0", "D|A|MO\\1\\2\\",
                  "D|R##|C1#\\1\\1\\", "D|C1#|A\\1\\3\\S\\1\\1\\"});
  };
  const struct {
    const char *rama, *rootPrice, *says;
  } cases[] = {
      {"B", "220.5", "el costo directo calculado, 220.50, es el precio de la raiz R## del archivo"},
      {"C", "230", "difiere del precio de la raiz R## del archivo, 230.00, en -9.50 (-4.13 %)"},
      {"D", "", "el archivo no da precio a su raiz R##: el costo directo calculado es 220.50"},
  };
  for (const auto& c : cases) {
    const ImportResult r = Import(WriteFile(file(c.rootPrice)), c.rama, "01");
    ASSERT_TRUE(r.Ok()) << r.refused << r.failure;
    ASSERT_FALSE(r.notes.empty());
    EXPECT_NE(r.notes.back().find(c.says), std::string::npos) << r.notes.back();
    bool inReport = false;
    for (const MappingRow& m : Mapping(r.mapWritten))
      inReport = inReport || (m.kind == "nota" && m.summary == r.notes.back());
    EXPECT_TRUE(inReport) << c.rama;
    // Calculated by the import: nothing left to do.
    OpenSet(c.rama, "01");
    for (int n = kAreaGeneral; n <= kAreaBudget; ++n) EXPECT_EQ(Area(n).SavedChangeMarker, 0) << n;
    CloseSet();
  }
}

TEST_F(Bc3ImportTest, ZeroYieldsZeroPricesAndRoundedAwayAmountsAreSaid) {
  Prefs().roundToPeso = true;
  const ImportResult r = Import(
      WriteFile(Bc3Of({"C|R##||Obra|0||0", "C|C1#||Uno|0||0", "C|MO|h|Oficial|20||1",
                       "C|MAT|kg|Acero|3||3", "C|%AUX|%|Auxiliares|||0", "C|NADA|u|Sin precio|0||3",
                       "C|TR|viaje|Acarreo|10||0", "C|A|m2|Muro|40||0",
                       "D|A|MO\\1\\2\\MAT\\1\\0\\TR\\1\\1\\%AUX\\1\\0.005\\", "D|R##|C1#\\1\\1\\",
                       "D|C1#|A\\1\\3\\"})),
      "B", "01");
  ASSERT_TRUE(r.Ok()) << r.refused << r.failure;
  std::string notes;
  for (const std::string& n : r.notes) notes += n + "\n";
  for (const char* says : {"linea 10: rendimiento cero de MAT en la descomposicion de A: la linea "
                           "se omite",
                           "linea 10: el porcentaje %AUX de A da 0.250000, que se redondea a 0",
                           "linea 7: el concepto NADA no tiene precio ni lo usa nadie: se omite"})
    EXPECT_NE(notes.find(says), std::string::npos) << says << "\n" << notes;

  // A concept without price that an analysis uses: the set would be
  // rejected, so the file is.
  const ImportResult used =
      Import(WriteFile(Bc3Of({"C|R##||Obra|0||0", "C|C1#||Uno|0||0", "C|MO|h|Oficial|0||1",
                              "C|A|m2|Muro|40||0", "D|A|MO\\1\\2\\", "D|R##|C1#\\1\\1\\",
                              "D|C1#|A\\1\\3\\"})),
             "C", "01");
  EXPECT_EQ(used.refused.substr(used.refused.find(", ") + 2),
            "linea 4: el concepto MO no tiene precio y lo usa A: un insumo o subcontrato sin "
            "precio no se admite");
}

}  // namespace
}  // namespace vantu::test
