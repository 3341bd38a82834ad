#include "Dxg.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "Png.h"
#include "media/DXDraws.h"
#include "media/Utf8Path.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// A file name from an item name: letters, digits, '-', '_' and '.' kept, the rest '_';
// empty or repeated names get the item's index.
std::string FileNameFor(const std::string& Name, int32_t Index, std::set<std::string>& Used) {
  std::string s;
  for (char c : Name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.';
    s.push_back(ok ? c : '_');
  }
  if (s.empty() || s.front() == '.') s = "item" + std::to_string(Index) + s;
  if (Used.contains(LowerCase(s))) s += "_" + std::to_string(Index);
  Used.insert(LowerCase(s));
  return s + ".png";
}

uint32_t ColorFromJson(const json& V) {
  if (V.is_string()) {
    const auto c = IdentToColor(V.get<std::string>());
    if (!c) throw EDXError("unknown colour identifier " + V.get<std::string>());
    return *c;
  }
  if (V.is_number_integer()) return static_cast<uint32_t>(V.get<int64_t>());
  throw EDXError("transparentColor must be a number (0x00BBGGRR) or a colour identifier");
}

}  // namespace

void ListImages(const std::string& File, std::ostream& Out) {
  TPictureCollection list;
  list.LoadFromFile(File);
  for (int32_t i = 0; i < list.Count(); ++i) {
    auto& item = list.Items(i);
    item.Initialize();  // patterns are counted as a display would cut them
    item.Restore();
    const TPicture& p = item.Picture();
    char line[512];
    std::snprintf(line, sizeof line, "%3d  %-24s %-9s %5dx%-5d %2d-bit  pattern %dx%d x%d  %s", i,
                  item.Name().c_str(), p.HasGraphic() ? p.Kind().c_str() : "-", p.Width(),
                  p.Height(), p.DIB().BitCount(), item.Width(), item.Height(), item.PatternCount(),
                  item.Transparent ? "transparent" : "opaque");
    Out << line;
    if (item.Transparent) {
      const auto ident = ColorToIdent(item.TransparentColor());
      char color[32];
      std::snprintf(color, sizeof color, "0x%08X", item.TransparentColor());
      Out << ' ' << (ident ? *ident : color);
    }
    Out << '\n';
  }
}

void ExtractImages(const std::string& File, const std::string& Dir) {
  TPictureCollection list;
  list.LoadFromFile(File);
  std::error_code ec;
  fs::create_directories(Utf8Path(Dir), ec);
  if (ec)
    throw EDXError(Format("Cannot make folder \"%s\": %s", Dir.c_str(), ec.message().c_str()));
  std::set<std::string> used;
  // Entries go out one by one: a file of a million bare items must not become a million
  // JSON objects held at once.
  std::ofstream out(Utf8Path(Dir) / "manifest.json");
  out << "{\n  \"items\": [";
  for (int32_t i = 0; i < list.Count(); ++i) {
    const auto& item = list.Items(i);
    json entry = {{"name", item.Name()},
                  {"patternWidth", item.PatternWidth},
                  {"patternHeight", item.PatternHeight},
                  {"skipWidth", item.SkipWidth},
                  {"skipHeight", item.SkipHeight},
                  {"systemMemory", item.SystemMemory},
                  {"transparent", item.Transparent}};
    const auto ident = ColorToIdent(item.TransparentColor());
    entry["transparentColor"] = ident ? json(*ident) : json(item.TransparentColor());
    if (!item.Picture().DIB().Empty()) {
      const std::string name = FileNameFor(item.Name(), i, used);
      SavePng(item.Picture().DIB(), Utf8Name(Utf8Path(Dir) / Utf8Path(name)));
      entry["png"] = name;
      entry["kind"] = item.Picture().Kind();
    }
    std::string text = entry.dump(2);
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
      text.insert(at + 1, "    ");
    out << (i == 0 ? "\n    " : ",\n    ") << text;
  }
  out << (list.Count() == 0 ? "]\n}\n" : "\n  ]\n}\n");
  if (!out) throw EDXError(Format("Cannot write \"%s/manifest.json\"", Dir.c_str()));
}

void PackImages(const std::string& OutFile, const std::string& Manifest) {
  std::ifstream in(Utf8Path(Manifest));
  if (!in) throw EDXError(Format("Cannot open file \"%s\".", Manifest.c_str()));
  const json m = json::parse(in);  // parse errors name the line and column
  if (!m.is_object() || !m.contains("items") || !m["items"].is_array()) {
    throw EDXError("manifest: an object with an \"items\" array is expected");
  }
  if (m["items"].size() > static_cast<size_t>(TPictureCollection::MaxItems)) {
    throw EDXError(Format("manifest: more than %d items, which no file may hold",
                          TPictureCollection::MaxItems));
  }
  const fs::path base = Utf8Path(Manifest).parent_path();
  static const std::set<std::string> keys = {
      "name",      "png",        "kind",         "patternWidth", "patternHeight",
      "skipWidth", "skipHeight", "systemMemory", "transparent",  "transparentColor"};
  TPictureCollection list;
  int32_t index = 0;
  int64_t pixels = 0;
  for (const json& e : m["items"]) {
    try {
      if (!e.is_object()) throw EDXError("an object is expected");
      for (const auto& [key, value] : e.items()) {
        if (!keys.contains(key)) throw EDXError("unknown key \"" + key + "\"");
      }
      auto& item = list.Add();
      item.SetName(e.value("name", std::string()));
      item.PatternWidth = e.value("patternWidth", 0);
      item.PatternHeight = e.value("patternHeight", 0);
      item.SkipWidth = e.value("skipWidth", 0);
      item.SkipHeight = e.value("skipHeight", 0);
      item.SystemMemory = e.value("systemMemory", false);
      item.Transparent = e.value("transparent", true);
      if (e.contains("transparentColor"))
        item.SetTransparentColor(ColorFromJson(e["transparentColor"]));
      if (e.contains("png")) {
        const std::string kind = e.value("kind", std::string("TDIB"));
        if (kind != "TDIB" && kind != "TBitmap") throw EDXError("kind must be TDIB or TBitmap");
        item.Picture().SetGraphic(kind, LoadPng(Utf8Name(base / Utf8Path(e["png"].get<std::string>()))));
        // The reader refuses a file whose pictures hold more than this together.
        pixels += int64_t{item.Picture().Width()} * item.Picture().Height();
        if (pixels > TDIB::MaxPixels) {
          throw EDXError(Format("the pictures hold more than %lld pixels in all, which no file may",
                                static_cast<long long>(TDIB::MaxPixels)));
        }
      }
    } catch (const std::exception& x) {
      throw EDXError(Format("manifest item %d: %s", index, x.what()));
    }
    ++index;
  }
  list.SaveToFile(OutFile);
}
