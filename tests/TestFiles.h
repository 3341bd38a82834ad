// Files the tests write and read back.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The whole file, as bytes; empty when it cannot be read.
inline std::string Slurp(const std::filesystem::path& File) {
  std::ifstream in(File, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A folder of the build tree for one test file's outputs, made when missing.
inline std::filesystem::path TestOutDir(const std::string& Name) {
  auto dir = std::filesystem::path(ZELGORA_BUILD_DIR) / Name;
  std::filesystem::create_directories(dir);
  return dir;
}
