// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Zone Merge: a workspace for moving whole zones.
//
// Left, the 128 zones of the programming (Data File); in the middle, the 20
// merge entries kept outside the programming (Zone Merge File, saved and
// loaded as ".sdt"); right, the switchable grid that says which entry goes
// into which zone, shown by zone (128 rows, an entry number each) or by entry
// (20 rows, a target zone each). One copy buffer serves both lists: copy
// zones and paste them into entries or other zones, copy entries and paste
// them into zones; Merge pastes every assigned entry into its zone.
#pragma once

#include "editors/grid/FieldGrid.h"
#include "frame/ui/EditorView.h"

class QPushButton;
class QLabel;
class QGroupBox;

namespace vb420 {

class CEditGrid;
class CZoneCopyBuffer;

class CZnMergeView : public CEditorView {
  Q_OBJECT
 public:
  CZnMergeView(EditorContext& ctx, QWidget* parent = nullptr);
  void Refresh() override;
  bool CommitPendingEdit() override;
  QPoint InitialPosition() const override { return {0, 0}; }
  QWidget* InitialFocus() const override;

  CFieldGrid* ZoneGrid() const { return zones_; }
  CFieldGrid* EntryGrid() const { return entries_; }
  // The switchable grid as shown: by zone or by entry.
  CFieldGrid* SwitchGrid() const { return byEntry_ ? switchByEntry_ : switchByZone_; }
  QPushButton* SwitchButton() const { return switchButton_; }
  QPushButton* MergeButton() const { return mergeButton_; }
  bool ByEntry() const { return byEntry_; }
  void SetByEntry(bool on);

  // Copy, Paste, Delete on the zone list (`entries` false) or the entry list.
  void RunCommand(int command, bool entries);
  void MergeAssignedEntries();
  bool LoadEntries(const QString& path);
  bool SaveEntries(const QString& path);

  // Lives as long as the program; cleared when the image is replaced.
  static CZoneCopyBuffer& CopyBuffer();

 private:
  void ZonesChanged();
  void WireList(CFieldGrid* grid, bool entries);

  CFieldGrid* zones_ = nullptr;
  CFieldGrid* entries_ = nullptr;
  CFieldGrid* switchByZone_ = nullptr;
  CFieldGrid* switchByEntry_ = nullptr;
  QPushButton* switchButton_ = nullptr;
  QPushButton* mergeButton_ = nullptr;
  QPushButton* loadButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  bool byEntry_ = false;
};

}  // namespace vb420
