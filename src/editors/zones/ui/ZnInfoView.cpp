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
#include "editors/grid/FieldGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/grid/ToneCombo.h"
#include "editors/zones/ui/ChannelFunctionMenu.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneText.h"
#include "editors/zones/ui/ZoneDialogs.h"
#include "lang/TextNames.h"
#include "lang/ui/MessageHelper.h"
#include "data/ui/MemoryViewer.h"
#include "data/ByteChanges.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

// A column of a Zone Information grid: the field of its zone table (by
// key), its heading, width, alignment and whether it is set in the fixed
// face. What a cell shows, takes and how long it may be come from the field.
struct GridColumn {
  const char* key;
  int caption;
  int width;
  int alignment;
  bool fixedFont = false;
};
struct GridShape {
  const char* name;
  ZoneTable table;
  int numberCaption;
  std::vector<GridColumn> columns;
};
const GridShape kGridShapes[3] = {
    {"convGrid", ZoneTable::Channel, 359,
     {{"rxf", 382, 80, kAlignRight}, {"txf", 383, 80, kAlignRight}, {"rxtone", 385, 75, kAlignRight},
      {"txtone", 384, 75, kAlignRight}, {"name", 386, 115, kAlignLeft, true}, {"power", 387, 60, kAlignCentre},
      {"bandwidth", 388, 70, kAlignCentre}, {"scanadd", 389, 65, kAlignCentre}, {"optsig", 390, 75, kAlignCentre}}},
    {"ltrGrid", ZoneTable::LtrGroup, 391,
     {{"encode", 392, 60, kAlignRight}, {"decode", 393, 60, kAlignRight}, {"name", 394, 115, kAlignLeft, true},
      {"transmit", 395, 70, kAlignCentre}, {"power", 387, 60, kAlignCentre}, {"pttid", 396, 70, kAlignCentre},
      {"scan", 389, 70, kAlignCentre}, {"optsig", 390, 75, kAlignCentre}, {"compander", 397, 60, kAlignCentre}}},
    {"passPortGrid", ZoneTable::PassPortGroup, 391,
     {{"id", 1191, 80, kAlignCentre}, {"name", 1192, 115, kAlignLeft, true}, {"tx", 395, 60, kAlignCentre},
      {"call", 1193, 60, kAlignCentre}, {"scrambler", 1194, 60, kAlignCentre}, {"compand", 1195, 60, kAlignCentre},
      {"horn", 1222, 60, kAlignCentre}, {"scan", 365, 60, kAlignCentre}, {"scanedit", 976, 85, kAlignCentre}}},
};
constexpr int kNumberColumnWidth = 30;

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
  EditorContext& ctx = Context();
  for (int k = 0; k < 3; ++k) {
    const GridShape& shape = kGridShapes[k];
    std::vector<CFieldGrid::Column> columns;
    for (const GridColumn& c : shape.columns) {
      const forms::FieldDescriptor* d = zonefields::ByKey(shape.table, c.key);
      columns.push_back({d, c.width, c.alignment, c.caption, c.fixedFont});
    }
    const ZoneTable table = shape.table;
    auto* g = new CFieldGrid(
        ctx.ws.data, ctx.ws.text,
        [this, table](int row) -> std::unique_ptr<forms::BoundRecord> {
          return std::make_unique<ZoneFieldContext>(z_.zones, Context().ws.text, table, zone_, row - 1);
        },
        std::move(columns), zones::kMaxRecords, this);
    g->setObjectName(QString::fromLatin1(shape.name));
    g->SetNumberColumn(shape.numberCaption, kNumberColumnWidth);
    g->SetWrapNavigation(true);
    g->SetOpenCheck([this, k](int& row, int& col) { return MayOpen(k, row, col); });
    g->SetRecordName([this, k](int row) {
      MessageHelper& msg = Context().msg;
      return QStringLiteral("%1 %2 %3 %4")
          .arg(MenuLabel(msg.T(378)))
          .arg(zone_ + 1)
          .arg(MenuLabel(msg.T(k == kConvGrid ? 376 : 391)))
          .arg(row);
    });
    g->SetNotice([this](const QString& text) {
      Context().msg.Warning(text, kMsgOk, MessageHelper::kNoticeCaption, this);
      AfterMessage();
    });
    if (k != kPassPortGrid) {
      // Whole records go through the zone's copy buffer.
      g->ClaimCommands({kCmdGridCopy, kCmdGridPaste, kCmdGridDelete}, [this](int cmd) { RunCommand(cmd); });
      g->SetPopup(true, [this] { return !(gridKind_ == kLtrGrid ? z_.ltrBuffer : z_.convBuffer).Empty(); });
    }
    grids_[k] = g;
    connect(g, &CFieldGrid::Stored, this, [this](int row, int) { GridStored(row); });
    connect(g, &CEditGrid::CellChanged, this, [this](int, int) { UpdateCaption(); });
  }
}

bool CZnInfoView::MayOpen(int kind, int& row, int& col) {
  CFieldGrid* g = grids_[kind];
  if (kind == kConvGrid && g->RowExists(row) && !g->CellEditable(row, col)) {
    col = 2;  // the transmit frequency decides
    return true;
  }
  const forms::FieldDescriptor* d = g->Field(col);
  if (kind == kPassPortGrid && d && d->key == "horn" && Context().ws.data.model.IsPortable()) {
    Context().msg.Error(Context().msg.T(text::kHornAlertIsNot), kMsgOk, MessageHelper::kErrorCaption, this);
    AfterMessage();
    return false;
  }
  return true;
}

void CZnInfoView::GridStored(int row) {
  // A first entry may have made the zone (or a refused one taken it away
  // again), an emptied first column removed the record: the header follows.
  const bool exists = z_.zones.ZoneExists(zone_);
  const int records = exists ? z_.zones.RecordCount(zone_) : 0;
  if (exists != shownExists_ || records != shownRecords_) {
    Refresh();
  } else {
    CurrentGridWidget()->Model()->RefillRow(row);
    UpdateCaption();
  }
  Context().frame.RefreshAllEditors(this);
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
  shownExists_ = z_.zones.ZoneExists(zone_);
  shownRecords_ = shownExists_ ? z_.zones.RecordCount(zone_) : 0;
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

CFilterEdit* CZnInfoView::CellEdit() const { return CurrentGridWidget()->CellEdit(); }
CToneCombo* CZnInfoView::ToneEditor() const { return CurrentGridWidget()->CellCombo(); }
QComboBox* CZnInfoView::ListEditor() const { return CurrentGridWidget()->CellList(); }

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

bool CZnInfoView::CommitPendingEdit() {
  CurrentGridWidget()->CommitEdit();
  if (nameBox_->hasFocus()) StoreName();
  return true;
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

void CZnInfoView::RunCommand(int command) {
  CFieldGrid* g = CurrentGridWidget();
  g->CommitEdit();
  EditorContext& ctx = Context();
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
      g->CopySelectionText(command == kCmdGridToClipTitle);
      g->SetRowSelectMode(false);
      return;
    default: return;  // Group Copy, Channel Insert and Delete belong to the channel editor
  }
}

bool CZnInfoView::ShowsBytes(const ByteChanges& changes) const {
  // The zone table and blocks and the per-channel and per-zone tables of
  // the extension area.
  return changes.TouchesModel() || changes.Touches(false, img::kZoneTable, img::kZoneAreaEnd) || changes.TouchesExt();
}

void RegisterZoneInfoWindow() {
  EditorRegistry& reg = EditorRegistry::Instance();
  // After Open and after a read the damaged zones are named in one message.
  reg.AddImageReplacedHook(ReportDamagedZones);
  reg.RegisterEditor(EditorKind::ZoneInfo, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CZnInfoView(c, p); });
}

}  // namespace vb420
