#include "mac_roman.h"

#include <gtest/gtest.h>

#include <set>

namespace hostsim {
namespace {

TEST(MacRoman, FrenchLettersAndSignsOfThePlugInAreSingleBytes) {
  struct Case {
    std::uint8_t byte;
    const char* utf8;
  };
  const Case cases[] = {
      {0x8E, "é"}, {0x88, "à"}, {0x9E, "û"}, {0xA5, "•"}, {0xC9, "…"}, {0x8F, "è"},
      {0x90, "ê"}, {0x8D, "ç"}, {0xE7, "Á"}, {0x83, "É"}, {0xCA, "\u00A0"}, {0xDB, "€"},
      {0xD2, "“"}, {0xD5, "’"}, {0xF0, "\uF8FF"}, {0xFF, "ˇ"}, {0x80, "Ä"}, {0xD0, "–"},
  };
  for (const Case& c : cases) {
    const std::string byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(macRomanToUtf8(byte), c.utf8) << std::hex << int(c.byte);
    EXPECT_EQ(utf8ToMacRoman(c.utf8), byte) << std::hex << int(c.byte);
  }
}

TEST(MacRoman, EveryByteRoundTripsAndNoTwoBytesShareACharacter) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToMacRoman(macRomanToUtf8(all)), all);
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) EXPECT_TRUE(seen.insert(macRomanToCodePoint(static_cast<std::uint8_t>(b))).second);
}

TEST(MacRoman, StampLayerTitleConvertsBothWays) {
  const std::string macRoman = "QZV\xA5""Estampilleur";  // QZV•Estampilleur
  EXPECT_EQ(macRomanToUtf8(macRoman), "QZV•Estampilleur");
  EXPECT_EQ(utf8ToMacRoman("Fichier non enregistré"), "Fichier non enregistr\x8E");
}

TEST(MacRoman, CharactersMacRomanLacksBecomeOneStandInEach) {
  EXPECT_EQ(utf8ToMacRoman("a€b"), "a\xDB""b");
  EXPECT_EQ(utf8ToMacRoman("x日本y"), "x??y");         // 3-byte characters
  EXPECT_EQ(utf8ToMacRoman("😀!"), "?!");              // 4-byte character
  EXPECT_EQ(utf8ToMacRoman("Ł"), "?");
}

TEST(MacRoman, IllFormedUtf8BecomesStandInsWithoutSwallowingNeighbours) {
  EXPECT_EQ(utf8ToMacRoman("a\xFF""b"), "a?b");
  EXPECT_EQ(utf8ToMacRoman("\xC3"), "?");               // cut at the end
  EXPECT_EQ(utf8ToMacRoman("\xE2\x82""A"), "?A");       // truncated sequence is one stand-in
  EXPECT_EQ(utf8ToMacRoman("\x80\x80"), "??");          // stray continuations
  EXPECT_EQ(utf8ToMacRoman("\xC0\xAF"), "??");          // overlong '/'
  EXPECT_EQ(utf8ToMacRoman("\xED\xA0\x80"), "???");     // surrogate
  EXPECT_EQ(utf8ToMacRoman("\xF4\x90\x80\x80"), "????"); // beyond U+10FFFF
  EXPECT_EQ(utf8ToMacRoman("\xC3\xA9\xC3"), "\x8E?");
}

TEST(MacRoman, Utf8Validity) {
  EXPECT_TRUE(isValidUtf8("Mardi 10 avril 2012 — é"));
  EXPECT_FALSE(isValidUtf8("\x8E"));
  EXPECT_TRUE(isValidUtf8(""));
}

}  // namespace
}  // namespace hostsim
