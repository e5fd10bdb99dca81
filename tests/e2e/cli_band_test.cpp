// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli write with frequencies outside the model's band: listed, and the
// write stops unless --yes says to go on.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/SimProcess.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/zones/ConvFields.h"
#include "lang/TextTable.h"

namespace vb420 {
namespace {

using test::CliRun;
using test::RunCli;
using testing::ReadTrace;
using testing::SimProcess;
using Bytes = std::vector<uint8_t>;

using testsupport::FileBytes;

class CliBand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-band-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
  }
  void TearDown() override {
    sim_.reset();
    std::filesystem::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Start(const std::string& trace = "trace.txt") {
    sim_ = std::make_unique<SimProcess>(std::vector<std::string>{
        "--model", "VT-2600", "--band", "450-520", "--trace", Path(trace), "--save", Path("radio.dat")});
    ASSERT_TRUE(sim_->Started());
  }
  // A VT-2600 (450-520 MHz) programming: zone 2, channel 3 receives on 460
  // and transmits on `tx`.
  std::string MakeFile(const std::string& tx, size_t* record) {
    TextTable text;
    RadioData data(&text);
    data.model.SetModel(ModelNumberOfName("VT-2600"));
    data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText("450-520")));
    InitNewImage(data, false);
    data.SyncCodecs();
    CZoneMemory zones(data);
    CConvFields conv(zones, text);
    EXPECT_EQ(conv.SetFrequency(1, 2, 3, "460", false).result, kFieldStored);
    EXPECT_EQ(conv.SetFrequency(1, 2, 4, tx, false).result, kFieldStored);
    *record = static_cast<size_t>(zones.FindRecord(1, 2));
    const std::string path = Path("band.dat");
    EXPECT_EQ(SaveDatFile(path, data).result, kFileOk);
    return path;
  }

  std::filesystem::path dir_;
  std::unique_ptr<SimProcess> sim_;
};

TEST_F(CliBand, WriteStopsOnAFrequencyOutsideTheBandUnlessYes) {
  size_t rec = 0;
  const std::string file = MakeFile("400", &rec);
  Start();
  const CliRun stopped = RunCli("write " + file + " --port " + sim_->Device());
  EXPECT_EQ(stopped.exitCode, 3) << stopped.err;
  EXPECT_NE(stopped.err.find("These frequencies are outside the frequency range of this model:\n"
                             "Zone 2, Channel 3, TX Frequency: 400.00000\n"),
            std::string::npos)
      << stopped.err;
  EXPECT_NE(stopped.err.find("--yes"), std::string::npos);
  sim_->Stop();
  EXPECT_TRUE(ReadTrace(Path("trace.txt")).empty());  // the radio heard nothing

  Start("trace2.txt");
  const CliRun written = RunCli("write " + file + " --port " + sim_->Device() + " --yes");
  EXPECT_EQ(written.exitCode, 0) << written.err;
  EXPECT_NE(written.err.find("Zone 2, Channel 3, TX Frequency: 400.00000"), std::string::npos);
  sim_->Stop();
  const Bytes radio = FileBytes(Path("radio.dat"));
  ASSERT_EQ(radio.size(), kDatFileSize);
  const auto at = static_cast<long>(kHeaderSize + rec + 5);
  EXPECT_EQ(Bytes(radio.begin() + at, radio.begin() + at + 4), (Bytes{0x00, 0x00, 0x00, 0x40}));
}

TEST_F(CliBand, AFrequencyInsideTheBandIsWrittenWithoutAQuestion) {
  size_t rec = 0;
  const std::string file = MakeFile("465", &rec);
  Start();
  const CliRun r = RunCli("write " + file + " --port " + sim_->Device());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("frequency range"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace vb420
