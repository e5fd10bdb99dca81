// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/ui/HelpSystem.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QFileInfo>
#include <QKeySequence>
#include <QRegularExpression>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace vb420 {

HelpSystem::HelpSystem(std::vector<QString> resourceDirs, QObject* parent)
    : QObject(parent), dirs_(std::move(resourceDirs)) {}

HelpSystem::~HelpSystem() { CloseAll(); }

void HelpSystem::SetHelpFile(const std::string& helpFile) { helpFile_ = helpFile; }

QString HelpSystem::FolderNameOf(const std::string& helpFile) {
  QString name = QString::fromStdString(helpFile);
  if (name.endsWith(".chm", Qt::CaseInsensitive)) name.chop(4);
  if (name.startsWith("vb420", Qt::CaseInsensitive)) name.remove(0, 5);
  return name.toLower();
}

QString HelpSystem::PageName(int context) {
  if (context == 0) return QStringLiteral("index.html");
  return QString::number(context, 16) + QStringLiteral(".html");
}

QString HelpSystem::PageTitle(const QString& page) {
  QFile f(page);
  if (page.isEmpty() || !f.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromUtf8(f.read(4096));
  static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"),
                                        QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = title.match(text);
  return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

QString HelpSystem::HelpFolder() const {
  const QString lang = FolderNameOf(helpFile_);
  if (lang.isEmpty()) return {};
  for (const QString& d : dirs_) {
    const QString folder = QDir(d).filePath("help/" + lang);
    if (QFileInfo(QDir(folder).filePath("index.html")).isFile()) return QDir::cleanPath(folder);
  }
  return {};
}

QString HelpSystem::PageFor(int context) const {
  const QString folder = HelpFolder();
  if (folder.isEmpty()) return {};
  const QString page = QDir(folder).filePath(PageName(context));
  if (QFileInfo(page).isFile()) return page;
  return QDir(folder).filePath(PageName(0));
}

bool HelpSystem::Show(QWidget* from, int context) {
  // Whatever the user was doing with the mouse or a menu ends here.
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  const QString page = PageFor(context);
  if (page.isEmpty()) return false;
  // Help asked for from a modal dialog (print options, a radio dialog, any
  // other) belongs to that dialog: a window of its own would open behind it
  // and take no input while the dialog runs. Owned by the modal dialog it
  // stands above it and takes input; asked for from anywhere else it is a
  // window of its own again.
  QWidget* owner = QApplication::activeModalWidget();
  if (owner && window_ && (owner == window_ || owner->isAncestorOf(window_))) owner = window_->parentWidget();
  if (window_ && window_->parentWidget() != owner) {
    const QRect geometry = window_->geometry();
    window_->setParent(owner, window_->windowFlags() | Qt::Window);
    window_->setGeometry(geometry);
  }
  if (!window_) {
    auto* w = new QWidget(owner, Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowTitle(QStringLiteral("VB-420"));
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(w);
    browser_ = new QTextBrowser(w);
    browser_->setOpenExternalLinks(true);
    // The buttons carry no words of their own: arrows for back and forward,
    // and the contents page's title (in the book's language) for home.
    QAction* back = bar->addAction(w->style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("\u2190"));
    QAction* fwd = bar->addAction(w->style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("\u2192"));
    QAction* home = bar->addAction(w->style()->standardIcon(QStyle::SP_DirHomeIcon), PageTitle(PageFor(0)));
    home->setObjectName(QStringLiteral("helpContents"));
    back->setShortcut(QKeySequence(QKeySequence::Back));
    fwd->setShortcut(QKeySequence(QKeySequence::Forward));
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(fwd, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] {
      const QString p = PageFor(0);
      if (!p.isEmpty() && browser_) browser_->setSource(QUrl::fromLocalFile(p));
    });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, fwd, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, w, [this, w] {
      if (browser_) w->setWindowTitle(QStringLiteral("VB-420 - ") + browser_->documentTitle());
    });
    back->setEnabled(false);
    fwd->setEnabled(false);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    connect(w, &QObject::destroyed, this, [this] { browser_ = nullptr; });
    // Large enough for the pages' tables, never larger than the screen.
    QSize size(860, 760);
    if (const QScreen* screen = (from ? from->screen() : QGuiApplication::primaryScreen())) {
      const QRect avail = screen->availableGeometry();
      size = size.boundedTo(QSize(avail.width() * 9 / 10, avail.height() * 9 / 10));
    }
    w->resize(size);
    window_ = w;
  }
  browser_->setSource(QUrl::fromLocalFile(page));
  window_->show();
  window_->raise();
  window_->activateWindow();
  return true;
}

void HelpSystem::CloseAll() {
  if (window_) {
    window_->close();
    delete window_.data();
  }
  browser_ = nullptr;
}

QTextBrowser* HelpSystem::Browser() const { return window_ ? browser_ : nullptr; }
QWidget* HelpSystem::Window() const { return window_.data(); }

void InstallHelpKey(QWidget* widget, HelpSystem& help, std::function<int()> context) {
  auto* sc = new QShortcut(QKeySequence(Qt::Key_F1), widget);
  sc->setContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(sc, &QShortcut::activated, widget,
                   [&help, widget, context = std::move(context)] { help.Show(widget, context()); });
}

}  // namespace vb420
