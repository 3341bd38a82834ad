// The main form: start-up and shutdown, the game-state record, the frame, the keys and the
// setup screen. The board, play phases and scene live in world/, the texts and overlays in ui/.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "DXHappy.h"
#include "media/Clock.h"
#include "media/DXDisplay.h"
#include "media/DXDraws.h"
#include "media/DXInput.h"
#include "media/DXSounds.h"
#include "media/DXTimer.h"
#include "media/DXWave.h"
#include "media/PictureCanvas.h"
#include "ui/OverlayLayout.h"

// Modifier keys of a key event.
enum TShiftStateItem : uint8_t { ssShift = 0, ssAlt = 1, ssCtrl = 2 };

class TShiftState {
 public:
  constexpr TShiftState() = default;
  constexpr TShiftState(std::initializer_list<TShiftStateItem> Items) {
    for (auto i : Items) Include(i);
  }
  constexpr bool Contains(TShiftStateItem I) const { return (FBits >> I & 1u) != 0; }
  constexpr void Include(TShiftStateItem I) { FBits = static_cast<uint8_t>(FBits | 1u << I); }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr bool operator==(const TShiftState&) const = default;

 private:
  uint8_t FBits = 0;
};

// Virtual-key codes the form reacts to.
namespace VK {
constexpr uint16_t Return = 0x0D, Escape = 0x1B, Space = 0x20, Left = 0x25, Up = 0x26, Right = 0x27,
                   Down = 0x28, F1 = 0x70, F2 = 0x71, F3 = 0x72, F4 = 0x73, F5 = 0x74;
}

// Three whole-degree angles about X, Y and Z.
struct TAngles3 {
  int32_t X = 0, Y = 0, Z = 0;
  bool operator==(const TAngles3&) const = default;
};

struct TCamera {
  float X = 0, Y = 0, Z = 0;
};

// A cell of the board: Row 0 at the bottom, Col 0 at the left.
struct TBoardCell {
  int32_t Row = 0;
  int32_t Col = 0;
  bool operator==(const TBoardCell&) const = default;
};

// One object the frame draws: what it stands for, and the cube it is when it is one.
struct TSceneItem {
  enum TPart { SetupPanel, SetupCube, Background, BoardCube };
  TPart Part = SetupPanel;
  const TD3DObject* Object = nullptr;
  const TD3DCube* Cube = nullptr;  // the same object as a cube; none for the flat ones
  int32_t Row = 0;                 // board row, or setup row
  int32_t Col = 0;
};

// The platform pieces the form is built on.
struct TFormServices {
  std::unique_ptr<TFormWindow> Window;
  std::unique_ptr<TDisplayBackend> Display;
  TKeySource* Keys = nullptr;  // required
  TClock* Clock = nullptr;     // required
  // Folder holding Bitmaps/ (empty: the current folder).
  std::string DataDir;
  int32_t Edition = 0;
  // None: seeded from the clock at start-up.
  std::optional<uint32_t> Seed;
  // The sound output (none: the game runs silent).
  std::unique_ptr<TSoundOutput> Sound;
  // Paints captions onto the setup bar pictures; none leaves the bars unpainted.
  TPictureCanvasMaker PictureCanvas;
  // The form's stored sounds by name, as RIFF WAVE bytes; a name without data stays silent.
  std::vector<std::pair<std::string, std::vector<uint8_t>>> Waves;
};

// The seven sounds the form carries, in their stored order.
inline constexpr std::array<const char*, 7> FormWaveNames = {
    "Move", "Rotate", "GameEnd", "Change", "InitScene", "SetupChange", "SetupMove"};

class TMainForm : public TDXForm {
 public:
  explicit TMainForm(TFormServices Services);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Components (the timer first: the display's last notice stops it).
  TDXTimer DXTimer;
  TDXDraw DXDraw;
  TDXImageList DXImageList;
  TDXInput DXInput1;
  TDXImageList DXImageListFaceMask;
  TDXSound DXSound;
  TDXWaveList DXWaveList;
  TDXImageList DXImageListSetupBars;

  // Event handlers.
  void FormCreate();
  void FormDestroy();
  void FormKeyDown(uint16_t Key, TShiftState Shift);
  void FormKeyUp(uint16_t Key, TShiftState Shift);
  // Pointer events (the mouse's left button, fingers) and wheel steps, in the picture's pixels.
  void FormPointer(const TPointerEvent& Event);
  void FormWheel(int32_t Steps);
  // Shown false: a tick run to keep the pace that is not presented; it advances the game and
  // the panel but draws nothing.
  void DXTimerTimer(int32_t LagCount, bool Shown = true);
  void DXDrawInitialize();
  void DXDrawFinalize();
  void DXDrawInitializeSurface();
  void DXSoundInitialize();
  // The application gained or lost the activation: frames run only while it is active, and
  // the sounds are heard only then.
  void ApplicationActivated(bool Active);

  // The game-state record.
  std::string TicketText;
  std::unique_ptr<THLanguages> Languages;
  int32_t Edition = 0;
  int32_t MaxLevel = 4;
  bool HelpVisible = false;
  bool BackgroundVisible = true;
  int32_t Credits = 0;
  int32_t Level = 1;
  int32_t BoardRows = 2;
  int32_t BoardCols = 2;
  int32_t CursorRow = 0;
  int32_t CursorCol = 0;
  int32_t PanelWidth = 0;
  int32_t PanelHeight = 0;
  int32_t GlassAlpha = 0;
  std::vector<std::unique_ptr<TDirect3DTexture2>> Theme0Textures;
  std::vector<std::unique_ptr<TDirect3DTexture2>> Theme1Textures;
  std::vector<std::unique_ptr<TDirect3DTexture2>> BackgroundTextures;
  std::array<TDirect3DTexture2*, 12> SetupTextures{};
  std::vector<std::vector<std::unique_ptr<TD3DCube>>> Board;
  std::unique_ptr<TD3DObject> BackgroundCube;
  std::unique_ptr<TD3DObject> SetupPanel;
  std::array<std::unique_ptr<TD3DCube>, 5> SetupCubes;
  std::array<int32_t, 5> SetupChoice{};
  int32_t SetupRow = 4;
  std::vector<std::vector<TAngles3>> TargetAngles;
  bool CameraMoving = false;
  bool Rotating = false;
  bool SelectGrowing = false;
  bool RotateShrinking = false;
  bool Assembling = false;
  bool InputBlocked = false;
  bool SetupBusy = false;
  TCamera Camera;
  float CameraStep = 0.02f;
  int32_t RotateStep = 1;
  TShiftState ShiftState;
  char RotateDir = ' ';
  TAngles3 RotateTarget;
  float CubeScale = 0;
  int32_t GameState = 3;

  // The frame's parts.
  void UpdateGame();
  void RenderFrame();
  void InputStep();
  // The frame's share of the gestures, before the input update: the direction states the
  // pointer gives, and the modifiers that go with them.
  void PointerStep();
  // The modifiers the frame's input reads: the pointer's in a frame it gives input, else the
  // keys' (ShiftState).
  TShiftState InputShift() const;
  // Whether gestures still wait for frames that take input.
  bool PointerBusy() const {
    return FPointerPlan.Row >= 0 || FPointerPlan.Turn != ' ' || FPointerPlan.Zoom != 0 ||
           FPointerPlan.GoOn;
  }
  // A pointer has come down: the help panel shows the gestures too.
  bool TouchSeen = false;

  // Setup screen.
  void ToggleSetup(int32_t Row);
  void SetupOn(int32_t Row);
  void SetupOff(int32_t Row);
  void ApplySetup(int32_t Row);
  void BuildSetupCubes();
  void BuildLanguageTable();

  // Board and levels.
  void BuildScene();
  void BuildBoard();
  void MapBoardCube(TD3DCube& Cube, int32_t Row, int32_t Col);
  void RemapBoard();
  void ApplyTheme();
  void AssembleStep();
  bool IsSolved() const;
  void LevelDoneStep();

  // Play phases.
  void PlayStep();
  void StartTurn();
  void TurnStep();
  void BrightnessStep();
  void SetupIntroStep();
  void SetupStep();
  bool TurnSetupCube(int32_t K);
  void FadeGlass(int32_t Angle);
  void SetupOutroStep();

  // Scene.
  void FollowCamera();
  void ShrinkToRest(float Scale);
  // Visits every object the frame draws, in the order it draws them.
  template <class TVisit>
  void ForEachSceneItem(TVisit&& Visit) const;

  // What the picture shows at (X, Y), in the surface's pixels (fractions allowed, origin top
  // left): the nearest object drawn there, as the frame draws it. None between cubes, off the
  // board or outside the picture, and where something else is in front.
  std::optional<TBoardCell> BoardCellAt(float X, float Y) const;
  // The setup bar (row 0..4) at that point.
  std::optional<int32_t> SetupRowAt(float X, float Y) const;

  // The 2D overlays over the scene (ui/).
  void DrawOverlays();
  void DrawTopMask();
  void DrawBottomMask();
  void DrawHud();
  void DrawHelpPanel();
  void DrawCrosshair();
  void DrawGlassHours();
  void DrawGameOverPanel();
  // The panel's step of a frame that is not drawn.
  void StepPanel();
  // The panel's limits for the form as it is now.
  TPanelLimits CurrentPanelLimits();
  // The lottery ticket text from the local time and the random generator (ui/).
  std::string MakeTicketText();

  // Uniform integer in 0..Range-1 (0 when Range is not positive).
  int32_t Random(int32_t Range);
  // Plays the named wave (silent without a sound device).
  void PlayWave(const char* Name);
  void StopWave(const char* Name);
  bool SoundOn() const { return SetupChoice[1] == 1; }
  const TFormServices& Services() const { return FServices; }
  TClock& Clock() { return *FServices.Clock; }
  // Alt+Return's switch between the window and full screen; also for a platform whose full
  // screen ended by itself.
  void FullScreenSwitch();
  // The form's side of entering full screen, as the switch does it, so that leaving it later
  // finds a window to return to; for a start in full screen, before the display starts.
  void PrepareFullScreen();

 private:
  // What the gestures of play still ask for: the cell the selection travels to, a turn once
  // it is there, zoom steps; and in the solved state, going on.
  struct TPointerPlan {
    int32_t Row = -1, Col = -1;
    char Turn = ' ';
    int32_t Zoom = 0;
    bool GoOn = false;
  };
  void Gesture(const TGesture& G);
  void SetupGesture(const TGesture& G, uint16_t Key);
  TPointerPlan FPointerPlan;
  TShiftState FPointerShift;
  bool FPointerActive = false;

  std::vector<std::unique_ptr<TDirect3DTexture2>>& ThemeTextures();
  void LoadImageLists();
  void MakeTextures();
  void ResizeBoard();

  TFormServices FServices;
  std::mt19937 FRandom;
  // The setup faces' textures (SetupTextures refers to the last row's).
  std::vector<std::unique_ptr<TDirect3DTexture2>> FSetupTextureStore;
  // The nearest object drawn at (X, Y); none when the point shows the cleared background.
  std::optional<TSceneItem> SceneItemAt(float X, float Y) const;
};

template <class TVisit>
void TMainForm::ForEachSceneItem(TVisit&& Visit) const {
  if (SetupPanel) Visit(TSceneItem{TSceneItem::SetupPanel, SetupPanel.get(), nullptr, 0, 0});
  for (int32_t k = 0; k < static_cast<int32_t>(SetupCubes.size()); ++k) {
    if (const auto* cube = SetupCubes[static_cast<size_t>(k)].get())
      Visit(TSceneItem{TSceneItem::SetupCube, cube, cube, k, 0});
  }
  if (GameState == 3 || GameState == 4) return;
  if (BackgroundVisible && BackgroundCube)
    Visit(TSceneItem{TSceneItem::Background, BackgroundCube.get(), nullptr, 0, 0});
  for (int32_t i = 0; i < static_cast<int32_t>(Board.size()); ++i) {
    const auto& row = Board[static_cast<size_t>(i)];
    for (int32_t j = 0; j < static_cast<int32_t>(row.size()); ++j) {
      if (const auto* cube = row[static_cast<size_t>(j)].get())
        Visit(TSceneItem{TSceneItem::BoardCube, cube, cube, i, j});
    }
  }
}
