// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Environment.h"

#include <cstdlib>

#ifdef _WIN32
#include "lang/Platform.h"
#endif

namespace vb420::testsupport {

void SetEnv(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes a variable on Windows, which is what unset means.
  _wputenv_s(WideOfUtf8(name).c_str(), value ? WideOfUtf8(*value).c_str() : L"");
#else
  if (value) ::setenv(name.c_str(), value->c_str(), 1);
  else ::unsetenv(name.c_str());
#endif
}

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) old_ = old;
  SetEnv(name_, value);
}

ScopedEnv::~ScopedEnv() { SetEnv(name_, old_); }

}  // namespace vb420::testsupport
