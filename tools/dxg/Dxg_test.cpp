// The tool end to end: pack PNGs, list, extract, compare pixel for pixel.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Top-down RGBA bytes of a PNG, read straight through SDL_image.
std::vector<uint8_t> Rgba(const fs::path& Png, int& W, int& H) {
  Surface s(IMG_Load(Png.string().c_str()), SDL_FreeSurface);
  if (!s) return {};
  Surface c(SDL_ConvertSurfaceFormat(s.get(), SDL_PIXELFORMAT_RGBA32, 0), SDL_FreeSurface);
  W = c->w;
  H = c->h;
  std::vector<uint8_t> out;
  for (int y = 0; y < H; ++y) {
    const auto* row = static_cast<const uint8_t*>(c->pixels) + y * c->pitch;
    out.insert(out.end(), row, row + W * 4);
  }
  return out;
}

void SaveRgba(const fs::path& Png, int W, int H, std::vector<uint8_t> Px) {
  Surface s(SDL_CreateRGBSurfaceWithFormatFrom(Px.data(), W, H, 32, W * 4, SDL_PIXELFORMAT_RGBA32),
            SDL_FreeSurface);
  ASSERT_EQ(IMG_SavePNG(s.get(), Png.string().c_str()), 0);
}

void SavePaletted(const fs::path& Png, int W, int H, const std::vector<SDL_Color>& Colors,
                  const std::vector<uint8_t>& Index) {
  Surface s(SDL_CreateRGBSurfaceWithFormat(0, W, H, 8, SDL_PIXELFORMAT_INDEX8), SDL_FreeSurface);
  SDL_SetPaletteColors(s->format->palette, Colors.data(), 0, static_cast<int>(Colors.size()));
  for (int y = 0; y < H; ++y) {
    std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch, Index.data() + y * W,
                static_cast<size_t>(W));
  }
  ASSERT_EQ(IMG_SavePNG(s.get(), Png.string().c_str()), 0);
}

// The tool's messages end as text lines do on its system.
#ifdef _WIN32
constexpr const char* kNewLine = "\r\n";
#else
constexpr const char* kNewLine = "\n";
#endif

int RunTool(const std::string& Args) {
#ifdef _WIN32
  // cmd.exe takes the outer quotes off a line that starts with one.
  return std::system(("\"\"" + std::string(DXG_TOOL) + "\" " + Args + "\"").c_str());
#else
  const int status = std::system((std::string(DXG_TOOL) + " " + Args).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string Slurp(const fs::path& P) {
  std::ifstream in(P, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Dxg : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("zelgora_dxg_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Dir;
};

}  // namespace

TEST_F(Dxg, PackListExtractRoundTripsPixelForPixel) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < 5 * 3; ++i) {
    rgb.insert(rgb.end(), {static_cast<uint8_t>(i * 17), static_cast<uint8_t>(255 - i), 7, 255});
  }
  SaveRgba(Dir / "rgb.png", 5, 3, rgb);
  SaveRgba(Dir / "alpha.png", 2, 1, {10, 20, 30, 0, 40, 50, 60, 128});
  SavePaletted(Dir / "pal.png", 3, 2, {{255, 0, 0, 255}, {0, 0, 255, 255}, {1, 2, 3, 255}},
               {0, 1, 2, 2, 1, 0});
  std::ofstream(Dir / "manifest.json") << R"({"items": [
    {"name": "A0", "png": "rgb.png", "patternWidth": 2, "skipWidth": 1, "transparentColor": "clFuchsia"},
    {"name": "Bars", "png": "pal.png", "kind": "TBitmap", "transparent": false},
    {"name": "Glass/Hours", "png": "alpha.png", "transparentColor": 1057057},
    {"name": "Empty"}
  ]})";
  const std::string dxg = (Dir / "out.dxg").string();
  ASSERT_EQ(RunTool("pack " + dxg + " " + (Dir / "manifest.json").string()), 0);

  ASSERT_EQ(RunTool("list " + dxg + " > " + (Dir / "list.txt").string()), 0);
  std::istringstream lines(Slurp(Dir / "list.txt"));
  std::vector<std::string> l;
  for (std::string s; std::getline(lines, s);) l.push_back(s);
  ASSERT_EQ(l.size(), 4u);
  const std::vector<std::vector<std::string>> want = {
      {"0  A0 ", "TDIB", "5x3", "24-bit", "pattern 2x3 x2", "transparent clFuchsia"},
      {"1  Bars ", "TBitmap", "3x2", " 8-bit", "pattern 3x2 x1", "opaque"},
      {"2  Glass/Hours", "TDIB", "2x1", "32-bit", "transparent 0x00102121"},
      {"3  Empty", " - ", "0x0", "pattern 0x0 x0"},
  };
  for (size_t i = 0; i < want.size(); ++i) {
    for (const auto& part : want[i])
      EXPECT_NE(l[i].find(part), std::string::npos) << l[i] << " / " << part;
  }

  const fs::path out = Dir / "x";
  ASSERT_EQ(RunTool("extract " + dxg + " " + out.string()), 0);
  for (const auto& [orig, extracted] : std::vector<std::pair<std::string, std::string>>{
           {"rgb.png", "A0.png"}, {"pal.png", "Bars.png"}, {"alpha.png", "Glass_Hours.png"}}) {
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    const auto a = Rgba(Dir / orig, w1, h1);
    const auto b = Rgba(out / extracted, w2, h2);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(w1, w2);
    EXPECT_EQ(h1, h2);
    EXPECT_EQ(a, b) << extracted;
  }
  EXPECT_FALSE(fs::exists(out / "Empty.png"));
  // The extracted manifest packs back into the same file.
  const std::string again = (Dir / "again.dxg").string();
  ASSERT_EQ(RunTool("pack " + again + " " + (out / "manifest.json").string()), 0);
  EXPECT_EQ(Slurp(again), Slurp(dxg));
}

TEST_F(Dxg, BadInputGivesOneLineAndStatusOne) {
  std::ofstream(Dir / "bad.dxg") << "not an image list";
  const std::string err = (Dir / "err.txt").string();
  EXPECT_EQ(RunTool("list " + (Dir / "bad.dxg").string() + " 2> " + err), 1);
  EXPECT_EQ(Slurp(err), "zelgora-dxg: Invalid stream format" + std::string(kNewLine));
  EXPECT_EQ(
      RunTool("extract " + (Dir / "missing.dxg").string() + " " + Dir.string() + " 2> " + err), 1);
  EXPECT_EQ(Slurp(err).rfind("zelgora-dxg: Cannot open file", 0), 0u);
  std::ofstream(Dir / "m.json") << R"({"items": [{"name": "A", "png": "none.png"}]})";
  EXPECT_EQ(
      RunTool("pack " + (Dir / "o.dxg").string() + " " + (Dir / "m.json").string() + " 2> " + err),
      1);
  EXPECT_EQ(Slurp(err).rfind("zelgora-dxg: manifest item 0: Cannot read picture", 0), 0u);
  std::ofstream(Dir / "k.json") << R"({"items": [{"name": "A", "colour": 1}]})";
  EXPECT_EQ(
      RunTool("pack " + (Dir / "o.dxg").string() + " " + (Dir / "k.json").string() + " 2> " + err),
      1);
  EXPECT_EQ(Slurp(err),
            "zelgora-dxg: manifest item 0: unknown key \"colour\"" + std::string(kNewLine));
  EXPECT_EQ(RunTool("frobnicate 2> " + err), 1);
}
