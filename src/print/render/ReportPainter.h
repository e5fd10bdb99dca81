// SPDX-License-Identifier: GPL-3.0-or-later
// Draws report pages with QPainter: on a QPrinter (print and preview) or a
// QPdfWriter alike. Each page is drawn in a logical space of 782 by 1054
// units (1054 by 782 in landscape) fitted to the printable area, header first,
// then the section's blocks. A block a little too wide for the page or a body
// a little too tall for it is drawn in a smaller face, never below 6.5
// points: the page plan gives each page what it holds legibly.
#pragma once

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>

#include "print/core/ReportContent.h"

namespace vb420::print {

// The faces the report asks for, and the closest installed ones.
QFont ReportSansFace(double units, bool bold = false, bool italic = false);
QFont ReportFixedFace(double units, bool bold = false);

class ReportPainter {
 public:
  // Paints `page` on the painter's device, whose page rectangle in device
  // units is `pageRect`.
  static void PaintPage(QPainter& p, const QRectF& pageRect, const PageContent& page, bool landscape);
  // Every page of the builder, from `first` to `last` (0-based, inclusive;
  // -1 for the end), one device page each.
  static void PaintReport(QPainter& p, QPagedPaintDevice& device, const ReportBuilder& report, int first = 0,
                          int last = -1);
};

}  // namespace vb420::print
