// Reading exchange files: the character sets into Windows-1252, and the
// fields of concepts, decompositions and texts as the records give them.
#include "exchange/bc3_document.h"

#include <gtest/gtest.h>

#include "exchange/text_charsets.h"

namespace vantu::test {
namespace {

TEST(TextCharsetsTest, DeclaredSetsBecomeWindows1252) {
  const struct {
    const char* name;
    TextCharset set;
    std::string in, out;
  } cases[] = {
      {"850 Spanish letters", TextCharset::kCp850, "\xA4\xA5\xA0\x82\xA1\xA2\xA3\x81\xA8\xAD",
       "\xF1\xD1\xE1\xE9\xED\xF3\xFA\xFC\xBF\xA1"},
      {"850 capitals with accent", TextCharset::kCp850, "\xB5\x90\xD6\xE0\xE9",
       "\xC1\xC9\xCD\xD3\xDA"},
      {"850 ordinals and degree", TextCharset::kCp850, "\xA6\xA7\xF8", "\xAA\xBA\xB0"},
      {"437 where it differs from 850", TextCharset::kCp437, "\x9B\x9D\xE1", "\xA2\xA5\xDF"},
      {"box drawing has no place", TextCharset::kCp437, "a\xC4\xB3z", "a??z"},
      {"ASCII unchanged", TextCharset::kCp850, "~C|01|m2|", "~C|01|m2|"},
      {"UTF-8 letters and the euro", TextCharset::kUtf8, "\xC3\xB1\xC3\x91\xE2\x82\xAC",
       "\xF1\xD1\x80"},
      {"UTF-8 byte-order mark dropped", TextCharset::kUtf8, "\xEF\xBB\xBF~V", "~V"},
      {"UTF-8 outside 1252", TextCharset::kUtf8, "\xE6\xBC\xA2x", "?x"},
      {"UTF-8 cut sequence", TextCharset::kUtf8, "a\xC3", "a?"},
      {"ANSI as stored", TextCharset::kAnsi, "\xF1\x80", "\xF1\x80"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToCp1252(c.in, c.set), c.out) << c.name;
}

TEST(TextCharsetsTest, DeclarationsAreReadInAnyCase) {
  EXPECT_EQ(CharsetNamed(""), TextCharset::kCp850) << "the format's default";
  EXPECT_EQ(CharsetNamed("ansi"), TextCharset::kAnsi);
  EXPECT_EQ(CharsetNamed(" 850 "), TextCharset::kCp850);
  EXPECT_EQ(CharsetNamed("437"), TextCharset::kCp437);
  EXPECT_EQ(CharsetNamed("utf-8"), TextCharset::kUtf8);
  EXPECT_FALSE(CharsetNamed("1251").has_value());
}

TEST(Bc3DocumentTest, FieldsOfConceptsDecompositionsAndTexts) {
  const std::string text =
      "~V|yo|FIEBDC-3/2020|prog|Base de precios\\rotulo|UTF-8||1|\r\n"
      "~K|\\2\\|0\\13\\6\\0\\19|\r\n"
      "~C|A01\\SIN|m3|Excavaci\xC3\xB3n|12.5\\13.1|311224|1|\r\n"
      "~C|P##||Presupuesto|||0|\r\n"
      "~D|P##|A01\\2\\1.5\\B\\\\\\|\r\n"
      "~T|A01|Excavaci\xC3\xB3n a m\xC3\xA1quina\r\n en terreno duro|\r\n"
      "~X|A01|campo|\r\n"
      "~X|A01|otro|\r\n"
      "~C|B|u|Otro|1|| EA |\r\n"
      "~Y|P##|B\\1\\4\\|\r\n";
  const Bc3ReadResult r = ReadBc3(text);
  ASSERT_EQ(r.error, "");
  const Bc3Document& d = r.doc;
  EXPECT_EQ(d.charset, TextCharset::kUtf8);
  EXPECT_EQ(d.generalExpensesPct, 13);
  EXPECT_EQ(d.profitPct, 6);
  EXPECT_EQ(d.ivaPct, 19);
  const Bc3Concept& a = d.concepts.at("A01");
  EXPECT_EQ(a.summary, "Excavaci\xF3n");
  EXPECT_EQ(a.price, 12.5L);  // the first of several prices
  EXPECT_EQ(a.date, "311224");
  EXPECT_EQ(a.type, 1);
  EXPECT_EQ(a.line, 3);
  EXPECT_EQ(a.text, "Excavaci\xF3n a m\xE1quina\r\n en terreno duro");
  EXPECT_EQ(d.concepts.at("B").type, 0) << "a type of later versions counts as none";
  const std::vector<Bc3Child>& lines = d.decompositions.at("P##");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2].yield, 4) << "~Y adds its lines";
  EXPECT_EQ(lines[0].factor * lines[0].yield, 3);
  EXPECT_EQ(lines[1].factor * lines[1].yield, 1) << "empty factor and yield are 1";
  EXPECT_EQ(d.decompositionLine.at("P##"), 5);
  EXPECT_EQ(d.skipped.at("X"), 2);
  EXPECT_EQ(d.order, (std::vector<std::string>{"A01", "P##", "B"}));
}

TEST(Bc3DocumentTest, KindsOfCodes) {
  EXPECT_TRUE(IsBc3Root("OBRA##"));
  EXPECT_FALSE(IsBc3Chapter("OBRA##"));
  EXPECT_TRUE(IsBc3Chapter("01#"));
  EXPECT_FALSE(IsBc3Root("01#"));
  EXPECT_FALSE(IsBc3Chapter("0101"));
  EXPECT_TRUE(IsBc3Percentage("%CI"));
  EXPECT_TRUE(IsBc3Percentage("A%NAAE")) << "a '%' anywhere in the code";
  EXPECT_TRUE(IsBc3Percentage("CI%"));
  EXPECT_FALSE(IsBc3Percentage("CI")) << "a unit of \"%\" makes no percentage";
}

}  // namespace
}  // namespace vantu::test
