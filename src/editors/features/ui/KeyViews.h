// SPDX-License-Identifier: GPL-3.0-or-later
// Key Assignment: the tab pages of the key window (accessory settings, the
// key grids of the model, the quick-call and direct-channel parameters) and
// the picture of the radio's front panel with the selected key lit.
#pragma once

#include <QRectF>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "editors/features/KeyFields.h"
#include "frame/ui/EditorView.h"

class QTabWidget;
class QPushButton;

namespace vb420 {

class CFormRenderer;

// The front panel drawn in code: a mobile's control head and microphone or
// a portable's front and sides, one rounded key per key index.
class CFrontPanel : public QWidget {
  Q_OBJECT
 public:
  CFrontPanel(RadioData& data, TextTable& text, QWidget* parent = nullptr);
  void SetSelectedKey(int key);
  int SelectedKey() const { return selected_; }
  // Where a key is drawn (in widget coordinates); empty when it has no place.
  QRectF KeyRect(int key) const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::map<int, QRectF> Layout() const;
  RadioData& data_;
  TextTable& text_;
  int selected_ = -1;
};

class CKeyView : public CEditorView {
  Q_OBJECT
 public:
  CKeyView(EditorContext& ctx, QWidget* parent = nullptr);
  ~CKeyView() override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  QString Title() const override;
  // Large enough for its largest page without scrolling.
  QSize sizeHint() const override;

  QTabWidget* Tabs() const { return tabs_; }
  // The renderer of a tab (one page each).
  CFormRenderer* PageForm(int tab) const;
  const std::vector<KeyPage>& Pages() const { return pages_; }
  // The first-column (column 0) or second-column (1) list of a key on its
  // page, or nullptr when the key has no row now.
  QWidget* KeyControl(int key, int column) const;
  int SelectedKey() const { return selected_; }
  void SelectKey(int key);
  QPushButton* PanelButton() const { return panel_; }

 private:
  void Rebuild();
  void AfterStore();
  bool UsesAlternateTable();
  std::vector<forms::FormPage> PageTable(const KeyPage& page) const;

  std::unique_ptr<forms::FormContext> fctx_;
  QTabWidget* tabs_ = nullptr;
  QPushButton* panel_ = nullptr;
  std::vector<KeyPage> pages_;
  std::vector<CFormRenderer*> forms_;
  int kind_ = 0;
  int selected_ = -1;
  bool had34_ = false;
  bool had51_ = false;
};

class CKeyImageView : public CEditorView {
  Q_OBJECT
 public:
  CKeyImageView(EditorContext& ctx, QWidget* parent = nullptr);
  void Refresh() override;
  QString Title() const override;
  CFrontPanel* Panel() const { return panel_; }

 private:
  CFrontPanel* panel_;
};

}  // namespace vb420
