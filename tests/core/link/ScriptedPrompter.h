// SPDX-License-Identifier: GPL-3.0-or-later
// A Prompter that answers from a script and records every question, so tests
// can check which messages a conversation showed and in what order.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "link/Prompter.h"

namespace vb420::testing {

class ScriptedPrompter : public Prompter {
 public:
  // Answers for the questions in order: true = Retry / OK. When the script
  // runs out the answer is Cancel.
  std::deque<bool> answers;
  std::deque<std::string> passwords;  // typed digits for each password dialog
  std::vector<int> asked;             // text entries of every box shown, in order
  std::vector<int> passwordLabels;
  std::vector<std::string> busyDevices;  // the device named by each "port busy" box

  bool AskRetryCancel(int entry) override { return Next(entry); }
  bool AskOkCancel(int entry) override { return Next(entry); }
  void ShowError(int entry) override { asked.push_back(entry); }
  void ShowPortBusy(const std::string& device) override {
    asked.push_back(msg::kPortBusy);
    busyDevices.push_back(device);
  }
  void ShowInformation(int entry) override { asked.push_back(entry); }
  void ShowPartlyWritten() override { asked.push_back(msg::kPartlyWritten); }
  bool AskPassword(int label, const std::string&, const std::string&, std::string& digits) override {
    passwordLabels.push_back(label);
    if (passwords.empty()) return false;
    digits = passwords.front();
    passwords.pop_front();
    return true;
  }

 private:
  bool Next(int entry) {
    asked.push_back(entry);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace vb420::testing
