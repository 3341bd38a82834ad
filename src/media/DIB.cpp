#include "media/DIB.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "media/DXClass.h"

namespace {

constexpr uint32_t kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3;

[[noreturn]] void Invalid() {
  throw EInvalidGraphic("DIB is invalid");
}

bool ValidBitCount(int32_t B) {
  return B == 1 || B == 4 || B == 8 || B == 16 || B == 24 || B == 32;
}

// The bounds also keep Stride x Height well inside 32 bits whatever a header claims.
bool ValidSize(int64_t Width, int64_t Height) {
  return Width >= 0 && Height >= 0 && Width <= TDIB::MaxSide && Height <= TDIB::MaxSide &&
         Width * Height <= TDIB::MaxPixels;
}

int64_t StrideOf(int64_t BitCount, int64_t Width) {
  return ((BitCount * Width + 31) / 32) * 4;
}

constexpr TPixelFormat k888{0xFF0000, 0xFF00, 0xFF};
constexpr TPixelFormat k555{0x7C00, 0x03E0, 0x001F};
constexpr TPixelFormat k565{0xF800, 0x07E0, 0x001F};

TPixelFormat DefaultFormat(int32_t BitCount) {
  return BitCount == 16 ? k555 : k888;
}

// The masks must say where the channels are, not only how wide: pixels are decoded by the
// standard positions, so a mask set with swapped or shifted channels would give wrong colours.
bool ValidFormat(int32_t BitCount, const TPixelFormat& F) {
  if (BitCount == 16) return F == k555 || F == k565;
  return F == k888;
}

// The raw value of pixel X of a row.
uint32_t PixelOf(const uint8_t* Row, size_t X, int32_t BitCount) {
  switch (BitCount) {
    case 1:
      return (Row[X / 8] >> (7 - X % 8)) & 1u;
    case 4:
      return X % 2 == 0 ? Row[X / 2] >> 4 : Row[X / 2] & 0x0Fu;
    case 8:
      return Row[X];
    case 16:
      return static_cast<uint32_t>(Row[2 * X] | (Row[2 * X + 1] << 8));
    case 24:
      return Row[3 * X] | (Row[3 * X + 1] << 8) | (static_cast<uint32_t>(Row[3 * X + 2]) << 16);
    case 32:
      return Row[4 * X] | (Row[4 * X + 1] << 8) | (static_cast<uint32_t>(Row[4 * X + 2]) << 16) |
             (static_cast<uint32_t>(Row[4 * X + 3]) << 24);
    default:
      return 0;
  }
}

uint8_t Widen(uint32_t V, int Bits) {
  return Bits == 5 ? static_cast<uint8_t>((V << 3) | (V >> 2))
                   : static_cast<uint8_t>((V << 2) | (V >> 4));
}

}  // namespace

namespace {

// Expands RLE8 / RLE4 data into bottom-up rows of Stride bytes, or with no output only checks
// it. Every run, literal and delta is checked against the row and the picture; data ending
// without the end mark is accepted.
void DecodeRLE(std::span<const uint8_t> Data, bool Four, int32_t Width, int32_t Height,
               int32_t Stride, uint8_t* Out) {
  int64_t x = 0, y = 0;
  auto put = [&](uint8_t Index) {
    if (y >= Height || x >= Width) Invalid();
    if (!Out) {
      ++x;
      return;
    }
    uint8_t* row = Out + y * Stride;
    if (Four) {
      const size_t byte = static_cast<size_t>(x / 2);
      if (x % 2 == 0) {
        row[byte] = static_cast<uint8_t>((row[byte] & 0x0F) | (Index << 4));
      } else {
        row[byte] = static_cast<uint8_t>((row[byte] & 0xF0) | (Index & 0x0F));
      }
    } else {
      row[x] = Index;
    }
    ++x;
  };
  size_t p = 0;
  auto next = [&]() -> uint8_t {
    if (p >= Data.size()) Invalid();
    return Data[p++];
  };
  while (p < Data.size()) {
    const uint8_t count = next();
    const uint8_t value = next();
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        put(Four ? static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      return;
    } else if (value == 2) {  // delta
      const uint8_t dx = next();
      const uint8_t dy = next();
      x += dx;
      y += dy;
      if (x > Width || y > Height || (y == Height && x > 0)) Invalid();
    } else {  // literal run, padded to an even byte count
      const size_t bytes = Four ? (value + 1u) / 2u : value;
      if (bytes > Data.size() - p) Invalid();
      for (int i = 0; i < value; ++i) {
        const uint8_t b = Data[p + static_cast<size_t>(Four ? i / 2 : i)];
        put(Four ? static_cast<uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
      }
      p += bytes + (bytes % 2);
      if (p > Data.size()) p = Data.size();
    }
  }
}

}  // namespace

namespace {

using TColorTable = std::array<TRGBQuad, 256>;

const TColorTable& NoColors() {
  static const TColorTable zeros{};
  return zeros;
}

// A colour table that exists only when the picture has one; copies are deep.
class TColorTableStore {
 public:
  TColorTableStore() = default;
  TColorTableStore(const TColorTableStore& Other)
      : FTable(Other.FTable ? std::make_unique<TColorTable>(*Other.FTable) : nullptr) {}
  TColorTableStore& operator=(const TColorTableStore& Other) {
    if (this != &Other)
      FTable = Other.FTable ? std::make_unique<TColorTable>(*Other.FTable) : nullptr;
    return *this;
  }
  TColorTableStore(TColorTableStore&&) noexcept = default;
  TColorTableStore& operator=(TColorTableStore&&) noexcept = default;

  bool Held() const { return FTable != nullptr; }
  const TColorTable& Get() const { return FTable ? *FTable : NoColors(); }
  TColorTable& Make() {
    if (!FTable) FTable = std::make_unique<TColorTable>();
    return *FTable;
  }

 private:
  std::unique_ptr<TColorTable> FTable;
};

}  // namespace

struct TDIB::TImage {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitCount = 0;
  int32_t Stride = 0;
  TPixelFormat PixelFormat;
  TColorTableStore ColorTable;
  // The encoded form an RLE picture was read from: checked at load, expanded on first use,
  // and written back as it is until the pixels change.
  uint32_t Compression = kRGB;
  std::vector<uint8_t> Encoded;

  // Bottom-up rows, made on first use: zeroed, or expanded from the encoded form.
  const std::vector<uint8_t>& Bytes() const {
    if (Pixels.empty() && Width > 0) {
      std::vector<uint8_t> rows(static_cast<size_t>(Stride) * static_cast<size_t>(Height), 0);
      if (Compression != kRGB) {
        DecodeRLE(Encoded, Compression == kRLE4, Width, Height, Stride, rows.data());
      }
      Pixels = std::move(rows);
    }
    return Pixels;
  }
  mutable std::vector<uint8_t> Pixels;
};

TDIB::TDIB() noexcept = default;
TDIB::~TDIB() = default;
TDIB::TDIB(const TDIB&) = default;
TDIB& TDIB::operator=(const TDIB&) = default;
// Moves only hand the store over: the source is left as the empty picture, nothing allocated.
TDIB::TDIB(TDIB&& Other) noexcept = default;
TDIB& TDIB::operator=(TDIB&& Other) noexcept = default;

const TDIB::TImage& TDIB::Image() const {
  static const TImage empty;
  return FImage ? *FImage : empty;
}

void TDIB::Detach() {
  if (!FImage) {
    FImage = std::make_shared<TImage>();
    return;
  }
  FImage->Bytes();
  if (FImage.use_count() > 1) FImage = std::make_shared<TImage>(*FImage);
  FImage->Encoded = {};
  FImage->Compression = kRGB;
}

void TDIB::SetSize(int32_t Width, int32_t Height, int32_t BitCount) {
  if (!ValidBitCount(BitCount)) throw EInvalidGraphic(Format("Bitcount in invalid (%d)", BitCount));
  if (!ValidSize(Width, Height)) Invalid();
  if (Width == 0 || Height == 0) {
    FImage.reset();
    return;
  }
  auto img = std::make_shared<TImage>();
  img->Width = Width;
  img->Height = Height;
  img->BitCount = BitCount;
  img->Stride = static_cast<int32_t>(StrideOf(BitCount, Width));
  img->PixelFormat = DefaultFormat(BitCount);
  FImage = std::move(img);
}

void TDIB::Clear() {
  FImage.reset();
}

int32_t TDIB::Width() const {
  return Image().Width;
}
int32_t TDIB::Height() const {
  return Image().Height;
}
int32_t TDIB::BitCount() const {
  return Image().BitCount;
}
int32_t TDIB::Stride() const {
  return Image().Stride;
}
bool TDIB::Empty() const {
  return Image().Width == 0 || Image().Height == 0;
}
const TPixelFormat& TDIB::PixelFormat() const {
  return Image().PixelFormat;
}

void TDIB::SetPixelFormat(const TPixelFormat& Format) {
  if (!ValidFormat(Image().BitCount, Format)) throw EInvalidGraphic("PixelFormat in invalid");
  Detach();
  FImage->PixelFormat = Format;
}

const std::array<TRGBQuad, 256>& TDIB::ColorTable() const {
  return Image().ColorTable.Get();
}

std::array<TRGBQuad, 256>& TDIB::ColorTable() {
  Detach();
  return FImage->ColorTable.Make();
}

const uint8_t* TDIB::ScanLine(int32_t Row) const {
  const TImage& img = Image();
  if (Row < 0 || Row >= img.Height) {
    throw EInvalidGraphic(Format("Index of the scanning line exceeded the range. (%d)", Row));
  }
  return img.Bytes().data() +
         static_cast<size_t>(img.Height - 1 - Row) * static_cast<size_t>(img.Stride);
}

uint8_t* TDIB::ScanLine(int32_t Row) {
  std::as_const(*this).ScanLine(Row);  // range check before detaching
  Detach();
  return const_cast<uint8_t*>(std::as_const(*this).ScanLine(Row));
}

uint32_t TDIB::Pixels(int32_t X, int32_t Y) const {
  const TImage& img = Image();
  if (X < 0 || Y < 0 || X >= img.Width || Y >= img.Height) return 0;
  return PixelOf(ScanLine(Y), static_cast<size_t>(X), img.BitCount);
}

void TDIB::SetPixel(int32_t X, int32_t Y, uint32_t Value) {
  if (X < 0 || Y < 0 || X >= Image().Width || Y >= Image().Height) return;
  uint8_t* row = ScanLine(Y);
  const size_t x = static_cast<size_t>(X);
  switch (Image().BitCount) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80u >> (x % 8));
      row[x / 8] = static_cast<uint8_t>((Value & 1u) ? row[x / 8] | bit : row[x / 8] & ~bit);
      break;
    }
    case 4:
      row[x / 2] = x % 2 == 0 ? static_cast<uint8_t>((row[x / 2] & 0x0F) | ((Value & 0x0F) << 4))
                              : static_cast<uint8_t>((row[x / 2] & 0xF0) | (Value & 0x0F));
      break;
    default:
      for (int32_t i = 0; i < Image().BitCount / 8; ++i) {
        row[x * static_cast<size_t>(Image().BitCount / 8) + static_cast<size_t>(i)] =
            static_cast<uint8_t>(Value >> (8 * i));
      }
  }
}

bool TDIB::HasAlphaChannel() const {
  const TImage& img = Image();
  if (img.BitCount != 32) return false;
  for (int32_t y = 0; y < img.Height; ++y) {
    const uint8_t* row = ScanLine(y);
    for (int32_t x = 0; x < img.Width; ++x) {
      if (row[4 * x + 3] != 0) return true;
    }
  }
  return false;
}

size_t TDIB::HeldBytes() const {
  if (!FImage) return 0;
  return FImage->Pixels.capacity() + FImage->Encoded.capacity() +
         (FImage->ColorTable.Held() ? sizeof(TColorTable) : 0);
}

size_t TDIB::ReadData(std::span<const uint8_t> Data) {
  if (Data.empty()) {
    Clear();
    return 0;
  }
  if (Data.size() < 4) Invalid();
  TByteReader r(Data);
  const uint32_t headerSize = r.ReadU32();
  int64_t width = 0, height = 0;
  int32_t bitCount = 0;
  uint32_t compression = kRGB, imageSize = 0, colorsUsed = 0;
  size_t entrySize = 4;
  if (headerSize == 40) {
    width = r.ReadI32();
    height = r.ReadI32();
    r.ReadU16();  // planes
    bitCount = r.ReadU16();
    compression = r.ReadU32();
    imageSize = r.ReadU32();
    r.Skip(8);  // resolutions
    colorsUsed = r.ReadU32();
    r.ReadU32();  // colours important
  } else if (headerSize == 12) {
    width = r.ReadI16();
    height = r.ReadI16();
    r.ReadU16();
    bitCount = r.ReadU16();
    entrySize = 3;
  } else {
    Invalid();
  }

  // Everything the header alone decides is checked before anything is read or allocated.
  if (!ValidBitCount(bitCount)) throw EInvalidGraphic(Format("Bitcount in invalid (%d)", bitCount));
  if (compression > kBitFields) Invalid();
  // RLE8 holds 8-bit pictures and RLE4 4-bit ones; anything else cannot be decoded.
  if ((compression == kRLE8 && bitCount != 8) || (compression == kRLE4 && bitCount != 4)) Invalid();
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (!ValidSize(width, height)) Invalid();

  auto img = std::make_shared<TImage>();
  img->PixelFormat = DefaultFormat(bitCount);
  if (compression == kBitFields) {
    img->PixelFormat.RedMask = r.ReadU32();
    img->PixelFormat.GreenMask = r.ReadU32();
    img->PixelFormat.BlueMask = r.ReadU32();
  }
  uint32_t colors = colorsUsed;
  if (colors == 0 && bitCount <= 8) colors = 1u << bitCount;
  colors = std::min<uint32_t>(colors, 256);
  if (colors > 0) {
    TColorTable& table = img->ColorTable.Make();
    for (uint32_t i = 0; i < colors; ++i) {
      auto e = r.ReadBytes(entrySize);
      table[i] = TRGBQuad{e[0], e[1], e[2], 0};
    }
  }
  if (!ValidFormat(bitCount, img->PixelFormat)) throw EInvalidGraphic("PixelFormat in invalid");
  if (width == 0 || height == 0) {
    FImage.reset();
    return r.Position();
  }
  img->Width = static_cast<int32_t>(width);
  img->Height = static_cast<int32_t>(height);
  img->BitCount = bitCount;
  img->Stride = static_cast<int32_t>(StrideOf(bitCount, width));
  const size_t size = static_cast<size_t>(img->Stride) * static_cast<size_t>(height);

  if (compression == kRLE8 || compression == kRLE4) {
    // Encoded rows run bottom-up by definition; a top-down RLE picture is not one.
    if (topDown) Invalid();
    auto encoded = r.ReadBytes(imageSize);
    DecodeRLE(encoded, compression == kRLE4, img->Width, img->Height, img->Stride, nullptr);
    img->Compression = compression;
    img->Encoded.assign(encoded.begin(), encoded.end());
  } else {
    auto pixels = r.ReadBytes(size);
    img->Pixels.assign(pixels.begin(), pixels.end());
  }
  if (topDown) {
    // The first stored row is the top row; held rows run bottom-up.
    const size_t stride = static_cast<size_t>(img->Stride);
    std::vector<uint8_t> tmp(stride);
    for (size_t a = 0, b = static_cast<size_t>(height) - 1; a < b; ++a, --b) {
      std::memcpy(tmp.data(), img->Pixels.data() + a * stride, stride);
      std::memcpy(img->Pixels.data() + a * stride, img->Pixels.data() + b * stride, stride);
      std::memcpy(img->Pixels.data() + b * stride, tmp.data(), stride);
    }
  }
  FImage = std::move(img);
  return r.Position();
}

std::vector<uint8_t> TDIB::WriteData() const {
  TByteWriter w;
  if (Empty()) return {};
  const TImage& img = Image();
  const bool masks = img.BitCount == 16 || img.BitCount == 32;
  const bool rle = img.Compression != kRGB;
  w.WriteU32(40);
  w.WriteI32(img.Width);
  w.WriteI32(img.Height);
  w.WriteU16(1);
  w.WriteU16(static_cast<uint16_t>(img.BitCount));
  w.WriteU32(rle ? img.Compression : masks ? kBitFields : kRGB);
  w.WriteU32(static_cast<uint32_t>(rle ? img.Encoded.size() : img.Bytes().size()));
  w.WriteU32(0);
  w.WriteU32(0);
  w.WriteU32(0);
  w.WriteU32(0);
  if (masks && !rle) {
    w.WriteU32(img.PixelFormat.RedMask);
    w.WriteU32(img.PixelFormat.GreenMask);
    w.WriteU32(img.PixelFormat.BlueMask);
  }
  if (img.BitCount <= 8) {
    for (int i = 0; i < (1 << img.BitCount); ++i) {
      const TRGBQuad& c = img.ColorTable.Get()[static_cast<size_t>(i)];
      w.WriteU8(c.Blue);
      w.WriteU8(c.Green);
      w.WriteU8(c.Red);
      w.WriteU8(c.Reserved);
    }
  }
  w.WriteBytes(rle ? img.Encoded : img.Bytes());
  return std::move(w).Data();
}

size_t TDIB::LoadFromBMP(std::span<const uint8_t> Data) {
  if (Data.empty()) {
    Clear();
    return 0;
  }
  if (Data.size() < 14 || Data[0] != 'B' || Data[1] != 'M') Invalid();
  return 14 + ReadData(Data.subspan(14));
}

std::vector<uint8_t> TDIB::SaveToBMP() const {
  if (Empty()) return {};
  const std::vector<uint8_t> dib = WriteData();
  const TImage& img = Image();
  const size_t pixelBytes = img.Compression != kRGB ? img.Encoded.size() : img.Bytes().size();
  TByteWriter w;
  w.WriteString("BM");
  w.WriteU32(static_cast<uint32_t>(14 + dib.size()));
  w.WriteU16(0);
  w.WriteU16(0);
  w.WriteU32(static_cast<uint32_t>(14 + dib.size() - pixelBytes));
  w.WriteBytes(dib);
  return std::move(w).Data();
}

std::vector<uint8_t> TDIB::ToRGBA() const {
  const TImage& img = Image();
  std::vector<uint8_t> out;
  if (Empty()) return out;
  out.resize(static_cast<size_t>(img.Width) * static_cast<size_t>(img.Height) * 4);
  const bool alpha = HasAlphaChannel();
  const bool g6 = img.PixelFormat == k565;
  uint8_t* o = out.data();
  const TColorTable& table = img.ColorTable.Get();
  for (int32_t y = 0; y < img.Height; ++y) {
    const uint8_t* row = ScanLine(y);
    for (int32_t x = 0; x < img.Width; ++x, o += 4) {
      const uint32_t v = PixelOf(row, static_cast<size_t>(x), img.BitCount);
      uint8_t a = 255;
      switch (img.BitCount) {
        case 1:
        case 4:
        case 8: {
          const TRGBQuad& c = table[v & 0xFF];
          o[0] = c.Red;
          o[1] = c.Green;
          o[2] = c.Blue;
          break;
        }
        case 16:
          if (g6) {
            o[0] = Widen((v >> 11) & 31, 5);
            o[1] = Widen((v >> 5) & 63, 6);
          } else {
            o[0] = Widen((v >> 10) & 31, 5);
            o[1] = Widen((v >> 5) & 31, 5);
          }
          o[2] = Widen(v & 31, 5);
          break;
        default:
          o[0] = static_cast<uint8_t>(v >> 16);
          o[1] = static_cast<uint8_t>(v >> 8);
          o[2] = static_cast<uint8_t>(v);
          if (alpha) a = static_cast<uint8_t>(v >> 24);
      }
      o[3] = a;
    }
  }
  return out;
}

TDIB TDIB::FromRGBA(int32_t Width, int32_t Height, std::span<const uint8_t> RGBA,
                    int32_t BitCount) {
  if (BitCount != 24 && BitCount != 32)
    throw EInvalidGraphic(Format("Bitcount in invalid (%d)", BitCount));
  TDIB dib;
  dib.SetSize(Width, Height, BitCount);
  if (RGBA.size() != static_cast<size_t>(Width) * static_cast<size_t>(Height) * 4) Invalid();
  const uint8_t* p = RGBA.data();
  for (int32_t y = 0; y < Height; ++y) {
    uint8_t* row = dib.ScanLine(y);
    for (int32_t x = 0; x < Width; ++x, p += 4) {
      uint8_t* q = row + static_cast<size_t>(x) * static_cast<size_t>(BitCount / 8);
      q[0] = p[2];
      q[1] = p[1];
      q[2] = p[0];
      if (BitCount == 32) q[3] = p[3];
    }
  }
  return dib;
}
