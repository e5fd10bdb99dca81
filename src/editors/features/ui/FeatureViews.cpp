// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/features/ui/FeatureViews.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editors/features/FeatureFields.h"
#include "editors/features/OptBoardFields.h"
#include "editors/forms/ui/FormRenderer.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {
QString T(TextTable& text, int entry) { return QString::fromStdString(text.Text(entry)); }
}  // namespace

// ---------------------------------------------------------------------------

CFormEditorView::CFormEditorView(EditorContext& ctx, EditorKind kind, QWidget* parent) : CEditorView(ctx, kind, parent) {
  fctx_ = std::make_unique<forms::FormContext>(ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting);
  // A store that changes more than its own field asks first (OK or Cancel,
  // Cancel preselected).
  fctx_->confirm = [this](int entry) {
    return Context().msg.Warning(Context().msg.T(entry), kMsgOkCancel, MessageHelper::kWarningCaption, this, kIdCancel) ==
           kIdOk;
  };
}

void CFormEditorView::Build(std::vector<forms::FormPage> pages, int rowsPerColumn) {
  form_ = new CFormRenderer(*fctx_, std::move(pages), this, rowsPerColumn);
  auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
  if (!layout) layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int page, int index) { AfterStore(page, index); });
}

void CFormEditorView::Refresh() {
  if (form_) form_->Refresh();
}

bool CFormEditorView::CommitPendingEdit() {
  if (form_) form_->CommitPending();
  return true;
}

// ---------------------------------------------------------------------------

CRadioPasswordDlg::CRadioPasswordDlg(EditorContext& ctx, QWidget* parent) : QDialog(parent) {
  setObjectName("radioPasswordDlg");
  TextTable& text = ctx.ws.text;
  setWindowTitle(T(text, 585));
  auto* form = new QFormLayout;
  auto make = [&](bool overwrite) {
    auto* e = new QLineEdit(QString::fromStdString(RadioPassword(ctx.ws.data, overwrite)), this);
    e->setObjectName(overwrite ? "overwritePassword" : "readPassword");
    e->setMaxLength(6);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(kRadioPasswordPattern), e));
    return e;
  };
  read_ = make(false);
  overwrite_ = make(true);
  form->addRow(T(text, 695), read_);
  form->addRow(T(text, 696), overwrite_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(T(text, 13), QDialogButtonBox::AcceptRole)->setObjectName("ok");
  buttons->addButton(T(text, 14), QDialogButtonBox::RejectRole)->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

// ---------------------------------------------------------------------------

CFeatureView::CFeatureView(EditorContext& ctx, QWidget* parent) : CFormEditorView(ctx, EditorKind::Features, parent) {
  setObjectName("featureView");
  Build(FeaturePages(), 14);
  form_->SetCurrentPage(0);
  connect(form_, &CFormRenderer::ButtonClicked, this, [this](int page, int index) {
    if (page == 0 && index == 9 && form_->CurrentPage() == 0) EditPasswords();
  });
  if (form_->Tabs()) connect(form_->Tabs(), &QTabWidget::currentChanged, this, &CFeatureView::TabChanged);
}

void CFeatureView::TabChanged(int page) {
  if (page == kFeatureDataBoardPage && fctx_->SystemType() != 4)
    Context().msg.Notice(Context().msg.T(kNoticeDataBoardOnly), kMsgOk, MessageHelper::kNoticeCaption, this);
}

void CFeatureView::EditPasswords() {
  CRadioPasswordDlg dlg(Context(), this);
  if (Context().msg.Prompter().RunDialog(dlg) != QDialog::Accepted) return;
  RadioData& data = Context().ws.data;
  const std::string read = dlg.ReadEdit()->text().toStdString();
  const std::string overwrite = dlg.OverwriteEdit()->text().toStdString();
  if (!RadioPasswordTypable(read) || !RadioPasswordTypable(overwrite)) return;
  StoreRadioPassword(data, false, read);
  StoreRadioPassword(data, true, overwrite);
  Refresh();
}

void CFeatureView::AfterStore(int page, int index) {
  // The PTT ID type decides what the data-signalling window offers.
  if (page == 2 && index == 5) Context().frame.RefreshAllEditors(this);
}

// ---------------------------------------------------------------------------

COptBoardView::COptBoardView(EditorContext& ctx, QWidget* parent)
    : CFormEditorView(ctx, EditorKind::OptionBoard, parent) {
  setObjectName("optBoardView");
  Build({OptBoardPage()}, 7);
}

void COptBoardView::AfterStore(int, int index) {
  // The system type and the board reach into keys, zones, signalling and
  // the optional features; the extended-function window shows byte 0x855.
  if (index == 0 || index == 4) {
    Context().frame.RefreshAllEditors(this);
    Context().frame.UpdateCaption();
  }
}

// ---------------------------------------------------------------------------

CExtFuncView::CExtFuncView(EditorContext& ctx, QWidget* parent) : CFormEditorView(ctx, EditorKind::ExtFunction, parent) {
  setObjectName("extFuncView");
  Build({ExtFuncPage()}, optb::kExtFuncRows);
}

void CExtFuncView::AfterStore(int, int index) {
  // The pins decide the input alarm of Optional Features; the system type
  // reaches into keys, zones, signalling and the optional features.
  if (index >= optb::kExtFuncPin1 && index < optb::kExtFuncPin1 + 3) Context().frame.RefreshAllEditors(this);
  if (index == optb::kExtFuncSystem) {
    Context().frame.RefreshAllEditors(this);
    Context().frame.UpdateCaption();
  }
}

// ---------------------------------------------------------------------------

CSpecialView::CSpecialView(EditorContext& ctx, QWidget* parent) : CFormEditorView(ctx, EditorKind::TechSetting, parent) {
  setObjectName("specialView");
  auto* layout = new QVBoxLayout(this);
  auto* warning = new QLabel(T(ctx.ws.text, 582), this);
  warning->setWordWrap(true);
  warning->setObjectName("warning");
  QFont f = warning->font();
  f.setBold(true);
  warning->setFont(f);
  layout->addWidget(warning);
  enable_ = new QCheckBox(T(ctx.ws.text, 1107), this);
  enable_->setObjectName("enableEditing");
  layout->addWidget(enable_);
  Build({SpecialPage()}, 14);
  form_->setEnabled(false);
  connect(enable_, &QCheckBox::clicked, this, [this](bool on) {
    if (on && Context().msg.Warning(Context().msg.T(582), kMsgOkCancel, MessageHelper::kWarningCaption, this, kIdCancel) !=
                  kIdOk)
      on = false;
    enable_->setChecked(on);
    form_->setEnabled(on);
  });
}

void CSpecialView::AfterStore(int, int) { Context().frame.RefreshAllEditors(this); }

// ---------------------------------------------------------------------------

void RegisterFeatureWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::Features, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CFeatureView(c, p);
  });
  reg.RegisterEditor(EditorKind::OptionBoard, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new COptBoardView(c, p);
  });
  reg.RegisterEditor(EditorKind::ExtFunction, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CExtFuncView(c, p);
  });
  reg.RegisterEditor(EditorKind::TechSetting, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CSpecialView(c, p);
  });
}

}  // namespace vb420
