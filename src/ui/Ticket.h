// The sponsor edition's lottery ticket text: the start time and a random number, scrambled
// with a fixed key into 30 hexadecimal digits, and its decoding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/Clock.h"

inline constexpr std::string_view LotteryKey = "KADREM";
inline constexpr std::string_view TicketSeries = "01";

// R is 0..19, drawn by the caller.
std::string MakeTicket(const TLocalDateTime& Now, int32_t R);

struct TTicketPlain {
  int32_t R = 0;
  std::string TimeDigits;  // "yymmddssnnhh"
  std::string Series;
};

// Undoes MakeTicket; none for a text that is not 30 hexadecimal digits or whose first byte
// holds no r of 0..19.
std::optional<TTicketPlain> DecodeTicket(std::string_view Text);
