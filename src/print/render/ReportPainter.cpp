// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/render/ReportPainter.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vb420::print {

namespace {

// Logical units are drawn ten to a unit so that fonts can be sized in whole
// pixels at any scale.
constexpr double K = 10.0;

QString Q(const std::string& s) { return QString::fromStdString(s); }

QFont Face(const QStringList& families, QFont::StyleHint hint, double units, bool bold, bool italic) {
  QFont f;
  f.setFamilies(families);
  f.setStyleHint(hint);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(units * K))));
  f.setBold(bold);
  f.setItalic(italic);
  // Unhinted glyphs measure the same on the screen, the printer and a PDF.
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

double Width(const QFont& f, const QString& s) { return QFontMetricsF(f).horizontalAdvance(s) * 1.04; }
double LineHeight(const QFont& f) { return QFontMetricsF(f).height(); }

struct Body {
  QPainter& p;
  QRectF area;  // K-scaled logical units
  double y;
};

void Rule(QPainter& p, double x0, double x1, double y) {
  p.setPen(QPen(Qt::black, 1.2 * K));
  p.drawLine(QPointF(x0, y), QPointF(x1, y));
}

void Text(QPainter& p, const QFont& f, double x, double y, const QString& s) {
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QPointF(x, y + QFontMetricsF(f).ascent()), s);
}

// ---- blocks ---------------------------------------------------------------

QFont BlockFace(const Block& b, double units) {
  return b.fixedFace ? ReportFixedFace(units) : ReportSansFace(units);
}

constexpr double kBodyUnits = 14.0;
// No text on paper is smaller than this.
constexpr double kMinimumPoints = 6.5;
constexpr double kGap = 12.0;  // between columns, in units

// Label and value widths of a pairs block.
std::pair<double, double> PairWidths(const Block& b, const QFont& f) {
  double lw = 0, vw = 0;
  for (const auto& [l, v] : b.pairs) {
    lw = std::max(lw, Width(f, Q(l)));
    vw = std::max(vw, Width(f, Q(v)));
  }
  return {lw, vw};
}

// A column heading wider than every cell of its column goes on two lines,
// split at the space nearest its middle (long headings in some languages
// would otherwise widen a table past the page).
QStringList HeadingLines(const Block& b, size_t c, const QFont& head, const QFont& cell) {
  const QString h = Q(b.columns[c]);
  double cw = 0;
  for (const auto& r : b.rows)
    if (c < r.size()) cw = std::max(cw, Width(cell, Q(r[c])));
  if (Width(head, h) <= cw || !h.contains(QLatin1Char(' '))) return {h};
  int best = -1;
  for (int i = 0; i < h.size(); ++i)
    if (h[i] == QLatin1Char(' ') && (best < 0 || std::abs(i - h.size() / 2) < std::abs(best - h.size() / 2))) best = i;
  return {h.left(best), h.mid(best + 1)};
}

double HeadingWidth(const QStringList& lines, const QFont& head) {
  double w = 0;
  for (const QString& l : lines) w = std::max(w, Width(head, l));
  return w;
}

// The width a block needs at face size `units`; pairs in `columns` columns.
double BlockWidth(const Block& b, double units, int columns = 1) {
  const QFont f = BlockFace(b, units);
  const double gap = kGap * K * units / kBodyUnits;
  switch (b.kind) {
    case BlockKind::Pairs: {
      const auto [lw, vw] = PairWidths(b, f);
      return columns * (lw + gap + vw) + (columns - 1) * 2 * gap;
    }
    case BlockKind::Table: {
      double w = 0;
      const QFont hf = ReportSansFace(units, true);
      for (size_t c = 0; c < b.columns.size(); ++c) {
        double cw = HeadingWidth(HeadingLines(b, c, hf, f), hf);
        for (const auto& r : b.rows)
          if (c < r.size()) cw = std::max(cw, Width(f, Q(r[c])));
        w += cw + (c ? gap : 0);
      }
      return w;
    }
    case BlockKind::Subheading: return Width(ReportSansFace(units + 2, true), Q(b.text));
    case BlockKind::Note: return Width(ReportSansFace(units, false, true), Q(b.text));
  }
  return 0;
}

// A block's widths measured once at the body size: glyphs are unhinted, so
// they scale with the face size.
struct Natural {
  double a = 0;  // pairs: widest label; tables: the columns; texts: the text
  double b = 0;  // pairs: widest value; tables: how many gaps
  int headLines = 1;  // tables: lines of the column headings
};

Natural Measure(const Block& b) {
  Natural n;
  const QFont f = BlockFace(b, kBodyUnits);
  switch (b.kind) {
    case BlockKind::Pairs: {
      const auto [lw, vw] = PairWidths(b, f);
      n.a = lw;
      n.b = vw;
      break;
    }
    case BlockKind::Table: {
      const QFont hf = ReportSansFace(kBodyUnits, true);
      for (size_t c = 0; c < b.columns.size(); ++c)
        n.headLines = std::max(n.headLines, static_cast<int>(HeadingLines(b, c, hf, f).size()));
      n.a = BlockWidth(b, kBodyUnits);
      n.b = b.columns.empty() ? 0 : static_cast<double>(b.columns.size() - 1);
      n.a -= n.b * kGap * K;
      break;
    }
    default: n.a = BlockWidth(b, kBodyUnits); break;
  }
  return n;
}

double WidthAt(const Block& b, const Natural& n, double units, int columns) {
  const double k = units / kBodyUnits;
  const double gap = kGap * K * k;
  switch (b.kind) {
    case BlockKind::Pairs: return columns * (n.a * k + gap + n.b * k) + (columns - 1) * 2 * gap;
    case BlockKind::Table: return n.a * k + n.b * gap;
    case BlockKind::Subheading: return n.a * (units + 2) / (kBodyUnits + 2);
    case BlockKind::Note: return n.a * k;
  }
  return 0;
}

// The face size a block is drawn in: the body size times `scale`, smaller
// still when the block would be wider than the page, but never below
// `floor` (the smallest face a reader can read on paper).
double BlockUnits(const Block& b, const Natural& n, double scale, double width, int columns, double floor) {
  double units = std::max(floor, kBodyUnits * scale);
  for (int i = 0; i < 3; ++i) {
    const double w = WidthAt(b, n, units, columns);
    if (w <= width) break;
    units = std::max(floor, units * width / w * 0.98);
  }
  return units;
}

int Rows(const Block& b, int columns) {
  return (static_cast<int>(b.pairs.size()) + columns - 1) / std::max(1, columns);
}

// Line heights scale with the face size as well.
double LineHeightAt(bool fixed, double units) {
  static const double sans = LineHeight(ReportSansFace(kBodyUnits)) / kBodyUnits;
  static const double mono = LineHeight(ReportFixedFace(kBodyUnits)) / kBodyUnits;
  return (fixed ? mono : sans) * units;
}

double BlockHeight(const Block& b, double units, int columns = 1, int headLines = 1) {
  const double lh = LineHeightAt(b.fixedFace, units);
  switch (b.kind) {
    case BlockKind::Pairs: return lh * Rows(b, columns) + lh * 0.5;
    case BlockKind::Table: return lh * static_cast<double>(b.rows.size() + static_cast<size_t>(headLines)) + lh * 0.8;
    case BlockKind::Subheading: return LineHeightAt(false, units + 2) * 1.3;
    case BlockKind::Note: return lh * 1.5;
  }
  return 0;
}

void DrawBlock(QPainter& p, const Block& b, double units, double x, double width, double& y, int columns = 1) {
  const QFont f = BlockFace(b, units);
  const double lh = LineHeight(f);
  const double gap = kGap * K * units / kBodyUnits;
  switch (b.kind) {
    case BlockKind::Subheading: {
      const QFont h = ReportSansFace(units + 2, true);
      Text(p, h, x, y + LineHeight(h) * 0.15, Q(b.text));
      y += LineHeight(h) * 1.3;
      return;
    }
    case BlockKind::Note:
      Text(p, ReportSansFace(units, false, true), x, y, Q(b.text));
      y += lh * 1.5;
      return;
    case BlockKind::Pairs: {
      // Down the first column, then the next.
      const auto [lw, vw] = PairWidths(b, f);
      const int rows = Rows(b, columns);
      for (size_t i = 0; i < b.pairs.size(); ++i) {
        const int col = static_cast<int>(i) / std::max(1, rows), row = static_cast<int>(i) % std::max(1, rows);
        const double cx = x + col * (lw + gap + vw + 2 * gap), cy = y + row * lh;
        Text(p, f, cx, cy, Q(b.pairs[i].first));
        Text(p, f, cx + lw + gap, cy, Q(b.pairs[i].second));
      }
      y += lh * rows + lh * 0.5;
      return;
    }
    case BlockKind::Table: {
      const QFont hf = ReportSansFace(units, true);
      std::vector<double> widths(b.columns.size(), 0);
      std::vector<QStringList> heads(b.columns.size());
      int headLines = 1;
      for (size_t c = 0; c < b.columns.size(); ++c) {
        heads[c] = HeadingLines(b, c, hf, f);
        headLines = std::max(headLines, static_cast<int>(heads[c].size()));
        widths[c] = HeadingWidth(heads[c], hf);
        for (const auto& r : b.rows)
          if (c < r.size()) widths[c] = std::max(widths[c], Width(f, Q(r[c])));
      }
      double cx = x;
      for (size_t c = 0; c < b.columns.size(); ++c) {
        // A heading of one line sits on the last line, over its column.
        const int first = headLines - static_cast<int>(heads[c].size());
        for (int l = 0; l < heads[c].size(); ++l) Text(p, hf, cx, y + (first + l) * lh, heads[c][l]);
        cx += widths[c] + gap;
      }
      y += lh * headLines;
      p.setPen(QPen(Qt::black, 0.6 * K));
      p.drawLine(QPointF(x, y), QPointF(std::min(x + width, cx - gap), y));
      for (const auto& r : b.rows) {
        cx = x;
        for (size_t c = 0; c < r.size() && c < widths.size(); ++c) {
          Text(p, f, cx, y, Q(r[c]));
          cx += widths[c] + gap;
        }
        y += lh;
      }
      y += lh * 0.8;
      return;
    }
  }
}

// The header; answers the y where the body begins.
double DrawHeader(QPainter& p, const PageHeader& h, const QRectF& area) {
  double y = area.top();
  const QFont small = ReportSansFace(15);
  const double right = area.right();
  auto rightText = [&](const QFont& f, const QString& s) {
    Text(p, f, right - Width(f, s) / 1.04, y, s);
    y += LineHeight(f);
  };
  rightText(small, Q(h.pageNumber));
  rightText(small, Q(h.dateLine));
  y += 3 * K;
  Rule(p, area.left(), right, y);
  y += 6 * K;
  const QFont title = ReportSansFace(25, false, true);
  Text(p, title, area.left(), y, Q(h.title));
  y += LineHeight(title) + 3 * K;
  Rule(p, area.left(), right, y);
  y += 6 * K;
  const QFont body = ReportSansFace(14);
  const QFont fixed = ReportFixedFace(19);
  if (h.modelBlock) {
    const double lw = std::max(Width(body, Q(h.modelLabel)), Width(body, Q(h.bandLabel))) + 10 * K;
    Text(p, body, area.left(), y, Q(h.modelLabel));
    Text(p, body, area.left() + lw, y, Q(h.modelText));
    y += LineHeight(body);
    Text(p, body, area.left(), y, Q(h.bandLabel));
    Text(p, body, area.left() + lw, y, Q(h.bandText));
    y += LineHeight(body) + 4 * K;
  }
  auto message = [&](const std::string& label, const std::string& l1, const std::string& l2) {
    Text(p, body, area.left(), y, Q(label));
    y += LineHeight(body);
    for (const std::string* l : {&l1, &l2}) {
      Text(p, fixed, area.left() + 20 * K, y, Q(*l));
      y += LineHeight(fixed);
    }
    y += 3 * K;
  };
  if (h.messageBlock) message(h.messageLabel, h.message1, h.message2);
  if (h.passMessageBlock) message(h.passMessageLabel, h.passMessage1, h.passMessage2);
  Rule(p, area.left(), right, y);
  return y + 8 * K;
}

}  // namespace

QFont ReportSansFace(double units, bool bold, bool italic) {
  static const QStringList families = {"Arial", "Liberation Sans", "Nimbus Sans", "Helvetica", "DejaVu Sans"};
  return Face(families, QFont::SansSerif, units, bold, italic);
}

QFont ReportFixedFace(double units, bool bold) {
  static const QStringList families = {"Courier New", "Liberation Mono", "Nimbus Mono PS", "Courier",
                                       "DejaVu Sans Mono"};
  return Face(families, QFont::TypeWriter, units, bold, false);
}

void ReportPainter::PaintPage(QPainter& p, const QRectF& pageRect, const PageContent& page, bool landscape) {
  // The logical page and where its origin lies.
  const QRectF logical = landscape ? QRectF(-20 * K, 40 * K, 1054 * K, 782 * K) : QRectF(-40 * K, 20 * K, 782 * K, 1054 * K);
  p.save();
  // Fit the logical page into the printable area, keeping its proportions.
  const double sx = pageRect.width() / logical.width();
  const double sy = pageRect.height() / logical.height();
  const double s = std::min(sx, sy);
  p.translate(pageRect.left() + (pageRect.width() - logical.width() * s) / 2,
              pageRect.top() + (pageRect.height() - logical.height() * s) / 2);
  p.scale(s, s);
  p.translate(-logical.left(), -logical.top());
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);

  // The smallest face in logical units: 6.5 points on this device.
  const double dpi = p.device() ? p.device()->logicalDpiY() : 72.0;
  const double floorUnits = kMinimumPoints * dpi / 72.0 / (s * K);
  const QRectF area = logical.adjusted(40 * K, 8 * K, -40 * K, -24 * K);
  double y = DrawHeader(p, page.header, area);
  if (!page.sectionTitle.empty()) {
    const QFont t = ReportSansFace(20, true);
    Text(p, t, area.left(), y, Q(page.sectionTitle));
    y += LineHeight(t) * 1.3;
  }
  // Long label-value lists first flow into more columns while the page is
  // wide enough for them; then the body takes one scale that lets every
  // block fit the page's height.
  const double avail = area.bottom() - y;
  // A fixed-pitch block too wide for the page even at the smallest face is
  // drawn in the proportional face, which is narrower.
  std::vector<Block> blocks = page.blocks;
  for (Block& b : blocks)
    if (b.fixedFace && b.kind == BlockKind::Table && WidthAt(b, Measure(b), floorUnits, 1) > area.width())
      b.fixedFace = false;
  const size_t n = blocks.size();
  std::vector<int> columns(n, 1);
  std::vector<Natural> natural(n);
  for (size_t i = 0; i < n; ++i) natural[i] = Measure(blocks[i]);
  auto total = [&](double scale) {
    double t = 0;
    for (size_t i = 0; i < n; ++i)
      t += BlockHeight(blocks[i], BlockUnits(blocks[i], natural[i], scale, area.width(), columns[i], floorUnits),
                       columns[i], natural[i].headLines);
    return t;
  };
  for (int guard = 0; guard < 64 && total(1.0) > avail; ++guard) {
    size_t best = n;
    for (size_t i = 0; i < n; ++i) {
      const Block& b = blocks[i];
      if (b.kind != BlockKind::Pairs || Rows(b, columns[i]) <= 1) continue;
      if (WidthAt(b, natural[i], kBodyUnits, columns[i] + 1) > area.width()) continue;
      if (best == n || Rows(b, columns[i]) > Rows(blocks[best], columns[best])) best = i;
    }
    if (best == n) break;
    ++columns[best];
  }
  // The page plan gives every page no more than it holds legibly; a body
  // that is still a little too tall is drawn smaller, down to the floor.
  double scale = 1.0;
  for (int i = 0; i < 6; ++i) {
    const double t = total(scale);
    if (t <= avail || scale * kBodyUnits <= floorUnits) break;
    scale = std::max(floorUnits / kBodyUnits, scale * avail / t * 0.98);
  }
  for (size_t i = 0; i < n; ++i) {
    const Block& b = blocks[i];
    DrawBlock(p, b, BlockUnits(b, natural[i], scale, area.width(), columns[i], floorUnits), area.left(),
              area.width(), y, columns[i]);
  }
  p.restore();
}

void ReportPainter::PaintReport(QPainter& p, QPagedPaintDevice& device, const ReportBuilder& report, int first,
                                int last) {
  const int n = report.PageCount();
  if (last < 0 || last >= n) last = n - 1;
  first = std::max(0, first);
  for (int i = first; i <= last; ++i) {
    if (i > first) device.newPage();
    const QRectF rect(0, 0, device.width(), device.height());
    PaintPage(p, rect, report.Page(i), report.Landscape());
  }
}

}  // namespace vb420::print
