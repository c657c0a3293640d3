// The caller database's speed where the program feels it: the lookup a call
// makes over every record (with files of every age: settled, just changed,
// dated in the future, edited between calls; 999 callers and a hand-made
// file of 10,000), and adding records one by one.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "inidb/caller_database_config.h"
#include "inidb/profile_file.h"

namespace {

constexpr int FullDatabase = 999;
constexpr int HandMadeEntries = 10000;

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

// The file a hand-made import would give: `count` callers, in one go.
void WriteHandMadeFile(const std::string& path, int count) {
  std::string index = "[Index]\r\n", sections;
  for (int i = 0; i < count; ++i) {
    index += NameOf(i) + "=#\r\n";
    sections += "[" + NameOf(i) + "]\r\nCallerID=" + NumberOf(i) + "\r\n";
  }
  std::ofstream(path, std::ios::binary)
      << index << "[Defaults]\r\n_Entries=" << count << "\r\n" << sections;
}

// Sets the file's modification time to `offsetSeconds` from now.
void DateFile(const std::string& path, int offsetSeconds) {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  now.tv_sec += offsetSeconds;
  const struct timespec times[2] = {now, now};
  if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) std::abort();
}

// What a call does in Active mode: walk every record looking for the
// number, asking for the count and the list on every pass, all on one view
// of the file.
int Lookup(TIniDBase& db, const std::string& wanted) {
  const TIniDBSnapshot snapshot(db);
  int matches = 0;
  for (int i = 0; i < db.GetNumRecs(); ++i) {
    const TStringList& list = db.GetRecordList();
    if (i >= list.Count()) break;
    TCallerRecord record;
    db.GetRecord(list[static_cast<std::size_t>(i)], record);
    if (record.CallerID.Get() == wanted) ++matches;
  }
  return matches;
}

enum class TFileAge { Settled, JustTouched, FutureDated, EditedBetweenCalls };

void BM_CallLookup(benchmark::State& state, int callers, TFileAge age) {
  TBenchFolder folder;
  const std::string path = folder.File("Callers.DB");
  if (callers > FullDatabase) {
    WriteHandMadeFile(path, callers);
  } else {
    TIniDBase db;
    OpenCallers(db, path);
    for (int i = 0; i < callers; ++i) db.AddRecord(MakeCallerRecord(NameOf(i), NumberOf(i)));
  }
  if (age == TFileAge::Settled) DateFile(path, -60);
  if (age == TFileAge::FutureDated) DateFile(path, 3600);
  TIniDBase db;
  OpenCallers(db, path);
  db.GetRecordList();
  const std::string wanted = NumberOf(callers / 2);
  int matches = 0;
  int edits = 0;
  for (auto _ : state) {
    if (age == TFileAge::JustTouched || age == TFileAge::EditedBetweenCalls) {
      state.PauseTiming();
      if (age == TFileAge::EditedBetweenCalls) {
        // Another program changes a number in place (a new caller's worth
        // of work: the file must be read, parsed and listed anew).
        TIniDBase other;
        OpenCallers(other, path);
        other.UpdRecord(NameOf(0), MakeCallerRecord(NameOf(0), NumberOf(++edits % 2)));
      }
      DateFile(path, 0);
      state.ResumeTiming();
    }
    matches += Lookup(db, wanted);
    benchmark::DoNotOptimize(matches);
  }
  if (matches < static_cast<int>(state.iterations())) state.SkipWithError("lookup missed the caller");
  state.counters["records"] = callers;
}

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

BENCHMARK_CAPTURE(BM_CallLookup, 999_settled, FullDatabase, TFileAge::Settled)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CallLookup, 999_just_changed, FullDatabase, TFileAge::JustTouched)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CallLookup, 999_future_dated, FullDatabase, TFileAge::FutureDated)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CallLookup, 999_edited_between_calls, FullDatabase,
                  TFileAge::EditedBetweenCalls)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CallLookup, 10000_hand_made_settled, HandMadeEntries, TFileAge::Settled)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CallLookup, 10000_hand_made_future_dated, HandMadeEntries,
                  TFileAge::FutureDated)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CallLookup, 10000_hand_made_edited_between_calls, HandMadeEntries,
                  TFileAge::EditedBetweenCalls)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Add999OneByOne)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  // The key list sorts in the user's collation, as in the program.
  std::setlocale(LC_ALL, "");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
