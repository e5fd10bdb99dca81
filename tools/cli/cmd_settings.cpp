// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/plan/SettingsText.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {

std::string Line(const forms::SettingLine& l) { return l.key + "=" + l.text + (l.enabled ? "" : "\t[disabled]"); }

// settings FILE --all: the whole programming as a settings text.
int ListAll(const std::string& path) {
  TextTable english;
  if (!LoadCliTexts(english, "English")) return kExitFailure;
  RadioData data(&english);
  int code = kExitOk;
  if (!LoadDatForCli(path, data, code)) return code;
  std::cout << settingstext::BuildListing(data, english);
  return std::cout.flush() ? kExitOk : kExitFailure;
}

// settings FILE --from LIST: the lines applied, saved only when all were
// taken (or with --keep-going).
int ApplyFrom(const std::string& path, const std::string& from, const settingstext::ApplyOptions& options) {
  TextTable text, english;
  if (!LoadCliTexts(text) || !LoadCliTexts(english, "English")) return kExitFailure;
  std::string listing;
  if (!ReadInputText(from, listing)) return kExitFailure;
  RadioData data(&english);
  int code = kExitOk;
  if (!LoadDatForCli(path, data, code)) return code;
  const settingstext::ApplyReport r = settingstext::ApplyListing(listing, data, english, options);
  code = ReportListingApplied(r, text);
  if (r.Stored() && !SaveDatForCli(path, data)) return kExitFailure;
  return code;
}

int CmdSettings(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  settingstext::ApplyOptions options;
  options.keepGoing = TakeFlag(args, "--keep-going");
  options.modelChange = TakeFlag(args, "--model-change");
  const bool all = TakeFlag(args, "--all");
  std::string from;
  const bool haveFrom = TakeOption(args, "--from", from);
  if (all || haveFrom) {
    if (args.size() != 1 || (all && haveFrom))
      return Fail(kExitUsage, "settings: FILE.dat --all | FILE.dat --from LIST.txt [--keep-going] [--model-change]");
    return all ? ListAll(args[0]) : ApplyFrom(args[0], from, options);
  }
  if (options.keepGoing || options.modelChange)
    return Fail(kExitUsage, "settings: --keep-going and --model-change go with --from");
  std::string editor;
  const bool haveEditor = TakeOption(args, "--editor", editor);
  const bool clampWanted = TakeFlag(args, "--clamp");
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
  bool clamped = false;
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
      st = forms::SetSetting(data, text, key, arg.substr(eq + 1), line, message, /*exactTones=*/true);
      assigned = true;
    }
    if (message) std::cerr << "vb420cli: " << key << ": " << text.Text(message) << "\n";
    switch (st) {
      case forms::SettingStatus::Ok:
        printed += Line(line) + "\n";
        if (line.clamped && !clampWanted) {
          // Said even when the field's own warning was given: the exit code
          // tells a script, this line tells the reader.
          std::cerr << "vb420cli: " << key << ": \"" << arg.substr(eq + 1) << "\" is out of range; stored as "
                    << line.text << " (--clamp accepts that)\n";
          clamped = true;
        }
        break;
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
  return clamped ? kExitClamped : kExitOk;
}

}  // namespace

bool ReadInputText(const std::string& path, std::string& out) {
  if (path == "-") {
    out.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream in(path, std::ios::binary);
  if (in) out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.is_open() && !in.bad()) return true;
  Fail(kExitFailure, path + ": cannot be read");
  return false;
}

int ReportListingApplied(const settingstext::ApplyReport& r, TextTable& text) {
  if (r.result == settingstext::ApplyResult::OtherModel)
    return Fail(kExitRefusedModel, settingstext::OtherModelText(r, text) + " (--model-change converts it)");
  for (const settingstext::RefusedLine& line : r.refused)
    std::cerr << "vb420cli: " << settingstext::RefusedLineText(line, text) << "\n";
  if (r.refused.empty()) return kExitOk;
  return Fail(kExitRefused, std::to_string(r.refused.size()) + " line(s) refused; " +
                                (r.Stored() ? "the accepted lines were saved" : "nothing was saved"));
}

// The editors --editor takes, from the registered field sets.
std::string EditorsHelp() {
  std::string names;
  for (const forms::FieldSet& set : forms::FieldSets()) names += (names.empty() ? "" : ", ") + set.name;
  return "\n" + Wrap(names + ".", "Editors (" + std::to_string(forms::FieldSets().size()) + "): ", 2);
}

void RegisterSettingsVerbs() {
  RegisterVerb({"settings",
                "settings FILE.dat [--editor NAME] [--clamp] [KEY[=TEXT] ...] | FILE.dat --all | FILE.dat --from "
                "LIST.txt|- [--keep-going] [--model-change]",
                CmdSettings,
                "List, show or set the fields of the editor windows by their stable keys, through\n"
                "the same rules as typing into the windows (for example zone.3.ch.17.rxf; every\n"
                "key is listed in docs/FIELDS.md).\n"
                "  (no KEY)        list every field as KEY=TEXT; a field that cannot be changed\n"
                "                  now is followed by a tab and [disabled]\n"
                "  --editor NAME   only the fields of one editor (the editors are listed below)\n"
                "  KEY             print that field's line\n"
                "  KEY=TEXT        store TEXT and print the line as it reads afterwards; the\n"
                "                  file is saved (atomically) only when every assignment was\n"
                "                  accepted, and the first refused one leaves it as it was;\n"
                "                  the lines are printed only once the file is saved\n"
                "  --clamp         a number beyond its field's range is stored as the nearer\n"
                "                  limit without an error (exit 0 instead of 14)\n"
                "A list field or check box takes one of its row texts (Yes/No), in any case. A\n"
                "tone takes the off text (Off, Desactivado, in any case), a tone of the list\n"
                "(67.0 to 254.1) or a code (D023N, D023I; D023 is D023N); any other text is\n"
                "refused. A number is rounded down to its step without a word; one beyond its\n"
                "range is stored as the nearer limit with a warning and exit 14. An empty TEXT\n"
                "stores the field's empty value; names are cut to the model's width.\n"
                "Exit codes beyond the shared ones: 10 no such key or editor, 11 the field cannot\n"
                "be changed on this model or now, 12 a text that is none of the field's choices,\n"
                "13 the change was refused (no room, the limit of 512 channels), 14 stored, but a\n"
                "number was brought into its range.\n"
                "The whole programming as text (a settings text, kept in version control; see\n"
                "docs/SETTINGS-TEXT.md):\n"
                "  --all           list the header (# vb420 settings 1, model=, band=), every\n"
                "                  field of every editor, disabled ones marked, and then every\n"
                "                  byte the fields do not give back as raw.image.0xADDR=HEX or\n"
                "                  raw.ext.0xADDR=HEX (at most 16 bytes a line); always in\n"
                "                  English, in a fixed order, so that new --from makes the same\n"
                "                  file byte for byte\n"
                "  --from LIST     apply a settings text (- reads standard input): records\n"
                "                  before their fields, raw runs last, # and blank lines\n"
                "                  skipped; every refused line is reported with its number,\n"
                "                  key, text and reason and nothing is saved (exit 13)\n"
                "  --keep-going    with --from: save the accepted lines anyway (still exit 13)\n"
                "  --model-change  with --from: a text of another model or band converts the\n"
                "                  file through the model change rules (otherwise exit 6)",
                EditorsHelp});
}

}  // namespace vb420::cli
