// SPDX-License-Identifier: GPL-3.0-or-later
#include "Paths.h"

namespace vb420::testsupport {

const std::string& ResourceDir() {
  static const std::string dir = VB420_TEST_RESOURCE_DIR;
  return dir;
}

std::string LanguageFilePath() { return ResourceDir() + "/vb420.lng"; }

const std::string& BinaryDir() {
  static const std::string dir = VB420_TEST_BINARY_DIR;
  return dir;
}

const std::string& SourceDir() {
  static const std::string dir = VB420_TEST_SOURCE_DIR;
  return dir;
}

}  // namespace vb420::testsupport
