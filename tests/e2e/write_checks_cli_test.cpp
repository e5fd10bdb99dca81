// SPDX-License-Identifier: GPL-3.0-or-later
// The checks made before a write, through vb420cli against vb420sim: every
// entry point runs the same groups of checks, and a fleet write refuses
// exactly what a write to one radio refuses, on the same file.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/ImageLayout.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "data/SignallingLayout.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "link/WriteValidation.h"
#include "support/CheckGroups.h"
#include "support/Paths.h"
#include "support/Registered.h"

namespace vb420 {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::RunCli;
using testing::SimProcess;

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

class WriteChecksCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vb420-checks-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    ASSERT_EQ(text_.LoadFile(testsupport::ResourceDir() + "/vb420.lng", "English"), TextTable::LoadResult::Ok);
  }
  void TearDown() override {
    sims_.clear();
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // A new programming (a VT-1600 unless told), changed by `edit`, saved as
  // `name`.
  template <class Edit>
  std::string MakeFile(const std::string& name, Edit edit, const char* model = "VT-1600") {
    RadioData data;
    data.model.SetModel(ModelNumberOfName(model));
    data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText("136-174")));
    InitNewImage(data, false);
    edit(data);
    EXPECT_EQ(SaveDatFile(Path(name), data).result, kFileOk);
    return Path(name);
  }
  // " --port A --port B ..." for `count` new simulated radios; each saves its
  // memory to radioK.dat when it stops.
  std::string Radios(int count, const char* model = "VT-1600") {
    std::string ports;
    for (int k = 0; k < count; ++k) {
      const std::string n = std::to_string(sims_.size());
      const SimProcess& sim = *sims_.emplace_back(std::make_unique<SimProcess>(std::vector<std::string>{
          "--model", model, "--band", "136-174", "--serial", "00000000200" + n, "--save", Path("radio" + n + ".dat")}));
      EXPECT_TRUE(sim.Started());
      ports += " --port " + sim.Device();
    }
    return ports;
  }
  std::string Quoted(int entry) { return "\"" + text_.Text(entry) + "\""; }

  fs::path dir_;
  TextTable text_;
  std::vector<std::unique_ptr<SimProcess>> sims_;
};

// The program's one registration gives every group; vb420cli lists the same.
TEST_F(WriteChecksCli, EveryEntryPointRegistersTheSameCheckGroups) {
  EXPECT_EQ(RegisteredWriteCheckGroups(), testsupport::AllWriteCheckGroups());
  const CliRun r = RunCli("check --groups");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(LinesOf(r.out), testsupport::AllWriteCheckGroups());
}

// A user-selectable priority channel naming a channel that is not there is a
// scan check's refusal: one radio and a fleet of two refuse the same file
// with the same list, and neither writes a byte.
TEST_F(WriteChecksCli, FleetRefusesWhatOneRadioRefuses) {
  const std::string file = MakeFile("dangling.dat", [](RadioData& d) {
    d.Image().setU8(scanfld::kType1, '2');
    d.Ext().setU8(ext::kPriority1, 1);
    d.Ext().setU8(ext::kPriority1 + 1, 7);
  });
  const CliRun check = RunCli("check " + file);
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.err.find(Quoted(816)), std::string::npos) << check.err;

  const CliRun single = RunCli("write " + file + Radios(1));
  EXPECT_EQ(single.exitCode, 1);
  EXPECT_EQ(single.err, check.err);
  const CliRun fleet = RunCli("write " + file + Radios(2) + " --yes");
  EXPECT_EQ(fleet.exitCode, 1);
  EXPECT_EQ(fleet.err, check.err);
  EXPECT_FALSE(fs::exists(dir_ / "data" / "vb420" / "backups")) << "nothing may have been written";
}

// Settings the radio accepts but that do not do what they seem to (stun/kill
// decode without a code, an emergency target outside the ID list) are
// warnings: named, and written with --yes, by one radio and a fleet alike.
TEST_F(WriteChecksCli, DoubtfulSettingsAreWarningsWrittenWithYes) {
  const std::string file = MakeFile("doubtful.dat", [](RadioData& d) {
    ByteArea image = d.Image();
    image.setBit(dtmffld::kFlags, 3, false);  // stun/kill decode ticked
    image.setU8(dtmffld::kOwnCode, 0xFF);     // no code
    image.setU8(vxf::kOwnFleet, 1);
    image.setU16le(vxf::kOwnId, 1);
    image.setU8(emf::kSignalling, '2');  // Vantelix emergency call to 150/2000, not in the ID list
    image.setU8(emf::kFleet, 50);
    image.setU16le(emf::kId, 1000);
  });
  const std::string warned = "vb420cli: " + text_.Text(1269) + "\n" + Quoted(813) + "\n" + Quoted(1160) + "\n";
  // check: the write would only warn (exit 8); the write itself stops at
  // the same list for want of --yes.
  const CliRun check = RunCli("check " + file);
  EXPECT_EQ(check.exitCode, 8);
  EXPECT_EQ(check.err.rfind(warned, 0), 0u) << check.err;
  EXPECT_NE(check.err.find("vb420cli: " + Quoted(813) + ": emergency.fleet, emergency.id\n"), std::string::npos)
      << check.err;
  EXPECT_EQ(RunCli("check " + file + " --yes").exitCode, 0);
  const std::string stoppedErr = warned + "vb420cli: stopped (answer with --yes to go on)\n";

  const CliRun stopped = RunCli("write " + file + Radios(1));
  EXPECT_EQ(stopped.exitCode, 3);
  EXPECT_EQ(stopped.err, stoppedErr);
  EXPECT_FALSE(fs::exists(dir_ / "data" / "vb420" / "backups"));
  const CliRun fleetStopped = RunCli("write " + file + Radios(2));
  EXPECT_EQ(fleetStopped.exitCode, 3);
  EXPECT_EQ(fleetStopped.err, stoppedErr);

  const CliRun single = RunCli("write " + file + " --port " + sims_[0]->Device() + " --yes");
  EXPECT_EQ(single.exitCode, 0) << single.err;
  EXPECT_EQ(single.err.rfind(warned, 0), 0u) << single.err;
  const CliRun fleet = RunCli("write " + file + " --port " + sims_[1]->Device() + " --port " + sims_[2]->Device() +
                              " --yes");
  EXPECT_EQ(fleet.exitCode, 0) << fleet.err;
}

// check repeats a finding with the keys of the settings it is about, where
// the check knows them; the write says the same without them.
TEST_F(WriteChecksCli, CheckNamesTheKeysAFindingIsAbout) {
  const std::string file = MakeFile("own.dat", [](RadioData& d) {
    d.Image().setU8(emf::kSignalling, '2');  // a Vantelix emergency call, and no own fleet or ID
  });
  const CliRun check = RunCli("check " + file);
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.err.find("vb420cli: " + Quoted(999) + ": vantelix.ownfleet\n"), std::string::npos) << check.err;
  EXPECT_NE(check.err.find("vb420cli: " + Quoted(1000) + ": vantelix.ownid\n"), std::string::npos) << check.err;
  const CliRun write = RunCli("write " + file + Radios(1) + " --yes");
  EXPECT_EQ(write.exitCode, 1);
  EXPECT_EQ(check.err.rfind(write.err, 0), 0u) << write.err;
}

// A write refused for the zone data says which zone and why: a new LTR zone
// names repeater 1 as its home repeater before it has any repeater.
TEST_F(WriteChecksCli, ZoneDataRefusalNamesTheZoneAndTheReason) {
  const std::string file = MakeFile("ltr.dat", [](RadioData& d) {
    CZoneMemory zones(d);
    ASSERT_EQ(zones.CreateZone(2, '0'), 1);
  });
  const std::string expected = "vb420cli: " + text_.Text(222) + "\n" + Quoted(472) +
                               ": zone 3: the home repeater 1 has no repeater record\n";
  const CliRun check = RunCli("check " + file);
  EXPECT_EQ(check.exitCode, 1);
  // check then names the setting: the zone's home repeater.
  EXPECT_EQ(check.err, expected + "vb420cli: " + Quoted(472) +
                           ": zone 3: the home repeater 1 has no repeater record: zone.3.header.home\n");
  const CliRun write = RunCli("write " + file + Radios(1) + " --yes");
  EXPECT_EQ(write.exitCode, 1);
  EXPECT_EQ(write.err, expected);
  EXPECT_FALSE(fs::exists(dir_ / "data" / "vb420" / "backups"));
  // In Spanish the same, in its words.
  const CliRun spanish = RunCli("check " + file, "VB420_LANGUAGE=Spanish ");
  EXPECT_NE(spanish.err.find(": zona 3: el repetidor base 1 no tiene registro de repetidor"), std::string::npos)
      << spanish.err;
}

// Every verb that loads a file makes the adjustments the program's Open
// makes: a portable whose accessory connector holds the option-board function
// gets board '3', and the settings bytes that are fixed after a load are set.
// `settings` saves them, `dump` shows them and `write` sends them.
TEST_F(WriteChecksCli, EveryVerbLoadsAFileAsOpenDoes) {
  auto edit = [](RadioData& d) {
    ByteArea image = d.Image();
    image.setU8(0x15A, '1');  // the accessory connector: option board
    image.setU8(img::kOptionBoard, '2');
    image.setU8(fld::kExtendedFixed, '0');
    image.setU8(fld::kEmergencySwitch, '1');
  };
  auto adjusted = [](const std::string& path) {
    RadioData d;
    EXPECT_EQ(LoadDatFile(path, d).result, kFileOk);
    const ByteArea image = d.buffers.ScratchImage();
    return std::vector<uint8_t>{image.u8(img::kOptionBoard), image.u8(fld::kExtendedFixed),
                                image.u8(fld::kEmergencySwitch)};
  };
  const std::vector<uint8_t> open = {'3', '1', '0'};
  const std::string edited = MakeFile("edited.dat", edit, "VT-1400");
  ASSERT_EQ(adjusted(edited), (std::vector<uint8_t>{'2', '0', '1'}));
  const CliRun dump = RunCli("dump " + edited + " 0x81B 2");
  EXPECT_EQ(dump.out, "31 33\n") << dump.err;
  ASSERT_EQ(RunCli("settings " + edited + " message.1=HELLO").exitCode, 0);
  EXPECT_EQ(adjusted(edited), open);

  const std::string sent = MakeFile("sent.dat", edit, "VT-1400");
  const CliRun write = RunCli("write " + sent + Radios(1, "VT-1400") + " --yes");
  ASSERT_EQ(write.exitCode, 0) << write.err;
  sims_[0]->Stop();
  EXPECT_EQ(adjusted(Path("radio0.dat")), open);
}

}  // namespace
}  // namespace vb420
