// Shared pieces of the sound tests: a window that is only there, waves written as bytes.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "media/DXDisplay.h"
#include "media/DXWave.h"

class TStubFormWindow final : public TFormWindow {
 public:
  void SetCaption(const std::string&) override {}
  int32_t Width() const override { return 640; }
  int32_t Height() const override { return 480; }
  int32_t ClientWidth() const override { return 640; }
  int32_t ClientHeight() const override { return 480; }
  void SetBorderStyle(TBorderStyle) override {}
  void ShowCursor(bool) override {}
  bool SavePlacement() override { return true; }
  void RestorePlacement() override {}
  void Close() override {}
  bool Closed() const override { return false; }
  bool Active() const override { return true; }
};

// A loud 8-bit mono tone of the given length.
inline TWave ToneWave(int32_t Rate, int32_t Milliseconds) {
  std::vector<uint8_t> data(static_cast<size_t>(Rate * Milliseconds / 1000));
  for (size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<uint8_t>(128 + 100 * std::sin(static_cast<double>(i) * 0.3));
  return TWave::FromPCM(1, Rate, 8, std::move(data));
}
