#include "media/DXSounds.h"

#include <algorithm>
#include <exception>

#include "media/DXClass.h"

TDXSound::TDXSound(TFormWindow* FormWindow, std::unique_ptr<TSoundOutput> Output)
    : FFormWindow(FormWindow), FOutput(std::move(Output)) {}

TDXSound::~TDXSound() {
  try {
    Finalize();
  } catch (const std::exception&) {
    // Nothing is left to report a failing shutdown to.
  }
  Notify(TDXSoundNotifyType::Destroying);
}

void TDXSound::SetOptions(TDXSoundOptions Value) {
  FOptions = Value;
  if (!FInitialized) {
    FNowOptions = Value;
    return;
  }
  const bool exclusive = FNowOptions.Contains(soExclusive);
  FNowOptions = Value;
  if (exclusive)
    FNowOptions.Include(soExclusive);
  else
    FNowOptions.Exclude(soExclusive);
}

void TDXSound::WindowActivated(bool Active) {
  if (FOutput) FOutput->SetWindowActive(Active);
}

TSoundBufferFocus TDXSound::BufferFocus() const {
  if (FNowOptions.Contains(soStickyFocus)) return TSoundBufferFocus::Sticky;
  if (FNowOptions.Contains(soGlobalFocus)) return TSoundBufferFocus::Global;
  return TSoundBufferFocus::Normal;
}

void TDXSound::Initialize() {
  Finalize();
  if (FFormWindow == nullptr) throw EDXSoundError("Form not found");

  FInitialized = false;
  FCalledInitialize = false;
  Notify(TDXSoundNotifyType::Initializing);
  if (OnInitializing) OnInitializing();

  FNowOptions = FOptions;
  try {
    if (!FOutput)
      throw EDirectSoundError(Format("%s cannot be initialized", "DirectSound"),
                              "this run has no sound output");
    FOutput->Open({.GlobalFocus = FNowOptions.Contains(soGlobalFocus),
                   .Exclusive = FNowOptions.Contains(soExclusive)});
    FOutputOpen = true;
    if (!FOutput->OpenPrimaryBuffer())
      throw EDXSoundError(Format("%s cannot be made", "Primary Buffer"));
  } catch (...) {
    // The output is open but not yet initialised: close it here, Finalize would not.
    if (FOutputOpen) {
      FOutputOpen = false;
      FOutput->Close();
    }
    throw;
  }

  FInitialized = true;
  Notify(TDXSoundNotifyType::Initialize);
  FCalledInitialize = true;
  if (OnInitialize) OnInitialize();
  Notify(TDXSoundNotifyType::Restore);
  if (OnRestore) OnRestore();
}

void TDXSound::Finalize() {
  if (!FInitialized) return;
  std::exception_ptr first;
  auto step = [&first](auto&& Run) {
    try {
      Run();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  };
  step([&] {
    if (FCalledInitialize && OnFinalize) OnFinalize();
  });
  step([&] { Notify(TDXSoundNotifyType::Finalize); });
  FInitialized = false;
  FCalledInitialize = false;
  step([&] {
    if (FOutputOpen) {
      FOutputOpen = false;
      FOutput->Close();
    }
  });
  if (first) std::rethrow_exception(first);
}

void TDXSound::Loaded() {
  if (!AutoInitialize) return;
  try {
    Initialize();
  } catch (const EDirectSoundError&) {
    // No sound device: the form loads and plays nothing.
  }
}

void TDXSound::Restore() {
  if (!FInitialized || FRestoring) return;
  FRestoring = true;
  try {
    Notify(TDXSoundNotifyType::Restore);
    if (OnRestore) OnRestore();
  } catch (...) {
    FRestoring = false;
    throw;
  }
  FRestoring = false;
}

int TDXSound::RegisterNotifyEvent(TNotifyCallback Callback) {
  const int handle = FNextHandle++;
  FListeners.push_back({handle, Callback});
  if (FInitialized) {
    Callback(TDXSoundNotifyType::Initialize);
    Callback(TDXSoundNotifyType::Restore);
  }
  return handle;
}

void TDXSound::UnregisterNotifyEvent(int Handle) {
  std::erase_if(FListeners, [Handle](const TListener& L) { return L.Handle == Handle; });
}

void TDXSound::Notify(TDXSoundNotifyType Type) {
  // A listener may unregister while being told; ask for each one afresh.
  std::vector<int> handles;
  for (const auto& l : FListeners) handles.push_back(l.Handle);
  for (int h : handles) {
    auto it = std::find_if(FListeners.begin(), FListeners.end(),
                           [h](const TListener& L) { return L.Handle == h; });
    if (it == FListeners.end()) continue;
    auto callback = it->Callback;
    callback(Type);
  }
}
