// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the program's start-up: the least a Qt 6 desktop program
// of this shape does before its first window is up. A main window with a
// menu bar, a tool bar, a status bar and an MDI area holding one child
// window, shown maximised; it ends as soon as the event loop has run once,
// as vb420 does under VB420_STARTUP_PROBE=1.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  auto* area = new QMdiArea;
  window.setCentralWidget(area);
  for (const char* title : {"&File", "&Edit", "&Radio", "&View", "&Window", "&Help"}) {
    QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
    for (int i = 0; i < 8; ++i) menu->addAction(QStringLiteral("Item %1").arg(i));
  }
  QToolBar* tools = window.addToolBar(QStringLiteral("Tools"));
  for (int i = 0; i < 10; ++i) tools->addAction(QStringLiteral("T%1").arg(i));
  window.statusBar()->showMessage(QStringLiteral("Ready"));
  auto* table = new QTableWidget(16, 8);
  area->addSubWindow(table)->show();
  window.showMaximized();
  QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  return app.exec();
}
