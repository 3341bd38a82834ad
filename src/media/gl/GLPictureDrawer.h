// Picture items drawn on the display's back surface as textured quads: a keyed copy,
// an alpha-blended scaled copy and an additive (saturating) copy. Each item's drawing copy is
// a texture of its whole picture, premultiplied, with key-coloured pixels left out; the
// additive copy adds the colours unweighted by the picture's own alpha.
#pragma once

#include <cstdint>
#include <vector>

#include "media/DXDraws.h"
#include "media/gl/GL2D.h"

class TGLPictureDrawer : public TPictureDrawer {
 public:
  explicit TGLPictureDrawer(TGL2DRenderer& Renderer) : FRenderer(Renderer) {}

  void Draw(TPictureCollectionItem& Item, TDirectDrawSurface& Dest, int32_t X, int32_t Y,
            int32_t PatternIndex) override;
  void DrawAlpha(TPictureCollectionItem& Item, TDirectDrawSurface& Dest, const TD3DRect& DestRect,
                 int32_t PatternIndex, int32_t Alpha) override;
  void DrawRotatedAdditive(TPictureCollectionItem& Item, TDirectDrawSurface& Dest, int32_t X,
                           int32_t Y, int32_t Width, int32_t Height, int32_t PatternIndex,
                           double CenterX, double CenterY, int32_t Angle, int32_t Alpha) override;

  // The three draws once the target has been accepted (the item initialised, the pattern in
  // range): what the display-bound calls come down to.
  void PutPattern(TPictureCollectionItem& Item, int32_t PatternIndex, int32_t X, int32_t Y);
  void PutPatternAlpha(TPictureCollectionItem& Item, int32_t PatternIndex, const TD3DRect& DestRect,
                       int32_t Alpha);
  void PutPatternAdditive(TPictureCollectionItem& Item, int32_t PatternIndex, int32_t X, int32_t Y,
                          int32_t Width, int32_t Height, double CenterX, double CenterY,
                          int32_t Angle, int32_t Alpha);

  // Top-down RGBA of a picture, premultiplied by its own alpha when Weighted (else opaque);
  // with Transparent, pixels of the key colour (0x00BBGGRR, compared at the picture's own
  // channel depth) are left fully clear.
  static std::vector<uint8_t> KeyedRGBA(const TDIB& Picture, bool Transparent, uint32_t Key,
                                        bool Weighted = true);

 private:
  // The display's 2D path serves only its own back surface, and only with a hardware 3D
  // device of the version-7 kind in the published options.
  static bool Accepts(TPictureCollectionItem& Item, TDirectDrawSurface& Dest);
  // The item's texture; Weighted: its colours premultiplied by its own alpha.
  const TGL2DTexture* Copy(TPictureCollectionItem& Item, bool Weighted = true);

  TGL2DRenderer& FRenderer;
};
