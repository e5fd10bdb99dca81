// SPDX-License-Identifier: GPL-3.0-or-later
// The Zone Information window: one zone at a time with its number, type,
// name, free memory and the grid of its channels (conventional) or groups
// (LTR, PassPort), and the Channel Function commands.
#pragma once

#include "editors/zones/ui/ZoneServices.h"

#include <QLabel>

class QComboBox;
class QMenu;
class QPushButton;
class QAction;
class QGridLayout;

namespace vb420 {

class CEditGrid;
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

// Grid column -> conventional channel field.
constexpr int kConvColumnField[10] = {2, 3, 4, 5, 6, 7, 8, 9, 14, 10};

class CZnInfoView : public CEditorView {
  Q_OBJECT
 public:
  enum GridKind { kConvGrid = 0, kLtrGrid = 1, kPassPortGrid = 2 };

  CZnInfoView(EditorContext& ctx, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  QString MenuTitle() const override;
  void FillMenu(QMenu* menu) override;
  QPoint InitialPosition() const override { return {0, 0}; }
  QWidget* InitialFocus() const override;
  QSize sizeHint() const override;

  int Zone() const { return zone_; }
  void SetZone(int zone);
  int CurrentGrid() const { return gridKind_; }
  CEditGrid* Grid(int kind) const { return grids_[kind]; }
  CEditGrid* CurrentGridWidget() const { return grids_[gridKind_]; }
  // The current record (0-based).
  int CurrentRecord() const;
  void SetCurrentRecord(int record);

  CFilterEdit* ZoneBox() const { return zoneBox_; }
  QComboBox* TypeBox() const { return typeBox_; }
  CFilterEdit* NameBox() const { return nameBox_; }
  QLabel* FreeLine() const { return freeLine_; }
  CFilterEdit* CellEdit() const { return edit_; }
  CToneCombo* ToneEditor() const { return tone_; }
  QComboBox* ListEditor() const { return list_; }
  QPushButton* RepeaterButton() const { return repButton_; }
  QPushButton* PassPortButton(int i) const { return ppButtons_[i]; }
  CChannelFunctionMenu* FunctionMenu() const { return menu_; }

  // Runs a Channel Function or grid command.
  void RunCommand(int command);
  // The text of the selected rows for the clipboard, with or without the
  // column captions.
  QString ClipText(bool withTitle) const;

 private:
  Workspace& Ws() const { return ws_; }
  void BuildHeader();
  void BuildGrids();
  void BuildMenu();
  void UpdateMenuState();
  void FillConvRow(int row, std::vector<QString>& cells) const;
  void FillLtrRow(int row, std::vector<QString>& cells) const;
  void FillPassPortRow(int row, std::vector<QString>& cells) const;
  void ShowHeader();
  void UpdateCaption();
  void Changed();
  void OpenEditor(QKeyEvent* key, const QString* text);
  void CommitEdit();
  void CommitConv(int channel, int col, const QString& text, int listRow);
  void CommitTrunked(int record, int col, const QString& text, int listValue = -1);
  // One cell of text pasted from another program, by the typing rules.
  bool StorePasted(int record, int col, const QString& text);
  // `pasted` as typing it into a cell of that input mode and length would
  // leave it; false when the cell would not take it.
  bool TypedAsInTheCell(const QString& pasted, int mode, int maxLength, QString& typed);
  void AfterPaste(int refused);
  void AfterMessage();
  void ShowResult(int messageEntry, bool error = false);
  void ZoneTypeChosen(int row);
  // The key window edits the table of the zone type shown here.
  void KeysFollow();
  void StoreName();
  void ContextMenu(const QPoint& globalPos, int row);

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
  CEditGrid* grids_[3] = {};
  CFilterEdit* edit_ = nullptr;
  CToneCombo* tone_ = nullptr;
  QComboBox* list_ = nullptr;
  CChannelFunctionMenu* menu_ = nullptr;
};

}  // namespace vb420
