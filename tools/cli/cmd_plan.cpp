// SPDX-License-Identifier: GPL-3.0-or-later
// Channel plans and whole zones: export and import of the ".itm" text, and
// Zone Merge's Copy/Paste and Delete between data files. The same operations
// and messages as the desktop program; every change is saved atomically.
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/RadioData.h"
#include "editors/plan/ItmFile.h"
#include "editors/plan/ZoneMerge.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {

constexpr int kMsgNotOurs = 281;
constexpr int kMsgContinue = 295;

bool ParseZone(const std::string& s, int& out) {
  long v = 0;
  if (!ParseNumber(s, v) || v < 1 || v > zones::kZoneCount) return false;
  out = static_cast<int>(v) - 1;
  return true;
}

bool EndsWithItm(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".itm";
}

int CmdExport(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string out;
  if (!TakeOption(args, "-o", out) || args.size() != 1) return Fail(kExitUsage, "export: FILE.dat -o PLAN.itm");
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = 0;
  if (!LoadDatForCli(args[0], data, code)) return code;
  const ExportStatus st = ExportItmFile(out, data, text);
  if (!st.ok()) return Fail(kExitFailure, DataFileMessage(st.file, FileAction::Save, text));
  return kExitOk;
}

int CmdImport(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string out;
  const bool haveOut = TakeOption(args, "-o", out);
  const bool yes = TakeFlag(args, "--yes");
  if (args.size() != 2) return Fail(kExitUsage, "import: FILE.dat PLAN.itm [-o OUT.dat] [--yes]");
  if (!EndsWithItm(args[1])) return Fail(kExitUsage, "import: the plan must be a .itm file");
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = 0;
  if (!LoadDatForCli(args[0], data, code)) return code;
  std::string file;
  int err = 0;
  if (!ReadWholeFile(args[1], file, err)) {
    FileStatus st;
    st.result = kFileCannotOpen;
    st.sysError = err;
    st.path = args[1];
    return Fail(kExitFailure, DataFileMessage(st, FileAction::Load, text));
  }
  ItmImportSummary summary;
  bool declined = false;
  const ImportResult r = ImportItmText(file, data, text,
                                       [&](const std::string& warning) {
                                         std::cerr << warning << "\n";
                                         declined = !yes;
                                         return yes;
                                       },
                                       summary);
  if (r != ImportResult::Ok) {
    if (declined) return Fail(kExitCancelled, "import: not imported (--yes imports it anyway)");
    return Fail(kExitFailure, args[1] + ": " + text.Text(kMsgNotOurs));
  }
  // Nothing applied: the file is left as it was, and the exit says so.
  if (summary.NothingApplied()) {
    std::cerr << ItmSummaryText(summary, text) << "\n";
    return kExitFailure;
  }
  // The summary says the import is finished: only true once the file is saved.
  if (!SaveDatForCli(haveOut ? out : args[0], data, &code)) return code;
  std::cerr << ItmSummaryText(summary, text) << "\n";
  return summary.SomeSkipped() ? kExitSkipped : kExitOk;
}

int CmdZonesCopy(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  const bool yes = TakeFlag(args, "--yes");
  int first = 0, last = 0, at = 0;
  if (args.size() != 5 || !ParseZone(args[1], first) || !ParseZone(args[2], last) || first > last ||
      !ParseZone(args[4], at))
    return Fail(kExitUsage, "zones-copy: SRC.dat FIRST LAST DEST.dat AT (zones 1..128, FIRST <= LAST) [--yes]");
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData src(&text), dest(&text);
  int code = 0;
  if (!LoadDatForCli(args[0], src, code)) return code;
  if (!LoadDatForCli(args[3], dest, code)) return code;
  CZoneMemory srcZones(src), destZones(dest);
  CZoneCopyBuffer buffer;
  buffer.CopyZones(srcZones, first, last);
  // Paste asks before it overwrites zones; here --yes is the answer.
  if (!yes) return Fail(kExitCancelled, text.Text(kMsgContinue) + " (--yes pastes)");
  int written = 0;
  const MergeResult r = buffer.PasteZones(destZones, at, &written);
  // Zones written before a stop stay, as in the window.
  if (written > 0 && !SaveDatForCli(args[3], dest, &code)) return code;
  std::cerr << "zones written: " << written << "\n";
  if (r != MergeResult::Done) return Fail(kExitFailure, text.Text(MergeMessage(r)));
  return kExitOk;
}

int CmdZonesDelete(const std::vector<std::string>& args) {
  int first = 0, last = 0;
  if (args.size() != 3 || !ParseZone(args[1], first) || !ParseZone(args[2], last) || first > last)
    return Fail(kExitUsage, "zones-delete: FILE.dat FIRST LAST (zones 1..128, FIRST <= LAST)");
  RadioData data;
  int code = 0;
  if (!LoadDatForCli(args[0], data, code)) return code;
  CZoneMemory zones(data);
  const int n = DeleteZones(zones, first, last);
  if (n > 0 && !SaveDatForCli(args[0], data, &code)) return code;
  std::cerr << "zones deleted: " << n << "\n";
  return kExitOk;
}

}  // namespace

void RegisterPlanVerbs() {
  RegisterVerb({"export", "export FILE.dat -o PLAN.itm", CmdExport,
                "Writes the channel plan of FILE.dat as comma-separated text: conventional channels,\n"
                "LTR groups and repeaters, the Vantelix ID and status lists, as the editor windows show\n"
                "them. The file is written beside PLAN.itm and renamed over it: a failed export leaves\n"
                "no partial file and an existing one untouched."});
  RegisterVerb({"import", "import FILE.dat PLAN.itm [-o OUT.dat] [--yes]", CmdImport,
                "Reads a channel plan into FILE.dat through the same cell operations as the editor\n"
                "windows (a value is checked as if it were typed; a record that fails is skipped).\n"
                "Without -o FILE.dat is changed in place, atomically. The records applied and skipped\n"
                "per section are printed on stderr. A plan for the other band or in another language\n"
                "is only imported with --yes (exit code 3 otherwise). A plan none of whose records\n"
                "could be applied changes nothing: FILE.dat is not written and the exit code is 1.\n"
                "A plan of which some records were skipped is saved with the others, and the exit code\n"
                "is 8."});
  RegisterVerb({"zones-copy", "zones-copy SRC.dat FIRST LAST DEST.dat AT [--yes]", CmdZonesCopy,
                "Copies zones FIRST..LAST of SRC.dat over the zones of DEST.dat from AT on, as Zone Merge's\n"
                "Copy and Paste do: blocks, per-zone and per-channel values, then the fix-ups for DEST's\n"
                "model. Stops at zone 128, when a zone does not fit (275) and at the 512-channel limit\n"
                "(299); zones written before a stop are saved. --yes answers the paste's question."});
  RegisterVerb({"zones-delete", "zones-delete FILE.dat FIRST LAST", CmdZonesDelete,
                "Deletes zones FIRST..LAST of FILE.dat (with their per-channel values and references)\n"
                "and packs the zones after them; the file is saved in place, atomically."});
}

}  // namespace vb420::cli
