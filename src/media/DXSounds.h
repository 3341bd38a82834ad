// The sound device component: opens the sound output for the form, tells the bound wave lists
// when it starts, restores and stops, and restores their buffers when the output loses them.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "media/SoundOutput.h"

class TFormWindow;

enum TDXSoundOption : uint8_t { soGlobalFocus = 0, soStickyFocus = 1, soExclusive = 2 };

class TDXSoundOptions {
 public:
  constexpr TDXSoundOptions() = default;
  constexpr TDXSoundOptions(std::initializer_list<TDXSoundOption> Options) {
    for (auto o : Options) Include(o);
  }
  constexpr bool Contains(TDXSoundOption O) const { return (Bits & (1u << O)) != 0; }
  constexpr void Include(TDXSoundOption O) { Bits = static_cast<uint8_t>(Bits | (1u << O)); }
  constexpr void Exclude(TDXSoundOption O) { Bits = static_cast<uint8_t>(Bits & ~(1u << O)); }
  constexpr bool operator==(const TDXSoundOptions&) const = default;

 private:
  uint8_t Bits = 0;
};

enum class TDXSoundNotifyType { Destroying, Initializing, Initialize, Restore, Finalize };

class TDXSound {
 public:
  using TNotifyEvent = std::function<void()>;
  using TNotifyCallback = std::function<void(TDXSoundNotifyType)>;

  // FormWindow: the window of the form the device plays for (none: Initialize raises "Form not
  // found"). Output: none behaves as a machine without a sound device.
  TDXSound(TFormWindow* FormWindow, std::unique_ptr<TSoundOutput> Output);
  ~TDXSound();
  TDXSound(const TDXSound&) = delete;
  TDXSound& operator=(const TDXSound&) = delete;

  bool AutoInitialize = true;
  TNotifyEvent OnInitializing, OnInitialize, OnRestore, OnFinalize;

  // Before Initialize the set is taken whole; afterwards the focus options apply to buffers
  // made from then on and soExclusive stays as it was at Initialize.
  TDXSoundOptions Options() const { return FOptions; }
  void SetOptions(TDXSoundOptions Value);
  TDXSoundOptions NowOptions() const { return FNowOptions; }

  // Raises EDXSoundError ("Form not found", "Primary Buffer cannot be made") and the output's
  // EDirectSoundError ("DirectSound cannot be initialized"); the device is left finalised.
  void Initialize();
  void Finalize();
  bool Initialized() const { return FInitialized; }
  // The form's load is done: the automatic start, where a missing output is no error.
  void Loaded();
  // Rebuilds every bound list's buffers and fires OnRestore; re-entry does nothing.
  void Restore();
  // The form's window gained or lost the activation: buffers of normal focus are heard only
  // while it is active.
  void WindowActivated(bool Active);

  // While initialised: the output. Buffers follow the notices, so none outlives it.
  TSoundOutput* Output() const { return FInitialized ? FOutput.get() : nullptr; }
  TSoundBufferFocus BufferFocus() const;

  // A listener registered while the device is up gets the initialize and restore notices at
  // once. Destroying notices unbind every listener.
  int RegisterNotifyEvent(TNotifyCallback Callback);
  void UnregisterNotifyEvent(int Handle);

 private:
  void Notify(TDXSoundNotifyType Type);

  TFormWindow* FFormWindow;
  std::unique_ptr<TSoundOutput> FOutput;
  TDXSoundOptions FOptions;
  TDXSoundOptions FNowOptions;
  bool FInitialized = false;
  bool FCalledInitialize = false;
  bool FOutputOpen = false;
  bool FRestoring = false;
  struct TListener {
    int Handle;
    TNotifyCallback Callback;
  };
  std::vector<TListener> FListeners;
  int FNextHandle = 1;
};
