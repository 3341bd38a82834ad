#include "media/DXClass.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

const std::string& EDXError::Reason() const {
  static const std::string None;
  return FReason ? *FReason : None;
}

std::string PlayerReport(const std::exception& Error) {
  const auto* dx = dynamic_cast<const EDXError*>(&Error);
  return dx && !dx->Reason().empty() ? dx->Reason() : std::string(Error.what());
}

std::string Format(const char* Fmt, ...) {
  va_list args;
  va_start(args, Fmt);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, Fmt, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), Fmt, args);
    out.assign(buf.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

void TByteReader::Need(size_t Count) const {
  if (Count > Remaining()) throw EReadError("Stream read error");
}

uint8_t TByteReader::ReadU8() {
  Need(1);
  return FData[FPos++];
}

uint16_t TByteReader::ReadU16() {
  Need(2);
  const uint16_t v = static_cast<uint16_t>(FData[FPos] | (FData[FPos + 1] << 8));
  FPos += 2;
  return v;
}

uint32_t TByteReader::ReadU32() {
  Need(4);
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | FData[FPos + static_cast<size_t>(i)];
  FPos += 4;
  return v;
}

uint64_t TByteReader::ReadU64() {
  const uint64_t lo = ReadU32();
  const uint64_t hi = ReadU32();
  return lo | (hi << 32);
}

std::span<const uint8_t> TByteReader::ReadBytes(size_t Count) {
  Need(Count);
  auto out = FData.subspan(FPos, Count);
  FPos += Count;
  return out;
}

void TByteWriter::WriteBytes(std::span<const uint8_t> Bytes) {
  if (Bytes.empty()) return;
  const size_t at = FData.size();
  FData.resize(at + Bytes.size());
  std::memcpy(FData.data() + at, Bytes.data(), Bytes.size());
}

void TByteWriter::WriteU16(uint16_t V) {
  WriteU8(static_cast<uint8_t>(V));
  WriteU8(static_cast<uint8_t>(V >> 8));
}

void TByteWriter::WriteU32(uint32_t V) {
  for (int i = 0; i < 4; ++i) WriteU8(static_cast<uint8_t>(V >> (8 * i)));
}

void TByteWriter::WriteU64(uint64_t V) {
  WriteU32(static_cast<uint32_t>(V));
  WriteU32(static_cast<uint32_t>(V >> 32));
}

void TByteWriter::PatchU32(size_t Position, uint32_t V) {
  for (size_t i = 0; i < 4; ++i) FData.at(Position + i) = static_cast<uint8_t>(V >> (8 * i));
}

namespace {
char LowerChar(char C) {
  return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}
}  // namespace

std::string LowerCase(std::string_view S) {
  std::string out(S);
  for (char& c : out) c = LowerChar(c);
  return out;
}

// Compared and hashed letter by letter: look-ups run every frame and must not allocate.
bool SameText(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    if (LowerChar(A[i]) != LowerChar(B[i])) return false;
  }
  return true;
}

void THashCollectionItem::SetName(const std::string& Name) {
  std::string fresh = Name;  // a failing copy leaves the index as it was
  FCollection->Unlink(*this);
  FName.swap(fresh);
  FCollection->Link(*this);
}

THashCollection::~THashCollection() = default;

uint8_t THashCollection::HashName(std::string_view Name) {
  uint32_t v = static_cast<uint32_t>(Name.size()) * 16;
  if (Name.size() >= 2) {
    v += static_cast<uint8_t>(LowerChar(Name[Name.size() - 2]));
    v += static_cast<uint8_t>(LowerChar(Name[0]));
  }
  return static_cast<uint8_t>(v & 0xFF);
}

int32_t THashCollection::IndexOf(std::string_view Name) const {
  for (const THashCollectionItem* i = FNewest[HashName(Name)]; i; i = i->FOlder) {
    if (SameText(i->FName, Name)) return i->FIndex;
  }
  return -1;
}

THashCollectionItem& THashCollection::ItemAt(int32_t Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format("List index out of bounds (%d)", Index));
  return *FItems[static_cast<size_t>(Index)];
}

void THashCollection::Delete(int32_t Index) {
  THashCollectionItem& item = ItemAt(Index);
  Unlink(item);
  FItems.erase(FItems.begin() + Index);
  for (size_t i = static_cast<size_t>(Index); i < FItems.size(); ++i) {
    FItems[i]->FIndex = static_cast<int32_t>(i);
  }
}

void THashCollection::Clear() {
  // Items go from the last, as removing them one by one would.
  while (!FItems.empty()) Delete(Count() - 1);
}

THashCollectionItem& THashCollection::AddItem(std::unique_ptr<THashCollectionItem> Item) {
  Item->FCollection = this;
  Item->FIndex = Count();
  FItems.push_back(std::move(Item));
  Link(*FItems.back());
  return *FItems.back();
}

void THashCollection::Unlink(THashCollectionItem& Item) {
  if (Item.FNewer) {
    Item.FNewer->FOlder = Item.FOlder;
  } else {
    FNewest[HashName(Item.FName)] = Item.FOlder;
  }
  if (Item.FOlder) Item.FOlder->FNewer = Item.FNewer;
  Item.FOlder = Item.FNewer = nullptr;
}

void THashCollection::Link(THashCollectionItem& Item) {
  THashCollectionItem*& newest = FNewest[HashName(Item.FName)];
  Item.FOlder = newest;
  Item.FNewer = nullptr;
  if (newest) newest->FNewer = &Item;
  newest = &Item;
}

void THashCollection::TakeItems(THashCollection& Source) {
  if (&Source == this) return;
  Clear();
  FItems = std::move(Source.FItems);
  FNewest = Source.FNewest;
  Source.FItems.clear();
  Source.FNewest.fill(nullptr);
  for (auto& item : FItems) item->FCollection = this;
}
