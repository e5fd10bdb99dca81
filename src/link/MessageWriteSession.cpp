// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/MessageWriteSession.h"

namespace vb420 {

using session::Pump;

MessageWriteResult MessageWriteSession::Run() {
  MessageWriteResult result = MessageWriteResult::kFailed;
  for (;;) {
    const Step s = Once(result);
    if (s != Step::kAgain) break;
  }
  if (result == MessageWriteResult::kWritten) prompter_.ShowNotice(msg::kMessageWritten, msg::kMessagePasswordCaption);
  if (result == MessageWriteResult::kEndFailed) prompter_.ShowError(msg::kMessageEndFailed);
  return result;
}

MessageWriteSession::Step MessageWriteSession::Once(MessageWriteResult& result) {
  constexpr LinkResult kOk = LinkResult::kOk;
  result = MessageWriteResult::kFailed;
  Pump(cb_);
  if (!session::ReopenPort(link_, prompter_)) return Step::kFailed;
  if (link_.EnterProgramModeWithRetry(prompter_, cb_.pump) != kOk) return Step::kFailed;
  ModelBytes model{};
  if (link_.IdentifyForRadioFunctions(prompter_, cb_.pump, model) != kOk) return Step::kFailed;

  // A radio without a technician password takes the empty one.
  Pump(cb_);
  const PasswordResult first = link_.SendTechnicianPassword(PasswordBytes(""));
  if (first == PasswordResult::kNoAnswer) {
    (void)link_.EndProgramMode();
    if (prompter_.AskRetryCancel(msg::kCommFailed)) return Step::kAgain;
    link_.SetOpenState(0);
    return Step::kFailed;
  }
  if (first == PasswordResult::kOk) {
    if (!prompter_.AskOkCancel(msg::kWriteMessageQuestion)) {
      (void)session::Finish(link_);
      return Step::kFailed;
    }
  } else {
    // The radio has a password: ask for it until it is taken, three wrong
    // tries at most.
    constexpr int kMaxWrong = 3;
    int wrong = 0;
    for (;;) {
      Pump(cb_);
      std::string digits;
      if (!prompter_.AskPassword(msg::kOverwritePasswordLabel, "", "", digits)) {
        (void)session::Finish(link_);
        return Step::kFailed;
      }
      const Password pw = PasswordBytes(digits);
      PasswordResult r;
      for (;;) {
        Pump(cb_);
        r = link_.SendTechnicianPassword(pw);
        if (r != PasswordResult::kNoAnswer) break;
        if (!prompter_.AskRetryCancel(msg::kCommFailed)) {
          link_.GiveUp();
          return Step::kFailed;
        }
      }
      if (r == PasswordResult::kOk) break;
      prompter_.ShowError(msg::kWrongPassword);
      if (++wrong >= kMaxWrong) {
        link_.GiveUp();
        return Step::kFailed;
      }
    }
  }

  const uint8_t* lines = ext_.ptr(kMessageAreaOffset, kMessageAreaLength);
  for (;;) {
    Pump(cb_);
    if (lines && link_.AreaWrite(lines, static_cast<int>(kMessageAreaOffset), kMessageAreaLength) == kOk) break;
    if (!lines || !prompter_.AskRetryCancel(msg::kCommFailed)) {
      link_.GiveUp();
      return Step::kFailed;
    }
  }
  result = session::Finish(link_) == TransferResult::kOk ? MessageWriteResult::kWritten : MessageWriteResult::kEndFailed;
  return Step::kDone;
}

}  // namespace vb420
