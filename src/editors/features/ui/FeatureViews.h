// SPDX-License-Identifier: GPL-3.0-or-later
// Optional Features, the option board (portables) and Extended Function
// (mobiles), and Technician Setting: form windows over the field tables of
// the radio-wide settings.
#pragma once

#include <QDialog>
#include <memory>

#include "editors/forms/FormEngine.h"
#include "frame/ui/EditorView.h"

class QCheckBox;
class QLineEdit;

namespace vb420 {

class CFormRenderer;

// A view whose whole content is one form renderer over page tables.
class CFormEditorView : public CEditorView {
  Q_OBJECT
 public:
  CFormEditorView(EditorContext& ctx, EditorKind kind, QWidget* parent);
  void Refresh() override;
  bool CommitPendingEdit() override;
  CFormRenderer* Form() const { return form_; }
  forms::FormContext& FormCtx() { return *fctx_; }

 protected:
  void Build(std::vector<forms::FormPage> pages, int rowsPerColumn);
  // After a control stored its value.
  virtual void AfterStore(int page, int index) {}

  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
};

// The two radio passwords (page 0's push button).
class CRadioPasswordDlg : public QDialog {
  Q_OBJECT
 public:
  CRadioPasswordDlg(EditorContext& ctx, QWidget* parent = nullptr);
  QLineEdit* ReadEdit() const { return read_; }
  QLineEdit* OverwriteEdit() const { return overwrite_; }

 private:
  QLineEdit* read_;
  QLineEdit* overwrite_;
};

class CFeatureView : public CFormEditorView {
  Q_OBJECT
 public:
  CFeatureView(EditorContext& ctx, QWidget* parent = nullptr);
  void EditPasswords();

 protected:
  void AfterStore(int page, int index) override;

 private:
  void TabChanged(int page);
};

class COptBoardView : public CFormEditorView {
  Q_OBJECT
 public:
  COptBoardView(EditorContext& ctx, QWidget* parent = nullptr);

 protected:
  void AfterStore(int page, int index) override;
};

class CExtFuncView : public CFormEditorView {
  Q_OBJECT
 public:
  CExtFuncView(EditorContext& ctx, QWidget* parent = nullptr);

 protected:
  void AfterStore(int page, int index) override;
};

// The radio-description bytes no other window owns. Editing stays off until
// the user ticks the box and confirms the warning.
class CSpecialView : public CFormEditorView {
  Q_OBJECT
 public:
  CSpecialView(EditorContext& ctx, QWidget* parent = nullptr);
  QCheckBox* EnableBox() const { return enable_; }

 protected:
  void AfterStore(int page, int index) override;

 private:
  QCheckBox* enable_ = nullptr;
};

}  // namespace vb420
