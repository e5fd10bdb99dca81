// What the fuzz harnesses share: the input as a file (the loaders take a
// path; an in-memory file keeps each run off the disk), the program's own
// text table, and a check that stops the run loudly when an invariant breaks.
#pragma once

#include "support/Paths.h"
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editors/registry/Registration.h"
#include "lang/TextTable.h"

namespace vb420::fuzz {

// A path whose content is exactly `data`; valid until the next call.
inline std::string AsFile(const uint8_t* data, size_t size, const char* suffix) {
  static int fd = -1;
  if (fd < 0) fd = memfd_create("vb420-fuzz", 0);
  if (fd < 0) std::abort();
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
  // The loaders tell the file type by its extension: a symbolic link with
  // the right one points at the in-memory file.
  static std::string link;
  if (link.empty()) {
    link = "/tmp/vb420-fuzz-" + std::to_string(getpid());
    std::remove((link + suffix).c_str());
    if (symlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), (link + suffix).c_str()) != 0) std::abort();
  }
  return link + suffix;
}

// The shipped language file, loaded once.
inline TextTable& ProgramTexts() {
  static TextTable text;
  static const bool loaded = [] {
    return text.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English") == TextTable::LoadResult::Ok;
  }();
  if (!loaded) std::abort();
  return text;
}

#define VB420_FUZZ_CHECK(cond)                                                       \
  do {                                                                               \
    if (!(cond)) {                                                                   \
      std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

}  // namespace vb420::fuzz

// libFuzzer calls this once before the first input: every harness registers
// the field sets and pre-write checks as the programs do at start.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::vb420::RegisterCore();
  return 0;
}
