// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ui/MemoryViewer.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/ui/EditorView.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "lang/TextTable.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

// "Address", beside the address box and the address shown in its place.
constexpr int kAddressEntry = 1318;


namespace {

constexpr int kByteColWidth = 28;   // 420 twips
constexpr int kLabelColWidth = 50;  // 750 twips
constexpr int kGapCol = 17;
constexpr int kFirstCharCol = 18;
constexpr int kLastCharCol = 33;

QString Hex2(int v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); }

QString CharText(uint8_t b) {
  // A byte that prints as nothing readable (control codes, DEL, the C1
  // range and the erased 0xFF) shows as a dot, as in every hex viewer.
  const bool printable = (b >= 0x20 && b < 0x7F) || (b >= 0xA0 && b < 0xFF);
  return printable ? QString(QChar(QLatin1Char(static_cast<char>(b)))) : QStringLiteral(".");
}

}  // namespace

// ---------------------------------------------------------------------------
// Viewer

int CMemoryViewer::OpenWhole(QWidget* parent, TextTable& text, UiPrompter& prompter) {
  return Run(parent, text, prompter, 0, size_ / 16, 1, true, title_);
}

int CMemoryViewer::OpenWindow(QWidget* parent, TextTable& text, UiPrompter& prompter, int start, int count,
                              const QString& caption) {
  if (start < 0 || start >= size_ || count <= 0) return 0;
  const int base = start - start % 16;
  int rows = count / 16;
  // A window never reaches past the end of the buffer.
  rows = std::clamp(rows, 1, (size_ - base) / 16);
  return Run(parent, text, prompter, base, rows, start % 16 + 1, false, caption);
}

int CMemoryViewer::Run(QWidget* parent, TextTable& text, UiPrompter& prompter, int base, int rows, int firstCol,
                       bool whole, const QString& caption) {
  // Each opening edits a fresh copy of the source.
  copy_.write(0, source_.data(), static_cast<size_t>(size_));
  CMemoryViewDlg dlg(*this, text, base, rows, firstCol, whole, caption, parent);
  const int result = prompter.RunDialog(dlg);
  return result == 1 ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Dialog

CMemoryViewDlg::CMemoryViewDlg(CMemoryViewer& viewer, TextTable& text, int base, int rows, int firstCol, bool whole,
                               const QString& caption, QWidget* parent)
    : QDialog(parent), viewer_(viewer), text_(text), base_(base), rows_(rows), whole_(whole),
      // The viewer decides whether characters are shown, for a whole buffer
      // and for the window on one record alike.
      charCols_(viewer.ShowChars()) {
  setWindowTitle(caption.isEmpty() ? QString::fromStdString(text.Text(228)) : caption);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  address_ = new QLineEdit(this);
  address_->setMaxLength(4);
  address_->setFixedWidth(60);
  address_->setValidator(nullptr);
  addressStatic_ = new QLabel(this);
  addressStatic_->setMinimumWidth(60);
  chars_ = new QCheckBox(QString::fromStdString(text.Text(230)), this);
  addressLabel_ = new QLabel(QString::fromStdString(text.Text(kAddressEntry)), this);
  addressLabel_->setBuddy(address_);
  top->addWidget(addressLabel_);
  top->addWidget(address_);
  top->addWidget(addressStatic_);
  top->addStretch(1);
  top->addWidget(chars_);
  layout->addLayout(top);
  grid_ = new CEditGrid(this);
  grid_->setObjectName(QStringLiteral("memoryGrid"));
  grid_->Model()->SetRowFiller([this](int row, std::vector<QString>& cells) { FillRow(row, cells); });
  layout->addWidget(grid_, 1);
  auto* buttons = new QHBoxLayout;
  // OK keeps the changes, Cancel (and Escape) throws them away.
  auto* ok = new QPushButton(QString::fromStdString(text.Text(13)), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  ok->setAutoDefault(true);
  auto* cancel = new QPushButton(QString::fromStdString(text.Text(14)), this);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &CMemoryViewDlg::Confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  edit_ = new CFilterEdit(grid_->viewport());
  edit_->hide();

  // The address box and the character columns belong to whole-buffer views.
  address_->setVisible(whole_);
  addressStatic_->setVisible(!whole_);
  chars_->setVisible(whole_);
  chars_->setChecked(charCols_);

  grid_->installEventFilter(this);
  address_->installEventFilter(this);
  connect(grid_, &CEditGrid::CellChanged, this, [this](int, int) { ShowAddress(); });
  connect(grid_, &CEditGrid::CharTyped, this, [this](QKeyEvent* e) {
    const QString t = e->text();
    if (e->key() == Qt::Key_Backspace || t == QLatin1String(".")) {
      OpenEdit(QString(), nullptr);
      return;
    }
    const bool byteCol = grid_->Col() >= 1 && grid_->Col() <= 16;
    if (grid_->Col() == kGapCol) return;
    if (byteCol) {
      const QChar c = t.isEmpty() ? QChar() : t[0].toUpper();
      if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) return;
    }
    OpenEdit(QString(), e);
  });
  connect(grid_, &CEditGrid::EnterPressed, this, [this](Qt::KeyboardModifiers) {
    if (grid_->Col() != kGapCol) OpenEdit(grid_->Text(grid_->Row(), grid_->Col()), nullptr);
  });
  connect(grid_, &CEditGrid::EditorKey, this, [this](int key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) CommitEdit();
    else if (key == Qt::Key_Escape) grid_->CancelEdit();
  });
  connect(grid_, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) grid_->CancelEdit();
  });
  connect(chars_, &QCheckBox::toggled, this, [this](bool on) {
    viewer_.SetShowChars(on);
    SetCharColumns(on);
  });

  SetCharColumns(charCols_);
  // Wide enough for every column and high enough for 16 rows.
  int w = 2 * grid_->frameWidth() + grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 24;
  for (int c = 0; c < grid_->Cols(); ++c) w += grid_->columnWidth(c);
  const int h = grid_->horizontalHeader()->sizeHint().height() + 16 * grid_->verticalHeader()->defaultSectionSize() +
                2 * grid_->frameWidth() + 100;
  resize(std::max(charCols_ ? 1006 : 529, w), std::max(319, h));
  // Where the cursor starts: the remembered place of a whole view, else the
  // window's first byte in its bottom row.
  CMemoryViewer::Position& pos = viewer_.Remembered();
  if (whole_ && pos.row > 0) {
    grid_->SetCurrent(pos.row, pos.col);
    grid_->SetTopRow(pos.top);
  } else {
    grid_->SetCurrent(rows_, whole_ ? 1 : firstCol);
    grid_->SetTopRow(std::max(1, rows_ - 15));
  }
  grid_->scrollTo(grid_->currentIndex());
  ShowAddress();
  grid_->setFocus();
}

int CMemoryViewDlg::ByteCol(int col) const {
  if (col >= 1 && col <= 16) return col;
  if (charCols_ && col >= kFirstCharCol && col <= kLastCharCol) return col - 17;
  return 0;
}

int CMemoryViewDlg::AddressOf(int row, int col) const {
  const int bc = ByteCol(col);
  if (row < 1 || row > rows_ || bc == 0) return -1;
  return base_ + (rows_ - row) * 16 + bc - 1;
}

void CMemoryViewDlg::FillRow(int row, std::vector<QString>& cells) const {
  const ByteArea copy = viewer_.Copy();
  for (int j = 1; j <= 16; ++j) {
    const int a = AddressOf(row, j);
    const uint8_t b = copy.u8(static_cast<size_t>(a));
    cells[static_cast<size_t>(j)] = Hex2(b);
    if (charCols_) cells[static_cast<size_t>(j + 17)] = CharText(b);
  }
}

void CMemoryViewDlg::SetCharColumns(bool on) {
  const int row = grid_->Row() > 0 ? grid_->Row() : rows_;
  const int col = grid_->Col() >= 1 && grid_->Col() <= 16 ? grid_->Col() : (ByteCol(grid_->Col()) ? ByteCol(grid_->Col()) : 1);
  const int top = grid_->TopRow();
  const bool wasSet = grid_->Cols() > 1;
  const int widthBefore = charCols_ ? 1006 : 529;
  charCols_ = on;
  grid_->SetSize(rows_ + 1, on ? 34 : 17);
  grid_->setColumnWidth(0, kLabelColWidth);
  for (int c = 1; c < grid_->Cols(); ++c) grid_->setColumnWidth(c, kByteColWidth);
  for (int c = 0; c < 16; ++c) {
    grid_->SetText(0, c + 1, QStringLiteral("__%1").arg(c, 0, 16).toUpper());
    if (on) grid_->SetText(0, c + 18, QStringLiteral("__%1").arg(c, 0, 16).toUpper());
  }
  for (int r = 1; r <= rows_; ++r)
    grid_->SetText(r, 0, QStringLiteral("   %1_").arg(rows_ + base_ / 16 - r, 3, 16, QLatin1Char('0')).toUpper());
  grid_->Model()->RefillAll();
  grid_->SetCurrent(row, col);
  grid_->SetTopRow(top);
  if (wasSet && isVisible()) {
    // The dialog grows or shrinks by the width of the character columns.
    const int delta = (on ? 1006 : 529) - widthBefore;
    setGeometry(x() - delta / 2, y(), width() + delta, height());
  }
}

void CMemoryViewDlg::ShowAddress() {
  const int a = AddressOf(grid_->Row(), grid_->Col());
  const QString t = a < 0 ? QString() : QStringLiteral("%1").arg(a, 4, 16, QLatin1Char('0')).toUpper();
  address_->setText(t);
  addressStatic_->setText(t);
}

bool CMemoryViewDlg::GoTo(int address) {
  if (address < base_ || address >= viewer_.Size()) return false;
  const int rel = address - base_;
  const int rowFromBottom = rel / 16;
  if (rowFromBottom >= rows_) return false;
  const int row = rows_ - rowFromBottom;
  grid_->SetCurrent(row, rel % 16 + 1);
  grid_->scrollTo(grid_->currentIndex());
  ShowAddress();
  return true;
}

void CMemoryViewDlg::OpenEdit(const QString& text, QKeyEvent* key) {
  const bool byteCol = grid_->Col() >= 1 && grid_->Col() <= 16;
  edit_->SetInputMode(byteCol ? kInputHex : kInputAll);
  edit_->setMaxLength(byteCol ? 2 : 1);
  if (!grid_->ShowEdit(edit_, text, true)) return;
  if (key) {
    edit_->clear();
    QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
    QCoreApplication::sendEvent(edit_, &copy);
  }
}

void CMemoryViewDlg::CommitEdit() {
  if (!grid_->EditorKindOpen()) return;
  const int row = grid_->EditRow();
  const int col = grid_->EditCol();
  const int a = AddressOf(row, col);
  QString t = edit_->text();
  grid_->HideEditor(false);
  if (a < 0) return;
  uint8_t b;
  if (col <= 16) {
    // Empty is FF; one digit gets a leading zero.
    if (t.isEmpty()) t = QStringLiteral("FF");
    if (t.size() == 1) t.prepend(QLatin1Char('0'));
    bool ok = false;
    b = static_cast<uint8_t>(t.toUInt(&ok, 16));
    if (!ok) b = 0xFF;
  } else {
    const uint8_t was = viewer_.Copy().u8(static_cast<size_t>(a));
    // The dot of a byte that does not print is not a typed dot: the byte
    // stays as it was.
    if (t == CharText(was)) {
      grid_->Model()->RefillRow(row);
      grid_->setFocus();
      return;
    }
    b = t.isEmpty() ? 0 : static_cast<uint8_t>(t[0].toLatin1());
  }
  viewer_.Copy().setU8(static_cast<size_t>(a), b);  // never the source
  grid_->Model()->RefillRow(row);
  grid_->setFocus();
}

void CMemoryViewDlg::Confirm() {
  if (grid_->EditorKindOpen()) CommitEdit();
  if (whole_) {
    CMemoryViewer::Position& pos = viewer_.Remembered();
    pos.top = grid_->TopRow();
    pos.row = grid_->Row();
    pos.col = grid_->Col();
  }
  ByteArea src = viewer_.Source();
  const ByteArea copy = viewer_.Copy();
  const bool changed = std::memcmp(src.data(), copy.data(), static_cast<size_t>(viewer_.Size())) != 0;
  if (changed) {
    src.write(0, copy.data(), static_cast<size_t>(viewer_.Size()));
    done(1);
  } else {
    done(0);
  }
}

bool CMemoryViewDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* e = static_cast<QKeyEvent*>(event);
  if (watched == address_) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      bool ok = false;
      const int a = address_->text().trimmed().toUpper().toInt(&ok, 16);
      if (ok) GoTo(a);
      return true;
    }
    const QString t = e->text();
    if (t.size() == 1 && t[0].isPrint()) {
      const QChar c = t[0].toUpper();
      if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) return true;
      if (c != t[0]) {
        address_->insert(QString(c));
        return true;
      }
    }
    return false;
  }
  if (watched != grid_) return QDialog::eventFilter(watched, event);
  // Escape on the grid itself (no cell being edited) closes the window
  // without keeping anything, as Cancel does.
  if (e->key() == Qt::Key_Escape && !grid_->EditorKindOpen()) {
    reject();
    return true;
  }
  const int row = grid_->Row();
  const int col = grid_->Col();
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int firstByte = col >= kFirstCharCol ? kFirstCharCol : 1;
  const int lastByte = col >= kFirstCharCol ? kLastCharCol : 16;
  switch (e->key()) {
    case Qt::Key_Right:
      if (col == lastByte) {
        if (row > 1) grid_->SetCurrent(row - 1, firstByte);  // next higher address
        return true;
      }
      return false;
    case Qt::Key_Left:
      if (col == firstByte) {
        if (row < rows_) grid_->SetCurrent(row + 1, lastByte);
        return true;
      }
      return false;
    case Qt::Key_Home:
      if (col >= kFirstCharCol) {
        grid_->SetCurrent(ctrl ? 1 : row, kFirstCharCol);
        grid_->scrollTo(grid_->currentIndex());
        return true;
      }
      return false;
    case Qt::Key_End:
      if (col <= 16) {
        grid_->SetCurrent(ctrl ? rows_ : row, 16);
        grid_->scrollTo(grid_->currentIndex());
        return true;
      }
      return false;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (ctrl && charCols_) {
        if (col == kGapCol) grid_->SetCurrent(row, 1);
        else if (col <= 16) grid_->SetCurrent(row, col + 17);
        else grid_->SetCurrent(row, col - 17);
        return true;
      }
      return false;
    case Qt::Key_F1: return true;
    default: return false;
  }
}

// ---------------------------------------------------------------------------
// The main window's two viewers and the commands that open them

namespace {

class ViewerHolder : public QObject {
 public:
  ViewerHolder(Workspace& ws, QObject* parent)
      : QObject(parent),
        image(ws.data.buffers.Image(), ws.data.buffers.ScratchImage(), static_cast<int>(kImageSize)),
        eeprom(ws.data.buffers.Ext(), ws.data.buffers.ScratchExt(), static_cast<int>(kExtSize)) {
    setObjectName(QStringLiteral("vb420MemoryViewers"));
  }
  CMemoryViewer image;
  CMemoryViewer eeprom;
};

ViewerHolder& Holder(EditorContext& ctx) {
  QObject* owner = ctx.frame.MainWindow();
  if (auto* h = owner ? owner->findChild<ViewerHolder*>(QStringLiteral("vb420MemoryViewers"), Qt::FindDirectChildrenOnly) : nullptr)
    return *h;
  return *new ViewerHolder(ctx.ws, owner);
}

void RunWhole(EditorContext& ctx, CMemoryViewer& viewer) {
  if (viewer.OpenWhole(ctx.frame.MainWindow(), ctx.ws.text, ctx.msg.Prompter()) == 1) ctx.frame.RefreshAllEditors();
}

}  // namespace

CMemoryViewer& ImageViewer(EditorContext& ctx) { return Holder(ctx).image; }

CMemoryViewer& EepromViewer(EditorContext& ctx) {
  CMemoryViewer& v = Holder(ctx).eeprom;
  v.SetTitle(QString::fromStdString(ctx.ws.text.Text(229)));  // again after a language change
  return v;
}

void ShowImageWindow(EditorContext& ctx, int start, int count, const QString& caption) {
  if (ImageViewer(ctx).OpenWindow(ctx.frame.MainWindow(), ctx.ws.text, ctx.msg.Prompter(), start, count, caption) == 1)
    ctx.frame.RefreshAllEditors();
}

void RegisterMemoryViewerCommands() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterCommand(kCmdMemoryMap, [](EditorContext& ctx) { RunWhole(ctx, ImageViewer(ctx)); });
  reg.RegisterCommand(kCmdEeprom, [](EditorContext& ctx) { RunWhole(ctx, EepromViewer(ctx)); });
}

}  // namespace vb420
