// SPDX-License-Identifier: GPL-3.0-or-later
// Several radios at once: "write FILE.dat --port P1 --port P2 ..." and "read
// --port P1 --port P2 ... -o FOLDER" run one conversation per port, each on
// its own thread with its own link, programming, text table and prompter.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "FleetCsv.h"
#include "RadioCli.h"

namespace vb420::cli {

struct FleetOptions {
  std::string identitiesPath;  // --identities RADIOS.csv
  std::string logPath;         // --log FLEET.csv
  bool adjustTime = true;
  bool verify = true;
  bool readFirst = false;
};

// One radio's line in the result and the log.
struct FleetResult {
  std::string time;     // when its conversation ended, "YYYY-MM-DD HH:MM:SS"
  std::string verb;     // "write" or "read"
  std::string port;
  std::string model;    // the model name the radio answered, "" when not identified
  std::string serial;
  std::string applied;  // "key=value;key=value" of its identity row
  std::string file;     // the file a read went to
  std::string result;   // "written", "read", or "failed: <why>"
  std::string verify;   // "verified", "differs at ...", "not finished", "off", "" for a read
  int exitCode = 0;
};
constexpr const char* kFleetLogHeader = "time,verb,port,model,serial,applied,file,result,verify";
std::string FleetLine(const FleetResult& r);
// Appends the lines to `path`, the header first when the file is new or empty.
bool AppendFleetLog(const std::string& path, const std::vector<FleetResult>& results, std::string& error);

int FleetWrite(const std::string& planPath, const RadioOptions& o, const FleetOptions& f);
int FleetRead(const std::string& folder, const RadioOptions& o, const FleetOptions& f);

}  // namespace vb420::cli
