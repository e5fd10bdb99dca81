// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ui/ZnInfoView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/grid/ToneCombo.h"
#include "editors/zones/ui/ChannelFunctionMenu.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneText.h"
#include "editors/zones/ui/ZoneDialogs.h"
#include "lang/ui/MessageHelper.h"
#include "data/ui/MemoryViewer.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

const ColumnDescriptor kConvColumns[10] = {
    {359, 30, kAlignCentre, 1}, {382, 80, kAlignRight, 1}, {383, 80, kAlignRight, 1}, {385, 75, kAlignRight, 1},
    {384, 75, kAlignRight, 1},  {386, 115, kAlignLeft, 0}, {387, 60, kAlignCentre, 1}, {388, 70, kAlignCentre, 1},
    {389, 65, kAlignCentre, 1}, {390, 75, kAlignCentre, 1},
};
const ColumnDescriptor kLtrColumns[10] = {
    {391, 30, kAlignCentre, 1}, {392, 60, kAlignRight, 1},  {393, 60, kAlignRight, 1},  {394, 115, kAlignLeft, 0},
    {395, 70, kAlignCentre, 1}, {387, 60, kAlignCentre, 1}, {396, 70, kAlignCentre, 1}, {389, 70, kAlignCentre, 1},
    {390, 75, kAlignCentre, 1}, {397, 60, kAlignCentre, 1},
};
const ColumnDescriptor kPassPortColumns[10] = {
    {391, 30, kAlignCentre, 1}, {1191, 80, kAlignCentre, 1}, {1192, 115, kAlignLeft, 0}, {395, 60, kAlignCentre, 1},
    {1193, 60, kAlignCentre, 1}, {1194, 60, kAlignCentre, 1}, {1195, 60, kAlignCentre, 1}, {1222, 60, kAlignCentre, 1},
    {365, 60, kAlignCentre, 1},  {976, 85, kAlignCentre, 1},
};

constexpr int kGridRows = 251;
constexpr int kGridCols = 10;
// "%s cells could not be stored..." after a paste from another program.
constexpr int kPasteRefusedEntry = 1186;

// Item data of the type box's row that marks a damaged zone.
constexpr int kDamagedTypeRow = -1;

// Opening a file or reading a radio with a damaged zone area: the user hears
// of it once, with every zone that can only be looked at and deleted now.
void ReportDamagedZones(EditorContext& ctx) {
  const CZoneMemory zones(ctx.ws.data);
  QStringList numbers;
  const auto layout = zones.Layout();
  for (int z = 0; z < zones::kZoneCount; ++z)
    if (layout[static_cast<size_t>(z)].exists && layout[static_cast<size_t>(z)].damaged) numbers << QString::number(z + 1);
  if (numbers.isEmpty()) return;
  MessageHelper& msg = ctx.msg;
  msg.Warning(QStringLiteral("%1\n\n%2: %3").arg(msg.T(302), MenuLabel(msg.T(378)), numbers.join(QStringLiteral(", "))),
              kMsgOk, MessageHelper::kWarningCaption, ctx.frame.MainWindow());
}

bool backspaceKey(const QKeyEvent* key) { return key && key->key() == Qt::Key_Backspace; }

int GridOfClass(int cls) { return cls == kClassLtr ? CZnInfoView::kLtrGrid : cls == kClassPassPort ? CZnInfoView::kPassPortGrid : CZnInfoView::kConvGrid; }

}  // namespace

CZnInfoView::CZnInfoView(EditorContext& ctx, QWidget* parent)
    : CEditorView(ctx, EditorKind::ZoneInfo, parent), z_(ZonesOf(ctx)), ws_(ctx.ws) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  z_.shownZone = zone_;
  BuildHeader();
  BuildGrids();
  BuildMenu();
  for (CEditGrid* g : grids_) {
    // The columns share a wider window among them, so a maximised window
    // shows no empty band beside the grid.
    g->SetStretch(true);
    layout->addWidget(g, 1);
  }
  Refresh();
}

void CZnInfoView::BuildHeader() {
  // Two rows, so that a tiled window and the longer Spanish texts still show
  // every label and button whole: the zone, its type and the free memory;
  // then its name and the buttons of its kind (PassPort or LTR editors).
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  // Each label leads to its box (access key and screen reader alike).
  auto label = [this](int entry, QWidget* box) {
    auto* l = new QLabel(Context().msg.T(entry), this);
    l->setBuddy(box);
    return l;
  };
  zoneBox_ = new CFilterEdit(this);
  zoneBox_->setObjectName(QStringLiteral("zoneNumber"));
  zoneBox_->SetInputMode(kInputDigits);
  zoneBox_->setMaxLength(3);
  zoneBox_->setFixedWidth(44);
  zoneSpin_ = new CSpinButtons(this);
  auto* number = new QHBoxLayout;
  number->setSpacing(2);
  number->addWidget(zoneBox_);
  number->addWidget(zoneSpin_);
  number->addStretch(1);
  grid->addWidget(label(378, zoneBox_), 0, 0);
  grid->addLayout(number, 0, 1);
  typeBox_ = new QComboBox(this);
  typeBox_->setObjectName(QStringLiteral("zoneType"));
  typeBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  grid->addWidget(label(379, typeBox_), 0, 2);
  grid->addWidget(typeBox_, 0, 3);
  freeLine_ = new QLabel(this);
  freeLine_->setObjectName(QStringLiteral("freeMemory"));
  grid->addWidget(freeLine_, 0, 4);
  nameBox_ = new CFilterEdit(this);
  nameBox_->setObjectName(QStringLiteral("zoneName"));
  nameBox_->setFixedWidth(nameBox_->fontMetrics().averageCharWidth() * 13 + 16);  // twelve characters
  grid->addWidget(label(462, nameBox_), 1, 0);
  grid->addWidget(nameBox_, 1, 1);
  auto* buttons = new QHBoxLayout;
  static const EditorKind kPassPortKinds[3] = {EditorKind::PPSysData, EditorKind::PPSearchHold, EditorKind::PPSeedFreq};
  // The PassPort editors' own forms carry fixed English labels; the seed
  // frequencies button has no text of the language file either.
  const QString ppLabels[3] = {Context().msg.T(463), Context().msg.T(1200), Context().msg.T(1223)};
  for (int i = 0; i < 3; ++i) {
    ppButtons_[i] = new QPushButton(ppLabels[i], this);
    buttons->addWidget(ppButtons_[i]);
    connect(ppButtons_[i], &QPushButton::clicked, this, [this, i] {
      if (!z_.zones.ZoneExists(zone_)) {
        Context().msg.Warning(Context().msg.T(314), kMsgOk, MessageHelper::kNoticeCaption, this);
        AfterMessage();
        return;
      }
      Context().frame.OpenEditor(kPassPortKinds[i]);
    });
  }
  // An LTR zone's repeaters have their own window.
  repButton_ = new QPushButton(Context().msg.T(465), this);
  repButton_->setObjectName(QStringLiteral("repeaterButton"));
  buttons->addWidget(repButton_);
  buttons->addStretch(1);
  grid->addLayout(buttons, 1, 2, 1, 3);
  grid->setColumnStretch(4, 1);
  connect(repButton_, &QPushButton::clicked, this, [this] { Context().frame.OpenEditor(EditorKind::RepeaterInfo); });
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
  header_ = grid;

  connect(zoneBox_, &QLineEdit::editingFinished, this, [this] {
    if (refreshing_) return;
    std::string t = zoneBox_->text().toStdString();
    if (t.empty()) {
      zoneBox_->setText(QString::number(zone_ + 1));
      return;
    }
    const int v = CFieldCodec::ClampIntText(t, zones::kZoneCount, 1, 1);
    SetZone(v - 1);
  });
  connect(zoneSpin_, &CSpinButtons::Step, this, [this](int dir) { SetZone((zone_ + (dir > 0 ? 1 : zones::kZoneCount - 1)) % zones::kZoneCount); });
  connect(typeBox_, &QComboBox::activated, this, [this](int row) { ZoneTypeChosen(row); });
  connect(nameBox_, &QLineEdit::editingFinished, this, [this] { StoreName(); });
}

void CZnInfoView::BuildGrids() {
  const ColumnDescriptor* tables[3] = {kConvColumns, kLtrColumns, kPassPortColumns};
  for (int k = 0; k < 3; ++k) {
    auto* g = new CEditGrid(this);
    g->setObjectName(QStringList{"convGrid", "ltrGrid", "passPortGrid"}[k]);
    g->SetTextTable(&Context().ws.text);
    g->SetSize(kGridRows, kGridCols);
    g->SetupColumns(tables[k], 0, kGridCols);
    g->NumberRows(1);
    g->SetWrapNavigation(true);
    grids_[k] = g;
    if (k == kConvGrid) g->Model()->SetRowFiller([this](int r, std::vector<QString>& c) { FillConvRow(r, c); });
    if (k == kLtrGrid) g->Model()->SetRowFiller([this](int r, std::vector<QString>& c) { FillLtrRow(r, c); });
    if (k == kPassPortGrid) g->Model()->SetRowFiller([this](int r, std::vector<QString>& c) { FillPassPortRow(r, c); });
    // Text pasted from a spreadsheet goes in cell by cell, as if typed.
    g->SetCellStore([this](int row, int col, const QString& text) { return StorePasted(row - 1, col, text); },
                    [this](int refused) { AfterPaste(refused); });
    connect(g, &CEditGrid::CharTyped, this, [this](QKeyEvent* e) { OpenEditor(e, nullptr); });
    connect(g, &CEditGrid::EnterPressed, this, [this, g](Qt::KeyboardModifiers) {
      const QString t = g->Text(g->Row(), g->Col());
      OpenEditor(nullptr, &t);
    });
    connect(g, &CEditGrid::EditorKey, this, [this, g](int key, Qt::KeyboardModifiers mods) {
      if (key == Qt::Key_Escape) {
        g->CancelEdit();
        return;
      }
      const int row = g->EditRow();
      CommitEdit();
      if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) g->Advance(1, mods);
      else if (key == Qt::Key_Backtab) g->SetCurrent(row, std::max(1, g->Col() - 1));
      else if (key == Qt::Key_Up) g->SetCurrent(row - 1, g->Col());
      else if (key == Qt::Key_Down) g->SetCurrent(row + 1, g->Col());
      else if (key == Qt::Key_PageUp) g->PageUp();
      else if (key == Qt::Key_PageDown) g->PageDown();
      g->setFocus();
    });
    connect(g, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
      // A message box or a pop-up list taking the keyboard is no leave.
      if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
      CommitEdit();
    });
    connect(g, &CEditGrid::CellChanged, this, [this](int, int) { UpdateCaption(); });
    connect(g, &CEditGrid::ContextMenuAsked, this, &CZnInfoView::ContextMenu);
    connect(g, &CEditGrid::KeyToView, this, [this, g](QKeyEvent* e) {
      if (e->key() == Qt::Key_Delete && g->RowSelectState()) {
        RunCommand(kCmdGridDelete);
        e->accept();
      } else {
        e->ignore();
      }
    });
  }
  edit_ = new CFilterEdit(this);
  edit_->setObjectName(QStringLiteral("cellEdit"));
  edit_->hide();
  tone_ = new CToneCombo(this);
  tone_->setObjectName(QStringLiteral("cellTone"));
  tone_->Fill(Context().ws.data.field, Context().ws.text);
  tone_->hide();
  list_ = new QComboBox(this);
  list_->setObjectName(QStringLiteral("cellList"));
  list_->hide();
  // Enter, Escape and the other leaving keys of the tone combo's edit part.
  tone_->Edit()->SetInCell(true);
  connect(tone_->Edit(), &CFilterEdit::KeyLeaving, this, [this](int key, Qt::KeyboardModifiers mods) {
    if (key > 0 && CurrentGridWidget()->EditorKindOpen()) Q_EMIT CurrentGridWidget()->EditorKey(key, mods);
  });
}

void CZnInfoView::BuildMenu() {
  MessageHelper& msg = Context().msg;
  auto entry = [&msg](int e) { return [&msg, e] { return msg.T(e); }; };
  // Labels that follow the class of the zone shown.
  auto byClass = [this, &msg](int conv, int trunked) {
    return [this, &msg, conv, trunked] { return msg.T(gridKind_ == kConvGrid ? conv : trunked); };
  };
  auto memMap = [this, &msg](int what) {
    return [this, &msg, what] {
      const int e = what ? 378 : gridKind_ == kConvGrid ? 376 : 391;
      return QStringLiteral("%1 (%2)").arg(MenuLabel(msg.T(228)), MenuLabel(msg.T(e)));
    };
  };
  using Item = CChannelFunctionMenu::Item;
  std::vector<Item> items = {
      {kCmdChannelCopy, byClass(450, 451), QKeySequence(Qt::SHIFT | Qt::Key_F3)},
      {kCmdFrequencyCopy, entry(453), QKeySequence(Qt::SHIFT | Qt::Key_F4)},
      {kCmdToneCopy, entry(456), QKeySequence(Qt::SHIFT | Qt::Key_F5)},
      {kCmdJump, byClass(459, 460), QKeySequence(Qt::SHIFT | Qt::Key_F7)},
      {0, {}, {}},
      {kCmdZoneUp, entry(955), QKeySequence(Qt::Key_F7)},
      {kCmdZoneDown, entry(978), QKeySequence(Qt::Key_F8)},
      {0, {}, {}},
      {kCmdZoneEditCmd, byClass(68, 69), QKeySequence(Qt::Key_F9)},
      {kCmdChannelEditCmd, byClass(65, 66), QKeySequence(Qt::Key_F11)},
      {0, {}, {}},
      {kCmdChannelMemMap, memMap(0), QKeySequence(Qt::Key_F12)},
      {kCmdZoneMemMap, memMap(1), QKeySequence()},
      {0, {}, {}},
      {kCmdGridCopy, entry(104), QKeySequence(Qt::CTRL | Qt::Key_C)},
      {kCmdGridPaste, entry(105), QKeySequence(Qt::CTRL | Qt::Key_V)},
      {kCmdGridDelete, entry(106), QKeySequence()},
      {0, {}, {}},
      {kCmdGridToClip, entry(107), QKeySequence()},
      {kCmdGridToClipTitle, entry(108), QKeySequence()},
  };
  menu_ = new CChannelFunctionMenu(this, std::move(items), [this](int cmd) { RunCommand(cmd); });
  menu_->SetAboutToShow([this] { UpdateMenuState(); });
  UpdateMenuState();
}

void CZnInfoView::UpdateMenuState() {
  const bool memMap = Context().ws.switches.memMap;
  menu_->SetVisible(kCmdChannelMemMap, memMap);
  menu_->SetVisible(kCmdZoneMemMap, memMap);
  // Frequency and tone copies are for conventional channels; PassPort groups
  // have no copy buffer and no clipboard text.
  const bool conv = gridKind_ == kConvGrid;
  const bool pp = gridKind_ == kPassPortGrid;
  menu_->SetEnabled(kCmdFrequencyCopy, conv);
  menu_->SetEnabled(kCmdToneCopy, conv);
  menu_->SetEnabled(kCmdChannelCopy, !pp);
  for (int c : {kCmdGridCopy, kCmdGridPaste, kCmdGridDelete, kCmdGridToClip, kCmdGridToClipTitle})
    menu_->SetEnabled(c, !pp);
}

QString CZnInfoView::MenuTitle() const {
  return CChannelFunctionMenu::Title(const_cast<CZnInfoView*>(this)->Context().msg);
}

void CZnInfoView::FillMenu(QMenu* menu) { menu_->Fill(menu); }

QWidget* CZnInfoView::InitialFocus() const { return CurrentGridWidget(); }

// ---- showing ------------------------------------------------------------------

void CZnInfoView::FillConvRow(int row, std::vector<QString>& cells) const {
  if (gridKind_ != kConvGrid || !z_.zones.ZoneExists(zone_)) return;
  const int ch = row - 1;
  if (z_.zones.FindRecord(zone_, ch) < 0) return;
  std::string s;
  for (int c = 1; c < kGridCols; ++c) {
    z_.conv.RecordFieldText(zone_, ch, kConvColumnField[c], s);
    cells[static_cast<size_t>(c)] = QString::fromStdString(s);
  }
}

void CZnInfoView::FillLtrRow(int row, std::vector<QString>& cells) const {
  if (gridKind_ != kLtrGrid) return;
  std::string s;
  for (int c = 1; c < kGridCols; ++c) {
    z_.groups.LtrFieldText(zone_, row - 1, kLtrColumnField[c], s);
    cells[static_cast<size_t>(c)] = QString::fromStdString(s);
  }
}

void CZnInfoView::FillPassPortRow(int row, std::vector<QString>& cells) const {
  if (gridKind_ != kPassPortGrid) return;
  std::string s;
  for (int c = 1; c < kGridCols; ++c) {
    z_.groups.PassPortColumnText(zone_, row - 1, c, s);
    cells[static_cast<size_t>(c)] = QString::fromStdString(s);
  }
}

QSize CZnInfoView::sizeHint() const {
  // Every column of the widest grid and twenty rows.
  int width = 0;
  for (CEditGrid* g : grids_) width = std::max(width, g->FullWidth());
  const QMargins m = layout()->contentsMargins();
  const int header = header_ ? header_->sizeHint().height() : 0;
  width = std::max(width, header_ ? header_->sizeHint().width() : 0);
  return QSize(width + m.left() + m.right(),
               header + layout()->spacing() + grids_[gridKind_]->HeightForRows(20) + m.top() + m.bottom());
}

QString CZnInfoView::Title() const {
  const auto& msg = const_cast<CZnInfoView*>(this)->Context().msg;
  const int row = grids_[gridKind_] ? grids_[gridKind_]->Row() : 1;
  return QStringLiteral("%1 [ %2 - %3  %4 - %5 ]")
      .arg(msg.T(352), msg.T(378))
      .arg(zone_ + 1)
      .arg(msg.T(gridKind_ == kConvGrid ? 376 : 391))
      .arg(row);
}

void CZnInfoView::UpdateCaption() { Q_EMIT TitleChanged(); }

void CZnInfoView::ShowHeader() {
  refreshing_ = true;
  TextTable& text = Context().ws.text;
  zoneBox_->setText(QString::number(zone_ + 1));
  const bool exists = z_.zones.ZoneExists(zone_);
  const uint8_t type = z_.ShownZoneType();
  typeBox_->clear();
  for (uint8_t t : z_.zones.OfferedZoneTypes())
    typeBox_->addItem(QString::fromStdString(CZoneMemory::ZoneTypeName(t, text)), int(t));
  if (exists && z_.zones.ZoneDamaged(zone_)) {
    // What the type byte says, if anything, and that it cannot be trusted.
    const QString name = QString::fromStdString(CZoneMemory::ZoneTypeName(type, text));
    const QString damaged = Context().msg.T(307);
    typeBox_->insertItem(0, name.isEmpty() ? damaged : QStringLiteral("%1 (%2)").arg(name, damaged), kDamagedTypeRow);
    typeBox_->setCurrentIndex(0);
  } else {
    typeBox_->setCurrentIndex(typeBox_->findData(int(type)));
  }
  const bool gen2 = Context().ws.data.model.IsSecondGen();
  nameBox_->SetInputMode(gen2 ? kInputName : kInputAll);
  nameBox_->setMaxLength(gen2 ? 8 : 12);
  QString name;
  if (exists) {
    const int cls = z_.zones.ZoneClass(zone_);
    std::string s;
    if (cls == kClassConv) z_.conv.HeaderFieldText(zone_, 0, s);
    if (cls == kClassLtr) s = z_.groups.LtrZoneName(zone_);
    if (cls == kClassPassPort) s = z_.groups.PassPortZoneName(zone_);
    name = QString::fromStdString(s);
  }
  nameBox_->setText(name);
  nameBox_->setEnabled(exists && !z_.zones.ZoneDamaged(zone_));
  freeLine_->setText(QStringLiteral("  %1 = %2 %3").arg(Context().msg.T(380)).arg(z_.zones.FreeBytes()).arg(Context().msg.T(381)));
  for (QPushButton* b : ppButtons_) b->setVisible(gridKind_ == kPassPortGrid);
  repButton_->setVisible(gridKind_ == kLtrGrid);
  repButton_->setEnabled(exists && !z_.zones.ZoneDamaged(zone_));
  refreshing_ = false;
}

void CZnInfoView::Refresh() {
  if (grids_[gridKind_]->EditorKindOpen()) grids_[gridKind_]->CancelEdit();
  const int cls = z_.zones.ZoneExists(zone_) ? z_.zones.ZoneClass(zone_) : ClassOfType(z_.ShownZoneType());
  const int kind = GridOfClass(cls);
  if (kind != gridKind_) {
    const int row = grids_[gridKind_]->Row();
    gridKind_ = kind;
    grids_[kind]->SetCurrent(row, 1);
  }
  for (int k = 0; k < 3; ++k) grids_[k]->setVisible(k == gridKind_);
  // A damaged zone is shown as far as it can be read, but not edited.
  const bool damaged = z_.zones.ZoneDamaged(zone_);
  if (grids_[gridKind_]->EnabledLook() == damaged) grids_[gridKind_]->SetEnabledLook(!damaged);
  UpdateMenuState();
  ShowHeader();
  grids_[gridKind_]->Model()->RefillAll();
  UpdateCaption();
}

void CZnInfoView::SetZone(int zone) {
  if (zone < 0 || zone >= zones::kZoneCount) return;
  CommitPendingEdit();
  zone_ = zone;
  z_.shownZone = zone;
  Refresh();
  // The key window edits the table of the zone shown here.
  KeysFollow();
}

void CZnInfoView::KeysFollow() {
  // Once the current event is done: a zone box that loses the focus while
  // the main window closes must not reach for the windows being closed.
  QMetaObject::invokeMethod(this, [this] {
    if (CEditorView* keys = Context().frame.FindEditor(EditorKind::Keys)) keys->Refresh();
  }, Qt::QueuedConnection);
}

int CZnInfoView::CurrentRecord() const { return CurrentGridWidget()->Row() - 1; }

void CZnInfoView::SetCurrentRecord(int record) {
  CEditGrid* g = CurrentGridWidget();
  g->SetRowSelectMode(false);
  g->SetCurrent(record + 1, std::max(1, g->Col()));
  g->scrollTo(g->currentIndex());
  UpdateCaption();
}

void CZnInfoView::Changed() {
  ShowHeader();
  UpdateCaption();
  Context().frame.RefreshAllEditors(this);
}

// ---- editing --------------------------------------------------------------------

void CZnInfoView::AfterMessage() {
  // A message box took the keyboard: the open cell edit is dropped.
  if (CurrentGridWidget()->EditorKindOpen()) CurrentGridWidget()->CancelEdit();
  Context().msg.boxShown = false;
}

void CZnInfoView::ShowResult(int messageEntry, bool error) {
  if (!messageEntry) return;
  if (error) Context().msg.Error(Context().msg.T(messageEntry), kMsgOk, MessageHelper::kErrorCaption, this);
  else Context().msg.Warning(Context().msg.T(messageEntry), kMsgOk, MessageHelper::kNoticeCaption, this);
  AfterMessage();
}

void CZnInfoView::OpenEditor(QKeyEvent* key, const QString* text) {
  CEditGrid* g = CurrentGridWidget();
  if (g->EditorKindOpen() || g->Row() < 1 || g->Col() < 1) return;
  if (z_.zones.ZoneDamaged(zone_)) return;  // read-only until it is deleted
  const int row = g->Row();
  int col = g->Col();
  const int record = row - 1;
  const bool exists = z_.zones.FindRecord(zone_, record) >= 0;
  if (!exists && col != 1) {
    // Only the first column of a missing record can be entered.
    g->SetCurrent(row, 1);
    col = 1;
    text = nullptr;
  }
  if (gridKind_ == kConvGrid && exists && !z_.conv.IsEditable(zone_, record, kConvColumnField[col])) {
    g->SetCurrent(row, 2);  // the transmit frequency decides
    col = 2;
    text = nullptr;
  }
  if (gridKind_ == kPassPortGrid && col == 7 && Context().ws.data.model.IsPortable()) {
    Context().msg.Error(QStringLiteral("Horn Alert is not available on portable models"), kMsgOk,
                        MessageHelper::kErrorCaption, this);
    AfterMessage();
    return;
  }
  if (gridKind_ != kConvGrid && col > (gridKind_ == kLtrGrid ? 3 : 2)) {
    // Lists and check boxes of the group fields: the rows the field's table
    // offers for this group, with their stored values.
    const ZoneTable table = gridKind_ == kLtrGrid ? ZoneTable::LtrGroup : ZoneTable::PassPortGroup;
    const forms::FieldDescriptor* d = zonefields::ByNumber(table, gridKind_ == kLtrGrid ? kLtrColumnField[col] : col);
    if (!d) return;
    ZoneFieldContext f(z_.zones, Context().ws.text, table, zone_, record);
    if (!forms::FormEngine::Enabled(f.Context(), forms::FormPage{}, *d)) return;
    list_->clear();
    const auto texts = forms::FormEngine::ChoiceTexts(f.Context(), *d);
    const auto rows = forms::FormEngine::Choices(f.Context(), *d);
    for (size_t i = 0; i < rows.size() && i < texts.size(); ++i)
      list_->addItem(QString::fromStdString(texts[i]), rows[i].value);
    g->ShowList(list_, g->Text(row, col), true);
    if (key && !backspaceKey(key)) {
      QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
      QCoreApplication::sendEvent(list_, &copy);
    }
    return;
  }
  const QString cellText = text ? *text : QString();
  const bool backspace = key && key->key() == Qt::Key_Backspace;
  auto sendKey = [key, backspace](QWidget* target) {
    if (!key || backspace) return;
    QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
    QCoreApplication::sendEvent(target, &copy);
  };
  if (gridKind_ == kConvGrid && (col == 3 || col == 4)) {
    g->ShowCombo(tone_, cellText, true);
    if (key) {
      tone_->setEditText(QString());
      sendKey(tone_->lineEdit());
    }
    return;
  }
  if (gridKind_ == kConvGrid && col >= 6) {
    list_->clear();
    for (const OptionChoice& c : z_.conv.OptionChoices(zone_, record, kConvColumnField[col]))
      list_->addItem(QString::fromStdString(c.text), c.value | (c.entry == 0xFF ? 0 : c.entry << 8));
    g->ShowList(list_, g->Text(row, col), true);
    sendKey(list_);
    return;
  }
  // Frequencies, IDs and names in an edit box.
  const bool nameCol = (gridKind_ == kConvGrid && col == 5) || (gridKind_ == kLtrGrid && col == 3) ||
                       (gridKind_ == kPassPortGrid && col == 2);
  if (nameCol) {
    const bool gen2 = Context().ws.data.model.IsSecondGen();
    edit_->SetInputMode(gen2 ? kInputName : kInputAll);
    edit_->setMaxLength(gen2 ? 8 : 12);
  } else if (gridKind_ == kConvGrid) {
    edit_->SetInputMode(kInputDecimal);
    edit_->SetDecimalSeparator(Context().ws.data.freq.DecimalSeparator());
    edit_->setMaxLength(9);
  } else {
    edit_->SetInputMode(kInputDigits);
    edit_->setMaxLength(gridKind_ == kPassPortGrid ? 5 : 3);
  }
  g->ShowEdit(edit_, cellText, true);
  if (key) {
    edit_->clear();
    sendKey(edit_);
  }
}

bool CZnInfoView::CommitPendingEdit() {
  CommitEdit();
  if (nameBox_->hasFocus()) StoreName();
  return true;
}

void CZnInfoView::CommitEdit() {
  CEditGrid* g = CurrentGridWidget();
  const int kind = g->EditorKindOpen();
  if (!kind) return;
  const int row = g->EditRow();
  const int col = g->EditCol();
  const QString saved = g->SavedCellText();
  QString text;
  int listRow = -1;
  if (kind == CEditGrid::kEditBox || kind == CEditGrid::kEditButton) {
    text = edit_->text();
  } else if (g->Editor() == tone_) {
    text = tone_->currentText();
    const int i = tone_->currentIndex();
    // A typed text goes through the tone rule even when it equals a row.
    if (!tone_->Edit()->UserTyped() && i >= 0 && tone_->itemText(i) == text) listRow = i;
  } else {
    listRow = list_->currentIndex();
    text = listRow >= 0 ? list_->itemText(listRow) : saved;
  }
  g->HideEditor(false);
  if (text == saved) {
    g->SetText(row, col, saved);  // nothing changed
    return;
  }
  if (gridKind_ == kConvGrid) CommitConv(row - 1, col, text, listRow);
  else CommitTrunked(row - 1, col, text, listRow >= 0 ? list_->itemData(listRow).toInt() : -1);
}

void CZnInfoView::CommitConv(int channel, int col, const QString& text, int listRow) {
  CConvFields& conv = z_.conv;
  const int field = kConvColumnField[col];
  int message = 0;
  bool error = false;
  switch (field) {
    case 3:
    case 4: {
      const FieldResult r = conv.SetFrequency(zone_, channel, field, text.toStdString(), true);
      message = r.message;
      break;
    }
    case 5:
    case 6: conv.SetTone(zone_, channel, field, text.toStdString(), listRow); break;
    case 7: conv.SetName(zone_, channel, text.toStdString()); break;
    default:
      if (listRow >= 0) {
        const int v = list_->itemData(listRow).toInt();
        conv.SetOption(zone_, channel, field, v & 0xFF, (v >> 8) ? (v >> 8) : 0xFF);
      }
      break;
  }
  CurrentGridWidget()->Model()->RefillAll();
  Changed();
  ShowResult(message, error);
}

void CZnInfoView::CommitTrunked(int record, int col, const QString& text, int listValue) {
  // Group fields are stored by the core field operations; the first data
  // column creates the zone and the group (or removes the group).
  const std::string t = text.toStdString();
  FieldResult r;
  if (gridKind_ == kLtrGrid) {
    const int field = kLtrColumnField[col];
    if (field == 2 || field == 3 || field == 4) r = z_.groups.SetLtrField(zone_, record, field, t);
    else if (listValue >= 0) z_.groups.SetLtrOption(zone_, record, field, listValue);
  } else if (col == 1 || col == 2) {
    r = z_.groups.SetPassPortColumn(zone_, record, col, t);
  } else if (listValue >= 0) {
    z_.groups.SetPassPortSwitch(zone_, record, col, listValue == 0);
  }
  CurrentGridWidget()->Model()->RefillAll();
  if (r.result < 0) Refresh();  // a refused first entry took its new zone away again
  Changed();
  if (r.message) ShowResult(r.message);
}

bool CZnInfoView::TypedAsInTheCell(const QString& pasted, int mode, int maxLength, QString& typed) {
  // The characters go through the cell's own input filter one by one, as
  // typing them would; a character the cell would not take refuses the cell
  // (rather than storing the text without it).
  auto* probe = findChild<CFilterEdit*>(QStringLiteral("pasteProbe"));
  if (!probe) {
    probe = new CFilterEdit(this);
    probe->setObjectName(QStringLiteral("pasteProbe"));
    probe->hide();
  }
  probe->SetInputMode(mode);
  probe->SetDecimalSeparator(Context().ws.data.freq.DecimalSeparator());
  typed.clear();
  probe->clear();
  bool synced = true;
  for (const QChar c : pasted) {
    // Whether a digit is taken never depends on what stands before it; other
    // characters (a second decimal point, a suffix letter) may.
    if (!c.isDigit() && !synced) {
      probe->setText(typed);
      probe->setCursorPosition(static_cast<int>(typed.size()));
      synced = true;
    }
    QChar replacement = c;
    if (!probe->Accepts(c, &replacement)) return false;
    typed += replacement;
    synced = false;
  }
  return typed.size() <= maxLength;
}

bool CZnInfoView::StorePasted(int record, int col, const QString& text) {
  if (z_.zones.ZoneDamaged(zone_) || col < 1 || col >= kGridCols) return false;
  const bool gen2 = Context().ws.data.model.IsSecondGen();
  const int nameMode = gen2 ? kInputName : kInputAll;
  const int nameLength = gen2 ? 8 : 12;
  QString t;
  FieldResult r;
  if (gridKind_ == kConvGrid) {
    const int field = kConvColumnField[col];
    // A channel that does not exist yet takes only its receive frequency.
    if (field != 3 && !z_.conv.IsEditable(zone_, record, field)) return false;
    switch (field) {
      case 3:
      case 4:
        if (!TypedAsInTheCell(text, kInputDecimal, 9, t)) return false;
        r = z_.conv.SetRecordField(zone_, record, field, t.toStdString(), true);
        break;
      case 5:
      case 6: {
        // A row of the tone list, or a tone typed into the combo's edit part.
        const int row = tone_->findText(text);
        if (row >= 0) return z_.conv.SetTone(zone_, record, field, text.toStdString(), row) > 0;
        if (!TypedAsInTheCell(text, tone_->Edit()->InputMode(), 5, t)) return false;
        return z_.conv.SetTone(zone_, record, field, t.toStdString()) > 0;
      }
      case 7:
        if (!TypedAsInTheCell(text, nameMode, nameLength, t)) return false;
        r = z_.conv.SetRecordField(zone_, record, field, t.toStdString(), true);
        break;
      default: r = z_.conv.SetRecordField(zone_, record, field, text.toStdString(), true); break;  // one of the list texts
    }
  } else if (gridKind_ == kLtrGrid) {
    const int field = kLtrColumnField[col];
    if (field != 2 && field != 3 && field != 4) return false;
    const bool name = col == 3;
    if (!TypedAsInTheCell(text, name ? nameMode : kInputDigits, name ? nameLength : 3, t)) return false;
    r = z_.groups.SetLtrField(zone_, record, field, t.toStdString());
  } else {
    if (col != 1 && col != 2) return false;
    const bool name = col == 2;
    if (!TypedAsInTheCell(text, name ? nameMode : kInputDigits, name ? nameLength : 5, t)) return false;
    r = z_.groups.SetPassPortColumn(zone_, record, col, t.toStdString());
  }
  return r.result > 0;
}

void CZnInfoView::AfterPaste(int refused) {
  CurrentGridWidget()->Model()->RefillAll();
  Refresh();
  Changed();
  if (refused > 0) {
    MessageHelper& msg = Context().msg;
    msg.Warning(msg.T(kPasteRefusedEntry).replace(QStringLiteral("%s"), QString::number(refused)), kMsgOk,
                MessageHelper::kNoticeCaption, this);
    AfterMessage();
  }
}

void CZnInfoView::StoreName() {
  if (refreshing_ || !z_.zones.ZoneExists(zone_)) return;
  const int cls = z_.zones.ZoneClass(zone_);
  const std::string t = nameBox_->text().toStdString();
  if (cls == kClassConv) {
    z_.conv.SetHeaderField(zone_, 0, t);
  } else if (cls == kClassLtr) {
    z_.groups.SetLtrZoneName(zone_, t);
  } else if (cls == kClassPassPort) {
    z_.groups.SetPassPortZoneName(zone_, t);
  } else {
    return;
  }
  Changed();
}

void CZnInfoView::ZoneTypeChosen(int row) {
  if (refreshing_ || row < 0) return;
  if (typeBox_->itemData(row).toInt() == kDamagedTypeRow) return;
  const uint8_t type = static_cast<uint8_t>(typeBox_->itemData(row).toInt());
  const int newClass = ClassOfType(type);
  // A damaged zone cannot be retyped in place; any other type deletes it
  // after the usual question.
  const bool damaged = z_.zones.ZoneDamaged(zone_);
  if (!z_.zones.ZoneExists(zone_)) {
    z_.zones.SetPendingType(type);  // for when the zone is created
    Refresh();
    KeysFollow();
    return;
  }
  if (!damaged && z_.zones.ZoneClass(zone_) == newClass) {
    (void)z_.zones.SetZoneType(zone_, type);  // within the class it cannot be refused
    Refresh();
    Changed();
    return;
  }
  MessageHelper& msg = Context().msg;
  const bool go = z_.zones.ConfirmDelete(zone_, damaged ? -1 : newClass, Context().ws.text, [&](const std::string& question) {
    return msg.Warning(QString::fromStdString(question), kMsgOkCancel, MessageHelper::kWarningCaption, this, kIdCancel) == kIdOk;
  });
  AfterMessage();
  if (!go) {
    ShowHeader();  // the shown type goes back
    return;
  }
  (void)z_.zones.ChangeZone(zone_, kClassNone);  // deleting only: cannot fail
  z_.zones.SetPendingType(type);  // the new block comes with the first record
  Refresh();
  Changed();
}

// ---- commands --------------------------------------------------------------------

QString CZnInfoView::ClipText(bool withTitle) const {
  const CEditGrid* g = CurrentGridWidget();
  int first = 0, last = 0;
  g->SelectedRows(first, last);
  QStringList lines;
  if (withTitle) {
    QStringList caps;
    for (int c = 0; c < kGridCols; ++c) caps << g->Text(0, c);
    lines << caps.join(QLatin1Char('\t'));
  }
  for (int r = first; r <= last; ++r) {
    QStringList cells;
    cells << g->Text(r, 0);
    for (int c = 1; c < kGridCols; ++c) cells << g->Text(r, c);
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n'));
}

void CZnInfoView::ContextMenu(const QPoint& globalPos, int row) {
  CEditGrid* g = CurrentGridWidget();
  if (!g->PopupAllowed(row)) return;
  const bool pp = gridKind_ == kPassPortGrid;
  const CRecordCopyBuffer& buf = gridKind_ == kLtrGrid ? z_.ltrBuffer : z_.convBuffer;
  const int cmd = g->RunPopupMenu(globalPos, !pp, !buf.Empty(), pp);
  if (cmd) RunCommand(cmd);
}

void CZnInfoView::RunCommand(int command) {
  CommitEdit();
  EditorContext& ctx = Context();
  CEditGrid* g = CurrentGridWidget();
  const int record = CurrentRecord();
  const bool exists = z_.zones.FindRecord(zone_, record) >= 0;
  const int cls = z_.zones.ZoneClass(zone_);
  auto runDialog = [&](QDialog& d) { return ctx.msg.Prompter().RunDialog(d); };
  switch (command) {
    case kCmdChannelCopy: {
      if (!exists || (cls != kClassConv && cls != kClassLtr)) return;
      CChannelCopyDlg dlg(ctx, zone_, record, cls == kClassLtr, this);
      if (runDialog(dlg) == QDialog::Accepted) {
        g->Model()->RefillAll();
        Changed();
      }
      return;
    }
    case kCmdFrequencyCopy: {
      if (!exists || cls != kClassConv) return;
      CFreqCopyDlg dlg(ctx, zone_, record, this);
      if (runDialog(dlg) == QDialog::Accepted) {
        g->Model()->RefillAll();
        Changed();
      }
      return;
    }
    case kCmdToneCopy: {
      if (!exists || cls != kClassConv) return;
      if (!z_.conv.CanCopyTone(zone_, record)) return;
      CToneCopyDlg dlg(ctx, zone_, record, this);
      if (runDialog(dlg) == QDialog::Accepted) {
        g->Model()->RefillAll();
        Changed();
      }
      return;
    }
    case kCmdJump: {
      CJumpDlg dlg(ctx, record, gridKind_ != kConvGrid, this);
      if (runDialog(dlg) == QDialog::Accepted && dlg.Target() >= 0) SetCurrentRecord(dlg.Target());
      return;
    }
    case kCmdZoneUp: SetZone((zone_ + 1) % zones::kZoneCount); return;
    case kCmdZoneDown: SetZone((zone_ + zones::kZoneCount - 1) % zones::kZoneCount); return;
    case kCmdZoneEditCmd:
      if (gridKind_ == kPassPortGrid && !z_.zones.ZoneExists(zone_)) {
        ctx.msg.Warning(ctx.msg.T(314), kMsgOk, MessageHelper::kNoticeCaption, this);
        AfterMessage();
        return;
      }
      ctx.frame.OpenEditor(gridKind_ == kConvGrid ? EditorKind::ConvZoneEdit
                                                  : gridKind_ == kLtrGrid ? EditorKind::TrunkZoneEdit : EditorKind::PPSysData);
      return;
    case kCmdChannelEditCmd:
      // The GID editor shows LTR groups and, for PassPort zones, the group pages.
      if (gridKind_ == kConvGrid) ctx.frame.OpenEditor(EditorKind::ChannelEdit);
      else ctx.frame.OpenEditor(EditorKind::GidEdit);
      return;
    case kCmdChannelMemMap: {
      if (!ctx.ws.switches.memMap || !exists || (cls != kClassConv && cls != kClassLtr)) return;
      const QString title = QStringLiteral("%1 ([ %2 - %3  %4 - %5 ])")
                                .arg(ctx.msg.T(228), ctx.msg.T(378))
                                .arg(zone_ + 1)
                                .arg(ctx.msg.T(cls == kClassConv ? 376 : 391))
                                .arg(record + 1);
      ShowImageWindow(ctx, z_.zones.FindRecord(zone_, record), cls == kClassConv ? zones::kChannelSize : zones::kGroupSize, title);
      return;
    }
    case kCmdZoneMemMap: {
      if (!ctx.ws.switches.memMap || !z_.zones.ZoneExists(zone_)) return;
      const QString title = QStringLiteral("%1 (%2 [ %3 - %4 ])")
                                .arg(ctx.msg.T(228),
                                     QString::fromStdString(CZoneMemory::ZoneTypeName(z_.zones.ZoneType(zone_), ctx.ws.text)),
                                     ctx.msg.T(378))
                                .arg(zone_ + 1);
      const int size = cls == kClassConv ? zones::kConvHeader : cls == kClassLtr ? zones::kLtrHeader : zones::kPassPortHeader;
      ShowImageWindow(ctx, z_.zones.ZoneOffset(zone_), size, title);
      return;
    }
    case kCmdGridCopy:
    case kCmdGridPaste:
    case kCmdGridDelete: {
      if (gridKind_ == kPassPortGrid) return;
      CRecordCopyBuffer& buf = gridKind_ == kLtrGrid ? z_.ltrBuffer : z_.convBuffer;
      int first = 0, last = 0;
      g->SelectedRows(first, last);
      if (command == kCmdGridCopy) {
        buf.Copy(z_.zones, zone_, first - 1, last - 1);
        return;
      }
      if (command == kCmdGridDelete) {
        buf.Delete(z_.zones, zone_, first - 1, last - 1);
      } else {
        if (buf.Empty()) return;
        const FieldResult r = buf.Paste(z_.zones, zone_, g->Row() - 1);
        g->Model()->RefillAll();
        Refresh();
        Changed();
        ShowResult(r.message);
        return;
      }
      g->Model()->RefillAll();
      Refresh();
      Changed();
      return;
    }
    case kCmdGridToClip:
    case kCmdGridToClipTitle:
      if (gridKind_ == kPassPortGrid) return;
      PutClipboardText(ClipText(command == kCmdGridToClipTitle));
      g->SetRowSelectMode(false);
      return;
    default: return;  // Group Copy, Channel Insert and Delete belong to the channel editor
  }
}

void RegisterZoneInfoWindow() {
  EditorRegistry& reg = EditorRegistry::Instance();
  // After Open and after a read the damaged zones are named in one message.
  reg.AddImageReplacedHook(ReportDamagedZones);
  reg.RegisterEditor(EditorKind::ZoneInfo, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CZnInfoView(c, p); });
}

}  // namespace vb420
