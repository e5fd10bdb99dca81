// SPDX-License-Identifier: GPL-3.0-or-later
// Every programming read from a radio is also kept as a dated ".dat" file in
// a backups folder, so that a technician who overwrote a radio can always get
// back what it held; so is every programming written into a radio (with the
// radio's serial number in the name), and, when asked, what the radio held
// just before it was overwritten. The newest files are kept, the oldest
// removed.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace vb420 {

class RadioData;

constexpr int kBackupsKept = 50;

// What a backup holds, and the first word of its name.
enum class BackupKind {
  kRead,     // "read-": a programming read from a radio
  kWritten,  // "written-": a programming as it was written into a radio
  kRadio,    // "radio-": what a radio held just before a write
};

// "backups" in the user's data folder (UserDataFolder: %LOCALAPPDATA%\vb420
// on Windows, $XDG_DATA_HOME/vb420 or ~/.local/share/vb420 elsewhere); ""
// when the environment names none.
std::string DefaultBackupFolder();

// "read-20261207-081502-VT-2600.dat" for the given local time and model name
// (anything but letters, digits and '-' becomes '_').
std::string BackupFileName(const std::tm& local, const std::string& modelName);
// "written-20261207-081502-VT-2600-000012345678.dat": the kind, the time, the
// model and, when known, the radio's serial number (the same characters
// allowed as in the model).
std::string BackupFileName(BackupKind kind, const std::tm& local, const std::string& modelName,
                           const std::string& serial);

// Saves the working image and extension block of `data` into `folder`
// (created when missing) under a dated name, then removes the oldest backups
// beyond `keep`. The file's full path, or "" when it could not be written
// (`error` says why).
std::string SaveBackup(RadioData& data, const std::string& folder, std::string& error, int keep = kBackupsKept);
// The same for any kind, with the radio's serial number ("" when unknown).
std::string SaveBackup(RadioData& data, const std::string& folder, BackupKind kind, const std::string& serial,
                       std::string& error, int keep = kBackupsKept);

// The backups of every kind in `folder`, oldest first.
std::vector<std::string> ListBackups(const std::string& folder);
// Whether a file name is one of ours ("read-", "written-" or "radio-" and
// ".dat"): only those are listed and pruned.
bool IsBackupName(const std::string& name);
// Puts backup names oldest first: by the time stamp in the name, then within
// one second the numbered names ("_2" ... "_10") by their number.
void SortBackupNames(std::vector<std::string>& names);

}  // namespace vb420
