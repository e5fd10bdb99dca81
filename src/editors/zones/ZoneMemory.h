// SPDX-License-Identifier: GPL-3.0-or-later
// The zone memory manager: the zone table, the packed zone area and every
// change that moves bytes in it (creating, deleting and retyping zones,
// inserting and removing channels, groups and repeaters), the limits, the
// global channel numbering and the per-channel tables of the extension area
// that follow that numbering.
//
// Zone and record numbers are 0-based in every call; the image holds them
// 1-based. Nothing is cached: every answer is read from the image, so that
// an edit made anywhere is seen at once.
//
// A loaded image may be damaged. The zone blocks are found by walking the
// headers from the start of the area (never by trusting a table word), every
// block is clipped to the area, and a zone whose header cannot be trusted
// (unknown type byte, a count above the limit, a block running past the end
// of the area) is marked damaged: it can be read and deleted, but records
// are neither inserted into nor removed from it. `CheckZoneArea` lists what is
// wrong so that a caller can tell the user.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/Bytes.h"
#include "data/ImageLayout.h"

namespace vb420 {

class RadioData;
class TextTable;

namespace zones {
constexpr int kZoneCount = 128;
constexpr int kMaxRecords = 250;
constexpr int kMaxRepeaters = 20;
constexpr int kChannelLimit = 512;

constexpr size_t kTable = img::kZoneTable;      // 128 words: block offset or 0xFFFF
constexpr size_t kAreaStart = img::kZoneArea;   // first byte of the packed blocks
constexpr size_t kAreaEnd = img::kZoneAreaEnd;  // one past the last byte of the area
constexpr size_t kAreaSize = kAreaEnd - kAreaStart;
constexpr size_t kFirstBlockWord = dir::kFirstBlockWord;
constexpr size_t kLastBlockWord = dir::kLastBlockWord;

// Block geometry by class.
constexpr int kConvHeader = static_cast<int>(rec::conv::kHeaderSize);
constexpr int kChannelSize = static_cast<int>(rec::ch::kSize);
constexpr int kLtrHeader = static_cast<int>(rec::ltr::kHeaderSize);
constexpr int kGroupSize = static_cast<int>(rec::group::kSize);
constexpr int kRepeaterSize = static_cast<int>(rec::rep::kSize);
constexpr int kPassPortHeader = static_cast<int>(rec::pp::kHeaderSize);

// Extension-area tables that follow the global channel numbering (see
// ImageLayout.h), under the names the zone code has always used.
constexpr size_t kExtChanBitsA = ext::kChanBitsA;
constexpr size_t kExtChanBitsB = ext::kChanBitsB;
constexpr size_t kExtChanBytes = ext::kChanBytes;
// Per-zone tables. The selective-call scrambler switch and code of a PassPort
// zone (one bit and one byte per zone) stay with their zone: inserting or
// removing records moves neither.
constexpr size_t kExtEntryBits = ext::kEntryBits;
constexpr size_t kExtEntryBytes = ext::kEntryBytes;
constexpr size_t kExtZoneBits = ext::kZoneBits;
constexpr size_t kExtZoneLists = ext::kZoneLists;
constexpr size_t kExtZoneBytes = ext::kZoneBytes;
// Zone references of the radio-wide features: zone byte, companion byte.
constexpr size_t kExtPriority1 = ext::kPriority1;
constexpr size_t kExtPriority2 = ext::kPriority2;
}  // namespace zones

// Results of the zone operations, with the numbers the zone rules give them.
// Creating, changing, retyping or removing: 1 done, 0 refused, -1 not enough
// free memory, -2 the limit of 512 channels and groups. Inserting a repeater
// answers the same way.
enum class ZoneResult : int { Done = 1, Refused = 0, NoRoom = -1, ChannelLimit = -2 };
// Inserting a channel or group: 1 done, 0 not enough free memory, -1 refused
// (zone missing, full or damaged, record exists, bad number), -2 the limit.
enum class InsertResult : int { Done = 1, NoRoom = 0, Refused = -1, ChannelLimit = -2 };

// The results compare with their numbers, as the rules state them.
constexpr bool operator==(ZoneResult r, int v) { return static_cast<int>(r) == v; }
constexpr bool operator==(InsertResult r, int v) { return static_cast<int>(r) == v; }

// The message a result is reported with: text entry 275 for a lack of free
// memory, 299 for the channel limit, 0 for none (a full zone is refused
// without a message).
int ResultMessage(ZoneResult r);
int ResultMessage(InsertResult r);

// ZoneClass() answers, and ChangeZone() takes as the new class.
enum ZoneClassCode { kClassNone = 0, kClassLtr = 1, kClassConv = 2, kClassPassPort = 3 };

// The class of a zone type byte ('0' LTR, '1'..'4' conventional, '5' PassPort).
int ClassOfType(uint8_t type);

// One zone as the walk over the area finds it.
struct ZoneLayout {
  bool exists = false;   // its table word is not 0xFFFF
  int offset = -1;       // image offset of the block (walked, not the table word)
  int size = 0;          // block size, clipped to the area
  int cls = kClassNone;
  int records = 0;       // channels or groups that lie inside the block
  int repeaters = 0;     // LTR only
  bool damaged = false;  // header not to be trusted for changes
};

// The values one record owns in the three per-channel tables.
struct PerChannelValues {
  bool bitA = true;       // ext 0x670
  bool bitB = true;       // ext 0x6B0
  uint8_t chanByte = 0xFF;   // ext 0x1000
};

// Other editors that keep references to zones or records (scan, features)
// hook in here to be told when those references must go.
struct ZoneHooks {
  // A zone was deleted: the scan-data clean-up, with the zone and the value of
  // its per-zone byte ext 0xF00 + zone, minus 1.
  std::function<void(int zone, int perZoneByteMinus1)> zoneDeleted;
  // A conventional zone left type '1': its scan references must go.
  std::function<void(int zone)> typeOneReferencesDropped;
  // A record (channel or group) was removed.
  std::function<void(int zone, int number)> recordRemoved;
};

struct ZoneProblem {
  int zone;  // 0-based, -1 for the area as a whole
  std::string what;
};

class CZoneMemory {
 public:
  explicit CZoneMemory(RadioData& data) : data_(data) {}

  RadioData& Data() { return data_; }
  ZoneHooks& Hooks() { return hooks_; }

  // ---- queries -------------------------------------------------------------
  std::array<ZoneLayout, zones::kZoneCount> Layout() const;
  ZoneLayout ZoneInfo(int zone) const;

  int ZoneOffset(int zone) const;  // -1 when the zone does not exist
  bool ZoneExists(int zone) const;
  uint8_t ZoneType(int zone) const;  // 0xFF when the zone does not exist
  int ZoneClass(int zone) const;
  int ZoneSize(int zone) const;
  bool ZoneDamaged(int zone) const;
  int FreeBytes() const;
  // Channels of conventional zones plus groups of LTR zones.
  int TotalChannels() const;
  int RecordCount(int zone) const;
  int RepeaterCount(int zone) const;
  // Numbers (0-based) of the existing records, in their stored order.
  std::vector<int> RecordNumbers(int zone) const;
  std::vector<int> RepeaterNumbers(int zone) const;

  // Image offset of the record with that number, -1 when there is none.
  int FindRecord(int zone, int number) const;
  int FindRepeater(int zone, int number) const;
  // With number -1: whether the zone exists.
  bool RecordExists(int zone, int number) const;
  // Global channel number (0-based), -1 when the record does not exist.
  int GlobalChannel(int zone, int number) const;
  // 0-based global number of the zone's first record: the records of all
  // existing lower-numbered zones, PassPort groups included.
  int FirstGlobal(int zone) const;

  // ---- zones -------------------------------------------------------------
  // The conventional type ('1'..'4') or class a new zone gets when it is
  // created on first entry; the Zone Information window sets it.
  uint8_t PendingType() const { return pendingType_; }
  void SetPendingType(uint8_t type) {
    if (ClassOfType(type) != kClassNone) pendingType_ = type;
  }

  // Type change within a class. On a zone that does not exist it only
  // remembers the type. 1 done, 0 refused (other class, unknown type).
  [[nodiscard]] ZoneResult SetZoneType(int zone, uint8_t type);
  // Deletes the zone and, with a class, creates an empty block of that class.
  // 1 done, -1 no room (the zone stays deleted), -2 the channel limit.
  [[nodiscard]] ZoneResult ChangeZone(int zone, int newClass);
  // Whether a type change needs the user's confirmation (the zone exists and
  // the class changes); asks with the text of entry 310 and answers true when
  // the change may go ahead.
  bool ConfirmDelete(int zone, int newClass, TextTable& text,
                     const std::function<bool(const std::string&)>& askOkCancel) const;
  // Creates the zone with the class of `type` (and that type for a
  // conventional zone). 1 done, 0 the zone exists, -1 no room, -2 the limit.
  [[nodiscard]] ZoneResult CreateZone(int zone, uint8_t type);

  // ---- records -----------------------------------------------------------
  // 1 done; 0 no room; -1 zone missing, full, damaged, record exists or
  // number outside 0..249; -2 the channel limit.
  [[nodiscard]] InsertResult InsertRecord(int zone, int number);
  // 1 done, 0 refused.
  [[nodiscard]] ZoneResult RemoveRecord(int zone, int number);
  // 1 done; 0 20 repeaters, not an LTR zone or a bad number; -1 no room.
  [[nodiscard]] ZoneResult InsertRepeater(int zone, int number);
  [[nodiscard]] ZoneResult RemoveRepeater(int zone, int number);
  // Inserts a record whose bytes and per-channel values come from a copy
  // (Channel Copy, paste). The record's number byte is set to `number`.
  // Results as InsertRecord.
  [[nodiscard]] InsertResult InsertCopiedRecord(int zone, int number, const std::vector<uint8_t>& bytes,
                                                const PerChannelValues& values);

  // ---- per-channel tables --------------------------------------------------
  PerChannelValues ReadPerChannel(int global) const;
  void WritePerChannel(int global, const PerChannelValues& v);
  // Opens an entry at `global` (the last entry of each table drops out).
  void InsertPerChannel(int global, const PerChannelValues& v);
  // Closes `count` entries from `global` on (the last entries get the empty
  // value).
  void RemovePerChannel(int global, int count = 1);

  // Block-range words at 0x9E0 and 0x9E2.
  void UpdateBlockRange();
  // Header +2 of every zone that holds records.
  void UpdateGlobalNumbers();

  // What is wrong in the zone area; empty for a sound area.
  std::vector<ZoneProblem> CheckZoneArea() const;

  // Texts and lists of zone types.
  static std::string ZoneTypeName(uint8_t type, TextTable& text);
  // Types offered in the zone type list: '1', '0', ('2', '3', '4' with
  // voting), '5'.
  std::vector<uint8_t> OfferedZoneTypes() const;

  // The system type (1, 2, 4 or 0).
  int SystemType() const;

 private:
  ByteArea Image() const;
  ByteArea Ext() const;
  static int HeaderSize(int cls);
  static int RecordSize(int cls);
  // The layouts of zones 0 to `last` (later entries left empty).
  std::array<ZoneLayout, zones::kZoneCount> Walk(int last) const;
  int RecordPosition(const ZoneLayout& z, int number, int* insertAt) const;
  int OpenGap(int zone, size_t at, int n, bool channelCheck,
              const std::array<ZoneLayout, zones::kZoneCount>& before);
  void CloseGap(int zone, size_t at, int n, const std::array<ZoneLayout, zones::kZoneCount>& before);
  void WriteRecordDefaults(const ZoneLayout& z, size_t rec, int number);
  void WriteZoneHeader(int zone, size_t at, uint8_t type);
  // Clears the emergency channel when it names the zone (number -1) or that
  // record of it.
  void DropEmergencyReference(int zone, int number);
  void DropZoneReferences(int zone);
  InsertResult InsertRecordBytes(int zone, int number, const std::vector<uint8_t>* bytes, const PerChannelValues* values);

  RadioData& data_;
  ZoneHooks hooks_;
  uint8_t pendingType_ = '1';
};

}  // namespace vb420
