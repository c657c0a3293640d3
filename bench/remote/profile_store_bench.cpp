// What one keystroke in the Remote Setup dialog costs: the whole profile is
// rewritten value by value, and loading a profile reads it value by value.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "remote/remote_profile_store.h"

namespace {

remote::TRemoteProfile SampleProfile() {
  remote::TRemoteProfile p;
  p.DdeLink = true;
  p.Topic = "System";
  p.ExePath = "/usr/bin/target";
  p.DBPath = "/srv/calls.db";
  p.PokeData = "@CID @CIN";
  p.PokeLocation = "Caller";
  p.Commands = "[open(\"@CID\")]\r\n; comment\r\n[close]";
  p.StartExe = true;
  return p;
}

// A settings file with `profiles` profiles, in a folder of its own.
class StoreWithProfiles {
 public:
  explicit StoreWithProfiles(int profiles) {
    qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
    for (int i = 0; i < profiles; ++i) remote::WriteProfile(QString("Profile %1").arg(i), SampleProfile());
  }

 private:
  QTemporaryDir dir_;
};

void BM_SaveProfilePerKeystroke(benchmark::State& state) {
  StoreWithProfiles store(static_cast<int>(state.range(0)));
  remote::TRemoteProfile p = SampleProfile();
  int n = 0;
  for (auto _ : state) {
    p.Topic = QString::number(++n);
    remote::WriteProfile("Profile 0", p);
  }
}
BENCHMARK(BM_SaveProfilePerKeystroke)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_LoadProfile(benchmark::State& state) {
  StoreWithProfiles store(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(remote::ReadProfile("Profile 0"));
}
BENCHMARK(BM_LoadProfile)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
