// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded message (two 32-character lines in the image) and the
// password-protected message (two lines and a message password in the
// extension area): how a typed line is stored and read back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/Bytes.h"
#include "editors/forms/FormEngine.h"

namespace vb420 {

constexpr int kMessageLineLength = 32;
constexpr int kMessagePasswordLength = 6;

// The line at `offset`: its bytes up to the first zero, at most 32.
std::string MessageLineText(const ByteArea& area, size_t offset);
// Stores a typed line: at most 32 characters; a line of blanks becomes 32
// zero bytes; trailing blanks are cut; the rest of the field is zero, with
// no terminator when the line is full.
void StoreMessageLine(ByteArea area, size_t offset, std::string_view typed);

// The message password at ext 0x640 (length byte, six characters); empty
// when none is set or its length byte is out of range.
std::string MessagePassword(const ByteArea& ext);
// An empty password stores length 0xFF and six 0xFF bytes; otherwise the
// length, the characters (at most six) and 0xFF after them.
void StoreMessagePassword(ByteArea ext, std::string_view password);

// A typed line (UTF-8) as the bytes the radio shows: the first 32 characters,
// each outside Latin-1 as '?'. False for text that is not UTF-8 or holds a
// control character (a zero byte would silently end the line).
bool TypedLineBytes(std::string_view utf8, std::string& bytes);
// What the message-password dialog takes: up to six letters and digits.
bool MessagePasswordTypable(std::string_view typed);

// The two lines of the embedded message (keys "1", "2") and of the
// password-protected message ("1", "2" and "password") as field descriptors,
// registered as the field sets "message" and "passmessage" (keys message.1,
// passmessage.password, ...). They show and store as the windows do.
const std::vector<forms::FieldDescriptor>& MessageFieldTable();
const std::vector<forms::FieldDescriptor>& PassMessageFieldTable();

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterMessageFieldSets();

}  // namespace vb420
