#pragma once
// Rama and Obra file sets and the eleven work areas through which every
// module reaches its files.
//
// Files: "<base>dat.<ext>" and its index "<base>ixc.<ext>" in the data
// directory; base "Apr01".."Apr06"; ext the Rama code (files 1-5) or Rama
// and Obra codes (file 6).
//
// Header application area of every data file (record 0):
//   offset width field
//   8      1     ChangeMarker  1 in a new file and after recovery
//   9      i16   SetSerial     calculation generation of the set
//   11     10    AddedCounter  records ever added (engine)
// File 6 keeps further header fields after offset 20.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "session/work_area_ids.h"
#include "storage/btree.h"
#include "storage/record_file.h"

namespace vantu {

constexpr int kHdrChangeMarker = 8;
constexpr int kHdrSetSerial = 9;
// Every record of an indexed file begins with its status (i16), the stamp
// AddRec writes (10 bytes) and its code, the index key (string[6]).
constexpr int kRecordStampAt = 2;
constexpr int kRecordCode = 12;
constexpr int kRecordCodeLength = 6;

// Record lengths of files 1..6.
constexpr std::array<int, 7> kSetRecordLength = {0, 152, 94, 632, 144, 108, 144};

enum FileKind : uint8_t {
  kIndexedFile = 0,   // data file with index
  kPlainFile = 1,     // data file without index (file 5)
  kSingleRecord = 2,  // data file without index holding one record (file 1)
  kNoFile = 3,        // entries 0, 7, 8, 9, 10
};

// The files of one work area and where a module stands in them. What the
// screen keeps per area (title, buttons, browsing) is the area's view,
// above storage.
struct WorkArea {
  std::string BaseName;
  std::string Extension;
  int16_t KeyLength = 0;
  uint8_t FileKind = kNoFile;
  int16_t RecordLength = 0;
  DataFileState Data;
  IndexFileState Index;
  int16_t CurrentRecord = 0;
  std::string CurrentKey;
  bool CreatedAnew = false;
  uint8_t SavedChangeMarker = 0;
  int16_t SavedSetSerial = 0;
  bool IsEmpty = false;
  bool indexRebuilt = false;  // the index was missing and was rebuilt at open
};

// Areas 0..10. Entries hold engine state and must not move while open.
WorkArea& Area(int n);
// Also puts FileSetGuards() back.
void ResetWorkAreas();

// What the opening of a set guarantees; the program turns it on at start.
struct FileSetGuard {
  // The in-use marker is written (and read back) before any file of the
  // set changes; a marker that cannot be written stops the opening.
  bool markBeforeWriting = false;
};
FileSetGuard& FileSetGuards();

// File names in the current data directory.
std::string DataFileName(int fileNo, const std::string& ext);
std::string IndexFileName(int fileNo, const std::string& ext);
// "Apr0<n>dat." + ext; the bare name without directory.
std::string DataBaseName(int fileNo, const std::string& ext);
// Path of name in dir; an existing file whose name differs only in letter
// case is found too.
std::string FindFileIn(const std::string& dir, const std::string& name);

void SetUpWorkArea(int n, int recordLength);
void OpenWorkArea(int n, bool filesClosed, uint8_t* buffer, const std::string& ext,
                  int recordLength);
// Opens the area's files, or creates them for a new Rama or Obra. Checks
// first (a damaged set is refused, a repairable file is repaired), marks
// the set in use, then creates or writes.
void OpenOrCreateFiles(int n);
void LoadFirstRecord(int n, uint8_t* buffer);
void FlushWorkArea(int n);
int CloseWorkArea(int n);
std::string BuildSetHeaderLine(const std::string& ramaName, const std::string& obraName);
// "RAMA : [A] - name" and "OBRA : 01 - name", a missing name said so.
std::string RamaTitleLine(const std::string& code, const std::string& name);
std::string ObraTitleLine(const std::string& code, const std::string& name);
void ConvertOldGeneralData(const std::string& ext);

// Well-formed record code: 2 digits above 0, or 2 + 3, or 2 + 4 digits
// whose parts are above 0.
bool WellFormedCode(const std::string& code);

}  // namespace vantu
