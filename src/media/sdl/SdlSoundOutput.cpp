#include "media/sdl/SdlSoundOutput.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/DXClass.h"

// The open device and its channels; buffers keep it alive and give their channel back.
struct TSdlSoundOutput::TMixer {
  struct TChannel {
    bool Used = false;
    TSoundBufferFocus Focus = TSoundBufferFocus::Normal;
    int Volume = MIX_MAX_VOLUME;  // as the buffer asked; silenced without the focus
  };
  bool Open = false;
  bool WindowActive = true;
  int Frequency = 0;
  Uint16 Format = 0;
  int Channels = 0;
  std::vector<TChannel> Slots;

  int TakeChannel(TSoundBufferFocus Focus) {
    const auto unused = [](const TChannel& c) { return !c.Used; };
    auto it = std::find_if(Slots.begin(), Slots.end(), unused);
    if (it == Slots.end()) {
      const size_t want = std::max<size_t>(16, Slots.size() * 2);
      Slots.resize(static_cast<size_t>(Mix_AllocateChannels(static_cast<int>(want))));
      it = std::find_if(Slots.begin(), Slots.end(), unused);
      if (it == Slots.end()) return -1;
    }
    *it = {true, Focus, MIX_MAX_VOLUME};
    const int channel = static_cast<int>(it - Slots.begin());
    Apply(channel);
    return channel;
  }
  void GiveChannel(int Channel) {
    if (!Open) return;
    Mix_HaltChannel(Channel);
    Mix_Volume(Channel, MIX_MAX_VOLUME);
    Mix_SetPanning(Channel, 255, 255);
    Slots.at(static_cast<size_t>(Channel)) = {};
  }
  void SetVolume(int Channel, int Volume) {
    Slots.at(static_cast<size_t>(Channel)).Volume = Volume;
    Apply(Channel);
  }
  void SetWindowActive(bool Active) {
    WindowActive = Active;
    if (!Open) return;
    for (size_t c = 0; c < Slots.size(); ++c)
      if (Slots[c].Used) Apply(static_cast<int>(c));
  }
  void Apply(int Channel) const {
    const TChannel& slot = Slots.at(static_cast<size_t>(Channel));
    const bool heard = WindowActive || slot.Focus == TSoundBufferFocus::Global;
    Mix_Volume(Channel, heard ? slot.Volume : 0);
  }
};

namespace {

[[noreturn]] void CannotMake() {
  throw EDirectSoundBufferError(Format("%s cannot be made", "Sound Buffer"));
}

// The converted samples of one wave and the chunk over them, shared by a buffer and its copies.
struct TSample {
  std::vector<uint8_t> Bytes;
  Mix_Chunk Chunk{};
};

// Attenuation in hundredths of a decibel (0 = none) as a gain of 0..1.
double Gain(int32_t Attenuation) {
  return std::pow(10.0, std::min<int32_t>(Attenuation, 0) / 2000.0);
}

class TSdlBuffer final : public TSoundBuffer {
 public:
  TSdlBuffer(std::shared_ptr<TSdlSoundOutput::TMixer> Mixer, std::shared_ptr<TSample> Sample,
             TSoundBufferFocus Focus)
      : FMixer(std::move(Mixer)),
        FSample(std::move(Sample)),
        FFocus(Focus),
        FChannel(FMixer->TakeChannel(Focus)) {
    if (FChannel < 0) CannotMake();
  }
  ~TSdlBuffer() override { FMixer->GiveChannel(FChannel); }
  TSdlBuffer(const TSdlBuffer&) = delete;
  TSdlBuffer& operator=(const TSdlBuffer&) = delete;

  std::unique_ptr<TSoundBuffer> Duplicate() override {
    if (!FMixer->Open) CannotMake();
    return std::make_unique<TSdlBuffer>(FMixer, FSample, FFocus);
  }
  void Play(bool Looping) override {
    if (!FMixer->Open) return;
    Mix_PlayChannel(FChannel, &FSample->Chunk, Looping ? -1 : 0);
  }
  void Stop() override {
    if (FMixer->Open) Mix_HaltChannel(FChannel);
  }
  bool Playing() const override { return FMixer->Open && Mix_Playing(FChannel) != 0; }
  // Played at the rate of the wave; the game never asks for another.
  void SetFrequency(int32_t /*Hz*/) override {}
  void SetPan(int32_t Pan) override {
    if (!FMixer->Open) return;
    // Positive pans attenuate the left side, negative the right.
    const auto side = [](int32_t A) { return static_cast<Uint8>(std::lround(255 * Gain(A))); };
    Mix_SetPanning(FChannel, side(-std::max(Pan, 0)), side(std::min(Pan, 0)));
  }
  void SetVolume(int32_t Volume) override {
    if (FMixer->Open)
      FMixer->SetVolume(FChannel, static_cast<int>(std::lround(MIX_MAX_VOLUME * Gain(Volume))));
  }

 private:
  std::shared_ptr<TSdlSoundOutput::TMixer> FMixer;
  std::shared_ptr<TSample> FSample;
  TSoundBufferFocus FFocus;
  int FChannel;
};

uint16_t U16(std::span<const uint8_t> B, size_t At) {
  return static_cast<uint16_t>(B[At] | B[At + 1] << 8);
}
uint32_t U32(std::span<const uint8_t> B, size_t At) {
  return static_cast<uint32_t>(U16(B, At)) | static_cast<uint32_t>(U16(B, At + 2)) << 16;
}

}  // namespace

TSdlSoundOutput::TSdlSoundOutput() : FMixer(std::make_shared<TMixer>()) {}

TSdlSoundOutput::~TSdlSoundOutput() {
  Close();
}

void TSdlSoundOutput::Open(const TSoundOpenRequest& /*Request*/) {
  // Exclusive mode has no meaning for SDL's device; focus is kept per buffer, by its volume.
  Close();
  const auto fail = [](const std::string& Reason) {
    throw EDirectSoundError(Format("%s cannot be initialized", "DirectSound"), Reason);
  };
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    fail(Format("the sound system cannot start (%s)", SDL_GetError()));
  if (Mix_OpenAudioDevice(MIX_DEFAULT_FREQUENCY, AUDIO_S16SYS, 2, 1024, nullptr,
                          SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) !=
      0) {
    const std::string reason = Format("no sound device can be opened (%s)", Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    fail(reason);
  }
  Mix_QuerySpec(&FMixer->Frequency, &FMixer->Format, &FMixer->Channels);
  FMixer->Slots.assign(static_cast<size_t>(Mix_AllocateChannels(16)), {});
  FMixer->Open = true;
}

bool TSdlSoundOutput::OpenPrimaryBuffer() {
  return FMixer->Open;
}

void TSdlSoundOutput::Close() {
  if (!FMixer->Open) return;
  Mix_HaltChannel(-1);
  FMixer->Open = false;
  FMixer->Slots.clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  // Buffers still held elsewhere keep their samples but no longer reach the device.
  const bool active = FMixer->WindowActive;
  FMixer = std::make_shared<TMixer>();
  FMixer->WindowActive = active;
}

std::unique_ptr<TSoundBuffer> TSdlSoundOutput::MakeBuffer(std::span<const uint8_t> Format,
                                                          std::span<const uint8_t> Data,
                                                          TSoundBufferFocus Focus,
                                                          const std::string& /*Label*/) {
  if (!FMixer->Open || Format.size() < 16 || Data.empty()) CannotMake();
  const uint16_t tag = U16(Format, 0);
  const uint16_t channels = U16(Format, 2);
  const uint32_t rate = U32(Format, 4);
  const uint16_t bits = U16(Format, 14);
  constexpr uint16_t kPCM = 1;
  if (tag != kPCM || channels < 1 || channels > 8 || rate < 1000 || rate > 384000 ||
      (bits != 8 && bits != 16))
    CannotMake();
  const size_t frame = channels * bits / 8u;
  const size_t length = Data.size() / frame * frame;  // whole frames only
  if (length == 0) CannotMake();

  SDL_AudioStream* stream = SDL_NewAudioStream(
      bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, static_cast<Uint8>(channels), static_cast<int>(rate),
      FMixer->Format, static_cast<Uint8>(FMixer->Channels), FMixer->Frequency);
  if (stream == nullptr) CannotMake();
  auto sample = std::make_shared<TSample>();
  const bool put = SDL_AudioStreamPut(stream, Data.data(), static_cast<int>(length)) == 0 &&
                   SDL_AudioStreamFlush(stream) == 0;
  if (put) {
    sample->Bytes.resize(static_cast<size_t>(SDL_AudioStreamAvailable(stream)));
    const int got =
        SDL_AudioStreamGet(stream, sample->Bytes.data(), static_cast<int>(sample->Bytes.size()));
    sample->Bytes.resize(static_cast<size_t>(std::max(got, 0)));
  }
  SDL_FreeAudioStream(stream);
  if (!put || sample->Bytes.empty()) CannotMake();
  sample->Chunk.allocated = 0;  // the bytes belong to the sample, not to the mixer
  sample->Chunk.abuf = sample->Bytes.data();
  sample->Chunk.alen = static_cast<Uint32>(sample->Bytes.size());
  sample->Chunk.volume = MIX_MAX_VOLUME;
  return std::make_unique<TSdlBuffer>(FMixer, std::move(sample), Focus);
}

void TSdlSoundOutput::Delay(int32_t Milliseconds) {
  SDL_Delay(static_cast<Uint32>(Milliseconds));
}

void TSdlSoundOutput::SetWindowActive(bool Active) {
  FMixer->SetWindowActive(Active);
}
