#pragma once
// Record files: fixed-length records numbered from 0, record 0 the header.
//
// Header (record 0), little-endian:
//   offset width field
//   0      i16   FreeHead      first free record, -1 when none
//   2      i16   FreeCount     records on the free chain
//   4      i16   RootPage      index files: root page (0 = empty tree); data files: 0
//   6      i16   RecordLength  record length the file was created with
//   8      ...   application area, preserved by the engine, except:
//   11     10    AddedCounter  data files: records ever added (x87 extended real)
//
// Data record (records 1 and up):
//   0      i16   RecordStatus  0 in use; on a free record the link to the next (-1 = last)
//   2      10    RecordStamp   AddedCounter when AddRec created the record
//   12     ...   record body
//
// A deleted data record and a released index page are written whole: the
// link, then zeros. The chain is last freed, first reused.
//
// Order of the writes while a set is edited, and what a stop after each
// leaves. The in-use marker is on disk before the first of them (file
// sets), so the next start repairs the set from the data records' status
// words (file_repair.h); the header's chain and the index are rebuilt, never
// trusted after a stop.
//
//   operation  writes, in order              a stop between them leaves
//   AddRec     1 header AddedCounter (11-20) the counter ahead of every stamp
//              2 the whole record r          r free (zeros or link) or in use
//   DeleteRec  1 the whole record r: link,   r in use, or free by its status
//                then zeros
//   PutRec     1 the whole record            the old or the new record
//   page out   1 the whole page (PutRec)     an index rebuilt at the next start
//   FlushFile  1 header bytes 0-7, 2 sync    a header the repair rewrites
//   CloseFile  1 header bytes 0-7            the same
//
// The header's FreeHead and FreeCount reach the disk only at flush and
// close, after the records they describe: a header written earlier than a
// record it names could not be told from a damaged one, while a stale
// header is always rebuilt. Record writes are whole records, so a write cut
// short can only leave a partial record at the file's end, which the repair
// moves to a side file.
//
// Every operation succeeds or ends the program through the engine's error
// box (storage_engine.h), which names the file. Only MakeFile and OpenFile
// report a file that cannot be created or opened, through LastOpOk, with
// the operating system's reason in Engine().OpenError.
//
// File names are paths used whole, up to 260 characters (the data
// directory alone may take 160); a longer name is refused: LastOpOk false,
// OpenError ENAMETOOLONG. A name is never cut, since a cut path would
// name another file.

#include <cstdint>
#include <string>

namespace vantu {

constexpr int kMinRecordLength = 8;
constexpr int kMaxRecordLength = 1024;
constexpr int kMaxRecordCount = 32767;  // record numbers are i16
constexpr int kMaxFileNameLength = 260;

// Header offsets.
constexpr int kHdrFreeHead = 0;
constexpr int kHdrFreeCount = 2;
constexpr int kHdrRootPage = 4;
constexpr int kHdrRecordLength = 6;
constexpr int kHdrAddedCounter = 11;
constexpr int kEngineHeaderBytes = 8;  // bytes the engine rewrites at flush and close
// Record prefix offsets.
constexpr int kRecStatus = 0;
constexpr int kRecStamp = 2;
constexpr int kRecordPrefixBytes = 12;

// Caller-owned state of one open record file.
struct DataFileState {
  std::string name;  // operating-system file name
  int handle = -1;
  bool isOpen = false;
  int16_t FreeHead = -1;
  int16_t FreeCount = 0;
  int16_t RootPage = 0;
  int16_t RecordLength = 0;
  int16_t RecordCount = 0;  // records including record 0; the next to append
};

// Creates (or truncates) a file with an empty header. LastOpOk false when
// it cannot be created; lengths outside 8..1024 are fatal (1000, 1001).
void MakeFile(DataFileState& f, const std::string& name, int recordLength);
// As MakeFile, but an existing file is written over from record 0 rather
// than truncated first; records past the new header stay on disk until
// CutFileToRecords. Truncating a large file costs the file system far more
// than writing over it, and a rebuild mostly writes the same records again.
void MakeFileInPlace(DataFileState& f, const std::string& name, int recordLength);
// Cuts the file after its last record (RecordCount), when it is longer.
void CutFileToRecords(DataFileState& f);
// Opens an existing file. LastOpOk false when it cannot be opened; a stored
// record length other than the declared one is fatal (1003). The free chain
// and the file size are checked against the header.
void OpenFile(DataFileState& f, const std::string& name, int recordLength);
// OpenFile with the status that a mismatching stored length ends in.
void OpenRecordFile(DataFileState& f, const std::string& name, int recordLength,
                    int16_t mismatchStatus);
// OpenFile without the walk of the free chain, for the repair that
// rebuilds the chain.
void OpenFileUnchecked(DataFileState& f, const std::string& name, int recordLength);
// Writes the header, then closes.
void CloseFile(DataFileState& f);
// Writes the header and syncs; the file stays open.
void FlushFile(DataFileState& f);

// Stamps bytes 0..11 of buf, writes it as a new record (a free one first)
// and returns its number in r.
void AddRec(DataFileState& f, int16_t& r, uint8_t* buf);
// Zeroes record r and puts it on the free chain.
void DeleteRec(DataFileState& f, int16_t r);
void GetRec(DataFileState& f, int16_t r, uint8_t* buf);
void PutRec(DataFileState& f, int16_t r, const uint8_t* buf);

inline int UsedRecordCount(const DataFileState& f) {
  return f.RecordCount - f.FreeCount - 1;
}
inline int FileRecordCount(const DataFileState& f) {
  return f.RecordCount;
}

// For the index pages: takes a record number (a free one first, else the
// next to append) and gives a record back to the chain, writing only its link.
int16_t NewRecordNumber(DataFileState& f);
void ReleaseRecord(DataFileState& f, int16_t r);

// Reads the free-chain link stored in record r.
int16_t ReadLink(DataFileState& f, int16_t r);
// Walks the chain from the in-memory header: exactly FreeCount links inside
// the file, then the end mark.
bool FreeChainIsSound(DataFileState& f);

// Little-endian i16 in a byte buffer.
inline int16_t GetI16(const uint8_t* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}
inline void PutI16(uint8_t* p, int16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

}  // namespace vantu
