// The caption of a setup bar, painted onto a copy of the bar picture.
#pragma once

#include <cstdint>
#include <string>

class TCanvas;

struct TSetupCaptionPlace {
  int32_t Size = 0;  // points
  int32_t X = 0;
  int32_t Y = 0;
};

// For a bar picture PictureHeight pixels high: size h / 4, at x 25, y h - 3h / 4.2.
TSetupCaptionPlace SetupCaptionPlace(int32_t PictureHeight);

// Paints Text (Windows-1250) in 0xF0F0F0 with no box behind it, then releases the canvas.
void PaintSetupCaption(TCanvas& Canvas, int32_t PictureHeight, const std::string& Text);
