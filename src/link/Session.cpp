// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Session.h"

#include <cstring>

#include "lang/TextTable.h"
#include "link/SerialDevices.h"
#include "link/RadioInfoSession.h"

namespace vb420 {

int MessageAfter(TransferResult r) { return r == TransferResult::kEndFailed ? msg::kCommFailed : 0; }

namespace session {

bool ReopenPort(RadioLink& link, Prompter& prompter) {
  link.SetOpenState(0);
  if (link.SetOpenState(1)) return true;
  // A port that opens but cannot be set up is left half open; never keep it.
  const int error = link.OpenError();
  link.SetOpenState(0);
  prompter.ShowPortOpenFailure(link.DeviceName(), error);
  return false;
}

TransferResult Finish(RadioLink& link) {
  const LinkResult ended = link.EndProgramMode();
  const bool closed = link.SetOpenState(0);
  return ended == LinkResult::kOk && closed ? TransferResult::kOk : TransferResult::kEndFailed;
}

LinkResult PasswordRound(RadioLink& link, Prompter& prompter, const SessionCallbacks& cb, bool readPassword,
                         const std::string& line1, const std::string& line2) {
  constexpr int kMaxWrong = 3;
  const int label = readPassword ? msg::kReadPasswordLabel : msg::kOverwritePasswordLabel;
  int wrong = 0;
  for (;;) {
    Pump(cb);
    std::string digits;
    if (!prompter.AskPassword(label, line1, line2, digits)) {
      link.GiveUp();
      return LinkResult::kFailed;
    }
    const Password pw = PasswordBytes(digits);
    for (;;) {
      Pump(cb);
      const PasswordResult r = readPassword ? link.SendReadPassword(pw) : link.SendOverwritePassword(pw);
      if (r == PasswordResult::kOk) return LinkResult::kOk;
      if (r == PasswordResult::kWrong) break;
      if (!prompter.AskRetryCancel(msg::kCommFailed)) {
        link.GiveUp();
        return LinkResult::kFailed;
      }
    }
    prompter.ShowError(msg::kWrongPassword);
    if (++wrong >= kMaxWrong) {
      link.GiveUp();
      return LinkResult::kFailed;
    }
  }
}

LinkResult QuerySerial(RadioLink& link, Prompter& prompter, const SessionCallbacks& cb, std::string& serial) {
  std::array<uint8_t, 32> record{};
  for (;;) {
    Pump(cb);
    if (link.InformationQuery(record) == LinkResult::kOk) break;
    if (!prompter.AskRetryCancel(msg::kCommFailed)) {
      link.GiveUp();
      return LinkResult::kFailed;
    }
  }
  serial = FieldText(record.data() + 16, 12, true);
  while (!serial.empty() && serial.front() == ' ') serial.erase(0, 1);
  return LinkResult::kOk;
}

LinkResult ReadMemory(RadioLink& link, Prompter& prompter, const SessionCallbacks& cb, uint8_t* image, uint8_t* ext,
                      const std::function<void(int)>& step) {
  for (;;) {
    link.SetBlockSize(kBlockSize);
    if (step) step(0);
    bool failed = false;
    for (int n = 0; n < kBlockCount && !failed; ++n) {
      Pump(cb);
      if (step) step(n + 1);
      failed = link.BlockRead(image + static_cast<size_t>(n) * kBlockSize, n) != BlockReadResult::kOk;
    }
    for (int i = 0; i < kExtPieceCount && !failed; ++i) {
      Pump(cb);
      if (step) step(kBlockCount + 1 + i);
      const int offset = i * kExtPieceSize;
      failed = link.AreaRead(ext + offset, offset, kExtPieceSize) != LinkResult::kOk;
    }
    if (!failed) return LinkResult::kOk;
    if (!prompter.AskRetryCancel(msg::kCommFailed)) {
      link.GiveUp();
      return LinkResult::kFailed;
    }
  }
}

}  // namespace session

std::string PortOpenFailureText(TextTable& text, const std::string& device, int error, int absentEntry) {
  // A text without its "%s" still names the value, on a line of its own.
  const auto fill = [](std::string t, const std::string& value) {
    if (const size_t at = t.find("%s"); at != std::string::npos) t.replace(at, 2, value);
    else t += "\n" + value;
    return t;
  };
  std::string out;
  switch (ClassifyOpenError(error)) {
    case PortOpenProblem::kBusy:
      out = fill(text.Text(msg::kPortBusy), device) + "\n\n" + text.Text(msg::kPortBusyWhy);
      return out;
    case PortOpenProblem::kNoPermission: out = text.Text(msg::kPortNoPermission); break;
    case PortOpenProblem::kAbsent: out = text.Text(absentEntry); break;
    default: out = fill(text.Text(msg::kPortSystemSays), error ? std::strerror(error) : "?"); break;
  }
  return text.Text(msg::kPortNotOpened) + "\n\n" + fill(text.Text(msg::kPortDevice), device) + "\n" + out;
}

}  // namespace vb420
