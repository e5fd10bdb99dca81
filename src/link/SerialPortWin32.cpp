// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line on Windows: a COM port opened with CreateFileW, set up with
// SetCommState and SetCommTimeouts, read and written synchronously.
#ifdef _WIN32
#include "link/SerialPort.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "lang/Platform.h"
#include "link/SerialDevices.h"

namespace vb420 {

namespace {

using Clock = std::chrono::steady_clock;

HANDLE H(void* h) { return static_cast<HANDLE>(h); }

// Reads run at raised priority so that the answer is collected without delay,
// as on the other systems; a thread may always raise its own.
class PriorityBoost {
 public:
  PriorityBoost() : old_(GetThreadPriority(GetCurrentThread())) {
    raised_ = SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST) != 0;
  }
  ~PriorityBoost() {
    if (raised_) SetThreadPriority(GetCurrentThread(), old_);
  }

 private:
  int old_;
  bool raised_ = false;
};

constexpr long kBauds[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

// Sets the port's time-outs for one transfer: a read returns when `count`
// bytes have come or the total time is up, whichever is first.
bool SetTotalTimeouts(HANDLE h, DWORD readTotalMs, DWORD writeTotalMs) {
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = 0;
  t.ReadTotalTimeoutMultiplier = 0;
  t.ReadTotalTimeoutConstant = std::max<DWORD>(readTotalMs, 1);
  t.WriteTotalTimeoutMultiplier = 0;
  t.WriteTotalTimeoutConstant = writeTotalMs;
  return SetCommTimeouts(h, &t) != 0;
}

}  // namespace

// On Windows the speed constants are the rates themselves (CBR_9600 == 9600).
unsigned BaudConstant(long baud) {
  for (long b : kBauds)
    if (b == baud) return static_cast<unsigned>(baud);
  return 0;
}

long BaudOfConstant(unsigned speed) { return BaudConstant(static_cast<long>(speed)) ? static_cast<long>(speed) : 0; }

bool SerialPort::Open() {
  openError_ = 0;
  const std::string name = DeviceName();
  if (name.empty()) {
    openError_ = ENOENT;
    return false;
  }
  // No sharing: the radio cannot talk to two programs at once, and another
  // program holding the port makes this opening fail.
  HANDLE h = CreateFileW(WideOfUtf8(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    openError_ = ErrnoOfPortOpenError(GetLastError());
    return false;
  }
  handle_ = h;
  open_ = true;
  if (!SetReceiveQueueSize(rxQueue_) || !SetTransmitQueueSize(txQueue_)) return false;
  if (!ApplyLineSettings()) return false;
  return true;
}

bool SerialPort::Close() {
  if (!open_) return true;
  const bool ok = CloseHandle(H(handle_)) != 0;
  handle_ = nullptr;
  open_ = false;
  return ok;
}

bool SerialPort::ApplyLineSettings() {
  if (!open_) return false;
  LineSettings ls;
  if (!ParseModeString(mode_, ls)) return false;
  // The driver sizes its queues from the caller's wish; a driver that cannot
  // (a virtual port) keeps its own, which does not stop the transfer.
  SetupComm(H(handle_), rxQueue_, txQueue_);
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(H(handle_), &dcb)) return false;
  dcb.BaudRate = static_cast<DWORD>(ls.baud);
  dcb.fBinary = TRUE;
  dcb.ByteSize = static_cast<BYTE>(ls.dataBits);
  switch (ls.parity) {
    case 'E': dcb.Parity = EVENPARITY; break;
    case 'O': dcb.Parity = ODDPARITY; break;
    case 'M': dcb.Parity = MARKPARITY; break;
    case 'S': dcb.Parity = SPACEPARITY; break;
    default: dcb.Parity = NOPARITY; break;
  }
  dcb.fParity = ls.parity != 'N';
  dcb.StopBits = ls.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
  // Every byte as it is: no flow control, no replaced or dropped characters.
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  // DTR on powers the programming cable; RTS stays off.
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  if (!SetCommState(H(handle_), &dcb)) return false;
  return true;
}

bool SerialPort::WriteBytes(const uint8_t* buffer, size_t count) {
  if (!open_) return false;
  PurgeComm(H(handle_), PURGE_RXCLEAR | PURGE_RXABORT);
  // Never block for good on a line whose peer has stopped reading.
  if (!SetTotalTimeouts(H(handle_), readTimeout_, static_cast<DWORD>(1000 + 2 * count))) return false;
  size_t done = 0;
  while (done < count) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 20));
    if (!WriteFile(H(handle_), buffer + done, chunk, &n, nullptr)) return false;
    if (n == 0) return false;  // the total time-out passed
    done += n;
  }
  return true;
}

bool SerialPort::Read(uint8_t* buffer, size_t count) {
  if (!open_) return false;
  PriorityBoost boost;
  const auto total = std::chrono::milliseconds(readTimeout_ + static_cast<uint64_t>(readMultiplier_) * count);
  const auto deadline = Clock::now() + total;
  size_t got = 0;
  while (got < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    if (!SetTotalTimeouts(H(handle_), static_cast<DWORD>(left), 1000)) return false;
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - got, 1u << 20));
    if (!ReadFile(H(handle_), buffer + got, chunk, &n, nullptr)) return false;
    // Nothing within the time left: the answer did not come.
    if (n == 0) return false;
    got += n;
  }
  return true;
}

int SerialPort::ProviderSubtype() {
  Wait(10);
  COMMPROP prop{};
  const bool ok = open_ && GetCommProperties(H(handle_), &prop) != 0;
  Wait(10);
  if (!ok) return -1;
  // PST_RS232; a driver that does not say (0, "unspecified") is taken for
  // one, as USB adapters often report nothing.
  return prop.dwProvSubType == PST_RS232 || prop.dwProvSubType == PST_UNSPECIFIED ? 1 : -1;
}

}  // namespace vb420

#endif  // _WIN32
