// Costs of forwarding a call apart from its fixed waits: expanding the
// profile's texts and starting a program.
#include <benchmark/benchmark.h>

#include "platform/process_start.h"
#include "remote/placeholders.h"

namespace {

TPlaceholderSources Sources() {
  TPlaceholderSources sources;
  sources.LineName = [] { return std::string("ttyUSB0"); };
  return sources;
}

// One command line of a DDE Link profile.
void BM_ExpandCommandLine(benchmark::State& state) {
  const TPlaceholderSources sources = Sources();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        SubstitutePlaceholders("[OpenCall(\"@CID\", \"@CIN\", \"@DATE @TIME\")]", "555-123-4567",
                               "Jane Doe", sources));
  }
}
BENCHMARK(BM_ExpandCommandLine);

// A whole script with a placeholder every few lines, of the given size.
void BM_ExpandScript(benchmark::State& state) {
  const TPlaceholderSources sources = Sources();
  std::string script;
  while (script.size() < static_cast<std::size_t>(state.range(0))) {
    script += "echo \"@CID\" >> calls.log\r\nlogger -t quorvel \"call at @TIME on @PORT\"\r\n";
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(SubstitutePlaceholders(script, "555-123-4567", "Jane Doe", sources));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ExpandScript)->Arg(1 << 10)->Arg(64 << 10);

// Starting a program detached, until it is known to run.
void BM_StartProcessDetached(benchmark::State& state) {
  for (auto _ : state) {
    if (platform::StartProcessDetached("true", {}) != 0) state.SkipWithError("start failed");
  }
}
BENCHMARK(BM_StartProcessDetached)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
