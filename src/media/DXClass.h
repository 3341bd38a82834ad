// Base pieces of the media layer: its exception classes, message formatting, bounded byte
// reading and writing, and the named collection with its name index.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Every error the media layer raises; the message is the component's own fixed text. Errors
// of the platform underneath also carry the reason, in this system's words, for the player.
class EDXError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  EDXError(const std::string& Message, const std::string& Reason)
      : std::runtime_error(Message), FReason(std::make_shared<const std::string>(Reason)) {}
  // Empty when the message says all.
  const std::string& Reason() const;

 private:
  std::shared_ptr<const std::string> FReason;  // shared: copying an error must not throw
};

// What the player reads of an error: its reason where it has one, else its message.
std::string PlayerReport(const std::exception& Error);

// One class per area, as callers catch them.
class EStreamError : public EDXError {
  using EDXError::EDXError;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
class EListError : public EDXError {
  using EDXError::EDXError;
};
class EInvalidGraphic : public EDXError {
  using EDXError::EDXError;
};
class EPropertyError : public EDXError {
  using EDXError::EDXError;
};
class EPictureCollectionError : public EDXError {
  using EDXError::EDXError;
};
class EWaveCollectionError : public EDXError {
  using EDXError::EDXError;
};
class EWaveError : public EDXError {
  using EDXError::EDXError;
};
class EDXDrawError : public EDXError {
  using EDXError::EDXError;
};
class EDirect3DTextureError : public EDXError {
  using EDXError::EDXError;
};
class EDXSoundError : public EDXError {
  using EDXError::EDXError;
};
class EDirectSoundError : public EDXError {
  using EDXError::EDXError;
};
class EDirectSoundBufferError : public EDirectSoundError {
  using EDirectSoundError::EDirectSoundError;
};
class EDXInputError : public EDXError {
  using EDXError::EDXError;
};

// printf-style formatting for the fixed message texts ("Image '%s' not found").
std::string Format(const char* Fmt, ...) __attribute__((format(printf, 1, 2)));

// Little-endian reading of a byte span. Every read is checked against the span's end and
// raises EReadError "Stream read error" instead of reading past it.
class TByteReader {
 public:
  explicit TByteReader(std::span<const uint8_t> Data) : FData(Data) {}

  size_t Position() const { return FPos; }
  size_t Remaining() const { return FData.size() - FPos; }
  bool AtEnd() const { return FPos >= FData.size(); }

  uint8_t ReadU8();
  int8_t ReadI8() { return static_cast<int8_t>(ReadU8()); }
  uint16_t ReadU16();
  int16_t ReadI16() { return static_cast<int16_t>(ReadU16()); }
  uint32_t ReadU32();
  int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
  uint64_t ReadU64();
  int64_t ReadI64() { return static_cast<int64_t>(ReadU64()); }
  // The next Count bytes, as a view into the input.
  std::span<const uint8_t> ReadBytes(size_t Count);
  void Skip(size_t Count) { ReadBytes(Count); }
  // The bytes not read yet, without consuming them.
  std::span<const uint8_t> Rest() const { return FData.subspan(FPos); }

 private:
  void Need(size_t Count) const;
  std::span<const uint8_t> FData;
  size_t FPos = 0;
};

// Little-endian writing into a growing buffer.
class TByteWriter {
 public:
  void WriteU8(uint8_t V) { FData.push_back(V); }
  void WriteU16(uint16_t V);
  void WriteU32(uint32_t V);
  void WriteI32(int32_t V) { WriteU32(static_cast<uint32_t>(V)); }
  void WriteU64(uint64_t V);
  void WriteBytes(std::span<const uint8_t> Bytes);
  void WriteString(std::string_view S) {
    WriteBytes({reinterpret_cast<const uint8_t*>(S.data()), S.size()});
  }
  // Overwrites four bytes already written (lengths known only afterwards).
  void PatchU32(size_t Position, uint32_t V);

  size_t Size() const { return FData.size(); }
  const std::vector<uint8_t>& Data() const& { return FData; }
  std::vector<uint8_t> Data() && { return std::move(FData); }

 private:
  std::vector<uint8_t> FData;
};

class THashCollection;

// An item of a named collection; its name is the lookup key, compared without regard to case.
class THashCollectionItem {
 public:
  explicit THashCollectionItem(THashCollection& Collection) : FCollection(&Collection) {}
  virtual ~THashCollectionItem() = default;
  THashCollectionItem(const THashCollectionItem&) = delete;
  THashCollectionItem& operator=(const THashCollectionItem&) = delete;

  const std::string& Name() const { return FName; }
  // A renamed item goes to the head of its bucket: the latest named wins a lookup.
  void SetName(const std::string& Name);
  int32_t Index() const { return FIndex; }
  THashCollection& Collection() const { return *FCollection; }

 private:
  friend class THashCollection;
  THashCollection* FCollection;
  std::string FName;
  int32_t FIndex = -1;
  // Neighbours in the name index's chain: a rename unlinks in constant time.
  THashCollectionItem* FOlder = nullptr;
  THashCollectionItem* FNewer = nullptr;
};

// An ordered collection of named items with a 256-bucket name index.
class THashCollection {
 public:
  THashCollection() = default;
  virtual ~THashCollection();
  THashCollection(const THashCollection&) = delete;
  THashCollection& operator=(const THashCollection&) = delete;

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // The index of the item last given this name (any letter case), or -1.
  int32_t IndexOf(std::string_view Name) const;
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  THashCollectionItem& ItemAt(int32_t Index) const;
  void Delete(int32_t Index);
  void Clear();

  // The bucket of a name: length x 16, plus the codes of the second-to-last and first
  // characters when there are two or more, of the lower-case name; low 8 bits.
  static uint8_t HashName(std::string_view Name);

 protected:
  // Appends an item made for this collection and indexes its (maybe empty) name.
  THashCollectionItem& AddItem(std::unique_ptr<THashCollectionItem> Item);
  // Replaces the items and name index by those of Source, which is left empty.
  void TakeItems(THashCollection& Source);

 private:
  friend class THashCollectionItem;
  void Unlink(THashCollectionItem& Item);
  void Link(THashCollectionItem& Item);

  std::vector<std::unique_ptr<THashCollectionItem>> FItems;
  // The most recently named item of each chain; older ones follow through FOlder.
  std::array<THashCollectionItem*, 256> FNewest{};
};

// Lower-case ASCII copy; names and keys of the media files are ASCII.
std::string LowerCase(std::string_view S);
bool SameText(std::string_view A, std::string_view B);
