// SPDX-License-Identifier: GPL-3.0-or-later
// Opening each window with a full channel plan loaded: from the command to
// the window shown and painted, as the user waits for it. Every window of
// the Edit menu, and the editors Zone Information opens for a conventional,
// an LTR and a PassPort zone. Each iteration opens the window on a program
// where it is closed, so that nothing is reused from the last opening.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QElapsedTimer>
#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "frame/ui/Commands.h"
#include "frame/ui/EditorView.h"
#include "BenchSupport.h"
#include "support/Files.h"
#include "support/Programmings.h"

namespace {

using namespace vb420;
using namespace vb420::test;

constexpr int kPassPortZone = 6;

// One running program for every benchmark, started on first use and ended
// by main() before the Qt application (FinishWindowBenchmarks).
std::unique_ptr<AppFixture>& TheProgram() {
  static std::unique_ptr<AppFixture> f;
  return f;
}

AppFixture& Program() {
  std::unique_ptr<AppFixture>& f = TheProgram();
  if (!f) {
    f = std::make_unique<AppFixture>();
    f->languageText = ::vb420::testsupport::ShippedLanguageText();
    if (!f->Start()) std::abort();
    f->Frame().resize(1280, 800);
    f->Frame().show();
    RadioData& d = f->Ws().data;
    testsupport::FillFullPlan(d);
    CZoneMemory zones(d);
    (void)zones.CreateZone(kPassPortZone, '5');
    for (int g = 0; g < 16; ++g) (void)zones.InsertRecord(kPassPortZone, g);
    f->Frame().RefreshAllEditors(nullptr);
    Settle();
  }
  return *f;
}

struct Window {
  std::string name;
  int command = 0;                     // an Edit-menu command, or
  EditorKind kind = EditorKind::None;  // an editor Zone Information opens
  int zone = 0;
};

// Kept apart so that a profiler can be told to look at the opening alone.
[[gnu::noinline]] CChildFrame* Open(AppFixture& f, const Window& w) {
  CEditorView* view = nullptr;
  if (w.command) {
    f.Frame().RunCommand(w.command);
    Settle();
    view = f.Frame().FindEditor(EditorKindOfCommand(w.command, f.Ws().data.model.IsPortable()));
  } else {
    view = f.Frame().OpenEditor(w.kind);
    Settle();
  }
  return view ? qobject_cast<CChildFrame*>(view->parentWidget()) : nullptr;
}

void BM_OpenWindow(benchmark::State& state, const Window& w) {
  AppFixture& f = Program();
  for (auto _ : state) {
    state.PauseTiming();
    f.Frame().RunCommand(kCmdCloseAll);
    Settle();
    if (w.kind != EditorKind::None) {
      auto* info = dynamic_cast<CZnInfoView*>(f.Frame().OpenEditor(EditorKind::ZoneInfo));
      if (!info) {
        state.SkipWithError("Zone Information did not open");
        break;
      }
      info->SetZone(w.zone);
      Settle();
    }
    state.ResumeTiming();
    QElapsedTimer t;
    t.start();
    CChildFrame* frame = Open(f, w);
    state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
    if (!frame) {
      state.SkipWithError((w.name + " opened no window").c_str());
      break;
    }
  }
  f.Frame().RunCommand(kCmdCloseAll);
  Settle();
}

// Every window of the Edit menu open at once, as a technician working
// through a programming has them: the time to open them all, and the
// program's peak memory then (compare bench_ref_bare_mdi's, a bare Qt MDI
// window: /usr/bin/time -v).
void BM_EveryEditWindowOpen(benchmark::State& state) {
  AppFixture& f = Program();
  for (auto _ : state) {
    state.PauseTiming();
    f.Frame().RunCommand(kCmdCloseAll);
    Settle();
    state.ResumeTiming();
    QElapsedTimer t;
    t.start();
    for (const EditorListRow& row : EditorList())
      if (EditorKindOfCommand(row.command, f.Ws().data.model.IsPortable()) != EditorKind::None)
        f.Frame().RunCommand(row.command);
    Settle();
    state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["windows"] = static_cast<double>(f.Frame().Children().size());
  f.Frame().RunCommand(kCmdCloseAll);
  Settle();
}

std::string ClassOf(EditorKind kind) {
  const EditorKindInfo* info = EditorKindInfoOf(kind);
  return info ? info->viewClass : "?";
}

std::vector<Window> Windows() {
  std::vector<Window> out;
  for (const EditorListRow& row : EditorList())
    if (EditorKindOfCommand(row.command, false) != EditorKind::None)
      out.push_back({ClassOf(EditorKindOfCommand(row.command, false)), row.command});
  for (auto [kind, zone] : {std::pair{EditorKind::ChannelEdit, 0}, {EditorKind::ConvZoneEdit, 0},
                            {EditorKind::ScanList, 0}, {EditorKind::GidEdit, 4}, {EditorKind::RepeaterInfo, 4},
                            {EditorKind::TrunkZoneEdit, 4}, {EditorKind::GidEdit, kPassPortZone},
                            {EditorKind::PPSysData, kPassPortZone}, {EditorKind::PPSearchHold, kPassPortZone},
                            {EditorKind::PPSeedFreq, kPassPortZone}, {EditorKind::KeyImage, 0}})
    out.push_back({"zone" + std::to_string(zone + 1) + "/" + ClassOf(kind), 0, kind, zone});
  return out;
}

}  // namespace

// Called by main() once everything is registered: the window list comes
// from the program's own tables.
void RegisterWindowBenchmarks() {
  benchmark::RegisterBenchmark("BM_EveryEditWindowOpen", BM_EveryEditWindowOpen)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(::vb420::bench::QuickRun() ? 1 : 5);
  static const std::vector<Window> windows = Windows();
  for (const Window& w : windows) {
    std::string name = "BM_OpenWindow/" + w.name;
    for (char& c : name)
      if (c == ' ') c = '_';
    benchmark::RegisterBenchmark(name.c_str(), [&w](benchmark::State& s) { BM_OpenWindow(s, w); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(::vb420::bench::QuickRun() ? 1 : 10);
  }
}

void FinishWindowBenchmarks() { TheProgram().reset(); }

#define VB420_BENCH_QT 1
#define VB420_BENCH_FINISH FinishWindowBenchmarks
#define VB420_BENCH_REGISTER RegisterWindowBenchmarks
#include "RegisteredMain.h"
