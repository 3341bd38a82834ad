// The clocks the game reads: a millisecond counter for the frame timer and the local date and
// time (the ticket text). A real clock and one that tests and the harness set.
#pragma once

#include <cstdint>

struct TLocalDateTime {
  int32_t Year = 2000;
  int32_t Month = 1;  // 1..12
  int32_t Day = 1;    // 1..31
  int32_t Hour = 0;
  int32_t Minute = 0;
  int32_t Second = 0;
  bool operator==(const TLocalDateTime&) const = default;
};

class TClock {
 public:
  virtual ~TClock() = default;
  // Milliseconds since an arbitrary start; wraps around like a 32-bit counter.
  virtual uint32_t Milliseconds() = 0;
  virtual TLocalDateTime Now() = 0;
};

// The computer's clocks.
class TSystemClock : public TClock {
 public:
  uint32_t Milliseconds() override;
  TLocalDateTime Now() override;
};

// A clock that stands still until told otherwise.
class TManualClock : public TClock {
 public:
  TManualClock() = default;
  explicit TManualClock(const TLocalDateTime& Start) : DateTime(Start) {}
  uint32_t Ms = 0;
  TLocalDateTime DateTime;
  void Advance(uint32_t Milliseconds) { Ms += Milliseconds; }
  uint32_t Milliseconds() override { return Ms; }
  TLocalDateTime Now() override { return DateTime; }
};
