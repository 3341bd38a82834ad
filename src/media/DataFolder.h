// Where the game's data (Bitmaps/ and the fonts) lies: the first of the known places that
// holds it. The places come from the program entry; only HoldsGameData looks at the disk.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TDataPlaces {
  std::string Option;             // --data; empty when not given
  std::string Environment;        // ZELGORA_DATA; empty when unset
  std::string ProgramFolder;      // the folder of the program file; empty when unknown
  std::string RelativeToProgram;  // the installed data seen from the program's folder
  std::string InstallFolder;      // the installed data where the build meant it to go
};

// The folders to try, in order, each once. A folder the player named (option, then
// environment) is the only one: a mistyped name is reported, not passed over.
std::vector<std::string> DataFolderCandidates(const TDataPlaces& Places);

struct TDataSearch {
  std::optional<std::string> Found;
  std::vector<std::string> Tried;  // every candidate looked at, Found last
};

using TDataTest = std::function<bool(const std::string& Folder)>;
TDataSearch FindDataFolder(const TDataPlaces& Places, const TDataTest& Holds);

// True when Folder holds the image lists every edition reads.
bool HoldsGameData(const std::string& Folder);

// The one line that says no data was found, naming the folders tried.
std::string NoDataMessage(const std::vector<std::string>& Tried);
