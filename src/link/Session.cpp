#include "link/Session.h"

namespace vb420::session {

bool ReopenPort(RadioLink& link, Prompter& prompter) {
  link.SetOpenState(0);
  if (link.SetOpenState(1)) return true;
  // A port that opens but cannot be set up is left half open; never keep it.
  link.SetOpenState(0);
  if (link.PortBusy()) prompter.ShowPortBusy(link.DeviceName());
  else prompter.ShowError(msg::kPortNotOpened);
  return false;
}

int Finish(RadioLink& link) {
  const int ended = link.EndProgramMode();
  const int closed = link.SetOpenState(0);
  return ended == 0 && closed ? kTransferOk : kTransferEndFailed;
}

int PasswordRound(RadioLink& link, Prompter& prompter, const SessionCallbacks& cb, bool readPassword,
                  const std::string& line1, const std::string& line2) {
  constexpr int kMaxWrong = 3;
  const int label = readPassword ? msg::kReadPasswordLabel : msg::kOverwritePasswordLabel;
  int wrong = 0;
  for (;;) {
    Pump(cb);
    std::string digits;
    if (!prompter.AskPassword(label, line1, line2, digits)) {
      link.GiveUp();
      return 1;
    }
    const Password pw = PasswordBytes(digits);
    for (;;) {
      Pump(cb);
      const int r = readPassword ? link.SendReadPassword(pw) : link.SendOverwritePassword(pw);
      if (r == kPasswordOk) return 0;
      if (r == kPasswordWrong) break;
      if (!prompter.AskRetryCancel(msg::kCommFailed)) {
        link.GiveUp();
        return 1;
      }
    }
    prompter.ShowError(msg::kWrongPassword);
    if (++wrong >= kMaxWrong) {
      link.GiveUp();
      return 1;
    }
  }
}

}  // namespace vb420::session
