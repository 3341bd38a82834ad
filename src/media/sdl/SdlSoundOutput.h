// The sound output on SDL2_mixer: a wave's main buffer is its samples converted once to the
// device's format; every buffer (main or copy) has a mixer channel of its own, so as many copies
// can sound at once as are made.
#pragma once

#include <memory>

#include "media/SoundOutput.h"

class TSdlSoundOutput final : public TSoundOutput {
 public:
  TSdlSoundOutput();
  ~TSdlSoundOutput() override;
  TSdlSoundOutput(const TSdlSoundOutput&) = delete;
  TSdlSoundOutput& operator=(const TSdlSoundOutput&) = delete;

  void Open(const TSoundOpenRequest& Request) override;
  bool OpenPrimaryBuffer() override;
  void Close() override;
  std::unique_ptr<TSoundBuffer> MakeBuffer(std::span<const uint8_t> Format,
                                           std::span<const uint8_t> Data, TSoundBufferFocus Focus,
                                           const std::string& Label) override;
  void Delay(int32_t Milliseconds) override;
  void SetWindowActive(bool Active) override;

  struct TMixer;

 private:
  std::shared_ptr<TMixer> FMixer;
};
