// SPDX-License-Identifier: GPL-3.0-or-later
// Files on Windows: UTF-16 names, binary handles, FlushFileBuffers and
// ReplaceFileW / MoveFileExW.
#ifdef _WIN32
#include "data/FileAccess.h"

#include <windows.h>

#include <cerrno>

#include "lang/Platform.h"

namespace vb420 {

namespace {

// The system error number (errno) the messages are written for.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_DIRECTORY: return EISDIR;
    default: return EIO;
  }
}

HANDLE H(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

bool WriteAllTo(HANDLE h, const void* src, size_t n) {
  const auto* p = static_cast<const uint8_t*>(src);
  while (n > 0) {
    DWORD w = 0;
    const DWORD chunk = static_cast<DWORD>(n > (1u << 30) ? (1u << 30) : n);
    if (!WriteFile(h, p, chunk, &w, nullptr) || w == 0) return false;
    p += w;
    n -= w;
  }
  return true;
}

}  // namespace

InputFile::InputFile(const std::string& path) {
  const std::wstring name = WideOfUtf8(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    folder_ = true;
    open_ = true;
    return;
  }
  HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    openError_ = ErrnoOf(GetLastError());
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(h);
  open_ = true;
}

InputFile::~InputFile() {
  if (open_ && !folder_) CloseHandle(H(handle_));
}

bool InputFile::ReadAll(void* dst, size_t n) {
  if (!open_ || folder_) return false;
  auto* p = static_cast<uint8_t*>(dst);
  while (n > 0) {
    DWORD r = 0;
    const DWORD chunk = static_cast<DWORD>(n > (1u << 30) ? (1u << 30) : n);
    if (!ReadFile(H(handle_), p, chunk, &r, nullptr) || r == 0) return false;
    p += r;
    n -= r;
  }
  return true;
}

bool InputFile::ReadRest(std::string& out, int& sysError) {
  out.clear();
  sysError = 0;
  if (!open_ || folder_) {
    sysError = folder_ ? EISDIR : openError_;
    return false;
  }
  char buf[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(H(handle_), buf, sizeof buf, &n, nullptr)) {
      sysError = ErrnoOf(GetLastError());
      return false;
    }
    if (n == 0) return true;
    out.append(buf, n);
  }
}

bool InputFile::Seek(uint64_t offset) {
  if (!open_ || folder_) return false;
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(H(handle_), to, nullptr, FILE_BEGIN) != 0;
}

bool IsFolderPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideOfUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileStatus ReplaceFileAtomically(const std::string& path, const FilePieces& pieces) {
  const std::wstring target = WideOfUtf8(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists) {
    // Only a name that leads nowhere yet is a file to create; a folder on
    // the way that is missing, or a name we may not look at, is refused.
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return FileFailure(kFileCannotOpen, ErrnoOf(error), path);
  }
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return FileFailure(kFileIsFolder, EISDIR, path);
  // The user's read-only mark is respected, as on the other systems.
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return FileFailure(kFileCannotOpen, EACCES, path);
  if (exists && (attributes & FILE_ATTRIBUTE_DEVICE)) return FileFailure(kFileCannotOpen, ENOTSUP, path);

  const std::string tmpName = path + ".tmp~";
  const std::wstring tmp = WideOfUtf8(tmpName);
  // A temporary file left by an earlier failed save is ours to remove; the
  // new one is created afresh, never written into.
  const DWORD stale = GetFileAttributesW(tmp.c_str());
  if (stale != INVALID_FILE_ATTRIBUTES) {
    if (stale & FILE_ATTRIBUTE_DIRECTORY) return FileFailure(kFileIsFolder, EISDIR, tmpName);
    DeleteFileW(tmp.c_str());
  }
  HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileFailure(kFileCannotOpen, ErrnoOf(GetLastError()), tmpName);
  for (const auto& [p, n] : pieces) {
    if (!WriteAllTo(h, p, n)) {
      const int err = ErrnoOf(GetLastError());
      CloseHandle(h);
      DeleteFileW(tmp.c_str());
      return FileFailure(kFileWriteFailed, err, tmpName);
    }
  }
  // On the disk before it takes the old file's place.
  if (!FlushFileBuffers(h)) {
    const int err = ErrnoOf(GetLastError());
    CloseHandle(h);
    DeleteFileW(tmp.c_str());
    return FileFailure(kFileWriteFailed, err, tmpName);
  }
  CloseHandle(h);
  // ReplaceFileW keeps what belongs to the old file (its attributes and
  // permissions); MoveFileExW is the plain replacement for file systems
  // that cannot, and for a new file.
  bool placed = exists && ReplaceFileW(target.c_str(), tmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                       nullptr, nullptr) != 0;
  if (!placed)
    placed = MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!placed) {
    const int err = ErrnoOf(GetLastError());
    DeleteFileW(tmp.c_str());
    return FileFailure(kFileWriteFailed, err, path);
  }
  return FileStatus{};
}

}  // namespace vb420

#endif  // _WIN32
