#pragma once
// Conversions between the bytes of a registry value and the values the registry class hands out.
// Every one of them works on exactly the bytes it is given: a value without its terminator, of
// an odd or zero size, or of an unexpected length gives a defined result.
#include <cstdint>
#include <optional>
#include <string>

#include "text/variant.h"

// REG_SZ and REG_EXPAND_SZ: the stored text without its final NUL. Data without a terminator
// keeps all its characters.
std::string TextFromStringData(const ByteArray& data);

// REG_MULTI_SZ: the strings of the list, each followed by one NUL. The list ends at its first
// empty string or at the end of the data, whichever comes first, so a list that lacks its
// terminators still gives every string whole.
std::string TextFromMultiStringData(const ByteArray& data);

// REG_DWORD (least significant byte first) and REG_DWORD_BIG_ENDIAN (most significant first).
// Nothing unless the data is exactly 4 bytes.
std::optional<int32_t> IntegerFromDwordData(const ByteArray& data, bool bigEndian);

// The 4 bytes of a REG_DWORD, least significant first.
ByteArray DwordData(int32_t value);

// Whether a text is stored as REG_EXPAND_SZ: it holds a "%" and, at least two positions after the
// first one, another "%", so that a name can lie between them.
bool HasEnvironmentReference(const std::string& text);
