// SPDX-License-Identifier: GPL-3.0-or-later
// What vb420cli writes is UTF-8 text: the full settings listing of a new
// programming of every model, in English and in Spanish, decodes as UTF-8
// (checked by Python's strict decoder, not by the program's own rules), and a
// name that was never written shows as empty.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/CliRun.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

const char* const kModels[] = {"VT-1600", "VT-1600H", "VT-1602", "VT-1602H", "VT-2600",
                               "VT-2600H", "VT-2602", "VT-2602H", "VT-1400", "VT-2400"};

TEST(CliText, EveryModelsListingIsUtf8InBothLanguages) {
  if (std::system("python3 -c 'pass' >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
  const auto dir = std::filesystem::temp_directory_path() / ("vb420-text-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "m.dat").string();
  const std::string listing = (dir / "out.txt").string();
  for (const char* model : kModels) {
    ASSERT_EQ(RunCli("new -o " + file + " --model " + model).exitCode, 0) << model;
    for (const char* language : {"English", "Spanish"}) {
      const CliRun r = RunCli("settings " + file, std::string("VB420_LANGUAGE=") + language + " ");
      ASSERT_EQ(r.exitCode, 0) << model << " " << language << "\n" << r.err;
      std::ofstream(listing, std::ios::binary) << r.out;
      const std::string decode = "python3 -c \"import sys; open(sys.argv[1], 'rb').read().decode('utf-8')\" " + listing;
      EXPECT_EQ(std::system(decode.c_str()), 0) << model << " " << language;
      // Unused PassPort list rows: their names were never written.
      EXPECT_NE(r.out.find("\nppmobile.1.name=\t[disabled]\n"), std::string::npos) << model << " " << language;
      EXPECT_NE(r.out.find("\nppsite.80.name=\t[disabled]\n"), std::string::npos) << model << " " << language;
      if (std::string(language) == "Spanish") {
        EXPECT_NE(r.out.find("\nscan.revertchannel=\xC3\x9Altima llamada\n"), std::string::npos) << model;  // "Última", in UTF-8
      }
    }
  }
  std::filesystem::remove_all(dir);
}

// A message line typed in UTF-8 is listed in UTF-8 and stores back unchanged.
TEST(CliText, AMessageLineComesBackAsItWasTyped) {
  const auto dir = std::filesystem::temp_directory_path() / ("vb420-text-m-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "m.dat").string();
  ASSERT_EQ(RunCli("new -o " + file).exitCode, 0);
  ASSERT_EQ(RunCli("settings " + file + " 'passmessage.1=Se\xC3\xB1or'").exitCode, 0);
  const CliRun r = RunCli("settings " + file + " passmessage.1");
  EXPECT_EQ(r.out, "passmessage.1=Se\xC3\xB1or\n");
  std::filesystem::remove_all(dir);
}

}  // namespace
