// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's settings file of any content, as the program and the
// command-line tool take it apart: the port map of its "Ports" group (COMn to
// a device), and the stored values of its "Backup" group (the last model,
// the port number, the window placement) through the program's own rules.
//
// What must hold: every COM port 1..20 maps to a device; a stored model is
// taken only when it is eight hexadecimal bytes and goes back to the same
// text; a window placement is taken only when the program can make a window
// rectangle of it, and goes back to the same numbers.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "frame/ui/SettingsFormat.h"
#include "link/SerialPort.h"

using namespace vb420;

namespace {

// The value of `key` in group `group` of INI text, as stored ("" when absent).
std::string ValueOf(std::string_view text, std::string_view group, std::string_view key) {
  bool in = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      in = line.substr(1, line.size() - 1) == std::string(group) + "]";
      continue;
    }
    if (in && line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=')
      return std::string(line.substr(key.size() + 1));
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);

  const PortMap ports = PortMapOfSettingsText(text);
  for (const auto& [name, device] : ports) {
    VB420_FUZZ_CHECK(name.find('\n') == std::string::npos && device.find('\n') == std::string::npos);
    (void)PortNumberOfName(name);
  }
  for (int n = 1; n <= kMaxPortNumber; ++n) VB420_FUZZ_CHECK(!DevicePathOfPort(n, ports).empty());

  const std::string model = ValueOf(text, "Backup", "LastModel");
  if (const auto b = ParseLastModel(model)) {
    VB420_FUZZ_CHECK(ParseLastModel(FormatLastModel(*b)) == b);
    (void)ModelRecord::IsKnownModel(*b);
  }
  const int port = NormalizeComPort(std::strtol(ValueOf(text, "Backup", "ComPort").c_str(), nullptr, 10));
  VB420_FUZZ_CHECK(port >= 1 && port <= kMaxPortNumber);

  if (const auto p = ParseWindowPlacement(ValueOf(text, "Backup", "LastWinPos"))) {
    // The program makes its window of right - left by bottom - top.
    int w = 0, h = 0;
    VB420_FUZZ_CHECK(!__builtin_sub_overflow(p->right, p->left, &w) && !__builtin_sub_overflow(p->bottom, p->top, &h));
    const auto again = ParseWindowPlacement(FormatWindowPlacement(*p));
    VB420_FUZZ_CHECK(again && again->left == p->left && again->bottom == p->bottom && again->showCmd == p->showCmd);
  }
  return 0;
}
