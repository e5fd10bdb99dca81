// Every programming read from a radio is also kept as a dated ".dat" file in
// a backups folder, so that a technician who overwrote a radio can always get
// back what it held. The newest files are kept, the oldest removed.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace vb420 {

class RadioData;

constexpr int kBackupsKept = 50;

// $XDG_DATA_HOME/vb420/backups, or ~/.local/share/vb420/backups; "" when
// neither variable is set.
std::string DefaultBackupFolder();

// "read-20261207-081502-VT-2600.dat" for the given local time and model name
// (anything but letters, digits and '-' becomes '_').
std::string BackupFileName(const std::tm& local, const std::string& modelName);

// Saves the working image and extension block of `data` into `folder`
// (created when missing) under a dated name, then removes the oldest backups
// beyond `keep`. The file's full path, or "" when it could not be written
// (`error` says why).
std::string SaveBackup(RadioData& data, const std::string& folder, std::string& error, int keep = kBackupsKept);

// The backups in `folder`, oldest first.
std::vector<std::string> ListBackups(const std::string& folder);

}  // namespace vb420
