#pragma once
// The in-use fields of the configuration record: set while a Rama or Obra
// is open, cleared when the program ends normally. Found set at the next
// start, they mean the previous run did not end normally.
//
//   offset width              field
//   0      string[10] (11)    ten-digit string, "0123456789" once marked
//   19     string[2]  (3)     listing setting, "15" once marked
//   22     string[160] (161)  InUseDirectory
//   183    string[1]  (2)     InUseRama
//   185    string[2]  (3)     InUseObra
//   188    string[160] (161)  LastDirectory
//   386    byte               cleared when marked

#include <string>

namespace vantu {

namespace inuse {
constexpr int kDigits = 0;
constexpr int kListing = 19;
constexpr int kDirectory = 22;
constexpr int kRama = 183;
constexpr int kObra = 185;
constexpr int kLastDirectory = 188;
constexpr int kCleared = 386;
static_assert(kDirectory + 161 == kRama && kRama + 2 == kObra && kObra + 3 == kLastDirectory);
}  // namespace inuse

struct InUseFields {
  std::string directory, rama, obra, lastDirectory;
};

// Arms the marker of the selected set (MarkSetInUseAtFirstChange).
void MarkSetInUse();
// The marker naming the set is written just before the engine's next change
// to a file, not before: an opening that only reads, or fails, leaves the
// marker and the set as they were. A marker that cannot be written stops
// that change (engine status 1014). ClearSetInUse cancels it.
void MarkSetInUseAtFirstChange(const std::string& directory, const std::string& rama,
                               const std::string& obra);
// MarkSetInUseAs that tells whether the marker reached the disk.
bool TryMarkSetInUseAs(const std::string& directory, const std::string& rama,
                       const std::string& obra);
void MarkSetInUseAs(const std::string& directory, const std::string& rama, const std::string& obra);
void ClearSetInUse();
// The fields as stored; empty when the file cannot be read.
InUseFields ReadInUseFields();

}  // namespace vantu
