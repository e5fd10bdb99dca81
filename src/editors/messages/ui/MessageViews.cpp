// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/messages/ui/MessageViews.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "frame/ui/Workspace.h"
#include "editors/grid/EditGrid.h"
#include "editors/messages/MessageFields.h"
#include "lang/ui/MessageHelper.h"
#include "link/MessageWriteSession.h"
#include "link/ui/RadioCommands.h"
#include "link/ui/RadioDialogs.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

QString T(TextTable& text, int entry) { return QString::fromStdString(text.Text(entry)); }

// "Line 1"; the next entry is "Line 2".
constexpr int kLineLabelEntry = 1316;

}  // namespace

// ---------------------------------------------------------------------------

CMessageLinesView::CMessageLinesView(EditorContext& ctx, EditorKind kind, QWidget* parent)
    : CEditorView(ctx, kind, parent) {}

void CMessageLinesView::Build(const QList<QPushButton*>& buttons) {
  buttons_ = buttons;
  const QFont fixed = FixedPitchFace();
  auto* layout = new QVBoxLayout(this);
  auto* lines = new QGridLayout;
  layout->addLayout(lines);
  for (int i = 0; i < 2; ++i) {
    // "Line 1", "Line 2" beside the lines (their access keys reach them).
    auto* label = new QLabel(T(Context().ws.text, kLineLabelEntry + i), this);
    lines->addWidget(label, i, 0);
    auto* e = new QLineEdit(this);
    label->setBuddy(e);
    e->setObjectName(QStringLiteral("line%1").arg(i + 1));
    e->setFont(fixed);
    e->setMaxLength(kMessageLineLength);
    // Exactly wide enough for 32 characters of the font.
    const QFontMetrics fm(fixed);
    const int textWidth = fm.horizontalAdvance(QString(kMessageLineLength, QLatin1Char('W')));
    const int frame = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    e->setFixedWidth(textWidth + e->textMargins().left() + e->textMargins().right() + 2 * (frame + 2) + 2);
    e->installEventFilter(this);
    connect(e, &QLineEdit::editingFinished, this, [this, i] { Store(i); });
    lines->addWidget(e, i, 1);
    lines_[i] = e;
  }
  if (!buttons.isEmpty()) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) row->addWidget(b);
    layout->addLayout(row);
  }
  layout->addStretch(1);
}

void CMessageLinesView::Refresh() {
  for (int i = 0; i < 2; ++i) {
    const QString text = QString::fromLatin1(MessageLineText(Area(), Offset(i)).c_str());
    if (lines_[i]->text() != text) lines_[i]->setText(text);
  }
}

void CMessageLinesView::Store(int line) {
  ByteArea area = Area();
  const std::string before = MessageLineText(area, Offset(line));
  // The same conversion as the settings verb's: the radio shows single
  // bytes, and a pasted control character is not kept (the line shows the
  // stored text again).
  std::string typed;
  if (TypedLineBytes(lines_[line]->text().toStdString(), typed)) StoreMessageLine(area, Offset(line), typed);
  Refresh();
  if (MessageLineText(area, Offset(line)) != before) {
    Context().frame.RefreshAllEditors(this);
    Context().frame.UpdateCaption();
  }
}

bool CMessageLinesView::CommitPendingEdit() {
  for (int i = 0; i < 2; ++i) Store(i);
  return true;
}

QWidget* CMessageLinesView::InitialFocus() const { return lines_[0]; }

bool CMessageLinesView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (watched == lines_[0] || watched == lines_[1])) {
      // Enter moves on as Tab does; losing the focus stores the line.
      focusNextChild();
      return true;
    }
  }
  return CEditorView::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------

CEmbView::CEmbView(EditorContext& ctx, QWidget* parent) : CMessageLinesView(ctx, EditorKind::EmbMessage, parent) {
  setObjectName("embView");
  Build({});
}

ByteArea CEmbView::Area() { return Context().ws.data.Image(); }
size_t CEmbView::Offset(int line) const { return MessageLine(false, line); }

// ---------------------------------------------------------------------------

CMessagePasswordDlg::CMessagePasswordDlg(TextTable& text, const QString& current, QWidget* parent)
    : QDialog(parent) {
  setObjectName("messagePasswordDlg");
  setWindowTitle(T(text, msg::kMessagePasswordCaption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(T(text, 210), this));
  edit_ = new QLineEdit(current, this);
  edit_->setObjectName("password");
  edit_->setMaxLength(kMessagePasswordLength);
  edit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9A-Za-z]{0,6}"), edit_));
  layout->addWidget(edit_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(T(text, 13), QDialogButtonBox::AcceptRole)->setObjectName("ok");
  buttons->addButton(T(text, 14), QDialogButtonBox::RejectRole)->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(WidthForTitle(this));
}

CEmbPassView::CEmbPassView(EditorContext& ctx, QWidget* parent)
    : CMessageLinesView(ctx, EditorKind::EmbPassword, parent) {
  setObjectName("embPassView");
  TextTable& text = ctx.ws.text;
  password_ = new QPushButton(T(text, 210), this);
  password_->setObjectName("passwordButton");
  write_ = new QPushButton(T(text, 18), this);
  write_->setObjectName("writeButton");
  for (QPushButton* b : {password_, write_}) b->setAutoDefault(false);
  Build({password_, write_});
  connect(password_, &QPushButton::clicked, this, &CEmbPassView::EditPassword);
  connect(write_, &QPushButton::clicked, this, &CEmbPassView::WriteToRadio);
}

ByteArea CEmbPassView::Area() { return Context().ws.data.Ext(); }
size_t CEmbPassView::Offset(int line) const { return MessageLine(true, line); }

void CEmbPassView::SetControlsEnabled(bool on) {
  for (QWidget* w : {static_cast<QWidget*>(Line(0)), static_cast<QWidget*>(Line(1)),
                     static_cast<QWidget*>(password_), static_cast<QWidget*>(write_)})
    w->setEnabled(on);
}

void CEmbPassView::EditPassword() {
  Workspace& ws = Context().ws;
  CMessagePasswordDlg dlg(ws.text, QString::fromLatin1(MessagePassword(ws.data.Ext()).c_str()), this);
  SetControlsEnabled(false);
  const int r = Context().msg.Prompter().RunDialog(dlg);
  SetControlsEnabled(true);
  if (r != QDialog::Accepted) return;
  const std::string before = MessagePassword(ws.data.Ext());
  const std::string typed = dlg.Edit()->text().toStdString();
  if (!MessagePasswordTypable(typed)) return;
  StoreMessagePassword(ws.data.Ext(), typed);
  if (MessagePassword(ws.data.Ext()) != before) Context().frame.UpdateCaption();
}

void CEmbPassView::WriteToRadio() {
  CommitPendingEdit();
  SetControlsEnabled(false);
  UiLinkPrompter ui(Context().msg, this);
  Prompter& ask = prompter_ ? *prompter_ : static_cast<Prompter&>(ui);
  SessionCallbacks cb;
  cb.pump = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20); };
  MessageWriteSession session(ProgramRadioLink(Context().ws), Context().ws.data.Ext(), ask, cb);
  (void)session.Run();
  SetControlsEnabled(true);
}

void RegisterMessageWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::EmbMessage, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CEmbView(c, p);
  });
  reg.RegisterEditor(EditorKind::EmbPassword, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CEmbPassView(c, p);
  });
}

}  // namespace vb420
