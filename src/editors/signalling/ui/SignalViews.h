// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Vantelix, Edit > Emergency Information and Edit > Special Alert
// Tone: the data-signalling pages with the ID-list and status-list grids,
// the emergency page, and the eight alert tones with their test dialog.
#pragma once

#include "editors/grid/FieldGrid.h"
#include <QPointer>
#include <functional>
#include <memory>

#include "editors/forms/FormEngine.h"
#include "frame/ui/EditorView.h"

namespace vb420 {

class CEditGrid;
class CFilterEdit;
class CFormRenderer;
class CAlertTestDlg;
}  // namespace vb420
class QTabBar;
namespace vb420 {

// The ID list or the status list of the Vantelix window: a grid whose cells
// store through the lists' cell rules as soon as an edit is confirmed.
class CSignalListGrid : public QWidget {
  Q_OBJECT
 public:
  CSignalListGrid(EditorContext& ctx, bool idList, QWidget* parent = nullptr);
  void Refill();
  void CommitEdit();
  CFieldGrid* Grid() const { return grid_; }
  CFilterEdit* CellEdit() const;
  int Rows() const;

 Q_SIGNALS:
  // A cell was stored (`inhibit`: the inhibit mark changed).
  void Stored(bool inhibit);

 private:
  EditorContext& ctx_;
  bool idList_;
  CFieldGrid* grid_ = nullptr;
};

class CVantelixView : public CEditorView {
  Q_OBJECT
 public:
  CVantelixView(EditorContext& ctx, QWidget* parent = nullptr);
  ~CVantelixView() override;
  void Refresh() override;
  void InitialUpdate() override;
  bool CommitPendingEdit() override;
  CFormRenderer* Form() const { return form_; }
  CSignalListGrid* IdGrid() const { return idGrid_; }
  CSignalListGrid* StatusGrid() const { return statusGrid_; }

 private:
  void Changed();
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  CSignalListGrid* idGrid_ = nullptr;
  CSignalListGrid* statusGrid_ = nullptr;
};

class CEmerView : public CEditorView {
  Q_OBJECT
 public:
  CEmerView(EditorContext& ctx, QWidget* parent = nullptr);
  ~CEmerView() override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  CFormRenderer* Form() const { return form_; }

 private:
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
};

class CAlertToneView : public CEditorView {
  Q_OBJECT
 public:
  CAlertToneView(EditorContext& ctx, QWidget* parent = nullptr);
  ~CAlertToneView() override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  CFormRenderer* Form() const { return form_; }
  // Opens the test dialog (or brings it forward) on the current tone.
  CAlertTestDlg* OpenTest();
  CAlertTestDlg* TestDialog() const { return test_; }
  void SetCurrentTone(int tone);
  int CurrentTone() const;
  QTabBar* ToneTabs() const { return tabs_; }
  // Whether this computer can play a tone (the test button is shown then).
  static bool CanPlay();

 private:
  void Changed();
  std::unique_ptr<forms::RecordLocator> locator_;
  std::unique_ptr<forms::FormContext> fctx_;
  QTabBar* tabs_ = nullptr;
  CFormRenderer* form_ = nullptr;
  QPointer<CAlertTestDlg> test_;
};

}  // namespace vb420
