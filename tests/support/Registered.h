// SPDX-License-Identifier: GPL-3.0-or-later
// Every test program that reads field sets or runs the pre-write checks
// includes this: before the first test it registers everything once, the way
// the programs do at start (RegisterCore()), so each program sees the same
// sets and checks as vb420 and vb420cli.
#pragma once

#include <gtest/gtest.h>

#include "editors/registry/Registration.h"

namespace vb420::testsupport {

class RegisterCoreEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ::vb420::RegisterCore(); }
};

// One environment per program, however many files include this.
inline ::testing::Environment* const kRegisterCore =
    ::testing::AddGlobalTestEnvironment(new RegisterCoreEnvironment);

}  // namespace vb420::testsupport
