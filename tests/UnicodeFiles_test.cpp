// File names are UTF-8: every reader and writer opens files under a folder whose name is not
// ASCII, as a Slovak player's user folder is. (Windows' narrow file functions would take the
// name in the system's code page and miss the file.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestFiles.h"
#include "harness/KeyScript.h"
#include "harness/Recorder.h"
#include "media/DXDraws.h"
#include "media/DataFolder.h"
#include "media/Utf8Path.h"

namespace {

namespace fs = std::filesystem;

class UnicodeFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Root = Utf8Name(TestOutDir("unicode-files")) + "/Používateľ Ďalší/Hry ščťžô";
    fs::remove_all(Utf8Path(Root));
    fs::create_directories(Utf8Path(Root + "/Bitmaps"));
  }
  std::string Root;  // UTF-8
};

TEST_F(UnicodeFiles, ImageListsAreWrittenReadAndFoundAsGameData) {
  TPictureCollection common;
  common.LoadFromFile(std::string(ZELGORA_BUILD_DIR) + "/Bitmaps/FaceMask.dxg");
  ASSERT_GT(common.Count(), 0);
  common.SaveToFile(Root + "/Bitmaps/FaceMask.dxg");
  common.SaveToFile(Root + "/Bitmaps/SetupBars.dxg");
  EXPECT_TRUE(fs::is_regular_file(Utf8Path(Root + "/Bitmaps/FaceMask.dxg")));

  TPictureCollection back;
  back.LoadFromFile(Root + "/Bitmaps/FaceMask.dxg");
  ASSERT_EQ(back.Count(), common.Count());
  EXPECT_EQ(back.Items(0).Name(), common.Items(0).Name());

  EXPECT_TRUE(HoldsGameData(Root));
  TDataPlaces places;
  places.ProgramFolder = Root + "/";
  const TDataSearch search = FindDataFolder(places, HoldsGameData);
  ASSERT_TRUE(search.Found);
  EXPECT_EQ(*search.Found, Root);  // the name comes back as it went in
}

TEST_F(UnicodeFiles, KeyScriptsAreRecordedAndReadBack) {
  const std::string file = Root + "/session ľ.keys";
  TKeyRecorder recorder(file, 7, TLocalDateTime{2026, 1, 2, 3, 4, 5});
  recorder.Add({3, true, 0x70});
  recorder.Add({9, false, 0x70});
  recorder.Finish();
  const TKeyScript script = LoadKeyScript(file);
  ASSERT_EQ(script.Events.size(), 2u);
  EXPECT_EQ(script.Events[1], (TKeyEvent{9, false, 0x70}));
  EXPECT_EQ(script.Seed, 7u);
}

}  // namespace
