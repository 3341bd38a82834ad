#include "media/DataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

TEST(DataFolder, CandidatesInOrder) {
  struct TCase {
    const char* What;
    TDataPlaces Places;
    std::vector<std::string> Expected;
  };
  const TCase cases[] = {
      {"the option alone, even with everything else known",
       {"/opt/art/", "/env", "/g/bin/", "../share/zelgora", "/usr/share/zelgora"},
       {"/opt/art"}},
      {"the environment alone when no option",
       {"", "/env/data", "/g/bin/", "../share/zelgora", "/usr/share/zelgora"},
       {"/env/data"}},
      {"beside the program, above it, then the install path",
       {"", "", "/g/bin/", "../share/zelgora", "/usr/share/zelgora"},
       {"/g/bin", "/g/share/zelgora", "/usr/share/zelgora"}},
      {"a place named twice is tried once",
       {"", "", "/usr/bin/", "../share/zelgora", "/usr/share/zelgora/"},
       {"/usr/bin", "/usr/share/zelgora"}},
      {"program folder unknown: the install path only",
       {"", "", "", "../share/zelgora", "/usr/share/zelgora"},
       {"/usr/share/zelgora"}},
      {"relative option kept relative", {"art/./x/", "", "/g/bin/", "", ""}, {"art/x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(DataFolderCandidates(c.Places), c.Expected) << c.What;
}

TEST(DataFolder, FindStopsAtTheFirstThatHoldsData) {
  const TDataPlaces places{"", "", "/g/bin/", "../share/zelgora", "/usr/share/zelgora"};
  std::vector<std::string> asked;
  const auto holds = [&](const std::string& Folder) {
    asked.push_back(Folder);
    return Folder == "/g/share/zelgora" || Folder == "/usr/share/zelgora";
  };
  const TDataSearch found = FindDataFolder(places, holds);
  EXPECT_EQ(found.Found, "/g/share/zelgora");
  EXPECT_EQ(found.Tried, (std::vector<std::string>{"/g/bin", "/g/share/zelgora"}));
  EXPECT_EQ(asked, found.Tried);

  const TDataSearch none = FindDataFolder(places, [](const std::string&) { return false; });
  EXPECT_FALSE(none.Found);
  EXPECT_EQ(none.Tried.size(), 3u);
}

TEST(DataFolder, NoDataMessageIsOneLineNamingEveryFolder) {
  const std::vector<std::string> tried = {"/g/bin", "/g/share/zelgora", "/usr/share/zelgora"};
  const std::string m = NoDataMessage(tried);
  EXPECT_EQ(m.find('\n'), std::string::npos);
  for (const auto& t : tried) EXPECT_NE(m.find(t), std::string::npos) << t;
  EXPECT_NE(m.find("--data"), std::string::npos);
  const std::string unknown = NoDataMessage({});
  EXPECT_EQ(unknown.find('\n'), std::string::npos);
  EXPECT_NE(unknown.find("--data"), std::string::npos);
}

class DataFolderOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    Root = fs::temp_directory_path() /
           ("zelgora-data-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(Root);
    fs::create_directories(Root / "Bitmaps");
  }
  void TearDown() override { fs::remove_all(Root); }
  void Touch(const std::string& Relative) { std::ofstream(Root / Relative) << "x"; }
  fs::path Root;
};

TEST_F(DataFolderOnDisk, HoldsDataOnlyWithBothCommonImageLists) {
  EXPECT_FALSE(HoldsGameData(Root.string()));
  Touch("Bitmaps/SetupBars.dxg");
  EXPECT_FALSE(HoldsGameData(Root.string()));
  fs::create_directories(Root / "Bitmaps/FaceMask.dxg");  // a folder is not the file
  EXPECT_FALSE(HoldsGameData(Root.string()));
  fs::remove(Root / "Bitmaps/FaceMask.dxg");
  Touch("Bitmaps/FaceMask.dxg");
  EXPECT_TRUE(HoldsGameData(Root.string()));
  EXPECT_TRUE(HoldsGameData(Root.string() + "/"));
  EXPECT_FALSE(HoldsGameData((Root / "missing").string()));
}

}  // namespace
