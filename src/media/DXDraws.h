// Picture collections: named pictures loaded from image-list files, their patterns, and the
// image-list component. Drawing onto the display is done by a drawer that the display side
// attaches; without one (or before the list is initialised) the draw calls do nothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/DIB.h"
#include "media/DXClass.h"
#include "media/Direct3D.h"

class TComponentReader;
class TComponentWriter;
class TDirectDrawSurface;
class TDXDraw;
class TPictureCollection;
class TPictureCollectionItem;

// Colour identifiers of TransparentColor (0x00BBGGRR); system colours are 0xFF000000 + index.
std::optional<uint32_t> IdentToColor(std::string_view Ident);
std::optional<std::string> ColorToIdent(uint32_t Color);

// A picture holding one graphic or none. "TDIB" and "TBitmap" carry pixels; the other
// registered kinds ("TIcon", "TMetafile") load as empty graphics.
class TPicture {
 public:
  const std::string& Kind() const { return FKind; }  // empty: no graphic
  bool HasGraphic() const { return !FKind.empty(); }
  const TDIB& DIB() const { return FDIB; }
  TDIB& DIB() { return FDIB; }
  int32_t Width() const { return FDIB.Width(); }
  int32_t Height() const { return FDIB.Height(); }

  // Kind "TDIB" or "TBitmap" (or another registered kind) with its pixels.
  void SetGraphic(std::string Kind, TDIB Pixels);
  void Clear();
  // The graphic as a bitmap: a graphic of another kind (or none) is first replaced by an
  // empty bitmap.
  TDIB& Bitmap();

  // The Picture.Data payload: kind name as a short string, then the kind's own data.
  void ReadData(std::span<const uint8_t> Data);
  std::vector<uint8_t> WriteData() const;

 private:
  std::string FKind;
  TDIB FDIB;
};

struct TPictureCollectionItemPattern {
  TD3DRect Rect;  // source rectangle in the picture
};

// What the display side keeps for an item while it is initialised (drawing copies).
class TPictureDrawCopy {
 public:
  virtual ~TPictureDrawCopy() = default;
};

// The display side of drawing items: attached to a collection while it is initialised.
class TPictureDrawer {
 public:
  virtual ~TPictureDrawer() = default;
  virtual void Draw(TPictureCollectionItem& Item, TDirectDrawSurface& Dest, int32_t X, int32_t Y,
                    int32_t PatternIndex) = 0;
  virtual void DrawAlpha(TPictureCollectionItem& Item, TDirectDrawSurface& Dest,
                         const TD3DRect& DestRect, int32_t PatternIndex, int32_t Alpha) = 0;
  virtual void DrawRotatedAdditive(TPictureCollectionItem& Item, TDirectDrawSurface& Dest,
                                   int32_t X, int32_t Y, int32_t Width, int32_t Height,
                                   int32_t PatternIndex, double CenterX, double CenterY,
                                   int32_t Angle, int32_t Alpha) = 0;
};

class TPictureCollectionItem : public THashCollectionItem {
 public:
  explicit TPictureCollectionItem(TPictureCollection& Collection);

  int32_t PatternHeight = 0;
  int32_t PatternWidth = 0;
  int32_t SkipHeight = 0;
  int32_t SkipWidth = 0;
  bool SystemMemory = false;
  bool Transparent = true;

  uint32_t TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(uint32_t Color);

  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }
  // Replaces the picture by a copy of another (pixels shared until one changes).
  void SetPicture(const TPicture& Picture);

  // PatternWidth / PatternHeight when above 0, else the picture's size.
  int32_t Width() const;
  int32_t Height() const;
  int32_t PatternCount() const;  // 0 until initialised
  // Raises "List index out of bounds (%d)" outside 0..PatternCount-1.
  TPictureCollectionItemPattern Patterns(int32_t Index) const;

  bool Initialized() const { return FInitialized; }
  // Marks the item ready for drawing (its collection does so for its display); patterns
  // come with the next Restore.
  void Initialize();
  // Builds the patterns (grid of Width x Height cells with the skips between them).
  void Restore();
  void Finalize();
  std::unique_ptr<TPictureDrawCopy> DrawCopy;  // owned by the drawer's side, dropped on change

  // Each does nothing while the item is not initialised, has no drawer, or the pattern index
  // is outside 0..PatternCount-1.
  void Draw(TDirectDrawSurface& Dest, int32_t X, int32_t Y, int32_t PatternIndex);
  void DrawAlpha(TDirectDrawSurface& Dest, const TD3DRect& DestRect, int32_t PatternIndex,
                 int32_t Alpha);
  void DrawRotatedAdditive(TDirectDrawSurface& Dest, int32_t X, int32_t Y, int32_t Width,
                           int32_t Height, int32_t PatternIndex, double CenterX, double CenterY,
                           int32_t Angle, int32_t Alpha);

  TPictureCollection& Owner() const;
  void ReadProperty(TComponentReader& Reader, const std::string& Path);
  void WriteProperties(TComponentWriter& Writer) const;

 private:
  TPicture FPicture;
  uint32_t FTransparentColor = 0;
  bool FInitialized = false;
  // The pattern grid; rectangles are worked out on demand, so a picture cut into very many
  // small patterns costs no memory.
  int32_t FColumns = 0, FRows = 0, FStepX = 0, FStepY = 0, FCellWidth = 0, FCellHeight = 0;
};

class TPictureCollection : public THashCollection {
 public:
  // More items than this in one file is "Stream read error": each costs memory whether it
  // holds a picture or not, and no file of the game comes near.
  static constexpr int32_t MaxItems = 65536;

  TPictureCollection() = default;

  std::array<TRGBQuad, 256> ColorTable{};

  TPictureCollectionItem& Items(int32_t Index) const;
  // Raises EPictureCollectionError "Image '%s' not found".
  TPictureCollectionItem& Find(std::string_view Name) const;
  TPictureCollectionItem& Add();

  // The image-list file form. A load replaces the items and colour table only when the whole
  // input has been read; on an error the collection is unchanged. LoadFromFile raises
  // EFOpenError "Cannot open file "%s". %s" when the file cannot be read. Pictures of more
  // than TDIB::MaxPixels pixels in all are "DIB is invalid", more than MaxItems items "Stream
  // read error"; running out of memory is EReadError "Out of memory".
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
  void LoadFromStream(std::span<const uint8_t> Data);
  std::vector<uint8_t> SaveToStream() const;

  // Display notices. Initialize raises "TPictureCollection cannot be initialized" when the
  // display is not initialised; Restore builds every item's patterns.
  void Initialize(TDXDraw& Display);
  void Restore();
  void Finalize();
  bool Initialized() const;
  TDXDraw* DXDraw() const { return FDXDraw; }
  TPictureDrawer* Drawer() const { return FDrawer; }
  void SetDrawer(TPictureDrawer* Drawer) { FDrawer = Drawer; }

 private:
  void ReadStream(std::span<const uint8_t> Data);
  TDXDraw* FDXDraw = nullptr;
  TPictureDrawer* FDrawer = nullptr;
};

// The image-list component: a picture collection and the display it is bound to, if any.
// A bound list follows the display's notices: initialised with it (drawing through the
// display backend's picture drawer), patterns rebuilt on restore, finalised when the display
// goes down, unbound when it is destroyed.
class TDXImageList {
 public:
  TDXImageList() = default;
  ~TDXImageList();
  TDXImageList(const TDXImageList&) = delete;
  TDXImageList& operator=(const TDXImageList&) = delete;

  TPictureCollection& Items() { return FItems; }
  const TPictureCollection& Items() const { return FItems; }
  TDXDraw* DXDraw() const { return FDXDraw; }
  // Null unbinds.
  void SetDXDraw(TDXDraw* Display);

 private:
  TPictureCollection FItems;
  TDXDraw* FDXDraw = nullptr;
  int FNotifyHandle = 0;
};
