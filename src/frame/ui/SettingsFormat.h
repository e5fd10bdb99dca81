// SPDX-License-Identifier: GPL-3.0-or-later
// The text forms of the stored settings and the rules that turn a damaged or
// missing value into its default. Qt-free.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/ModelRecord.h"

namespace vb420 {

// The four switches, compared without regard to case; every other argument
// (a file name among them) is ignored. `args` excludes the program name.
struct StartSwitches;
StartSwitches ParseSwitches(const std::vector<std::string>& args);

// "%02X:%02X:...": exactly eight hexadecimal fields, or nothing.
std::optional<ModelBytes> ParseLastModel(const std::string& text);
std::string FormatLastModel(const ModelBytes& bytes);

// Port numbers 1..20 are kept; anything else reads as 1.
int NormalizeComPort(long value);

// The stored window placement: flags, show command, minimised position,
// maximised position and the normal rectangle (left, top, right, bottom).
struct WindowPlacement {
  static constexpr int kRestoreToMaximized = 2;  // flag bit
  static constexpr int kShowNormal = 1;
  static constexpr int kShowMinimized = 2;
  static constexpr int kShowMaximized = 3;
  int flags = 0;
  int showCmd = kShowNormal;
  int minX = -1, minY = -1;
  int maxX = -1, maxY = -1;
  int left = 0, top = 0, right = 0, bottom = 0;
};
// Exactly ten integers separated by ':' whose rectangle has a size an int
// holds, or nothing.
std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text);
std::string FormatWindowPlacement(const WindowPlacement& p);

// Folder the file dialogs start in when none is stored: the program's own
// folder, or its "DATA" subfolder when that exists. Ends with a separator.
std::string DefaultDataFolder(const std::string& programPath);

// Device path of serial port COMn: the environment variable VB420_COM<n>,
// else the stored one (`stored`, may be empty), else the built-in default.
std::string PortDevicePath(int port, const std::string& stored);
std::string DefaultPortDevice(int port);

}  // namespace vb420
