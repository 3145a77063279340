#include "mac_roman.h"

#include <gtest/gtest.h>

#include <set>

namespace hostsim {
namespace {

TEST(MacRoman, EveryByteRoundTripsAndTheFrenchLettersAndSignsAreSingleBytes) {
  const std::pair<std::uint8_t, const char*> cases[] = {
      {0x8E, "é"}, {0x88, "à"}, {0x9E, "û"}, {0xA5, "•"}, {0xC9, "…"}, {0x8F, "è"},
      {0x90, "ê"}, {0x8D, "ç"}, {0xE7, "Á"}, {0x83, "É"}, {0xCA, "\u00A0"}, {0xDB, "€"},
      {0xD2, "“"}, {0xD5, "’"}, {0xF0, "\uF8FF"}, {0xFF, "ˇ"}, {0x80, "Ä"}, {0xD0, "–"},
  };
  for (const auto& [byte, utf8] : cases) {
    EXPECT_EQ(macRomanToUtf8(std::string(1, static_cast<char>(byte))), utf8) << std::hex << int(byte);
    EXPECT_EQ(utf8ToMacRoman(utf8), std::string(1, static_cast<char>(byte))) << std::hex << int(byte);
  }
  EXPECT_EQ(macRomanToUtf8("QZV\xA5""Estampilleur"), "QZV•Estampilleur");
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToMacRoman(macRomanToUtf8(all)), all);
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) EXPECT_TRUE(seen.insert(macRomanToCodePoint(static_cast<std::uint8_t>(b))).second);
}

TEST(MacRoman, WhatMacRomanLacksAndIllFormedUtf8BecomeStandInsWithoutSwallowingNeighbours) {
  const std::pair<const char*, const char*> cases[] = {
      {"a€b", "a\xDB""b"}, {"x日本y", "x??y"}, {"😀!", "?!"}, {"Ł", "?"},
      {"a\xFF""b", "a?b"},
      {"\xC3", "?"},                 // cut at the end
      {"\xE2\x82""A", "?A"},         // a truncated sequence is one stand-in
      {"\x80\x80", "??"},            // stray continuations
      {"\xC0\xAF", "??"},            // overlong '/'
      {"\xED\xA0\x80", "???"},       // surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xC3\xA9\xC3", "\x8E?"},
  };
  for (const auto& [utf8, macRoman] : cases) EXPECT_EQ(utf8ToMacRoman(utf8), macRoman) << utf8;
  EXPECT_TRUE(isValidUtf8("Mardi 10 avril 2012 — é"));
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_FALSE(isValidUtf8("\x8E"));
}

}  // namespace
}  // namespace hostsim
