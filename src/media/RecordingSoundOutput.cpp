#include "media/RecordingSoundOutput.h"

#include <algorithm>

#include "media/DXClass.h"

using TKind = TSoundEvent::TKind;

namespace {

class TRecordingBuffer final : public TSoundBuffer {
 public:
  TRecordingBuffer(std::shared_ptr<TRecordingSoundOutput::TState> State, int32_t Number)
      : FState(std::move(State)), FNumber(Number) {}
  ~TRecordingBuffer() override {
    auto& b = Self();
    b.Alive = false;
    b.Playing = false;
    FState->Events.push_back({TKind::Release, FNumber, b.Label});
  }
  TRecordingBuffer(const TRecordingBuffer&) = delete;
  TRecordingBuffer& operator=(const TRecordingBuffer&) = delete;

  std::unique_ptr<TSoundBuffer> Duplicate() override {
    auto copy = Self();
    copy.Playing = copy.Looping = false;
    FState->Buffers.push_back(copy);
    const int32_t number = FState->NextBuffer++;
    FState->Events.push_back({TKind::Duplicate, number, copy.Label});
    return std::make_unique<TRecordingBuffer>(FState, number);
  }
  void Play(bool Looping) override {
    auto& b = Self();
    b.Playing = true;
    b.Looping = Looping;
    FState->Events.push_back({TKind::Play, FNumber, b.Label, Looping});
  }
  void Stop() override {
    auto& b = Self();
    b.Playing = b.Looping = false;
    FState->Events.push_back({TKind::Stop, FNumber, b.Label});
  }
  bool Playing() const override { return Self().Playing; }
  void SetFrequency(int32_t Hz) override { Self().Frequency = Hz; }
  void SetPan(int32_t Pan) override { Self().Pan = Pan; }
  void SetVolume(int32_t Volume) override { Self().Volume = Volume; }
  bool Lost() const override { return Self().Lost; }

 private:
  TRecordingSoundOutput::TState::TBufferState& Self() const {
    return FState->Buffers.at(static_cast<size_t>(FNumber - 1));
  }
  std::shared_ptr<TRecordingSoundOutput::TState> FState;
  int32_t FNumber;
};

}  // namespace

void TRecordingSoundOutput::TState::FinishAll() {
  for (auto& b : Buffers)
    if (!b.Looping) b.Playing = false;
}

int32_t TRecordingSoundOutput::TState::PlayingCount() const {
  return static_cast<int32_t>(std::count_if(
      Buffers.begin(), Buffers.end(), [](const TBufferState& B) { return B.Alive && B.Playing; }));
}

std::vector<std::string> TRecordingSoundOutput::TState::Played() const {
  std::vector<std::string> played;
  for (const auto& e : Events)
    if (e.Kind == TKind::Play) played.push_back(e.Looping ? e.Label + " loop" : e.Label);
  return played;
}

std::vector<std::string> TRecordingSoundOutput::TState::Heard() const {
  std::vector<std::string> heard;
  for (const auto& b : Buffers)
    if (b.Alive && b.Playing && (WindowActive || b.Focus == TSoundBufferFocus::Global))
      heard.push_back(b.Label);
  return heard;
}

void TRecordingSoundOutput::Open(const TSoundOpenRequest& Request) {
  if (FState->FailOpen)
    throw EDirectSoundError(Format("%s cannot be initialized", "DirectSound"),
                            "no sound device can be opened (none in this test)");
  FState->Opened = true;
  FState->LastRequest = Request;
  FState->Events.push_back({TKind::Open});
}

void TRecordingSoundOutput::Close() {
  FState->Opened = false;
  FState->Events.push_back({TKind::Close});
}

std::unique_ptr<TSoundBuffer> TRecordingSoundOutput::MakeBuffer(std::span<const uint8_t> Format,
                                                                std::span<const uint8_t> Data,
                                                                TSoundBufferFocus Focus,
                                                                const std::string& Label) {
  if (Format.empty() || Data.empty())
    throw EDirectSoundBufferError(::Format("%s cannot be made", "Sound Buffer"));
  TState::TBufferState b;
  b.Label = Label;
  b.Focus = Focus;
  FState->Buffers.push_back(b);
  const int32_t number = FState->NextBuffer++;
  FState->Events.push_back({TKind::Make, number, Label});
  return std::make_unique<TRecordingBuffer>(FState, number);
}

void TRecordingSoundOutput::Delay(int32_t /*Milliseconds*/) {
  ++FState->Delays;
  if (FState->FinishAfterDelays > 0 && FState->Delays >= FState->FinishAfterDelays) {
    FState->FinishAll();
    FState->Delays = 0;
  }
}
