// SPDX-License-Identifier: GPL-3.0-or-later
// The declarative form engine: an editor page is a table of field
// descriptors (label, control kind, where the value lives, how it is encoded,
// range, step, empty value, named choices, enable rule). The engine knows how
// to show a field's value, store what the user typed or chose, spin it one
// step and decide whether the control is enabled; one Qt renderer turns any
// page table into widgets. Every value lives in the image: nothing is cached.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vb420 {
class RadioData;
class TextTable;
}  // namespace vb420

namespace vb420::forms {

enum class ControlKind {
  Combo,        // drop-down list of named choices
  EditCombo,    // combo box that also takes typed text
  EditSpin,     // edit box with a spin button
  Text,         // plain edit box (names, digit strings)
  Check,        // check box
  Caption,      // group caption, no value
  List,         // embedded list, filled by the editor itself
  Button,       // push button, handled by the editor
  Static,       // other static item
};

enum class Area { None, Image, Ext };

enum class Encoding {
  None,           // no value (captions, buttons)
  Value,          // the byte or word as it is (combo item data, check boxes)
  Number,         // a number with range, step, empty value and named values
  SignMagnitude,  // -n stored as n | 0x80
  Scaled,         // a decimal shown as value / scale, e.g. seconds stored in ms
  Name,           // zero-filled name through the name rules
  LengthText,     // a length byte followed by up to `textWidth` characters
  Digits,         // a count byte followed by packed digit codes
  Custom,         // the descriptor's own show/store/spin functions
};

// What `FieldRef::offset` is counted from. Fields of records (a zone's
// header, the n-th channel, group or repeater, the n-th row of a list) name
// their record here and the offset within it; the form context's cursor says
// which record, and its locator finds it in the image.
enum class RecordBase {
  None,         // the offset is an offset into the area itself
  ZoneHeader,   // the block of the cursor's zone
  Record,       // the cursor's channel or group record in that zone
  Repeater,     // the cursor's repeater record in that zone
  ListRow,      // the cursor's row of a list
  ZoneByte,     // one byte per zone: offset + zone
  ZoneBit,      // one bit per zone: bit `zone` of the bit table at offset
  ChannelByte,  // one byte per global channel number of the cursor's record
  ChannelBit,   // one bit per global channel number of the cursor's record
};

// Where a value lives: a byte or a little-endian word, or some bits of it.
struct FieldRef {
  Area area = Area::None;
  uint32_t offset = 0;
  int width = 1;   // 1 byte or 2 (word)
  int bit = -1;    // 0..15: the value starts at this bit; -1 for the whole byte/word
  int bits = 1;    // with `bit`: how many bits form the value
  int bitHigh = -1;  // a second, separate bit that is bit 1 of the value (two flags shown as one field)
  RecordBase base = RecordBase::None;
};

struct FormContext;

// Which record a record-relative field refers to (0-based numbers).
struct RecordCursor {
  int zone = -1;
  int record = -1;  // channel, group, repeater or list row
};

// Finds records in the image for the form engine. Implemented by the owners
// of the records (the zone memory manager, the list editors).
class RecordLocator {
 public:
  virtual ~RecordLocator() = default;
  // The image offset of the record or block `base` names for the context's
  // cursor, or the table index for the per-zone and per-channel bases;
  // -1 when there is none (the zone or record does not exist).
  virtual long Locate(const FormContext& ctx, RecordBase base) const = 0;
};

// A named choice: a text entry (or a literal text when `textEntry` < 0) and
// the value stored for it.
struct Choice {
  int textEntry = -1;
  int value = 0;
  std::string literal;
};

using Rule = std::function<bool(const FormContext&)>;

// What a new programming holds in a field of a radio-wide area. Fields
// without one keep what the cleared image has there (0xFF: none, or a check
// box whose unticked state is a set bit).
struct NewImageValue {
  int value = -1;          // the stored value, written at the field's width (and bits); -1: none
  int fill = 0;            // > 0: that many bytes of `value` from the field's start (a custom field over several bytes)
  bool emptyText = false;  // texts: the empty text of the field's encoding
  bool Set() const { return value >= 0 || emptyText; }
};
using Bound = std::function<int(const FormContext&)>;

struct FieldDescriptor {
  // The field's stable name within its table ("rxf", "name", "12"); the
  // settings keys are built from it. `number` is the field number the
  // record's own operations use (-1: none).
  std::string key;
  // The key earlier versions used (a page and an index, "1.8"): still taken
  // wherever a key is, so that scripts written then keep working.
  std::string oldKey;
  int number = -1;
  int labelEntry = -1;  // text entry of the label, -1 for none
  ControlKind kind = ControlKind::Static;
  FieldRef field;
  Encoding encoding = Encoding::None;

  // Numbers: range and step in stored units, the empty value (-1: none) and
  // the text entry shown for it (-1: an empty box), "%d"-style format.
  int minimum = 0;
  int maximum = 0;
  int step = 1;
  int emptyValue = -1;
  int emptyTextEntry = -1;
  std::string format = "%d";
  Bound dynamicMinimum;  // when set, replaces `minimum`
  Bound dynamicMaximum;  // when set, replaces `maximum`
  // Scaled decimals: shown value = stored / scale with `decimals` places.
  int scale = 1;
  int decimals = 0;

  // Combo rows, or the names an edit box takes besides numbers.
  std::vector<Choice> choices;
  std::function<bool(const FormContext&, const Choice&)> offered;  // row filter
  // A typed text that is neither a name nor a number stores this (-1: parse as 0).
  int unparsableValue = -1;
  // Spinning runs minimum .. maximum and then through the names in table
  // order; otherwise names are skipped and the empty value (if any) sits
  // between the maximum and the minimum.
  bool spinThroughNames = false;
  // Numbers outside minimum .. maximum show an empty box.
  bool blankOutsideRange = false;
  // Typing here brings the record into being (and an empty text removes it):
  // the first data column of a record. The record's owner handles that part.
  bool recordKey = false;

  // Check boxes: the value stored when checked and when unchecked.
  int checkedValue = 0;
  int uncheckedValue = 1;

  // Names and texts: field width (and on second-generation models `textWidthGen2`).
  int textWidth = 0;
  int textWidthGen2 = 0;
  bool dtmfDigits = true;  // digit strings: DTMF (true) or hexadecimal

  // Enable rule; unset means always enabled.
  Rule enabled;

  // The field's value in a new programming (radio-wide areas only).
  NewImageValue newImage;

  // Adjusts a value just before it is written (budgets, cross-field limits);
  // may return the empty value.
  std::function<int(FormContext&, int value)> adjust;
  // Runs after every store (to keep companion fields in step).
  std::function<void(FormContext&)> afterStore;
  // Custom encodings.
  std::function<std::string(const FormContext&)> customShow;
  std::function<void(FormContext&, std::string& text)> customStore;
  std::function<void(FormContext&, int direction)> customSpin;

  // Controls to redisplay after this one was stored (indexes on the page).
  std::vector<int> dependents;

  // Combo rows that depend on the image (lists that grow with a table of the
  // programming); when set they replace `choices`.
  std::function<std::vector<Choice>(const FormContext&)> dynamicChoices;
  // Lists and check boxes of the Custom encoding: the stored value now, and
  // how a chosen value is stored.
  std::function<int(const FormContext&)> customValue;
  std::function<void(FormContext&, int value)> customStoreValue;

  // Edit boxes: the input filter (0: chosen from the encoding) and the
  // length limit in characters (0: none).
  int inputMode = 0;
  int maxLength = 0;

  // A literal label, used when `labelEntry` is -1 (list rows "1", "2"...).
  std::string labelText;
  // Embedded lists: one descriptor per row (its label is the row's first
  // column, its value the second) and the two column headings.
  std::vector<FieldDescriptor> listRows;
  int listHeadEntries[2] = {-1, -1};
};

// A descriptor with its new-programming value: a stored value, `fill` bytes
// of one value, or the empty text.
inline FieldDescriptor WithNew(FieldDescriptor d, int value, int fill = 0) {
  d.newImage = {.value = value, .fill = fill};
  return d;
}
inline FieldDescriptor WithNewEmptyText(FieldDescriptor d) {
  d.newImage = {.emptyText = true};
  return d;
}

struct FormPage {
  int tabEntry = -1;
  std::vector<FieldDescriptor> fields;
  Rule shown;    // unset: always on the tab strip
  Rule enabled;  // unset: enabled as a whole
  // How many controls stack before the page starts another column; 0 takes
  // the window's number.
  int rowsPerColumn = 0;
};

// What every rule may ask: the programming, the texts and a few switches.
struct FormContext {
  FormContext(RadioData& d, TextTable& t, bool voting = false, RecordCursor c = {},
              const RecordLocator* l = nullptr)
      : data(d), text(t), votingSwitch(voting), cursor(c), locator(l) {}

  RadioData& data;
  TextTable& text;
  bool votingSwitch = false;
  // Record-relative fields: which record, and who finds it.
  RecordCursor cursor;
  const RecordLocator* locator = nullptr;
  // A message (text entry) a store asks the caller to show; the caller
  // shows it and sets it back to 0.
  int message = 0;
  // Set by a store that stored nothing because its rules refuse the text (no
  // room for the record, the channel limit, a frequency that is none): the
  // caller must not report the change as made. StoreText clears it first.
  bool refused = false;
  // Asks the user OK or Cancel with the text of an entry before a store that
  // changes more than its own field; unset (the command line, the tests'
  // default) answers OK.
  std::function<bool(int textEntry)> confirm;
  bool Confirm(int textEntry) const { return !confirm || confirm(textEntry); }

  bool IsMobile() const;
  bool IsPortable() const { return !IsMobile(); }
  bool IsSecondGen() const;
  // 1, 2 or 4 from the three system-type bytes, 0 when none applies.
  int SystemType() const;
  uint8_t OptionBoard() const;
  uint8_t ImageByte(uint32_t offset) const;
  uint8_t ExtByte(uint32_t offset) const;
};

// The operations on one descriptor. None of them keeps state.
class FormEngine {
 public:
  // Where a field lives now: the area offset and the bit (or -1). False when
  // its record does not exist.
  struct Place {
    size_t offset = 0;
    int bit = -1;
  };
  static bool Resolve(const FormContext& ctx, const FieldRef& ref, Place& place);

  // Raw stored value (byte, word or bits), -1 when the field has none or its
  // record does not exist.
  static int ReadValue(const FormContext& ctx, const FieldRef& ref);
  static void WriteValue(FormContext& ctx, const FieldRef& ref, int value);

  // The text an edit box, text box or editable combo shows.
  static std::string ShowText(const FormContext& ctx, const FieldDescriptor& d);
  // Combo rows as offered now, and the row of the stored value (-1 none).
  static std::vector<const Choice*> OfferedChoices(const FormContext& ctx, const FieldDescriptor& d);
  static std::vector<std::string> ChoiceTexts(const FormContext& ctx, const FieldDescriptor& d);
  static int CurrentRow(const FormContext& ctx, const FieldDescriptor& d);
  // The offered rows by value (static or dynamic choices alike).
  static std::vector<Choice> Choices(const FormContext& ctx, const FieldDescriptor& d);
  // The stored value a list or check box compares with its rows.
  static int StoredValue(const FormContext& ctx, const FieldDescriptor& d);
  // The input filter of the edit box of a descriptor (input modes of the
  // filtered edit box: 1 anything, 2 digits, 3 decimal, 5 DTMF, 6 hex,
  // 10 name characters, 11 signed digits).
  static int InputMode(const FormContext& ctx, const FieldDescriptor& d);
  static bool Checked(const FormContext& ctx, const FieldDescriptor& d);

  // Stores what was typed; `text` is rewritten to what the box shows now.
  // False when nothing was stored because the text was refused (the
  // context's `refused`; its `message` says why).
  static bool StoreText(FormContext& ctx, const FieldDescriptor& d, std::string& text);
  // Stores the item data of an offered combo row.
  static void StoreRow(FormContext& ctx, const FieldDescriptor& d, int row);
  static void StoreChecked(FormContext& ctx, const FieldDescriptor& d, bool checked);
  // Stores the value of an offered row; false (nothing stored) when no
  // offered row has that value.
  static bool StoreChoice(FormContext& ctx, const FieldDescriptor& d, int value);
  // One spin step up (direction > 0) or down from the stored value.
  static void Spin(FormContext& ctx, const FieldDescriptor& d, int direction);

  static bool Enabled(const FormContext& ctx, const FormPage& page, const FieldDescriptor& d);
  static bool PageShown(const FormContext& ctx, const FormPage& page);

  // The effective range of a number field now.
  static int Minimum(const FormContext& ctx, const FieldDescriptor& d);
  static int Maximum(const FormContext& ctx, const FieldDescriptor& d);
  // Name and text widths for the current model.
  static int TextWidth(const FormContext& ctx, const FieldDescriptor& d);

 private:
  static void StoreNumber(FormContext& ctx, const FieldDescriptor& d, int value);
  static void StoreTextInPlace(FormContext& ctx, const FieldDescriptor& d, std::string& text);
};

// Helpers for building tables tersely.
FieldRef ImageByte(uint32_t offset);
FieldRef ImageWord(uint32_t offset);
FieldRef ImageWordBit(uint32_t offset, int bit);
FieldRef ImageByteBit(uint32_t offset, int bit);
FieldRef ExtByte(uint32_t offset);
FieldRef ExtWord(uint32_t offset);

}  // namespace vb420::forms
