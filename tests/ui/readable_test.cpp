// SPDX-License-Identifier: GPL-3.0-or-later
// Every window readable at the size it opens and tiled four to a 1280 x 800
// main window, in English and in Spanish, on a first-generation mobile, a
// second-generation UHF mobile and a portable: every window of the Edit menu,
// the editors the windows open, the dialogs of the menus and of the editors.
// A finding names the window, the language and the control.
#include "support/Paths.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionTitleBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "editors/features/ui/FeatureViews.h"
#include "editors/features/ui/KeyViews.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/messages/ui/MessageViews.h"
#include "editors/signalling/TonePlayer.h"
#include "editors/signalling/ui/AlertTestDlg.h"
#include "editors/signalling/ui/SignalViews.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "frame/ui/Commands.h"
#include "frame/ui/EditorView.h"
#include "lang/ui/UiPrompter.h"
#include "support/Files.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

QString Plain(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(u'&');
  text.replace(u'\x01', u'&');
  return text;
}

int Advance(const QFontMetrics& fm, const QString& text) {
  int w = 0;
  for (const QString& line : text.split(u'\n')) w = std::max(w, fm.horizontalAdvance(line));
  return w;
}

bool ElidedOnPurpose(const QWidget* w, const QString& shown) {
  return shown.contains(QChar(0x2026)) && !w->toolTip().isEmpty();
}

// Whether `w` lies in the scrolled contents of a scroll area below `window`
// (such a control may be outside the visible part).
bool Scrolled(const QWidget* w, const QWidget* window) {
  for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
    if (qobject_cast<const QAbstractScrollArea*>(p)) return true;
  return false;
}

// The controls the checks look at: visible, not parts of a compound control.
bool Part(const QWidget* w) {
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
        qobject_cast<const QTabBar*>(p) || qobject_cast<const QAbstractItemView*>(p) ||
        qobject_cast<const QFileDialog*>(p))
      return true;
    if (p->isWindow() || qobject_cast<const QMdiSubWindow*>(p)) break;
  }
  return false;
}

bool TakesInput(const QWidget* w) {
  if (w->focusPolicy() == Qt::NoFocus || !w->isEnabled()) return false;
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QCheckBox*>(w) ||
         qobject_cast<const QRadioButton*>(w);
}

QString LabelText(const QLabel* l) { return Plain(l->text()).simplified().remove(QRegularExpression(":$")); }

}  // namespace

// Looks at one window and collects what a reader would miss.
class FitChecker {
 public:
  QString where;  // model and language
  QStringList findings;

  void Add(const QString& window, const QWidget* w, const QString& what) {
    QString name = w->objectName();
    if (name.isEmpty()) name = w->accessibleName();
    if (auto* l = qobject_cast<const QLabel*>(w)) name += QStringLiteral(" \"%1\"").arg(l->text().left(40));
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) name += QStringLiteral(" \"%1\"").arg(b->text().left(40));
    const QString line = QStringLiteral("%1 | %2 | %3 '%4': %5").arg(window, where, w->metaObject()->className(), name, what);
    if (!findings.contains(line)) findings << line;
  }

  // A window is judged as it rests. An editable combo box that adjusts to
  // its items resizes itself on a 20 ms timer of Qt's, and its layout follows
  // only after that; on a loaded machine that can land after the caller's
  // settling. So a window that shows a fault is looked at once more when the
  // timer has surely run, and only what is still wrong then counts.
  void Check(QWidget* window, const QString& name) {
    const QStringList before = findings;
    CheckOnce(window, name);
    if (findings.size() == before.size()) return;
    findings = before;
    QTest::qWait(50);
    Settle();
    CheckOnce(window, name);
  }

  void CheckOnce(QWidget* window, const QString& name) {
    CheckTitle(window, name);
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->isWindow() || Part(w)) continue;
      if (auto* l = qobject_cast<QLabel*>(w)) CheckLabel(name, l);
      if (auto* b = qobject_cast<QAbstractButton*>(w)) CheckButton(name, b);
      if (auto* g = qobject_cast<QGroupBox*>(w)) CheckGroup(name, g);
      if (auto* t = qobject_cast<QTabBar*>(w)) CheckTabs(name, t);
      if (auto* c = qobject_cast<QComboBox*>(w)) CheckCombo(name, c);
      if (auto* e = qobject_cast<QLineEdit*>(w)) CheckEdit(name, e);
      if (auto* s = qobject_cast<CSpinButtons*>(w)) CheckSpin(name, s);
      if (TakesInput(w)) CheckLabelled(name, window, w);
      CheckInside(name, window, w);
      CheckSiblings(name, w);
    }
  }

  // A window's title cut by its frame: an MDI child's title bar, or a
  // dialog narrower than its title with the buttons a title bar carries.
  void CheckTitle(QWidget* window, const QString& name) {
    if (window->isMaximized()) return;
    QString title = window->windowTitle();
    title.remove(QStringLiteral("[*]"));
    QStyleOptionTitleBar opt;
    opt.initFrom(window);
    opt.titleBarFlags = window->windowFlags();
    opt.text = title;
    opt.rect = QRect(0, 0, window->width(), window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, window));
    int room = window->style()->subControlRect(QStyle::CC_TitleBar, &opt, QStyle::SC_TitleBarLabel, window).width();
    if (!qobject_cast<QMdiSubWindow*>(window)) {
      // A dialog's own bar: its icon and close button.
      opt.titleBarFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      room = window->style()->subControlRect(QStyle::CC_TitleBar, &opt, QStyle::SC_TitleBarLabel, window).width();
    }
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int need = QFontMetrics(font).horizontalAdvance(title);
    if (need > room) Add(name, window, QStringLiteral("title cut (%1 > %2 px)").arg(need).arg(room));
  }

  void CheckLabel(const QString& window, QLabel* l) {
    if (l->text().isEmpty() || !l->pixmap().isNull()) return;
    const QRect cr = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    if (l->wordWrap()) {
      if (l->heightForWidth(l->width()) > l->height() + 1)
        Add(window, l, QStringLiteral("wrapped text taller than its place (%1 > %2 px)").arg(l->heightForWidth(l->width())).arg(l->height()));
      return;
    }
    int need;
    int lines = 1;
    if (Qt::mightBeRichText(l->text()) && l->textFormat() != Qt::PlainText) {
      QTextDocument doc;
      doc.setDefaultFont(l->font());
      doc.setDocumentMargin(0);
      doc.setHtml(l->text());
      need = static_cast<int>(std::ceil(doc.idealWidth()));
    } else {
      const QString shown = Plain(l->text());
      if (ElidedOnPurpose(l, shown)) return;
      need = Advance(l->fontMetrics(), shown);
      lines = static_cast<int>(shown.count(u'\n')) + 1;
    }
    int indent = l->indent();
    if (indent < 0) indent = l->frameWidth() > 0 ? l->fontMetrics().horizontalAdvance(u'x') / 2 : 0;
    const int room = cr.width() - indent;
    if (need > room + 1) Add(window, l, QStringLiteral("text cut (%1 > %2 px)").arg(need).arg(room));
    const int height = lines * l->fontMetrics().height() - 2;
    if (height > cr.height() + 1) Add(window, l, QStringLiteral("text cut below (%1 > %2 px)").arg(height).arg(cr.height()));
  }

  void CheckButton(const QString& window, QAbstractButton* b) {
    const QString shown = Plain(b->text());
    if (shown.isEmpty() || ElidedOnPurpose(b, shown)) return;
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    int extra = 0;
    if (qobject_cast<QCheckBox*>(b)) contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<QRadioButton*>(b)) contents = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<QPushButton*>(b)) return;  // tool buttons: symbols and icons
    if (!b->icon().isNull()) extra = b->iconSize().width() + 4;
    const int room = b->style()->subElementRect(contents, &opt, b).width();
    const int need = b->fontMetrics().horizontalAdvance(shown) + extra;
    if (need > room) Add(window, b, QStringLiteral("text cut (%1 > %2 px)").arg(need).arg(room));
  }

  void CheckGroup(const QString& window, QGroupBox* g) {
    const QString title = Plain(g->title());
    if (title.isEmpty()) return;
    const int need = g->fontMetrics().horizontalAdvance(title) + 2 * g->fontMetrics().horizontalAdvance(u' ');
    if (need > g->width()) Add(window, g, QStringLiteral("title cut (%1 > %2 px)").arg(need).arg(g->width()));
  }

  void CheckTabs(const QString& window, QTabBar* t) {
    const int space = t->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, t);
    for (int i = 0; i < t->count(); ++i) {
      if (!t->isTabVisible(i)) continue;
      const QString text = Plain(t->tabText(i));
      const QRect r = t->tabRect(i);
      const int need = t->fontMetrics().horizontalAdvance(text) + space;
      // A tab scrolled out of sight shows its whole text when scrolled to.
      if (need > r.width() + 1 || (!t->usesScrollButtons() && !t->rect().contains(r)))
        Add(window, t, QStringLiteral("tab \"%1\" cut (%2 > %3 px)").arg(text).arg(need).arg(r.width()));
    }
  }

  void CheckCombo(const QString& window, QComboBox* c) {
    int widest = 0;
    QString which;
    for (int i = 0; i < c->count(); ++i) {
      const int w = c->fontMetrics().horizontalAdvance(c->itemText(i));
      if (w > widest) widest = w, which = c->itemText(i);
    }
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = c->isEditable();
    const int room = c->isEditable() && c->lineEdit() ? c->lineEdit()->width() - 4
                                                      : c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c).width() - 2;
    if (widest > room) Add(window, c, QStringLiteral("narrower than \"%1\" (%2 > %3 px)").arg(which).arg(widest).arg(room));
  }

  // A value shown in a box that cannot show it whole (the box scrolls it).
  void CheckEdit(const QString& window, QLineEdit* e) {
    if (e->hasFocus() || e->text().isEmpty() || e->echoMode() != QLineEdit::Normal) return;
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
    const QMargins m = e->textMargins();
    const int room = r.width() - m.left() - m.right() - 4;  // the edit keeps 2 px each side
    const int need = e->fontMetrics().horizontalAdvance(e->text());
    if (need > room + 1) Add(window, e, QStringLiteral("shows part of \"%1\" (%2 > %3 px)").arg(e->text()).arg(need).arg(room));
  }

  // Spin arrows serve the box beside them: shown alone they step nothing
  // the reader can see.
  void CheckSpin(const QString& window, CSpinButtons* s) {
    QWidget* parent = s->parentWidget();
    QWidget* before = nullptr;
    for (QWidget* sib : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (sib != s && sib->geometry().right() < s->geometry().left() + 2 &&
          sib->geometry().top() < s->geometry().bottom() && sib->geometry().bottom() > s->geometry().top() &&
          (!before || sib->geometry().right() > before->geometry().right()) && !qobject_cast<QLabel*>(sib))
        before = sib;
    const bool besideABox = before && before->isVisible() && s->geometry().left() - before->geometry().right() <= 8;
    if (!besideABox) Add(window, s, QStringLiteral("spin arrows without their box"));
  }

  void CheckLabelled(const QString& window, QWidget* root, QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && !Plain(b->text()).trimmed().isEmpty()) return;
    QWidget* top = root;
    for (QLabel* l : top->findChildren<QLabel*>()) {
      if (!l->isVisible() || l->text().isEmpty()) continue;
      if (l->buddy() && (l->buddy() == w || w->isAncestorOf(l->buddy()))) return;
      if (!w->accessibleName().isEmpty() && LabelText(l) == w->accessibleName().simplified()) return;
    }
    for (QGroupBox* g : top->findChildren<QGroupBox*>())
      if (g->isVisible() && !g->title().isEmpty() && g->isAncestorOf(w) &&
          Plain(g->title()).simplified().remove(QRegularExpression(":$")) == w->accessibleName().simplified())
        return;
    Add(window, w, QStringLiteral("no label (named \"%1\")").arg(w->accessibleName()));
  }

  void CheckInside(const QString& window, QWidget* root, QWidget* w) {
    if (Scrolled(w, root)) return;
    QWidget* parent = w->parentWidget();
    if (!parent) return;
    const QRect r = w->geometry();
    if (!parent->rect().contains(r))
      Add(window, w, QStringLiteral("outside %1 (%2,%3 %4x%5 in %6x%7)")
                         .arg(parent == root ? QStringLiteral("its window") : QStringLiteral("its parent"))
                         .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(parent->width()).arg(parent->height()));
  }

  void CheckSiblings(const QString& window, QWidget* w) {
    QWidget* parent = w->parentWidget();
    if (!parent || qobject_cast<QAbstractScrollArea*>(parent) || qobject_cast<QMdiArea*>(parent->parentWidget())) return;
    for (QWidget* o : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (o == w || !o->isVisible() || o->isWindow() || o > w) continue;  // each pair once
      if (qobject_cast<QMdiSubWindow*>(o) || qobject_cast<QMdiSubWindow*>(w)) continue;
      const QRect both = o->geometry() & w->geometry();
      if (both.width() > 1 && both.height() > 1)
        Add(window, w, QStringLiteral("overlaps %1 '%2' by %3x%4 px")
                           .arg(o->metaObject()->className(), o->objectName().isEmpty() ? QString(qobject_cast<QLabel*>(o) ? qobject_cast<QLabel*>(o)->text().left(30) : QString()) : o->objectName())
                           .arg(both.width()).arg(both.height()));
    }
  }
};

struct Window {
  int command;      // a menu command, or 0
  EditorKind kind;  // an editor opened by another window
  int zone;         // the zone Zone Information shows first (0-based)
};

class ReadableTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  // One function per model family, so that each runs as an entry of its
  // own beside the rest of the suite.
  void everyWindowReadableVhfMobile_data() { Languages("VT-1600"); }
  void everyWindowReadableVhfMobile() { EveryWindowReadable(); }
  void everyWindowReadableUhfMobile_data() { Languages("VT-2602H"); }
  void everyWindowReadableUhfMobile() { EveryWindowReadable(); }
  void everyWindowReadablePortable_data() { Languages("VT-1400"); }
  void everyWindowReadablePortable() { EveryWindowReadable(); }

 private:
  static void Languages(const char* model);
  void EveryWindowReadable();
  void StartProgram(const QString& model, int language);
  void Prepare();
  CChildFrame* Open(const Window& w);
  void CheckEditor(CChildFrame* frame, const QString& name);
  void Exercise(CChildFrame* frame, const QString& name);
  void CheckDialogs();
  void CheckFileDialogs();
  void Shot(QWidget* w, const QString& name);

  std::unique_ptr<AppFixture> f_;
  FitChecker check_;
};

namespace {

const char* ModelSetting(const QString& model) {
  if (model == "VT-2602H") return "4D:32:36:30:32:07:FF:FF";  // 400-470 MHz
  if (model == "VT-1400") return "50:31:34:30:30:04:FF:FF";
  return "4D:31:36:30:30:04:FF:FF";
}

}  // namespace

void ReadableTest::Languages(const char* model) {
  QTest::addColumn<QString>("model");
  QTest::addColumn<int>("language");
  QTest::newRow(qPrintable(QStringLiteral("%1 en").arg(model))) << QString(model) << 1;
  QTest::newRow(qPrintable(QStringLiteral("%1 sp").arg(model))) << QString(model) << 2;
}

void ReadableTest::StartProgram(const QString& model, int language) {
  f_ = std::make_unique<AppFixture>();
  f_->languageText = ::vb420::testsupport::ShippedLanguageText();
  f_->SetSetting("Backup/Language", language);
  f_->SetSetting("Backup/LastModel", QString::fromLatin1(ModelSetting(model)));
  QVERIFY(f_->Start());
  f_->Frame().resize(1280, 800);
  f_->Frame().show();
  QApplication::setActiveWindow(&f_->Frame());
  Settle();
}

// A conventional zone 1 with a channel, an LTR zone 2 with a group and a
// repeater, a PassPort zone 3 with a group.
void ReadableTest::Prepare() {
  auto* info = dynamic_cast<CZnInfoView*>(f_->Frame().FindEditor(EditorKind::ZoneInfo));
  QVERIFY(info);
  CZoneMemory& zones = ZonesOf(f_->Frame().Context()).zones;
  QCOMPARE(int(zones.CreateZone(0, '1')), 1);
  QCOMPARE(int(zones.CreateZone(1, '0')), 1);
  QCOMPARE(int(zones.CreateZone(2, '5')), 1);
  for (int z = 0; z < 3; ++z) QCOMPARE(int(zones.InsertRecord(z, 0)), 1);
  QCOMPARE(int(zones.InsertRepeater(1, 0)), 1);
  f_->Frame().RefreshAllEditors(nullptr);
}

CChildFrame* ReadableTest::Open(const Window& w) {
  auto* info = dynamic_cast<CZnInfoView*>(f_->Frame().OpenEditor(EditorKind::ZoneInfo));
  if (info) info->SetZone(w.zone);
  CEditorView* view = nullptr;
  if (w.command) {
    f_->Frame().RunCommand(w.command);
    Settle();
    const EditorKind kind = EditorKindOfCommand(w.command, f_->Ws().data.model.IsPortable());
    view = f_->Frame().FindEditor(kind);
  } else {
    view = f_->Frame().OpenEditor(w.kind);
    Settle();
  }
  return view ? qobject_cast<CChildFrame*>(view->parentWidget()) : nullptr;
}

void ReadableTest::Shot(QWidget* w, const QString& name) {
  const QByteArray dir = qgetenv("VB420_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QString file = QStringLiteral("%1/%2-%3.png").arg(QString::fromLocal8Bit(dir), check_.where, name);
  file.replace(u' ', u'_');
  w->grab().save(file);
}

// At the size it opens, on every tab; the window keeps its size throughout.
void ReadableTest::CheckEditor(CChildFrame* frame, const QString& name) {
  const QSize opened = frame->size();
  check_.Check(frame, name);
  Shot(frame, name);
  for (QTabWidget* tabs : frame->findChildren<QTabWidget*>()) {
    if (!tabs->isVisible()) continue;
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      Settle();
      check_.Check(frame, QStringLiteral("%1 / %2").arg(name, Plain(tabs->tabText(i))));
      Shot(frame, QStringLiteral("%1-tab%2").arg(name).arg(i));
    }
    tabs->setCurrentIndex(0);
    Settle();
  }
  if (frame->size() != opened)
    check_.Add(name, frame, QStringLiteral("resized itself from %1x%2 to %3x%4").arg(opened.width()).arg(opened.height())
                                .arg(frame->width()).arg(frame->height()));
}

// The program's own open and save dialogs, with a data file in the folder:
// every column as wide as its heading and what it shows.
void ReadableTest::CheckFileDialogs() {
  QTemporaryDir dir;
  QFile file(dir.filePath(QStringLiteral("radio.dat")));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(53312, '\xFF'));
  file.close();
  UiPrompter real;
  FileDialogRequest r;
  r.folder = dir.path();
  r.filter = QStringLiteral("Data (*.dat)");
  QString current;
  std::function<void()> inspect = [&] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    auto* tree = dlg ? dlg->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
    if (!tree || !tree->model() || tree->model()->rowCount(tree->rootIndex()) == 0 ||
        static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(1) <= 0) {
      QTimer::singleShot(20, inspect);
      return;
    }
    Settle();
    QHeaderView* header = tree->header();
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < header->count(); ++c) {
      if (header->isSectionHidden(c)) continue;
      const QString heading = tree->model()->headerData(c, Qt::Horizontal).toString();
      const int need = std::max(static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(c), header->fontMetrics().horizontalAdvance(heading) + margin);
      if (header->sectionSize(c) < need)
        check_.Add(current, header, QStringLiteral("column \"%1\" cut (%2 > %3 px)").arg(heading).arg(need).arg(header->sectionSize(c)));
    }
    Shot(dlg, current);
    dlg->reject();
  };
  current = QStringLiteral("open-file");
  QTimer::singleShot(0, inspect);
  real.OpenFileName(&f_->Frame(), r);
  current = QStringLiteral("save-file");
  QTimer::singleShot(0, inspect);
  real.SaveFileName(&f_->Frame(), r);
}

// What a user changes in a window that changes what it shows: the keypad
// (its sixteen key rows) and the quick-call kinds (their number lists). The
// window keeps its size and shows everything.
void ReadableTest::Exercise(CChildFrame* frame, const QString& name) {
  auto* keys = qobject_cast<CKeyView*>(frame->View());
  if (!keys) return;
  const QSize opened = frame->size();
  auto* accessory = qobject_cast<QComboBox*>(keys->PageForm(0)->Control(0, 0));
  QVERIFY(accessory);
  accessory->setCurrentIndex(accessory->count() - 1);  // a keypad: front keypad, or the 16-key microphone
  Settle();
  for (size_t t = 0; t < keys->Pages().size(); ++t) {
    if (keys->Pages()[t].kind != KeyPageKind::QuickCall) continue;
    for (int i = 1; i <= 6; ++i)
      if (auto* kind = qobject_cast<QComboBox*>(keys->PageForm(static_cast<int>(t))->Control(0, i))) kind->setCurrentIndex(1);
  }
  Settle();
  CheckEditor(frame, name + " (keypad, 2-tone quick calls)");
  if (frame->size() != opened) check_.Add(name, frame, QStringLiteral("resized itself when the keypad came"));
  accessory = qobject_cast<QComboBox*>(keys->PageForm(0)->Control(0, 0));
  accessory->setCurrentIndex(0);
  Settle();
}

// The dialogs of the menus and of the editors, each at the size it opens.
void ReadableTest::CheckDialogs() {
  QString current;
  f_->prompter.inspect = [&](QDialog& d) {
    d.show();
    Settle();
    const QString name = current + " > " + d.windowTitle();
    check_.Check(&d, name);
    Shot(&d, current);
    const QSize opened = d.size();
    for (QTabWidget* tabs : d.findChildren<QTabWidget*>())
      for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        Settle();
        check_.Check(&d, QStringLiteral("%1 / %2").arg(name, Plain(tabs->tabText(i))));
      }
    if (d.size() != opened) check_.Add(name, &d, QStringLiteral("resized itself"));
  };
  const std::pair<int, const char*> menu[] = {
      {kCmdModelInfo, "model"},     {kCmdFilePrint, "print"},     {kCmdCommPort, "port"},     {kCmdLanguage, "language"},
      {kCmdAbout, "about"},         {kCmdMemoryMap, "memory"},    {kCmdRadioInfo, "radioinfo"}, {kCmdMobileIdNames, "mobileids"},
      {kCmdSiteInfo, "sites"},      {kCmdFileSaveAs, "saveas"}};
  for (const auto& [command, name] : menu) {
    current = QString::fromLatin1(name);
    f_->Frame().RunCommand(command);
    Settle();
  }
  // The Zone Information dialogs.
  auto* info = dynamic_cast<CZnInfoView*>(f_->Frame().OpenEditor(EditorKind::ZoneInfo));
  info->SetZone(0);
  for (int command : {kCmdChannelCopy, kCmdFrequencyCopy, kCmdToneCopy, kCmdJump}) {
    current = QStringLiteral("zone-%1").arg(command);
    info->CurrentGridWidget()->SetCurrent(1, 1);
    info->RunCommand(command);
    Settle();
  }
  // Radio passwords, message password.
  current = QStringLiteral("radio-passwords");
  if (auto* features = dynamic_cast<CFeatureView*>(f_->Frame().OpenEditor(EditorKind::Features))) features->EditPasswords();
  Settle();
  current = QStringLiteral("message-password");
  if (auto* pass = dynamic_cast<CEmbPassView*>(f_->Frame().OpenEditor(EditorKind::EmbPassword))) pass->EditPassword();
  Settle();
  f_->prompter.inspect = nullptr;
  // The alert-tone test, with the program's own audio output (and its notice
  // when there is none): it keeps its size while a tone plays.
  auto* tones = dynamic_cast<CAlertToneView*>(f_->Frame().OpenEditor(EditorKind::AlertTone));
  QVERIFY(tones);
  CAlertTestDlg* test = tones->OpenTest();
  Settle();
  const QString name = QStringLiteral("alert-test > ") + test->windowTitle();
  const QSize opened = test->size();
  check_.Check(test, name);
  Shot(test, "alert-test");
  QTest::mouseClick(test->PlayButton(), Qt::LeftButton);
  QTRY_VERIFY(test->Playing());
  Settle();
  check_.Check(test, name + " (playing)");
  Shot(test, "alert-test-playing");
  if (test->size() != opened)
    check_.Add(name, test, QStringLiteral("resized itself while playing from %1x%2 to %3x%4").arg(opened.width()).arg(opened.height())
                               .arg(test->width()).arg(test->height()));
  QTest::mouseClick(test->StopButton(), Qt::LeftButton);
  QTRY_VERIFY(!test->Playing());
  test->close();
  Settle();
}

void ReadableTest::EveryWindowReadable() {
  QFETCH(QString, model);
  QFETCH(int, language);
  check_ = FitChecker();
  check_.where = QStringLiteral("%1 %2").arg(model, language == 1 ? "en" : "sp");
  StartProgram(model, language);
  Prepare();
  std::vector<Window> windows;
  for (const EditorListRow& row : EditorList())
    if (EditorKindOfCommand(row.command, false) != EditorKind::None) windows.push_back({row.command, EditorKind::None, 0});
  // Zone Information on the LTR and PassPort zones, and the editors its
  // buttons and commands open.
  windows.push_back({kCmdZoneInfo, EditorKind::None, 1});
  windows.push_back({kCmdZoneInfo, EditorKind::None, 2});
  for (auto [kind, zone] : {std::pair{EditorKind::ChannelEdit, 0}, {EditorKind::ConvZoneEdit, 0}, {EditorKind::ScanList, 0},
                            {EditorKind::GidEdit, 1}, {EditorKind::RepeaterInfo, 1}, {EditorKind::TrunkZoneEdit, 1},
                            {EditorKind::GidEdit, 2}, {EditorKind::PPSysData, 2}, {EditorKind::PPSearchHold, 2},
                            {EditorKind::PPSeedFreq, 2}, {EditorKind::KeyImage, 0}})
    windows.push_back({0, kind, zone});
  const auto nameOf = [&](const Window& w, CChildFrame* frame) {
    return QStringLiteral("%1 (zone %2)").arg(frame->windowTitle()).arg(w.zone + 1);
  };
  // At the size each opens, alone beside Zone Information.
  for (const Window& w : windows) {
    CChildFrame* frame = Open(w);
    if (!frame) {
      check_.findings << QStringLiteral("%1 | command %2 kind %3 opened no window").arg(check_.where).arg(w.command).arg(int(w.kind));
      continue;
    }
    CheckEditor(frame, nameOf(w, frame));
    Exercise(frame, nameOf(w, frame));
    if (frame->View()->Kind() != EditorKind::ZoneInfo) {
      frame->CloseNow();
      Settle();
    }
  }
  // Tiled four to the main window.
  auto* area = f_->Frame().findChild<QMdiArea*>();
  for (size_t first = 0; first < windows.size(); first += 4) {
    f_->Frame().RunCommand(kCmdCloseAll);
    Settle();
    std::vector<std::pair<CChildFrame*, QString>> open;
    for (size_t i = first; i < std::min(windows.size(), first + 4); ++i)
      if (CChildFrame* frame = Open(windows[i])) open.push_back({frame, nameOf(windows[i], frame)});
    // Zone Information chose the zones; it is one of the four only when listed.
    for (CChildFrame* frame : f_->Frame().Children())
      if (std::none_of(open.begin(), open.end(), [&](const auto& o) { return o.first == frame; })) frame->showMinimized();
    area->tileSubWindows();
    Settle();
    for (auto& [frame, name] : open)
      if (frame->isVisible()) {
        check_.Check(frame, name + " tiled");
        for (QTabWidget* tabs : frame->findChildren<QTabWidget*>()) {
          if (!tabs->isVisible()) continue;
          for (int i = 1; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            Settle();
            check_.Check(frame, QStringLiteral("%1 tiled / %2").arg(name, Plain(tabs->tabText(i))));
          }
          tabs->setCurrentIndex(0);
        }
        Shot(frame, QStringLiteral("tiled-%1").arg(frame->View()->objectName()));
      }
  }
  f_->Frame().RunCommand(kCmdCloseAll);
  Settle();
  CheckDialogs();
  CheckFileDialogs();
  f_.reset();
  for (const QString& line : check_.findings) qWarning("%s", qPrintable(line));
  QVERIFY2(check_.findings.isEmpty(), qPrintable(QStringLiteral("%1 findings").arg(check_.findings.size())));
}

VB420_QTEST(ReadableTest)
#include "readable_test.moc"
