// SPDX-License-Identifier: GPL-3.0-or-later
// Model Information: chooses the radio model and frequency band of the
// programming, warning about what the change will clear or convert.
#pragma once

#include <QDialog>
#include <cstdint>

#include "data/ModelChange.h"

class QListWidget;

namespace vb420 {

class RadioData;
class TextTable;
class MessageHelper;
class HelpSystem;

class CModelInfoDlg : public QDialog {
  Q_OBJECT
 public:
  CModelInfoDlg(RadioData& data, MessageHelper& msg, HelpSystem* help, QWidget* parent = nullptr);

  int ChosenModel() const;
  uint8_t ChosenBand() const;
  // The changes the accepted choice makes (valid after Accepted).
  const ModelChangeFlags& Flags() const { return flags_; }

  void SelectModel(int model);
  void SelectBand(uint8_t bandCode);
  QListWidget* ModelList() const { return models_; }
  QListWidget* BandList() const { return bands_; }

  // OK: builds the warning; Cancel in it keeps the dialog open.
  void accept() override;

 private:
  void FillBands(int model, int selectCode);
  int HelpContext() const;

  RadioData& data_;
  MessageHelper& msg_;
  QListWidget* models_;
  QListWidget* bands_;
  ModelChangeFlags flags_;
};

// The Save As type chooser: 0 data file (".dat"), 1 zone-merge file (".sdt"),
// -1 when closed without a choice.
class CSaveTypeDlg : public QDialog {
  Q_OBJECT
 public:
  CSaveTypeDlg(TextTable& text, HelpSystem* help, QWidget* parent = nullptr);
  int Choice() const { return choice_; }
  void Choose(int type);

 private:
  int choice_ = -1;
};

}  // namespace vb420
