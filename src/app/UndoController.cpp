// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UndoController.h"

#include <QAbstractEventDispatcher>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <cstring>

#include "editors/compare/ProgramDiff.h"
#include "editors/grid/FieldGrid.h"
#include "frame/ui/EditorView.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/MessageHelper.h"

namespace vb420 {

namespace {

constexpr int kUndoEntry = 298;
constexpr int kRedoEntry = 305;
constexpr int kUndoNamedEntry = 313;
constexpr int kRedoNamedEntry = 327;

std::span<uint8_t> ImageSpan(RadioData& d) { return {d.Image().data(), kImageSize}; }
std::span<uint8_t> ExtSpan(RadioData& d) { return {d.Ext().data(), kExtSize}; }

bool IsTextWidget(const QWidget* w) {
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

bool IsUndoKey(const QKeyEvent* k) {
  return k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo) ||
         (k->key() == Qt::Key_Y && k->modifiers() == Qt::ControlModifier) ||
         (k->key() == Qt::Key_Z && k->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier));
}

}  // namespace

CUndoController::CUndoController(Workspace& ws, MessageHelper& msg, FrameServices& frame, Hooks hooks,
                                 QObject* parent)
    : QObject(parent), ws_(ws), msg_(msg), frame_(frame), hooks_(std::move(hooks)) {
  undo_ = new QAction(this);
  undo_->setObjectName("undoAction");
  undo_->setData(kCmdUndo);
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_ = new QAction(this);
  redo_->setObjectName("redoAction");
  redo_->setData(kCmdRedo);
  redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(undo_, &QAction::triggered, this, [this] { Undo(); });
  connect(redo_, &QAction::triggered, this, [this] { Redo(); });
  qApp->installEventFilter(this);
  if (auto* d = QAbstractEventDispatcher::instance()) connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &CUndoController::Idle);
  Reset();
}

CUndoController::~CUndoController() {
  if (qApp) qApp->removeEventFilter(this);
}

void CUndoController::Reset() {
  history_.Reset(ImageSpan(ws_.data), ExtSpan(ws_.data));
  lastCommand_.clear();
  typing_ = false;
  UpdateActions();
}

bool CUndoController::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // Ctrl+Z in a field of an editor window takes back the last change
      // to the programming, not the field's own typing: the field has
      // already stored what it shows.
      auto* k = static_cast<QKeyEvent*>(event);
      auto* w = qobject_cast<QWidget*>(watched);
      if (IsUndoKey(k) && w && IsTextWidget(w) && w->window() == frame_.MainWindow() &&
          !QApplication::activeModalWidget()) {
        event->ignore();  // not the field's: the Edit menu's shortcut runs
        return true;
      }
      break;
    }
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      const bool plain = !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
      // Keys that go on typing in a field; Enter, Tab and Escape end it.
      const bool confirms = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Tab ||
                            k->key() == Qt::Key_Backtab || k->key() == Qt::Key_Escape;
      typing_ = plain && !confirms &&
                (!k->text().isEmpty() || k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete ||
                 k->key() == Qt::Key_Up || k->key() == Qt::Key_Down);
      ScheduleCommit();
      if (auto* menu = qobject_cast<QMenu*>(watched); menu && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter))
        if (QAction* a = menu->activeAction(); a && a != undo_ && a != redo_) lastCommand_ = a->text();
      break;
    }
    case QEvent::MouseButtonRelease: {
      typing_ = false;
      ScheduleCommit();
      if (auto* menu = qobject_cast<QMenu*>(watched))
        if (QAction* a = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint()); a && a != undo_ && a != redo_)
          lastCommand_ = a->text();
      break;
    }
    case QEvent::Shortcut:
      if (auto* a = qobject_cast<QAction*>(watched); a && a != undo_ && a != redo_) lastCommand_ = a->text();
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

void CUndoController::ScheduleCommit() {
  // Once the event has been handled (and whatever it posted has run).
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    scheduled_ = false;
    Idle();
  });
}

void CUndoController::Idle() {
  // A change made while a dialog or a question is up belongs to the command
  // that asked: it is recorded once that command is done.
  if (applying_ || QApplication::activeModalWidget()) return;
  CommitNow();
}

QString CUndoController::MergeKey() const {
  // Only a field that stores as it is typed into (or stepped with the arrow
  // keys) makes changes that belong together; a grid cell stores once, when
  // it is confirmed, and every confirmed cell is a step of its own.
  if (!typing_) return {};
  QWidget* w = QApplication::focusWidget();
  if (!w || !(IsTextWidget(w) || qobject_cast<QComboBox*>(w))) return {};
  return QString::number(reinterpret_cast<quintptr>(w), 16);
}

void CUndoController::CommitNow() {
  RadioData& d = ws_.data;
  if (!history_.Pending(ImageSpan(d), ExtSpan(d))) {
    lastCommand_.clear();
    TakeNextStepName();  // a store that changed nothing names nothing later
    return;
  }
  QString command = lastCommand_;
  lastCommand_.clear();
  // A grid names its store after the field (and the record) it wrote; a
  // menu command by its own name.
  const QString field = TakeNextStepName();
  if (command.isEmpty()) command = field;
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  history_.Commit(ImageSpan(d), ExtSpan(d), MenuLabel(command).toStdString(), MergeKey().toStdString(), now);
  // A step without a name is named from what changed; a step that a typing
  // burst goes on keeps the name it has.
  if (history_.CanUndo() && history_.UndoName().empty()) history_.SetUndoName(NameStep().toStdString());
  UpdateActions();
}

QString CUndoController::NameStep() {
  // The field or record that changed, read through the field tables.
  std::vector<uint8_t> image, ext;
  if (history_.StateBeforeUndo(image, ext)) {
    RadioData before(&ws_.text);
    std::memcpy(before.Image().data(), image.data(), kImageSize);
    std::memcpy(before.Ext().data(), ext.data(), kExtSize);
    before.SyncCodecs();
    const auto lines = compare::DiffProgrammings(before, ws_.data, ws_.text, false);
    const std::string words = compare::DescribeChange(ws_.data, ws_.text, lines);
    if (!words.empty()) return QString::fromStdString(words);
  }
  return hooks_.activeTitle ? hooks_.activeTitle() : QString();
}

bool CUndoController::Apply(bool undo) {
  if (applying_) return false;
  applying_ = true;
  // A value still being typed is stored first: it is the change to take back.
  frame_.CommitPendingEdits();
  CommitNow();
  RadioData& d = ws_.data;
  uint8_t model[8];
  std::memcpy(model, d.Image().data() + img::kModelBytes, sizeof model);
  const bool done = undo ? history_.Undo(ImageSpan(d), ExtSpan(d)) : history_.Redo(ImageSpan(d), ExtSpan(d));
  if (done) {
    d.SyncCodecs();
    if (std::memcmp(model, d.Image().data() + img::kModelBytes, sizeof model) != 0 && hooks_.modelRestored)
      hooks_.modelRestored();
    else
      frame_.RefreshAllEditors();
    frame_.UpdateCaption();
  }
  lastCommand_.clear();
  applying_ = false;
  UpdateActions();
  return done;
}

bool CUndoController::Undo() { return Apply(true); }
bool CUndoController::Redo() { return Apply(false); }

void CUndoController::UpdateActions() {
  auto label = [this](int plain, int named, const std::string& name) {
    return name.empty() ? msg_.T(plain) : msg_.T(named).replace(QStringLiteral("%s"), QString::fromStdString(name));
  };
  undo_->setText(label(kUndoEntry, kUndoNamedEntry, history_.UndoName()));
  redo_->setText(label(kRedoEntry, kRedoNamedEntry, history_.RedoName()));
  undo_->setEnabled(history_.CanUndo() || history_.Pending(ImageSpan(ws_.data), ExtSpan(ws_.data)));
  redo_->setEnabled(history_.CanRedo());
}

}  // namespace vb420
