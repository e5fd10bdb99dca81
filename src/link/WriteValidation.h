// SPDX-License-Identifier: GPL-3.0-or-later
// The checks a programming must pass before it is written into a radio, and
// the warnings shown for mobiles before a write.
//
// The checks run in a fixed order of slots. This file holds the checks whose
// data it can judge on its own (the Vantelix identities, the emergency
// targets); the editors that own other data (the zone code: priority
// channels and the zone checks) add theirs to the matching slot with
// RegisterWriteCheck when the program starts (the one registration of every
// part, RegisterCore()), so that the radio link does not depend on them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/RadioData.h"

namespace vb420 {

class TextTable;

namespace msg {
constexpr int kValidationHeading = 222;
constexpr int kMergeValidationHeading = 328;
constexpr int kWriteWarningCaption = 267;
constexpr int kWriteWarning1 = 325;
constexpr int kWriteWarning2 = 335;
constexpr int kWarningDontShow = 326;
// Warnings that do not refuse a write (frequencies outside the band): their
// heading, and the question after the list.
constexpr int kWarningsHeading = 304;
constexpr int kWarningsQuestion = 225;
// Settings the radio accepts but that may not do what the user expects
// (an emergency target outside the ID list, stun/kill decode without a
// code): their heading.
constexpr int kSettingWarningsHeading = 1269;
}  // namespace msg

// One problem: a text entry shown in double quotes, or (entry 0) a line
// already composed by its check.
struct WriteProblem {
  int entry = 0;
  std::string line;
  // The image offsets of the values the finding is about (where its check
  // knows them): `vb420cli check` names the settings keys stored there.
  std::vector<uint32_t> at;
  // The same finding is the same text, wherever its check looked.
  bool operator==(const WriteProblem& o) const { return entry == o.entry && line == o.line; }
};

// The slots, in the order the problems are listed.
enum WriteCheckSlot : int {
  kSlotPriority1 = 0,     // 816
  kSlotPriority2,         // 817
  kSlotKeys,              // 888
  kSlotOwnIdentity,       // 999, 1000
  kSlotPage5Identity,     // 1056, 1057
  kSlotPage6Identity,     // 1081, 1082
  kSlotEmergency,         // 779
  kSlotEmergencyTargets,  // 810, 811, 812
  kSlotOptionalFeatures,  // 1098, 1093 (mobiles)
  kSlotZoneChannels,      // 472
  kSlotZones944,          // 944
  kSlotZones431,          // 431-995
  kSlotZoneFlags,         // 575, 576
  kSlotZones400,          // 400/401/402 (309)
  kSlotZoneMerge,         // the second list, heading 328
  kSlotSettingWarnings,   // not a refusal: listed under 1269, and the user is asked
  kSlotBandRange,         // not a refusal: listed, and the user is asked
  kSlotCount
};

using WriteCheckFn = std::function<void(RadioData& data, TextTable& text, std::vector<WriteProblem>& out)>;

// Adds an editor's check to a slot (after the checks already there).
// `group` names the part that owns it ("zones", "scan", ...): the write
// paths and the tests compare the groups they see.
void RegisterWriteCheck(const std::string& group, WriteCheckSlot slot, WriteCheckFn fn);
// The groups of checks registered so far, sorted, with "link" (the checks of
// this file) first.
std::vector<std::string> RegisteredWriteCheckGroups();

struct WriteValidationResult {
  std::vector<WriteProblem> problems;       // heading 222
  std::vector<WriteProblem> mergeProblems;  // heading 328
  // Doubtful settings the user may still write (each line names its setting).
  std::vector<WriteProblem> settingWarnings;
  // Doubtful data the user may still write (frequencies outside the band).
  std::vector<WriteProblem> warnings;
  bool Passed() const { return problems.empty() && mergeProblems.empty(); }
  bool HasWarnings() const { return !settingWarnings.empty() || !warnings.empty(); }
};

// Runs every check in slot order.
WriteValidationResult ValidateForWrite(RadioData& data, TextTable& text);

// The message of a list: the heading, then each problem on a line of its own.
std::string ValidationMessage(TextTable& text, int headingEntry, const std::vector<WriteProblem>& problems);
// The warnings of a result: the doubtful settings under their heading, then
// the frequencies outside the band under theirs, at most `maxLines` lines of
// each list (then how many more). The command line prints it as it is.
std::string WarningsMessage(TextTable& text, const WriteValidationResult& r, size_t maxLines = 25);
// The question before writing despite the warnings: the message above, then
// "Do you want to continue writing?".
std::string WarningsQuestion(TextTable& text, const WriteValidationResult& r, size_t maxLines = 25);

// The built-in checks, each on its own (for the tests and for the list).
void CheckOwnIdentity(RadioData& data, std::vector<WriteProblem>& out);
void CheckPage5Identity(RadioData& data, std::vector<WriteProblem>& out);
void CheckPage6Identity(RadioData& data, std::vector<WriteProblem>& out);
void CheckEmergencyTargets(RadioData& data, std::vector<WriteProblem>& out);

// Which of the two warnings before a write are due (mobiles only; a warning
// whose "do not show again" box was ticked before stays away).
struct WriteWarnings {
  bool first = false;   // 325: the power-on mode is '1' (ignition + power key) while ignition sense is ticked
  bool second = false;  // 335: any of bits 0, 1, 6, 8 of the option settings word is set
  bool Any() const { return first || second; }
};
WriteWarnings DueWriteWarnings(RadioData& data, bool firstTicked, bool secondTicked);

}  // namespace vb420
