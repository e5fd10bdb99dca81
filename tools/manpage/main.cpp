// SPDX-License-Identifier: GPL-3.0-or-later
// vb420manpage: writes a program's manual page from its own --help text, so
// the page and the help can never say different things. Run at build time:
//
//   vb420manpage PROGRAM NAME "WHAT IT IS" OUT.1 [--verbs]
//
// PROGRAM --help gives the synopsis (its lines up to the first blank line)
// and the description (the rest); --version the version in the page's
// header. With --verbs every verb of the "verbs:" list gets a section of its
// own from "PROGRAM VERB --help".
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Run(const std::string& command, std::string& out) {
  out.clear();
  FILE* p = popen(command.c_str(), "r");
  if (!p) return false;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  return pclose(p) == 0;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// One line of text as roff takes it literally.
std::string Roff(const std::string& line) {
  std::string out;
  for (char c : line) {
    if (c == '\\') out += "\\e";
    else if (c == '-') out += "\\-";
    else out += c;
  }
  // A leading dot or apostrophe would start a request.
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
  return out;
}

// Text kept as it is laid out (lists and tables of the help stay aligned).
void Verbatim(std::ostream& out, const std::string& text) {
  out << ".nf\n";
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out << (line.empty() ? std::string() : Roff(line)) << "\n";
  out << ".fi\n";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::cerr << "usage: vb420manpage PROGRAM NAME \"WHAT IT IS\" OUT.1 [--verbs]\n";
    return 2;
  }
  const std::string program = argv[1], name = argv[2], what = argv[3], outPath = argv[4];
  const bool verbs = argc > 5 && std::string(argv[5]) == "--verbs";
  std::string help, version;
  if (!Run(Quote(program) + " --help", help) || !Run(Quote(program) + " --version", version)) {
    std::cerr << "vb420manpage: " << program << " --help or --version failed\n";
    return 1;
  }
  version = version.substr(0, version.find('\n'));
  const std::vector<std::string> lines = Lines(help);
  size_t blank = 0;
  while (blank < lines.size() && !lines[blank].empty()) ++blank;

  std::ostringstream page;
  page << ".TH " << Upper(name) << " 1 \"\" \"" << Roff(version) << "\" \"VB-420\"\n"
       << ".SH NAME\n" << Roff(name) << " \\- " << Roff(what) << "\n"
       << ".SH SYNOPSIS\n";
  std::string synopsis, description;
  for (size_t i = 0; i < lines.size(); ++i) (i < blank ? synopsis : description) += lines[i] + "\n";
  // "usage: " is the help's own heading (the section says it here); the
  // lines under it are indented to match it.
  if (synopsis.rfind("usage: ", 0) == 0) {
    std::string bare;
    for (const std::string& line : Lines(synopsis))
      bare += (line.rfind("usage: ", 0) == 0 || line.rfind("       ", 0) == 0 ? line.substr(7) : line) + "\n";
    synopsis = bare;
  }
  Verbatim(page, synopsis);
  page << ".SH DESCRIPTION\n";
  Verbatim(page, description.substr(description.find_first_not_of('\n') == std::string::npos
                                         ? description.size()
                                         : description.find_first_not_of('\n')));
  if (verbs) {
    page << ".SH VERBS\n";
    bool inList = false;
    for (const std::string& line : lines) {
      if (line == "verbs:") {
        inList = true;
        continue;
      }
      if (!inList) continue;
      if (line.empty()) break;
      if (line.rfind("   ", 0) == 0) continue;  // a summary's further lines
      std::istringstream words(line);
      std::string verb;
      words >> verb;
      std::string verbHelp;
      if (!Run(Quote(program) + " " + Quote(verb) + " --help", verbHelp)) {
        std::cerr << "vb420manpage: " << program << " " << verb << " --help failed\n";
        return 1;
      }
      page << ".SS " << Roff(verb) << "\n";
      Verbatim(page, verbHelp);
    }
  }
  page << ".SH SEE ALSO\n"
       << "\\fBvb420\\fR(1), \\fBvb420cli\\fR(1), \\fBvb420sim\\fR(1)\n";
  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  out << page.str();
  out.close();
  if (!out) {
    std::cerr << "vb420manpage: cannot write " << outPath << "\n";
    return 1;
  }
  return 0;
}
