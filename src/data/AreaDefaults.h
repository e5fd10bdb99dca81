// SPDX-License-Identifier: GPL-3.0-or-later
// The new-image defaults of every editor area, and the few key-assignment and
// optional-feature questions that loading and model changes need to ask
// before the editors themselves exist.
#pragma once

#include <cstdint>

namespace vb420 {

class RadioData;

// Writes the defaults of every editor area for the current model: optional
// features (0x140..), alert tones (8 records at 0x460), key assignment (0x580),
// scan (0x6A0), DTMF (0x6D0), data signalling (0x720), emergency (0x7D0),
// extended function and option board (0x810..), 2-tone (incl. 0xBC00), the
// zone table and zone area (empty), the data-signalling ID and status lists of
// the area directory, and what else each area's owner gives. The
// identification block, model bytes, test and tuning frequencies, the area
// directory words, the display texts, the scan name and the extension-area
// fields are written by the new-image initialisation itself.
void WriteEditorAreaDefaults(RadioData& data);

// The single fields of the feature, scan, DTMF, data-signalling, emergency
// and option-board areas take their new-programming values from the editors'
// field tables, which lie above this layer: the one registration of the
// core parts (RegisterCore) hands the writer over, and every program that
// makes a new programming registers first. Without it the fields keep the
// cleared image's 0xFF.
using FieldTableDefaultsWriter = void (*)(RadioData&);
void SetFieldTableDefaultsWriter(FieldTableDefaultsWriter writer);
bool FieldTableDefaultsWriterSet();

// Key-assignment defaults of the model's kind (mobile or portable).
void WriteKeyDefaults(RadioData& data);

// The optional-feature defaults that depend on mobile or portable: the three
// accessory slots 0x15A/0x15C/0x15E none with their companion bytes
// 0x15B/0x15D/0x15F reset, and 0x16C, 0x16D, 0x17E. New writes them, and so
// does a change between mobile and portable.
void WriteKindFeatureDefaults(RadioData& data);

// True when some programmable key has `function` as its first function (or,
// with `eitherFunction`, as its first or second function).
bool AnyKeyHasFunction(RadioData& data, int function, bool eitherFunction = false);
// Every key whose function (first, or with `eitherFunction` first or second)
// is `function` loses that function, as when the user clears it.
void RemoveKeyFunction(RadioData& data, int function, bool eitherFunction = false);

// True when one of the three optional-feature slots at 0x15A, 0x15C and 0x15E
// that is in use holds `value`.
bool AnyUsedOptionSlotHolds(RadioData& data, uint8_t value);

// The built-in alert-tone table (8 records of 36 bytes) written at New.
const uint8_t* DefaultAlertTones();
constexpr int kAlertToneRecords = 8;
constexpr int kAlertToneRecordSize = 36;

}  // namespace vb420
