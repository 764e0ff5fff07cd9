#pragma once
// Checking and repairing the files of a set, shared by the start-up
// recovery, the regeneration, the opening of a work area and the korven
// tool. Nothing here draws.
//
// A repair of a data file, in the order its writes reach the disk:
//
//   write                                 a stop right after it leaves
//   1 cut bytes appended to <name>.resto  the bytes twice: in the side file
//     (synced)                            and still at the data file's end
//   2 data file cut to whole records      only whole records
//   3 each record with a bad code zeroed  records free by their status word
//     and linked; each link of the free   (the chain is rebuilt again from
//     chain rewritten where it differs    the status words at the next try)
//   4 index header emptied (the new tree  an index whose header shows an
//     is built in memory)                 empty tree beside pages it does
//                                         not reach: the check refuses it
//   5 the new pages written over the old  the same
//     ones in page order, the file cut
//     after the last of them
//   6 index header (root, chain) at close a sound index
//   7 data header bytes 0-20 in one       a repaired file
//     write: FreeHead, FreeCount, the
//     marker, serial and AddedCounter
//
// Every step rebuilds from the status words of the data records only, so
// running the repair again after a stop at any of these points finishes it.
// The in-use marker of the configuration file is cleared by the caller
// only once every file of the set is repaired.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/btree.h"
#include "storage/file_sets.h"
#include "storage/record_file.h"

namespace vantu {

// Suffix of the side file that keeps the bytes cut off a data file.
inline constexpr const char* kSideFileSuffix = ".resto";

// What a read-only look at a stored data file (and its index) found.
struct StoredFileCheck {
  int openError = 0;          // errno when the file cannot be opened for writing
  int16_t lengthStatus = 0;   // 1003/1004 when the stored record length differs
  int64_t trailingBytes = 0;  // bytes after the last whole record
  bool freeChainBroken = false;
  bool indexMissing = false;
  std::string indexFault;  // the first fault of the index, or empty
  int keysPastEnd = 0;     // index keys naming records past the file's end
  bool counterLow = false;  // AddedCounter below a record's stamp
  int foreignRecords = 0;   // whole records at the end that the program never wrote
  // A fault the opening can repair by a regeneration.
  bool Repairable() const {
    return trailingBytes != 0 || freeChainBroken || indexMissing || !indexFault.empty() ||
           counterLow || foreignRecords != 0;
  }
  // Faults that no repair touches: the file cannot be used as it is.
  bool Unusable() const { return openError != 0 || lengthStatus != 0; }
  // The reason in words, for messages.
  std::string Reason() const;
};

// Looks at a data file and, when keyLength > 0, its index: the key count
// against the records in use, the tree's order and fill, and every key
// against the code of the record it points to. Files without an index
// (fileKind kPlainFile or kSingleRecord) are looked at for records appended
// after their own. Reads only.
StoredFileCheck CheckStoredFile(const std::string& dataName, int recordLength,
                                const std::string& indexName, int keyLength,
                                uint8_t fileKind = kIndexedFile);

// Whole records at the end of an open file without an index that the
// program never wrote (bytes appended by a faulty copy): for the general
// data file, every record after the first; for the global prices, the
// records past the highest number handed out, from the first that is
// neither in use nor free under its own number.
int ForeignTrailingRecords(DataFileState& data, uint8_t fileKind);

// Moves the bytes after the last whole record into the side file; 0 or errno.
int CutPartialRecord(const std::string& name, int recordLength);
// Moves the bytes after the first `keep` into the side file; 0 or errno.
int CutFileAt(const std::string& name, int64_t keep);

// What a rebuild did beyond rebuilding: nothing it takes away is lost
// without a word.
struct RebuildReport {
  long double stampMax = 0;  // largest counter-like stamp of an indexed record
  int setAside = 0;          // records copied to the side file, then freed
  int statusRepaired = 0;    // records in use again whose status word was damaged
  std::vector<std::string> notes;  // one line per record concerned
};

// Rebuilds the free chain of an open data file from the records' status
// words; with an index, also takes out of the file the records whose code
// is malformed or already taken (copied first to the side file), and adds
// the keys of the others. A record marked free whose bytes are not what a
// deletion leaves (a damaged status word) is kept in use. Every record kept
// in use gets its key, so the index always agrees with the data; a stamp
// that is no counter value (low bytes set) does not count.
RebuildReport RebuildDataFile(DataFileState& data, IndexFileState* index,
                              void (*progress)() = nullptr);

// Index keys of the stored index that name records at or past
// `recordCount`: records a cut of the data file took away. Reads only; a
// damaged tree counts what can be walked.
int IndexKeysPastEnd(const std::string& indexName, int keyLength, int recordCount);

// Appends whole bytes to `name` + kSideFileSuffix and syncs them; 0 or errno.
int AppendToSideFile(const std::string& name, const uint8_t* bytes, size_t size);

}  // namespace vantu
