// SPDX-License-Identifier: GPL-3.0-or-later
// Fleet writes and reads: one conversation per port, all at the same time.
//
// Nothing mutable is shared between the conversations: each thread has its
// own RadioLink, its own copy of the programming (RadioData with its codecs),
// its own copy of the text table (looking a text up expands it in place) and
// its own prompter. What they do share is read-only once main() runs: the
// loaded plan (copied before the threads start), the field-set registry and
// the write-check slots (both filled before any thread starts), the constant
// codec and model tables. Messages go to stderr whole, under one lock; the
// backups folder is guarded inside SaveBackup. Results, the files of a read
// and the log are written by the main thread after every conversation ended.
#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "Fleet.h"
#include "data/DataFile.h"
#include "data/RadioData.h"
#include "lang/Platform.h"
#include "editors/forms/FieldSets.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"
#include "link/WriteValidation.h"

namespace vb420::cli {

namespace fs = std::filesystem;

namespace {

std::mutex g_outMutex;

std::string Now() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = LocalTime(now);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return buf;
}

// A programming of its own for one radio, equal to the plan.
std::unique_ptr<RadioData> CopyOf(RadioData& plan, TextTable* text) {
  auto data = std::make_unique<RadioData>(text);
  data->Image().write(0, plan.Image().ptr(0, kImageSize), kImageSize);
  data->Ext().write(0, plan.Ext().ptr(0, kExtSize), kExtSize);
  data->mergeSlots = plan.mergeSlots;
  data->votingSwitch = plan.votingSwitch;
  data->SyncCodecs();
  data->buffers.TakeSnapshot();
  return data;
}

std::string ModelNameOf(const ModelBytes& bytes) {
  const int n = ModelRecord::ModelNumberOf(bytes);
  return n >= 0 ? ModelTable(n).name : "";
}

CliPrompter::Sink PortSink(const std::string& port) {
  return [port](const std::string& text) {
    std::lock_guard<std::mutex> lock(g_outMutex);
    std::cerr << "vb420cli: [" << port << "] " << text << "\n";
  };
}

std::string StatusText(forms::SettingStatus st) {
  switch (st) {
    case forms::SettingStatus::Ok: return "ok";
    case forms::SettingStatus::UnknownKey: return "unknown key";
    case forms::SettingStatus::Disabled: return "cannot be changed in this programming";
    case forms::SettingStatus::BadValue: return "not one of the field's values";
    case forms::SettingStatus::UnknownEditor: return "unknown editor";
    case forms::SettingStatus::Refused: return "refused";
  }
  return "refused";
}

std::string OneLine(std::string s) {
  std::replace(s.begin(), s.end(), '\n', ' ');
  return s;
}

// The exit code of a fleet: 0 when every radio succeeded; when each radio
// that failed only read back other bytes, 7 as for a single write (the radios
// took the programming, and a script may tell that apart); otherwise 1.
int Finish(std::vector<FleetResult>& results, const FleetOptions& f) {
  int code = kExitOk;
  for (const FleetResult& r : results) {
    std::cout << FleetLine(r) << "\n";
    if (r.exitCode == kExitOk) continue;
    code = r.exitCode == kExitVerifyFailed && (code == kExitOk || code == kExitVerifyFailed) ? kExitVerifyFailed
                                                                                            : kExitFailure;
  }
  std::cout.flush();
  if (!f.logPath.empty()) {
    std::string error;
    if (!AppendFleetLog(f.logPath, results, error)) return Fail(kExitFailure, error);
  }
  return code;
}

}  // namespace

std::string FleetLine(const FleetResult& r) {
  return CsvField(r.time) + "," + CsvField(r.verb) + "," + CsvField(r.port) + "," + CsvField(r.model) + "," +
         CsvField(r.serial) + "," + CsvField(r.applied) + "," + CsvField(r.file) + "," + CsvField(r.result) + "," +
         CsvField(r.verify);
}

bool AppendFleetLog(const std::string& path, const std::vector<FleetResult>& results, std::string& error) {
  std::error_code ec;
  const bool fresh = !fs::exists(PathOfUtf8(path), ec) || fs::file_size(PathOfUtf8(path), ec) == 0;
  // Binary: the log's lines end the same on every system.
  std::ofstream out(PathOfUtf8(path), std::ios::binary | std::ios::app);
  if (!out) {
    error = path + ": cannot be written";
    return false;
  }
  if (fresh) out << kFleetLogHeader << "\n";
  for (const FleetResult& r : results) out << FleetLine(r) << "\n";
  out.flush();
  if (!out) {
    error = path + ": cannot be written";
    return false;
  }
  return true;
}

int FleetWrite(const std::string& planPath, const RadioOptions& o, const FleetOptions& f) {
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData plan(&text);
  int code = kExitOk;
  if (!LoadDatForCli(planPath, plan, code)) return code;

  Identities ids;
  if (!f.identitiesPath.empty()) {
    std::string error;
    if (!ReadIdentities(f.identitiesPath, ids, error)) return Fail(kExitUsage, "write: " + error);
    if (!ids.bySerial && ids.rows.size() < o.ports.size())
      return Fail(kExitUsage, "write: " + f.identitiesPath + " has " + std::to_string(ids.rows.size()) +
                                  " rows for " + std::to_string(o.ports.size()) + " radios");
  }

  // The same checks as a single write (registered once at start; the threads
  // only read them).
  if (const int refused = CheckBeforeWrite(plan, text, o.yes)) return refused;
  // Every text a conversation may show is looked up once here, so that each
  // thread's copy starts expanded, and the copies are made before any thread
  // runs.
  for (int i = 0; i < TextTable::kEntryCount; ++i) (void)text.Text(i);
  const size_t n = o.ports.size();
  std::vector<std::unique_ptr<TextTable>> texts;
  std::vector<std::unique_ptr<RadioData>> plans;
  for (size_t i = 0; i < n; ++i) {
    texts.push_back(std::make_unique<TextTable>(text));
    plans.push_back(CopyOf(plan, texts.back().get()));
  }
  const std::string backups = DefaultBackupFolder();

  std::vector<FleetResult> results(n);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < n; ++i) {
    threads.emplace_back([&, i] {
      FleetResult& r = results[i];
      r.verb = "write";
      r.port = o.ports[i];
      TextTable& t = *texts[i];
      RadioData& data = *plans[i];
      RadioLink link;
      PointLinkAt(link, r.port);
      CliPrompter prompter(t, o.retries, o.yes, o.havePassword, o.password, PortSink(r.port));
      WriteSession session(link, data, prompter);
      session.SetAdjustTime(f.adjustTime);
      session.SetVerify(f.verify);
      session.SetReadFirst(f.readFirst);
      session.SetBackupFolder(backups);
      std::string refused;
      session.SetPrepare([&](const std::string& serial) {
        if (ids.keys.empty() && ids.rows.empty()) return true;
        size_t row = i;
        if (ids.bySerial) {
          const auto it = std::find(ids.serials.begin(), ids.serials.end(), serial);
          if (it == ids.serials.end()) {
            refused = "no row of " + f.identitiesPath + " for serial number " + serial;
            return false;
          }
          row = static_cast<size_t>(it - ids.serials.begin());
        }
        for (size_t k = 0; k < ids.keys.size(); ++k) {
          const std::string& value = ids.rows[row][k];
          forms::SettingLine shown;
          int message = 0;
          const forms::SettingStatus st = forms::SetSetting(data, t, ids.keys[k], value, shown, message);
          if (st != forms::SettingStatus::Ok) {
            refused = ids.keys[k] + "=" + value + ": " + StatusText(st);
            return false;
          }
          if (!r.applied.empty()) r.applied += ";";
          r.applied += ids.keys[k] + "=" + shown.text;
        }
        // The radio's own settings must pass the same checks as the plan.
        const WriteValidationResult rv = ValidateForWrite(data, t);
        if (!rv.problems.empty() || !rv.mergeProblems.empty()) {
          refused = OneLine(ValidationMessage(t, rv.problems.empty() ? msg::kMergeValidationHeading
                                                                     : msg::kValidationHeading,
                                              rv.problems.empty() ? rv.mergeProblems : rv.problems));
          return false;
        }
        return true;
      });
      const TransferResult result = session.Run();
      if (const int entry = MessageAfter(result)) prompter.ShowError(entry);
      r.time = Now();
      r.model = ModelNameOf(session.RadioModel());
      r.serial = session.SerialNumber();
      switch (session.Verified()) {
        case VerifyOutcome::kNotRun: r.verify = f.verify ? "not run" : "off"; break;
        case VerifyOutcome::kVerified: r.verify = "verified"; break;
        case VerifyOutcome::kDiffers: r.verify = "differs at " + RangesText(session.Differences(), 4); break;
        case VerifyOutcome::kNotFinished: r.verify = "not finished"; break;
      }
      if (result == TransferResult::kOk) {
        r.result = "written";
        r.exitCode = kExitOk;
      } else if (!refused.empty()) {
        PortSink(r.port)(refused);
        r.result = "failed: " + refused;
        r.exitCode = kExitFailure;
      } else {
        r.result = "failed: " + OneLine(prompter.LastMessage());
        r.exitCode = prompter.ExitCodeOf(result);
        if (r.exitCode == kExitOk) r.exitCode = kExitFailure;
      }
    });
  }
  for (auto& th : threads) th.join();
  return Finish(results, f);
}

int FleetRead(const std::string& folder, const RadioOptions& o, const FleetOptions& f) {
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  std::error_code ec;
  fs::create_directories(PathOfUtf8(folder), ec);
  if (ec || !fs::is_directory(PathOfUtf8(folder), ec)) return Fail(kExitFailure, "read: " + folder + " is not a folder");
  for (int i = 0; i < TextTable::kEntryCount; ++i) (void)text.Text(i);
  const size_t n = o.ports.size();
  std::vector<std::unique_ptr<TextTable>> texts;
  std::vector<std::unique_ptr<RadioData>> got;
  for (size_t i = 0; i < n; ++i) {
    texts.push_back(std::make_unique<TextTable>(text));
    got.push_back(std::make_unique<RadioData>(texts.back().get()));
  }
  std::vector<FleetResult> results(n);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < n; ++i) {
    threads.emplace_back([&, i] {
      FleetResult& r = results[i];
      r.verb = "read";
      r.port = o.ports[i];
      RadioLink link;
      PointLinkAt(link, r.port);
      CliPrompter prompter(*texts[i], o.retries, o.yes, o.havePassword, o.password, PortSink(r.port));
      ReadSession session(link, got[i]->buffers, prompter);
      session.SetQuerySerial(true);
      const TransferResult result = session.Run();
      if (const int entry = MessageAfter(result)) prompter.ShowError(entry);
      r.time = Now();
      r.model = ModelNameOf(session.RadioModel());
      r.serial = session.SerialNumber();
      if (result == TransferResult::kOk) {
        r.result = "read";
      } else {
        r.result = "failed: " + OneLine(prompter.LastMessage());
        r.exitCode = prompter.ExitCodeOf(result);
        if (r.exitCode == kExitOk) r.exitCode = kExitFailure;
      }
    });
  }
  for (auto& th : threads) th.join();

  // The files, one per radio read, named by serial number (the port when the
  // radio gave none); two radios with one serial number get "_2", "_3"...
  const std::string backups = DefaultBackupFolder();
  std::vector<std::string> used;
  for (size_t i = 0; i < n; ++i) {
    FleetResult& r = results[i];
    if (r.exitCode != kExitOk) continue;
    RadioData& data = *got[i];
    data.buffers.AcceptScratch();
    data.SyncCodecs();
    std::string base = r.serial.empty() ? Utf8OfPath(PathOfUtf8(r.port).filename()) : r.serial;
    for (char& c : base)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') c = '_';
    std::string name = base + ".dat";
    for (int k = 2; std::find(used.begin(), used.end(), name) != used.end(); ++k)
      name = base + "_" + std::to_string(k) + ".dat";
    used.push_back(name);
    r.file = Utf8OfPath(PathOfUtf8(folder) / name);
    std::string error;
    if (SaveBackup(data, backups, BackupKind::kRead, r.serial, error).empty())
      PortSink(r.port)("no backup kept: " + error);
    const FileStatus st = SaveDatFile(r.file, data);
    if (!st.ok()) {
      r.result = "failed: " + OneLine(DataFileMessage(st, FileAction::Save, text));
      r.exitCode = kExitFailure;
    }
  }
  return Finish(results, f);
}

}  // namespace vb420::cli
