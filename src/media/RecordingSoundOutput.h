// A sound output that plays nothing and records what it is asked, for tests and for runs that
// want to see the sounds. Buffers stay "playing" until the test says they have finished.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/SoundOutput.h"

struct TSoundEvent {
  enum class TKind { Open, Close, Make, Duplicate, Play, Stop, Release };
  TKind Kind{};
  int32_t Buffer = 0;   // the buffer's number, from 1; 0 for Open and Close
  std::string Label{};  // the wave's name the buffer was made for
  bool Looping = false;
  bool operator==(const TSoundEvent&) const = default;
};

class TRecordingSoundOutput final : public TSoundOutput {
 public:
  // Shared with the test, which keeps it after the device has taken the output.
  struct TState {
    std::vector<TSoundEvent> Events;
    bool FailOpen = false;           // Open raises "DirectSound cannot be initialized"
    bool FailPrimaryBuffer = false;  // OpenPrimaryBuffer gives false
    bool Opened = false;
    int32_t NextBuffer = 1;
    // Per buffer number: playing, looping, lost, alive.
    struct TBufferState {
      std::string Label;
      bool Playing = false;
      bool Looping = false;
      bool Lost = false;
      bool Alive = true;
      int32_t Frequency = 0, Pan = 0, Volume = 0;
      TSoundBufferFocus Focus = TSoundBufferFocus::Normal;
    };
    std::vector<TBufferState> Buffers;  // index = number - 1
    // Buffers that play once finish after this many Delay calls (0: never by themselves).
    int32_t FinishAfterDelays = 0;
    int32_t Delays = 0;
    TSoundOpenRequest LastRequest;
    bool WindowActive = true;

    // Every buffer that plays once stops, as when its sound has run out.
    void FinishAll();
    // Buffers alive and playing.
    int32_t PlayingCount() const;
    // The Play events only, as "Label" or "Label loop".
    std::vector<std::string> Played() const;
    // Labels of the buffers playing that can be heard now (the window's focus allowing).
    std::vector<std::string> Heard() const;
  };

  explicit TRecordingSoundOutput(std::shared_ptr<TState> State) : FState(std::move(State)) {}

  void Open(const TSoundOpenRequest& Request) override;
  bool OpenPrimaryBuffer() override { return !FState->FailPrimaryBuffer; }
  void Close() override;
  std::unique_ptr<TSoundBuffer> MakeBuffer(std::span<const uint8_t> Format,
                                           std::span<const uint8_t> Data, TSoundBufferFocus Focus,
                                           const std::string& Label) override;
  void Delay(int32_t Milliseconds) override;
  void SetWindowActive(bool Active) override { FState->WindowActive = Active; }

 private:
  std::shared_ptr<TState> FState;
};
