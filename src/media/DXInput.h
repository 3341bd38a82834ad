// Abstract input states polled once per frame: the keyboard through its key-assignment table,
// a joystick slot, and the merge with edge tracking. The platform (or a test) supplies the
// key-state table and the joystick states through small source interfaces.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/PointerGestures.h"

class TComponentReader;
class TComponentWriter;

// 36 numbered states: 0..3 the directions, 4..35 Button1..Button32.
enum TDXInputState : uint8_t {
  isUp = 0,
  isDown = 1,
  isLeft = 2,
  isRight = 3,
  isButton1 = 4,
  isButton2 = 5,
  isButton9 = 12,
  isButton32 = 35,
};
constexpr int32_t DXInputStateCount = 36;

// A set of input states (40 bits as stored; bits 36..39 never set).
class TDXInputStates {
 public:
  constexpr TDXInputStates() = default;
  constexpr TDXInputStates(std::initializer_list<int32_t> States) {
    for (auto s : States) Include(s);
  }
  constexpr bool Contains(int32_t State) const {
    return State >= 0 && State < DXInputStateCount && (FBits >> State & 1u) != 0;
  }
  constexpr void Include(int32_t State) {
    if (State >= 0 && State < DXInputStateCount) FBits |= uint64_t{1} << State;
  }
  constexpr void Exclude(int32_t State) {
    if (State >= 0 && State < DXInputStateCount) FBits &= ~(uint64_t{1} << State);
  }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TDXInputStates& operator|=(const TDXInputStates& Other) {
    FBits |= Other.FBits;
    return *this;
  }
  constexpr uint64_t Raw() const { return FBits; }
  constexpr bool operator==(const TDXInputStates&) const = default;

 private:
  uint64_t FBits = 0;
};

// The window's keyboard as the platform sees it.
class TKeySource {
 public:
  virtual ~TKeySource() = default;
  // Fills 256 entries indexed by virtual-key code, bit 7 set = key down. Returns false when
  // the input was lost (the caller re-acquires once and tries again).
  virtual bool ReadKeys(std::array<uint8_t, 256>& Keys) = 0;
  virtual void Acquire() {}
  // Whether the form's window is the foreground window.
  virtual bool Foreground() const = 0;
};

// A key source held in memory: the harness's held-key table, and tests.
class THeldKeys : public TKeySource {
 public:
  void SetKey(uint8_t VirtualKey, bool Down) { FKeys[VirtualKey] = Down ? 0x80 : 0; }
  bool KeyDown(uint8_t VirtualKey) const { return (FKeys[VirtualKey] & 0x80) != 0; }
  void ReleaseAll() { FKeys.fill(0); }
  bool IsForeground = true;

  bool ReadKeys(std::array<uint8_t, 256>& Keys) override {
    Keys = FKeys;
    return true;
  }
  bool Foreground() const override { return IsForeground; }

 private:
  std::array<uint8_t, 256> FKeys{};
};

// The modifier keys as a key event carries them.
struct TModifiers {
  bool Shift = false;
  bool Alt = false;
  bool Ctrl = false;
  bool operator==(const TModifiers&) const = default;
};

// The modifiers among the held keys (either side's Shift, Ctrl and Alt count).
TModifiers HeldModifiers(const THeldKeys& Keys);

// An attached joystick's direction and button states, or none.
class TJoystickSource {
 public:
  virtual ~TJoystickSource() = default;
  virtual TDXInputStates ReadStates() = 0;
};

// One input device's part of the merge.
class TCustomInput {
 public:
  virtual ~TCustomInput() = default;
  bool BindInputStates = true;
  bool Enabled = true;
  bool Initialized() const { return FInitialized; }
  TDXInputStates States() const { return FStates; }

 protected:
  bool FInitialized = false;
  TDXInputStates FStates;
};

using TKeyAssign = std::array<int32_t, 3>;
using TKeyAssignList = std::array<TKeyAssign, DXInputStateCount>;

// The table every new keyboard starts with (the form holds the same).
TKeyAssignList DefaultKeyAssigns();

class TKeyboard : public TCustomInput {
 public:
  explicit TKeyboard(TKeySource& Source);

  TKeyAssignList KeyAssigns;
  // The key-state table of the last update (bit 7 set = down).
  const std::array<uint8_t, 256>& KeyStates() const { return FKeyStates; }

  // The stored form of the table: 432 bytes, little-endian int32, three keys per state.
  std::vector<uint8_t> SaveAssigns() const;
  // Raises EPropertyError "Invalid property value" unless given exactly 432 bytes.
  void LoadAssigns(std::span<const uint8_t> Data);

  void Initialize();
  void Finalize();
  void Update(bool ActiveOnly);

 private:
  TKeySource& FSource;
  std::array<uint8_t, 256> FKeyStates{};
};

class TJoystick : public TCustomInput {
 public:
  TJoystickSource* Source = nullptr;  // none: no joystick attached
  void Initialize() { FInitialized = Enabled; }
  void Finalize();
  void Update(bool ActiveOnly, bool Foreground);
};

// The pointer: the mouse's left button and a touch screen's fingers, with their gestures.
// What a gesture means depends on the game's state, so the game reads the gestures and names
// the direction states the pointer gives at the next update.
class TMouse : public TCustomInput {
 public:
  TMouse() {
    BindInputStates = false;
    Enabled = false;
  }
  TPointerGestures Gestures;
  // The states the next updates give, until changed.
  void Hold(TDXInputStates States) { FHeld = States; }
  void Initialize() {
    Finalize();
    FInitialized = Enabled;
  }
  void Finalize();
  void Update(bool ActiveOnly, bool Foreground);

 private:
  TDXInputStates FHeld;
};

class TDXInput {
 public:
  // The key source stands for the owning form's window; none raises EDXInputError
  // "Form not found".
  explicit TDXInput(TKeySource* Source);
  TDXInput(const TDXInput&) = delete;
  TDXInput& operator=(const TDXInput&) = delete;

  TKeyboard& Keyboard() { return FKeyboard; }
  TJoystick& Joystick() { return FJoystick; }
  TMouse& Mouse() { return FMouse; }

  bool ActiveOnly() const { return FActiveOnly; }
  void SetActiveOnly(bool Value) { FActiveOnly = Value; }
  bool UseDirectInput() const { return FUseDirectInput; }
  // Re-initialises the devices.
  void SetUseDirectInput(bool Value);

  // Finalises and initialises every device, then runs one update (done once the form has
  // loaded).
  void Initialize();
  void Finalize();
  // Updates the devices (joystick, keyboard, mouse), merges their bound states and tracks the
  // edges into PressedStates.
  void Update();

  TDXInputStates States;
  TDXInputStates PressedStates;

  // The form's stored settings: "Keyboard.Assigns" (also read under the name
  // "Keyboard.Aissgns"); true when the property was one of them.
  bool ReadProperty(TComponentReader& Reader, const std::string& Path);
  void WriteProperties(TComponentWriter& Writer) const;

 private:
  TKeySource& FSource;
  TKeyboard FKeyboard;
  TJoystick FJoystick;
  TMouse FMouse;
  bool FActiveOnly = true;
  bool FUseDirectInput = true;
};
