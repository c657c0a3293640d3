// The caller database's speed where the program feels it: the scan a call
// makes over every record, and adding records one by one.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "inidb/caller_database_config.h"
#include "inidb/profile_file.h"

namespace {

constexpr int FullDatabase = 999;

class TBenchFolder {
 public:
  TBenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "inidb-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    Dir = pattern;
  }
  ~TBenchFolder() { std::filesystem::remove_all(Dir); }
  std::string File(const std::string& name) const { return Dir + "/" + name; }

 private:
  std::string Dir;
};

std::string NameOf(int i) { return "Caller " + std::to_string(100000 + i * 7919 % 99991); }
std::string NumberOf(int i) { return "555-" + std::to_string(1000 + i); }

void OpenCallers(TIniDBase& db, const std::string& path) {
  ApplyCallerDatabaseConfig(db);
  db.SetFileName(path);
}

// What a call does in Active mode: walk every record looking for the number.
template <bool Cached>
void Scan(TIniDBase& db, const std::string& wanted, int& matches) {
  if (!Cached) ClearProfileCache();
  const int count = db.GetNumRecs();
  const TStringList& list = db.GetRecordList();
  for (int i = 0; i < count && i < list.Count(); ++i) {
    if (!Cached) ClearProfileCache();
    TCallerRecord record;
    db.GetRecord(list[static_cast<std::size_t>(i)], record);
    if (record.CallerID.Get() == wanted) ++matches;
  }
}

template <bool Cached>
void BM_CallLookupScan(benchmark::State& state) {
  TBenchFolder folder;
  const std::string path = folder.File("Callers.DB");
  {
    TIniDBase db;
    OpenCallers(db, path);
    for (int i = 0; i < FullDatabase; ++i) db.AddRecord(MakeCallerRecord(NameOf(i), NumberOf(i)));
  }
  TIniDBase db;
  OpenCallers(db, path);
  db.GetRecordList();
  int matches = 0;
  for (auto _ : state) {
    Scan<Cached>(db, NumberOf(FullDatabase / 2), matches);
    benchmark::DoNotOptimize(matches);
  }
  if (matches != static_cast<int>(state.iterations())) state.SkipWithError("scan missed the caller");
  state.counters["records"] = FullDatabase;
}

void BM_CallLookupScanCached(benchmark::State& state) { BM_CallLookupScan<true>(state); }
void BM_CallLookupScanReparsed(benchmark::State& state) { BM_CallLookupScan<false>(state); }

void BM_Add999OneByOne(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TBenchFolder folder;
    TIniDBase db;
    OpenCallers(db, folder.File("Callers.DB"));
    db.GetRecordList();
    state.ResumeTiming();
    for (int i = 0; i < FullDatabase; ++i) db.AddRecord(MakeCallerRecord(NameOf(i), NumberOf(i)));
    state.PauseTiming();
    if (db.GetNumRecs() != FullDatabase) state.SkipWithError("adds went missing");
    state.ResumeTiming();
  }
  state.counters["per_add"] = benchmark::Counter(
      static_cast<double>(FullDatabase) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_CallLookupScanCached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CallLookupScanReparsed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Add999OneByOne)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
