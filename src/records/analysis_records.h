#pragma once
// Unit price analyses (file 3), their lines, and the global prices (file 5)
// that lines of type 5 use.

#include <array>
#include <stdexcept>
#include <vector>

#include "records/coded_records.h"

namespace vantu {

// One line of an analysis (30 bytes).
//
// Offset  Type     Field
//    0    byte     LineType   0 empty, 2 basic input, 3 analysis, 5 global
//    1    ext      RefStamp   RecordStamp of the input or analysis; 0 for a global
//   11    str[6]   RefCode    referenced code; "000000" for a global
//   18    i16      RefRecNo   record number in file 2, 3 or 5
//   20    ext      Quantity   per unit of the analysed item (unused for a global)
//   30             end
struct AnalysisLine : RecordBytes<30> {};

namespace analysis_line {
inline constexpr ByteField<AnalysisLine> LineType{0};
inline constexpr ExtField<AnalysisLine> RefStamp{1};
inline constexpr StrField<AnalysisLine> RefCode{11, 6};
inline constexpr I16Field<AnalysisLine> RefRecNo{18};
inline constexpr ExtField<AnalysisLine> Quantity{20};

static_assert(LineType.offset == 0);
static_assert(Follows(LineType, RefStamp) && RefStamp.offset == 1);
static_assert(Follows(RefStamp, RefCode) && RefCode.offset == 11);
static_assert(Follows(RefCode, RefRecNo) && RefRecNo.offset == 18);
static_assert(Follows(RefRecNo, Quantity) && Quantity.offset == 20);
static_assert(End(Quantity) == AnalysisLine::kSize && AnalysisLine::kSize == 30);
}  // namespace analysis_line
static_assert(sizeof(AnalysisLine) == 30);

// File 3: chapters and unit price analyses (632 bytes). A chapter uses only
// the prefix, Code and Description. Fields 552-621 are written only by the
// calculation.
//
// Offset  Type        Field
//    0                coded prefix
//   31    str[35]     Description
//   67    str[6]      Unit
//   74    ext         HerramientaMenorPct  minor tools, % of labour added to equipment
//   84    ext         DesperdicioPct       waste, % of materials
//   94    4 x byte    GroupRows[1..4]      slots reserved per group; sum 15
//   98    4 x byte    GroupCount[1..4]     lines in use per group
//  102    15 x 30     Lines[1..15]         AnalysisLine slots; group g's section
//                                          follows the sections of groups < g
//  552    ext         MaterialesCost
//  562    ext         EquiposCost          group 1 plus minor tools
//  572    ext         MaterialesWithWaste
//  582    ext         TransportesCost
//  592    ext         ManoDeObraCost
//  602    ext         DirectCost
//  612    ext         UnitPrice            DirectCost with the per-item AIU
//  622    10 bytes    reserved             preserved as read
//  632                end
struct AnalysisRecord : RecordBytes<632>, CodedRecord {};

namespace analysis {
inline constexpr int kGroups = 4;
inline constexpr int kLineSlots = 15;

inline constexpr StrField<AnalysisRecord> Description{31, 35};
inline constexpr StrField<AnalysisRecord> Unit{67, 6};
inline constexpr ExtField<AnalysisRecord> HerramientaMenorPct{74};
inline constexpr ExtField<AnalysisRecord> DesperdicioPct{84};
inline constexpr int kGroupRowsOffset = 94;
inline constexpr int kGroupCountOffset = 98;
inline constexpr int kLinesOffset = 102;
inline constexpr ExtField<AnalysisRecord> MaterialesCost{552};
inline constexpr ExtField<AnalysisRecord> EquiposCost{562};
inline constexpr ExtField<AnalysisRecord> MaterialesWithWaste{572};
inline constexpr ExtField<AnalysisRecord> TransportesCost{582};
inline constexpr ExtField<AnalysisRecord> ManoDeObraCost{592};
inline constexpr ExtField<AnalysisRecord> DirectCost{602};
inline constexpr ExtField<AnalysisRecord> UnitPrice{612};
inline constexpr RawField<AnalysisRecord> Reserved{622, 10};

// group 1..4; slot 1..15. Out of range throws std::out_of_range.
constexpr ByteField<AnalysisRecord> GroupRows(int group) {
  if (group < 1 || group > kGroups) throw std::out_of_range("analysis group");
  return {kGroupRowsOffset + group - 1};
}
constexpr ByteField<AnalysisRecord> GroupCount(int group) {
  if (group < 1 || group > kGroups) throw std::out_of_range("analysis group");
  return {kGroupCountOffset + group - 1};
}
constexpr SubField<AnalysisRecord, AnalysisLine> Lines(int slot) {
  if (slot < 1 || slot > kLineSlots) throw std::out_of_range("analysis line slot");
  return {kLinesOffset + (slot - 1) * AnalysisLine::kSize};
}

static_assert(Description.offset == coded::kBodyStart && Description.offset == 31);
static_assert(Follows(Description, Unit) && Unit.offset == 67);
static_assert(Follows(Unit, HerramientaMenorPct) && HerramientaMenorPct.offset == 74);
static_assert(Follows(HerramientaMenorPct, DesperdicioPct) && DesperdicioPct.offset == 84);
static_assert(Follows(DesperdicioPct, GroupRows(1)) && GroupRows(1).offset == 94);
static_assert(End(GroupRows(kGroups)) == GroupCount(1).offset && GroupCount(1).offset == 98);
static_assert(Follows(GroupCount(kGroups), Lines(1)) && Lines(1).offset == 102);
static_assert(Follows(Lines(kLineSlots), MaterialesCost) && MaterialesCost.offset == 552);
static_assert(Follows(MaterialesCost, EquiposCost) && EquiposCost.offset == 562);
static_assert(Follows(EquiposCost, MaterialesWithWaste) && MaterialesWithWaste.offset == 572);
static_assert(Follows(MaterialesWithWaste, TransportesCost) && TransportesCost.offset == 582);
static_assert(Follows(TransportesCost, ManoDeObraCost) && ManoDeObraCost.offset == 592);
static_assert(Follows(ManoDeObraCost, DirectCost) && DirectCost.offset == 602);
static_assert(Follows(DirectCost, UnitPrice) && UnitPrice.offset == 612);
static_assert(Follows(UnitPrice, Reserved) && Reserved.offset == 622);
static_assert(End(Reserved) == AnalysisRecord::kSize && AnalysisRecord::kSize == 632);
}  // namespace analysis
static_assert(sizeof(AnalysisRecord) == 632);

// Where group g's section starts (slot 1..15, or 16 when the sections before
// it already fill the record) and how many of its lines lie inside the 15
// slots. Both trust no count read from disk.
int SectionFirstSlot(const AnalysisRecord& r, int group);
int SectionLineCount(const AnalysisRecord& r, int group);
// The slots of every section's lines, first and past the last, in one pass
// over the counts: spans[g] is SectionFirstSlot(r, g) and that plus
// SectionLineCount(r, g), for g = 1..4 (spans[0] unused).
struct SectionSpan {
  int first = 1;
  int end = 1;
};
std::array<SectionSpan, analysis::kGroups + 1> SectionSpans(const AnalysisRecord& r);

// The rows of a new analysis: 3, 6, 2 and 4 slots, no lines.
void SetDefaultSections(AnalysisRecord& r);

// The four sections of an analysis as lists: the lines in use of each
// group (1..4, index 0 unused) and the rows reserved for it.
struct AnalysisSections {
  std::array<std::vector<AnalysisLine>, analysis::kGroups + 1> lines;
  std::array<int, analysis::kGroups + 1> rows{};
};
AnalysisSections ReadSections(const AnalysisRecord& r);
// Writes GroupRows, GroupCount and the 15 slots (the unused ones empty).
// The rows must add up to 15 and hold each section's lines.
void WriteSections(AnalysisRecord& r, const AnalysisSections& s);

// File 5: one global (lump-sum) price per analysis line of type 5
// (108 bytes). Not indexed, not stamped: written with PutRec at numbers the
// analysis module hands out, and freed onto the file's own free list.
//
// Offset  Type     Field
//    0    i16      RecordStatus      0 in use, -1 free
//    2    i16      OwnRecNo          the record's own number
//    4    i16      NextFree          on a free record: next free, 0 at the end
//    6    byte     not used
//    7    str[8]   PriceDate         "dd/mm/aa" the price was entered
//   16    byte     InUseMarker       1
//   17    i16      CalcStamp         generation of the last calculation using it
//   19    str[35]  Description
//   55    str[6]   OwnerCode         analysis whose line uses the price
//   62    str[35]  OwnerDescription  that analysis's description
//   98    ext      GlobalPrice
//  108             end
struct GlobalPriceRecord : RecordBytes<108> {};

namespace global_price {
inline constexpr int16_t kFree = -1;

inline constexpr I16Field<GlobalPriceRecord> RecordStatus{0};
inline constexpr I16Field<GlobalPriceRecord> OwnRecNo{2};
inline constexpr I16Field<GlobalPriceRecord> NextFree{4};
inline constexpr RawField<GlobalPriceRecord> Unused{6, 1};
inline constexpr StrField<GlobalPriceRecord> PriceDate{7, 8};
inline constexpr ByteField<GlobalPriceRecord> InUseMarker{16};
inline constexpr I16Field<GlobalPriceRecord> CalcStamp{17};
inline constexpr StrField<GlobalPriceRecord> Description{19, 35};
inline constexpr StrField<GlobalPriceRecord> OwnerCode{55, 6};
inline constexpr StrField<GlobalPriceRecord> OwnerDescription{62, 35};
inline constexpr ExtField<GlobalPriceRecord> GlobalPrice{98};

static_assert(RecordStatus.offset == 0);
static_assert(Follows(RecordStatus, OwnRecNo) && OwnRecNo.offset == 2);
static_assert(Follows(OwnRecNo, NextFree) && NextFree.offset == 4);
static_assert(Follows(NextFree, Unused) && Follows(Unused, PriceDate) && PriceDate.offset == 7);
static_assert(Follows(PriceDate, InUseMarker) && InUseMarker.offset == 16);
static_assert(Follows(InUseMarker, CalcStamp) && CalcStamp.offset == 17);
static_assert(Follows(CalcStamp, Description) && Description.offset == 19);
static_assert(Follows(Description, OwnerCode) && OwnerCode.offset == 55);
static_assert(Follows(OwnerCode, OwnerDescription) && OwnerDescription.offset == 62);
static_assert(Follows(OwnerDescription, GlobalPrice) && GlobalPrice.offset == 98);
static_assert(End(GlobalPrice) == GlobalPriceRecord::kSize && GlobalPriceRecord::kSize == 108);
}  // namespace global_price
static_assert(sizeof(GlobalPriceRecord) == 108);

// Record 0 of file 5: the engine header (bytes 0-7), the file-set markers
// (8-10) and this file's own free list of global prices.
//
// Offset  Type     Field
//   18    i16      HighestRecNo   highest record number handed out
//   20    i16      FreeRecCount   records on the free list
//   22    i16      FirstFree      first free record, 0 when none
//   24             rest of the header, preserved
struct GlobalPriceHeader : RecordBytes<108> {};

namespace global_price_header {
inline constexpr I16Field<GlobalPriceHeader> HighestRecNo{18};
inline constexpr I16Field<GlobalPriceHeader> FreeRecCount{20};
inline constexpr I16Field<GlobalPriceHeader> FirstFree{22};

static_assert(HighestRecNo.offset == 18);
static_assert(Follows(HighestRecNo, FreeRecCount) && FreeRecCount.offset == 20);
static_assert(Follows(FreeRecCount, FirstFree) && FirstFree.offset == 22);
static_assert(End(FirstFree) <= GlobalPriceHeader::kSize);
}  // namespace global_price_header
static_assert(sizeof(GlobalPriceHeader) == 108);

}  // namespace vantu
