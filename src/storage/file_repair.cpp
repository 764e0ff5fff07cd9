#include "storage/file_repair.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "session/pstring.h"
#include "storage/file_io.h"
#include "storage/file_sets.h"
#include "storage/index_check.h"
#include "storage/real10.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

// Runs of records read at once: large enough that the system calls do not
// count, small enough to stay in the processor's cache while the records
// are looked at.
constexpr int64_t kChunkBytes = 64 * 1024;

// A buffer for a run of records, never zero-filled: every byte used is
// read first.
struct RecordChunk {
  std::unique_ptr<uint8_t[]> bytes;
  size_t capacity = 0;
  uint8_t* Reserve(size_t n) {
    if (n > capacity) {
      bytes.reset(new uint8_t[n]);
      capacity = n;
    }
    return bytes.get();
  }
};

// Reads records [first, first + n) of an open file in one call.
const uint8_t* ReadRecords(DataFileState& f, int first, int n, RecordChunk& into) {
  const size_t length = static_cast<size_t>(n) * f.RecordLength;
  uint8_t* bytes = into.Reserve(length);
  size_t done = 0;
  const int err =
      Files().ReadAt(f.handle, static_cast<int64_t>(first) * f.RecordLength, bytes, length, done);
  if (err != 0) FailEngine(StatusFromOsError(err, kStatusReadError), f.name);
  if (done != length) FailEngine(kStatusReadError, f.name);
  return bytes;
}

void WriteLink(DataFileState& f, int16_t r, int16_t link) {
  uint8_t bytes[2];
  PutI16(bytes, link);
  size_t done = 0;
  const int err =
      Files().WriteAt(f.handle, static_cast<int64_t>(r) * f.RecordLength, bytes, 2, done);
  if (err != 0) FailEngine(StatusFromOsError(err, kStatusWriteError), f.name);
  if (done != 2) FailEngine(kStatusDiskFull, f.name);
}

// The parts of an index file the check walks, held in one buffer.
struct IndexImage {
  std::vector<uint8_t> bytes;
  int keyLength = 0;
  int pageLength = 0;
  int pages = 0;  // records, header included
  std::vector<bool> seen;
  std::vector<IndexEntry> entries;
  int leafDepth = -1;
  std::string fault;

  const uint8_t* Page(int p) const { return bytes.data() + static_cast<size_t>(p) * pageLength; }
  const uint8_t* ItemOf(const uint8_t* page, int i) const {
    return page + kPageHeaderBytes + (i - 1) * (keyLength + 5);
  }
  int16_t Child(const uint8_t* page, int i) const {
    return i == 0 ? GetI16(page + 1) : GetI16(ItemOf(page, i) + kItemRight);
  }

  void Fail(const std::string& what) {
    if (fault.empty()) fault = what;
  }

  void Visit(int16_t p, int depth, bool root) {
    if (!fault.empty()) return;
    if (p < 1 || p >= pages) return Fail("pagina fuera del archivo");
    if (seen[p]) return Fail("pagina alcanzada dos veces");
    if (depth > kMaxTreeDepth) return Fail("arbol demasiado profundo");
    seen[p] = true;
    const uint8_t* page = Page(p);
    const int n = page[0];
    if (n > kPageCapacity || n < (root ? 1 : kPageMinimum)) return Fail("pagina mal llena");
    const bool leaf = GetI16(page + 1) == 0;
    if (leaf && leafDepth < 0) leafDepth = depth;
    if (leaf && depth != leafDepth) return Fail("hojas a distinta profundidad");
    for (int i = 0; i <= n && fault.empty(); ++i) {
      if ((Child(page, i) == 0) != leaf) return Fail("pagina mezcla hoja e interior");
      if (i > 0) AddEntry(ItemOf(page, i));
      if (!leaf) Visit(Child(page, i), depth + 1, false);
    }
  }

  void AddEntry(const uint8_t* item) {
    const int length = item[kItemKey];
    if (length > keyLength) return Fail("llave mas larga que el indice");
    IndexEntry e{std::string(reinterpret_cast<const char*>(item + kItemKey + 1), length),
                 GetI16(item + kItemRecord)};
    if (!entries.empty() && CompareKeys(entries.back().key, e.key, 0, false, 0) >= 0)
      return Fail("llaves fuera de orden");
    entries.push_back(std::move(e));
  }

  void FreeChain(int16_t head, int count) {
    int16_t r = head;
    for (int i = 0; i < count && fault.empty(); ++i) {
      if (r < 1 || r >= pages || seen[r]) return Fail("cadena de paginas libres invalida");
      seen[r] = true;
      r = GetI16(Page(r));
    }
    if (fault.empty() && r != -1) Fail("cadena de paginas libres invalida");
    for (int p = 1; p < pages && fault.empty(); ++p)
      if (!seen[p]) Fail("pagina perdida");
  }
};

// Keys against the records they point to: in use, and carrying that code.
// Also the largest counter-like stamp of the records named.
std::string CheckKeysAgainstData(DataFileState& data, const std::vector<IndexEntry>& entries,
                                 int keyLength, long double& stampMax) {
  uint8_t head[kRecordCode + 7];
  for (const IndexEntry& e : entries) {
    if (e.record < 1 || e.record >= data.RecordCount) return "llave con registro fuera del archivo";
    size_t done = 0;
    const int64_t at = static_cast<int64_t>(e.record) * data.RecordLength;
    if (Files().ReadAt(data.handle, at, head, sizeof head, done) != 0 || done != sizeof head)
      return "registro ilegible";
    if (GetI16(head) != 0) return "llave " + e.key + " de un registro libre";
    if (ReadStr(head + kRecordCode, 6).substr(0, keyLength) != e.key)
      return "llave " + e.key + " distinta del codigo de su registro";
    if (head[kRecStamp] == 0 && head[kRecStamp + 1] == 0)
      stampMax = std::max(stampMax, LoadReal10(head + kRecStamp));
  }
  return {};
}

int KeysPastEnd(const std::vector<IndexEntry>& entries, int recordCount) {
  return static_cast<int>(std::count_if(entries.begin(), entries.end(), [&](const IndexEntry& e) {
    return e.record >= recordCount;
  }));
}

std::string CheckIndex(DataFileState& data, const std::string& indexName, int keyLength,
                       StoredFileCheck& c, long double& stampMax) {
  IndexImage ix;
  ix.keyLength = keyLength;
  ix.pageLength = PageLength(keyLength);
  int64_t size = 0;
  if (FileSize(indexName, size) != 0) return "indice ilegible";
  if (size < kEngineHeaderBytes) return "indice sin encabezado";
  ix.bytes.resize(static_cast<size_t>(size));
  if (ReadFileRange(indexName, 0, ix.bytes.data(), ix.bytes.size()) != 0) return "indice ilegible";
  if (GetI16(ix.bytes.data() + kHdrRecordLength) != ix.pageLength)
    return "longitud de pagina distinta";
  if (size % ix.pageLength != 0) return "indice termina dentro de una pagina";
  ix.pages = static_cast<int>(std::min<int64_t>(size / ix.pageLength, kMaxRecordCount));
  ix.seen.assign(ix.pages, false);
  const int16_t root = GetI16(ix.bytes.data() + kHdrRootPage);
  if (root != 0) ix.Visit(root, 1, true);
  if (ix.fault.empty())
    ix.FreeChain(GetI16(ix.bytes.data() + kHdrFreeHead), GetI16(ix.bytes.data() + kHdrFreeCount));
  if (!ix.fault.empty()) return ix.fault;
  c.keysPastEnd = KeysPastEnd(ix.entries, data.RecordCount);
  if (static_cast<int>(ix.entries.size()) != UsedRecordCount(data))
    return std::to_string(ix.entries.size()) + " llaves para " +
           std::to_string(UsedRecordCount(data)) + " registros en uso";
  return CheckKeysAgainstData(data, ix.entries, keyLength, stampMax);
}

}  // namespace

int IndexKeysPastEnd(const std::string& indexName, int keyLength, int recordCount) {
  IndexImage ix;
  ix.keyLength = keyLength;
  ix.pageLength = PageLength(keyLength);
  int64_t size = 0;
  if (FileSize(indexName, size) != 0 || size < ix.pageLength) return 0;
  ix.bytes.resize(static_cast<size_t>(size - size % ix.pageLength));
  if (ReadFileRange(indexName, 0, ix.bytes.data(), ix.bytes.size()) != 0) return 0;
  if (GetI16(ix.bytes.data() + kHdrRecordLength) != ix.pageLength) return 0;
  ix.pages = static_cast<int>(std::min<int64_t>(size / ix.pageLength, kMaxRecordCount));
  ix.seen.assign(ix.pages, false);
  const int16_t root = GetI16(ix.bytes.data() + kHdrRootPage);
  if (root != 0) ix.Visit(root, 1, true);
  return KeysPastEnd(ix.entries, recordCount);
}

std::string StoredFileCheck::Reason() const {
  if (openError != 0) return StatusText(StatusFromOsError(openError, kStatusReadError));
  if (lengthStatus != 0) return StatusText(lengthStatus);
  if (keysPastEnd != 0)
    return "El archivo termina antes de " + std::to_string(keysPastEnd) +
           " registros que su indice nombra (fue cortado): esos registros ya no estan";
  if (trailingBytes != 0) return "El archivo termina dentro de un registro";
  if (freeChainBroken) return StatusText(kStatusFreeChain);
  if (indexMissing) return "Falta el indice";
  if (!indexFault.empty()) return "Indice danado: " + indexFault;
  if (counterLow) return "El contador de registros es menor que el sello de un registro";
  if (foreignRecords != 0)
    return "El archivo tiene " + std::to_string(foreignRecords) +
           " registros ajenos al final (agregados por una copia defectuosa)";
  return {};
}

namespace {

// Header word of the global prices file: the highest record number handed
// out. Every record the program writes there keeps its own number at 2.
constexpr int kGlobalHighestOffset = 18;
constexpr int kGlobalOwnNumberOffset = 2;

int16_t ReadWordAt(DataFileState& data, int64_t at, bool& ok) {
  uint8_t word[2] = {};
  size_t done = 0;
  ok = Files().ReadAt(data.handle, at, word, 2, done) == 0 && done == 2;
  return GetI16(word);
}

}  // namespace

int ForeignTrailingRecords(DataFileState& data, uint8_t fileKind) {
  const int count = FileRecordCount(data);
  if (fileKind == kSingleRecord) return std::max(0, count - 2);
  if (fileKind != kPlainFile) return 0;
  bool ok = false;
  const int highest = ReadWordAt(data, kGlobalHighestOffset, ok);
  if (!ok) return 0;
  for (int r = std::max(highest + 1, 1); r < count; ++r) {
    const int64_t at = static_cast<int64_t>(r) * data.RecordLength;
    const int16_t status = ReadWordAt(data, at, ok);
    const bool own = ok && (status == 0 || status == -1) &&
                     ReadWordAt(data, at + kGlobalOwnNumberOffset, ok) == r && ok;
    if (!own) return count - r;
  }
  return 0;
}

StoredFileCheck CheckStoredFile(const std::string& dataName, int recordLength,
                                const std::string& indexName, int keyLength,
                                uint8_t fileKind) {
  StoredFileCheck c;
  DataFileState data;
  data.name = dataName;
  c.openError = Files().Open(dataName, data.handle);
  if (c.openError != 0) return c;
  data.isOpen = true;
  data.RecordLength = static_cast<int16_t>(recordLength);
  int64_t size = 0;
  uint8_t h[kEngineHeaderBytes] = {};
  size_t done = 0;
  const int sizeError = Files().Size(data.handle, size);
  if (sizeError == 0 && size == 0) {
    c.lengthStatus = kStatusEmptyFile;
  } else if (sizeError != 0 || size < recordLength ||
      Files().ReadAt(data.handle, 0, h, sizeof h, done) != 0 || done != sizeof h) {
    c.lengthStatus = kStatusReadError;
  } else if (GetI16(h + kHdrRecordLength) != recordLength) {
    c.lengthStatus = kStatusDataLength;
  } else {
    c.trailingBytes = size % recordLength;
    data.FreeHead = GetI16(h + kHdrFreeHead);
    data.FreeCount = GetI16(h + kHdrFreeCount);
    data.RecordCount =
        static_cast<int16_t>(std::min<int64_t>(size / recordLength, kMaxRecordCount));
    c.freeChainBroken = !FreeChainIsSound(data);
    if (keyLength == 0) c.foreignRecords = ForeignTrailingRecords(data, fileKind);
    if (keyLength > 0 && !c.freeChainBroken) {
      c.indexMissing = !Files().Exists(indexName);
      long double stampMax = 0;
      if (!c.indexMissing) c.indexFault = CheckIndex(data, indexName, keyLength, c, stampMax);
      // The counter gives the next stamp: one below a stamp in use would
      // give it again.
      uint8_t counter[10] = {};
      if (c.indexFault.empty() && !c.indexMissing && recordLength >= kHdrAddedCounter + 10 &&
          Files().ReadAt(data.handle, kHdrAddedCounter, counter, 10, done) == 0 && done == 10)
        c.counterLow = LoadReal10(counter) < stampMax;
    }
  }
  Files().Close(data.handle);
  return c;
}

int CutPartialRecord(const std::string& name, int recordLength) {
  int64_t size = 0;
  if (int err = FileSize(name, size); err != 0) return err;
  return CutFileAt(name, size - size % recordLength);
}

int CutFileAt(const std::string& name, int64_t keep) {
  int64_t size = 0;
  if (int err = FileSize(name, size); err != 0) return err;
  if (keep >= size) return 0;
  std::vector<uint8_t> tail(static_cast<size_t>(size - keep));
  if (int err = ReadFileRange(name, keep, tail.data(), tail.size()); err != 0) return err;
  // The side file is written and synced before the data file is cut, so a
  // stop in between leaves the bytes in both places, never in neither.
  if (int err = AppendToSideFile(name, tail.data(), tail.size()); err != 0) return err;
  int h = -1;
  if (int err = Files().Open(name, h); err != 0) return err;
  int err = Files().Truncate(h, keep);
  if (err == 0) err = Files().Sync(h);
  const int closed = Files().Close(h);
  return err != 0 ? err : closed;
}

int AppendToSideFile(const std::string& name, const uint8_t* bytes, size_t size) {
  const std::string side = name + kSideFileSuffix;
  int h = -1;
  int err = Files().Exists(side) ? Files().Open(side, h) : Files().Create(side, h);
  if (err != 0) return err;
  int64_t at = 0;
  size_t done = 0;
  err = Files().Size(h, at);
  if (err == 0) err = Files().WriteAt(h, at, bytes, size, done);
  if (err == 0 && done != size) err = ENOSPC;
  if (err == 0) err = Files().Sync(h);
  const int closeErr = Files().Close(h);
  return err != 0 ? err : closeErr;
}

namespace {

// Printable code of a damaged record, for messages.
std::string ShownCode(const uint8_t* rec) {
  std::string code = ReadStr(rec + kRecordCode, 6);
  for (char& ch : code)
    if (static_cast<unsigned char>(ch) < 32 || static_cast<unsigned char>(ch) > 126) ch = '?';
  return code;
}

std::string RecordNote(int b, const uint8_t* rec, const char* what) {
  return "registro " + std::to_string(b) + " (codigo \"" + ShownCode(rec) + "\"): " + what;
}

// A record the status word calls free is one only when it holds what a
// deletion leaves: the link and zeros. Anything else is a record in use
// whose status word was damaged.
bool HoldsData(const uint8_t* rec, int len) {
  return std::any_of(rec + 2, rec + len, [](uint8_t v) { return v != 0; });
}

}  // namespace

RebuildReport RebuildDataFile(DataFileState& data, IndexFileState* index, void (*progress)()) {
  RebuildReport report;
  const int count = FileRecordCount(data);
  const int len = data.RecordLength;
  std::vector<int16_t> status(static_cast<size_t>(std::max(count, 1)), 0);
  std::vector<bool> dropped(status.size(), false);
  std::vector<bool> repaired(status.size(), false);
  std::vector<uint8_t> setAside;  // the dropped records, whole, in file order
  // One buffer for every rebuild: a fresh one would cost a page fault for
  // each of its pages at every file.
  static RecordChunk chunk;
  const int perChunk = static_cast<int>(std::max<int64_t>(1, kChunkBytes / len));
  for (int first = 1; first < count; first += perChunk) {
    const int n = std::min(perChunk, count - first);
    const uint8_t* records = ReadRecords(data, first, n, chunk);
    for (int i = 0; i < n; ++i) {
      const int b = first + i;
      if (progress && b % 30 == 0) progress();
      const uint8_t* rec = records + static_cast<size_t>(i) * len;
      status[b] = GetI16(rec);
      if (status[b] != 0 && HoldsData(rec, len)) {
        status[b] = 0;
        if (index) {
          repaired[b] = true;
          ++report.statusRepaired;
          report.notes.push_back(RecordNote(b, rec, "estado danado, se conserva en uso"));
        }
      }
      if (status[b] != 0 || !index) continue;
      std::string code = ReadStr(rec + kRecordCode, 6);
      const bool wellFormed = WellFormedCode(code);
      if (wellFormed) AddKey(*index, static_cast<int16_t>(b), code);
      if (!wellFormed || !LastOpOk()) {
        // The first record carrying a code keeps it; the record is kept
        // in the side file for the consultant.
        dropped[b] = true;
        setAside.insert(setAside.end(), rec, rec + len);
        report.notes.push_back(
            RecordNote(b, rec, wellFormed ? "codigo repetido" : "codigo danado"));
        continue;
      }
      // A stamp whose low bytes are set is no counter value: the record
      // keeps its key, but its stamp does not move the counter.
      if (rec[kRecStamp] == 0 && rec[kRecStamp + 1] == 0)
        report.stampMax = std::max(report.stampMax, LoadReal10(rec + kRecStamp));
    }
  }
  // Kept on disk before the first of them is freed.
  if (!setAside.empty()) {
    if (int err = AppendToSideFile(data.name, setAside.data(), setAside.size()); err != 0)
      FailEngine(StatusFromOsError(err, kStatusWriteError), data.name + kSideFileSuffix);
    report.setAside = static_cast<int>(setAside.size() / static_cast<size_t>(len));
  }
  // The chain runs upwards, so the lowest free record is reused first.
  int16_t next = -1;
  int16_t freeCount = 0;
  for (int b = count - 1; b >= 1; --b) {
    const int16_t r = static_cast<int16_t>(b);
    if (status[b] == 0 && !dropped[b]) {
      if (repaired[b]) WriteLink(data, r, 0);  // in use again
      continue;
    }
    if (dropped[b]) {
      data.FreeHead = next;  // DeleteRec links the zeroed record to `next`
      DeleteRec(data, r);
    } else if (status[b] != next) {
      WriteLink(data, r, next);
    }
    next = r;
    ++freeCount;
  }
  data.FreeHead = next;
  data.FreeCount = freeCount;
  return report;
}

}  // namespace vantu
