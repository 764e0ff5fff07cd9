#pragma once
// The Rama's general data: file 1, record 1 (152 bytes).
//
// Offset  Type     Field
//    0    i16      RecordStatus
//    2    2 bytes  not used
//    4    str[35]  RamaName                    "Nombre de la Rama"
//   40    i16      AiuMode                     1 "Cada Item", 2 "Al final"
//   42    ext      AiuAtEnd                    AIU sum when AiuMode = 2, else 0
//   52    ext      AiuPerItem                  AIU sum when AiuMode = 1, else 0
//   62    ext      AiuPerItemForSubcontracts   copy of AiuPerItem
//   72    ext      AdminPct
//   82    ext      ImprevistosPct
//   92    ext      UtilidadPct
//  102    ext      IvaPct                      IVA applied to the profit
//  112    ext      FactorEquipos               price factors of groups 1-4,
//  122    ext      FactorMateriales            0.50 to 2.00
//  132    ext      FactorTransportes
//  142    ext      FactorManoDeObra
//  152             end
// Fields 42-71 are derived from AiuMode and the three AIU percentages on
// every save.

#include <stdexcept>

#include "records/record_fields.h"

namespace vantu {

struct GeneralDataRecord : RecordBytes<152> {};

namespace general {
inline constexpr int16_t kAiuPerItem = 1;  // "Cada Item"
inline constexpr int16_t kAiuAtEnd = 2;    // "Al final"

inline constexpr I16Field<GeneralDataRecord> RecordStatus{0};
inline constexpr RawField<GeneralDataRecord> Unused{2, 2};
inline constexpr StrField<GeneralDataRecord> RamaName{4, 35};
inline constexpr I16Field<GeneralDataRecord> AiuMode{40};
inline constexpr ExtField<GeneralDataRecord> AiuAtEnd{42};
inline constexpr ExtField<GeneralDataRecord> AiuPerItem{52};
inline constexpr ExtField<GeneralDataRecord> AiuPerItemForSubcontracts{62};
inline constexpr ExtField<GeneralDataRecord> AdminPct{72};
inline constexpr ExtField<GeneralDataRecord> ImprevistosPct{82};
inline constexpr ExtField<GeneralDataRecord> UtilidadPct{92};
inline constexpr ExtField<GeneralDataRecord> IvaPct{102};
inline constexpr ExtField<GeneralDataRecord> FactorEquipos{112};
inline constexpr ExtField<GeneralDataRecord> FactorMateriales{122};
inline constexpr ExtField<GeneralDataRecord> FactorTransportes{132};
inline constexpr ExtField<GeneralDataRecord> FactorManoDeObra{142};

// The price factor of group 1..4; out of range throws std::out_of_range.
constexpr ExtField<GeneralDataRecord> Factor(int group) {
  if (group < 1 || group > 4) throw std::out_of_range("group");
  return {FactorEquipos.offset + (group - 1) * 10};
}

static_assert(RecordStatus.offset == 0);
static_assert(Follows(RecordStatus, Unused) && Follows(Unused, RamaName) && RamaName.offset == 4);
static_assert(Follows(RamaName, AiuMode) && AiuMode.offset == 40);
static_assert(Follows(AiuMode, AiuAtEnd) && AiuAtEnd.offset == 42);
static_assert(Follows(AiuAtEnd, AiuPerItem) && AiuPerItem.offset == 52);
static_assert(Follows(AiuPerItem, AiuPerItemForSubcontracts) &&
              AiuPerItemForSubcontracts.offset == 62);
static_assert(Follows(AiuPerItemForSubcontracts, AdminPct) && AdminPct.offset == 72);
static_assert(Follows(AdminPct, ImprevistosPct) && ImprevistosPct.offset == 82);
static_assert(Follows(ImprevistosPct, UtilidadPct) && UtilidadPct.offset == 92);
static_assert(Follows(UtilidadPct, IvaPct) && IvaPct.offset == 102);
static_assert(Follows(IvaPct, FactorEquipos) && FactorEquipos.offset == 112);
static_assert(Follows(FactorEquipos, FactorMateriales) && FactorMateriales.offset == 122);
static_assert(Follows(FactorMateriales, FactorTransportes) && FactorTransportes.offset == 132);
static_assert(Follows(FactorTransportes, FactorManoDeObra) && FactorManoDeObra.offset == 142);
static_assert(Factor(2).offset == FactorMateriales.offset && Factor(4).offset == 142);
static_assert(End(FactorManoDeObra) == GeneralDataRecord::kSize && GeneralDataRecord::kSize == 152);
}  // namespace general
static_assert(sizeof(GeneralDataRecord) == 152);

}  // namespace vantu
