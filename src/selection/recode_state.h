#pragma once
// The state file of a recodification run. Its name tells how far the run
// got, its one record keeps the parameters, so that a run cut short is
// completed with the same codes the next time a selection ends.
//
// Names, in the data directory, followed by the set's extension (the Rama
// code, and the Obra code when an Obra is open):
//   no file      no run in progress
//   "Apr07ct1."  renumbering the records
//   "Apr07ct2."  renumbering finished; indexes and references under way
//   "Apr07ctn."  a state record being written; renamed over the real name
//                once complete, so a stop never leaves a half-written state
//
// Record (1593 bytes), little-endian:
//   offset width  field
//   0      i16    FirstChapter       0 = chosen by the program, else 1..5
//   2      i16    ChapterSeparation  1..5
//   4      i16    ItemSeparation     1..10
//   6      1587   RunArea            zeros: the parameters alone give the
//                                    same codes when a run is resumed
//   1593          end

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantu {

namespace recode_state {
constexpr int kFirstChapter = 0;
constexpr int kChapterSeparation = 2;
constexpr int kItemSeparation = 4;
constexpr int kRunArea = 6;
constexpr int kSize = 1593;
static_assert(kFirstChapter + 2 == kChapterSeparation && kChapterSeparation + 2 == kItemSeparation);
static_assert(kItemSeparation + 2 == kRunArea && kRunArea + 1587 == kSize);
}  // namespace recode_state

struct RecodeParams {
  int16_t firstChapter = 0;       // 0..5
  int16_t chapterSeparation = 1;  // 1..5
  int16_t itemSeparation = 10;    // 1..10
  bool operator==(const RecodeParams&) const = default;
};

enum RecodePhase : int {
  kRecodeIdle = 0,         // no state file
  kRecodeRenumbering = 1,  // "Apr07ct1."
  kRecodeReindexing = 2,   // "Apr07ct2."
};

// "Apr07ct1." + ext for phase 1, "Apr07ct2." + ext for phase 2.
std::string RecodeStateName(int phase, const std::string& ext);
std::string RecodeTempName(const std::string& ext);
// The phase the state files of dir say; names differing only in letter
// case count too. Both names present (which no run leaves) count as 2.
int FindRecodePhase(const std::string& dir, const std::string& ext);

// The extension (Rama, or Rama and Obra) of a run cut short in dir for the
// Rama `rama`, whatever Obra it was for; "" when there is none.
std::string PendingRecodeExtension(const std::string& dir, const std::string& rama);

std::array<uint8_t, recode_state::kSize> EncodeRecodeState(const RecodeParams& p);
// A record shorter than the parameters (an empty file) gives the defaults.
RecodeParams DecodeRecodeState(const std::vector<uint8_t>& bytes);
// The parameters stored in the state file of `phase`.
RecodeParams ReadRecodeState(const std::string& dir, const std::string& ext, int phase);

// Phase 0 to 1: writes the parameters into "Apr07ct1.". False when the file
// cannot be written; nothing of the set has changed then.
bool BeginRecodeRun(const std::string& dir, const std::string& ext, const RecodeParams& p);
// Phase 1 to 2: the state record is written again and the file renamed to
// "Apr07ct2.". False when that fails; the run then stays in phase 1.
bool EnterReindexPhase(const std::string& dir, const std::string& ext, const RecodeParams& p);
// The run is complete: "Apr07ct2." is removed.
void EndRecodeRun(const std::string& dir, const std::string& ext);

// The temporary state record of this run of the program: written but not
// yet renamed. The program's end deletes it while the flag is set.
struct RecodeFilesState {
  bool tempCreated = false;
  std::string tempPath;
};
RecodeFilesState& RecodeFiles();
void ResetRecodeFiles();
void DeleteRecodeTempFiles();

}  // namespace vantu
