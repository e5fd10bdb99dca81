// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <vector>

#include "data/FileAccess.h"
#include "lang/Platform.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

// The largest zone block the zone area can hold; a ".sdt" slot that claims
// more is damaged and is refused before anything is allocated.
constexpr size_t kMaxZoneBlock = img::kZoneAreaEnd - 1;

const uint8_t kMagic[5] = {'V', 'B', '4', '2', '0'};

std::string LowerExtension(const std::string& path) {
  std::string ext = Utf8OfPath(PathOfUtf8(path).extension());
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

bool ReadHeader(InputFile& f, std::array<uint8_t, kHeaderSize>& header, FileStatus& st) {
  if (!f.ReadAll(header.data(), header.size())) {
    std::copy_n(header.begin(), 10, st.header10.begin());
    st.result = kFileNotOurs;
    return false;
  }
  std::copy_n(header.begin(), 10, st.header10.begin());
  return true;
}

// The file opened and its header read; otherwise `st` says why not.
bool OpenedWithHeader(InputFile& f, std::array<uint8_t, kHeaderSize>& header, FileStatus& st) {
  if (!f.ok()) {
    st.result = kFileCannotOpen;
    st.sysError = f.openError();
    return false;
  }
  // A folder may open for reading and only fail at the first read; it is
  // named for what it is, not taken for a foreign file.
  if (f.IsFolder()) {
    st.result = kFileIsFolder;
    st.sysError = EISDIR;
    return false;
  }
  return ReadHeader(f, header, st);
}

}  // namespace

FileStatus FileFailure(DataFileResult result, int sysError, const std::string& path) {
  FileStatus st;
  st.result = result;
  st.sysError = sysError;
  st.path = path;
  return st;
}

std::array<uint8_t, kHeaderSize> BuildHeader(const ModelBytes& model, bool sdt) {
  std::array<uint8_t, kHeaderSize> h;
  h.fill(0xFF);
  std::memcpy(h.data(), kMagic, 5);
  h[5] = h[6] = h[7] = 0x00;
  h[8] = 'V';
  h[9] = '1';
  std::memcpy(h.data() + 10, "V1.20", 5);
  std::memcpy(h.data() + 15, model.data(), 8);
  h[23] = h[24] = 0xFF;
  h[25] = sdt ? 0x00 : 0xFF;
  return h;
}

// Model bytes that the program can work with: a known model on one of its
// bands. Open refuses anything else, so save never writes anything else.
bool AcceptedModel(const ModelBytes& model) {
  return ModelRecord::IsKnownModel(model) && ModelRecord::IsSelectableBand(model[5]);
}

FileStatus LoadDatFile(const std::string& path, RadioData& data) {
  FileStatus st;
  st.path = path;
  InputFile f(path);
  std::array<uint8_t, kHeaderSize> header{};
  if (!OpenedWithHeader(f, header, st)) return st;
  if (std::memcmp(header.data(), kMagic, 5) != 0 || header[5] != 0x00) {
    st.result = kFileNotOurs;
    return st;
  }
  ModelBytes model;
  std::memcpy(model.data(), header.data() + 15, 8);
  if (!AcceptedModel(model)) {
    st.result = kFileRefused;
    return st;
  }
  if (std::memcmp(header.data() + 10, "V1.", 3) > 0) {
    st.result = kFileRefused;
    return st;
  }
  // Read into a holding buffer first: a file cut short must not leave half a
  // programming in the scratch copy either.
  std::vector<uint8_t> body(kImageSize + kExtBlockSize);
  if (!f.ReadAll(body.data(), body.size())) {
    st.result = kFileNotOurs;
    return st;
  }
  // The image's own model bytes are what the program works from; the
  // header's copy passing says nothing about them.
  std::memcpy(model.data(), body.data() + img::kModelBytes, 8);
  if (!AcceptedModel(model)) {
    st.result = kFileRefused;
    return st;
  }
  ByteArea scratchImage = data.buffers.ScratchImage();
  ByteArea scratchExt = data.buffers.ScratchExt();
  scratchImage.write(0, body.data(), kImageSize);
  scratchExt.write(kExtBlockOffset, body.data() + kImageSize, kExtBlockSize);
  return st;
}

FileStatus SaveDatFile(const std::string& path, RadioData& data) {
  if (!AcceptedModel(data.model.Bytes())) return FileFailure(kFileRefused, 0, path);
  const auto header = BuildHeader(data.model.Bytes(), false);
  const auto& image = data.buffers.ImageBytes();
  const auto& ext = data.buffers.ExtBytes();
  return ReplaceFileAtomically(path, {{header.data(), header.size()},
                                {image.data(), kImageSize},
                                {ext.data() + kExtBlockOffset, kExtBlockSize}});
}

FileStatus WriteFileAtomically(const std::string& path, const void* bytes, size_t size) {
  return ReplaceFileAtomically(path, {{bytes, size}});
}

FileStatus LoadSdtFile(const std::string& path, RadioData& data) {
  FileStatus st;
  st.path = path;
  InputFile f(path);
  std::array<uint8_t, kHeaderSize> header{};
  if (!OpenedWithHeader(f, header, st)) return st;
  static const uint8_t kSdtStart[10] = {'V', 'B', '4', '2', '0', 0, 0, 0, 'V', '1'};
  if (std::memcmp(header.data(), kSdtStart, 10) != 0) {
    st.result = kFileNotOurs;
    return st;
  }
  uint8_t lengths[MergeSlots::kSlots * 2];
  MergeSlots slots;
  if (!f.ReadAll(lengths, sizeof lengths)) {
    st.result = kFileNotOurs;
    return st;
  }
  for (auto& m : slots.marks) {
    if (!f.ReadAll(m.data(), m.size())) {
      st.result = kFileNotOurs;
      return st;
    }
  }
  for (int i = 0; i < MergeSlots::kSlots; ++i) {
    const size_t len = static_cast<size_t>(lengths[2 * i] | (lengths[2 * i + 1] << 8));
    if (len == 0) continue;
    if (len > kMaxZoneBlock) {
      st.result = kFileNotOurs;
      return st;
    }
    MergeSlot& s = slots.entries[i];
    s.block.resize(len);
    bool ok = f.ReadAll(s.block.data(), len) && f.ReadAll(&s.mark, 1) && f.ReadAll(s.name.data(), s.name.size());
    for (auto& t : s.perChannel) ok = ok && f.ReadAll(t.data(), t.size());
    if (!ok) {
      st.result = kFileNotOurs;
      return st;
    }
  }
  data.mergeSlots = std::move(slots);
  return st;
}

FileStatus SaveSdtFile(const std::string& path, RadioData& data) {
  const auto header = BuildHeader(data.model.Bytes(), true);
  std::vector<uint8_t> body;
  const MergeSlots& slots = data.mergeSlots;
  for (const auto& s : slots.entries) {
    const size_t len = std::min(s.block.size(), kMaxZoneBlock);
    body.push_back(static_cast<uint8_t>(len & 0xFF));
    body.push_back(static_cast<uint8_t>(len >> 8));
  }
  for (const auto& m : slots.marks) body.insert(body.end(), m.begin(), m.end());
  for (const auto& s : slots.entries) {
    const size_t len = std::min(s.block.size(), kMaxZoneBlock);
    if (len == 0) continue;
    body.insert(body.end(), s.block.begin(), s.block.begin() + static_cast<long>(len));
    body.push_back(s.mark);
    body.insert(body.end(), s.name.begin(), s.name.end());
    for (const auto& t : s.perChannel) body.insert(body.end(), t.begin(), t.end());
  }
  return ReplaceFileAtomically(path, {{header.data(), header.size()}, {body.data(), body.size()}});
}

FileStatus LoadDataFile(const std::string& path, RadioData& data) {
  if (IsFolderPath(path)) return FileFailure(kFileIsFolder, EISDIR, path);
  const std::string ext = LowerExtension(path);
  if (ext == ".dat") return LoadDatFile(path, data);
  if (ext == ".sdt") return LoadSdtFile(path, data);
  return FileFailure(kFileRefused, 0, path);
}

std::array<std::string, 2> ProbeHeader(const std::string& path) {
  std::array<std::string, 2> texts;
  InputFile f(path);
  if (!f.ok()) return texts;
  std::array<uint8_t, kHeaderSize> header{};
  if (!f.ReadAll(header.data(), header.size())) return texts;
  ModelBytes model;
  std::memcpy(model.data(), header.data() + 15, 8);
  if (std::memcmp(header.data(), kMagic, 5) != 0 || header[5] != 0 || !ModelRecord::IsKnownModel(model) ||
      !ModelRecord::IsSelectableBand(model[5]))
    return texts;
  // The image's own model bytes decide as they do on Open.
  if (!f.Seek(kHeaderSize + img::kModelBytes) ||
      !f.ReadAll(model.data(), model.size()) || !AcceptedModel(model))
    return texts;
  uint8_t raw[64];
  if (!f.Seek(kHeaderSize + img::kEmbeddedMessage) ||
      !f.ReadAll(raw, sizeof raw))
    return texts;
  for (int i = 0; i < 2; ++i) {
    const ByteArea a(raw + 32 * i, 32);
    texts[i] = a.text(0, 32);
  }
  return texts;
}

bool ReadWholeFile(const std::string& path, std::string& out, int& sysError) {
  out.clear();
  InputFile f(path);
  if (!f.ok()) {
    sysError = f.openError();
    return false;
  }
  if (f.IsFolder()) {
    sysError = EISDIR;
    return false;
  }
  return f.ReadRest(out, sysError);
}

std::ostream& operator<<(std::ostream& out, DataFileResult r) { return out << static_cast<int>(r); }

std::string DataFileMessage(const FileStatus& st, FileAction action, TextTable& text) {
  const std::string& name = st.path;
  switch (st.result) {
    case kFileOk: return {};
    case kFileIsFolder: return FillEntryText(text.Text(kMsgIsFolder), {name});
    case kFileRefused:
      if (action == FileAction::Save) return FillEntryText(text.Text(kMsgModelNotSaved), {name});
      return text.Text(281);
    case kFileNotOurs: {
      const std::string header = HeaderText(st.header10);
      if (header.find("DMT") != std::string::npos) return FillEntryText(text.Text(311), {name, header});
      return FillEntryText(text.Text(312), {name});
    }
    case kFileCannotOpen:
      if (action == FileAction::Load) return FillEntryText(text.Text(268), {name});
      [[fallthrough]];
    case kFileWriteFailed:
    default:
      // The system's own words for what went wrong, under the file's name.
      return name + "\n\n" + std::strerror(st.sysError ? st.sysError : EIO);
  }
}

std::string HeaderText(const std::array<uint8_t, 10>& header10) {
  std::string s;
  for (uint8_t b : header10) {
    if (b == 0) break;
    s.push_back(static_cast<char>(b));
  }
  return s;
}

std::string FolderOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string WithExtension(const std::string& name, const std::string& ext) {
  std::string lowerName = name;
  std::transform(lowerName.begin(), lowerName.end(), lowerName.begin(), [](unsigned char c) { return std::tolower(c); });
  const std::string dotted = "." + ext;
  if (lowerName.size() >= dotted.size() && lowerName.compare(lowerName.size() - dotted.size(), dotted.size(), dotted) == 0)
    return name;
  if (!name.empty() && name.back() == '.') return name + ext;
  return name + dotted;
}

bool NameTooLong(const std::string& name) {
  const std::string base = name.substr(name.find_last_of("\\/:") == std::string::npos ? 0 : name.find_last_of("\\/:") + 1);
  const size_t dot = base.find_last_of('.');
  const std::string stem = dot == std::string::npos ? base : base.substr(0, dot);
  return stem.size() > 32;
}

}  // namespace vb420
