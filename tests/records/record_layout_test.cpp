// Every field of every record at the offset of its byte table, and the
// values read back from hand-built bytes.

#include <gtest/gtest.h>

#include "layout_check.h"
#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/general_record.h"

namespace vantu {
namespace {

template <class R>
void CodedPrefix(LayoutCheck<R>& c, const std::string& code) {
  c.I16(coded::RecordStatus, 0, 0);
  c.Ext(coded::RecordStamp, 2, 4321.0L);
  c.Str(coded::Code, 12, 6, code);
  c.Str(coded::CreatedDate, 19, 8, "14/03/24");
  c.Byte(coded::ChangedFlag, 28, 1);
  c.I16(coded::CalcStamp, 29, 9999);
}

TEST(RecordLayout, GeneralData) {
  LayoutCheck<GeneralDataRecord> c;
  c.I16(general::RecordStatus, 0, 0);
  c.Str(general::RamaName, 4, 35, "Edificaciones y Vivienda Econ\xF3mica");
  c.I16(general::AiuMode, 40, general::kAiuAtEnd);
  c.Ext(general::AiuAtEnd, 42, 25.5L);
  c.Ext(general::AiuPerItem, 52, 0.0L);
  c.Ext(general::AiuPerItemForSubcontracts, 62, -0.25L);
  c.Ext(general::AdminPct, 72, 10.0L);
  c.Ext(general::ImprevistosPct, 82, 5.0L);
  c.Ext(general::UtilidadPct, 92, 10.5L);
  c.Ext(general::IvaPct, 102, 19.0L);
  c.Ext(general::FactorEquipos, 112, 0.5L);
  c.Ext(general::FactorMateriales, 122, 1.25L);
  c.Ext(general::FactorTransportes, 132, 2.0L);
  c.Ext(general::Factor(4), 142, 1.75L);
  c.Verify();
  EXPECT_EQ(Get(c.record(), general::FactorMateriales), Get(c.record(), general::Factor(2)));
}

TEST(RecordLayout, InputChapterAndItem) {
  LayoutCheck<InputRecord> chapter;
  CodedPrefix(chapter, "02");
  chapter.Str(input::Description, 31, 35, "MATERIALES DE CONSTRUCCI\xD3N");
  chapter.I16(input::Group, 67, 2);
  chapter.Verify();

  LayoutCheck<InputRecord> item;
  CodedPrefix(item, "02010");
  item.Str(input::Description, 31, 35, "Cemento gris (bulto 50 kg)");
  item.Str(input::Unit, 67, 6, "bulto");
  item.Ext(input::Price, 74, 32500.0L);
  item.Ext(input::RequiredQuantity, 84, 1234.125L);
  item.Verify();
}

TEST(RecordLayout, AnalysisLine) {
  LayoutCheck<AnalysisLine> c;
  c.Byte(analysis_line::LineType, 0, 2);
  c.Ext(analysis_line::RefStamp, 1, 77.0L);
  c.Str(analysis_line::RefCode, 11, 6, "02010");
  c.I16(analysis_line::RefRecNo, 18, 32767);
  c.Ext(analysis_line::Quantity, 20, 0.3125L);
  c.Verify();
}

TEST(RecordLayout, Analysis) {
  AnalysisLine first{};
  Set(first, analysis_line::LineType, 3);
  Set(first, analysis_line::RefCode, "010020");
  AnalysisLine last{};
  Set(last, analysis_line::LineType, 5);
  Set(last, analysis_line::RefCode, "000000");
  Set(last, analysis_line::RefRecNo, 12);

  LayoutCheck<AnalysisRecord> c;
  CodedPrefix(c, "030010");
  c.Str(analysis::Description, 31, 35, "Concreto 3000 psi");
  c.Str(analysis::Unit, 67, 6, "m3");
  c.Ext(analysis::HerramientaMenorPct, 74, 5.0L);
  c.Ext(analysis::DesperdicioPct, 84, 3.0L);
  for (int g = 1; g <= 4; ++g) {
    c.Byte(analysis::GroupRows(g), 93 + g, static_cast<uint8_t>(g + 10));
    c.Byte(analysis::GroupCount(g), 97 + g, static_cast<uint8_t>(g + 20));
  }
  c.Nested(analysis::Lines(1), 102, first);
  c.Nested(analysis::Lines(15), 522, last);
  c.Ext(analysis::MaterialesCost, 552, 1.0L);
  c.Ext(analysis::EquiposCost, 562, 2.0L);
  c.Ext(analysis::MaterialesWithWaste, 572, 3.0L);
  c.Ext(analysis::TransportesCost, 582, 4.0L);
  c.Ext(analysis::ManoDeObraCost, 592, 5.0L);
  c.Ext(analysis::DirectCost, 602, 6.0L);
  c.Ext(analysis::UnitPrice, 612, 7.0L);
  c.Verify();
}

TEST(RecordLayout, SubcontractChapterAndItem) {
  LayoutCheck<SubcontractRecord> chapter;
  CodedPrefix(chapter, "01");
  chapter.Str(subcontract::Description, 31, 35,
              "INSTALACIONES EL\xC9"
              "CTRICAS");
  chapter.I16(subcontract::EntryMode, 67, subcontract::kByValues);
  chapter.Verify();

  LayoutCheck<SubcontractRecord> item;
  CodedPrefix(item, "01010");
  item.Str(subcontract::Description, 31, 35, "Acometida trif\xE1sica");
  item.Str(subcontract::Unit, 67, 6, "gl");
  item.Ext(subcontract::EquiposValue, 74, 11.0L);
  item.Ext(subcontract::MaterialesValue, 84, 12.0L);
  item.Ext(subcontract::TransportesValue, 94, 13.0L);
  item.Ext(subcontract::ManoDeObraValue, 104, 14.0L);
  item.Ext(subcontract::DirectCost, 114, 50.0L);
  item.Ext(subcontract::UnitPrice, 124, 62.5L);
  item.Verify();
}

TEST(RecordLayout, GlobalPriceAndFileHeader) {
  LayoutCheck<GlobalPriceRecord> c;
  c.I16(global_price::RecordStatus, 0, global_price::kFree);
  c.I16(global_price::OwnRecNo, 2, 300);
  c.I16(global_price::NextFree, 4, -2);
  c.Str(global_price::PriceDate, 7, 8, "01/02/25");
  c.Byte(global_price::InUseMarker, 16, 1);
  c.I16(global_price::CalcStamp, 17, 258);
  c.Str(global_price::Description, 19, 35,
        "Suministro e instalaci\xF3n ventaner\xED"
        "a");
  c.Str(global_price::OwnerCode, 55, 6, "040030");
  c.Str(global_price::OwnerDescription, 62, 35, "Fachada en aluminio");
  c.Ext(global_price::GlobalPrice, 98, 15750000.0L);
  c.Verify();

  LayoutCheck<GlobalPriceHeader> h;
  h.I16(global_price_header::HighestRecNo, 18, 32766);
  h.I16(global_price_header::FreeRecCount, 20, 3);
  h.I16(global_price_header::FirstFree, 22, 17);
  h.Verify();
}

TEST(RecordLayout, BudgetChapterAndItem) {
  LayoutCheck<BudgetRecord> chapter;
  CodedPrefix(chapter, "03");
  chapter.Str(budget_chapter::Description, 31, 35, "CIMENTACI\xD3N");
  chapter.Ext(budget_chapter::ChapterTotal, 67, 98765432.5L);
  chapter.Verify();

  LayoutCheck<BudgetRecord> item;
  CodedPrefix(item, "03020");
  item.Str(budget_item::PliegosCode, 31, 12, "2.3.1-A");
  item.Str(budget_item::RefCode, 44, 6, "030010");
  item.I16(budget_item::RefRecNo, 51, 481);
  item.Byte(budget_item::RefType, 53, budget_item::kRefAnalysis);
  item.Ext(budget_item::RefStamp, 54, 900.0L);
  item.Str(budget_item::Description, 64, 35, "Zapata en concreto 3000 psi");
  item.Str(budget_item::Unit, 100, 6, "m3");
  item.Ext(budget_item::Quantity, 107, 12.345678L);
  item.Ext(budget_item::ItemUnitPrice, 117, 456789.0L);
  item.Ext(budget_item::ItemTotal, 127, 5639235.0L);
  item.Byte(budget_item::PorDefinir, 137, 1);
  item.Verify();
}

TEST(RecordLayout, ObraHeader) {
  LayoutCheck<ObraHeader> c;
  c.Byte(obra_header::UsePliegosCodes, 21, 1);
  c.Str(obra_header::ObraName, 22, 35, "Colegio Municipal Nari\xF1o");
  c.Str(obra_header::ObraReference, 58, 35, "Licitaci\xF3n 045 de 2024");
  c.Str(obra_header::BudgetDate, 94, 8, "30/06/24");
  c.Ext(obra_header::BudgetItemsTotal, 103, 1.5e9L);
  c.Ext(obra_header::AnticipoPct, 113, 30.0L);
  c.Ext(obra_header::RetencionPct, 123, 5.0L);
  c.Verify();
}

}  // namespace
}  // namespace vantu
