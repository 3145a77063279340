#include "mac_roman.h"

#include <array>

namespace hostsim {
namespace {

// Bytes 0x80-0xFF, the standard Mac Roman table (0xDB is the euro sign, as
// since Mac OS 8.5; 0xF0 is the maker's logo in the private use area).
constexpr std::array<char16_t, 128> kHighHalf = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // D0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,  // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // F8
};

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

char32_t macRomanToCodePoint(std::uint8_t byte) {
  return byte < 0x80 ? char32_t{byte} : char32_t{kHighHalf[byte - 0x80]};
}

std::optional<std::uint8_t> codePointToMacRoman(char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<std::uint8_t>(codePoint);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == codePoint) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

Utf8Step decodeUtf8(std::string_view text) {
  if (text.empty()) return {std::nullopt, 0};
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) return {char32_t{b0}, 1};

  std::size_t need = 0;
  char32_t cp = 0;
  // Bounds of the second byte exclude overlong forms, surrogates and > U+10FFFF.
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return {std::nullopt, 1};
  }
  for (std::size_t i = 1; i <= need; ++i) {
    if (i >= text.size()) return {std::nullopt, i};
    const auto b = static_cast<unsigned char>(text[i]);
    const bool ok = i == 1 ? (b >= lo && b <= hi) : isContinuation(b);
    if (!ok) return {std::nullopt, i};
    cp = (cp << 6) | (b & 0x3F);
  }
  return {cp, need + 1};
}

bool isValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const Utf8Step step = decodeUtf8(text);
    if (!step.codePoint) return false;
    text.remove_prefix(step.length);
  }
  return true;
}

std::string macRomanToUtf8(std::string_view macRoman) {
  std::string out;
  out.reserve(macRoman.size());
  for (char c : macRoman) appendUtf8(out, macRomanToCodePoint(static_cast<std::uint8_t>(c)));
  return out;
}

std::string utf8ToMacRoman(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    // Names and numbers are mostly ASCII, the same byte in both.
    if (static_cast<unsigned char>(utf8.front()) < 0x80) {
      out += utf8.front();
      utf8.remove_prefix(1);
      continue;
    }
    const Utf8Step step = decodeUtf8(utf8);
    std::optional<std::uint8_t> byte;
    if (step.codePoint) byte = codePointToMacRoman(*step.codePoint);
    out += byte ? static_cast<char>(*byte) : kMacRomanStandIn;
    utf8.remove_prefix(step.length);
  }
  return out;
}

}  // namespace hostsim
