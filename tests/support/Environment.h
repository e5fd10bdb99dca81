// SPDX-License-Identifier: GPL-3.0-or-later
// An environment variable set (or removed) for the life of one object and
// put back as it was afterwards, on every system.
#pragma once

#include <optional>
#include <string>

namespace vb420::testsupport {

class ScopedEnv {
 public:
  // nullopt removes the variable for the object's life.
  ScopedEnv(std::string name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// Sets (nullopt: removes) a variable for good.
void SetEnv(const std::string& name, const std::optional<std::string>& value);

}  // namespace vb420::testsupport
