// The second lookup pass over 999 callers whose numbers are written in the
// ways people write them: once the stored numbers are known (every call
// after the first) and on the first call, which reads them all.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "inidb/caller_database_config.h"
#include "numbers/equivalent_callers.h"

namespace {

constexpr int kCallers = 999;

class TBenchFolder {
 public:
  TBenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "numbers-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
  }
  ~TBenchFolder() { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
};

// Caller i's number, in one of the ways an address book holds it.
std::string NumberOf(int i) {
  char text[32];
  switch (i % 4) {
    case 0: std::snprintf(text, sizeof text, "212-%03d-%04d", 200 + i % 700, i); break;
    case 1: std::snprintf(text, sizeof text, "+1 (646) %03d-%04d", 200 + i % 700, i); break;
    case 2: std::snprintf(text, sizeof text, "+44 20 7946 %04d", i); break;
    default: std::snprintf(text, sizeof text, "1-718-%03d-%04d", 200 + i % 700, i); break;
  }
  return text;
}

// A full database, left untouched long enough that reads of it are cached
// as in a running program.
class TFullDatabase {
 public:
  TFullDatabase() {
    ApplyCallerDatabaseConfig(db);
    db.SetFileName(folder_.File("Callers.DB"));
    for (int i = 0; i < kCallers; ++i)
      db.AddRecord(MakeCallerRecord("Caller " + std::to_string(1000 + i), NumberOf(i)));
    const auto path = std::filesystem::path(folder_.File("Callers.DB"));
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) -
                                               std::chrono::minutes(1));
    db.GetRecordList();
  }
  TIniDBase db;

 private:
  TBenchFolder folder_;
};

// Caller 1500's number as the line sends it: the same number, another form.
constexpr char kCallFromCaller500[] = "12127000500";  // stored as 212-700-0500

void BM_SecondPassKnownNumbers(benchmark::State& state) {
  TFullDatabase full;
  numbers::TEquivalentCallers pass("US");
  pass.Find(full.db, kCallFromCaller500);
  for (auto _ : state) {
    const auto callers = pass.Find(full.db, kCallFromCaller500);
    if (callers.size() != 1) state.SkipWithError("the caller was not found");
    benchmark::DoNotOptimize(callers);
  }
  state.counters["callers"] = kCallers;
}

void BM_SecondPassFirstCall(benchmark::State& state) {
  TFullDatabase full;
  for (auto _ : state) {
    numbers::TEquivalentCallers pass("US");
    const auto callers = pass.Find(full.db, kCallFromCaller500);
    if (callers.size() != 1) state.SkipWithError("the caller was not found");
    benchmark::DoNotOptimize(callers);
  }
  state.counters["callers"] = kCallers;
}

}  // namespace

BENCHMARK(BM_SecondPassKnownNumbers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecondPassFirstCall)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
