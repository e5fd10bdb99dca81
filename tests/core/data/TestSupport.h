// Shared helpers for the data tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <string>
#include <vector>

#include "data/RadioData.h"

namespace vb420::test {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("vb420-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
  static inline int counter_ = 0;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> Slice(ByteArea a, size_t off, size_t n) {
  std::vector<uint8_t> v(n);
  a.read(off, v.data(), n);
  return v;
}

// Sets a model by number and band code on a cleared image.
inline void SetModel(RadioData& d, int model, uint8_t band) {
  d.model.SetBytes(kDefaultModelBytes);
  d.model.SetModel(model);
  d.model.SetBandCode(band);
  d.SyncCodecs();
}

}  // namespace vb420::test

#include "lang/TextTable.h"

namespace vb420::test {
// A complete text table whose entry i reads "T<i>".
inline void LoadNumberedTable(TextTable& t) {
  std::string file = "*Language,English\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i)
    file += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
  t.LoadText(file, "English");
}
}  // namespace vb420::test
