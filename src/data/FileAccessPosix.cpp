// SPDX-License-Identifier: GPL-3.0-or-later
// Files on POSIX systems: descriptors, fsync, rename.
#ifndef _WIN32
#include "data/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace vb420 {

namespace {

class OutFile {
 public:
  OutFile(const std::string& path, int flags, mode_t mode = 0644)
      : fd_(::open(path.c_str(), flags | O_CLOEXEC, mode)), openError_(fd_ < 0 ? errno : 0) {}
  ~OutFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  int openError() const { return openError_; }
  int fd() const { return fd_; }
  bool WriteAll(const void* src, size_t n) {
    const auto* p = static_cast<const uint8_t*>(src);
    while (n > 0) {
      const ssize_t w = ::write(fd_, p, n);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      p += w;
      n -= static_cast<size_t>(w);
    }
    return true;
  }
  int Close() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r;
  }

 private:
  int fd_;
  int openError_;
};


// The file a save really replaces: a symbolic link is followed to its final
// target so that the link itself survives the rename. A dangling link names the
// file to be created. Gives up (and keeps `path`) on a loop of links.
std::string ResolveLinks(const std::string& path) {
  std::string p = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
    if (ec) return p;
    p = target.is_absolute() ? target.string() : (std::filesystem::path(p).parent_path() / target).string();
  }
  return path;
}

// A file the user made read-only is not to be replaced. Root may write
// anything, so for root only a file with no write bit at all counts.
bool IsReadOnlyFile(const std::string& path, const struct stat& st, int& err) {
  if (::geteuid() == 0) {
    err = EACCES;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  }
  if (::access(path.c_str(), W_OK) == 0) return false;
  err = errno;
  return errno == EACCES || errno == EROFS || errno == EPERM;
}

// Symbolic links are written through: the link stays, its target is
// replaced. The new file keeps the mode and, where allowed, the owner of the
// file it replaces.
}  // namespace

FileStatus ReplaceFileAtomically(const std::string& path, const FilePieces& pieces) {
  const std::string target = ResolveLinks(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // Only a name that leads nowhere yet is a file to create. One that cannot
  // be followed (a loop of links, a folder on the way we may not search) is
  // refused: the rename would put a file in place of the link.
  if (!exists && errno != ENOENT) return FileFailure(kFileCannotOpen, errno, target);
  if (exists && S_ISDIR(old.st_mode)) return FileFailure(kFileIsFolder, EISDIR, target);
  // A device or a pipe is never replaced by a regular file (think of root
  // saving to /dev/null).
  if (exists && !S_ISREG(old.st_mode)) return FileFailure(kFileCannotOpen, ENOTSUP, target);
  if (exists) {
    int err = 0;
    if (IsReadOnlyFile(target, old, err)) return FileFailure(kFileCannotOpen, err, target);
  }
  const std::string tmp = target + ".tmp~";
  // A temporary file left by an earlier failed save is ours to remove; it is
  // never written into, since it may be a second name of another file. The
  // new one is created afresh, and a link planted under its name makes the
  // creation fail rather than redirect the write.
  struct stat stale {};
  if (::lstat(tmp.c_str(), &stale) == 0 && (S_ISREG(stale.st_mode) || S_ISLNK(stale.st_mode))) ::unlink(tmp.c_str());
  OutFile f(tmp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, exists ? (old.st_mode & 07777) | S_IWUSR : 0644);
  if (!f.ok()) {
    struct stat t {};
    if (::stat(tmp.c_str(), &t) == 0 && S_ISDIR(t.st_mode)) return FileFailure(kFileIsFolder, EISDIR, tmp);
    return FileFailure(kFileCannotOpen, f.openError(), tmp);
  }
  if (exists) {
    // The mode and owner of the file being replaced (a 0600 file can hold
    // radio passwords), whatever the umask made of the creation mode. The
    // owner can only be kept where the system allows it.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int kept = ::fchown(f.fd(), old.st_uid, old.st_gid);
    }
    if (::fchmod(f.fd(), old.st_mode & 07777) != 0) {
      const int err = errno;
      f.Close();
      ::unlink(tmp.c_str());
      return FileFailure(kFileWriteFailed, err, tmp);
    }
  }
  for (const auto& [p, n] : pieces) {
    errno = 0;
    if (!f.WriteAll(p, n)) {
      const int err = errno ? errno : EIO;
      f.Close();
      ::unlink(tmp.c_str());
      return FileFailure(kFileWriteFailed, err, tmp);
    }
  }
  if (::fsync(f.fd()) != 0 || f.Close() != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    return FileFailure(kFileWriteFailed, err, tmp);
  }
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    return FileFailure(kFileWriteFailed, err, target);
  }
  // The rename itself reaches the disk with the folder.
  const std::string folder = std::filesystem::path(target).parent_path().string();
  OutFile dir(folder.empty() ? std::string(".") : folder, O_RDONLY | O_DIRECTORY);
  if (dir.ok()) ::fsync(dir.fd());
  return FileStatus{};
}

InputFile::InputFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    openError_ = errno;
    return;
  }
  handle_ = fd;
  open_ = true;
  struct stat info {};
  folder_ = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
}

InputFile::~InputFile() {
  if (open_) ::close(static_cast<int>(handle_));
}

bool InputFile::ReadAll(void* dst, size_t n) {
  if (!open_) return false;
  auto* p = static_cast<uint8_t*>(dst);
  while (n > 0) {
    const ssize_t r = ::read(static_cast<int>(handle_), p, n);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

bool InputFile::ReadRest(std::string& out, int& sysError) {
  out.clear();
  sysError = 0;
  if (!open_) {
    sysError = openError_;
    return false;
  }
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      sysError = errno;
      return false;
    }
    if (n == 0) return true;
    out.append(buf, static_cast<size_t>(n));
  }
}

bool InputFile::Seek(uint64_t offset) {
  return open_ && ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool IsFolderPath(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace vb420

#endif  // !_WIN32
