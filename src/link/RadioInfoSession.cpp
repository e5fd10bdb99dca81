// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioInfoSession.h"

namespace vb420 {

using session::Pump;

std::string FieldText(const uint8_t* bytes, size_t n, bool trimRight) {
  std::string s;
  for (size_t i = 0; i < n && bytes[i] != 0; ++i) s.push_back(bytes[i] == 0xFF ? ' ' : static_cast<char>(bytes[i]));
  if (trimRight)
    while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

RadioInfoLines FormatRadioInfo(const RadioInfo& info) {
  RadioInfoLines l;
  const std::string name = FieldText(info.record.data(), 12, true);
  const std::string type = FieldText(info.record.data() + 12, 4, true);
  l.modelType = "  " + name + ":" + type;
  l.frequency = "  " + VariantBandText(name, type);
  l.serialNumber = "  " + FieldText(info.record.data() + 16, 12, false);
  l.version = "  " + FieldText(info.version.data(), 6, false);
  l.checksum = "  " + ChecksumText(info.checksum);
  l.passport = "  " + (info.hasPassport ? FieldText(info.passport.data(), info.passport.size(), false) : std::string());
  return l;
}

TransferResult RadioInfoSession::Run() {
  constexpr LinkResult kOk = LinkResult::kOk;
  Pump(cb_);
  if (!session::ReopenPort(link_, prompter_)) return TransferResult::kFailed;
  if (link_.EnterProgramModeWithRetry(prompter_, cb_.pump) != kOk) return TransferResult::kFailed;
  RadioInfo got;
  // Identification and information query: a failure of either asks Retry,
  // which starts again with the identification.
  for (;;) {
    Pump(cb_);
    int ask = 0;
    if (link_.Identify(got.model) != kOk) ask = msg::kCommFailed;
    else if (!ModelRecord::IsKnownModel(got.model)) ask = msg::kModelNotSupported;
    else if (link_.InformationQuery(got.record) != kOk) ask = msg::kCommFailed;
    if (ask == 0) break;
    if (!prompter_.AskRetryCancel(ask)) {
      link_.GiveUp();
      return TransferResult::kFailed;
    }
  }
  for (;;) {
    Pump(cb_);
    if (link_.FirmwareChecksum(got.checksum) == kOk) break;
    if (!prompter_.AskRetryCancel(msg::kCommFailed)) {
      link_.GiveUp();
      return TransferResult::kFailed;
    }
  }
  if (link_.VersionQueryWithRetry(prompter_, cb_.pump, got.version) != kOk) return TransferResult::kFailed;
  Pump(cb_);
  got.hasPassport = link_.PassPortVersion(got.passport) == kOk;
  if (!got.hasPassport) got.passport.fill(0);
  info_ = got;
  return session::Finish(link_);
}

}  // namespace vb420
