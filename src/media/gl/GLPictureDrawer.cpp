#include "media/gl/GLPictureDrawer.h"

#include <bit>
#include <cmath>
#include <numbers>

#include "media/DXDisplay.h"

namespace {
struct TGLDrawCopy : TPictureDrawCopy {
  std::unique_ptr<TGL2DTexture> Texture;  // null: the picture cannot be held by the device
  bool Transparent = false;
  uint32_t Key = 0;
  // Additive draws take the colours without the picture's own alpha. Only a picture that has
  // an alpha channel needs a second texture for them, made on first use.
  bool OwnAlpha = false;
  bool UnweightedMade = false;
  std::unique_ptr<TGL2DTexture> Unweighted;
};

int ChannelBits(const TDIB& Picture, uint32_t Mask) {
  return Picture.BitCount() == 16 ? std::min(8, std::popcount(Mask)) : 8;
}
}  // namespace

std::vector<uint8_t> TGLPictureDrawer::KeyedRGBA(const TDIB& Picture, bool Transparent,
                                                 uint32_t Key, bool Weighted) {
  std::vector<uint8_t> rgba = Picture.ToRGBA();
  const auto& f = Picture.PixelFormat();
  const int shift[3] = {8 - ChannelBits(Picture, f.RedMask), 8 - ChannelBits(Picture, f.GreenMask),
                        8 - ChannelBits(Picture, f.BlueMask)};
  const bool keyed = Transparent && Key <= 0xFFFFFF;
  const uint8_t key[3] = {static_cast<uint8_t>(Key & 0xFF), static_cast<uint8_t>((Key >> 8) & 0xFF),
                          static_cast<uint8_t>((Key >> 16) & 0xFF)};
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
    uint8_t* p = &rgba[i];
    if (keyed && (p[0] >> shift[0]) == (key[0] >> shift[0]) &&
        (p[1] >> shift[1]) == (key[1] >> shift[1]) && (p[2] >> shift[2]) == (key[2] >> shift[2])) {
      p[0] = p[1] = p[2] = p[3] = 0;
      continue;
    }
    if (!Weighted) {
      p[3] = 255;
      continue;
    }
    const unsigned a = p[3];
    if (a == 255) continue;
    for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * a + 127) / 255);
  }
  return rgba;
}

bool TGLPictureDrawer::Accepts(TPictureCollectionItem& Item, TDirectDrawSurface& Dest) {
  TDXDraw* display = Item.Owner().DXDraw();
  if (!display || &Dest != &display->Surface()) return false;
  const TDXDrawOptions o = display->Options;
  return o.Contains(do3D) && o.Contains(doDirectX7Mode) && o.Contains(doHardware);
}

const TGL2DTexture* TGLPictureDrawer::Copy(TPictureCollectionItem& Item, bool Weighted) {
  auto* copy = dynamic_cast<TGLDrawCopy*>(Item.DrawCopy.get());
  // A changed key reaches the copy at once.
  if (copy && (copy->Transparent != Item.Transparent ||
               (Item.Transparent && copy->Key != Item.TransparentColor()))) {
    copy = nullptr;
  }
  if (!copy) {
    auto fresh = std::make_unique<TGLDrawCopy>();
    fresh->Transparent = Item.Transparent;
    fresh->Key = Item.TransparentColor();
    const TDIB& picture = Item.Picture().DIB();
    fresh->Texture = FRenderer.MakeTexture(picture.Width(), picture.Height(),
                                           KeyedRGBA(picture, fresh->Transparent, fresh->Key));
    fresh->OwnAlpha = picture.HasAlphaChannel();
    copy = fresh.get();
    Item.DrawCopy = std::move(fresh);
  }
  if (Weighted || !copy->OwnAlpha) return copy->Texture.get();
  if (!copy->UnweightedMade) {
    const TDIB& picture = Item.Picture().DIB();
    copy->Unweighted = FRenderer.MakeTexture(
        picture.Width(), picture.Height(), KeyedRGBA(picture, copy->Transparent, copy->Key, false));
    copy->UnweightedMade = true;
  }
  return copy->Unweighted.get();
}

void TGLPictureDrawer::Draw(TPictureCollectionItem& Item, TDirectDrawSurface& Dest, int32_t X,
                            int32_t Y, int32_t PatternIndex) {
  if (Accepts(Item, Dest)) PutPattern(Item, PatternIndex, X, Y);
}

void TGLPictureDrawer::DrawAlpha(TPictureCollectionItem& Item, TDirectDrawSurface& Dest,
                                 const TD3DRect& DestRect, int32_t PatternIndex, int32_t Alpha) {
  if (Accepts(Item, Dest)) PutPatternAlpha(Item, PatternIndex, DestRect, Alpha);
}

void TGLPictureDrawer::DrawRotatedAdditive(TPictureCollectionItem& Item, TDirectDrawSurface& Dest,
                                           int32_t X, int32_t Y, int32_t Width, int32_t Height,
                                           int32_t PatternIndex, double CenterX, double CenterY,
                                           int32_t Angle, int32_t Alpha) {
  if (Accepts(Item, Dest)) {
    PutPatternAdditive(Item, PatternIndex, X, Y, Width, Height, CenterX, CenterY, Angle, Alpha);
  }
}

void TGLPictureDrawer::PutPattern(TPictureCollectionItem& Item, int32_t PatternIndex, int32_t X,
                                  int32_t Y) {
  const TD3DRect source = Item.Patterns(PatternIndex).Rect;
  const TGL2DTexture* texture = Copy(Item);
  if (!texture) return;
  TGL2DRenderer::TQuad quad;
  quad.Source = source;
  quad.Corners = TGL2DRenderer::Rect(static_cast<float>(X), static_cast<float>(Y),
                                     static_cast<float>(int64_t{X} + source.Right - source.Left),
                                     static_cast<float>(int64_t{Y} + source.Bottom - source.Top));
  // Copied texel for pixel at the surface's own size; filtered when shown larger or smaller.
  quad.Linear = FRenderer.Scaled();
  FRenderer.DrawQuad(texture, quad);
}

void TGLPictureDrawer::PutPatternAlpha(TPictureCollectionItem& Item, int32_t PatternIndex,
                                       const TD3DRect& DestRect, int32_t Alpha) {
  if (Alpha <= 0 || DestRect.Right <= DestRect.Left || DestRect.Bottom <= DestRect.Top) return;
  const TD3DRect source = Item.Patterns(PatternIndex).Rect;
  if (source.Right <= source.Left || source.Bottom <= source.Top) return;
  const TGL2DTexture* texture = Copy(Item);
  if (!texture) return;
  TGL2DRenderer::TQuad quad;
  quad.Source = source;
  quad.Corners =
      TGL2DRenderer::Rect(static_cast<float>(DestRect.Left), static_cast<float>(DestRect.Top),
                          static_cast<float>(DestRect.Right), static_cast<float>(DestRect.Bottom));
  quad.Alpha = static_cast<float>(std::min(Alpha, 255)) / 255.0f;
  quad.Linear = true;
  FRenderer.DrawQuad(texture, quad);
}

void TGLPictureDrawer::PutPatternAdditive(TPictureCollectionItem& Item, int32_t PatternIndex,
                                          int32_t X, int32_t Y, int32_t Width, int32_t Height,
                                          double CenterX, double CenterY, int32_t Angle,
                                          int32_t Alpha) {
  if (Alpha <= 0 || Width <= 0 || Height <= 0) return;
  const TD3DRect source = Item.Patterns(PatternIndex).Rect;
  if (source.Right <= source.Left || source.Bottom <= source.Top) return;
  const TGL2DTexture* texture = Copy(Item, false);
  if (!texture) return;
  // The point (CenterX * Width, CenterY * Height) of the scaled picture sits on (X, Y); the
  // picture turns about it by Angle degrees, clockwise on the screen.
  const double left = -CenterX * Width, top = -CenterY * Height;
  const double a = static_cast<double>(Angle % 360) * std::numbers::pi / 180.0;
  const double cs = std::cos(a), sn = std::sin(a);
  auto place = [&](double U, double V) {
    return TPointF{static_cast<float>(X + U * cs - V * sn),
                   static_cast<float>(Y + U * sn + V * cs)};
  };
  TGL2DRenderer::TQuad quad;
  quad.Source = source;
  quad.Corners = {place(left, top), place(left + Width, top), place(left + Width, top + Height),
                  place(left, top + Height)};
  quad.Alpha = static_cast<float>(std::min(Alpha, 255)) / 255.0f;
  quad.Linear = true;
  quad.Blend = TGL2DBlend::Add;
  FRenderer.DrawQuad(texture, quad);
}
