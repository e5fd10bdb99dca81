// SPDX-License-Identifier: GPL-3.0-or-later
// The alert-tone test: plays a chosen alert tone on the computer's audio
// output. The player runs on a worker thread (ToneTestThread) and copies the
// tone at every step from a record the window publishes whenever the tone
// changes, so the user may edit the tone while it plays; the worker reports
// back through queued calls only.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "editors/signalling/TonePlayer.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vb420 {

struct EditorContext;
class CAudioToneSink;

class CAlertTestDlg : public QDialog {
  Q_OBJECT
 public:
  CAlertTestDlg(EditorContext& ctx, int tone, QWidget* parent = nullptr);
  ~CAlertTestDlg() override;

  // Copies the chosen tone out of the image for the player (the editor calls
  // it after every change).
  void PublishTone();
  int Tone() const;
  void SetTone(int tone);
  bool Playing() const { return thread_.Running() || waitingForReport_; }

  QComboBox* ToneList() const { return list_; }
  QPushButton* PlayButton() const { return play_; }
  QPushButton* StopButton() const { return stop_; }
  QPushButton* CloseButton() const { return close_; }
  QLabel* Status() const { return status_; }

  // The choice kept for the next opening.
  static int& LastTone();
  // Tests replace the audio output with a sink of their own.
  using SinkFactory = std::function<std::unique_ptr<ToneSink>()>;
  static SinkFactory& TestSinkFactory();

 Q_SIGNALS:
  // The user chose another tone in the list.
  void ToneChosen(int tone);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Play();
  void StopPlaying();
  void CloseAsked();
  void Reported(int code);
  void ShowState();

  EditorContext& ctx_;
  SharedToneRecord shared_;
  std::unique_ptr<ToneSink> sink_;
  CAudioToneSink* audio_ = nullptr;  // sink_ when it is the audio output
  ToneTestThread thread_;
  bool waitingForReport_ = false;
  bool closing_ = false;
  bool closeNow_ = false;
  QComboBox* list_ = nullptr;
  QPushButton* play_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* help_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace vb420
