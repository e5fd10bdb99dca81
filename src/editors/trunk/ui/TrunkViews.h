// SPDX-License-Identifier: GPL-3.0-or-later
// The LTR editors: the trunked zone editor (the 48-byte header of one LTR
// zone), the GID editor (one LTR group, or the pages of one PassPort group)
// and the repeater editor (the 20 repeaters of one LTR zone in a grid). Their
// controls come from the zone field tables; these classes only lay them out
// and move between zones, groups and rows.
#pragma once

#include "editors/grid/FieldGrid.h"
#include "editors/zones/ui/ZoneServices.h"

#include <memory>

#include "editors/forms/FormEngine.h"
#include "editors/zones/ZoneFields.h"

class QComboBox;
class QMenu;
class QVBoxLayout;

namespace vb420 {

class CFormRenderer;
class CChannelFunctionMenu;
class CEditGrid;
class CFilterEdit;

class CTrunkEditView : public CEditorView {
  Q_OBJECT
 public:
  CTrunkEditView(EditorContext& ctx, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  int HelpContext() const override;

  int Zone() const { return zone_; }
  void SetZone(int zone);
  CFormRenderer* Form() const { return form_; }
  // The index on the form of the field with this key of the LTR header table.
  int IndexOf(const std::string& key) const;

 private:
  std::vector<forms::FormPage> Pages();

  ZoneServices& z_;
  std::unique_ptr<ZoneRecordLocator> locator_;
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  int zone_ = 0;
  std::vector<std::string> keys_;  // the table key of each control ("" for others)
};

class CGidEditView : public CEditorView {
  Q_OBJECT
 public:
  CGidEditView(EditorContext& ctx, QWidget* parent = nullptr);
  // The label entry of an LTR group field the grid has no column for.
  static int GroupFieldLabel(int field);

  QString Title() const override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  int HelpContext() const override;
  QString MenuTitle() const override;
  void FillMenu(QMenu* menu) override;

  int Zone() const { return zone_; }
  int Group() const { return group_; }
  void SetZone(int zone);
  void SetGroup(int group);
  // The class whose form is shown (LTR or PassPort).
  int FormClass() const { return formClass_; }
  CFormRenderer* Form() const { return form_; }
  // The control of the field with this key, page and index; false if none.
  bool Find(const std::string& key, int& page, int& index) const;
  void RunCommand(int command);

 private:
  void Build();
  std::vector<forms::FormPage> Pages();

  ZoneServices& z_;
  std::unique_ptr<ZoneRecordLocator> locator_;
  std::unique_ptr<forms::FormContext> fctx_;
  std::vector<std::unique_ptr<ZoneRecordLocator>> retiredLocators_;
  std::vector<std::unique_ptr<forms::FormContext>> retiredContexts_;
  QVBoxLayout* layout_ = nullptr;
  CFormRenderer* form_ = nullptr;
  CChannelFunctionMenu* menu_ = nullptr;
  int zone_ = 0;
  int group_ = 0;
  int formClass_ = kClassLtr;
};

class CRepInfoView : public CEditorView {
  Q_OBJECT
 public:
  CRepInfoView(EditorContext& ctx, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;
  bool ShowsBytes(const ByteChanges& changes) const override;
  bool CommitPendingEdit() override;
  bool QueryClose() override;
  int HelpContext() const override;
  QSize sizeHint() const override;

  int Zone() const { return zone_; }
  void SetZone(int zone);
  CFieldGrid* Grid() const { return grid_; }
  CFormRenderer* Form() const { return form_; }
  CFilterEdit* CellEdit() const;
  QComboBox* ListEditor() const;
  void RunCommand(int command);

 private:
  void Changed();

  ZoneServices& z_;
  std::unique_ptr<ZoneRecordLocator> locator_;
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  CFieldGrid* grid_ = nullptr;
  int zone_ = 0;
};

}  // namespace vb420
