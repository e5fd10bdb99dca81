// SPDX-License-Identifier: GPL-3.0-or-later
// Turns page tables of field descriptors into widgets: one tab per shown
// page (or a single page without a tab strip), a label and a control per
// descriptor, every control wired to the form engine. After every store the
// values are shown again and the enable rules re-evaluated, so that a
// control whose rule now fails is greyed at once.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "editors/forms/FormEngine.h"

class QTabWidget;
class QLabel;
class QToolButton;

namespace vb420 {

class CFilterEdit;

// Two small arrow buttons beside an edit box.
class CSpinButtons : public QWidget {
  Q_OBJECT
 public:
  explicit CSpinButtons(QWidget* parent = nullptr);
  QToolButton* Up() const { return up_; }
  QToolButton* Down() const { return down_; }
 Q_SIGNALS:
  void Step(int direction);

 private:
  QToolButton* up_;
  QToolButton* down_;
};

class CFormRenderer : public QWidget {
  Q_OBJECT
 public:
  // `rowsPerColumn`: how many controls stack before a page starts another
  // column of labels and controls.
  CFormRenderer(forms::FormContext& ctx, std::vector<forms::FormPage> pages, QWidget* parent = nullptr,
                int rowsPerColumn = 14);

  // Shows every value again and re-evaluates enable rules and shown pages.
  void Refresh();
  // Stores a typed text still being edited in the focused box.
  void CommitPending();

  const std::vector<forms::FormPage>& Pages() const { return pages_; }
  forms::FormContext& Context() { return ctx_; }
  QWidget* Control(int page, int index) const;
  QLabel* Label(int page, int index) const;
  CSpinButtons* Spin(int page, int index) const;
  QTabWidget* Tabs() const { return tabs_; }
  void SetCurrentPage(int page);
  int CurrentPage() const;

 Q_SIGNALS:
  // After a control stored its value (the owner refreshes other windows).
  void Stored(int page, int index);
  void ButtonClicked(int page, int index);

 private:
  struct Slot {
    QLabel* label = nullptr;
    QWidget* control = nullptr;
    CFilterEdit* edit = nullptr;  // text boxes and the edit part of spins
    CSpinButtons* spin = nullptr;
  };
  QWidget* BuildPage(int page);
  void Wire(int page, int index);
  void WireSpin(int page, int index);
  void ShowField(int page, int index);
  void AfterStore(int page, int index);
  void StoreTyped(int page, int index);
  void KeepFocusSane();
  bool eventFilter(QObject* watched, QEvent* event) override;

  forms::FormContext& ctx_;
  std::vector<forms::FormPage> pages_;
  std::vector<std::vector<Slot>> slots_;
  std::vector<QWidget*> pageWidgets_;
  QTabWidget* tabs_ = nullptr;
  int rowsPerColumn_;
  bool refreshing_ = false;
};

}  // namespace vb420
