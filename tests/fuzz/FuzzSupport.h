// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <vector>

#include "editors/registry/Registration.h"
#include "lang/TextTable.h"
#include "link/WriteValidation.h"
#include "support/CheckGroups.h"
#include "support/FieldSetNames.h"

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

// Stops the run before the first input when the registration left a field
// set or a group of pre-write checks out: a harness that walks "every field"
// would otherwise walk none and report nothing.
inline void CheckEverythingRegistered() {
  const std::vector<std::string> sets = RegisteredFieldSetNames();
  const std::vector<std::string> groups = RegisteredWriteCheckGroups();
  if (sets == testsupport::AllFieldSetNames() && groups == testsupport::AllWriteCheckGroups()) return;
  std::fprintf(stderr, "the registration is not complete:\n  field sets:");
  for (const std::string& s : sets) std::fprintf(stderr, " %s", s.c_str());
  std::fprintf(stderr, "\n  pre-write checks:");
  for (const std::string& g : groups) std::fprintf(stderr, " %s", g.c_str());
  std::fprintf(stderr, "\n");
  std::abort();
}

}  // namespace vb420::fuzz

// libFuzzer calls this once before the first input: every harness registers
// the field sets and pre-write checks as the programs do at start, and
// checks that they are all there.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::vb420::RegisterCore();
  ::vb420::fuzz::CheckEverythingRegistered();
  return 0;
}
