// SPDX-License-Identifier: GPL-3.0-or-later
// The diff verb: what differs between two programmings, field by field.
//
//   vb420cli diff A.dat B.dat
//
// Prints one line per difference (see ProgramDiff.h) and exits 0 when the
// two are equal, 1 when they differ.
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/RadioData.h"
#include "editors/compare/ProgramDiff.h"
#include "editors/messages/MessageFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneFields.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {

int CmdDiff(const std::vector<std::string>& args) {
  if (args.size() != 2) return Fail(kExitUsage, "diff: A.dat B.dat");
  // Linking the tables in registers their field sets.
  (void)zonefields::Fields(ZoneTable::Channel);
  (void)TestFreqFieldTable();
  (void)MessageFieldTable();

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData a(&text);
  RadioData b(&text);
  int code = kExitOk;
  if (!LoadDatForCli(args[0], a, code)) return code == kExitFailure ? kExitUsage : code;
  if (!LoadDatForCli(args[1], b, code)) return code == kExitFailure ? kExitUsage : code;
  const auto lines = compare::DiffProgrammings(a, b, text);
  for (const auto& l : lines) std::cout << compare::FormatLine(l) << "\n";
  return lines.empty() ? kExitOk : kExitFailure;
}

}  // namespace

void RegisterDiffVerbs() {
  RegisterVerb({"diff", "diff A.dat B.dat", CmdDiff,
                "Lists every difference between two data files, one line each:\n"
                "  KEY: TEXT-IN-A -> TEXT-IN-B   a field that differs (keys as `settings` lists them)\n"
                "  zone.5: removed               a zone or record only in A\n"
                "  zone.2.ch.9: added            a zone or record only in B\n"
                "  image 0x1234-0x1235: 0A 0B -> FF FF\n"
                "                                bytes no field describes (image or ext offsets)\n"
                "Exit codes: 0 the files are equal, 1 they differ, 2 usage or a file that\n"
                "cannot be read, 6 a file of a refused model."});
}

}  // namespace vb420::cli
