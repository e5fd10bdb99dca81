// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SplashWnd.h"

#include <algorithm>
#include <iterator>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

#include "lang/TextTable.h"

namespace vb420 {

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 300;
constexpr int kRadioX = 506;
constexpr int kRadioY = 118;
constexpr int kRadioHeight = 150;
constexpr int kTextLeft = 16;
constexpr int kTextGap = 12;  // between the texts and the radio
constexpr int kLineGap = 0;   // between one text and the next (the face has its own leading)
constexpr int kBottomMargin = 14;

// A hand-held radio seen from the front, standing at `x`, `y` (top left of
// its body).
void DrawRadio(QPainter& p, int x, int y, bool rich) {
  const QColor body = rich ? QColor(38, 52, 74) : QColor(40, 40, 80);
  const QColor trim = rich ? QColor(232, 120, 30) : QColor(255, 128, 0);
  // Antenna and knobs.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 30));
  p.drawRoundedRect(QRect(x + 14, y - 62, 9, 66), 4, 4);
  p.setBrush(QColor(70, 70, 70));
  p.drawRoundedRect(QRect(x + 46, y - 14, 16, 16), 3, 3);
  // Body.
  if (rich) {
    QLinearGradient g(x, y, x + 72, y);
    g.setColorAt(0, body.lighter(135));
    g.setColorAt(0.5, body);
    g.setColorAt(1, body.darker(140));
    p.setBrush(g);
  } else {
    p.setBrush(body);
  }
  p.drawRoundedRect(QRect(x, y, 72, 150), 12, 12);
  // Display.
  p.setBrush(rich ? QColor(150, 200, 160) : QColor(128, 192, 128));
  p.drawRoundedRect(QRect(x + 10, y + 14, 52, 24), 3, 3);
  p.setPen(QColor(30, 60, 40));
  QFont f("Monospace");
  f.setPixelSize(11);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(x + 10, y + 14, 52, 24), Qt::AlignCenter, QStringLiteral("CH 01"));
  p.setPen(Qt::NoPen);
  // Keypad.
  p.setBrush(QColor(200, 205, 215));
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) p.drawRoundedRect(QRect(x + 12 + c * 17, y + 50 + r * 14, 13, 9), 2, 2);
  // Speaker grille.
  p.setBrush(body.darker(160));
  for (int i = 0; i < 4; ++i) p.drawRoundedRect(QRect(x + 14, y + 110 + i * 8, 44, 3), 1, 1);
  // Trim line.
  p.setBrush(trim);
  p.drawRect(QRect(x + 4, y + 44, 64, 2));
}

void DrawWaves(QPainter& p, QPointF centre, bool rich) {
  for (int i = 0; i < 3; ++i) {
    QColor c = rich ? QColor(232, 120, 30, 200 - i * 55) : QColor(255, 128, 0);
    p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap));
    const qreal r = 16 + i * 13;
    p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 20 * 16, 60 * 16);
    p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 100 * 16, 60 * 16);
  }
}

}  // namespace

QPixmap CSplashWnd::Picture(int colourDepth, int height) {
  const bool rich = colourDepth >= 16;
  height = std::max(height, kHeight);
  QPixmap pm(kWidth, height);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, rich);
  if (rich) {
    QLinearGradient bg(0, 0, 0, height);
    bg.setColorAt(0, QColor(240, 244, 250));
    bg.setColorAt(1, QColor(196, 210, 230));
    p.fillRect(pm.rect(), bg);
    // A soft light behind the radio.
    const QPointF glowCentre(538, 170);
    constexpr qreal kGlowRadius = 120;
    QRadialGradient glow(glowCentre, kGlowRadius);
    glow.setColorAt(0, QColor(255, 255, 255, 200));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    // Only where the light reaches: beyond its radius it is transparent.
    const QRectF reach(glowCentre - QPointF(kGlowRadius, kGlowRadius), QSizeF(2 * kGlowRadius, 2 * kGlowRadius));
    p.fillRect(reach.toAlignedRect() & pm.rect(), glow);
  } else {
    p.fillRect(pm.rect(), QColor(224, 224, 224));
  }
  // Title band.
  const QColor navy = rich ? QColor(24, 40, 68) : QColor(0, 0, 128);
  p.fillRect(QRect(0, 0, kWidth, 54), navy);
  p.fillRect(QRect(0, 54, kWidth, 4), rich ? QColor(232, 120, 30) : QColor(255, 128, 0));
  QFont title("Arial");
  title.setPixelSize(30);
  title.setBold(true);
  title.setItalic(true);
  p.setFont(title);
  p.setPen(Qt::white);
  // The product name is the same in every language.
  p.drawText(QRect(20, 0, 300, 54), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("VB-420"));
  DrawRadio(p, kRadioX, kRadioY, rich);
  DrawWaves(p, QPointF(524, 60), rich);
  // Frame.
  p.setPen(QPen(navy, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(1, 1, kWidth - 2, height - 2));
  return pm;
}

QFont CSplashWnd::TextFont() {
  QFont f("Arial");
  f.setPixelSize(16);
  f.setWeight(QFont::Medium);
  return f;
}

QRect CSplashWnd::RadioRect() {
  // Body, antenna and the waves above it.
  return QRect(kRadioX - 12, 8, kWidth - (kRadioX - 12), kRadioY + kRadioHeight - 8);
}

std::vector<CSplashWnd::Line> CSplashWnd::Layout(const std::vector<QString>& texts, const QFont& font) {
  // The usual heights of entries 1 to 7; entry 2 is centred.
  static const int kTops[] = {80, 105, 140, 165, 200, 220, 240};
  const QFontMetrics fm(font);
  const int left = kTextLeft;
  const int width = RadioRect().left() - kTextGap - left;
  std::vector<Line> out;
  int below = 0;  // first free height under the text before
  for (size_t i = 0; i < texts.size() && i < std::size(kTops); ++i) {
    const int entry = static_cast<int>(i) + 1;
    const int align = entry == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
    const int flags = align | Qt::AlignTop | Qt::TextWordWrap;
    const int top = std::max(kTops[i], below);
    // Measured with the very flags it is drawn with, so that a long text
    // takes the lines it needs instead of being cut.
    const QRect need = fm.boundingRect(QRect(left, top, width, 10000), flags, texts[i]);
    const QRect r(left, top, width, std::max(need.height(), fm.height()));
    out.push_back({entry, texts[i], r, flags});
    below = r.bottom() + 1 + kLineGap;
  }
  return out;
}

CSplashWnd::CSplashWnd(TextTable& text, int colourDepth, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("splash");
  const bool rich = colourDepth >= 16;
  std::vector<QString> texts;
  for (int entry = 1; entry <= 7; ++entry) texts.push_back(QString::fromStdString(text.Text(entry)));
  const QFont font = TextFont();
  lines_ = Layout(texts, font);
  // A language with longer texts makes the picture taller rather than
  // losing words.
  const int bottom = lines_.empty() ? 0 : lines_.back().rect.bottom() + kBottomMargin;
  composed_ = Picture(colourDepth, bottom);
  QPainter p(&composed_);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(font);
  for (const Line& l : lines_) {
    if (rich) {
      p.setPen(Qt::white);
      p.drawText(l.rect.translated(0, 1), l.flags, l.text);
    }
    p.setPen(Qt::black);
    p.drawText(l.rect, l.flags, l.text);
  }
  p.end();
  setFixedSize(composed_.size());
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &QWidget::close);
}

CSplashWnd::~CSplashWnd() {
  if (qApp) qApp->removeEventFilter(this);
}

void CSplashWnd::ShowCentred(QWidget* over) {
  QRect area;
  if (over && over->isVisible()) area = over->frameGeometry();
  else if (QScreen* s = QGuiApplication::primaryScreen()) area = s->availableGeometry();
  if (area.isValid()) move(area.center() - rect().center());
  qApp->installEventFilter(this);
  show();
  raise();
  timer_.start(kShowMs);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, composed_);
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Keep a menu shortcut from firing: the key press that follows only
      // closes the splash.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::Shortcut:  // a shortcut matched without a focus widget to ask
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
      qApp->removeEventFilter(this);
      close();
      return true;  // the key or click only closes the splash
    default: return QWidget::eventFilter(watched, event);
  }
}

}  // namespace vb420
