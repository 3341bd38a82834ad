// Device-independent pictures: the stored form of picture data (headers, masks, colour table,
// rows, RLE), the BMP file form, and pixel access. Copies share one pixel store until one
// of them changes. A picture holds only what it has: no colour table unless it has one, and no
// pixel store until its pixels are first touched.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct TRGBQuad {
  uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
  bool operator==(const TRGBQuad&) const = default;
};

struct TPixelFormat {
  uint32_t RedMask = 0xFF0000, GreenMask = 0xFF00, BlueMask = 0xFF;
  bool operator==(const TPixelFormat&) const = default;
};

class TDIB {
 public:
  // Nothing larger is a picture: no texture the game makes is larger, and the bounds keep what
  // a small run-length picture expands to within reason. A side beyond MaxSide, or more than
  // MaxPixels pixels, is "DIB is invalid"; MaxPixels also bounds an image-list file's pictures
  // together.
  static constexpr int32_t MaxSide = 4096;
  static constexpr int64_t MaxPixels = int64_t{1} << 23;

  TDIB() noexcept;
  ~TDIB();
  TDIB(const TDIB&);
  TDIB& operator=(const TDIB&);
  TDIB(TDIB&&) noexcept;
  TDIB& operator=(TDIB&&) noexcept;

  // A new picture of zeroed pixels; bit count 1, 4, 8, 16, 24 or 32.
  void SetSize(int32_t Width, int32_t Height, int32_t BitCount);
  void Clear();

  int32_t Width() const;
  int32_t Height() const;
  int32_t BitCount() const;
  int32_t Stride() const;
  bool Empty() const;
  const TPixelFormat& PixelFormat() const;
  void SetPixelFormat(const TPixelFormat& Format);  // 16-bit pictures: 5-5-5 or 5-6-5
  const std::array<TRGBQuad, 256>& ColorTable() const;
  std::array<TRGBQuad, 256>& ColorTable();  // changing it detaches from shared copies

  // Row access, top row = 0; a row outside the picture raises
  // "Index of the scanning line exceeded the range. (%d)". The writable form detaches.
  const uint8_t* ScanLine(int32_t Row) const;
  uint8_t* ScanLine(int32_t Row);
  // The raw pixel value at (X, Y), Y = 0 the top row; 0 outside the picture.
  uint32_t Pixels(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, uint32_t Value);

  bool HasAlphaChannel() const;
  // The memory the picture holds now: pixel store, encoded rows and colour table.
  size_t HeldBytes() const;

  // The stored form: header, masks, colour table, pixels. Reading an empty span gives an
  // empty picture; errors raise and keep the previous picture. Returns the bytes consumed.
  size_t ReadData(std::span<const uint8_t> Data);
  std::vector<uint8_t> WriteData() const;
  // The BMP file form (14-byte file header, then the stored form).
  size_t LoadFromBMP(std::span<const uint8_t> Data);
  std::vector<uint8_t> SaveToBMP() const;

  // Top-down RGBA, 8 bits a channel, Width x Height x 4 bytes: every bit count widened; alpha
  // 255 unless the picture has an alpha channel.
  std::vector<uint8_t> ToRGBA() const;
  // A 24-bit (alpha dropped) or 32-bit picture from top-down RGBA.
  static TDIB FromRGBA(int32_t Width, int32_t Height, std::span<const uint8_t> RGBA,
                       int32_t BitCount = 24);

 private:
  struct TImage;
  std::shared_ptr<TImage> FImage;  // null: the empty picture
  const TImage& Image() const;
  void Detach();
};
