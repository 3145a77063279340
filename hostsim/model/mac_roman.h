// Mac Roman <-> UTF-8.
//
// The plug-in speaks Mac Roman (one byte per character, é = 0x8E, • = 0xA5);
// documents and preference files hold UTF-8. Bytes 0x00-0x7F are ASCII in both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostsim {

// What stands for a character that Mac Roman cannot hold, or for bad UTF-8.
inline constexpr char kMacRomanStandIn = '?';

// The Unicode code point of a Mac Roman byte (total: every byte has one).
char32_t macRomanToCodePoint(std::uint8_t byte);

// The Mac Roman byte of a code point, or nothing if Mac Roman has no such character.
std::optional<std::uint8_t> codePointToMacRoman(char32_t codePoint);

// Always succeeds: every Mac Roman byte has a Unicode character.
std::string macRomanToUtf8(std::string_view macRoman);

// Each character Mac Roman lacks becomes one '?', and so does each ill-formed
// UTF-8 sequence (maximal subpart rule), so nothing is dropped silently and no
// multi-byte sequence is ever cut in half.
std::string utf8ToMacRoman(std::string_view utf8);

// One step of strict UTF-8 decoding: the code point at the start of `text` and
// the bytes it took, or nothing and the length of the ill-formed subpart (>= 1).
struct Utf8Step {
  std::optional<char32_t> codePoint;
  std::size_t length = 0;
};
Utf8Step decodeUtf8(std::string_view text);

// Appends the UTF-8 form of a valid code point.
void appendUtf8(std::string& out, char32_t codePoint);

// True when the whole string is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

}  // namespace hostsim
