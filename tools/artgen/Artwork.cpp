#include "Artwork.h"

#include <filesystem>
#include <map>
#include <stdexcept>

#include "media/DIB.h"
#include "media/DXDraws.h"

namespace art {

std::vector<TListFile> ImageLists() {
  // Each scene is drawn once, however many files and themes show it.
  std::map<std::string, TImage> drawn;
  for (const auto& set : {NaturePictures(), TechnicalPictures(), SponsorPictures()})
    for (const auto& p : set) drawn.emplace(p.Name, p.Draw());
  std::vector<TListEntry> backgrounds;
  for (const auto& p : BackgroundPictures()) backgrounds.push_back({p.Name, p.Draw()});

  using TNames = std::vector<std::string>;
  const TNames nature = {"Sunset", "Lake", "Forest", "Meadow", "Coast", "Snow"};
  const TNames technical = {"Gears", "Circuit", "Rocket", "City", "Locomotive", "Blueprint"};
  // The sponsor edition's themes are "Waterland" and "HotHouse".
  const TNames water = {"Underwater", "Waterfall", "Coast", "Lake", "Snow", "Forest"};
  const TNames warm = {"Desert", "Volcano", "Tropical", "Sunset", "Meadow", "Locomotive"};
  auto cubes = [&](const TNames& Theme0, const TNames& Theme1) {
    std::vector<TListEntry> out;
    for (const auto& n : Theme0) out.push_back({"C0" + n, drawn.at(n)});
    for (const auto& n : Theme1) out.push_back({"C1" + n, drawn.at(n)});
    out.insert(out.end(), backgrounds.begin(), backgrounds.end());
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
  return {{"ZelgoraTobrin.dxg", cubes(nature, technical)},
          {"ZelgoraSorvane.dxg", cubes(water, warm)},
          {"ZelgoraTB.dxg", cubes(nature, technical)},
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
