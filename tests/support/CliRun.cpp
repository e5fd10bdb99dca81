// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CliRun.h"

#ifdef _WIN32
#include <windows.h>

#include "lang/Platform.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <array>
#include <chrono>
#include <thread>
#include <atomic>
#include <cstdio>
#include <filesystem>

#include "support/Paths.h"
#ifndef _WIN32
#include "support/ChildProcess.h"
#endif

namespace vb420::test {

CliRun RunCli(const std::string& args, const std::string& env) { return RunProgram("tools/vb420cli", args, env); }

#ifdef _WIN32

namespace {

// The words of `text` as a POSIX shell splits them: blanks separate, single
// and double quotes group. A backslash is a path's separator here, not an
// escape.
std::vector<std::string> ShellWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (char c : text) {
    if (quote) {
      if (c == quote) quote = 0;
      else word += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// One argument as the C run-time's command-line parser reads it back.
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') out.append(backslashes * 2 + 1, L'\\');
    else out.append(backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

HANDLE InheritableFile(const std::wstring& name, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

}  // namespace

// No shell between the test and the program: the arguments are split as the
// shell would and handed over in UTF-16, the environment settings are put in
// this process's environment for the child and taken out again.
CliRun RunProgram(const std::string& program, const std::string& args, const std::string& env) {
  static std::atomic<int> counter{0};
  const std::filesystem::path base = std::filesystem::temp_directory_path() /
                                     ("vb420-cli-" + std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(counter++));
  const std::wstring outFile = base.wstring() + L".out", errFile = base.wstring() + L".err";
  std::vector<std::pair<std::wstring, std::wstring>> saved;
  for (const std::string& setting : ShellWords(env)) {
    const size_t eq = setting.find('=');
    if (eq == std::string::npos) continue;
    const std::wstring name = vb420::WideOfUtf8(setting.substr(0, eq));
    const wchar_t* old = _wgetenv(name.c_str());
    saved.emplace_back(name, old ? old : L"");
    _wputenv_s(name.c_str(), vb420::WideOfUtf8(setting.substr(eq + 1)).c_str());
  }
  std::wstring command = QuoteArgument(vb420::WideOfUtf8(testsupport::BinaryDir() + "/" + program + ".exe"));
  for (const std::string& word : ShellWords(args)) command += L" " + QuoteArgument(vb420::WideOfUtf8(word));
  CliRun r;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  si.hStdOutput = InheritableFile(outFile, GENERIC_WRITE, CREATE_ALWAYS);
  si.hStdError = InheritableFile(errFile, GENERIC_WRITE, CREATE_ALWAYS);
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(pi.hProcess, &code)) r.exitCode = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(si.hStdInput);
  CloseHandle(si.hStdOutput);
  CloseHandle(si.hStdError);
  for (const auto& [name, value] : saved) _wputenv_s(name.c_str(), value.c_str());
  r.out = testsupport::FileText(vb420::Utf8OfPath(outFile));
  r.err = testsupport::FileText(vb420::Utf8OfPath(errFile));
  std::error_code ec;
  std::filesystem::remove(outFile, ec);
  std::filesystem::remove(errFile, ec);
  return r;
}

#else

CliRun RunProgram(const std::string& program, const std::string& args, const std::string& env) {
  static std::atomic<int> counter{0};
  const std::string errFile = (std::filesystem::temp_directory_path() /
                               ("vb420-cli-err-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                                  .string();
  const std::string cmd = env + testsupport::BinaryDir() + "/" + program + " " + args + " 2>" + errFile;
  CliRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 512> buf{};
  while (fgets(buf.data(), buf.size(), p)) r.out += buf.data();
  const int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (FILE* e = fopen(errFile.c_str(), "r")) {
    while (fgets(buf.data(), buf.size(), e)) r.err += buf.data();
    fclose(e);
  }
  std::filesystem::remove(errFile);
  return r;
}

CliProcess::CliProcess(const std::vector<std::string>& args) {
  static std::atomic<int> counter{0};
  errFile_ = (std::filesystem::temp_directory_path() /
              ("vb420-cliproc-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                 .string();
  // Everything the child needs is made before the fork.
  std::vector<std::string> all = {testsupport::BinaryDir() + "/tools/vb420cli"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int err = ::open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  pid_ = testing::StartChild(argv, null, err);
  ::close(err);
  ::close(null);
}

CliProcess::~CliProcess() {
  if (Wait(0) == -1 && pid_ > 0) {
    testing::SignalGroup(pid_, SIGKILL);
    Wait(5000);
  }
  std::filesystem::remove(errFile_);
}

void CliProcess::Signal(int sig) {
  if (pid_ > 0 && status_ == -1) kill(pid_, sig);
}

int CliProcess::Wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  if (status_ != -1) return status_;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int st = 0;
    if (waitpid(pid_, &st, WNOHANG) == pid_) {
      status_ = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? 128 + WTERMSIG(st) : -1;
      return status_;
    }
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string CliProcess::Err() const { return testsupport::FileText(errFile_); }

#endif  // _WIN32

}  // namespace vb420::test
