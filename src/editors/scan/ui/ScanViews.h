// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Scan Information: the radio-wide scan settings (CScanView), and the
// per-zone scan list (CScanListView), opened from the scan window or by its
// command on the zone Zone Information shows.
#pragma once

#include <memory>

#include "editors/forms/FormEngine.h"
#include "frame/ui/EditorView.h"

class QListWidget;
class QPushButton;
class QSpinBox;
class QLabel;

namespace vb420 {

class CFormRenderer;

class CScanView : public CEditorView {
  Q_OBJECT
 public:
  CScanView(EditorContext& ctx, QWidget* parent = nullptr);
  ~CScanView() override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  QWidget* InitialFocus() const override;
  CFormRenderer* Form() const { return form_; }
  QPushButton* ListButton() const { return listButton_; }

 private:
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  QPushButton* listButton_ = nullptr;
};

class CScanListView : public CEditorView {
  Q_OBJECT
 public:
  CScanListView(EditorContext& ctx, QWidget* parent = nullptr);
  QString Title() const override;
  void Refresh() override;
  QWidget* InitialFocus() const override;
  int Zone() const { return zone_; }
  // Shows another zone's list (0-based; wraps round at the ends).
  void SetZone(int zone);
  QListWidget* List() const { return list_; }
  QSpinBox* ZoneBox() const { return zoneBox_; }

 private:
  int zone_ = 0;
  bool refreshing_ = false;
  QSpinBox* zoneBox_ = nullptr;
  QLabel* caption_ = nullptr;
  QListWidget* list_ = nullptr;
};

}  // namespace vb420
