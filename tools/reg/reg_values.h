// How pictarium-reg shows registry data and reads the data given to `set`.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

namespace regtool {

std::string TypeName(DWORD type);

// The data as `get` prints it: a DWORD in decimal, text as it is (a REG_MULTI_SZ one string a
// line), anything else as hex bytes.
std::string FormatData(DWORD type, std::span<const BYTE> data);

// The data as `list` shows it after the type: DWORDs also in hex, text in quotes.
std::string DescribeData(DWORD type, std::span<const BYTE> data);

// Reads `set`'s type word ("dword", "string" or "binary") and value words. A dword is decimal
// (negative values down to -2147483648 are stored as their two's complement) or 0x hex; a string
// is stored with its terminator; binary is hex digit pairs, optionally separated by blanks,
// commas or colons, and may span several words. False with `error` set for bad input.
bool ParseData(std::string_view typeWord, std::span<const std::string> words, DWORD& type,
               std::vector<BYTE>& data, std::string& error);

}  // namespace regtool
