#include "records/references.h"

#include "session/pstring.h"
#include "storage/file_sets.h"
#include "storage/real10.h"
#include "storage/storage_engine.h"

namespace vantu {

std::optional<int16_t> ResolveReference(int area, int16_t recNo, long double stamp,
                                        const std::string& code, uint8_t* buffer) {
  WorkArea& a = Area(area);
  if (!a.Data.isOpen) return std::nullopt;
  if (recNo >= 1 && recNo < FileRecordCount(a.Data)) {
    GetRec(a.Data, recNo, buffer);
    const bool inUse = GetI16(buffer + kRecStatus) == 0;
    const bool sameCode = ReadStr(buffer + kRecordCode, 6) == code;
    const bool sameStamp = LoadReal10(buffer + kRecStamp) == stamp;
    if (inUse && (sameCode || sameStamp)) return recNo;
  }
  if (code.empty() || !a.Index.File.isOpen) return std::nullopt;
  std::string key = code;
  int16_t r = 0;
  FindKey(a.Index, r, key);
  if (!LastOpOk()) return std::nullopt;
  GetRec(a.Data, r, buffer);
  return r;
}

}  // namespace vantu
