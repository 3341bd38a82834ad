#include "media/DXWavePlay.h"

#include <algorithm>

#include "media/DXClass.h"
#include "media/DXSounds.h"

TWaveItemPlayer::~TWaveItemPlayer() {
  // Copies go before the main buffer whose samples they share.
  FCopies.clear();
  FMain.reset();
}

void TWaveItemPlayer::Restore() {
  DropCopies();
  FMain.reset();
  TSoundOutput* output = FSound.Output();
  const TWave& wave = FItem.Wave();
  if (output == nullptr || wave.Empty()) return;
  try {
    FMain = output->MakeBuffer(wave.Format(), wave.Data(), FSound.BufferFocus(), FItem.Name());
  } catch (const EDirectSoundBufferError&) {
    // A wave the output cannot play stays silent; the other items play on.
    return;
  }
  Apply(*FMain);
}

bool TWaveItemPlayer::AnyLost() const {
  if (FMain && FMain->Lost()) return true;
  return std::any_of(FCopies.begin(), FCopies.end(), [](const auto& C) { return C->Lost(); });
}

size_t TWaveItemPlayer::PlayingCount() const {
  const auto copies =
      std::count_if(FCopies.begin(), FCopies.end(), [](const auto& C) { return C->Playing(); });
  return static_cast<size_t>(copies) + (FMain && FMain->Playing() ? 1 : 0);
}

void TWaveItemPlayer::Apply(TSoundBuffer& Buffer) const {
  Buffer.SetFrequency(FItem.Frequency);
  Buffer.SetPan(FItem.Pan);
  Buffer.SetVolume(FItem.Volume);
}

TSoundBuffer& TWaveItemPlayer::PickCopy() {
  for (auto& c : FCopies)
    if (!c->Playing()) return *c;
  const auto limit = static_cast<size_t>(FItem.MaxPlayingCount());
  if (limit > 0 && FCopies.size() >= limit) {
    // The oldest voice starts over and becomes the newest.
    std::rotate(FCopies.begin(), FCopies.begin() + 1, FCopies.end());
    return *FCopies.back();
  }
  FCopies.push_back(FMain->Duplicate());
  return *FCopies.back();
}

void TWaveItemPlayer::Play(bool Wait) {
  // Restoring rebuilds this player too, so the buffers are looked at only afterwards.
  if (AnyLost()) FSound.Restore();
  if (!FMain) return;
  TSoundBuffer* buffer = FMain.get();
  if (FItem.Looped()) {
    FMain->Stop();
    Apply(*FMain);
    FMain->Play(true);
    // A looped buffer never ends by itself; waiting for it would never return.
    return;
  }
  buffer = &PickCopy();
  buffer->Stop();
  Apply(*buffer);
  buffer->Play(false);
  if (!Wait) return;
  while (buffer->Playing()) {
    TSoundOutput* output = FSound.Output();
    if (output == nullptr) return;
    output->Delay(10);
  }
}

void TWaveItemPlayer::Stop() {
  if (AnyLost()) FSound.Restore();
  if (FMain) FMain->Stop();
  for (auto& c : FCopies) c->Stop();
}

void TWaveItemPlayer::DropCopies() {
  for (auto& c : FCopies) c->Stop();
  FCopies.clear();
}

// The wave list's side of the device's notices.

TDXWaveList::~TDXWaveList() {
  SetDXSound(nullptr);
}

void TDXWaveList::SetDXSound(TDXSound* Sound) {
  if (Sound == FDXSound) return;
  if (FDXSound != nullptr) {
    FDXSound->UnregisterNotifyEvent(FHandle);
    SoundNotify(TDXSoundNotifyType::Finalize);
  }
  FDXSound = Sound;
  FHandle = 0;
  if (Sound != nullptr)
    FHandle = Sound->RegisterNotifyEvent([this](TDXSoundNotifyType T) { SoundNotify(T); });
}

void TDXWaveList::SoundNotify(TDXSoundNotifyType Type) {
  const int32_t count = FItems.Count();
  switch (Type) {
    case TDXSoundNotifyType::Initializing:
      break;
    case TDXSoundNotifyType::Initialize:
      for (int32_t i = 0; i < count; ++i)
        FItems.Items(i).AttachPlayer(std::make_unique<TWaveItemPlayer>(*FDXSound, FItems.Items(i)));
      break;
    case TDXSoundNotifyType::Restore:
      for (int32_t i = 0; i < count; ++i) {
        TWaveCollectionItem& item = FItems.Items(i);
        if (!item.Initialized())
          item.AttachPlayer(std::make_unique<TWaveItemPlayer>(*FDXSound, item));
        if (auto* player = dynamic_cast<TWaveItemPlayer*>(item.Player())) player->Restore();
      }
      break;
    case TDXSoundNotifyType::Finalize:
      for (int32_t i = 0; i < count; ++i) FItems.Items(i).DetachPlayer();
      break;
    case TDXSoundNotifyType::Destroying:
      for (int32_t i = 0; i < count; ++i) FItems.Items(i).DetachPlayer();
      FDXSound = nullptr;
      FHandle = 0;
      break;
  }
}
