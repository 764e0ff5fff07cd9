// Files as other tools write them, and files no tool should: numbers that
// are none, a file cut after a separator, character sets declared, left
// out or contradicted, chapters named without their "#", percentages with a
// prefix, and chains nested deeper than any stack.
#include <gtest/gtest.h>

#include "exchange/bc3_document.h"
#include "exchange/bc3_numbers.h"
#include "exchange/import_plan.h"
#include "import_fixture.h"
#include "toolkit/numbers.h"

namespace vantu::test {
namespace {

std::string ErrorOf(const std::vector<std::string>& records) {
  return ReadBc3(Bc3Of(records)).error;
}

TEST(Bc3NumbersTest, OnlyDecimalNumbersWithinTheFieldRead) {
  const struct {
    const char* text;
    long double limit;
    bool reads;
    long double value;
  } cases[] = {
      {"12.5", 100, true, 12.5L},   {"+3", 100, true, 3},
      {"-0.25", 100, true, -0.25L}, {"1.5E-3", 100, true, 0.0015L},
      {".5", 100, true, 0.5L},      {" 7 ", 100, true, 7},
      {"", 100, true, 42},          {"100", 100, true, 100},
      {"100.01", 100, false, 0},    {"nan", 100, false, 0},
      {"NaN", 100, false, 0},       {"inf", 100, false, 0},
      {"-Infinity", 100, false, 0}, {"1e5000", 1e300L, false, 0},
      {"0x10", 100, false, 0},      {"12,5", 100, false, 0},
      {"1.2.3", 100, false, 0},     {"1 000", 1e6L, false, 0},
      {"1e", 100, false, 0},        {"e5", 100, false, 0},
      {"-", 100, false, 0},
  };
  for (const auto& c : cases) {
    long double v = -1;
    const std::string why = ReadBc3Number(c.text, 42, c.limit, v);
    EXPECT_EQ(why.empty(), c.reads) << c.text << ": " << why;
    if (c.reads) {
      EXPECT_EQ(v, c.value) << c.text;
    } else {
      EXPECT_NE(why.find(c.text), std::string::npos) << why;
    }
  }
}

TEST(Bc3ForeignTest, WhatIsNotANumberIsRefusedWithItsLineAndReason) {
  const struct {
    const char* name;
    std::string record;
    const char* says;
  } cases[] = {
      {"nan price", "C|A|m|Muro|nan||0", "linea 2: precio del concepto A: \"nan\" no es un numero"},
      {"inf price", "C|A|m|Muro|inf||0", "\"inf\" no es un numero"},
      {"hexadecimal price", "C|A|m|Muro|0x10||0", "\"0x10\" no es un numero"},
      {"decimal comma", "C|A|m|Muro|12,50||0", "\"12,50\" no es un numero"},
      {"price beyond the double", "C|A|m|Muro|1e5000||0", "\"1e5000\" excede"},
      {"price beyond the field", "C|A|m|Muro|1e13||0", "excede lo que admite el campo"},
      {"nan yield", "D|A|B\\1\\NaN\\", "linea 2: linea 1 de la descomposicion de A: \"NaN\""},
      {"huge factor", "D|A|B\\1e10\\1\\", "\"1e10\" excede"},
      {"percentage above 100", "K|\\2\\|0\\150\\6\\0\\16|", "porcentaje del registro ~K"},
      {"negative percentage", "K|\\2\\|0\\-5\\6\\0\\16|", "porcentaje negativo"},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf({c.record, "C|B|u|Otro|1||0"});
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
  }
}

TEST(Bc3ForeignTest, AFileCutRightAfterASeparatorIsRefused) {
  const std::string whole = Bc3Of({"C|A|m|Muro|12.5||0", "C|B|u|Otro|1||0"});
  EXPECT_EQ(ReadBc3(whole).error, "");
  EXPECT_EQ(ReadBc3(whole + "\x1A").error, "") << "the end-of-file mark of old editors";
  const std::string cut = whole.substr(0, whole.find("Otro|") + 5);
  EXPECT_EQ(ReadBc3(cut).error,
            "linea 3: el archivo termina justo tras un '|', sin fin de linea: parece cortado");
  const std::string cutInside = whole.substr(0, whole.find("Otro|") + 2);
  EXPECT_NE(ReadBc3(cutInside).error.find("registro sin terminar"), std::string::npos);
}

TEST(Bc3ForeignTest, CharacterSetsAsDeclaredLeftOutOrContradicted) {
  const struct {
    const char* name;
    std::string file;
    std::string summary;  // of concept A, in 1252
    const char* warning;  // "" for none
  } cases[] = {
      {"no declaration is 850",
       "~V|otro|FIEBDC-3/2004|prog|Base||\r\n~C|A|m|Tuber\xA1"
       "a de hormig\xA2n|1||0|\r\n",
       "Tuber\xED"
       "a de hormig\xF3n",
       ""},
      {"UTF-8 with its mark",
       "\xEF\xBB\xBF~V|otro|FIEBDC-3/2020|prog|Base|UTF-8|\r\n~C|A|m|Colocaci\xC3\xB3n|1||0|\r\n",
       "Colocaci\xF3n", ""},
      {"the mark wins over ANSI",
       "\xEF\xBB\xBF~V|otro|FIEBDC-3/2020|prog|Base|ANSI|\r\n~C|A|m|Colocaci\xC3\xB3n|1||0|\r\n",
       "Colocaci\xF3n", "marca de UTF-8 y declara el juego ANSI"},
      {"UTF-8 bytes declared ANSI",
       "~V|otro|FIEBDC-3/2020|prog|Base|ANSI|\r\n~C|A|m|Colocaci\xC3\xB3n|1||0|\r\n",
       "Colocaci\xC3\xB3n", "linea 2: el archivo declara el juego ANSI pero su texto parece UTF-8"},
      {"plain ANSI", "~V|otro|FIEBDC-3/2020|prog|Base|ANSI|\r\n~C|A|m|Colocaci\xF3n|1||0|\r\n",
       "Colocaci\xF3n", ""},
  };
  for (const auto& c : cases) {
    const Bc3ReadResult r = ReadBc3(c.file);
    ASSERT_EQ(r.error, "") << c.name;
    EXPECT_EQ(r.doc.concepts.at("A").summary, c.summary) << c.name;
    const std::string warnings = r.doc.warnings.empty() ? "" : r.doc.warnings[0];
    if (*c.warning == 0)
      EXPECT_EQ(warnings, "") << c.name;
    else
      EXPECT_NE(warnings.find(c.warning), std::string::npos) << c.name << ": " << warnings;
  }
}

TEST(Bc3ForeignTest, ChaptersNamedWithoutTheirMarkAreTheChapters) {
  const Bc3ReadResult r = ReadBc3(Bc3Of(
      {"C|OBRA##||Obra|0||0", "C|01#||Uno|0||0", "C|0101#||Uno uno|0||0", "C|A|m|Muro|10||0",
       "D|OBRA|01\\1\\1\\", "D|01|0101\\1\\1\\", "D|0101|A\\1\\2\\", "T|01|Capitulo primero"}));
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.doc.decompositions.at("OBRA##")[0].code, "01#");
  EXPECT_EQ(r.doc.decompositions.at("01#")[0].code, "0101#");
  EXPECT_EQ(r.doc.decompositions.at("0101#")[0].code, "A");
  EXPECT_EQ(r.doc.decompositionLine.at("0101#"), 8);
  EXPECT_EQ(r.doc.concepts.at("01#").text, "Capitulo primero");
  const PlanResult p = PlanImport(r.doc, "01/01/24", false);
  ASSERT_EQ(p.error, "");
  ASSERT_EQ(p.plan.chapters.size(), 2u);
  EXPECT_EQ(p.plan.chapters[1].items.at(0).quantity, 2);
}

PlanResult Plan(const std::vector<std::string>& records) {
  const Bc3ReadResult read = ReadBc3(Bc3Of(records));
  EXPECT_EQ(read.error, "");
  return PlanImport(read.doc, "01/01/24", false);
}

TEST(Bc3ForeignTest, APercentageIsACodeWithPercentNotAUnit) {
  const PlanResult r =
      Plan({"C|R##||Raiz|0||0", "C|C1#||Uno|0||0", "C|MO|h|Oficial|20||1", "C|MAT|kg|Acero|3||3",
            "C|A%NAAE|%|Medios auxiliares|||0", "C|CI|%|Canon por cien|4||0", "C|X|m|Mixto|0||0",
            "D|X|MAT\\1\\10\\MO\\1\\2\\CI\\1\\2\\A%NAAE\\1\\0.04\\", "D|R##|C1#\\1\\1\\",
            "D|C1#|X\\1\\1\\"});
  ASSERT_EQ(r.error, "");
  std::map<std::string, std::string> kinds;
  for (const CodeMapping& m : r.plan.mapping) kinds[m.original] += m.kind;
  EXPECT_EQ(kinds["A%NAAE"], "porcentaje");
  EXPECT_EQ(kinds["CI"], "insumo");
  const PlanAnalysis& x = r.plan.analyses.back();
  // 4 % of 3 x 10 + 20 x 2 + 4 x 2 = 78 is 3.12, carried as an amount.
  std::vector<long double> transport;
  for (const PlanLine& l : x.sections[3]) transport.push_back(l.quantity);
  EXPECT_EQ(transport, (std::vector<long double>{2, RoundCents(0.04L * 78)}));
  for (const PlanInput& in : r.plan.inputs)
    if (in.description == "Canon por cien") {
      EXPECT_EQ(in.price, 4) << "an input at its price";
    }
}

// A chain `depth` deep: N0 uses N1, ... the last uses a leaf, or N0 again.
std::vector<std::string> Chain(int depth, bool closed) {
  std::vector<std::string> r = {"C|R##||Raiz|0||0", "C|C1#||Uno|0||0", "C|L|u|Hoja|1||3",
                                "D|R##|C1#\\1\\1\\", "D|C1#|N0\\1\\1\\"};
  for (int i = 0; i < depth; ++i) {
    const std::string next = i + 1 < depth ? "N" + std::to_string(i + 1) : closed ? "N0" : "L";
    r.push_back("C|N" + std::to_string(i) + "|u|Nivel|1||0");
    r.push_back("D|N" + std::to_string(i) + "|" + next + "\\1\\1\\");
  }
  return r;
}

TEST(Bc3ForeignTest, ChainsDeeperThanAnyStackAreRefusedNotCrashed) {
  constexpr int kDeep = 100000;
  const std::string open = Plan(Chain(kDeep, false)).error;
  EXPECT_NE(open.find("el archivo de analisis tendria"), std::string::npos) << open;
  const std::string closed = Plan(Chain(kDeep, true)).error;
  EXPECT_NE(closed.find("descomposicion circular: N0 > N1 > N2 > N3 > N4 > ... > N99995 > N99996 > "
                        "N99997 > N99998 > N99999 > N0"),
            std::string::npos)
      << closed;

  std::vector<std::string> chapters = {"C|R##||Raiz|0||0", "C|S|u|Sub|1||0", "D|R##|K0#\\1\\1\\"};
  for (int i = 0; i < kDeep; ++i) {
    const std::string k = "K" + std::to_string(i) + "#";
    chapters.push_back("C|" + k + "||Capitulo|0||0");
    chapters.push_back("D|" + k + "|S\\1\\1\\" +
                       (i + 1 < kDeep ? "K" + std::to_string(i + 1) + "#\\1\\1\\" : ""));
  }
  const std::string deep = Plan(chapters).error;
  EXPECT_NE(deep.find("el presupuesto tiene mas de 99 capitulos"), std::string::npos) << deep;

  // Each level names the next twice: 2^40 chapters if nothing stopped it.
  std::vector<std::string> doubled = {"C|R##||Raiz|0||0", "C|S|u|Sub|1||0", "D|R##|K0#\\1\\1\\"};
  for (int i = 0; i < 40; ++i) {
    const std::string next = "K" + std::to_string(i + 1) + "#\\1\\1\\";
    doubled.push_back("C|K" + std::to_string(i) + "#||Capitulo|0||0");
    doubled.push_back("D|K" + std::to_string(i) + "#|S\\1\\1\\" + next + next);
  }
  doubled.push_back("C|K40#||Ultimo|0||0");
  const std::string shared = Plan(doubled).error;
  EXPECT_NE(shared.find("mas de 99 capitulos"), std::string::npos) << shared;
}

TEST(Bc3ForeignTest, MeasurementsBecomeTheItemsQuantities) {
  const PlanResult r =
      Plan({"C|R##||Raiz|0||0", "C|01#||Uno|0||0", "C|A|m2|Muro|10||0", "C|B|m|Zocalo|5||0",
            "D|R##|01#\\1\\1\\", "D|01#|A\\1\\12.5\\B\\1\\4\\",
            // Two rooms, then a subtotal that repeats them.
            "M|01#\\A|1\\1\\||\\Planta baja\\2\\3\\1.5\\\\\\Planta "
            "alta\\1\\2\\\\1\\1\\Subtotal\\11\\\\\\\\|",
            "M|01#\\B|1\\2\\|4|\\Perimetro\\4\\\\\\\\|", "M|01#\\C|1\\3\\|7||"});
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.plan.chapters.size(), 1u);
  const std::vector<PlanBudgetItem>& items = r.plan.chapters[0].items;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].quantity, 11) << "the measurement, not the yield";
  EXPECT_EQ(items[1].quantity, 4);
  std::string notes;
  for (const std::string& n : r.plan.notes) notes += n + "\n";
  EXPECT_NE(notes.find("linea 8: la medicion de A en 01# suma 11 y la descomposicion le da 12.5: "
                       "se toma la medicion"),
            std::string::npos)
      << notes;
  EXPECT_EQ(notes.find("medicion de B"), std::string::npos) << "B agrees with its yield";
  EXPECT_NE(notes.find("linea 10: la medicion de C no es de ninguna partida del presupuesto"),
            std::string::npos)
      << notes;
  std::map<std::string, std::string> measured;
  for (const CodeMapping& m : r.plan.mapping)
    if (m.kind == "medicion") measured[m.original] = m.code + " " + m.summary;
  EXPECT_EQ(measured["01#\\A"], "01010 3 lineas de medicion, 11");
  EXPECT_EQ(measured["01#\\B"], "01020 1 lineas de medicion, 4");
  EXPECT_NE(ErrorOf({"M|01#\\A|1\\|nan|"}).find("linea 2: medicion de A: \"nan\" no es un numero"),
            std::string::npos);
}

class Bc3ForeignImportTest : public ImportTest {};

TEST_F(Bc3ForeignImportTest, ARefusedFileWritesNothing) {
  const std::set<std::string> before = Entries();
  const ImportResult r =
      Import(WriteFile(Bc3Of({"C|R##||Raiz|0||0", "C|C1#||Uno|0||0", "C|A|m|Muro|nan||0",
                              "D|R##|C1#\\1\\1\\", "D|C1#|A\\1\\1\\"})),
             "B", "01");
  EXPECT_NE(r.refused.find("linea 4: precio del concepto A: \"nan\" no es un numero"),
            std::string::npos)
      << r.refused;
  EXPECT_EQ(Entries(), before);
}

}  // namespace
}  // namespace vantu::test
