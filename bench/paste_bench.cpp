// SPDX-License-Identifier: GPL-3.0-or-later
// Spreadsheet paste into the channel grid: 250 rows of 5 columns (receive
// and transmit frequency, two tones, a name) from tab-separated text into an
// empty zone, every cell stored through the channel fields' typing rules as
// Zone Information stores it.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "BenchSupport.h"
#include <cstdlib>
#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/grid/EditGrid.h"
#include "editors/zones/ConvFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace {

// Grid column -> channel field, as in Zone Information.
constexpr int kColumnField[6] = {0, 3, 4, 5, 6, 7};

QString Block() {
  QString text;
  for (int i = 0; i < 250; ++i) {
    const double rx = 150.0 + i * 0.0125;
    text += QStringLiteral("%1\t%2\t67.0\t67.0\tCH%3\n").arg(rx, 0, 'f', 5).arg(rx + 0.6, 0, 'f', 5).arg(i + 1);
  }
  return text;
}

void BM_PasteSpreadsheetIntoEmptyZone(benchmark::State& state) {
  vb420::TextTable text;
  if (text.LoadFile(std::string(VB420_RESOURCE_DIR) + "/vb420.lng", "English") != vb420::TextTable::LoadResult::Ok) {
    state.SkipWithError("language file missing");
    return;
  }
  vb420::RadioData data(&text);
  vb420::InitNewImage(data, true);
  const auto fresh = data.buffers.ImageBytes();
  const auto freshExt = data.buffers.ExtBytes();
  vb420::CZoneMemory zones(data);
  vb420::CConvFields conv(zones, text);
  const QString block = Block();
  int channels = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::copy(fresh.begin(), fresh.end(), data.Image().data());
    std::copy(freshExt.begin(), freshExt.end(), data.Ext().data());
    vb420::CEditGrid grid;
    grid.SetSize(251, 6);
    grid.SetCurrent(1, 1);
    int refused = -1;
    grid.SetCellStore(
        [&](int row, int col, const QString& t) {
          return conv.SetRecordField(0, row - 1, kColumnField[col], t.toStdString(), true).result > 0;
        },
        [&](int r) { refused = r; });
    state.ResumeTiming();
    grid.PasteText(block);
    state.PauseTiming();
    channels = zones.RecordCount(0);
    if (refused != 0 || channels != 250) state.SkipWithError("not every cell was stored");
    state.ResumeTiming();
  }
  state.counters["channels"] = channels;
}
BENCHMARK(BM_PasteSpreadsheetIntoEmptyZone)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  vb420::bench::ErrorCountingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.errors == 0 ? 0 : 1;
}
