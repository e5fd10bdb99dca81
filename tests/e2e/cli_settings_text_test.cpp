// SPDX-License-Identifier: GPL-3.0-or-later
// The settings text end to end: vb420cli settings --all, new --from,
// settings --from and diff against files.
#include <gtest/gtest.h>

#include <string>

#include "data/DataFile.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneFixups.h"
#include "support/CliRun.h"
#include "support/Programmings.h"
#include "support/Registered.h"

namespace vb420 {
namespace {

using test::CliRun;
using test::RunCli;

class CliSettingsText : public test::NewFileTest {};

// A rich programming listed, made anew from the listing and compared: the
// same bytes, and diff finds nothing between the two files.
TEST_F(CliSettingsText, ListingMakesTheSameFileAndDiffSeesNothing) {
  RadioData rich(&testsupport::NumberedTexts());
  testsupport::FreshProgramming(rich, 7);
  testsupport::FillRichProgramming(rich);
  const std::string original = Path("rich.dat"), copy = Path("copy.dat"), list = Path("rich.txt");
  ASSERT_TRUE(SaveDatFile(original, rich).ok());
  const CliRun listed = RunCli("settings " + original + " --all");
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_EQ(listed.out.rfind("# vb420 settings 1\nmodel=VT-2602H\n", 0), 0u);
  testsupport::WriteText(list, listed.out);
#ifdef _WIN32
  // The Windows build runs the tool without a shell: the listing by name.
  const CliRun made = RunCli("new --from " + list + " -o " + copy);
#else
  // Standard input, as a pipe from git or a script gives it.
  const CliRun made = RunCli("new --from - -o " + copy + " < " + list);
#endif
  ASSERT_EQ(made.exitCode, 0) << made.err;
  // Both as every verb takes a file: loaded and adjusted as Open adjusts it.
  RadioData a, b;
  for (auto [path, data] : {std::pair{&original, &a}, std::pair{&copy, &b}}) {
    ASSERT_TRUE(LoadDatFile(*path, *data).ok());
    data->buffers.AcceptScratch();
    AdjustOpenedFile(*data);
  }
  EXPECT_TRUE(a.buffers.ImageBytes() == b.buffers.ImageBytes());
  EXPECT_TRUE(a.buffers.ExtBytes() == b.buffers.ExtBytes());
  const CliRun diff = RunCli("diff " + original + " " + copy);
  EXPECT_EQ(diff.exitCode, 0) << diff.err;
  EXPECT_EQ(diff.out, "");
  EXPECT_EQ(RunCli("settings " + copy + " --all").out, listed.out);
}

// A refused line is reported with its number, key, text and reason and
// saves nothing; --keep-going saves the accepted lines and still fails.
TEST_F(CliSettingsText, RefusedLinesAreReportedAndSaveNothing) {
  const std::string list = Path("change.txt");
  testsupport::WriteText(list, "zone.1.ch.1.rxf=150.00000\nzone.1.ch.1.nosuch=1\n");
  const std::string before = FileBytes();
  const CliRun refused = RunCli("settings " + file_ + " --from " + list);
  EXPECT_EQ(refused.exitCode, 13);
  EXPECT_NE(refused.err.find("vb420cli: line 2: zone.1.ch.1.nosuch=1: no such setting\n"), std::string::npos)
      << refused.err;
  EXPECT_EQ(FileBytes(), before);
  const CliRun kept = RunCli("settings " + file_ + " --from " + list + " --keep-going");
  EXPECT_EQ(kept.exitCode, 13);
  EXPECT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.rxf").out, "zone.1.ch.1.rxf=150.00000\n");
}

// A listing of another model names both and changes nothing, unless the
// model change is asked for.
TEST_F(CliSettingsText, AnotherModelIsRefusedUnlessConverted) {
  const std::string other = Path("other.dat"), list = Path("other.txt");
  ASSERT_EQ(RunCli("new --model VT-2400 -o " + other).exitCode, 0);
  testsupport::WriteText(list, RunCli("settings " + other + " --all").out);
  const std::string before = FileBytes();
  const CliRun refused = RunCli("settings " + file_ + " --from " + list);
  EXPECT_EQ(refused.exitCode, 6);
  EXPECT_NE(refused.err.find("VT-2400"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("VT-1600"), std::string::npos) << refused.err;
  EXPECT_EQ(FileBytes(), before);
  const CliRun converted = RunCli("settings " + file_ + " --from " + list + " --model-change");
  EXPECT_EQ(converted.exitCode, 0) << converted.err;
  EXPECT_EQ(RunCli("info " + file_).out.rfind("model: VT-2400\n", 0), 0u);
}

}  // namespace
}  // namespace vb420
