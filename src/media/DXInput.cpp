#include "media/DXInput.h"

#include "media/DXClass.h"
#include "media/DXStream.h"

namespace {

constexpr size_t AssignsSize = DXInputStateCount * 3 * 4;  // 432

}  // namespace

TKeyAssignList DefaultKeyAssigns() {
  TKeyAssignList a{};
  a[isUp] = {0x4B, 0x26, 0x68};
  a[isDown] = {0x4A, 0x28, 0x62};
  a[isLeft] = {0x48, 0x25, 0x64};
  a[isRight] = {0x4C, 0x27, 0x66};
  a[isButton1] = {0x5A, 0x20, 0};
  a[isButton2] = {0x58, 0x0D, 0};
  a[isButton9] = {0x71, 0, 0};
  return a;
}

TModifiers HeldModifiers(const THeldKeys& Keys) {
  auto any = [&](uint8_t A, uint8_t B, uint8_t C) {
    return Keys.KeyDown(A) || Keys.KeyDown(B) || Keys.KeyDown(C);
  };
  return {any(0x10, 0xA0, 0xA1), any(0x12, 0xA4, 0xA5), any(0x11, 0xA2, 0xA3)};
}

TKeyboard::TKeyboard(TKeySource& Source) : KeyAssigns(DefaultKeyAssigns()), FSource(Source) {}

std::vector<uint8_t> TKeyboard::SaveAssigns() const {
  TByteWriter w;
  for (const auto& keys : KeyAssigns)
    for (int32_t key : keys) w.WriteI32(key);
  return w.Data();
}

void TKeyboard::LoadAssigns(std::span<const uint8_t> Data) {
  if (Data.size() != AssignsSize) throw EPropertyError("Invalid property value");
  TByteReader r(Data);
  for (auto& keys : KeyAssigns)
    for (int32_t& key : keys) key = r.ReadI32();
}

void TKeyboard::Initialize() {
  Finalize();
  FInitialized = Enabled;
  if (FInitialized) FSource.Acquire();
}

void TKeyboard::Finalize() {
  FInitialized = false;
  FStates = {};
  FKeyStates.fill(0);
}

void TKeyboard::Update(bool ActiveOnly) {
  FKeyStates.fill(0);
  FStates = {};
  if (!FInitialized) return;
  if (ActiveOnly && !FSource.Foreground()) return;
  if (!FSource.ReadKeys(FKeyStates)) {
    FSource.Acquire();
    if (!FSource.ReadKeys(FKeyStates)) {
      FKeyStates.fill(0);
      return;
    }
  }
  for (int32_t state = 0; state < DXInputStateCount; ++state) {
    for (int32_t key : KeyAssigns[state]) {
      if (key >= 1 && key <= 255 && (FKeyStates[key] & 0x80) != 0) {
        FStates.Include(state);
        break;
      }
    }
  }
}

void TJoystick::Finalize() {
  FInitialized = false;
  FStates = {};
}

void TJoystick::Update(bool ActiveOnly, bool Foreground) {
  FStates = {};
  if (!FInitialized || Source == nullptr) return;
  if (ActiveOnly && !Foreground) return;
  FStates = Source->ReadStates();
}

void TMouse::Finalize() {
  FInitialized = false;
  FStates = {};
  FHeld = {};
  Gestures.Cancel();
}

void TMouse::Update(bool ActiveOnly, bool Foreground) {
  FStates = {};
  if (!FInitialized) return;
  if (ActiveOnly && !Foreground) return;
  FStates = FHeld;
}

namespace {

TKeySource& RequireSource(TKeySource* Source) {
  if (Source == nullptr) throw EDXInputError("Form not found");
  return *Source;
}

}  // namespace

TDXInput::TDXInput(TKeySource* Source) : FSource(RequireSource(Source)), FKeyboard(FSource) {}

void TDXInput::SetUseDirectInput(bool Value) {
  FUseDirectInput = Value;
  Initialize();
}

void TDXInput::Initialize() {
  Finalize();
  FJoystick.Initialize();
  FKeyboard.Initialize();
  FMouse.Initialize();
  Update();
}

void TDXInput::Finalize() {
  FJoystick.Finalize();
  FKeyboard.Finalize();
  FMouse.Finalize();
}

void TDXInput::Update() {
  TDXInputStates now;
  FJoystick.Update(FActiveOnly, FSource.Foreground());
  if (FJoystick.BindInputStates) now |= FJoystick.States();
  FKeyboard.Update(FActiveOnly);
  if (FKeyboard.BindInputStates) now |= FKeyboard.States();
  FMouse.Update(FActiveOnly, FSource.Foreground());
  if (FMouse.BindInputStates) now |= FMouse.States();
  for (int32_t state = 0; state < DXInputStateCount; ++state) {
    if (now.Contains(state) && !States.Contains(state)) PressedStates.Include(state);
    if (!now.Contains(state) && States.Contains(state)) PressedStates.Exclude(state);
  }
  States = now;
}

bool TDXInput::ReadProperty(TComponentReader& Reader, const std::string& Path) {
  if (Path != "Keyboard.Assigns" && Path != "Keyboard.Aissgns") return false;
  FKeyboard.LoadAssigns(Reader.ReadBinary());
  return true;
}

void TDXInput::WriteProperties(TComponentWriter& Writer) const {
  Writer.WriteStr("Keyboard.Assigns");
  Writer.WriteBinary(FKeyboard.SaveAssigns());
}
