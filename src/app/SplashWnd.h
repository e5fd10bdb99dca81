// The start-up splash screen: the program's picture with texts 1 to 7 over
// it, closed after five seconds or by any key or mouse button.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

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

  // The picture without texts.
  static QPixmap Picture(int colourDepth);
  const QPixmap& Composed() const { return composed_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPixmap composed_;
  QTimer timer_;
};

}  // namespace vb420
