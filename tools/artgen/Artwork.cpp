#include "Artwork.h"

#include <filesystem>
#include <map>
#include <stdexcept>

#include "media/DIB.h"
#include "media/DXDraws.h"

namespace art {

namespace {

// Each picture is drawn once, however many files share it.
class TPictureCache {
 public:
  const TImage& Get(const TNamedPicture& P) {
    auto it = FImages.find(P.Name);
    if (it == FImages.end()) it = FImages.emplace(P.Name, P.Draw()).first;
    return it->second;
  }

 private:
  std::map<std::string, TImage> FImages;
};

std::vector<TNamedPicture> Ordered(const std::vector<TNamedPicture>& All,
                                   const std::vector<std::string>& Names) {
  std::vector<TNamedPicture> out;
  for (const auto& n : Names)
    for (const auto& p : All)
      if (p.Name == n) out.push_back(p);
  return out;
}

}  // namespace

std::vector<TListFile> ImageLists() {
  TPictureCache cache;
  const auto nature = NaturePictures();
  const auto technical = TechnicalPictures();
  const auto backgrounds = BackgroundPictures();
  // The sponsor edition's first theme is "Waterland": water scenes lead it.
  const auto water =
      Ordered(nature, {"C0Coast", "C0Lake", "C0Snow", "C0Forest", "C0Meadow", "C0Sunset"});

  auto cubes = [&](const std::vector<TNamedPicture>& Theme0) {
    std::vector<TListEntry> out;
    for (const auto* set : {&Theme0, &technical, &backgrounds})
      for (const auto& p : *set) out.push_back({p.Name, cache.Get(p)});
    return out;
  };
  TListFile bars{"SetupBars.dxg", {{"SetupBar", SetupBar(), "TBitmap"}}};
  TListFile masks{"FaceMask.dxg", {}};
  const char* pieces[] = {"Left", "Middle", "Right"};
  for (int i = 0; i < 3; ++i)
    masks.Entries.push_back({std::string("TopMask") + pieces[i], TopMask(i), "TDIB", true});
  for (int i = 0; i < 3; ++i)
    masks.Entries.push_back({std::string("BottomMask") + pieces[i], BottomMask(i), "TDIB", true});
  masks.Entries.push_back({"BlueBackground", PanelBackground()});
  masks.Entries.push_back({"GlassHours", GlassHours()});
  return {{"ZelgoraTobrin.dxg", cubes(nature)},
          {"ZelgoraSorvane.dxg", cubes(water)},
          {"ZelgoraTB.dxg", cubes(nature)},
          bars,
          masks};
}

void WriteImageLists(const std::string& Folder) {
  std::filesystem::create_directories(Folder);
  for (const auto& file : ImageLists()) {
    TPictureCollection list;
    for (const auto& e : file.Entries) {
      auto& item = list.Add();
      item.SetName(e.Name);
      TPicture picture;
      picture.SetGraphic(e.Kind, TDIB::FromRGBA(e.Image.Width, e.Image.Height, e.Image.RGBA, 24));
      item.SetPicture(picture);
      item.Transparent = e.Keyed;
      item.SetTransparentColor(e.Keyed ? MaskKey : 0);
    }
    list.SaveToFile((std::filesystem::path(Folder) / file.FileName).string());
  }
}

}  // namespace art
