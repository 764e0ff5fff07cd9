// The storage engine against SQLite doing the same work: 32,767 five-digit
// codes inserted in ascending and random order, looked up in random order,
// walked in key order and deleted; 632-byte records added, read back in
// random order, and one record read right after opening the file.
//
// Like with like: neither side keeps a journal; SQLite's page cache is as
// large as the data; records go to a rowid table. Adds are measured at two
// durability levels: batched (SQLite one transaction, the engine its
// writes) with one sync at the end on both sides, and each add reaching
// the operating system (SQLite one transaction per add, without sync).
// The engine holds its files for itself, with no lock taken per add, so
// each add case also runs SQLite with locking_mode=EXCLUSIVE: one lock for
// the connection instead of a lock and an unlock per transaction ("_Exclusive").
// Index runs are batched without a sync on both sides. Google Benchmark
// reports wall time and CPU time.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "storage/btree.h"
#include "storage/record_file.h"
#include "storage/storage_engine.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

constexpr int kCodes = 32767;
constexpr int kRecords = kMaxRecordCount - 1;  // record 0 is the header
constexpr int kBody = 632;

// A private directory for the run's files, removed at exit.
fs::path Scratch(const char* name) {
  static const bench::ScratchDir scratch("bench");
  return scratch.dir / name;
}

std::vector<std::string> Codes(bool shuffled, unsigned seed = 7) {
  std::vector<std::string> codes;
  codes.reserve(kCodes);
  char b[8];
  for (int i = 0; i < kCodes; ++i) {
    std::snprintf(b, sizeof b, "%05d", i * 3 % 100000);
    codes.emplace_back(b);
  }
  if (shuffled) std::shuffle(codes.begin(), codes.end(), std::mt19937(seed));
  return codes;
}

// ---- engine ----

struct EngineIndex {
  IndexFileState ix;
  void Create() {
    InitStorageEngine();
    MakeIndex(ix, Scratch("Apr02ixc.A").string(), 5, false);
  }
  void Fill(const std::vector<std::string>& codes) {
    for (int i = 0; i < kCodes; ++i) {
      std::string key = codes[i];
      AddKey(ix, static_cast<int16_t>(i + 1), key);
    }
  }
};

void EngineInsert(benchmark::State& state, bool shuffled) {
  const auto codes = Codes(shuffled);
  for (auto _ : state) {
    EngineIndex e;
    e.Create();
    e.Fill(codes);
    CloseIndex(e.ix);
  }
  state.SetItemsProcessed(state.iterations() * kCodes);
}

void BM_Engine_InsertAscending(benchmark::State& s) {
  EngineInsert(s, false);
}
void BM_Engine_InsertRandom(benchmark::State& s) {
  EngineInsert(s, true);
}

void BM_Engine_LookupRandom(benchmark::State& state) {
  EngineIndex e;
  e.Create();
  e.Fill(Codes(true));
  FlushIndex(e.ix);
  const auto probes = Codes(true, 99);
  for (auto _ : state) {
    for (const std::string& code : probes) {
      std::string key = code;
      int16_t r;
      FindKey(e.ix, r, key);
      if (!LastOpOk()) throw std::runtime_error("missing key");
    }
  }
  CloseIndex(e.ix);
  state.SetItemsProcessed(state.iterations() * kCodes);
}

void BM_Engine_Walk(benchmark::State& state) {
  EngineIndex e;
  e.Create();
  e.Fill(Codes(true));
  FlushIndex(e.ix);
  for (auto _ : state) {
    ResetKeyPosition(e.ix);
    int16_t r;
    std::string key;
    int n = 0;
    for (NextKey(e.ix, r, key); LastOpOk(); NextKey(e.ix, r, key)) ++n;
    if (n != kCodes) throw std::runtime_error("walk short");
  }
  CloseIndex(e.ix);
  state.SetItemsProcessed(state.iterations() * kCodes);
}

void BM_Engine_DeleteAll(benchmark::State& state) {
  const auto codes = Codes(true), order = Codes(true, 5);
  for (auto _ : state) {
    state.PauseTiming();
    EngineIndex e;
    e.Create();
    e.Fill(codes);
    state.ResumeTiming();
    for (const std::string& code : order) {
      std::string key = code;
      int16_t r = 0;
      DeleteKey(e.ix, r, key);
    }
    CloseIndex(e.ix);
  }
  state.SetItemsProcessed(state.iterations() * kCodes);
}

// Every AddRec is a positional write that reaches the operating system,
// so both levels run the same writes; batched ends with one sync.
void EngineAddRecords(benchmark::State& state, bool syncAtEnd) {
  std::vector<uint8_t> rec(kBody, 0x41);
  for (auto _ : state) {
    InitStorageEngine();
    DataFileState f;
    MakeFile(f, Scratch("Apr03dat.A").string(), kBody);
    int16_t r;
    for (int i = 0; i < kRecords; ++i) AddRec(f, r, rec.data());
    if (syncAtEnd) FlushFile(f);
    CloseFile(f);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
void BM_Engine_AddRecordsBatchedSynced(benchmark::State& s) {
  EngineAddRecords(s, true);
}
void BM_Engine_AddRecordsEachToTheOs(benchmark::State& s) {
  EngineAddRecords(s, false);
}

// A full data file on disk for the opening benchmarks.
const std::string& FullDataFile() {
  static const std::string name = [] {
    const std::string n = Scratch("Apr03dat.full").string();
    InitStorageEngine();
    DataFileState f;
    MakeFile(f, n, kBody);
    std::vector<uint8_t> rec(kBody, 0x42);
    int16_t r;
    for (int i = 0; i < kRecords; ++i) AddRec(f, r, rec.data());
    CloseFile(f);
    return n;
  }();
  return name;
}

void BM_Engine_OpenAndReadOne(benchmark::State& state) {
  const std::string& name = FullDataFile();
  std::vector<uint8_t> rec(kBody);
  for (auto _ : state) {
    DataFileState f;
    OpenFile(f, name, kBody);
    GetRec(f, kRecords / 2, rec.data());
    CloseFile(f);
  }
}

void BM_Engine_ReadRecordsRandom(benchmark::State& state) {
  InitStorageEngine();
  DataFileState f;
  MakeFile(f, Scratch("Apr03dat.A").string(), kBody);
  std::vector<uint8_t> rec(kBody, 0x41);
  std::vector<int16_t> order;
  int16_t r;
  for (int i = 0; i < kRecords; ++i) AddRec(f, r, rec.data()), order.push_back(r);
  std::shuffle(order.begin(), order.end(), std::mt19937(3));
  for (auto _ : state)
    for (int16_t n : order) GetRec(f, n, rec.data());
  CloseFile(f);
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// ---- SQLite ----

struct Sqlite {
  sqlite3* db = nullptr;
  bool batched = true;
  // Batched: one transaction; synced: its commit syncs the file; exclusive:
  // the connection keeps its lock on the file from the first write on.
  explicit Sqlite(const char* table, bool batch = true, bool synced = false, bool exclusive = false)
      : batched(batch) {
    const fs::path path = Scratch("bench.sqlite");
    fs::remove(path);
    sqlite3_open(path.c_str(), &db);
    Exec(synced ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=OFF");
    if (exclusive) Exec("PRAGMA locking_mode=EXCLUSIVE");
    Exec("PRAGMA journal_mode=OFF; PRAGMA cache_size=-65536;");
    Exec(table);
    if (batched) Exec("BEGIN");
  }
  ~Sqlite() {
    if (batched) Exec("COMMIT");
    sqlite3_close(db);
  }
  void Exec(const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db));
  }
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    return s;
  }
  static void Run(sqlite3_stmt* s) {
    if (sqlite3_step(s) == SQLITE_ERROR) throw std::runtime_error("sqlite step");
    sqlite3_reset(s);
  }
};

constexpr const char* kCodeTable =
    "CREATE TABLE idx(code TEXT PRIMARY KEY, rec INTEGER) WITHOUT ROWID";
constexpr const char* kDataTable = "CREATE TABLE dat(rec INTEGER PRIMARY KEY, body BLOB)";

void SqliteFill(Sqlite& db, const std::vector<std::string>& codes) {
  sqlite3_stmt* ins = db.Prepare("INSERT INTO idx VALUES(?, ?)");
  for (int i = 0; i < kCodes; ++i) {
    sqlite3_bind_text(ins, 1, codes[i].data(), 5, SQLITE_STATIC);
    sqlite3_bind_int(ins, 2, i + 1);
    Sqlite::Run(ins);
  }
  sqlite3_finalize(ins);
}

void SqliteInsert(benchmark::State& state, bool shuffled) {
  const auto codes = Codes(shuffled);
  for (auto _ : state) {
    Sqlite db(kCodeTable);
    SqliteFill(db, codes);
  }
  state.SetItemsProcessed(state.iterations() * kCodes);
}

void BM_Sqlite_InsertAscending(benchmark::State& s) {
  SqliteInsert(s, false);
}
void BM_Sqlite_InsertRandom(benchmark::State& s) {
  SqliteInsert(s, true);
}

void BM_Sqlite_LookupRandom(benchmark::State& state) {
  Sqlite db(kCodeTable);
  SqliteFill(db, Codes(true));
  const auto probes = Codes(true, 99);
  sqlite3_stmt* q = db.Prepare("SELECT rec FROM idx WHERE code = ?");
  for (auto _ : state) {
    for (const std::string& code : probes) {
      sqlite3_bind_text(q, 1, code.data(), 5, SQLITE_STATIC);
      if (sqlite3_step(q) != SQLITE_ROW) throw std::runtime_error("missing key");
      benchmark::DoNotOptimize(sqlite3_column_int(q, 0));
      sqlite3_reset(q);
    }
  }
  sqlite3_finalize(q);
  state.SetItemsProcessed(state.iterations() * kCodes);
}

void BM_Sqlite_Walk(benchmark::State& state) {
  Sqlite db(kCodeTable);
  SqliteFill(db, Codes(true));
  sqlite3_stmt* q = db.Prepare("SELECT code, rec FROM idx ORDER BY code");
  for (auto _ : state) {
    int n = 0;
    while (sqlite3_step(q) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_text(q, 0));
      ++n;
    }
    sqlite3_reset(q);
    if (n != kCodes) throw std::runtime_error("walk short");
  }
  sqlite3_finalize(q);
  state.SetItemsProcessed(state.iterations() * kCodes);
}

void BM_Sqlite_DeleteAll(benchmark::State& state) {
  const auto codes = Codes(true), order = Codes(true, 5);
  for (auto _ : state) {
    state.PauseTiming();
    auto db = std::make_unique<Sqlite>(kCodeTable);
    SqliteFill(*db, codes);
    sqlite3_stmt* del = db->Prepare("DELETE FROM idx WHERE code = ?");
    state.ResumeTiming();
    for (const std::string& code : order) {
      sqlite3_bind_text(del, 1, code.data(), 5, SQLITE_STATIC);
      Sqlite::Run(del);
    }
    sqlite3_finalize(del);
    db.reset();
  }
  state.SetItemsProcessed(state.iterations() * kCodes);
}

void SqliteAddRecords(Sqlite& db) {
  std::vector<uint8_t> body(kBody, 0x41);
  sqlite3_stmt* ins = db.Prepare("INSERT INTO dat VALUES(?, ?)");
  for (int i = 1; i <= kRecords; ++i) {
    sqlite3_bind_int(ins, 1, i);
    sqlite3_bind_blob(ins, 2, body.data(), kBody, SQLITE_STATIC);
    Sqlite::Run(ins);
  }
  sqlite3_finalize(ins);
}

void SqliteAddRecordsOpened(benchmark::State& state, bool batched, bool exclusive) {
  for (auto _ : state) {
    Sqlite db(kDataTable, batched, batched, exclusive);
    SqliteAddRecords(db);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
void BM_Sqlite_AddRecordsBatchedSynced(benchmark::State& s) {
  SqliteAddRecordsOpened(s, true, false);
}
void BM_Sqlite_AddRecordsBatchedSynced_Exclusive(benchmark::State& s) {
  SqliteAddRecordsOpened(s, true, true);
}
void BM_Sqlite_AddRecordsEachToTheOs(benchmark::State& s) {
  SqliteAddRecordsOpened(s, false, false);
}
void BM_Sqlite_AddRecordsEachToTheOs_Exclusive(benchmark::State& s) {
  SqliteAddRecordsOpened(s, false, true);
}

void BM_Sqlite_OpenAndReadOne(benchmark::State& state) {
  const fs::path path = Scratch("full.sqlite");
  {
    Sqlite db(kDataTable);
    SqliteAddRecords(db);
  }
  fs::rename(Scratch("bench.sqlite"), path);
  std::vector<uint8_t> rec(kBody);
  for (auto _ : state) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db, "SELECT body FROM dat WHERE rec = ?", -1, &q, nullptr);
    sqlite3_bind_int(q, 1, kRecords / 2);
    if (sqlite3_step(q) != SQLITE_ROW) throw std::runtime_error("missing record");
    std::memcpy(rec.data(), sqlite3_column_blob(q, 0), kBody);
    sqlite3_finalize(q);
    sqlite3_close(db);
  }
}

void BM_Sqlite_ReadRecordsRandom(benchmark::State& state) {
  Sqlite db(kDataTable);
  SqliteAddRecords(db);
  std::vector<int> order(kRecords);
  for (int i = 0; i < kRecords; ++i) order[i] = i + 1;
  std::shuffle(order.begin(), order.end(), std::mt19937(3));
  std::vector<uint8_t> rec(kBody);
  sqlite3_stmt* q = db.Prepare("SELECT body FROM dat WHERE rec = ?");
  for (auto _ : state) {
    for (int n : order) {
      sqlite3_bind_int(q, 1, n);
      if (sqlite3_step(q) != SQLITE_ROW) throw std::runtime_error("missing record");
      std::memcpy(rec.data(), sqlite3_column_blob(q, 0), kBody);
      sqlite3_reset(q);
    }
  }
  sqlite3_finalize(q);
  state.SetItemsProcessed(state.iterations() * kRecords);
}

}  // namespace

BENCHMARK(BM_Engine_InsertAscending)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite_InsertAscending)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Engine_InsertRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite_InsertRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Engine_LookupRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite_LookupRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Engine_Walk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite_Walk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Engine_DeleteAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite_DeleteAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Engine_AddRecordsBatchedSynced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sqlite_AddRecordsBatchedSynced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sqlite_AddRecordsBatchedSynced_Exclusive)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Engine_AddRecordsEachToTheOs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sqlite_AddRecordsEachToTheOs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sqlite_AddRecordsEachToTheOs_Exclusive)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Engine_OpenAndReadOne)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sqlite_OpenAndReadOne)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Engine_ReadRecordsRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite_ReadRecordsRandom)->Unit(benchmark::kMillisecond);

}  // namespace vantu
