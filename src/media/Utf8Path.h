// File names are UTF-8 strings throughout. A std::filesystem::path made from a plain string,
// or a narrow fopen or fstream, would read them in the system's code page on Windows, where a
// folder such as "Používateľ" then cannot be opened: every file name goes through these.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path Utf8Path(std::string_view Name) {
  return std::filesystem::path(std::u8string(Name.begin(), Name.end()));
}

// The name in UTF-8, with forward slashes on every system.
inline std::string Utf8Name(const std::filesystem::path& Path) {
  const std::u8string name = Path.generic_u8string();
  return std::string(name.begin(), name.end());
}
