// Info texts: the worked table (a saved affiche.ai, 210 x 297 mm, first of two artboards,
// Tuesday 10 April 2012), the weekday and month tables through the host's clock, unsaved
// and over-long file names, and dates the host should never give.
#include <cstring>
#include <string>

#include "support/plugin_host.h"

namespace engine_test {
using namespace testsupport;
namespace {

class InfoTexts : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    openDocument({{595.28, 841.89}, {595.28, 841.89}});
    NbrPlans = 2;
  }

  std::string name() {
    memset(TexteNomFichier, '?', sizeof TexteNomFichier);
    TrouveNomFichier(TexteNomFichier);
    return TexteNomFichier;
  }
  std::string number(long index) {
    memset(TexteNumero, '?', sizeof TexteNumero);
    TrouveNumero(index, TexteNumero);
    return TexteNumero;
  }
  std::string size(long index) {
    memset(TexteTaille, '?', sizeof TexteTaille);
    TrouveTaille(TexteTaille, index);
    return TexteTaille;
  }
  std::string date(int32_t format) {
    FormatDate = format;
    strcpy(TexteDate, "left over");
    EXPECT_EQ(TrouveDate(TexteDate), TexteDate);
    return TexteDate;
  }
  std::string date(int32_t format, int year, int month, int day) {
    setDate(year, month, day);
    return date(format);
  }
};

const std::string kSep = " - ";

// The worked table: which separators each text carries for the layout and the items shown.
TEST_F(InfoTexts, SeparatorsFollowTheLayoutAndTheItemsShown) {
  struct Case {
    bool stacked, number, name, date;
    std::string nameText, sizeText;
  };
  const Case cases[] = {
      {false, true, true, true, kSep + "affiche.ai", kSep + "210 mm x 297 mm" + kSep},
      {true, true, true, true, kSep + "affiche.ai", "210 mm x 297 mm"},
      {false, false, false, true, "affiche.ai", "210 mm x 297 mm" + kSep},
      {false, true, true, false, kSep + "affiche.ai", kSep + "210 mm x 297 mm"},
  };
  saveDocumentAs("affiche.ai");
  for (const Case& c : cases) {
    InfosSuperposees = c.stacked;
    CaseAvecNumero = c.number;
    CaseAvecNom = c.name;
    CaseAvecDate = c.date;
    EXPECT_EQ(number(0), "1/2");
    EXPECT_EQ(name(), c.nameText);
    EXPECT_EQ(size(0), c.sizeText);
  }
  EXPECT_EQ(date(0), "Mardi 10 avril 2012");
  EXPECT_EQ(date(1), "Mar 10 avr 2012");
  EXPECT_EQ(date(2), "10/04/2012");
}

TEST_F(InfoTexts, SizesInWholeMillimetres) {
  openDocument({{612, 792}, {1.4, 100}});
  EXPECT_EQ(size(0), "216 mm x 279 mm");
  EXPECT_EQ(size(1), "0 mm x 35 mm");  // narrower than half a millimetre
}

TEST_F(InfoTexts, UnsavedDocument) {
  EXPECT_EQ(name(), kSep + "Fichier non enregistr\x8E");  // "Fichier non enregistré"
  CaseAvecNumero = false;
  EXPECT_EQ(name(), "Fichier non enregistr\x8E");
}

TEST_F(InfoTexts, FileNameKeepsItsExtensionAndNothingElseChanges) {
  saveDocumentAs("Plan de masse v2.final.svg");
  CaseAvecNumero = false;
  EXPECT_EQ(name(), "Plan de masse v2.final.svg");
}

TEST_F(InfoTexts, NumbersOfTenArtboardsAndMore) {
  NbrPlans = 12;
  EXPECT_EQ(number(9), "10/12");
  EXPECT_EQ(number(11), "12/12");
  NbrPlans = 5;
  EXPECT_EQ(number(2), "3/5");
}

TEST_F(InfoTexts, WeekdaysFromFridayToThursday) {
  // 6 to 12 April 2012 run from a Friday to a Thursday.
  const char* longNames[] = {"Vendredi", "Samedi", "Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi"};
  const char* shortNames[] = {"Ven", "Sam", "Dim", "Lun", "Mar", "Mer", "Jeu"};
  for (int i = 0; i < 7; ++i) {
    std::string day = std::to_string(6 + i);
    EXPECT_EQ(date(0, 2012, 4, 6 + i), std::string(longNames[i]) + " " + day + " avril 2012");
    EXPECT_EQ(date(1, 2012, 4, 6 + i), std::string(shortNames[i]) + " " + day + " avr 2012");
  }
}

TEST_F(InfoTexts, MonthsInTheThreeFormats) {
  const char* longNames[] = {"janvier", "f\x8Evrier", "mars",    "avril",    "mai",
                             "juin",    "juillet",    "ao\x9Et", "septembre", "octobre",
                             "novembre", "d\x8E" "cembre"};
  const char* shortNames[] = {"jan", "f\x8Ev", "mars", "avr", "mai", "jui",
                              "jui", "ao\x9E", "sep",  "oct", "nov", "d\x8E" "c"};
  for (int month = 1; month <= 12; ++month) {
    std::string day0 = date(0, 2013, month, 15);
    std::string tail = std::string(" ") + longNames[month - 1] + " 2013";
    ASSERT_GE(day0.size(), tail.size());
    EXPECT_EQ(day0.substr(day0.size() - tail.size()), tail) << month;
    std::string day1 = date(1, 2013, month, 15);
    std::string shortTail = std::string(" 15 ") + shortNames[month - 1] + " 2013";
    EXPECT_EQ(day1.substr(3), shortTail) << month;
    char numeric[16];
    snprintf(numeric, sizeof numeric, "15/%02d/2013", month);
    EXPECT_EQ(date(2, 2013, month, 15), numeric);
  }
}

TEST_F(InfoTexts, DayOfMonthIsNeverPadded) {
  EXPECT_EQ(date(2, 2012, 1, 1), "1/01/2012");
  EXPECT_EQ(date(1, 2012, 7, 5), "Jeu 5 jui 2012");
  EXPECT_EQ(date(0, 2012, 12, 31), "Lundi 31 d\x8E" "cembre 2012");
}

TEST_F(InfoTexts, DamagedDateFormatWritesTheLongDate) {
  EXPECT_EQ(date(7), "Mardi 10 avril 2012");
  EXPECT_EQ(date(-1), "Mardi 10 avril 2012");
}

TEST_F(InfoTexts, WeekdayTheHostCannotGiveWritesNoDayNameAndNothingOld) {
  failNextCall("AI User Suite.GetDayOfWeek", fourcc("DAY?"));
  EXPECT_EQ(date(0), "10 avril 2012");
}

TEST_F(InfoTexts, MonthTheHostCannotGiveWritesNoMonth) {
  failNextCall("AI User Suite.GetMonth", fourcc("MON?"));
  failNextCall("AI User Suite.GetMonth", fourcc("MON?"), 2);
  EXPECT_EQ(date(0), "Mardi 102012");
  EXPECT_EQ(date(2), "10/2012");
}

class LongFileNames : public InfoTexts {
 protected:
  // A name of 245 bytes (the host saves through a temporary name 8 bytes longer, and names
  // stop at 255): 100 'A', 100 'm', then 'Z' up to "_v2.svg".
  static std::string longName(char version) {
    std::string stem = std::string(100, 'A') + std::string(100, 'm');
    std::string tail = std::string("_v") + version + ".svg";
    return stem + std::string(245 - stem.size() - tail.size(), 'Z') + tail;
  }
};

TEST_F(LongFileNames, FitAfterTheLongestSeparatorKeepingStartAndEnd) {
  memset(Separateur, '-', 20);
  Separateur[20] = '\0';
  std::string full = longName('2');
  saveDocumentAs(full);
  std::string text = name();
  ASSERT_EQ(text.size(), 255u);
  EXPECT_EQ(text.substr(0, 20), std::string(20, '-'));
  std::string shown = text.substr(20);
  size_t cut = shown.find('\xC9');  // "…"
  ASSERT_NE(cut, std::string::npos);
  EXPECT_EQ(shown.substr(0, cut), full.substr(0, cut));
  std::string end = shown.substr(cut + 1);
  EXPECT_EQ(end, full.substr(full.size() - end.size()));
  EXPECT_GE(end.size(), 100u);
}

TEST_F(LongFileNames, VersionsStillTellApart) {
  memset(Separateur, '-', 20);
  Separateur[20] = '\0';
  saveDocumentAs(longName('1'));
  std::string first = name();
  saveDocumentAs(longName('2'));
  std::string second = name();
  EXPECT_NE(first, second);
  EXPECT_EQ(first.substr(first.size() - 7), "_v1.svg");
}

TEST_F(LongFileNames, FitWithoutSeparatorNeedNoCut) {
  CaseAvecNumero = false;
  std::string full = longName('3');
  saveDocumentAs(full);
  EXPECT_EQ(name(), full);
}

TEST_F(InfoTexts, OverlongSeparatorInMemoryIsUsedUpToTwentyCharacters) {
  memset(Separateur, '+', 21);
  Separateur[21] = '\0';
  std::string text = name();
  EXPECT_EQ(text, std::string(20, '+') + "Fichier non enregistr\x8E");
  InfosSuperposees = false;
  EXPECT_EQ(size(0), std::string(20, '+') + "210 mm x 297 mm" + std::string(20, '+'));
}

}  // namespace
}  // namespace engine_test
