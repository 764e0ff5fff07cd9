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

#include "storage/btree.h"
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
  // A fault the opening can repair by a regeneration.
  bool Repairable() const {
    return trailingBytes != 0 || freeChainBroken || indexMissing || !indexFault.empty();
  }
  // Faults that no repair touches: the file cannot be used as it is.
  bool Unusable() const { return openError != 0 || lengthStatus != 0; }
  // The reason in words, for messages.
  std::string Reason() const;
};

// Looks at a data file and, when keyLength > 0, its index: the key count
// against the records in use, the tree's order and fill, and every key
// against the code of the record it points to. Reads only.
StoredFileCheck CheckStoredFile(const std::string& dataName, int recordLength,
                                const std::string& indexName, int keyLength);

// Moves the bytes after the last whole record into the side file; 0 or errno.
int CutPartialRecord(const std::string& name, int recordLength);

// Rebuilds the free chain of an open data file from the records' status
// words; with an index, also drops (frees) records whose code is malformed
// or already taken, and adds the keys of the others. Every record kept in
// use gets its key, so the index always agrees with the data; a stamp that
// is no counter value (low bytes set) does not count. Returns the largest
// counter-like stamp of an indexed record.
long double RebuildDataFile(DataFileState& data, IndexFileState* index,
                            void (*progress)() = nullptr);

}  // namespace vantu
