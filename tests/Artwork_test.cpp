// The image-list files the build draws: read back with the game's own reader, with the
// names, counts, kinds and sizes the game relies on, and face pictures a player can tell
// apart and orient by eye.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FormRig.h"
#include "TestFiles.h"
#include "media/DIB.h"
#include "media/DXDraws.h"

namespace {

namespace fs = std::filesystem;

fs::path Bitmaps() {
  return fs::path(ZELGORA_BUILD_DIR) / "Bitmaps";
}

// Collections cannot be moved; each test holds its own.
std::unique_ptr<TPictureCollection> Load(const std::string& File) {
  auto list = std::make_unique<TPictureCollection>();
  list->LoadFromFile((Bitmaps() / File).string());
  return list;
}

bool StartsWith(const std::string& S, const std::string& Prefix) {
  return S.rfind(Prefix, 0) == 0;
}

// A picture as grey-free RGB rows, scaled down by block averages to N x N: about the size a
// face has on the screen when the board is 5 x 5, where players compare orientations.
using TSmall = std::vector<double>;
constexpr int N = 32;

TSmall Shrink(const TDIB& Picture) {
  const auto rgba = Picture.ToRGBA();
  const int w = Picture.Width(), h = Picture.Height();
  TSmall out(static_cast<size_t>(N * N * 3), 0.0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        out[static_cast<size_t>(((y * N / h) * N + x * N / w) * 3 + c)] +=
            rgba[static_cast<size_t>((y * w + x) * 4 + c)];
  const double per = static_cast<double>(w / N) * (h / N);
  for (double& v : out) v /= per;
  return out;
}

// The eight symmetries of the square, as maps of (x, y) to the source pixel.
using TMap = std::function<std::pair<int, int>(int, int)>;
const std::vector<std::pair<const char*, TMap>>& Symmetries() {
  static const std::vector<std::pair<const char*, TMap>> maps = {
      {"quarter turn",
       [](int x, int y) {
         return std::pair{y, N - 1 - x};
       }},
      {"half turn",
       [](int x, int y) {
         return std::pair{N - 1 - x, N - 1 - y};
       }},
      {"three quarter turns",
       [](int x, int y) {
         return std::pair{N - 1 - y, x};
       }},
      {"mirror",
       [](int x, int y) {
         return std::pair{N - 1 - x, y};
       }},
      {"upside down",
       [](int x, int y) {
         return std::pair{x, N - 1 - y};
       }},
      {"mirror on the diagonal",
       [](int x, int y) {
         return std::pair{y, x};
       }},
      {"mirror on the other diagonal",
       [](int x, int y) {
         return std::pair{N - 1 - y, N - 1 - x};
       }},
  };
  return maps;
}

// Mean absolute difference per channel, 0..255, of A against B seen through Map.
double Difference(const TSmall& A, const TSmall& B, const TMap& Map) {
  double sum = 0;
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x) {
      const auto [sx, sy] = Map(x, y);
      for (int c = 0; c < 3; ++c)
        sum += std::abs(A[static_cast<size_t>((y * N + x) * 3 + c)] -
                        B[static_cast<size_t>((sy * N + sx) * 3 + c)]);
    }
  return sum / (N * N * 3);
}

double MeanLuminance(const TDIB& Picture) {
  const auto rgba = Picture.ToRGBA();
  double sum = 0;
  for (size_t i = 0; i < rgba.size(); i += 4)
    sum += 0.299 * rgba[i] + 0.587 * rgba[i + 1] + 0.114 * rgba[i + 2];
  return sum / (rgba.size() / 4);
}

const char* const kEditionFiles[] = {"ZelgoraTobrin.dxg", "ZelgoraSorvane.dxg", "ZelgoraTB.dxg"};

TEST(Artwork, EditionFilesHoldTwoThemesAndBackgroundsInOrder) {
  for (const char* file : kEditionFiles) {
    SCOPED_TRACE(file);
    const auto owned = Load(file);
    const auto& list = *owned;
    // The texture lists take pictures by prefix in file order: C0 first, then C1, then B.
    std::string order;
    int c0 = 0, c1 = 0, b = 0;
    for (int32_t i = 0; i < list.Count(); ++i) {
      const auto& item = list.Items(i);
      const std::string name = item.Name();
      const TDIB& dib = item.Picture().DIB();
      EXPECT_EQ(item.Picture().Kind(), "TDIB") << name;
      EXPECT_EQ(dib.BitCount(), 24) << name;
      if (StartsWith(name, "C0") || StartsWith(name, "C1")) {
        (name[1] == '0' ? c0 : c1)++;
        order += name.substr(0, 2);
        EXPECT_EQ(dib.Width(), 256) << name;
        EXPECT_EQ(dib.Height(), 256) << name;
      } else if (StartsWith(name, "B")) {
        ++b;
        order += "B";
        EXPECT_EQ(dib.Width(), 512) << name;
        EXPECT_EQ(dib.Height(), 512) << name;
      } else {
        ADD_FAILURE() << "a picture no texture list takes: " << name;
      }
      EXPECT_EQ(item.PatternWidth, 0);
      EXPECT_EQ(item.PatternHeight, 0);
    }
    EXPECT_EQ(c0, 6);
    EXPECT_EQ(c1, 6);
    EXPECT_GE(b, 3);
    EXPECT_EQ(order.substr(0, 24), "C0C0C0C0C0C0C1C1C1C1C1C1");
    EXPECT_EQ(order.substr(24), std::string(static_cast<size_t>(b), 'B'));
  }
}

// The board stands in front of the background: every background is darker than every face.
TEST(Artwork, BackgroundsAreDarkerThanFaces) {
  const auto owned = Load("ZelgoraTobrin.dxg");
  const auto& list = *owned;
  double darkestFace = 255, brightestBackground = 0;
  for (int32_t i = 0; i < list.Count(); ++i) {
    const double l = MeanLuminance(list.Items(i).Picture().DIB());
    if (StartsWith(list.Items(i).Name(), "B"))
      brightestBackground = std::max(brightestBackground, l);
    else
      darkestFace = std::min(darkestFace, l);
  }
  EXPECT_LT(brightestBackground, 40);
  EXPECT_LT(brightestBackground, darkestFace);
}

// The threshold: on 32 x 32 block averages (a face's size on a 5 x 5 board), a mean
// difference of 12 levels of 255 means that large areas change colour (half the picture
// moving by 24 levels, or a quarter by 48): plainly visible. Pictures that are merely noisy
// or drawn slightly differently stay near 2 to 5; a symmetric picture scores near 0
// against its mirror image.
constexpr double kVisible = 12;

TEST(Artwork, FacesShowWhichWayIsUpAndDifferWithinTheirTheme) {
  for (const char* file : kEditionFiles) {
    SCOPED_TRACE(file);
    const auto owned = Load(file);
    const auto& list = *owned;
    for (const char* theme : {"C0", "C1"}) {
      std::vector<std::pair<std::string, TSmall>> faces;
      for (int32_t i = 0; i < list.Count(); ++i)
        if (StartsWith(list.Items(i).Name(), theme))
          faces.emplace_back(list.Items(i).Name(), Shrink(list.Items(i).Picture().DIB()));
      ASSERT_EQ(faces.size(), 6u);
      const TMap same = [](int x, int y) { return std::pair{x, y}; };
      for (size_t i = 0; i < faces.size(); ++i) {
        for (const auto& [what, map] : Symmetries())
          EXPECT_GT(Difference(faces[i].second, faces[i].second, map), kVisible)
              << faces[i].first << " against its " << what;
        for (size_t j = i + 1; j < faces.size(); ++j)
          EXPECT_GT(Difference(faces[i].second, faces[j].second, same), 2 * kVisible)
              << faces[i].first << " against " << faces[j].first;
      }
    }
  }
}

// Captions are painted onto copies of item 0 as a bitmap; another kind would be replaced by
// an empty bitmap and the bars would stay blank.
TEST(Artwork, SetupBarIsAPaintableBitmap) {
  const auto owned = Load("SetupBars.dxg");
  const auto& list = *owned;
  ASSERT_GE(list.Count(), 1);
  TPicture copy = list.Items(0).Picture();
  EXPECT_EQ(copy.Kind(), "TBitmap");
  TDIB& bitmap = copy.Bitmap();
  EXPECT_EQ(bitmap.Width(), 256);
  EXPECT_EQ(bitmap.Height(), 64);
  // Light captions (240, 240, 240) at x = 25 need a dark bar behind them.
  EXPECT_LT(MeanLuminance(bitmap), 110);
}

TEST(Artwork, OverlayPicturesAreAllThere) {
  const auto owned = Load("FaceMask.dxg");
  const auto& list = *owned;
  struct TPiece {
    const char* Name;
    int Height;
  };
  for (const auto& [name, height] :
       {TPiece{"TopMaskLeft", 50}, TPiece{"TopMaskMiddle", 50}, TPiece{"TopMaskRight", 50},
        TPiece{"BottomMaskLeft", 60}, TPiece{"BottomMaskMiddle", 60},
        TPiece{"BottomMaskRight", 60}}) {
    SCOPED_TRACE(name);
    const auto& item = list.Find(name);
    // All pieces of a border share one height: the bottom strip is drawn at SH - H(middle).
    EXPECT_EQ(item.Height(), height);
    EXPECT_GT(item.Width(), 0);
    EXPECT_TRUE(item.Transparent);
    // The shaped edge: some pixels carry the key colour, and the band itself does not.
    const auto rgba = item.Picture().DIB().ToRGBA();
    const uint32_t key = item.TransparentColor();
    size_t keyed = 0;
    for (size_t i = 0; i < rgba.size(); i += 4)
      if (rgba[i] == (key & 0xFF) && rgba[i + 1] == ((key >> 8) & 0xFF) &&
          rgba[i + 2] == ((key >> 16) & 0xFF))
        ++keyed;
    const size_t pixels = rgba.size() / 4;
    EXPECT_GT(keyed, 0u);
    EXPECT_LT(keyed, pixels / 2);
  }
  // The help text is blue (67, 41, 251): the panel behind it is pale.
  EXPECT_GT(MeanLuminance(list.Find("BlueBackground").Picture().DIB()), 170);
  EXPECT_FALSE(list.Find("BlueBackground").Transparent);
  // Drawn additively: its surroundings must be black, which adds nothing.
  const auto& glass = list.Find("GlassHours").Picture().DIB();
  EXPECT_EQ(glass.Pixels(0, 0), 0u);
  EXPECT_EQ(glass.Pixels(glass.Width() - 1, glass.Height() - 1), 0u);
  EXPECT_GT(MeanLuminance(glass), 10);
}

// The game starts on the drawn files in every edition and fills its texture lists from them.
TEST(Artwork, GameStartsOnTheDrawnFiles) {
  for (int32_t edition = 0; edition < 3; ++edition) {
    SCOPED_TRACE(edition);
    TFormRig rig(1, ZELGORA_BUILD_DIR, edition);
    auto& form = rig.Show();
    EXPECT_EQ(form.Theme0Textures.size(), 6u);
    EXPECT_EQ(form.Theme1Textures.size(), 6u);
    EXPECT_GE(form.BackgroundTextures.size(), 3u);
    rig.Frames(200);
  }
}

std::vector<char> Bytes(const fs::path& P) {
  std::ifstream f(P, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

TEST(Artwork, GeneratorIsDeterministic) {
  const fs::path tool = fs::path(ZELGORA_BUILD_DIR) / "tools" / "artgen" / "zelgora-artgen";
  ASSERT_TRUE(fs::exists(tool));
  const fs::path again = fs::path(ZELGORA_BUILD_DIR) / "fixtures" / "artwork-again";
  fs::remove_all(again);
  const std::string command = "\"" + tool.string() + "\" --out \"" + again.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* file : {"ZelgoraTobrin.dxg", "ZelgoraSorvane.dxg", "ZelgoraTB.dxg",
                           "SetupBars.dxg", "FaceMask.dxg"}) {
    SCOPED_TRACE(file);
    const auto built = Bytes(Bitmaps() / file);
    EXPECT_FALSE(built.empty());
    EXPECT_TRUE(built == Bytes(again / file));
  }
}

}  // namespace

// Windows takes the program's icon from one file: every size, each the PNG drawn for it.
TEST(Artwork, IconFileHoldsEveryDrawnSizeAsItsPng) {
  const fs::path icons = fs::path(ZELGORA_BUILD_DIR) / "icons";
  const std::string ico = Slurp(icons / "zelgora.ico");
  auto u16 = [&](size_t At) {
    return static_cast<uint32_t>(static_cast<uint8_t>(ico.at(At)) |
                                 static_cast<uint8_t>(ico.at(At + 1)) << 8);
  };
  auto u32 = [&](size_t At) { return u16(At) | u16(At + 2) << 16; };
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(u16(0), 0u);
  EXPECT_EQ(u16(2), 1u);
  const int sizes[] = {16, 32, 48, 64, 128, 256};
  ASSERT_EQ(u16(4), std::size(sizes));
  size_t end = 6 + 16 * std::size(sizes);
  for (size_t i = 0; i < std::size(sizes); ++i) {
    SCOPED_TRACE(sizes[i]);
    const size_t entry = 6 + 16 * i;
    EXPECT_EQ(static_cast<uint8_t>(ico.at(entry)), sizes[i] % 256);
    EXPECT_EQ(static_cast<uint8_t>(ico.at(entry + 1)), sizes[i] % 256);
    EXPECT_EQ(u16(entry + 6), 32u);
    const uint32_t length = u32(entry + 8), offset = u32(entry + 12);
    EXPECT_EQ(offset, end);  // images follow one another, none overlapping
    ASSERT_LE(static_cast<size_t>(offset) + length, ico.size());
    EXPECT_EQ(ico.substr(offset, length),
              Slurp(icons / ("zelgora-" + std::to_string(sizes[i]) + ".png")));
    end = offset + length;
  }
  EXPECT_EQ(end, ico.size());
}
