// The settings verb: every field of every table-driven editor, by its stable
// key, listed, read or set through the same field tables (and so the same
// rules) as the editor windows. New editors appear here by registering their
// field sets; nothing in this file names a field.
//
//   vb420cli settings FILE.dat [--editor NAME] [KEY[=TEXT] ...]
//
// Without a KEY every field is listed as KEY=TEXT, a field that cannot be
// changed now followed by a tab and "[disabled]". A KEY prints its line; a
// KEY=TEXT stores TEXT as typing it into the window would. The file is saved
// (atomically) only when there was an assignment and every one was accepted;
// the lines of a command with assignments are printed only once it is saved.
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {

// Exit codes of this verb beyond the shared ones.
constexpr int kExitUnknownKey = 10;  // no such editor, record or field
constexpr int kExitDisabled = 11;    // the field cannot be changed on this model / in this state
constexpr int kExitBadValue = 12;    // a list field given a text that is none of its rows
constexpr int kExitRefused = 13;     // the change was refused (no room, the channel limit)

std::string Line(const forms::SettingLine& l) { return l.key + "=" + l.text + (l.enabled ? "" : "\t[disabled]"); }

int CmdSettings(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string editor;
  const bool haveEditor = TakeOption(args, "--editor", editor);
  if (args.empty()) return Fail(kExitUsage, "settings: FILE.dat [--editor NAME] [KEY[=TEXT] ...]");
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = kExitOk;
  if (!LoadDatForCli(args[0], data, code)) return code;

  if (args.size() == 1) {
    std::vector<forms::SettingLine> lines;
    if (forms::ListSettings(data, text, haveEditor ? editor : std::string(), lines) != forms::SettingStatus::Ok) {
      std::string names;
      for (const forms::FieldSet& s : forms::FieldSets()) names += (names.empty() ? "" : ", ") + s.name;
      return Fail(kExitUnknownKey, "settings: no editor named \"" + editor + "\" (editors: " + names + ")");
    }
    for (const forms::SettingLine& l : lines) std::cout << Line(l) << "\n";
    return kExitOk;
  }

  // The lines wait for the save: a value is printed only once it is in the
  // file. Without an assignment nothing is saved and they stand as read.
  std::string printed;
  bool assigned = false;
  auto refuse = [&](int exitCode, const std::string& message) {
    if (!assigned) std::cout << printed;
    return Fail(exitCode, message);
  };
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const size_t eq = arg.find('=');
    const std::string key = arg.substr(0, eq);
    forms::SettingLine line;
    forms::SettingStatus st;
    int message = 0;
    if (eq == std::string::npos) {
      st = forms::GetSetting(data, text, key, line);
    } else {
      st = forms::SetSetting(data, text, key, arg.substr(eq + 1), line, message);
      assigned = true;
    }
    if (message) std::cerr << "vb420cli: " << key << ": " << text.Text(message) << "\n";
    switch (st) {
      case forms::SettingStatus::Ok: printed += Line(line) + "\n"; break;
      case forms::SettingStatus::UnknownKey:
      case forms::SettingStatus::UnknownEditor:
        return refuse(kExitUnknownKey, key + ": no such setting; nothing was saved");
      case forms::SettingStatus::Disabled:
        return refuse(kExitDisabled, key + ": cannot be changed on this model or in this state; nothing was saved");
      case forms::SettingStatus::BadValue:
        return refuse(kExitBadValue, key + ": \"" + arg.substr(eq + 1) + "\" is not one of its choices; nothing was saved");
      case forms::SettingStatus::Refused:
        return refuse(kExitRefused, key + ": the change was refused; nothing was saved");
    }
  }
  if (assigned && !SaveDatForCli(args[0], data)) return kExitFailure;
  std::cout << printed;
  return kExitOk;
}

}  // namespace

void RegisterSettingsVerbs() {
  RegisterVerb({"settings", "settings FILE.dat [--editor NAME] [KEY[=TEXT] ...]  list, show or set fields by key", CmdSettings,
                "List, show or set the fields of the editor windows by their stable keys, through\n"
                "the same rules as typing into the windows (for example zone.3.ch.17.rxf; every\n"
                "key is listed in docs/FIELDS.md).\n"
                "  (no KEY)        list every field as KEY=TEXT; a field that cannot be changed\n"
                "                  now is followed by a tab and [disabled]\n"
                "  --editor NAME   only the fields of one editor: conv-zone, channel, ltr-zone,\n"
                "                  ltr-group, repeater, passport-group, scan, scan-voting,\n"
                "                  scanlist, dtmf, dtmf-own, dtmf-stunkill, dtmf-memory,\n"
                "                  twotone, twotone-code, twotone-decode1..4, twotone-dgrid\n"
                "  KEY             print that field's line\n"
                "  KEY=TEXT        store TEXT; the file is saved (atomically) only when every\n"
                "                  assignment was accepted, and the lines are printed only\n"
                "                  once it is saved\n"
                "Exit codes beyond the shared ones: 10 no such key or editor, 11 the field cannot\n"
                "be changed on this model or now, 12 a list field given none of its rows, 13 the\n"
                "change was refused (no room, the limit of 512 channels)."});
}

}  // namespace vb420::cli
