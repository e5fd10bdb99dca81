// SPDX-License-Identifier: GPL-3.0-or-later
// The Zone Information window: one zone at a time with its number, type,
// name, free memory and the grid of its channels (conventional) or groups
// (LTR, PassPort), and the Channel Function commands.
#pragma once

#include "editors/grid/FieldGrid.h"
#include "editors/zones/ui/ZoneServices.h"

#include <QLabel>

class QComboBox;
class QMenu;
class QPushButton;
class QAction;
class QGridLayout;

namespace vb420 {

class CFilterEdit;
class CToneCombo;
class CSpinButtons;
class CChannelFunctionMenu;

// Channel Function commands.
enum ChannelCommand : int {
  kCmdChannelCopy = 32798,
  kCmdFrequencyCopy = 32799,
  kCmdToneCopy = 32800,
  kCmdGroupCopy = 32802,
  kCmdChannelInsert = 32804,
  kCmdChannelDelete = 32805,
  kCmdChannelEditCmd = 32807,
  kCmdChannelMemMap = 32813,
  kCmdZoneUp = 32837,
  kCmdZoneDown = 32838,
  kCmdZoneEditCmd = 32841,
  kCmdJump = 32842,
  kCmdZoneMemMap = 32845,
};

class CZnInfoView : public CEditorView {
  Q_OBJECT
 public:
  enum GridKind { kConvGrid = 0, kLtrGrid = 1, kPassPortGrid = 2 };

  CZnInfoView(EditorContext& ctx, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;
  bool ShowsBytes(const ByteChanges& changes) const override;
  bool CommitPendingEdit() override;
  QString MenuTitle() const override;
  void FillMenu(QMenu* menu) override;
  QPoint InitialPosition() const override { return {0, 0}; }
  QWidget* InitialFocus() const override;
  QSize sizeHint() const override;

  int Zone() const { return zone_; }
  void SetZone(int zone);
  int CurrentGrid() const { return gridKind_; }
  CFieldGrid* Grid(int kind) const { return grids_[kind]; }
  CFieldGrid* CurrentGridWidget() const { return grids_[gridKind_]; }
  // The current record (0-based).
  int CurrentRecord() const;
  void SetCurrentRecord(int record);

  CFilterEdit* ZoneBox() const { return zoneBox_; }
  QComboBox* TypeBox() const { return typeBox_; }
  CFilterEdit* NameBox() const { return nameBox_; }
  QLabel* FreeLine() const { return freeLine_; }
  // The cell editors of the grid shown.
  CFilterEdit* CellEdit() const;
  CToneCombo* ToneEditor() const;
  QComboBox* ListEditor() const;
  QPushButton* RepeaterButton() const { return repButton_; }
  QPushButton* PassPortButton(int i) const { return ppButtons_[i]; }
  CChannelFunctionMenu* FunctionMenu() const { return menu_; }

  // Runs a Channel Function or grid command.
  void RunCommand(int command);

 private:
  Workspace& Ws() const { return ws_; }
  void BuildHeader();
  void BuildGrids();
  void BuildMenu();
  void UpdateMenuState();
  void ShowHeader();
  void UpdateCaption();
  void Changed();
  // Zone Information's own rules before a cell opens (see CFieldGrid).
  bool MayOpen(int kind, int& row, int& col);
  // After a grid stored a cell of `row`.
  void GridStored(int row);
  void AfterMessage();
  void ShowResult(int messageEntry, bool error = false);
  void ZoneTypeChosen(int row);
  // The key window edits the table of the zone type shown here.
  void KeysFollow();
  void StoreName();

  ZoneServices& z_;
  Workspace& ws_;
  int zone_ = 0;
  int gridKind_ = kConvGrid;
  bool refreshing_ = false;

  CFilterEdit* zoneBox_ = nullptr;
  CSpinButtons* zoneSpin_ = nullptr;
  QComboBox* typeBox_ = nullptr;
  CFilterEdit* nameBox_ = nullptr;
  QLabel* freeLine_ = nullptr;
  QGridLayout* header_ = nullptr;
  QPushButton* ppButtons_[3] = {};
  QPushButton* repButton_ = nullptr;
  CFieldGrid* grids_[3] = {};
  // What the header shows: whether the zone exists and its record count.
  bool shownExists_ = false;
  int shownRecords_ = 0;
  CChannelFunctionMenu* menu_ = nullptr;
};

}  // namespace vb420
