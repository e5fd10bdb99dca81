// SPDX-License-Identifier: GPL-3.0-or-later
// The PassPort editors of one zone's header: system data, site search and
// hold, and seed frequencies (each a form over its table of
// editors/zones/PassPortFields.h, with the forms' own fixed labels), and the
// two radio-wide list dialogs of the Edit menu (mobile ID names and site
// information, editors/passport/PassPortLists.h).
#pragma once

#include "editors/grid/FieldGrid.h"
#include <QDialog>
#include <memory>

#include "editors/forms/FormEngine.h"
#include "editors/passport/PassPortLists.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ui/ZoneServices.h"

class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace vb420 {

class CFormRenderer;
class CEditGrid;
class CFilterEdit;

// One PassPort header form; the three windows differ in their table, their
// caption and what opening them does.
class CPPHeaderView : public CEditorView {
  Q_OBJECT
 public:
  CPPHeaderView(EditorContext& ctx, EditorKind kind, ZoneTable table, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  int HelpContext() const override;

  int Zone() const { return zone_; }
  CFormRenderer* Form() const { return form_; }
  // Control index on the form of the field with this key, -1 if none.
  int IndexOf(const std::string& key) const;
  QWidget* Control(const std::string& key) const;
  QPushButton* CloseButton() const { return close_; }

 protected:
  // Extra controls above or below the form (the search editor's summary
  // and blacklist).
  QVBoxLayout* Layout() const { return layout_; }
  virtual void Reread() {}
  ZoneServices& z_;
  int zone_ = 0;

 private:
  void ApplyLabels();

  ZoneTable table_;
  std::unique_ptr<ZoneRecordLocator> locator_;
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  QVBoxLayout* layout_ = nullptr;
  QPushButton* close_ = nullptr;
  std::vector<std::string> keys_;
};

class CPPSysDataView : public CPPHeaderView {
  Q_OBJECT
 public:
  CPPSysDataView(EditorContext& ctx, QWidget* parent = nullptr);
};

class CPPSearchHoldView : public CPPHeaderView {
  Q_OBJECT
 public:
  CPPSearchHoldView(EditorContext& ctx, QWidget* parent = nullptr);
  QListWidget* Blacklist() const { return blacklist_; }
  QPushButton* SetAllButton() const { return setAll_; }
  QPushButton* ClearAllButton() const { return clearAll_; }
  QLabel* SummaryLine(int i) const { return summary_[i]; }

 protected:
  void Reread() override;

 private:
  QLabel* summary_[3] = {};
  QListWidget* blacklist_ = nullptr;
  QPushButton* setAll_ = nullptr;
  QPushButton* clearAll_ = nullptr;
  bool filling_ = false;
};

class CPPSeedFreqView : public CPPHeaderView {
  Q_OBJECT
 public:
  CPPSeedFreqView(EditorContext& ctx, QWidget* parent = nullptr);
};

// The modal dialog of the mobile ID names or the site information: the rows
// of the list in a grid, typed into like Zone Information's grids.
class CPPListDlg : public QDialog {
  Q_OBJECT
 public:
  CPPListDlg(EditorContext& ctx, pplist::Kind kind, QWidget* parent = nullptr);
  CFieldGrid* Grid() const { return grid_; }
  CFilterEdit* CellEdit() const;
  void CommitEdit();
  // Clears the selected rows (the grid's Delete).
  void DeleteRows();

 private:
  EditorContext& ctx_;
  pplist::Kind kind_;
  CFieldGrid* grid_ = nullptr;
  bool changed_ = false;
};

}  // namespace vb420
