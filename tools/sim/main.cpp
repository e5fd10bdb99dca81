// SPDX-License-Identifier: GPL-3.0-or-later
// vb420sim: a simulated radio. It opens a pseudo-terminal, prints the device
// to point the programming software at, and answers the programming protocol
// from the radio's side.
#include <signal.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "SimLine.h"
#include "SimModels.h"
#include "SimRadio.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "editors/registry/Registration.h"

namespace {

using namespace vb420;
using namespace vb420::sim;

const char kUsage[] =
    "usage: vb420sim [OPTIONS]\n"
    "\n"
    "A simulated VB-420 radio on a pseudo-terminal. The first line printed is the\n"
    "device to open as the serial port (for example VB420_COM1=<device>).\n"
    "\n"
    "The radio:\n"
    "  --image FILE.dat          memory image and extension block from a data file\n"
    "  --model NAME --band BAND  a new image, e.g. --model VT-2600 --band 450-520\n"
    "                            (default: VT-1600 on 136-174 MHz)\n"
    "  --baud RATE               the rate it listens at for the call (default 9600);\n"
    "                            programming then runs at 19200\n"
    "  --read-password DIGITS    read password (clears model byte 6 bit 0)\n"
    "  --overwrite-password DIGITS  overwrite password (clears model byte 6 bit 1)\n"
    "  --tech-password DIGITS    technician password (default: any is accepted)\n"
    "                            Without these, the passwords in the image count.\n"
    "  --identity CODE           answer identification with this 5-character code,\n"
    "                            e.g. M9300, P9302, S9300\n"
    "  --serial DIGITS           serial number in the information record\n"
    "                            (default 000012345678)\n"
    "  --firmware-version TEXT   version answer (default V3.05)\n"
    "  --firmware-checksum HEX   firmware checksum (default 3C5A)\n"
    "  --passport-version TEXT   PassPort version answer (default \"PP V2.01\")\n"
    "  --values-length N         bytes answered to test-mode 0x07 (default 2)\n"
    "  --no-fill                 answer every block read with the full block, never\n"
    "                            with the short form for a block of equal bytes\n"
    "\n"
    "The line:\n"
    "  --link PATH               also make PATH a symbolic link to the device\n"
    "  --line-rate               pace every byte at the line's real speed\n"
    "                            (11 bits a byte)\n"
    "  --latency MS              wait MS milliseconds before each answer\n"
    "  --realtime                answer like a radio on a busy computer: ask for\n"
    "                            real-time scheduling (else a higher priority),\n"
    "                            so that the program's 100 ms time-outs are met\n"
    "                            however loaded the machine is\n"
    "  --trace FILE              log every byte: seconds, in/out, hex, baud; test-mode\n"
    "                            commands are named on lines of their own (note =...)\n"
    "\n"
    "Faults (repeatable):\n"
    "  --fault silence@block=N   stop answering for good once block N is requested\n"
    "  --fault noanswer@block=N  leave the first request for block N unanswered\n"
    "  --fault badsum@block=N    a wrong checksum on block N, once\n"
    "  --fault badsum-always@block=N  a wrong checksum on block N every time\n"
    "  --fault nak@block=N       NAK to the first write of block N\n"
    "  --fault silence@ext=OFFSET  stop answering once that extension offset is asked\n"
    "  --fault exit@block=N      disappear (close the line and exit) when block N\n"
    "                            is requested\n"
    "  --fault nopassport        no answer to the PassPort version query\n"
    "  --fault noack@entry[=N]   answer the call with SYN but never ACK, N times\n"
    "  --fault early-ack@entry   confirm the first call at 19200 straight after SYN,\n"
    "                            before the program has switched: it arrives garbled\n"
    "  --fault garbled@end       answer the first 'E' with a garbled byte and fall\n"
    "                            back to the calling rate (the next 'E' must come there)\n"
    "  --fault corrupt@block=N   store block N with its byte 0x10 changed (XOR 0x5A)\n"
    "                            and acknowledge the write as good, every time\n"
    "  --fault corrupt@ext=OFFSET  the same for the extension byte at OFFSET\n"
    "  --fault stray@block=N     a stray byte on the line after the exchange of block N\n"
    "                            (read or write), once\n"
    "  --fault differ@testchannel=N  test channel N (1..16) answers another frequency\n"
    "                            than the memory holds\n"
    "  --fault differ@tuning     the tuning block differs from the memory\n"
    "  --fault noanswer@test=CODE  leave the first test-mode command that starts\n"
    "                            with byte CODE (for example 0x84) unanswered\n"
    "  --fault silence@test=CODE   never answer a test-mode command starting with CODE\n"
    "\n"
    "Ending:\n"
    "  --save FILE.dat           write the radio's memory on exit, on SIGTERM, and\n"
    "                            at once on SIGUSR1\n"
    "  --once                    exit after the first conversation ends\n"
    "  --help                    this text\n"
    "  --version                 the version of the program\n";

volatile sig_atomic_t g_saveNow = 0;

void OnStop(int) { SimLine::stop = 1; }
void OnSave(int) { g_saveNow = 1; }

int Usage(const std::string& why) {
  std::cerr << "vb420sim: " << why << "\n\n" << kUsage;
  return 2;
}

bool IsDigits(const std::string& s) {
  if (s.size() > 6) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  SimOptions opt;
  std::string imagePath, modelName, bandText, linkPath, tracePath;
  bool realtime = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::string value;
    bool hasValue = false;
    if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = a.substr(eq + 1);
      a = a.substr(0, eq);
      hasValue = true;
    }
    auto need = [&](std::string& out) {
      if (hasValue) {
        out = value;
        return true;
      }
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (a == "--version") {
      std::cout << "vb420sim " VB420_VERSION "\n";
      return 0;
    } else if (a == "--line-rate") {
      opt.lineRate = true;
    } else if (a == "--realtime") {
      realtime = true;
    } else if (a == "--once") {
      opt.once = true;
    } else if (a == "--no-fill") {
      opt.noFill = true;
    } else if (!need(v)) {
      return Usage("option " + a + " is unknown or needs a value");
    } else if (a == "--image") {
      imagePath = v;
    } else if (a == "--model") {
      modelName = v;
    } else if (a == "--band") {
      bandText = v;
    } else if (a == "--baud") {
      opt.baud = std::atol(v.c_str());
      if (!SimLine::KnownBaud(opt.baud)) return Usage("unknown baud rate " + v);
    } else if (a == "--read-password" || a == "--overwrite-password" || a == "--tech-password") {
      if (!IsDigits(v)) return Usage(a + " takes up to 6 digits");
      (a == "--read-password" ? opt.readPassword
       : a == "--overwrite-password" ? opt.overwritePassword
                                     : opt.technicianPassword) = v;
    } else if (a == "--identity") {
      if (v.size() != 5) return Usage("--identity takes a 5-character code");
      opt.identity = v;
    } else if (a == "--serial") {
      opt.serial = v;
    } else if (a == "--firmware-version") {
      opt.firmwareVersion = v;
    } else if (a == "--firmware-checksum") {
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 16);
      if (v.empty() || *end || n < 0 || n > 0xFFFF) return Usage("--firmware-checksum takes 4 hex digits");
      opt.firmwareChecksum = static_cast<uint16_t>(n);
    } else if (a == "--passport-version") {
      opt.passPortVersion = v;
    } else if (a == "--values-length") {
      opt.valuesLength = std::atoi(v.c_str());
      if (opt.valuesLength < 1 || opt.valuesLength > 255) return Usage("--values-length takes 1 to 255");
    } else if (a == "--latency") {
      opt.latencyMs = std::atoi(v.c_str());
      if (opt.latencyMs < 0) return Usage("--latency takes milliseconds");
    } else if (a == "--link") {
      linkPath = v;
    } else if (a == "--trace") {
      tracePath = v;
    } else if (a == "--save") {
      opt.savePath = v;
    } else if (a == "--fault") {
      Fault f{};
      if (!ParseFault(v, f)) return Usage("unknown fault " + v);
      opt.faults.push_back(f);
    } else {
      return Usage("unknown option " + a);
    }
  }

  RadioData data;
  // A new programming takes its fields' values from the field tables.
  RegisterCore();
  if (!imagePath.empty()) {
    const FileStatus st = LoadDatFile(imagePath, data);
    if (st.result != kFileOk) {
      std::cerr << "vb420sim: cannot load " << imagePath << " (result " << st.result << ")\n";
      return 1;
    }
    data.buffers.AcceptScratch();
    data.SyncCodecs();
  } else if (!modelName.empty() || !bandText.empty()) {
    const SimModel* model = SimModelNamed(modelName.empty() ? "VT-1600" : modelName);
    if (!model) return Usage("unknown model " + modelName);
    const uint8_t band = bandText.empty() ? (model->uhf ? kBandUhfHigh : kBandVhf) : SimBandOf(bandText);
    if (band == 0) return Usage("unknown band " + bandText);
    if (!SimModelHasBand(*model, band)) return Usage("the model " + modelName + " has no band " + bandText);
    // The radio's model bytes: code, band, no passwords, the power bit.
    const uint8_t bytes[8] = {static_cast<uint8_t>(model->code[0]), static_cast<uint8_t>(model->code[1]),
                              static_cast<uint8_t>(model->code[2]), static_cast<uint8_t>(model->code[3]),
                              static_cast<uint8_t>(model->code[4]), band,
                              static_cast<uint8_t>(model->standardPower ? 0xFF : 0xFB), 0xFF};
    data.Image().write(img::kModelBytes, bytes, sizeof bytes);
    InitNewImage(data, false);
  } else {
    InitNewImage(data, true);
  }

  SimLine line;
  std::string error;
  if (!line.Open(error)) {
    std::cerr << "vb420sim: " << error << "\n";
    return 1;
  }
  line.SetLineRate(opt.lineRate);
  // A real radio answers within its time whatever the computer is doing; a
  // simulated one shares the processor with whatever else runs. Without the
  // right to real-time scheduling a raised priority helps; without that
  // either, the radio runs as it is.
  if (realtime) {
    sched_param sp{};
    sp.sched_priority = 1;
    if (sched_setscheduler(0, SCHED_FIFO, &sp) != 0) (void)setpriority(PRIO_PROCESS, 0, -10);
  }
  // Paced bytes need wake-ups close to their time.
  if (opt.lineRate) prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  if (!tracePath.empty() && !line.SetTrace(tracePath)) {
    std::cerr << "vb420sim: cannot write " << tracePath << "\n";
    return 1;
  }
  if (!linkPath.empty()) {
    ::unlink(linkPath.c_str());
    if (::symlink(line.SlavePath().c_str(), linkPath.c_str()) != 0) {
      std::cerr << "vb420sim: cannot link " << linkPath << ": " << std::strerror(errno) << "\n";
      return 1;
    }
  }

  struct sigaction sa {};
  sa.sa_handler = OnStop;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  sa.sa_handler = OnSave;
  sigaction(SIGUSR1, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  SimRadio radio(data, line, opt);
  SimLine::idleHook = [&radio] {
    if (!g_saveNow) return;
    g_saveNow = 0;
    std::string err;
    if (!radio.Save(err)) std::cerr << "vb420sim: " << err << "\n";
  };

  std::printf("%s\n", line.SlavePath().c_str());
  std::fflush(stdout);

  const int rc = radio.Run();
  line.Close();  // the other side sees the line hang up at once
  if (!radio.Save(error)) {
    std::cerr << "vb420sim: " << error << "\n";
    return 1;
  }
  if (!linkPath.empty()) ::unlink(linkPath.c_str());
  return rc;
}
