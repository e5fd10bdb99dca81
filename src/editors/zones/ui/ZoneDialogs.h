// SPDX-License-Identifier: GPL-3.0-or-later
// The four small dialogs of the channel functions: Channel Copy (channels
// and LTR groups), CH/GID Jump, Frequency Copy and QT/DQT Copy.
#pragma once

#include "editors/zones/ui/ZoneServices.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vb420 {

class CFilterEdit;
class CToneCombo;
class CSpinButtons;

// Source record and a target number box (1 to 250 with a spin).
class CChannelCopyDlg : public QDialog {
  Q_OBJECT
 public:
  CChannelCopyDlg(EditorContext& ctx, int zone, int source, bool group, QWidget* parent = nullptr);
  CFilterEdit* TargetBox() const { return target_; }
  CSpinButtons* Spin() const { return spin_; }
  // The copy's outcome once the dialog was accepted (FieldResult of ChannelCopy).
  FieldResult Result() const { return result_; }
  void accept() override;

 private:
  EditorContext& ctx_;
  int zone_, source_;
  CFilterEdit* target_;
  CSpinButtons* spin_;
  FieldResult result_;
};

// One number box: the row to jump to.
class CJumpDlg : public QDialog {
  Q_OBJECT
 public:
  CJumpDlg(EditorContext& ctx, int current, bool group, QWidget* parent = nullptr);
  CFilterEdit* NumberBox() const { return number_; }
  // The 0-based row chosen, -1 when none.
  int Target() const { return target_; }
  void accept() override;

 private:
  CFilterEdit* number_;
  CSpinButtons* spin_;
  int target_ = -1;
};

// The channel's receive frequency and a box for the transmit frequency.
class CFreqCopyDlg : public QDialog {
  Q_OBJECT
 public:
  CFreqCopyDlg(EditorContext& ctx, int zone, int channel, QWidget* parent = nullptr);
  CFilterEdit* FreqBox() const { return freq_; }
  void accept() override;

 private:
  EditorContext& ctx_;
  int zone_, channel_;
  CFilterEdit* freq_;
};

// The channel's receive tone and a tone combo for the transmit tone.
class CToneCopyDlg : public QDialog {
  Q_OBJECT
 public:
  CToneCopyDlg(EditorContext& ctx, int zone, int channel, QWidget* parent = nullptr);
  CToneCombo* ToneBox() const { return tone_; }
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Normalise();
  EditorContext& ctx_;
  int zone_, channel_;
  CToneCombo* tone_;
  QPushButton* ok_;
};

}  // namespace vb420
