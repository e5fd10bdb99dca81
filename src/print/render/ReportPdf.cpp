// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/render/ReportPdf.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cstdio>
#include <memory>

#include "print/core/ReportContent.h"
#include "print/render/ReportPainter.h"

namespace vb420::print {

namespace {

// Fonts need a GUI application; without a display the offscreen platform
// serves. A program that already has one keeps its own.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  // The platform's notes (no runtime folder, no session bus) are no concern
  // of a command-line run; real failures still reach stderr.
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  qInstallMessageHandler(QuietQt);
  static int argc = 3;
  static char arg0[] = "vb420cli";
  static char arg1[] = "-platform";
  static char arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

PdfResult WriteReportPdf(RadioData& data, TextTable& text, const PrintOptions& options, bool landscape,
                         const std::string& path, const std::string& dateTime) {
  PdfResult r;
  EnsureGuiApplication();
  const QString file = QString::fromStdString(path);
  // Write beside the target and move it into place only when every page is
  // there, so that a failed run never leaves half a report under the name.
  const QString temp = file + QStringLiteral(".part");
  const ReportBuilder report(data, text, options, landscape, dateTime);
  {
    QPdfWriter writer(temp);
    writer.setTitle(QStringLiteral("ZEL VB-420"));
    writer.setCreator(QStringLiteral("VB-420"));
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(8, 8, 8, 8),
                                     QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&writer)) {
      QFile::remove(temp);
      r.error = "cannot write " + path;
      return r;
    }
    ReportPainter::PaintReport(p, writer, report);
    p.end();
  }
  QFile::remove(file);
  if (!QFile::rename(temp, file)) {
    QFile::remove(temp);
    r.error = "cannot write " + path;
    return r;
  }
  r.ok = true;
  r.pages = report.PageCount();
  return r;
}

}  // namespace vb420::print
