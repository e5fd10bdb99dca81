// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/Workspace.h"
#include "frame/ui/EditorView.h"

#include "data/ByteChanges.h"
#include "editors/grid/AccessibleNames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "lang/ui/MessageHelper.h"

namespace vb420 {

namespace {

// The windows that have no menu item of their own take their titles from
// the entries that name them in the editors' menus and buttons. The PassPort
// header windows and the key picture have no such entry: they keep their
// fixed names, which those windows replace with captions of their own.
int PlainNameEntry(EditorKind kind) {
  switch (kind) {
    case EditorKind::ChannelEdit: return 65;
    case EditorKind::GidEdit: return 66;
    case EditorKind::RepeaterInfo: return 67;
    case EditorKind::ConvZoneEdit: return 68;
    case EditorKind::TrunkZoneEdit: return 69;
    case EditorKind::ScanList: return 522;
    case EditorKind::KeyImage: return 339;
    default: return 0;
  }
}

const char* PlainName(EditorKind kind) {
  switch (kind) {
    case EditorKind::PPSysData: return "PassPort System Data";
    case EditorKind::PPSearchHold: return "PassPort Search and Hold";
    case EditorKind::PPSeedFreq: return "PassPort Seed Frequency";
    default: return "";
  }
}

}  // namespace

// A menu text without its accelerator marks and shortcut column.
QString MenuLabel(const QString& text) {
  // Without the shortcut column.
  return WithoutAccessKeys(text.section(u'\t', 0, 0)).trimmed();
}

bool CEditorView::ShowsBytes(const ByteChanges&) const { return true; }

CEditorView::CEditorView(EditorContext& ctx, EditorKind kind, QWidget* parent)
    : QWidget(parent), ctx_(ctx), kind_(kind) {}

QString CEditorView::Title() const {
  const EditorKindInfo* info = EditorKindInfoOf(kind_);
  if (info && info->titleEntry > 0) {
    const QString t = MenuLabel(ctx_.msg.T(info->titleEntry));
    if (!t.isEmpty()) return t;
  }
  if (const int entry = PlainNameEntry(kind_); entry > 0) {
    const QString t = MenuLabel(ctx_.msg.T(entry));
    if (!t.isEmpty()) return t;
  }
  const QString plain = QString::fromLatin1(PlainName(kind_));
  if (!plain.isEmpty()) return plain;
  return info ? QString::fromLatin1(info->viewClass) : QString();
}

int CEditorView::HelpContext() const {
  const EditorKindInfo* info = EditorKindInfoOf(kind_);
  return info ? info->helpContext : 0;
}

CPendingView::CPendingView(EditorContext& ctx, EditorKind kind, int command, QWidget* parent)
    : CEditorView(ctx, kind, parent), command_(command) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 24, 24, 24);
  heading_ = new QLabel(this);
  QFont f = heading_->font();
  f.setPointSizeF(f.pointSizeF() * 1.5);
  f.setBold(true);
  heading_->setFont(f);
  detail_ = new QLabel(this);
  detail_->setWordWrap(true);
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(heading_);
  layout->addWidget(rule);
  layout->addWidget(detail_);
  layout->addStretch(1);
  setMinimumSize(420, 220);
  Refresh();
}

QString CPendingView::Title() const {
  if (Kind() != EditorKind::None) return CEditorView::Title();
  const int entry = MenuEntryOfCommand(command_);
  return entry > 0 ? MenuLabel(const_cast<CPendingView*>(this)->Context().msg.T(entry)) : QString();
}

void CPendingView::Refresh() {
  heading_->setText(Title());
  RadioData& data = Context().ws.data;
  const QString model = QString::fromStdString(data.model.Description(Context().ws.text));
  detail_->setText(QStringLiteral("This window is not built yet in this version of VB-420.\n\nProgramming: %1")
                       .arg(model));
}

CChildFrame::CChildFrame(CEditorView* view, int key, QWidget* parent)
    : QMdiSubWindow(parent), view_(view), key_(key) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWidget(view);
  setWindowTitle(view->Title());
  connect(view, &CEditorView::TitleChanged, this, [this] { setWindowTitle(view_->Title()); });
}

int WidthForTitle(const QWidget* window) {
  // The title bar's label gets what its buttons and icon leave of the width.
  QStyleOptionTitleBar opt;
  opt.initFrom(window);
  opt.titleBarFlags = window->windowFlags();
  if (!qobject_cast<const QMdiSubWindow*>(window))
    opt.titleBarFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  opt.rect = QRect(0, 0, 1000, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, window));
  const int chrome =
      1000 - window->style()->subControlRect(QStyle::CC_TitleBar, &opt, QStyle::SC_TitleBarLabel, window).width();
  // Title bars draw their text bold.
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const QFontMetrics fm(font);
  QString title = window->windowTitle();
  title.remove(QStringLiteral("[*]"));
  return fm.horizontalAdvance(title) + chrome + 8;
}

bool CChildFrame::event(QEvent* event) {
  // Never smaller than its view can be laid out in (tiling, the user's
  // mouse): a smaller window would squeeze the controls over each other.
  // A minimised or rolled-up window is only its title.
  if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::WindowStateChange)
    setMinimumSize(isMinimized() || isShaded() ? QSize() : QMdiSubWindow::minimumSizeHint());
  return QMdiSubWindow::event(event);
}

QSize CChildFrame::sizeHint() const { return QMdiSubWindow::sizeHint().expandedTo(QSize(WidthForTitle(this), 0)); }

bool CChildFrame::CloseNow() {
  if (view_ && (!view_->CommitPendingEdit() || !view_->QueryClose())) return false;
  closeNow_ = true;
  const bool closed = close();
  if (!closed) closeNow_ = false;
  return closed;
}

void CChildFrame::ForceClose() {
  if (view_) view_->CommitPendingEdit();
  closeNow_ = true;
  close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (closeNow_) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) Q_EMIT Closed(key_);
    else closeNow_ = false;
    return;
  }
  event->ignore();
  if (closePosted_) return;
  closePosted_ = true;
  QTimer::singleShot(0, this, [this] {
    closePosted_ = false;
    CloseNow();
  });
}

EditorRegistry& EditorRegistry::Instance() {
  static EditorRegistry registry;
  return registry;
}

void EditorRegistry::RegisterEditor(EditorKind kind, EditorFactory factory) { editors_[kind] = std::move(factory); }
void EditorRegistry::RegisterCommand(int command, CommandHandler handler) { commands_[command] = std::move(handler); }
void EditorRegistry::AddModelChangeHooks(std::function<void(EditorContext&, ModelChangeHooks&)> provider) {
  modelHooks_.push_back(std::move(provider));
}
void EditorRegistry::AddChannelMarkRecompute(std::function<void(EditorContext&)> fn) {
  markHooks_.push_back(std::move(fn));
}
void EditorRegistry::AddImageReplacedHook(std::function<void(EditorContext&)> fn) {
  replacedHooks_.push_back(std::move(fn));
}

void EditorRegistry::AddLanguageChangedHook(std::function<void(EditorContext&)> fn) {
  languageHooks_.push_back(std::move(fn));
}

const EditorFactory* EditorRegistry::Editor(EditorKind kind) const {
  auto it = editors_.find(kind);
  return it == editors_.end() ? nullptr : &it->second;
}

const CommandHandler* EditorRegistry::Command(int command) const {
  auto it = commands_.find(command);
  return it == commands_.end() ? nullptr : &it->second;
}

void EditorRegistry::FillModelChangeHooks(EditorContext& ctx, ModelChangeHooks& hooks) const {
  for (const auto& p : modelHooks_) p(ctx, hooks);
}
void EditorRegistry::RecomputeChannelMarks(EditorContext& ctx) const {
  for (const auto& f : markHooks_) f(ctx);
}
void EditorRegistry::RunImageReplacedHooks(EditorContext& ctx) const {
  for (const auto& f : replacedHooks_) f(ctx);
}
void EditorRegistry::RunLanguageChangedHooks(EditorContext& ctx) const {
  for (const auto& f : languageHooks_) f(ctx);
}

}  // namespace vb420
