#pragma once
// Records of the coded files: basic inputs (file 2), analyses (3),
// subcontracts (4) and budget (6). Every record of these files begins with
// the same 31 bytes: the prefix the storage engine stamps, then the code.
//
// Offset  Type     Field
//    0    i16      RecordStatus  0 = in use (on a free record: next free)
//    2    ext      RecordStamp   unique creation stamp written by AddRec
//   12    str[6]   Code          the index key: chapter "01", item "01010",
//                                analysis "010020"
//   19    str[8]   CreatedDate   "dd/mm/aa" of an item; chapters have none
//   28    byte     ChangedFlag   1 when the last edit changed a field other
//                                than the code
//   29    i16      CalcStamp     files 2-4: generation of the calculation
//                                that last used the record; unused in file 6
//   31             first byte of the file's own fields

#include <string_view>

#include "records/record_fields.h"
#include "storage/file_sets.h"

namespace vantu {

// Tag of the fields above; the four coded record types derive from it.
struct CodedRecord {};

namespace coded {
inline constexpr I16Field<CodedRecord> RecordStatus{0};
inline constexpr ExtField<CodedRecord> RecordStamp{kRecordStampAt};
inline constexpr StrField<CodedRecord> Code{kRecordCode, kRecordCodeLength};
inline constexpr StrField<CodedRecord> CreatedDate{19, 8};
inline constexpr ByteField<CodedRecord> ChangedFlag{28};
inline constexpr I16Field<CodedRecord> CalcStamp{29};
inline constexpr int kBodyStart = 31;

static_assert(RecordStatus.offset == 0);
static_assert(Follows(RecordStatus, RecordStamp) && RecordStamp.offset == 2);
static_assert(Follows(RecordStamp, Code) && Code.offset == 12);
static_assert(Follows(Code, CreatedDate) && CreatedDate.offset == 19);
static_assert(Follows(CreatedDate, ChangedFlag) && ChangedFlag.offset == 28);
static_assert(Follows(ChangedFlag, CalcStamp) && CalcStamp.offset == 29);
static_assert(End(CalcStamp) == kBodyStart);
}  // namespace coded

// A record for a new code: all zeros except RecordStatus, then the code.
// AddRec stamps bytes 2-11 when the record is added.
template <class R>
requires HasFieldsOf<R, CodedRecord>
void InitCodedRecord(R& r, std::string_view code) {
  for (int i = 2; i < R::kSize; ++i) r.bytes[i] = 0;
  Set(r, coded::Code, code);
}

// File 2: a chapter is a group heading, an item a basic input (94 bytes).
//
// Offset  Type     Chapter                     Item
//    0             coded prefix                coded prefix
//   31    str[35]  Description                 Description
//   67    7 bytes  Group: i16 1..4 at 67-68    Unit: str[6]
//   74    ext      -                           Price
//   84    ext      -                           RequiredQuantity (calculation)
//   94             end
struct InputRecord : RecordBytes<94>, CodedRecord {};

namespace input {
inline constexpr StrField<InputRecord> Description{31, 35};
inline constexpr I16Field<InputRecord> Group{67};  // chapter only
inline constexpr StrField<InputRecord> Unit{67, 6};
inline constexpr ExtField<InputRecord> Price{74};
inline constexpr ExtField<InputRecord> RequiredQuantity{84};

static_assert(Description.offset == coded::kBodyStart && Description.offset == 31);
static_assert(Follows(Description, Unit) && Unit.offset == 67);
static_assert(Group.offset == Unit.offset && End(Group) <= End(Unit));
static_assert(Follows(Unit, Price) && Price.offset == 74);
static_assert(Follows(Price, RequiredQuantity) && RequiredQuantity.offset == 84);
static_assert(End(RequiredQuantity) == InputRecord::kSize && InputRecord::kSize == 94);
}  // namespace input
static_assert(sizeof(InputRecord) == 94);

// File 4: chapters and subcontracts (144 bytes). A subcontract takes the
// entry mode of its chapter.
//
// Offset  Type     Chapter                     Item
//    0             coded prefix                coded prefix
//   31    str[35]  Description                 Description
//   67    7 bytes  EntryMode: i16 at 67-68     Unit: str[6]
//   74    ext      -                           EquiposValue
//   84    ext      -                           MaterialesValue
//   94    ext      -                           TransportesValue
//  104    ext      -                           ManoDeObraValue
//  114    ext      -                           DirectCost
//  124    ext      -                           UnitPrice (calculation)
//  134    10 bytes reserved                    reserved
//  144             end
struct SubcontractRecord : RecordBytes<144>, CodedRecord {};

namespace subcontract {
inline constexpr int16_t kByPercentages = 0;  // "Porcentajes"
inline constexpr int16_t kByValues = 1;       // "Valores"

inline constexpr StrField<SubcontractRecord> Description{31, 35};
inline constexpr I16Field<SubcontractRecord> EntryMode{67};  // chapter only
inline constexpr StrField<SubcontractRecord> Unit{67, 6};
inline constexpr ExtField<SubcontractRecord> EquiposValue{74};
inline constexpr ExtField<SubcontractRecord> MaterialesValue{84};
inline constexpr ExtField<SubcontractRecord> TransportesValue{94};
inline constexpr ExtField<SubcontractRecord> ManoDeObraValue{104};
inline constexpr ExtField<SubcontractRecord> DirectCost{114};
inline constexpr ExtField<SubcontractRecord> UnitPrice{124};
inline constexpr RawField<SubcontractRecord> Reserved{134, 10};

static_assert(Description.offset == coded::kBodyStart && Description.offset == 31);
static_assert(Follows(Description, Unit) && Unit.offset == 67);
static_assert(EntryMode.offset == Unit.offset && End(EntryMode) <= End(Unit));
static_assert(Follows(Unit, EquiposValue) && EquiposValue.offset == 74);
static_assert(Follows(EquiposValue, MaterialesValue) && MaterialesValue.offset == 84);
static_assert(Follows(MaterialesValue, TransportesValue) && TransportesValue.offset == 94);
static_assert(Follows(TransportesValue, ManoDeObraValue) && ManoDeObraValue.offset == 104);
static_assert(Follows(ManoDeObraValue, DirectCost) && DirectCost.offset == 114);
static_assert(Follows(DirectCost, UnitPrice) && UnitPrice.offset == 124);
static_assert(Follows(UnitPrice, Reserved) && Reserved.offset == 134);
static_assert(End(Reserved) == SubcontractRecord::kSize && SubcontractRecord::kSize == 144);
}  // namespace subcontract
static_assert(sizeof(SubcontractRecord) == 144);

}  // namespace vantu
