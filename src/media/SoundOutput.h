// The sound output the sound device plays through: buffers made from a wave's format block and
// data, duplicated for overlapping plays. A real implementation sits in sdl/, a recording one
// for tests beside this file.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// Which focus a buffer asks for: heard only while the window is active, also while another
// window of the program is, or always.
enum class TSoundBufferFocus { Normal, Sticky, Global };

struct TSoundOpenRequest {
  bool GlobalFocus = false;
  bool Exclusive = false;  // the cooperative mode asked for the form's window
};

class TSoundBuffer {
 public:
  virtual ~TSoundBuffer() = default;
  // A buffer sharing this one's samples. Throws EDirectSoundBufferError
  // "Sound Buffer cannot be made".
  virtual std::unique_ptr<TSoundBuffer> Duplicate() = 0;
  // From the start, once or looping until stopped.
  virtual void Play(bool Looping) = 0;
  virtual void Stop() = 0;
  // Playing or looping.
  virtual bool Playing() const = 0;
  // 0 = the wave's own rate; centre 0, negative left; 0 = full volume, negative attenuates in
  // hundredths of a decibel.
  virtual void SetFrequency(int32_t Hz) = 0;
  virtual void SetPan(int32_t Pan) = 0;
  virtual void SetVolume(int32_t Volume) = 0;
  // True when the output has dropped the samples and the buffer must be made again.
  virtual bool Lost() const { return false; }
};

class TSoundOutput {
 public:
  virtual ~TSoundOutput() = default;
  // Throws EDirectSoundError "DirectSound cannot be initialized" when no device can be opened.
  virtual void Open(const TSoundOpenRequest& Request) = 0;
  // False when the output's mixing buffer cannot be had.
  virtual bool OpenPrimaryBuffer() = 0;
  virtual void Close() = 0;
  // Converts the wave once to the output's format. Label names the buffer in diagnostics.
  // Throws EDirectSoundBufferError "Sound Buffer cannot be made" for a format it cannot play.
  virtual std::unique_ptr<TSoundBuffer> MakeBuffer(std::span<const uint8_t> Format,
                                                   std::span<const uint8_t> Data,
                                                   TSoundBufferFocus Focus,
                                                   const std::string& Label) = 0;
  // The pause between two looks at a buffer that is waited for.
  virtual void Delay(int32_t Milliseconds) = 0;
  // The form's window gained or lost the activation (also while the output is closed). Buffers
  // without global focus are heard only while it is active; meanwhile they play on unheard,
  // so a loop is heard again where it has got to.
  virtual void SetWindowActive(bool Active) = 0;
};
