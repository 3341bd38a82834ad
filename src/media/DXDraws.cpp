#include "media/DXDraws.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <utility>

#include "media/DXDisplay.h"
#include "media/DXStream.h"
#include "media/Utf8Path.h"

namespace {

struct TColorIdent {
  const char* Name;
  uint32_t Color;
};

constexpr TColorIdent kColors[] = {
    {"clBlack", 0x000000},     {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},     {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},      {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},       {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},      {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},     {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},     {"clMedGray", 0xA4A0A0},    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

// System colours by their number.
constexpr const char* kSystemColors[] = {
    "clScrollBar",
    "clBackground",
    "clActiveCaption",
    "clInactiveCaption",
    "clMenu",
    "clWindow",
    "clWindowFrame",
    "clMenuText",
    "clWindowText",
    "clCaptionText",
    "clActiveBorder",
    "clInactiveBorder",
    "clAppWorkSpace",
    "clHighlight",
    "clHighlightText",
    "clBtnFace",
    "clBtnShadow",
    "clGrayText",
    "clBtnText",
    "clInactiveCaptionText",
    "clBtnHighlight",
    "cl3DDkShadow",
    "cl3DLight",
    "clInfoText",
    "clInfoBk",
    nullptr,
    "clHotLight",
    "clGradientActiveCaption",
    "clGradientInactiveCaption",
    "clMenuHighlight",
    "clMenuBar",
};

constexpr const char* kRegisteredKinds[] = {"TBitmap", "TDIB", "TIcon", "TMetafile"};

}  // namespace

std::optional<uint32_t> IdentToColor(std::string_view Ident) {
  for (const auto& c : kColors) {
    if (SameText(Ident, c.Name)) return c.Color;
  }
  for (uint32_t i = 0; i < std::size(kSystemColors); ++i) {
    if (kSystemColors[i] && SameText(Ident, kSystemColors[i])) return 0xFF000000u + i;
  }
  return std::nullopt;
}

std::optional<std::string> ColorToIdent(uint32_t Color) {
  for (const auto& c : kColors) {
    if (c.Color == Color) return c.Name;
  }
  if (Color >= 0xFF000000u && Color - 0xFF000000u < std::size(kSystemColors) &&
      kSystemColors[Color - 0xFF000000u]) {
    return kSystemColors[Color - 0xFF000000u];
  }
  return std::nullopt;
}

// ---- TPicture

void TPicture::SetGraphic(std::string Kind, TDIB Pixels) {
  FKind = std::move(Kind);
  FDIB = std::move(Pixels);
}

void TPicture::Clear() {
  FKind.clear();
  FDIB.Clear();
}

TDIB& TPicture::Bitmap() {
  if (FKind != "TBitmap") SetGraphic("TBitmap", TDIB());
  return FDIB;
}

void TPicture::ReadData(std::span<const uint8_t> Data) {
  TByteReader r(Data);
  const uint8_t n = r.ReadU8();
  auto nameBytes = r.ReadBytes(n);
  std::string kind(nameBytes.begin(), nameBytes.end());
  bool registered = false;
  for (const char* k : kRegisteredKinds) registered = registered || kind == k;
  if (!registered) {
    Clear();
    return;
  }
  TDIB dib;
  if (kind == "TDIB") {
    dib.ReadData(r.Rest());
  } else if (kind == "TBitmap") {
    const uint32_t count = r.ReadU32();
    if (count != 0) {
      auto bmp = r.ReadBytes(count);
      if (bmp.size() < 14 || bmp[0] != 'B' || bmp[1] != 'M') {
        throw EInvalidGraphic("Bitmap image is not valid");
      }
      dib.LoadFromBMP(bmp);
    }
  }
  SetGraphic(std::move(kind), std::move(dib));
}

std::vector<uint8_t> TPicture::WriteData() const {
  TByteWriter w;
  w.WriteU8(static_cast<uint8_t>(FKind.size()));
  w.WriteString(FKind);
  if (FKind == "TDIB") {
    w.WriteBytes(FDIB.WriteData());
  } else if (FKind == "TBitmap") {
    const auto bmp = FDIB.SaveToBMP();
    w.WriteU32(static_cast<uint32_t>(bmp.size()));
    w.WriteBytes(bmp);
  }
  return std::move(w).Data();
}

// ---- TPictureCollectionItem

TPictureCollectionItem::TPictureCollectionItem(TPictureCollection& Collection)
    : THashCollectionItem(Collection) {}

TPictureCollection& TPictureCollectionItem::Owner() const {
  return static_cast<TPictureCollection&>(Collection());
}

void TPictureCollectionItem::SetTransparentColor(uint32_t Color) {
  // Drawing copies read the key from the item, so every copy follows at once.
  FTransparentColor = Color;
}

void TPictureCollectionItem::SetPicture(const TPicture& Picture) {
  FPicture = Picture;
  DrawCopy.reset();
  if (FInitialized) Restore();
}

int32_t TPictureCollectionItem::Width() const {
  return PatternWidth > 0 ? PatternWidth : FPicture.Width();
}

int32_t TPictureCollectionItem::Height() const {
  return PatternHeight > 0 ? PatternHeight : FPicture.Height();
}

int32_t TPictureCollectionItem::PatternCount() const {
  return static_cast<int32_t>(int64_t{FColumns} * FRows);
}

TPictureCollectionItemPattern TPictureCollectionItem::Patterns(int32_t Index) const {
  if (Index < 0 || Index >= PatternCount()) {
    throw EListError(Format("List index out of bounds (%d)", Index));
  }
  const int32_t col = Index % FColumns, row = Index / FColumns;
  const int32_t left = col * FStepX, top = row * FStepY;
  return {TD3DRect{left, top, left + FCellWidth, top + FCellHeight}};
}

void TPictureCollectionItem::Restore() {
  FColumns = FRows = 0;
  DrawCopy.reset();
  if (!FInitialized || FPicture.DIB().Empty()) return;
  const int64_t W = FPicture.Width(), H = FPicture.Height();
  const int64_t w = Width(), h = Height();
  if (w == W && h == H) {
    FColumns = FRows = 1;
    FStepX = FStepY = 0;
    FCellWidth = static_cast<int32_t>(W);
    FCellHeight = static_cast<int32_t>(H);
    return;
  }
  const int64_t stepX = w + SkipWidth, stepY = h + SkipHeight;
  // A step of 0 or less (negative skips) would divide by zero or run backwards: no grid.
  if (stepX <= 0 || stepY <= 0) return;
  const int64_t cols = (W + SkipWidth) / stepX, rows = (H + SkipHeight) / stepY;
  if (cols <= 0 || rows <= 0) return;
  FColumns = static_cast<int32_t>(cols);
  FRows = static_cast<int32_t>(rows);
  FStepX = static_cast<int32_t>(stepX);
  FStepY = static_cast<int32_t>(stepY);
  FCellWidth = static_cast<int32_t>(w);
  FCellHeight = static_cast<int32_t>(h);
}

void TPictureCollectionItem::Initialize() {
  Finalize();
  FInitialized = true;
}

void TPictureCollectionItem::Finalize() {
  FInitialized = false;
  FColumns = FRows = 0;
  DrawCopy.reset();
}

namespace {
bool Drawable(const TPictureCollectionItem& Item, int32_t PatternIndex) {
  return Item.Initialized() && Item.Owner().Drawer() && PatternIndex >= 0 &&
         PatternIndex < Item.PatternCount();
}
}  // namespace

void TPictureCollectionItem::Draw(TDirectDrawSurface& Dest, int32_t X, int32_t Y,
                                  int32_t PatternIndex) {
  if (Drawable(*this, PatternIndex)) Owner().Drawer()->Draw(*this, Dest, X, Y, PatternIndex);
}

void TPictureCollectionItem::DrawAlpha(TDirectDrawSurface& Dest, const TD3DRect& DestRect,
                                       int32_t PatternIndex, int32_t Alpha) {
  if (Drawable(*this, PatternIndex)) {
    Owner().Drawer()->DrawAlpha(*this, Dest, DestRect, PatternIndex, Alpha);
  }
}

void TPictureCollectionItem::DrawRotatedAdditive(TDirectDrawSurface& Dest, int32_t X, int32_t Y,
                                                 int32_t Width, int32_t Height,
                                                 int32_t PatternIndex, double CenterX,
                                                 double CenterY, int32_t Angle, int32_t Alpha) {
  if (Drawable(*this, PatternIndex)) {
    Owner().Drawer()->DrawRotatedAdditive(*this, Dest, X, Y, Width, Height, PatternIndex, CenterX,
                                          CenterY, Angle, Alpha);
  }
}

void TPictureCollectionItem::ReadProperty(TComponentReader& Reader, const std::string& Path) {
  if (Path == "Name") {
    SetName(Reader.ReadString());
  } else if (Path == "PatternHeight") {
    PatternHeight = Reader.ReadInteger();
  } else if (Path == "PatternWidth") {
    PatternWidth = Reader.ReadInteger();
  } else if (Path == "SkipHeight") {
    SkipHeight = Reader.ReadInteger();
  } else if (Path == "SkipWidth") {
    SkipWidth = Reader.ReadInteger();
  } else if (Path == "SystemMemory") {
    SystemMemory = Reader.ReadBoolean();
  } else if (Path == "Transparent") {
    Transparent = Reader.ReadBoolean();
  } else if (Path == "TransparentColor") {
    if (Reader.NextValue() == TValueType::vaIdent) {
      const auto color = IdentToColor(Reader.ReadIdent());
      if (!color) throw EPropertyError("Invalid property value");
      SetTransparentColor(*color);
    } else {
      SetTransparentColor(static_cast<uint32_t>(Reader.ReadInteger()));
    }
  } else if (Path == "Picture.Data") {
    FPicture.ReadData(Reader.ReadBinary());
  } else {
    throw EPropertyError(Format("Property %s does not exist", Path.c_str()));
  }
}

void TPictureCollectionItem::WriteProperties(TComponentWriter& W) const {
  W.WriteStr("Name");
  W.WriteString(Name());
  W.WriteStr("PatternHeight");
  W.WriteInteger(PatternHeight);
  W.WriteStr("PatternWidth");
  W.WriteInteger(PatternWidth);
  if (FPicture.Kind() == "TDIB" || FPicture.Kind() == "TBitmap") {
    W.WriteStr("Picture.Data");
    W.WriteBinary(FPicture.WriteData());
  }
  W.WriteStr("SkipHeight");
  W.WriteInteger(SkipHeight);
  W.WriteStr("SkipWidth");
  W.WriteInteger(SkipWidth);
  W.WriteStr("SystemMemory");
  W.WriteBoolean(SystemMemory);
  W.WriteStr("Transparent");
  W.WriteBoolean(Transparent);
  W.WriteStr("TransparentColor");
  if (const auto ident = ColorToIdent(FTransparentColor)) {
    W.WriteIdent(*ident);
  } else {
    W.WriteInteger(static_cast<int32_t>(FTransparentColor));
  }
}

// ---- TPictureCollection

TPictureCollectionItem& TPictureCollection::Items(int32_t Index) const {
  return static_cast<TPictureCollectionItem&>(ItemAt(Index));
}

TPictureCollectionItem& TPictureCollection::Find(std::string_view Name) const {
  const int32_t i = IndexOf(Name);
  if (i < 0)
    throw EPictureCollectionError(Format("Image '%s' not found", std::string(Name).c_str()));
  return Items(i);
}

TPictureCollectionItem& TPictureCollection::Add() {
  return static_cast<TPictureCollectionItem&>(
      AddItem(std::make_unique<TPictureCollectionItem>(*this)));
}

namespace {
int64_t PixelsOf(const TPicture& Picture) {
  return int64_t{Picture.Width()} * Picture.Height();
}
}  // namespace

void TPictureCollection::LoadFromStream(std::span<const uint8_t> Data) {
  try {
    ReadStream(Data);
  } catch (const std::bad_alloc&) {
    throw EReadError("Out of memory");
  }
}

void TPictureCollection::ReadStream(std::span<const uint8_t> Data) {
  const size_t start = ReadResourceHeader(Data);
  TComponentReader reader(Data.subspan(start));
  reader.ReadSignature();
  TPictureCollection loaded;
  loaded.ColorTable = ColorTable;
  // What the file's pictures expand to together, run-length ones included, and how many items
  // it makes: a few bytes of file must not claim gigabytes.
  int64_t pixels = 0;
  reader.ReadRootObject([&](TComponentReader& R, const std::string& Path) {
    if (Path == "List.ColorTable") {
      TByteReader table(R.ReadBinary());
      for (auto& e : loaded.ColorTable) {
        auto b = table.ReadBytes(4);
        e = TRGBQuad{b[0], b[1], b[2], b[3]};
      }
    } else if (Path == "List") {
      R.ReadCollection([&] { loaded.Clear(); },
                       [&]() -> TComponentReader::TPropertyReader {
                         if (loaded.Count() >= MaxItems) throw EReadError("Stream read error");
                         auto* item = &loaded.Add();
                         return [item, &pixels](TComponentReader& IR, const std::string& P) {
                           const int64_t before = PixelsOf(item->Picture());
                           item->ReadProperty(IR, P);
                           pixels += PixelsOf(item->Picture()) - before;
                           if (pixels > TDIB::MaxPixels) throw EInvalidGraphic("DIB is invalid");
                         };
                       });
    } else {
      throw EPropertyError(Format("Property %s does not exist", Path.c_str()));
    }
  });
  ColorTable = loaded.ColorTable;
  TakeItems(loaded);
  if (Initialized()) {
    Initialize(*FDXDraw);
    Restore();
  }
}

std::vector<uint8_t> TPictureCollection::SaveToStream() const {
  TComponentWriter w;
  w.WriteSignature();
  w.WriteStr("TPictureCollectionComponent");
  w.WriteStr("");
  w.WriteStr("List.ColorTable");
  TByteWriter table;
  for (const auto& e : ColorTable) {
    table.WriteU8(e.Blue);
    table.WriteU8(e.Green);
    table.WriteU8(e.Red);
    table.WriteU8(e.Reserved);
  }
  w.WriteBinary(table.Data());
  w.WriteStr("List");
  w.WriteValue(TValueType::vaCollection);
  for (int32_t i = 0; i < Count(); ++i) {
    w.WriteValue(TValueType::vaList);
    Items(i).WriteProperties(w);
    w.WriteListEnd();
  }
  w.WriteListEnd();  // collection
  w.WriteListEnd();  // properties
  w.WriteListEnd();  // children
  return WriteResource("TPictureCollectionComponent", w.Bytes().Data());
}

void TPictureCollection::LoadFromFile(const std::string& FileName) {
  std::error_code ec;
  if (std::filesystem::is_directory(Utf8Path(FileName), ec)) {
    throw EFOpenError(
        Format("Cannot open file \"%s\". %s", FileName.c_str(), std::strerror(EISDIR)));
  }
  std::ifstream in(Utf8Path(FileName), std::ios::binary);
  if (!in) {
    throw EFOpenError(
        Format("Cannot open file \"%s\". %s", FileName.c_str(), std::strerror(errno)));
  }
  std::vector<uint8_t> data;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    try {
      data.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
      throw EReadError("Out of memory");
    }
    in.read(reinterpret_cast<char*>(data.data()), size);
  }
  if (size < 0 || in.bad() || in.gcount() != size) {
    throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName.c_str(), "Read error"));
  }
  LoadFromStream(data);
}

void TPictureCollection::SaveToFile(const std::string& FileName) const {
  const auto data = SaveToStream();
  std::ofstream out(Utf8Path(FileName), std::ios::binary | std::ios::trunc);
  if (out)
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
  if (!out) {
    throw EFCreateError(
        Format("Cannot create file \"%s\". %s", FileName.c_str(), std::strerror(errno)));
  }
}

void TPictureCollection::Initialize(TDXDraw& Display) {
  if (!Display.Initialized()) {
    throw EPictureCollectionError(Format("%s cannot be initialized", "TPictureCollection"));
  }
  Finalize();
  FDXDraw = &Display;
  for (int32_t i = 0; i < Count(); ++i) {
    Items(i).Initialize();
  }
}

void TPictureCollection::Restore() {
  for (int32_t i = 0; i < Count(); ++i) Items(i).Restore();
}

void TPictureCollection::Finalize() {
  for (int32_t i = 0; i < Count(); ++i) Items(i).Finalize();
  FDXDraw = nullptr;
}

bool TPictureCollection::Initialized() const {
  return FDXDraw && FDXDraw->Initialized();
}
