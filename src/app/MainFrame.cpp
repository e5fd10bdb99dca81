// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/Workspace.h"
#include "app/MainFrame.h"

#include "data/ByteChanges.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTime>
#include <QToolBar>
#include <QTreeWidget>

#include "app/AboutDlg.h"
#include "app/AccessKeys.h"
#include "frame/ui/AppSettings.h"
#include "frame/ui/SettingsFormat.h"
#include "app/SplashWnd.h"
#include "app/ToolIcons.h"
#include "app/TreeBar.h"
#include "app/UndoController.h"
#include "editors/compare/ui/CompareWindow.h"
#include "app/UiLanguage.h"
#include "data/ModelChange.h"
#include "data/ui/ModelInfoDlg.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/LanguageSetupDlg.h"
#include "lang/ui/MessageHelper.h"
#include "print/PrintPreview.h"

namespace vb420 {

namespace {

constexpr int kPendingKeyBase = 1000;

// Commands that later parts of the program provide through the registry;
// until they do, each opens a window saying it is not there yet.
bool IsHookCommand(int c) {
  switch (c) {
    case kCmdFileImport:
    case kCmdFileExport:
    case kCmdFileExportSettingsText:
    case kCmdFileImportSettingsText:
    case kCmdFilePrint:
    case kCmdFilePrintPreview:
    case kCmdMobileIdNames:
    case kCmdSiteInfo:
    case kCmdRead:
    case kCmdWrite:
    case kCmdTestMode:
    case kCmdMemoryMap:
    case kCmdEeprom:
    case kCmdRadioInfo:
    case kCmdCommPort: return true;
    default: return false;
  }
}

// The client area: Control+Tab belongs to the focused control (a grid moves
// between cells with it), not to switching editor windows.
class CMdiClient : public QMdiArea {
 public:
  using QMdiArea::QMdiArea;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->modifiers() & Qt::ControlModifier) && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab))
        return false;
    }
    return QMdiArea::eventFilter(watched, event);
  }
};

}  // namespace

CMainFrame::CMainFrame(Workspace& ws, AppSettings& settings, MessageHelper& msg, HelpSystem& help, int colourDepth,
                       bool showSplash)
    : ws_(ws),
      settings_(settings),
      msg_(msg),
      help_(help),
      ctx_{ws, msg, help, *this},
      files_(ws, msg, &help, *this) {
  setObjectName("mainFrame");
  setWindowIcon(ProgramIcon());
  msg_.SetMainWindow(this);
  mdi_ = new CMdiClient(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // From the palette, so that a dark system theme keeps its look.
  mdi_->setBackground(palette().brush(QPalette::Dark));
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    // While a dialog or another program has the focus no editor window is
    // active, yet the editor that was active is still the one the menu is
    // for: the menu bar stays as it is until another window becomes active.
    if (!w && !Children().empty() && !isActiveWindow()) return;
    if (withWindowMenu_) RebuildMenus(true);
  });

  CreateActions();
  CreateExtras();
  CreateToolBar();
  CreateStatusBar();
  setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
  RebuildMenus(false);
  CreateTreeBar();

  // F1 outside the menus: the active editor's help, or the contents.
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, [this] { help_.Show(this, ActiveHelpContext()); });

  resize(1024, 720);
  if (showSplash) {
    splash_ = new CSplashWnd(ws_.text, colourDepth);
    splash_->ShowCentred(nullptr);
  }
  UpdateCaption();
  UpdatePortPane();
}

CMainFrame::~CMainFrame() {
  // The base class still hides and closes the children after this body has
  // run; nothing of theirs may call back into the members gone by then.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  clock_.stop();
  if (splash_) delete splash_.data();
}

// ---- actions, menus, bars --------------------------------------------------

void CMainFrame::CreateActions() {
  const int all[] = {kCmdFileNew,        kCmdFileOpen,     kCmdFileSave,      kCmdFileSaveAs,
                     kCmdFileImport,     kCmdFileExport,   kCmdFilePrint,     kCmdFilePrintPreview,
                     kCmdFileExit,       kCmdFileExportSettingsText, kCmdFileImportSettingsText, kCmdModelInfo,    kCmdZoneInfo,      kCmdFeatures,
                     kCmdKeys,           kCmdScan,         kCmdDtmf,          kCmdTwoTone,
                     kCmdVantelix,       kCmdAlertTone,    kCmdEmergency,     kCmdExtFunction,
                     kCmdZoneMerge,      kCmdTestFreq,     kCmdEmbMessage,    kCmdEmbPassword,
                     kCmdMobileIdNames,  kCmdSiteInfo,     kCmdTechSetting,   kCmdRead,
                     kCmdWrite,          kCmdTestMode,     kCmdMemoryMap,     kCmdEeprom,
                     kCmdRadioInfo,      kCmdCommPort,     kCmdLanguage,      kCmdTreeView,
                     kCmdToolBar,        kCmdStatusBar,    kCmdCascade,       kCmdTileHorizontal,
                     kCmdTileVertical,   kCmdArrange,      kCmdCloseAll,      kCmdHelpTopics,
                     kCmdAbout};
  for (int c : all) {
    auto* a = new QAction(this);
    a->setData(c);
    connect(a, &QAction::triggered, this, [this, c] {
      // A shortcut pressed while the splash is up only closes the splash.
      if (splash_ && splash_->isVisible()) {
        splash_->close();
        return;
      }
      RunCommand(c);
    });
    actions_[c] = a;
  }
  actions_[kCmdFileNew]->setShortcut(QKeySequence::New);
  actions_[kCmdFileOpen]->setShortcut(QKeySequence::Open);
  actions_[kCmdFileSave]->setShortcut(QKeySequence::Save);
  actions_[kCmdFilePrint]->setShortcut(QKeySequence::Print);
  for (int c : {kCmdTreeView, kCmdToolBar, kCmdStatusBar}) actions_[c]->setCheckable(true);
  actions_[kCmdToolBar]->setChecked(true);
  actions_[kCmdStatusBar]->setChecked(true);

  actions_[kCmdFileNew]->setIcon(ToolIcon(ToolPicture::NewFile));
  actions_[kCmdFileOpen]->setIcon(ToolIcon(ToolPicture::OpenFile));
  actions_[kCmdFileSave]->setIcon(ToolIcon(ToolPicture::SaveFile));
  actions_[kCmdFilePrint]->setIcon(ToolIcon(ToolPicture::Print));
  actions_[kCmdRead]->setIcon(ToolIcon(ToolPicture::ReadRadio));
  actions_[kCmdWrite]->setIcon(ToolIcon(ToolPicture::WriteRadio));
  actions_[kCmdAbout]->setIcon(ToolIcon(ToolPicture::About));
  RelabelActions();
}

QAction* CMainFrame::Action(int command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::RelabelActions() {
  for (auto& [command, action] : actions_) {
    const int entry = MenuEntryOfCommand(command);
    if (entry > 0) action->setText(msg_.T(entry).section('\t', 0, 0));
  }
  const std::pair<int, int> tips[] = {{kCmdFileNew, 109},  {kCmdFileOpen, 110}, {kCmdFileSave, 111}, {kCmdFilePrint, 112},
                                      {kCmdRead, 113},     {kCmdWrite, 114},    {kCmdAbout, 8}};
  for (const auto& [command, entry] : tips) {
    actions_[command]->setToolTip(MenuLabel(msg_.T(entry)));
    actions_[command]->setStatusTip(MenuLabel(msg_.T(entry)));
  }
}

void CMainFrame::CreateToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("toolBar");
  toolBar_->setIconSize(QSize(24, 24));
  toolBar_->setMovable(true);
  toolBar_->addAction(actions_[kCmdFileNew]);
  toolBar_->addAction(actions_[kCmdFileOpen]);
  toolBar_->addAction(actions_[kCmdFileSave]);
  toolBar_->addSeparator();
  toolBar_->addAction(actions_[kCmdFilePrint]);
  toolBar_->addSeparator();
  toolBar_->addAction(actions_[kCmdRead]);
  toolBar_->addAction(actions_[kCmdWrite]);
  toolBar_->addSeparator();
  toolBar_->addAction(actions_[kCmdAbout]);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  connect(toolBar_, &QToolBar::visibilityChanged, actions_[kCmdToolBar], &QAction::setChecked);
  toolBar_->installEventFilter(this);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("statusBar");
  portPane_ = new QLabel(bar);
  portPane_->setObjectName("portPane");
  datePane_ = new QLabel(bar);
  datePane_->setObjectName("datePane");
  timePane_ = new QLabel(bar);
  timePane_->setObjectName("timePane");
  for (QLabel* l : {portPane_, datePane_, timePane_}) {
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setContentsMargins(6, 0, 6, 0);
    l->setAlignment(Qt::AlignCenter);
  }
  portPane_->installEventFilter(this);
  bar->addPermanentWidget(portPane_);
  bar->addPermanentWidget(datePane_);
  bar->addPermanentWidget(timePane_);
  bar->installEventFilter(this);
  clock_.setInterval(1000);
  connect(&clock_, &QTimer::timeout, this, &CMainFrame::UpdateClock);
  clock_.start();
  // The unsaved-changes mark follows the data a moment after each change.
  modifiedTimer_.setInterval(250);
  connect(&modifiedTimer_, &QTimer::timeout, this, &CMainFrame::UpdateModifiedMark);
  modifiedTimer_.start();
  UpdateClock();
}

void CMainFrame::UpdateClock() {
  const QDateTime now = QDateTime::currentDateTime();
  // The date in the program's language, not the system's.
  const QLocale loc = UiLocale(ws_.text.CurrentLanguage());
  datePane_->setText(loc.toString(now.date(), QLocale::ShortFormat));
  timePane_->setText(now.time().toString(QStringLiteral("HH:mm:ss")));
  UpdatePortPane();
}

void CMainFrame::UpdatePortPane() {
  if (!portPane_) return;
  portPane_->setText(QStringLiteral("COM%1").arg(ws_.comPort));
  portPane_->setToolTip(QString::fromStdString(settings_.PortDevice(ws_.comPort)));
}

void CMainFrame::CreateTreeBar() {
  tree_ = new CTreeBar(ws_.text, ws_.data, this);
  // Docked beside the editor windows, so that it never covers one of them.
  addDockWidget(Qt::LeftDockWidgetArea, tree_);
  tree_->hide();
  connect(tree_, &CTreeBar::RunCommand, this, [this](int command) {
    PostCommand(command);
    activateWindow();
  });
  connect(tree_, &CTreeBar::ToggleRequested, this, [this] { ToggleTree(); });
  connect(tree_, &CTreeBar::HelpRequested, this, [this] { help_.Show(this, kHelpTreeBar); });
  connect(tree_, &QDockWidget::visibilityChanged, this, [this](bool) {
    actions_[kCmdTreeView]->setChecked(tree_->isVisible());
  });
}

QMenu* CMainFrame::AddMenu(int entry) {
  QMenu* m = menuBar()->addMenu(msg_.T(entry).section('\t', 0, 0));
  m->installEventFilter(this);
  m->setToolTipsVisible(false);
  return m;
}

void CMainFrame::AddItems(QMenu* menu, std::initializer_list<int> commands) {
  for (int c : commands) {
    if (c == 0) menu->addSeparator();
    else menu->addAction(actions_[c]);
  }
}

void CMainFrame::RebuildMenus(bool withWindow) {
  withWindowMenu_ = withWindow;
  RelabelActions();
  QMenuBar* bar = menuBar();
  for (QAction* a : bar->actions())
    if (QMenu* m = a->menu()) m->deleteLater();
  bar->clear();

  QMenu* file = AddMenu(41);
  AddItems(file, {kCmdFileNew, kCmdFileOpen, kCmdFileSave, kCmdFileSaveAs, 0, kCmdFileImport, kCmdFileExport,
                  kCmdFileImportSettingsText, kCmdFileExportSettingsText, 0,
                  kCmdCompareWith, kCmdCompareRadio, 0, kCmdFilePrint, kCmdFilePrintPreview, 0});
  FillRecentMenu(file);
  AddItems(file, {kCmdFileExit});
  AddItems(AddMenu(52), {kCmdModelInfo});
  QMenu* edit = AddMenu(54);
  // Undo and Redo stand above the editor list.
  edit->addAction(undo_->UndoAction());
  edit->addAction(undo_->RedoAction());
  edit->addSeparator();
  connect(edit, &QMenu::aboutToShow, undo_, &CUndoController::CommitNow);
  for (const EditorListRow& row : EditorList()) {
    if (row.command == 0) edit->addSeparator();
    else edit->addAction(actions_[row.command]);
  }
  AddItems(AddMenu(75), {kCmdRead, kCmdWrite, 0, kCmdTestMode, 0, kCmdMemoryMap, kCmdEeprom});
  AddItems(AddMenu(81), {kCmdRadioInfo});
  AddItems(AddMenu(88), {kCmdCommPort, kCmdLanguage});
  AddItems(AddMenu(91), {kCmdTreeView, kCmdToolBar, kCmdStatusBar});
  QMenu* window = nullptr;
  if (withWindow) {
    window = AddMenu(95);
    window->setObjectName("windowMenu");
    FillWindowMenu(window);
  }
  QMenu* help = AddMenu(101);
  AddItems(help, {kCmdHelpTopics, 0, kCmdAbout});
  // A language whose menu titles carry access keys gets one on every item,
  // also where its texts have none (or are shared with titles and labels
  // that cannot carry one).
  bool languageUsesKeys = false;
  for (QAction* a : bar->actions()) languageUsesKeys = languageUsesKeys || AccessKeyOf(a->text()).isLetter();
  accessKeysEverywhere_ = languageUsesKeys;
  // The active editor's menu stands before the Window menu; it is made last
  // so that its access key can avoid those of every other menu.
  AddViewMenu(window ? window->menuAction() : help->menuAction());
  EnsureAccessKeys(bar->actions(), false);
  for (QAction* a : bar->actions())
    if (QMenu* m = a->menu(); m && m != viewMenu_) EnsureAccessKeys(m->actions(), languageUsesKeys);
}

CEditorView* CMainFrame::MenuView() const {
  // The current window stays current while a dialog is up; a window being
  // closed is no longer listed.
  auto* child = qobject_cast<CChildFrame*>(mdi_->currentSubWindow());
  if (!child || !child->View()) return nullptr;
  auto it = children_.find(child->Key());
  return it != children_.end() && it->second == child ? child->View() : nullptr;
}

void CMainFrame::AddViewMenu(QAction* before) {
  viewMenu_ = nullptr;
  CEditorView* view = withWindowMenu_ ? MenuView() : nullptr;
  if (!view) return;
  QString title = view->MenuTitle();
  if (title.isEmpty()) return;
  if (AccessKeyOf(title).isNull()) {
    // The title gets an access key no other menu of the bar uses.
    QString used;
    for (QAction* a : menuBar()->actions())
      if (const QChar k = AccessKeyOf(a->text()); !k.isNull()) used += k;
    title = WithAccessKey(title, used);
  }
  viewMenu_ = new QMenu(title, menuBar());
  menuBar()->insertMenu(before, viewMenu_);
  viewMenu_->setObjectName("viewMenu");
  viewMenu_->installEventFilter(this);
  viewMenu_->setToolTipsVisible(false);
  view->FillMenu(viewMenu_);
  // The view relabels its items each time the menu opens (their texts
  // follow the current zone's class); the access keys are settled after it.
  QMenu* menu = viewMenu_;
  const bool fill = accessKeysEverywhere_;
  EnsureAccessKeys(menu->actions(), fill);
  connect(menu, &QMenu::aboutToShow, menu, [menu, fill] { EnsureAccessKeys(menu->actions(), fill); });
}

void CMainFrame::FillWindowMenu(QMenu* menu) {
  AddItems(menu, {kCmdCascade, kCmdTileHorizontal, kCmdTileVertical, kCmdArrange, 0, kCmdCloseAll});
  const auto children = Children();
  if (children.empty()) return;
  menu->addSeparator();
  int n = 1;
  for (CChildFrame* child : children) {
    QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(child->windowTitle()));
    a->setCheckable(true);
    a->setChecked(mdi_->activeSubWindow() == child);
    QPointer<CChildFrame> target = child;
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) mdi_->setActiveSubWindow(target);
    });
  }
}

// ---- editor windows -----------------------------------------------------

std::vector<CChildFrame*> CMainFrame::Children() const {
  std::vector<CChildFrame*> out;
  for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    auto* child = qobject_cast<CChildFrame*>(w);
    if (child && children_.count(child->Key()) && children_.at(child->Key()) == child) out.push_back(child);
  }
  return out;
}

CEditorView* CMainFrame::FindEditor(EditorKind kind) const {
  auto it = children_.find(static_cast<int>(kind));
  return it != children_.end() && it->second ? it->second->View() : nullptr;
}

CEditorView* CMainFrame::OpenFrame(int key, CEditorView* view) {
  auto* frame = new CChildFrame(view, key);
  frame->setWindowIcon(ProgramIcon());
  children_[key] = frame;
  connect(frame, &CChildFrame::Closed, this, &CMainFrame::ChildClosed);
  mdi_->addSubWindow(frame);
  view->InitialUpdate();
  frame->setWindowTitle(view->Title());
  // The window opens at the size its view asks for (within the area).
  const QSize area = mdi_->viewport()->size();
  QSize size = frame->sizeHint();
  if (area.width() > 100 && area.height() > 100) size = size.boundedTo(area);
  frame->resize(size);
  // Every window takes the next cascade place, also one that has a place of
  // its own, so that the next window does not open on top of it.
  const QPoint cascade = NextCascadePosition(size, area);
  if (const QPoint at = view->InitialPosition(); at.x() >= 0 && at.y() >= 0) frame->move(at);
  else frame->move(cascade);
  frame->show();
  mdi_->setActiveSubWindow(frame);
  // The keyboard goes into the new window, so that its keys (F7, F11...)
  // work at once.
  QWidget* focus = view->InitialFocus();
  if (!focus) {
    for (QWidget* w : view->findChildren<QWidget*>()) {
      if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(view)) {
        focus = w;
        break;
      }
    }
  }
  if (focus) focus->setFocus(Qt::OtherFocusReason);
  RebuildMenus(true);
  return view;
}

CEditorView* CMainFrame::OpenEditor(EditorKind kind) {
  const int key = static_cast<int>(kind);
  if (key < 1 || key > kEditorKindCount) return nullptr;
  if (auto it = children_.find(key); it != children_.end() && it->second) {
    CChildFrame* frame = it->second;
    if (frame->isMinimized()) frame->showNormal();
    mdi_->setActiveSubWindow(frame);
    frame->raise();
    return frame->View();
  }
  CEditorView* view = nullptr;
  if (const EditorFactory* factory = EditorRegistry::Instance().Editor(kind)) view = (*factory)(ctx_, nullptr);
  if (!view) view = new CPendingView(ctx_, kind, 0);
  return OpenFrame(key, view);
}

void CMainFrame::OpenPending(int command) {
  const int key = kPendingKeyBase + command;
  if (auto it = children_.find(key); it != children_.end() && it->second) {
    mdi_->setActiveSubWindow(it->second);
    return;
  }
  OpenFrame(key, new CPendingView(ctx_, EditorKind::None, command));
}

void CMainFrame::ChildClosed(int key) {
  auto it = children_.find(key);
  if (it != children_.end()) children_.erase(it);
  // The closed window is still listed by the area until it is deleted.
  if (Children().empty()) RebuildMenus(false);
  else if (withWindowMenu_) RebuildMenus(true);
}

void CMainFrame::RefreshAllEditors(CEditorView* source) {
  // What changed since the windows last read the image: a store made in one
  // window refreshes only the windows that show its bytes. Without a source
  // (an undo, a model change, a switch) every window reads everything again.
  RadioData& d = ws_.data;
  ByteChanges changes;
  const bool known = shownImage_.size() == kImageSize && shownExt_.size() == kExtSize;
  if (known) {
    changes.image = ByteChanges::Diff(shownImage_.data(), d.Image().data(), kImageSize);
    changes.ext = ByteChanges::Diff(shownExt_.data(), d.Ext().data(), kExtSize);
  }
  shownImage_.assign(d.Image().data(), d.Image().data() + kImageSize);
  shownExt_.assign(d.Ext().data(), d.Ext().data() + kExtSize);
  const bool everything = !source || !known;
  if (!everything && changes.Empty()) return;
  for (CChildFrame* child : Children()) {
    CEditorView* v = child->View();
    if (v && v != source && (everything || v->ShowsBytes(changes))) v->Refresh();
  }
}

void CMainFrame::CommitPendingEdits() {
  for (CChildFrame* child : Children())
    if (child->View()) child->View()->CommitPendingEdit();
}

void CMainFrame::CloseAllEditors() {
  closingAll_ = true;
  for (;;) {
    const auto children = Children();
    if (children.empty()) break;
    CChildFrame* active = qobject_cast<CChildFrame*>(mdi_->activeSubWindow());
    CChildFrame* target = active && std::find(children.begin(), children.end(), active) != children.end()
                              ? active
                              : children.back();
    target->ForceClose();
    if (children_.count(target->Key()) && children_.at(target->Key()) == target) ChildClosed(target->Key());
  }
  if (tree_->isVisible()) ToggleTree();
  closingAll_ = false;
}

void CMainFrame::PostCommand(int command) {
  QTimer::singleShot(0, this, [this, command] { RunCommand(command); });
}

void CMainFrame::RecomputeChannelMarks() { EditorRegistry::Instance().RecomputeChannelMarks(ctx_); }

void CMainFrame::ImageReplaced() {
  // Another programming arrived: its history starts here. An import only
  // adds to the programming, and is one step that can be taken back.
  if (runningCommand_ != kCmdFileImport && runningCommand_ != kCmdFileImportSettingsText) undo_->Reset();
  EditorRegistry::Instance().RunImageReplacedHooks(ctx_);
  RebuildMenus(!Children().empty());
  UpdateCaption();
  if (tree_->isVisible()) tree_->Rebuild();
  OpenEditor(EditorKind::ZoneInfo);
}

bool CMainFrame::AskToSaveChanges() { return files_.AskToSave(); }

QString CMainFrame::CaptionText() const {
  return QStringLiteral("%1  [ %2 ] [ %3 : %4 ] [ %5 : %6 ]")
      .arg(QStringLiteral("VB-420"), QString::fromStdString(ws_.data.model.Description(ws_.text)), msg_.T(524),
           QString::fromStdString(ws_.datName), msg_.T(525), QString::fromStdString(ws_.sdtName));
}

void CMainFrame::UpdateCaption() {
  // "[*]" is where Qt shows the unsaved-changes mark.
  setWindowTitle(CaptionText().replace(QStringLiteral("VB-420  "), QStringLiteral("VB-420[*]  ")));
  UpdateModifiedMark();
}

void CMainFrame::UpdateModifiedMark() {
  const bool modified = ws_.data.buffers.Modified();
  if (modified != isWindowModified()) setWindowModified(modified);
}

QPoint CMainFrame::NextCascadePosition(const QSize& size, const QSize& area) {
  // Each new window one title bar lower and to the right of the one before;
  // back to the top left corner when the next one would leave the area.
  QStyleOptionTitleBar opt;
  opt.initFrom(this);
  const int step = std::max(16, style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, this));
  if (Children().size() <= 1) cascade_ = 0;
  QPoint at(cascade_ * step, cascade_ * step);
  if (cascade_ > 0 && (at.x() + size.width() > area.width() || at.y() + size.height() > area.height())) {
    cascade_ = 0;
    at = QPoint(0, 0);
  }
  ++cascade_;
  return at;
}

// ---- commands -------------------------------------------------------------

void CMainFrame::RunCommand(int command) {
  const int outer = runningCommand_;
  runningCommand_ = command;
  struct Restore {
    int& at;
    int value;
    ~Restore() { at = value; }
  } restore{runningCommand_, outer};
  if (const CommandHandler* handler = EditorRegistry::Instance().Command(command)) {
    (*handler)(ctx_);
    return;
  }
  const EditorKind kind = EditorKindOfCommand(command, ws_.data.model.IsPortable());
  if (kind != EditorKind::None) {
    OpenEditor(kind);
    return;
  }
  if (IsHookCommand(command)) {
    OpenPending(command);
    return;
  }
  switch (command) {
    case kCmdFileNew:
    case kCmdFileOpen:
    case kCmdFileSave:
    case kCmdFileSaveAs: RunFileCommand(command); break;
    case kCmdFileExit: QTimer::singleShot(0, this, &QWidget::close); break;
    case kCmdModelInfo: RunModelInfo(); break;
    case kCmdLanguage: RunLanguageSetup(); break;
    case kCmdTreeView: ToggleTree(); break;
    case kCmdFocusTree: FocusTree(); break;
    case kCmdToolBar: toolBar_->setVisible(!toolBar_->isVisible()); break;
    case kCmdStatusBar:
      statusBar()->setVisible(!statusBar()->isVisible());
      actions_[kCmdStatusBar]->setChecked(statusBar()->isVisible());
      break;
    case kCmdCascade: mdi_->cascadeSubWindows(); break;
    case kCmdTileHorizontal: TileWindows(true); break;
    case kCmdTileVertical: TileWindows(false); break;
    case kCmdArrange: ArrangeIcons(); break;
    case kCmdCloseAll: CloseAllEditors(); break;
    case kCmdHelpTopics: help_.Show(this, kHelpContents); break;
    case kCmdAbout: ShowAbout(); break;
    default: break;
  }
}

void CMainFrame::ToggleTree() {
  if (tree_->isVisible()) {
    tree_->hide();
  } else {
    tree_->Rebuild();
    if (tree_->isFloating()) tree_->move(mdi_->mapToGlobal(QPoint(8, 8)));
    tree_->show();
  }
  actions_[kCmdTreeView]->setChecked(tree_->isVisible());
}

void CMainFrame::FocusTree() {
  if (!tree_->isVisible()) ToggleTree();
  else tree_->Tree()->setFocus();
}

void CMainFrame::TileWindows(bool horizontal) {
  std::vector<CChildFrame*> wins;
  for (CChildFrame* c : Children())
    if (!c->isMinimized()) wins.push_back(c);
  if (wins.empty()) return;
  const QRect area = mdi_->viewport()->rect();
  const int n = static_cast<int>(wins.size());
  for (int i = 0; i < n; ++i) {
    wins[i]->showNormal();
    if (horizontal) {
      const int h = area.height() / n;
      wins[i]->setGeometry(0, i * h, area.width(), h);
    } else {
      const int w = area.width() / n;
      wins[i]->setGeometry(i * w, 0, w, area.height());
    }
  }
}

void CMainFrame::ArrangeIcons() {
  int x = 0;
  const QRect area = mdi_->viewport()->rect();
  for (CChildFrame* c : Children()) {
    if (!c->isMinimized()) continue;
    c->move(x, area.height() - c->height());
    x += c->width();
  }
}

void CMainFrame::RunModelInfo() {
  CommitPendingEdits();
  CModelInfoDlg dlg(ws_.data, msg_, &help_, this);
  if (msg_.Prompter().RunDialog(dlg) != QDialog::Accepted) return;
  const ModelChangeFlags flags = dlg.Flags();
  // A change that clears or converts the data replaces the programming:
  // unsaved work is offered for saving first, and Cancel changes nothing.
  if (flags.Any() && !AskToSaveChanges()) return;
  ModelChangeHooks hooks;
  EditorRegistry::Instance().FillModelChangeHooks(ctx_, hooks);
  ApplyModelChange(ws_.data, dlg.ChosenModel(), dlg.ChosenBand(), flags, hooks);
  if (flags.Any()) {
    ws_.RestoreDefaultFileNames();
    CloseAllEditors();
  } else {
    RefreshAllEditors();
  }
  RebuildMenus(!Children().empty());
  UpdateCaption();
  if (tree_->isVisible()) tree_->Rebuild();
  OpenEditor(EditorKind::ZoneInfo);
}

void CMainFrame::RunLanguageSetup() {
  CLanguageSetupDlg dlg(ws_.text, &help_, this);
  if (msg_.Prompter().RunDialog(dlg) != QDialog::Accepted) return;
  const LanguageInfo* lang = LanguageByKey(dlg.SelectedKey());
  if (!lang || ws_.text.CurrentLanguage() == lang->name) return;
  // Every window closes and the texts are loaded anew: unsaved work is
  // offered for saving first, as before any other command of that weight.
  if (!AskToSaveChanges()) return;
  help_.CloseAll();
  ws_.languageName = lang->name;
  ws_.helpFile = lang->helpFile;
  help_.SetHelpFile(ws_.helpFile);
  CloseAllEditors();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const TextTable::LoadResult result = ws_.text.LoadFile(ws_.text.Path(), ws_.languageName);
  QApplication::restoreOverrideCursor();
  if (result != TextTable::LoadResult::Ok) {
    msg_.Ask(QString::fromLatin1(result == TextTable::LoadResult::NotFound ? TextTable::kMsgNotFound
                                                                           : TextTable::kMsgDamaged),
             QString::fromLatin1(TextTable::kMsgCaption), MsgIcon::Error, kMsgOk);
    return;
  }
  InstallQtTranslations(ws_.text.CurrentLanguage());
  RebuildMenus(false);
  UpdateCaption();
  UpdateClock();
  if (tree_->isVisible()) tree_->Rebuild();
  EditorRegistry::Instance().RunLanguageChangedHooks(ctx_);
  OpenEditor(EditorKind::ZoneInfo);
}

void CMainFrame::ShowAbout() {
  CAboutDlg dlg(ws_.text, this);
  msg_.Prompter().RunDialog(dlg);
}

int CMainFrame::ActiveHelpContext() const {
  if (auto* child = qobject_cast<CChildFrame*>(mdi_->activeSubWindow()))
    if (child->View()) return child->View()->HelpContext();
  return kHelpContents;
}

// ---- events -----------------------------------------------------------------

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
      const QAction* a = menu->activeAction();
      int context = a ? HelpContextOfCommand(a->data().toInt()) : 0;
      if (a && !context) context = ExtraHelpContext(a->data().toInt());
      if (context != 0) help_.Show(this, context);
      return true;
    }
  }
  if (watched == portPane_ && event->type() == QEvent::MouseButtonDblClick) {
    PostCommand(kCmdCommPort);
    return true;
  }
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (watched == toolBar_) return help_.Show(this, kHelpToolBar), true;
    if (watched == statusBar()) return help_.Show(this, kHelpStatusBar), true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    const Qt::WindowStates st = windowState();
    if (!(st & Qt::WindowMinimized)) wasMaximized_ = (st & Qt::WindowMaximized) != 0;
  }
  QMainWindow::changeEvent(event);
}

QString CMainFrame::PlacementText() const {
  WindowPlacement p;
  QRect normal = normalGeometry();
  if (!normal.isValid() || normal.isEmpty()) normal = geometry();
  p.left = normal.x();
  p.top = normal.y();
  p.right = normal.x() + normal.width();
  p.bottom = normal.y() + normal.height();
  const Qt::WindowStates st = windowState();
  if (st & Qt::WindowMinimized) {
    // Reopen as the user will see it when restoring, never minimised.
    const bool max = (st & Qt::WindowMaximized) || wasMaximized_;
    p.showCmd = max ? WindowPlacement::kShowMaximized : WindowPlacement::kShowNormal;
    if (max) p.flags |= WindowPlacement::kRestoreToMaximized;
  } else if (st & Qt::WindowMaximized) {
    p.showCmd = WindowPlacement::kShowMaximized;
  } else {
    p.showCmd = WindowPlacement::kShowNormal;
  }
  return QString::fromStdString(FormatWindowPlacement(p));
}

void CMainFrame::RestorePlacement(const QString& stored) {
  const auto p = ParseWindowPlacement(stored.toStdString());
  if (!p) {
    // Without a window manager "maximised" alone would leave the default size.
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->availableGeometry());
    showMaximized();
    return;
  }
  QRect r(p->left, p->top, p->right - p->left, p->bottom - p->top);
  // A rectangle that no screen shows any more (a monitor was removed) or
  // that is too small to use gets a sensible size in the middle of the screen.
  const bool usable = r.width() >= 200 && r.height() >= 150 && QGuiApplication::screenAt(r.center()) != nullptr;
  if (!usable) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size(std::min(1024, avail.width()), std::min(720, avail.height()));
    r = QRect(avail.center() - QPoint(size.width() / 2, size.height() / 2), size);
  }
  setGeometry(r);
  switch (p->showCmd) {
    case WindowPlacement::kShowMaximized: showMaximized(); break;
    case WindowPlacement::kShowMinimized:
    case 6:  // minimised without activation
    case 7: showMinimized(); break;
    default: show(); break;  // a stored "hidden" would leave no window at all
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // While the print preview shows, closing ends the preview only.
  if (print::EndPreview()) {
    event->ignore();
    return;
  }
  if (msg_.Ask(msg_.T(194), msg_.T(195), MsgIcon::Question, kMsgYesNo, this) != kIdYes) {
    event->ignore();
    return;
  }
  if (!files_.AskToSave()) {
    event->ignore();
    return;
  }
  settings_.SetLastWinPos(PlacementText());
  help_.CloseAll();
  if (splash_) splash_->close();
  event->accept();
}

}  // namespace vb420
