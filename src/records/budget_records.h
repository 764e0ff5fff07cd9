#pragma once
// The Obra's budget (file 6): chapters, items, and the Obra's own fields in
// the header record 0.

#include "records/coded_records.h"

namespace vantu {

// File 6, records 1 and up (144 bytes). A chapter and an item share the
// coded prefix and lay out the rest differently.
//
// Chapter:
// Offset  Type     Field
//   31    str[35]  Description    "DESCRIPCION CAPITULO"
//   67    ext      ChapterTotal   sum of the chapter's ItemTotal (calculation)
//   77             unused up to 144
//
// Item:
// Offset  Type     Field
//   31    str[12]  PliegosCode    the item's code in the tender documents
//   44    str[6]   RefCode        analysis (6 digits), subcontract (5) or "000000"
//   51    i16      RefRecNo       record number of that analysis or subcontract
//   53    byte     RefType        3 analysis, 4 subcontract, 5 global price
//   54    ext      RefStamp       RecordStamp of the referenced record
//   64    str[35]  Description    overwritten by the calculation from the reference
//  100    str[6]   Unit
//  107    ext      Quantity       for RefType 5: the global amount
//  117    ext      ItemUnitPrice  referenced UnitPrice; 0 for a global (calculation)
//  127    ext      ItemTotal      quantity x unit price, rounded (calculation)
//  137    byte     PorDefinir     1 = quantity "<POR DEFINIR>"
//  138    6 bytes  reserved
//  144             end
struct BudgetRecord : RecordBytes<144>, CodedRecord {};

namespace budget_chapter {
inline constexpr StrField<BudgetRecord> Description{31, 35};
inline constexpr ExtField<BudgetRecord> ChapterTotal{67};

static_assert(Description.offset == coded::kBodyStart && Description.offset == 31);
static_assert(Follows(Description, ChapterTotal) && ChapterTotal.offset == 67);
static_assert(End(ChapterTotal) <= BudgetRecord::kSize);
}  // namespace budget_chapter

namespace budget_item {
inline constexpr uint8_t kRefAnalysis = 3;
inline constexpr uint8_t kRefSubcontract = 4;
inline constexpr uint8_t kRefGlobal = 5;

inline constexpr StrField<BudgetRecord> PliegosCode{31, 12};
inline constexpr StrField<BudgetRecord> RefCode{44, 6};
inline constexpr I16Field<BudgetRecord> RefRecNo{51};
inline constexpr ByteField<BudgetRecord> RefType{53};
inline constexpr ExtField<BudgetRecord> RefStamp{54};
inline constexpr StrField<BudgetRecord> Description{64, 35};
inline constexpr StrField<BudgetRecord> Unit{100, 6};
inline constexpr ExtField<BudgetRecord> Quantity{107};
inline constexpr ExtField<BudgetRecord> ItemUnitPrice{117};
inline constexpr ExtField<BudgetRecord> ItemTotal{127};
inline constexpr ByteField<BudgetRecord> PorDefinir{137};
inline constexpr RawField<BudgetRecord> Reserved{138, 6};

static_assert(PliegosCode.offset == coded::kBodyStart && PliegosCode.offset == 31);
static_assert(Follows(PliegosCode, RefCode) && RefCode.offset == 44);
static_assert(Follows(RefCode, RefRecNo) && RefRecNo.offset == 51);
static_assert(Follows(RefRecNo, RefType) && RefType.offset == 53);
static_assert(Follows(RefType, RefStamp) && RefStamp.offset == 54);
static_assert(Follows(RefStamp, Description) && Description.offset == 64);
static_assert(Follows(Description, Unit) && Unit.offset == 100);
static_assert(Follows(Unit, Quantity) && Quantity.offset == 107);
static_assert(Follows(Quantity, ItemUnitPrice) && ItemUnitPrice.offset == 117);
static_assert(Follows(ItemUnitPrice, ItemTotal) && ItemTotal.offset == 127);
static_assert(Follows(ItemTotal, PorDefinir) && PorDefinir.offset == 137);
static_assert(Follows(PorDefinir, Reserved) && Reserved.offset == 138);
static_assert(End(Reserved) == BudgetRecord::kSize && BudgetRecord::kSize == 144);
}  // namespace budget_item
static_assert(sizeof(BudgetRecord) == 144);

// File 6, record 0 (144 bytes): bytes 0-20 are the engine header and the
// file-set markers; the Obra's fields follow.
//
// Offset  Type     Field
//   21    byte     UsePliegosCodes   1 = items are shown by PliegosCode
//   22    str[35]  ObraName          "Nombre de la Obra"
//   58    str[35]  ObraReference     "Referencia de la Obra"
//   94    str[8]   BudgetDate        "Fecha del Presupuesto", dd/mm/aa
//  103    ext      BudgetItemsTotal  sum of all ItemTotal (calculation)
//  113    ext      AnticipoPct       advance, 0 to 100
//  123    ext      RetencionPct      additional retention, 0 to 100
//  133    11 bytes reserved
//  144             end
struct ObraHeader : RecordBytes<144> {};

namespace obra_header {
inline constexpr int kFileHeaderEnd = 21;

inline constexpr ByteField<ObraHeader> UsePliegosCodes{21};
inline constexpr StrField<ObraHeader> ObraName{22, 35};
inline constexpr StrField<ObraHeader> ObraReference{58, 35};
inline constexpr StrField<ObraHeader> BudgetDate{94, 8};
inline constexpr ExtField<ObraHeader> BudgetItemsTotal{103};
inline constexpr ExtField<ObraHeader> AnticipoPct{113};
inline constexpr ExtField<ObraHeader> RetencionPct{123};
inline constexpr RawField<ObraHeader> Reserved{133, 11};

static_assert(UsePliegosCodes.offset == kFileHeaderEnd && UsePliegosCodes.offset == 21);
static_assert(Follows(UsePliegosCodes, ObraName) && ObraName.offset == 22);
static_assert(Follows(ObraName, ObraReference) && ObraReference.offset == 58);
static_assert(Follows(ObraReference, BudgetDate) && BudgetDate.offset == 94);
static_assert(Follows(BudgetDate, BudgetItemsTotal) && BudgetItemsTotal.offset == 103);
static_assert(Follows(BudgetItemsTotal, AnticipoPct) && AnticipoPct.offset == 113);
static_assert(Follows(AnticipoPct, RetencionPct) && RetencionPct.offset == 123);
static_assert(Follows(RetencionPct, Reserved) && Reserved.offset == 133);
static_assert(End(Reserved) == ObraHeader::kSize && ObraHeader::kSize == 144);
}  // namespace obra_header
static_assert(sizeof(ObraHeader) == 144);

}  // namespace vantu
