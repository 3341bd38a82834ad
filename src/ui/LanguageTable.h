// The content of the two-language text table, in Windows-1250, and the two web addresses
// the texts carry.
#pragma once

#include <span>
#include <string_view>

struct TLanguageEntry {
  std::string_view Key;
  std::string_view Text0;  // English
  std::string_view Text1;  // Slovak
};

inline constexpr std::string_view DeveloperWebAddress = "www.example.com";
inline constexpr std::string_view LotteryWebAddress = "lottery.example.com";

// The entries the form adds, in order, after the one the table starts with ("Language").
std::span<const TLanguageEntry> LanguageTableEntries();
