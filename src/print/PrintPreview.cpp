// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintPreview.h"

#include <QPainter>
#include <QPageLayout>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

#include <ctime>

#include "data/RadioData.h"
#include "lang/TextTable.h"
#include "lang/ui/UiPrompter.h"
#include "link/TestMode.h"
#include "print/core/ReportContent.h"
#include "print/render/ReportPainter.h"

namespace vb420::print {

namespace {

QPointer<QPrintPreviewDialog>& ShowingPreview() {
  static QPointer<QPrintPreviewDialog> dlg;
  return dlg;
}

QString MenuText(TextTable& text, int entry) {
  QString s = QString::fromStdString(text.Text(entry));
  s.remove(QLatin1Char('&'));
  if (s.endsWith(QStringLiteral("..."))) s.chop(3);
  return s;
}

void PaintAll(QPrinter* printer, RadioData& data, TextTable& text, const PrintOptions& options,
              const std::string& dateTime) {
  const ReportBuilder report(data, text, options, PrinterLandscape(*printer), dateTime);
  QPainter p;
  if (!p.begin(printer)) return;
  // The page range the user chose in the print dialog (1-based), or all.
  int first = 0, last = -1;
  if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
    first = printer->fromPage() - 1;
    last = printer->toPage() > 0 ? printer->toPage() - 1 : -1;
  }
  ReportPainter::PaintReport(p, *printer, report, first, last);
  p.end();
}

}  // namespace

int RunModal(QDialog& dialog, UiPrompter* prompter) { return prompter ? prompter->RunDialog(dialog) : dialog.exec(); }

QPrinter& SessionPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  static const bool titled = [] {
    printer.setDocName(QStringLiteral("ZEL VB-420"));
    return true;
  }();
  (void)titled;
  return printer;
}

bool PrinterLandscape(const QPrinter& printer) {
  return printer.pageLayout().orientation() == QPageLayout::Landscape;
}

void RunPreview(RadioData& data, TextTable& text, const PrintOptions& options, QWidget* parent,
                UiPrompter* prompter) {
  if (ShowingPreview()) return;
  QPrinter& printer = SessionPrinter();
  // The date and time every page carries, taken once for the whole preview.
  const std::string dateTime = ReportDateTime(std::time(nullptr), text.CurrentLanguage());
  QPrintPreviewDialog dlg(&printer, parent);
  dlg.setObjectName(QStringLiteral("printPreview"));
  dlg.setWindowTitle(MenuText(text, 47));
  dlg.resize(900, 1000);
  QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                   [&](QPrinter* p) { PaintAll(p, data, text, options, dateTime); });
  ShowingPreview() = &dlg;
  RunModal(dlg, prompter);
  ShowingPreview() = nullptr;
}

bool RunPrint(RadioData& data, TextTable& text, const PrintOptions& options, QWidget* parent, UiPrompter* prompter) {
  QPrinter& printer = SessionPrinter();
  QPrintDialog dlg(&printer, parent);
  dlg.setObjectName(QStringLiteral("printDialog"));
  dlg.setWindowTitle(MenuText(text, 126));
  dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
  dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
  const ReportBuilder probe(data, text, options, PrinterLandscape(printer), std::string());
  dlg.setMinMax(1, probe.PageCount());
  if (RunModal(dlg, prompter) != QDialog::Accepted) return false;
  PaintAll(&printer, data, text, options, ReportDateTime(std::time(nullptr), text.CurrentLanguage()));
  return true;
}

bool PreviewShowing() { return !ShowingPreview().isNull(); }

bool EndPreview() {
  QPrintPreviewDialog* dlg = ShowingPreview();
  if (!dlg) return false;
  dlg->reject();
  return true;
}

bool PrintTestReport(QWidget* parent, RadioData& data, TextTable& text, const TestModeSession& session,
                     UiPrompter* prompter) {
  TestReportInput in;
  in.modelNumber = session.ModelNumber();
  in.channel = session.Channel();
  auto trim = [](std::string s) {
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    return s;
  };
  in.channelRx = trim(session.ChannelFreqText(0));
  in.channelTx = trim(session.ChannelFreqText(1));
  in.signalling = session.Signalling();
  in.block.assign(session.TestData().begin(), session.TestData().end());
  const PageContent page = BuildTestModePage(data, text, in, ReportDateTime(std::time(nullptr), text.CurrentLanguage()));

  QPrinter& printer = SessionPrinter();
  QPrintDialog dlg(&printer, parent);
  dlg.setObjectName(QStringLiteral("printDialog"));
  dlg.setWindowTitle(MenuText(text, 126));
  dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
  if (RunModal(dlg, prompter) != QDialog::Accepted) return false;
  QPainter p;
  if (!p.begin(&printer)) return false;
  ReportPainter::PaintPage(p, QRectF(0, 0, printer.width(), printer.height()), page, PrinterLandscape(printer));
  p.end();
  return true;
}

}  // namespace vb420::print
