// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up splash screen: the program's picture with texts 1 to 7 over
// it, closed after five seconds or by any key or mouse button.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace vb420 {

class TextTable;

class CSplashWnd : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kShowMs = 5000;

  // `colourDepth`: bits per pixel of the screen; below 16 the plain picture
  // without shadows is used.
  CSplashWnd(TextTable& text, int colourDepth, QWidget* parent = nullptr);
  ~CSplashWnd() override;

  // Centres itself over `over` (or the screen) and starts the timer.
  void ShowCentred(QWidget* over);

  // One text over the picture: its entry, the text and where it is drawn.
  struct Line {
    int entry;
    QString text;
    QRect rect;
    int flags;  // Qt alignment and wrapping flags of the drawing
  };

  // The picture without texts, `height` pixels high (at least the usual).
  static QPixmap Picture(int colourDepth, int height = 0);
  // The face the texts are written in.
  static QFont TextFont();
  // Where the drawing of the radio stands: no text may run into it.
  static QRect RadioRect();
  // Lays the texts of entries 1 to 7 out from their measured sizes: each
  // starts at its usual height or below the one before, whichever is lower,
  // and wraps within the room left of the radio.
  static std::vector<Line> Layout(const std::vector<QString>& texts, const QFont& font);

  const QPixmap& Composed() const { return composed_; }
  const std::vector<Line>& Lines() const { return lines_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPixmap composed_;
  std::vector<Line> lines_;
  QTimer timer_;
};

}  // namespace vb420
