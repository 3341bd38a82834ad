#include "media/DXWave.h"

#include <algorithm>

namespace {

bool IsId(std::span<const uint8_t> B, const char* Id) {
  return std::equal(B.begin(), B.end(), Id);
}

int32_t Field(const std::vector<uint8_t>& F, size_t At, size_t Size) {
  if (F.size() < At + Size) return 0;
  uint32_t v = 0;
  for (size_t i = Size; i-- > 0;) v = (v << 8) | F[At + i];
  return static_cast<int32_t>(v);
}

}  // namespace

void TWave::Clear() {
  FFormat.clear();
  FData.clear();
}

int32_t TWave::FormatTag() const {
  return Field(FFormat, 0, 2);
}
int32_t TWave::Channels() const {
  return Field(FFormat, 2, 2);
}
int32_t TWave::SamplesPerSec() const {
  return Field(FFormat, 4, 4);
}
int32_t TWave::BlockAlign() const {
  return Field(FFormat, 12, 2);
}
int32_t TWave::BitsPerSample() const {
  return Field(FFormat, 14, 2);
}

TWave TWave::FromPCM(int32_t Channels, int32_t SamplesPerSec, int32_t BitsPerSample,
                     std::vector<uint8_t> Data) {
  const int32_t align = Channels * ((BitsPerSample + 7) / 8);
  TByteWriter f;
  f.WriteU16(1);  // PCM
  f.WriteU16(static_cast<uint16_t>(Channels));
  f.WriteI32(SamplesPerSec);
  f.WriteI32(SamplesPerSec * align);
  f.WriteU16(static_cast<uint16_t>(align));
  f.WriteU16(static_cast<uint16_t>(BitsPerSample));
  TWave w;
  w.FFormat = std::move(f).Data();
  w.FData = std::move(Data);
  return w;
}

void TWave::LoadFromStream(std::span<const uint8_t> Data) {
  if (Data.empty()) {
    Clear();
    return;
  }
  if (Data.size() < 12 || !IsId(Data.first(4), "RIFF") || !IsId(Data.subspan(8, 4), "WAVE")) {
    throw EWaveError("Wave is invalid");
  }
  TByteReader r(Data.subspan(12));
  std::vector<uint8_t> format, data;
  // A missing or short chunk header ends the walk.
  while (r.Remaining() >= 8) {
    const auto id = r.ReadBytes(4);
    const uint32_t size = r.ReadU32();
    if (IsId(id, "fmt ")) {
      const auto b = r.ReadBytes(size);
      format.assign(b.begin(), b.end());
    } else if (IsId(id, "data")) {
      const auto b = r.ReadBytes(size);
      data.assign(b.begin(), b.end());
    } else if (size > r.Remaining()) {
      break;  // skipping past the end ends the walk
    } else {
      r.Skip(size);
    }
    if (size % 2 == 1 && !r.AtEnd()) r.Skip(1);
  }
  FFormat = std::move(format);
  FData = std::move(data);
}

std::vector<uint8_t> TWave::SaveToStream() const {
  if (FFormat.empty() && FData.empty()) return {};
  if (FFormat.empty()) throw EWaveError("Format is invalid");
  TByteWriter w;
  w.WriteString("RIFF");
  w.WriteU32(0);
  w.WriteString("WAVE");
  for (const auto* chunk : {&FFormat, &FData}) {
    w.WriteString(chunk == &FFormat ? "fmt " : "data");
    w.WriteU32(static_cast<uint32_t>(chunk->size()));
    w.WriteBytes(*chunk);
    if (chunk->size() % 2 == 1) w.WriteU8(0);
  }
  w.PatchU32(4, static_cast<uint32_t>(w.Size() - 8));
  return std::move(w).Data();
}

void TWaveCollectionItem::SetLooped(bool Value) {
  if (Value == FLooped) return;
  Stop();
  FLooped = Value;
}

void TWaveCollectionItem::SetMaxPlayingCount(int32_t Value) {
  Value = std::max(Value, 0);
  if (Value == FMaxPlayingCount) return;
  FMaxPlayingCount = Value;
  if (FPlayer) FPlayer->DropCopies();
}

void TWaveCollectionItem::Play(bool Wait) {
  if (FPlayer) FPlayer->Play(Wait);
}

void TWaveCollectionItem::Stop() {
  if (FPlayer) FPlayer->Stop();
}

TWaveCollectionItem& TWaveCollection::Items(int32_t Index) const {
  return static_cast<TWaveCollectionItem&>(ItemAt(Index));
}

TWaveCollectionItem& TWaveCollection::Find(std::string_view Name) const {
  const int32_t i = IndexOf(Name);
  if (i < 0) throw EWaveCollectionError(Format("Wave '%s' not found", std::string(Name).c_str()));
  return Items(i);
}

TWaveCollectionItem& TWaveCollection::Add() {
  return static_cast<TWaveCollectionItem&>(AddItem(std::make_unique<TWaveCollectionItem>(*this)));
}
