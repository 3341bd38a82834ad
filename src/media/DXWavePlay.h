// Playback of a wave item on the sound output: one main buffer made from the wave, and copies of
// it for plays that overlap.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "media/DXWave.h"
#include "media/SoundOutput.h"

class TDXSound;

class TWaveItemPlayer final : public TWavePlayer {
 public:
  TWaveItemPlayer(TDXSound& Sound, TWaveCollectionItem& Item) : FSound(Sound), FItem(Item) {}
  ~TWaveItemPlayer() override;
  TWaveItemPlayer(const TWaveItemPlayer&) = delete;
  TWaveItemPlayer& operator=(const TWaveItemPlayer&) = delete;

  // Makes the main buffer anew from the item's wave; the copies of the old one go.
  void Restore();

  void Play(bool Wait) override;
  void Stop() override;
  void DropCopies() override;

  bool HasMainBuffer() const { return FMain != nullptr; }
  size_t CopyCount() const { return FCopies.size(); }
  // Buffers of the item sounding now, main buffer included.
  size_t PlayingCount() const;

 private:
  bool AnyLost() const;
  TSoundBuffer& PickCopy();
  void Apply(TSoundBuffer& Buffer) const;

  TDXSound& FSound;
  TWaveCollectionItem& FItem;
  std::unique_ptr<TSoundBuffer> FMain;
  std::vector<std::unique_ptr<TSoundBuffer>> FCopies;  // oldest first
};
