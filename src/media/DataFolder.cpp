#include "media/DataFolder.h"
#include "media/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Normal(const fs::path& Folder) {
  std::string s = Utf8Name(Folder.lexically_normal());
  if (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::vector<std::string> DataFolderCandidates(const TDataPlaces& Places) {
  if (!Places.Option.empty()) return {Normal(Utf8Path(Places.Option))};
  if (!Places.Environment.empty()) return {Normal(Utf8Path(Places.Environment))};
  std::vector<std::string> out;
  auto add = [&](const fs::path& Folder) {
    const std::string n = Normal(Folder);
    if (std::find(out.begin(), out.end(), n) == out.end()) out.push_back(n);
  };
  if (!Places.ProgramFolder.empty()) {
    add(Utf8Path(Places.ProgramFolder));
    if (!Places.RelativeToProgram.empty())
      add(Utf8Path(Places.ProgramFolder) / Utf8Path(Places.RelativeToProgram));
  }
  if (!Places.InstallFolder.empty()) add(Utf8Path(Places.InstallFolder));
  return out;
}

TDataSearch FindDataFolder(const TDataPlaces& Places, const TDataTest& Holds) {
  TDataSearch search;
  for (const auto& folder : DataFolderCandidates(Places)) {
    search.Tried.push_back(folder);
    if (Holds(folder)) {
      search.Found = folder;
      break;
    }
  }
  return search;
}

bool HoldsGameData(const std::string& Folder) {
  std::error_code ec;
  for (const char* file : {"Bitmaps/SetupBars.dxg", "Bitmaps/FaceMask.dxg"})
    if (!fs::is_regular_file(Utf8Path(Folder) / file, ec)) return false;
  return true;
}

std::string NoDataMessage(const std::vector<std::string>& Tried) {
  std::string m = "no game data (Bitmaps/SetupBars.dxg, Bitmaps/FaceMask.dxg) in ";
  if (Tried.empty()) return m + "any folder: the program's folder is unknown; name one with --data";
  for (size_t i = 0; i < Tried.size(); ++i) m += (i ? ", " : "") + Tried[i];
  return m + "; name the folder with --data or ZELGORA_DATA";
}
