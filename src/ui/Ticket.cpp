#include "ui/Ticket.h"

#include <array>
#include <cstdio>

namespace {

constexpr size_t PlainSize = 15;

uint8_t KeyByte(size_t Index) {  // Index counts from 0
  return static_cast<uint8_t>(LotteryKey[Index % LotteryKey.size()]);
}

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

}  // namespace

std::string MakeTicket(const TLocalDateTime& Now, int32_t R) {
  // Seconds before minutes before hours, as the ticket office reads them.
  char digits[80];
  std::snprintf(digits, sizeof digits, "%02d%02d%02d%02d%02d%02d", Now.Year % 100, Now.Month,
                Now.Day, Now.Second, Now.Minute, Now.Hour);
  std::array<uint8_t, PlainSize> p{};
  p[0] = static_cast<uint8_t>(R);
  for (size_t i = 0; i < 12; ++i) p[1 + i] = static_cast<uint8_t>(digits[i]);
  p[13] = static_cast<uint8_t>(TicketSeries[0]);
  p[14] = static_cast<uint8_t>(TicketSeries[1]);
  // The first byte is scrambled first and then feeds every later byte.
  for (size_t i = 0; i < PlainSize; ++i) p[i] = static_cast<uint8_t>(p[i] + KeyByte(i) + p[0]);
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(PlainSize * 2);
  for (uint8_t b : p) {
    text.push_back(Hex[b >> 4]);
    text.push_back(Hex[b & 15]);
  }
  return text;
}

std::optional<TTicketPlain> DecodeTicket(std::string_view Text) {
  if (Text.size() != PlainSize * 2) return std::nullopt;
  std::array<uint8_t, PlainSize> c{};
  for (size_t i = 0; i < PlainSize; ++i) {
    int hi = HexValue(Text[2 * i]), lo = HexValue(Text[2 * i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    c[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
  int32_t twiceR = c[0] - KeyByte(0);
  if (twiceR < 0 || twiceR % 2 != 0 || twiceR / 2 > 19) return std::nullopt;
  TTicketPlain plain;
  plain.R = twiceR / 2;
  for (size_t i = 1; i < PlainSize; ++i) {
    char ch = static_cast<char>(static_cast<uint8_t>(c[i] - KeyByte(i) - c[0]));
    (i <= 12 ? plain.TimeDigits : plain.Series).push_back(ch);
  }
  return plain;
}
