#include "ui/LanguageTable.h"

#include <array>
#include <memory>
#include <string>

#include "DXMain.h"

namespace {

// Letters beyond ASCII are Windows-1250 bytes; a literal is split where a hex escape would
// otherwise swallow the letter after it.
constexpr std::array<TLanguageEntry, 57> Entries = {{
    {"Help1", " 1. Use cursor keys to move scene ", " 1. Pou\x9Ei \x9A\xEDpky pre pohym sc\xE9ny"},
    {"Help2", " 2. Use SHIFT and cursor keys to rotate selected cube ",
     " 2. Pou\x9Ei SHIFT a \x9A\xEDpky pre ot\xE1\xE8"
     "anie aktu\xE1lnej kocky"},
    {"Help3", " 3. Use CTRL  and Up/Down keys to Zoom ",
     " 3. Pou\x9Ei CONTROL a \x9A\xEDpky pre pribl\xED\x9E"
     "enie/oddialenie sc\xE9ny"},
    {"Help4", " 4. Use ALT to start next level ",
     " 4. Pou\x9E\xED ALT kl\xE1vesu pre prechod do \xEF"
     "al\x9Aieho kola"},
    {"Help5", " 5. Use ESC key to close game          ",
     " 5, Pou\x9Ei ESC kl\xE1vesu pre ukon\xE8"
     "enie hry"},
    {"Help6", " 6. Use ALT + ENTER to Full screen/window",
     " 6. Pou\x9Ei ALT+ENTER pre celoobrazovkov\xFD m\xF3"
     "d"},
    {"Help7", " 7. Use F2 to show/hide background",
     " 7. F2 zap\xEDna alebo vyp\xEDna zobrazovanie pozadia "},
    {"Help8", " 8. Use F3 to change Easy/Normal mode",
     " 8. F3 men\xED re\x9Eim za\xE8iato\xE8n\xEDk/profesion\xE1l"},
    {"Help9", " 9. Use F4 to enable/disable sound",
     " 9. F4 zap\xEDna alebo vyp\xEDna zvukov\xE9 efekty"},
    {"Help10", "10. Use F5 to change Slovak/English language ",
     "10. F5 prep\xEDna jazyky Slovensk\xFD/Anglick\xFD"},
    {"Help11", " Use F1 key to Show/hide this help information ",
     "  F1 zobrazuje alebo skr\xFDva t\xFAto n\xE1povedu"},
    {"Help0Sorvane", " H E L P - Zelgora - SORVANE edition",
     " N\xC1POVEDA - Zelgora - SORVANE edition"},
    {"Help0Tobrin", " H E L P - Zelgora - ", " N\xC1POVEDA - Zelgora - "},
    {"HelpDeveloperTB", "                                  Tobrin ",
     "                                  Tobrin "},
    {"HelpDeveloperTobrin", "              -Tobrin-2007-www.example.com- ",
     "              -Tobrin-2007-www.example.com- "},
    {"HelpDeveloperSorvane", "              developed by Tobrin (2007)",
     "                           Tobrin (2007)"},
    {"Credits", "Credits", "Sk\xF3re"},
    {"Level", "Level", "\xDArove\xF2"},
    {"HELP", "F1 - HELP", "F1-POMOC"},
    {"(show/hide)", "(show/hide)", "(zobraz/skry)"},
    {"Setup0_0Sorvane", "Waterland", "Vodn\xFD svet"},
    {"Setup0_1Sorvane", "HotHouse", "Sauny"},
    {"Setup1_0Sorvane", "No sound", "Potichu"},
    {"Setup1_1Sorvane", "Sound", "So zvukmi"},
    {"Setup2_0Sorvane", "Beginer", "Za\xE8iato\xE8n\xEDk"},
    {"Setup2_1Sorvane", "Profi", "Prof\xEDk"},
    {"Setup3_0Sorvane", "Slovensky", "Slovensky"},
    {"Setup3_1Sorvane", "English", "English"},
    {"Setup4_0Sorvane", "GO PLAY !", "\x8Atart hry"},
    {"Setup4_1Sorvane", "GO PLAY !", "\x8Atart hry"},
    {"Setup0_0Tobrin", "Nature", "Pr\xEDroda"},
    {"Setup0_1Tobrin", "Technical", "Technika"},
    {"Setup1_0Tobrin", "No sound", "Potichu"},
    {"Setup1_1Tobrin", "Sound", "So zvukmi"},
    {"Setup2_0Tobrin", "Beginer", "Za\xE8iato\xE8n\xEDk"},
    {"Setup2_1Tobrin", "Profi", "Prof\xEDk"},
    {"Setup3_0Tobrin", "Slovensky", "Slovensky"},
    {"Setup3_1Tobrin", "English", "English"},
    {"Setup4_0Tobrin", "GO PLAY !", "\x8Atart hry"},
    {"Setup4_1Tobrin", "GO PLAY !", "\x8Atart hry"},
    {"HelpSetup1", " 1. Use UP/DOWN cursor keys to select ITEM ",
     " 1. Pou\x9Ei \x9A\xEDpky hore a dole pre v\xFD"
     "ber polo\x9Eky"},
    {"HelpSetup2", " 2. Use LEFT/RIGHT cursor keys ",
     " 2. Pou\x9Ei \x9A\xEDpky DO\xBC"
     "AVA/DOPRAVA alebo "},
    {"HelpSetup3", "     or SPACEBAR to change setup ",
     "        alebo MEDZEROVN\xCDK pre zmenu nastavenia"},
    {"HelpSetup4", " 3. Activate \"GO PALY !\" item to start play game",
     " 3, Aktivuj \"\x8Atart hry\" tla\xE8\xEDtko pre za\xE8"
     "atie hry"},
    {"GOver0Sorvane", " Zelgora - SORVANE edition  ",
     "Zelgora - SORVANE ed\xED"
     "cia "},
    {"GOver0Tobrin", " Zelgora - www.example.com ", " Zelgora - www.example.com  "},
    {"GOver1Sorvane", " ", "  "},
    {"GOver2Sorvane", "  G A M E    O V E R ", " K O N I E C   H R Y "},
    {"GOver3Sorvane", "  You can win free ticets to Sorvane WELLNESS  ",
     " M\xF4\x9E"
     "ete vyhra\x9D vo\xBEn\xE9 vstupenky do SORVANE relaxcentra "},
    {"GOver4Sorvane", "  Your persovnal loterry ticket number is  :  ",
     " V\xE1\x9A \x9Erebovac\xED k\xF3"
     "d je : "},
    {"GOver5Sorvane", "  Use this code :",
     " Pou\x9Eite tento k\xF3"
     "d : "},
    {"GOver6Sorvane", "      for web loterry  ", " na zaradenie do lot\xE9rie na str\xE1nkach  "},
    {"GOver7Sorvane", "    lottery.example.com ", " lottery.example.com "},
    {"GOver8Sorvane", "   And check your win !", " a skontrolujte, \xE8i je v\xFDhern\xFD "},
    {"GOver9Sorvane", "   Press ESC to quit Zelgora.",
     " Stla\xE8te ESC pre ukon\xE8"
     "enie programu"},
    {"GOver1Tobrin", " ", "  "},
    {"GOver2Tobrin", " Press ESC to quit Zelgora ",
     " Stla\xE8te ESC pre ukon\xE8"
     "enie programu"},
}};

}  // namespace

std::span<const TLanguageEntry> LanguageTableEntries() {
  return Entries;
}

void TMainForm::BuildLanguageTable() {
  Languages = std::make_unique<THLanguages>();
  for (const auto& e : LanguageTableEntries())
    Languages->AddString(std::string(e.Key), std::string(e.Text0), std::string(e.Text1));
}
