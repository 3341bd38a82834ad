// zelgora-soundgen: synthesises the game's sounds and writes them as C++ arrays for the game
// library, or as .wav files to listen to.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "Sounds.h"

namespace {

std::string CppSource(const std::vector<TSound>& Sounds) {
  std::ostringstream out;
  out << "// Made by zelgora-soundgen from tools/soundgen; do not edit.\n"
      << "#include \"media/StoredWaves.h\"\n\nnamespace {\n\n";
  // Sounds that hold the same bytes share one array.
  std::map<std::vector<uint8_t>, std::string> arrays;
  for (const auto& s : Sounds) {
    if (arrays.contains(s.Riff)) continue;
    const std::string name = "k" + s.Name;
    arrays[s.Riff] = name;
    out << "constexpr uint8_t " << name << "[" << s.Riff.size() << "] = {";
    for (size_t i = 0; i < s.Riff.size(); ++i) {
      if (i % 24 == 0) out << "\n   ";
      out << ' ' << static_cast<int>(s.Riff[i]) << ',';
    }
    out << "\n};\n\n";
  }
  out << "constexpr TStoredWave kWaves[] = {\n";
  for (const auto& s : Sounds)
    out << "    {\"" << s.Name << "\", std::span<const uint8_t>(" << arrays[s.Riff] << ")},\n";
  out << "};\n\n}  // namespace\n\nstd::span<const TStoredWave> StoredWaves() { return kWaves; }\n";
  return out.str();
}

bool WriteFile(const std::filesystem::path& Path, const void* Data, size_t Size) {
  std::ofstream f(Path, std::ios::binary);
  f.write(static_cast<const char*>(Data), static_cast<std::streamsize>(Size));
  f.close();
  if (!f) std::cerr << "zelgora-soundgen: cannot write " << Path.string() << "\n";
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[1]) != "--cpp" && std::string(argv[1]) != "--wav")) {
    std::cerr << "usage: zelgora-soundgen --cpp FILE.cpp | --wav FOLDER\n";
    return 2;
  }
  const auto sounds = MakeSounds();
  const std::filesystem::path target = argv[2];
  if (std::string(argv[1]) == "--cpp") {
    const std::string text = CppSource(sounds);
    // Rewriting identical text would only make the game library build again.
    std::ifstream old(target, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(old)), {});
    if (before == text) return 0;
    return WriteFile(target, text.data(), text.size()) ? 0 : 1;
  }
  std::error_code ec;
  std::filesystem::create_directories(target, ec);
  for (const auto& s : sounds)
    if (!WriteFile(target / (s.Name + ".wav"), s.Riff.data(), s.Riff.size())) return 1;
  return 0;
}
