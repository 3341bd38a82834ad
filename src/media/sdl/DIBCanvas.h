// A canvas on a picture: text, lines and ellipses painted into a TDIB's pixels, as the setup
// bars get their captions. Painting works on a full-colour copy that is written back on
// Release (and when the canvas goes), so pictures of any bit count can be painted on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/Canvas.h"
#include "media/DIB.h"
#include "media/PictureCanvas.h"

class TTextRasterizer;

class TDIBCanvas : public TCanvas {
 public:
  TDIBCanvas(TDIB& Picture, TTextRasterizer& Text);
  ~TDIBCanvas() override;
  TDIBCanvas(const TDIBCanvas&) = delete;
  TDIBCanvas& operator=(const TDIBCanvas&) = delete;

  void TextOut(int32_t X, int32_t Y, const std::string& Text) override;
  void MoveTo(int32_t X, int32_t Y) override;
  void LineTo(int32_t X, int32_t Y) override;
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
  // Writes the painting back into the picture.
  void Release() override;

 private:
  void Blend(int32_t X, int32_t Y, uint32_t Color, uint8_t Coverage);
  void Load();

  TDIB& FPicture;
  TTextRasterizer& FText;
  std::vector<uint8_t> FRGBA;  // empty while nothing is painted since the last Release
  bool FHasAlpha = false;
  int32_t FPenX = 0, FPenY = 0;
};

// Canvases on pictures that write text in the faces of FontFolder (raises EDXDrawError when
// a face cannot be opened).
TPictureCanvasMaker MakeDIBCanvasMaker(const std::string& FontFolder);
