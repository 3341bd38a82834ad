// Waves and wave lists: RIFF WAVE data (format block kept whole, data block), named wave items
// and the wave-list component. Playback belongs to the sound output, which attaches a player
// to each item while a sound device is up; without one Play and Stop do nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/DXClass.h"

class TDXSound;
enum class TDXSoundNotifyType;

class TWave {
 public:
  // The "fmt " chunk's bytes as stored (format tag, channels, rate, bytes per second, block
  // align, bits per sample and any extension), and the "data" chunk's bytes.
  const std::vector<uint8_t>& Format() const { return FFormat; }
  const std::vector<uint8_t>& Data() const { return FData; }
  void SetFormat(std::vector<uint8_t> Format) { FFormat = std::move(Format); }
  void SetData(std::vector<uint8_t> Data) { FData = std::move(Data); }
  bool Empty() const { return FFormat.empty() || FData.empty(); }
  void Clear();

  // Fields of the format block; 0 when the block is too short to hold them.
  int32_t FormatTag() const;
  int32_t Channels() const;
  int32_t SamplesPerSec() const;
  int32_t BlockAlign() const;
  int32_t BitsPerSample() const;

  // A PCM wave with a 16-byte format block.
  static TWave FromPCM(int32_t Channels, int32_t SamplesPerSec, int32_t BitsPerSample,
                       std::vector<uint8_t> Data);

  // RIFF WAVE data. An empty span gives an empty wave. Raises EWaveError "Wave is invalid"
  // without the RIFF/WAVE header and EReadError "Stream read error" when a format or data
  // chunk is shorter than its size says; the previous wave is kept on error.
  void LoadFromStream(std::span<const uint8_t> Data);
  // Nothing for an empty wave; raises EWaveError "Format is invalid" for data without format.
  std::vector<uint8_t> SaveToStream() const;

 private:
  std::vector<uint8_t> FFormat;
  std::vector<uint8_t> FData;
};

class TWaveCollectionItem;

// The sound output's side of one item (its main buffer and playing copies), attached while
// a sound device is initialised.
class TWavePlayer {
 public:
  virtual ~TWavePlayer() = default;
  virtual void Play(bool Wait) = 0;
  virtual void Stop() = 0;        // the main buffer and every playing copy
  virtual void DropCopies() = 0;  // stop and discard the playing copies
};

class TWaveCollectionItem : public THashCollectionItem {
 public:
  using THashCollectionItem::THashCollectionItem;

  // Applied to every buffer before it plays: 0 = the wave's own rate, centre, full volume.
  int32_t Frequency = 0;
  int32_t Pan = 0;
  int32_t Volume = 0;

  bool Looped() const { return FLooped; }
  void SetLooped(bool Value);  // a change stops the item first
  int32_t MaxPlayingCount() const { return FMaxPlayingCount; }
  void SetMaxPlayingCount(int32_t Value);  // negatives become 0 (no limit)
  TWave& Wave() { return FWave; }
  const TWave& Wave() const { return FWave; }

  void Play(bool Wait);
  void Stop();

  // The sound output attaches its player on the device's initialize notice and detaches it
  // on finalize.
  bool Initialized() const { return FPlayer != nullptr; }
  void AttachPlayer(std::unique_ptr<TWavePlayer> Player) { FPlayer = std::move(Player); }
  void DetachPlayer() { FPlayer.reset(); }
  TWavePlayer* Player() const { return FPlayer.get(); }

 private:
  bool FLooped = false;
  int32_t FMaxPlayingCount = 0;
  TWave FWave;
  std::unique_ptr<TWavePlayer> FPlayer;
};

class TWaveCollection : public THashCollection {
 public:
  TWaveCollectionItem& Items(int32_t Index) const;
  // Raises EWaveCollectionError "Wave '%s' not found".
  TWaveCollectionItem& Find(std::string_view Name) const;
  TWaveCollectionItem& Add();
};

// The wave-list component: a wave collection and the sound device it is bound to, if any.
// Bound, it follows the device's notices: players attached on initialize, main buffers made on
// restore, everything dropped on finalize (playback lives in DXWavePlay.cpp).
class TDXWaveList {
 public:
  TDXWaveList() = default;
  ~TDXWaveList();
  TDXWaveList(const TDXWaveList&) = delete;
  TDXWaveList& operator=(const TDXWaveList&) = delete;

  TWaveCollection& Items() { return FItems; }
  const TWaveCollection& Items() const { return FItems; }
  TDXSound* DXSound() const { return FDXSound; }
  void SetDXSound(TDXSound* Sound);

 private:
  void SoundNotify(TDXSoundNotifyType Type);

  TWaveCollection FItems;
  TDXSound* FDXSound = nullptr;
  int FHandle = 0;
};
