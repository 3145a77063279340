// Info texts and their numbers: the worked tables (affiche.ai, 210 x 297 mm, first of two
// artboards, Tuesday 10 April 2012), weekdays and months, dates the host cannot give, numbers
// that do not fit. Names at the system's length limit are the hostile names' tests.
#include <cstring>
#include <limits>
#include <string>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;

const std::string kSep = " - ";
const std::string kUnsaved = "Fichier non enregistr\x8E";  // "Fichier non enregistré"

// What a composer writes into its buffer, filled with junk first: none of it may show.
template <size_t N, typename Compose>
std::string Composed(char (&buffer)[N], Compose compose) {
  memset(buffer, '?', N);
  compose(buffer);
  return buffer;
}

class InfoTexts : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    openDocument({{595.28, 841.89}, {595.28, 841.89}});
    NbrPlans = 2;
  }
  std::string name() { return Composed(TexteNomFichier, TrouveNomFichier); }
  std::string size() { return Composed(TexteTaille, [](char* b) { TrouveTaille(b, 0); }); }
  std::string date(int32_t format) {
    FormatDate = format;
    return Composed(TexteDate, [](char* b) { EXPECT_EQ(TrouveDate(b), b); });
  }
  std::string date(int32_t format, int year, int month, int day) {
    setDate(year, month, day);
    return date(format);
  }
};

// The worked table: which separators each text carries for the layout and the items shown.
TEST_F(InfoTexts, SeparatorsFollowTheLayoutAndTheItemsShown) {
  EXPECT_EQ(name(), kSep + kUnsaved);
  saveDocumentAs("affiche.ai");
  const struct {
    bool stacked, number, name, date;
    std::string nameText, sizeText;
  } cases[] = {{false, true, true, true, kSep + "affiche.ai", kSep + "210 mm x 297 mm" + kSep},
               {true, true, true, true, kSep + "affiche.ai", "210 mm x 297 mm"},
               {false, false, false, true, "affiche.ai", "210 mm x 297 mm" + kSep},
               {false, true, true, false, kSep + "affiche.ai", kSep + "210 mm x 297 mm"}};
  for (const auto& c : cases) {
    InfosSuperposees = c.stacked;
    CaseAvecNumero = c.number;
    CaseAvecNom = c.name;
    CaseAvecDate = c.date;
    EXPECT_EQ(Composed(TexteNumero, [](char* b) { TrouveNumero(0, b); }), "1/2");
    EXPECT_EQ(name(), c.nameText);
    EXPECT_EQ(size(), c.sizeText);
  }
  EXPECT_EQ(date(0), "Mardi 10 avril 2012");
  EXPECT_EQ(date(1), "Mar 10 avr 2012");
  EXPECT_EQ(date(2), "10/04/2012");
}

// The day is never padded, a damaged format writes the long date, what the host cannot give
// is left out.
TEST_F(InfoTexts, DatesInTheThreeFormats) {
  // 6 to 12 April 2012 run from a Friday to a Thursday.
  const char* days[][2] = {{"Vendredi", "Ven"}, {"Samedi", "Sam"},     {"Dimanche", "Dim"}, {"Lundi", "Lun"},
                           {"Mardi", "Mar"},    {"Mercredi", "Mer"}, {"Jeudi", "Jeu"}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(date(0, 2012, 4, 6 + i), days[i][0] + (" " + std::to_string(6 + i)) + " avril 2012");
    EXPECT_EQ(date(1), days[i][1] + (" " + std::to_string(6 + i)) + " avr 2012");
  }
  const char* months[][2] = {{"janvier", "jan"},     {"f\x8Evrier", "f\x8Ev"}, {"mars", "mars"},
                             {"avril", "avr"},       {"mai", "mai"},          {"juin", "jui"},
                             {"juillet", "jui"},     {"ao\x9Et", "ao\x9E"},   {"septembre", "sep"},
                             {"octobre", "oct"},     {"novembre", "nov"},     {"d\x8E" "cembre", "d\x8E" "c"}};
  for (int month = 1; month <= 12; ++month) {
    SCOPED_TRACE(month);
    const std::string longDate = date(0, 2013, month, 15);
    EXPECT_EQ(longDate.substr(longDate.find(' ')), std::string(" 15 ") + months[month - 1][0] + " 2013");
    EXPECT_EQ(date(1).substr(3), std::string(" 15 ") + months[month - 1][1] + " 2013");
    EXPECT_EQ(date(2), "15/" + std::string(month < 10 ? "0" : "") + std::to_string(month) + "/2013");
  }
  EXPECT_EQ(date(2, 2012, 1, 1), "1/01/2012");
  EXPECT_EQ(date(1, 2012, 7, 5), "Jeu 5 jui 2012");
  EXPECT_EQ(date(0, 2012, 12, 31), "Lundi 31 d\x8E" "cembre 2012");
  for (int32_t damaged : {7, -1}) EXPECT_EQ(date(damaged, 2012, 4, 10), "Mardi 10 avril 2012");
  failNextCall("AI User Suite.GetDayOfWeek", fourcc("DAY?"));
  EXPECT_EQ(date(0), "10 avril 2012");
  failNextCall("AI User Suite.GetMonth", fourcc("MON?"));
  failNextCall("AI User Suite.GetMonth", fourcc("MON?"), 2);
  EXPECT_EQ(date(0), "Mardi 102012");
  EXPECT_EQ(date(2), "10/2012");
}

TEST_F(InfoTexts, OverlongSeparatorInMemoryIsUsedUpToTwentyCharacters) {
  memset(Separateur, '+', 21);
  Separateur[21] = '\0';
  EXPECT_EQ(name(), std::string(20, '+') + kUnsaved);
  InfosSuperposees = false;
  EXPECT_EQ(size(), std::string(20, '+') + "210 mm x 297 mm" + std::string(20, '+'));
}

struct Worked {
  float value;
  int decimals;
  const char* text;
};

class NumberTable : public ::testing::TestWithParam<Worked> {};

TEST_P(NumberTable, WritesTextAndLength) {
  const Worked& row = GetParam();
  char buffer[32];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(NombreEnChaine(row.value, static_cast<char>(row.decimals), buffer, sizeof buffer),
            static_cast<int>(strlen(row.text)));
  EXPECT_STREQ(buffer, row.text);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, NumberTable,
    ::testing::Values(Worked{210.0f, 0, "210"}, Worked{297.5f, 0, "298"}, Worked{297.49f, 0, "297"},
                      Worked{0.4f, 0, "0"}, Worked{0.5f, 0, "1"}, Worked{5.0f, 0, "5"}, Worked{10.0f, 0, "10"},
                      Worked{2012.0f, 0, "2012"}, Worked{297.5f, 1, "297,5"}, Worked{3.14159f, 2, "3,14"},
                      Worked{0.05f, 1, "0,1"}, Worked{0.999f, 2, "1,00"}, Worked{12.345f, 2, "12,35"},
                      Worked{7.25f, 1, "7,3"}, Worked{0.0f, 2, "0,00"}, Worked{297.5f, -3, "298"},
                      Worked{100.0f, 0, "100"}, Worked{1000.0f, 0, "1000"}, Worked{10000.0f, 0, "10000"},
                      Worked{999.0f, 0, "999"}, Worked{99.5f, 0, "100"}, Worked{9.5f, 0, "10"}, Worked{1.0f, 0, "1"},
                      Worked{16777216.0f, 0, "16777216"}, Worked{0.7f, 1, "0,7"}, Worked{215.9f, 0, "216"},
                      Worked{279.4f, 0, "279"}, Worked{-297.5f, 0, "-298"}, Worked{-0.4f, 0, "0"},
                      Worked{-0.0f, 0, "0"}, Worked{-12.345f, 2, "-12,35"}, Worked{-0.001f, 2, "0,00"}));

// Never a byte past the capacity: a text that does not fit whole is no text at all.
TEST(NombreEnChaine, StaysInsideItsBuffer) {
  const struct {
    float value;
    size_t capacity;
    const char* text;
  } cases[] = {{2012.0f, 5, "2012"},
               {2012.0f, 4, ""},
               {3.4e38f, 64, "340000000000000000000000000000000000000"},
               {std::numeric_limits<float>::quiet_NaN(), 16, ""},
               {std::numeric_limits<float>::infinity(), 16, ""}};
  for (const auto& c : cases) {
    char buffer[72];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(NombreEnChaine(c.value, 0, buffer, c.capacity), static_cast<int>(strlen(c.text))) << c.value;
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(std::string(buffer + c.capacity, buffer + sizeof buffer), std::string(sizeof buffer - c.capacity, 'x'));
  }
  char octet = 'x';
  EXPECT_EQ(NombreEnChaine(5.0f, 0, &octet, 0), 0);
  EXPECT_EQ(octet, 'x');
  EXPECT_EQ(NombreEnChaine(5.0f, 0, nullptr, 10), 0);
}

}  // namespace
