// SPDX-License-Identifier: GPL-3.0-or-later
// The channel editor and the conventional zone editor: one channel, or the
// header of one conventional zone, as a form of labelled controls built by
// the form renderer from descriptor tables over the conventional field
// operations.
#pragma once

#include "editors/zones/ui/ZoneServices.h"

#include <memory>

#include "editors/forms/FormEngine.h"
#include "editors/zones/ZoneFields.h"

class QMenu;

namespace vb420 {

class CFormRenderer;
class CChannelFunctionMenu;

class CChEditView : public CEditorView {
  Q_OBJECT
 public:
  // Indexes of the controls on the page.
  enum Control {
    kZoneBox = 0, kChannelBox, kTypeText, kRxFreq, kTxFreq, kRxTone, kTxTone, kName,
    kField8, kField9, kField10, kField11, kField12, kField13, kField14, kField15, kField16, kField18, kField19, kField20,
  };

  CChEditView(EditorContext& ctx, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  QString MenuTitle() const override;
  void FillMenu(QMenu* menu) override;

  int Zone() const { return zone_; }
  int Channel() const { return channel_; }
  CChannelFunctionMenu* FunctionMenu() const { return menu_; }
  void SetZone(int zone);
  void SetChannel(int channel);
  CFormRenderer* Form() const { return form_; }
  void RunCommand(int command);

 private:
  std::vector<forms::FormPage> Pages();
  void Changed();
  void Report(int messageEntry);

  ZoneServices& z_;
  std::unique_ptr<ZoneRecordLocator> locator_;
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  CChannelFunctionMenu* menu_ = nullptr;
  int zone_ = 0;
  int channel_ = 0;
};

class CConvEditView : public CEditorView {
  Q_OBJECT
 public:
  CConvEditView(EditorContext& ctx, QWidget* parent = nullptr);

  QString Title() const override;
  void Refresh() override;
  bool CommitPendingEdit() override;

  int Zone() const { return zone_; }
  void SetZone(int zone);
  CFormRenderer* Form() const { return form_; }

 private:
  std::vector<forms::FormPage> Pages();

  ZoneServices& z_;
  std::unique_ptr<ZoneRecordLocator> locator_;
  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  int zone_ = 0;
};

}  // namespace vb420
