#include "ui/LanguageTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FormRig.h"
#include "media/CodePage.h"

namespace {

struct Expected {
  const char* Key;
  const char* Text0;
  const char* Text1;
};

// The whole table as it reads, in UTF-8; row 0 is the entry the table starts with.
const Expected Table[] = {
    {"Language", "English language", "Slovansky jazyk"},
    {"Help1", " 1. Use cursor keys to move scene ", " 1. Použi šípky pre pohym scény"},
    {"Help2", " 2. Use SHIFT and cursor keys to rotate selected cube ",
     " 2. Použi SHIFT a šípky pre otáčanie aktuálnej kocky"},
    {"Help3", " 3. Use CTRL  and Up/Down keys to Zoom ",
     " 3. Použi CONTROL a šípky pre priblíženie/oddialenie scény"},
    {"Help4", " 4. Use ALT to start next level ",
     " 4. Použí ALT klávesu pre prechod do ďalšieho kola"},
    {"Help5", " 5. Use ESC key to close game          ", " 5, Použi ESC klávesu pre ukončenie hry"},
    {"Help6", " 6. Use ALT + ENTER to Full screen/window",
     " 6. Použi ALT+ENTER pre celoobrazovkový mód"},
    {"Help7", " 7. Use F2 to show/hide background",
     " 7. F2 zapína alebo vypína zobrazovanie pozadia "},
    {"Help8", " 8. Use F3 to change Easy/Normal mode", " 8. F3 mení režim začiatočník/profesionál"},
    {"Help9", " 9. Use F4 to enable/disable sound", " 9. F4 zapína alebo vypína zvukové efekty"},
    {"Help10", "10. Use F5 to change Slovak/English language ",
     "10. F5 prepína jazyky Slovenský/Anglický"},
    {"Help11", " Use F1 key to Show/hide this help information ",
     "  F1 zobrazuje alebo skrýva túto nápovedu"},
    {"Help0Sorvane", " H E L P - Zelgora - SORVANE edition",
     " NÁPOVEDA - Zelgora - SORVANE edition"},
    {"Help0Tobrin", " H E L P - Zelgora - ", " NÁPOVEDA - Zelgora - "},
    {"HelpDeveloperTB", "                                  Tobrin ",
     "                                  Tobrin "},
    {"HelpDeveloperTobrin", "              -Tobrin-2007-www.example.com- ",
     "              -Tobrin-2007-www.example.com- "},
    {"HelpDeveloperSorvane", "              developed by Tobrin (2007)",
     "                           Tobrin (2007)"},
    {"Credits", "Credits", "Skóre"},
    {"Level", "Level", "Úroveň"},
    {"HELP", "F1 - HELP", "F1-POMOC"},
    {"(show/hide)", "(show/hide)", "(zobraz/skry)"},
    {"Setup0_0Sorvane", "Waterland", "Vodný svet"},
    {"Setup0_1Sorvane", "HotHouse", "Sauny"},
    {"Setup1_0Sorvane", "No sound", "Potichu"},
    {"Setup1_1Sorvane", "Sound", "So zvukmi"},
    {"Setup2_0Sorvane", "Beginer", "Začiatočník"},
    {"Setup2_1Sorvane", "Profi", "Profík"},
    {"Setup3_0Sorvane", "Slovensky", "Slovensky"},
    {"Setup3_1Sorvane", "English", "English"},
    {"Setup4_0Sorvane", "GO PLAY !", "Štart hry"},
    {"Setup4_1Sorvane", "GO PLAY !", "Štart hry"},
    {"Setup0_0Tobrin", "Nature", "Príroda"},
    {"Setup0_1Tobrin", "Technical", "Technika"},
    {"Setup1_0Tobrin", "No sound", "Potichu"},
    {"Setup1_1Tobrin", "Sound", "So zvukmi"},
    {"Setup2_0Tobrin", "Beginer", "Začiatočník"},
    {"Setup2_1Tobrin", "Profi", "Profík"},
    {"Setup3_0Tobrin", "Slovensky", "Slovensky"},
    {"Setup3_1Tobrin", "English", "English"},
    {"Setup4_0Tobrin", "GO PLAY !", "Štart hry"},
    {"Setup4_1Tobrin", "GO PLAY !", "Štart hry"},
    {"HelpSetup1", " 1. Use UP/DOWN cursor keys to select ITEM ",
     " 1. Použi šípky hore a dole pre výber položky"},
    {"HelpSetup2", " 2. Use LEFT/RIGHT cursor keys ", " 2. Použi šípky DOĽAVA/DOPRAVA alebo "},
    {"HelpSetup3", "     or SPACEBAR to change setup ",
     "        alebo MEDZEROVNÍK pre zmenu nastavenia"},
    {"HelpSetup4", " 3. Activate \"GO PALY !\" item to start play game",
     " 3, Aktivuj \"Štart hry\" tlačítko pre začatie hry"},
    {"GOver0Sorvane", " Zelgora - SORVANE edition  ", "Zelgora - SORVANE edícia "},
    {"GOver0Tobrin", " Zelgora - www.example.com ", " Zelgora - www.example.com  "},
    {"GOver1Sorvane", " ", "  "},
    {"GOver2Sorvane", "  G A M E    O V E R ", " K O N I E C   H R Y "},
    {"GOver3Sorvane", "  You can win free ticets to Sorvane WELLNESS  ",
     " Môžete vyhrať voľné vstupenky do SORVANE relaxcentra "},
    {"GOver4Sorvane", "  Your persovnal loterry ticket number is  :  ", " Váš žrebovací kód je : "},
    {"GOver5Sorvane", "  Use this code :", " Použite tento kód : "},
    {"GOver6Sorvane", "      for web loterry  ", " na zaradenie do lotérie na stránkach  "},
    {"GOver7Sorvane", "    lottery.example.com ", " lottery.example.com "},
    {"GOver8Sorvane", "   And check your win !", " a skontrolujte, či je výherný "},
    {"GOver9Sorvane", "   Press ESC to quit Zelgora.", " Stlačte ESC pre ukončenie programu"},
    {"GOver1Tobrin", " ", "  "},
    {"GOver2Tobrin", " Press ESC to quit Zelgora ", " Stlačte ESC pre ukončenie programu"},
};

TEST(LanguageTable, EveryEntryInOrderAndExactly) {
  auto entries = LanguageTableEntries();
  ASSERT_EQ(entries.size() + 1, std::size(Table));
  for (size_t i = 0; i < entries.size(); ++i) {
    const Expected& want = Table[i + 1];
    SCOPED_TRACE(want.Key);
    EXPECT_EQ(entries[i].Key, want.Key);
    EXPECT_EQ(Cp1250ToUtf8(entries[i].Text0), want.Text0);
    EXPECT_EQ(Cp1250ToUtf8(entries[i].Text1), want.Text1);
  }
}

TEST(LanguageTable, TheFormBuildsTheWholeTableInOrder) {
  TFormRig rig;
  const THLanguages& table = *rig.Form->Languages;
  ASSERT_EQ(table.Strings.size(), std::size(Table));
  for (size_t i = 0; i < std::size(Table); ++i) {
    SCOPED_TRACE(Table[i].Key);
    EXPECT_EQ(table.Strings[i].Key, Table[i].Key);
    ASSERT_EQ(table.Strings[i].Texts.size(), 2u);
    EXPECT_EQ(Cp1250ToUtf8(table.Strings[i].Texts[0]), Table[i].Text0);
    EXPECT_EQ(Cp1250ToUtf8(table.Strings[i].Texts[1]), Table[i].Text1);
  }
  EXPECT_EQ(table.LanguageIndex, 1);
  EXPECT_EQ(table.GetString("Language"), "Slovansky jazyk");
  EXPECT_EQ(table.GetString("help1"), ".");
}

TEST(LanguageTable, KeysAreAsciiAndUnique) {
  std::set<std::string_view> keys{"Language"};
  for (const auto& e : LanguageTableEntries()) {
    for (char c : e.Key) EXPECT_LT(static_cast<unsigned char>(c), 0x80u) << e.Key;
    EXPECT_TRUE(keys.insert(e.Key).second) << e.Key;
  }
  EXPECT_EQ(keys.size(), 58u);
}

TEST(LanguageTable, SpacesAtTheEndsBelongToTheTexts) {
  auto find = [](std::string_view key) {
    for (const auto& e : LanguageTableEntries())
      if (e.Key == key) return e;
    return TLanguageEntry{};
  };
  auto ends = [](std::string_view t) {
    size_t lead = t.find_first_not_of(' ');
    size_t trail = t.size() - 1 - t.find_last_not_of(' ');
    return std::pair<size_t, size_t>(lead, trail);
  };
  EXPECT_EQ(ends(find("Help5").Text0), std::make_pair(size_t{1}, size_t{10}));
  EXPECT_EQ(ends(find("HelpDeveloperTB").Text1), std::make_pair(size_t{34}, size_t{1}));
  EXPECT_EQ(ends(find("HelpDeveloperSorvane").Text1), std::make_pair(size_t{27}, size_t{0}));
  EXPECT_EQ(ends(find("HelpSetup3").Text1), std::make_pair(size_t{8}, size_t{0}));
  EXPECT_EQ(ends(find("GOver6Sorvane").Text0), std::make_pair(size_t{6}, size_t{2}));
  EXPECT_EQ(find("GOver1Tobrin").Text1, "  ");
}

TEST(LanguageTable, WebAddressesAreOurs) {
  int developer = 0, lottery = 0;
  for (const auto& e : LanguageTableEntries()) {
    for (auto t : {e.Text0, e.Text1}) {
      developer += t.find(DeveloperWebAddress) != std::string_view::npos &&
                   t.find(LotteryWebAddress) == std::string_view::npos;
      lottery += t.find(LotteryWebAddress) != std::string_view::npos;
    }
  }
  EXPECT_EQ(developer, 4);  // HelpDeveloperTobrin and GOver0Tobrin, both languages
  EXPECT_EQ(lottery, 2);    // GOver7Sorvane
  EXPECT_NE(DeveloperWebAddress.find("example.com"), std::string_view::npos);
  EXPECT_NE(LotteryWebAddress.find("example.com"), std::string_view::npos);
}

}  // namespace
