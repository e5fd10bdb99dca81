// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report: the PDF of a full programming, the page count the
// options dialog recomputes after a box changes, and the preview's pages.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <filesystem>
#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/messages/MessageFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "print/core/PagePlan.h"
#include "print/core/ReportContent.h"
#include "print/render/ReportPainter.h"
#include "print/render/ReportPdf.h"

namespace {

using namespace vb420;

struct Programming {
  TextTable text;
  RadioData data{&text};
  Programming() {
    text.LoadFile(std::string(VB420_RESOURCE_DIR) + "/vb420.lng", "English");
    (void)zonefields::Fields(ZoneTable::Channel);
    (void)TestFreqFieldTable();
    (void)MessageFieldTable();
    data.buffers.Clear();
    InitNewImage(data, true);
    data.SyncCodecs();
    // A full radio: 512 channels and groups over zones of every kind.
    CZoneMemory zones(data);
    for (int z = 0; z < 2; ++z) {
      (void)zones.CreateZone(z, '1');
      for (int c = 0; c < 200; ++c) (void)zones.InsertRecord(z, c);
    }
    (void)zones.CreateZone(2, '0');
    for (int g = 0; g < 100; ++g) (void)zones.InsertRecord(2, g);
    for (int r = 0; r < 5; ++r) (void)zones.InsertRepeater(2, r);
    (void)zones.CreateZone(3, '5');
    for (int g = 0; g < 100; ++g) (void)zones.InsertRecord(3, g);
    for (int c = 1; c <= 200; ++c) {
      forms::SettingLine l;
      int m = 0;
      (void)forms::SetSetting(data, text, "zone.1.ch." + std::to_string(c) + ".rxf", "151.5", l, m);
    }
  }
};

Programming& Full() {
  static Programming p;
  return p;
}

QApplication& App() {
  static int argc = 3;
  static char a0[] = "bench", a1[] = "-platform", a2[] = "offscreen";
  static char* argv[] = {a0, a1, a2, nullptr};
  static QApplication app(argc, argv);
  return app;
}

void BM_FullReportPdf(benchmark::State& state) {
  App();
  Programming& p = Full();
  const bool landscape = state.range(0) != 0;
  const std::string path = (std::filesystem::temp_directory_path() / "vb420-bench-report.pdf").string();
  int pages = 0;
  for (auto _ : state) {
    const auto r = print::WriteReportPdf(p.data, p.text, print::PrintOptions::Defaults(), landscape, path, "d t");
    pages = r.pages;
  }
  state.counters["pages"] = pages;
  std::filesystem::remove(path);
}
BENCHMARK(BM_FullReportPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PageCountAfterBoxChange(benchmark::State& state) {
  Programming& p = Full();
  print::PrintOptions o = print::PrintOptions::Defaults();
  int i = 0;
  for (auto _ : state) {
    const int box = 1 + i % 10;
    o.Set(box, (i / 10) % 2 == 0);
    ++i;
    benchmark::DoNotOptimize(print::PageCount(p.data, o, false));
  }
}
BENCHMARK(BM_PageCountAfterBoxChange)->Unit(benchmark::kMicrosecond);

// The contents of every page without drawing them.
void BM_PageContents(benchmark::State& state) {
  Programming& p = Full();
  for (auto _ : state) {
    const print::ReportBuilder report(p.data, p.text, print::PrintOptions::Defaults(), false, "d t");
    for (int i = 0; i < report.PageCount(); ++i) benchmark::DoNotOptimize(report.Page(i).blocks.size());
  }
}
BENCHMARK(BM_PageContents)->Unit(benchmark::kMillisecond);

// What the preview does before its first page shows: the plan, and every
// page painted into the preview's picture.
void BM_PreviewPages(benchmark::State& state) {
  App();
  Programming& p = Full();
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Portrait);
  QPrintPreviewWidget preview(&printer);
  QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, [&](QPrinter* pr) {
    const print::ReportBuilder report(p.data, p.text, print::PrintOptions::Defaults(), false, "d t");
    QPainter painter(pr);
    print::ReportPainter::PaintReport(painter, *pr, report);
  });
  for (auto _ : state) {
    preview.updatePreview();
    benchmark::DoNotOptimize(preview.pageCount());
  }
  state.counters["pages"] = preview.pageCount();
}
BENCHMARK(BM_PreviewPages)->Unit(benchmark::kMillisecond);

}  // namespace

#include "RegisteredMain.h"
