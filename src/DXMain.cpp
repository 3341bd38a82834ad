#include "DXMain.h"

#include <iostream>

#include "media/DXClass.h"
#include "ui/SetupCaption.h"
#include "ui/Ticket.h"

namespace {

const char* EditionImageList(int32_t Edition) {
  switch (Edition) {
    case 1:
      return "Bitmaps/ZelgoraSorvane.dxg";
    case 2:
      return "Bitmaps/ZelgoraTB.dxg";
    default:
      return "Bitmaps/ZelgoraTobrin.dxg";
  }
}

std::string DataPath(const std::string& Folder, const char* Relative) {
  if (Folder.empty()) return Relative;
  return Folder.back() == '/' ? Folder + Relative : Folder + "/" + Relative;
}

}  // namespace

TMainForm::TMainForm(TFormServices S)
    : TDXForm(std::move(S.Window)),
      DXTimer(*S.Clock),
      DXDraw(*this, std::move(S.Display)),
      DXInput1(S.Keys),
      DXSound(&Window(), std::move(S.Sound)),
      FServices(std::move(S)) {
  Window().SetCaption("Zelgora ( 2007)");

  DXDraw.Options = {doAllowReboot,  doWaitVBlank, doCenter,       do3D,
                    doDirectX7Mode, doHardware,   doSelectDriver, doZBuffer};
  DXDraw.Display = {640, 480, 24, false, true, true};
  DXDraw.OnInitialize = [this] { DXDrawInitialize(); };
  DXDraw.OnFinalize = [this] { DXDrawFinalize(); };
  DXDraw.OnInitializeSurface = [this] { DXDrawInitializeSurface(); };

  DXTimer.SetInterval(5);
  DXTimer.SetActiveOnly(true);
  DXTimer.OnTimer = [this](int32_t LagCount, bool Shown) { DXTimerTimer(LagCount, Shown); };
  DXTimer.Loaded();  // stored enabled: it runs once the form has loaded

  DXImageListFaceMask.SetDXDraw(&DXDraw);

  DXSound.OnInitialize = [this] { DXSoundInitialize(); };
  DXWaveList.SetDXSound(&DXSound);
  for (const char* name : FormWaveNames) {
    auto& item = DXWaveList.Items().Add();
    item.SetName(name);
    for (const auto& [n, data] : FServices.Waves)
      if (n == name && !data.empty()) item.Wave().LoadFromStream(data);
    item.SetLooped(false);
    item.SetMaxPlayingCount(0);
  }

  DXInput1.SetActiveOnly(true);
  // The mouse is on: the pointer's gestures give direction states.
  DXInput1.Mouse().BindInputStates = true;
  DXInput1.Mouse().Enabled = true;
  DXInput1.Initialize();
  // The automatic start: a missing sound device is no error here.
  DXSound.Loaded();

  FormCreate();
}

TMainForm::~TMainForm() {
  FormDestroy();
  FSetupTextureStore.clear();
  SetupTextures.fill(nullptr);
  DXDraw.OnInitialize = nullptr;
  DXDraw.OnFinalize = nullptr;
  DXDraw.OnInitializeSurface = nullptr;
  DXDraw.Finalize();
}

void TMainForm::FormCreate() {
  PanelWidth = 0;
  PanelHeight = 0;
  BuildLanguageTable();
  SetupOff(1);

  SetupBusy = false;
  GlassAlpha = 0;
  Edition = FServices.Edition;
  MaxLevel = 4;
  Level = 1;
  BoardRows = 2;
  BoardCols = Level + 1;
  CursorRow = 0;
  CursorCol = 0;
  Credits = 0;
  ShiftState = {};
  RotateDir = ' ';
  RotateTarget = {0, 0, 0};
  ResizeBoard();

  InputBlocked = false;
  CameraStep = 0.02f;
  RotateStep = 1;

  LoadImageLists();
  MakeTextures();
  GameState = 3;

  const auto model = CubeVertices();
  FRandom.seed(FServices.Seed ? *FServices.Seed : Clock().Milliseconds());
  const int32_t b = Random(static_cast<int32_t>(BackgroundTextures.size()));
  std::vector<TDirect3DTexture2*> background;
  if (b < static_cast<int32_t>(BackgroundTextures.size()))
    background.push_back(BackgroundTextures[static_cast<size_t>(b)].get());
  BackgroundCube = std::make_unique<TD3DObject>(4, model, background, 240);
  SetupPanel = std::make_unique<TD3DObject>(4, model, background, 240);
  SetupPanel->ScaleBy({1.0f, 1.0f, 0.1f});

  BuildSetupCubes();
  SetupRow = 4;
  HelpVisible = false;
  BackgroundVisible = true;

  // Started anew now that the form exists. Without a working sound device the game runs
  // silent rather than not at all.
  try {
    DXSound.Initialize();
  } catch (const EDXError& e) {
    std::cerr << "zelgora: no sound: " << PlayerReport(e) << "; the game plays silently\n";
  }
  DXWaveList.Items().Find("InitScene").SetLooped(true);

  BuildBoard();

  SetupOff(2);
  SetupOff(4);
  SetupOff(0);
  SetupOn(3);
  SetupOff(3);
  SetupOn(1);

  TicketText.clear();
  TicketText = MakeTicketText();
}

void TMainForm::FormDestroy() {
  DXTimer.SetEnabled(false);
  for (auto& row : Board)
    for (auto& cube : row) cube.reset();
  Board.clear();
  TargetAngles.clear();
  Theme0Textures.clear();
  Theme1Textures.clear();
  BackgroundTextures.clear();
  Languages.reset();
}

void TMainForm::LoadImageLists() {
  const auto& dir = FServices.DataDir;
  DXImageList.Items().LoadFromFile(DataPath(dir, EditionImageList(Edition)));
  DXImageListSetupBars.Items().LoadFromFile(DataPath(dir, "Bitmaps/SetupBars.dxg"));
  DXImageListFaceMask.Items().LoadFromFile(DataPath(dir, "Bitmaps/FaceMask.dxg"));
}

void TMainForm::MakeTextures() {
  Theme0Textures.clear();
  Theme1Textures.clear();
  BackgroundTextures.clear();
  auto& items = DXImageList.Items();
  for (int32_t i = 0; i < items.Count(); ++i) {
    const auto& item = items.Items(i);
    const std::string& name = item.Name();
    const TDIB& picture = item.Picture().DIB();
    auto make = [&] { return std::make_unique<TDirect3DTexture2>(DXDraw, picture); };
    const char c0 = name.empty() ? '\0' : name[0];
    const char c1 = name.size() < 2 ? '\0' : name[1];
    if (c0 == 'C' && c1 == '0') {
      Theme0Textures.push_back(make());
    } else if (c0 == 'C' && c1 == '1') {
      Theme1Textures.push_back(make());
    } else if (c0 == 'B') {
      BackgroundTextures.push_back(make());
    } else if (c0 == 'A') {
      Theme0Textures.push_back(make());
      Theme1Textures.push_back(make());
      BackgroundTextures.push_back(make());
    }
  }
}

void TMainForm::ResizeBoard() {
  Board.resize(static_cast<size_t>(BoardRows));
  for (auto& row : Board) row.resize(static_cast<size_t>(BoardCols));
  TargetAngles.resize(static_cast<size_t>(BoardRows));
  for (auto& row : TargetAngles) row.resize(static_cast<size_t>(BoardCols));
}

int32_t TMainForm::Random(int32_t Range) {
  if (Range <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(FRandom()) * static_cast<uint64_t>(Range)) >>
                              32);
}

void TMainForm::PlayWave(const char* Name) {
  DXWaveList.Items().Find(Name).Play(false);
}

void TMainForm::StopWave(const char* Name) {
  DXWaveList.Items().Find(Name).Stop();
}

std::string TMainForm::MakeTicketText() {
  return MakeTicket(Clock().Now(), Random(20));
}

// The display is up: frames may run.
void TMainForm::DXDrawInitialize() {
  DXTimer.SetEnabled(true);
}

void TMainForm::DXDrawFinalize() {
  DXTimer.SetEnabled(false);
}

void TMainForm::ApplicationActivated(bool Active) {
  if (Active)
    DXTimer.ApplicationActivate();
  else
    DXTimer.ApplicationDeactivate();
  DXSound.WindowActivated(Active);
}

void TMainForm::DXSoundInitialize() {
  auto options = DXSound.Options();
  options.Exclude(soExclusive);
  DXSound.SetOptions(options);
}

void TMainForm::DXTimerTimer(int32_t /*LagCount*/, bool Shown) {
  InputBlocked = CameraMoving || Rotating || Assembling;
  PointerStep();
  DXInput1.Update();
  if (!InputBlocked && GameState == 2) InputStep();
  UpdateGame();
  if (!Shown) {
    if (DXDraw.CanDraw()) StepPanel();
    return;
  }
  if (DXDraw.CanDraw()) {
    if (auto* device = DXDraw.D3DDevice7()) {
      const uint32_t flags = D3DCLEAR_TARGET | (DXDraw.HasZBuffer() ? D3DCLEAR_ZBUFFER : 0);
      device->Clear({0, 0, DXDraw.SurfaceWidth(), DXDraw.SurfaceHeight()}, flags, 0, 1.0f, 0);
    }
  }
  RenderFrame();
}

void TMainForm::InputStep() {
  const auto& states = DXInput1.PressedStates;
  const int32_t before = Credits;
  const TShiftState shift = InputShift();
  if (shift.Contains(ssShift)) {
    static constexpr std::pair<TDXInputState, char> Turns[] = {
        {isDown, 'D'}, {isUp, 'U'}, {isLeft, 'L'}, {isRight, 'R'}};
    for (const auto& [state, dir] : Turns) {
      if (!states.Contains(state)) continue;
      RotateDir = dir;
      ++Credits;
    }
    if (Credits != before && SoundOn()) PlayWave("Rotate");
  } else if (shift.Contains(ssCtrl)) {
    if (states.Contains(isDown) && Camera.Z < 10.0f)
      Camera.Z = static_cast<float>(static_cast<double>(Camera.Z) + 0.2);
    if (states.Contains(isUp) && Camera.Z > 0.0f)
      Camera.Z = static_cast<float>(static_cast<double>(Camera.Z) - 0.2);
  } else {
    if (states.Contains(isDown) && CursorRow > 0) --CursorRow, ++Credits;
    if (states.Contains(isUp) && CursorRow < BoardRows - 1) ++CursorRow, ++Credits;
    if (states.Contains(isLeft) && CursorCol > 0) --CursorCol, ++Credits;
    if (states.Contains(isRight) && CursorCol < BoardCols - 1) ++CursorCol, ++Credits;
    if (Credits != before && SoundOn()) PlayWave("Move");
  }
}

void TMainForm::FormKeyDown(uint16_t Key, TShiftState Shift) {
  ShiftState = Shift;
  if (!SetupBusy) {
    switch (Key) {
      case VK::F1:
        HelpVisible = !HelpVisible;
        break;
      case VK::F2:
        BackgroundVisible = !BackgroundVisible;
        break;
      case VK::F3:
        ToggleSetup(2);
        break;
      case VK::F4:
        ToggleSetup(1);
        break;
      case VK::F5:
        ToggleSetup(3);
        break;
      default:
        break;
    }
    if (GameState == 4) {
      switch (Key) {
        case VK::Down:
          SetupRow = SetupRow <= 0 ? 4 : SetupRow - 1;
          if (SoundOn()) PlayWave("SetupMove");
          break;
        case VK::Up:
          SetupRow = SetupRow >= 4 ? 0 : SetupRow + 1;
          if (SoundOn()) PlayWave("SetupMove");
          break;
        case VK::Left:
        case VK::Right:
        case VK::Space:
        case VK::Return:
          ToggleSetup(SetupRow);
          break;
        default:
          break;
      }
    }
  }
  if (Key == VK::Escape) Close();
  if (Shift.Contains(ssAlt) && Key == VK::Return) FullScreenSwitch();
}

void TMainForm::FormKeyUp(uint16_t /*Key*/, TShiftState Shift) {
  ShiftState = Shift;
}

void TMainForm::FullScreenSwitch() {
  DXDraw.Finalize();
  if (DXDraw.Options.Contains(doFullScreen)) {
    RestoreWindowPlacement();
    Window().ShowCursor(true);
    Window().SetBorderStyle(TFormWindow::TBorderStyle::Single);
    DXDraw.Options.Exclude(doFullScreen);
    DXDraw.Options.Include(doFlip);
  } else {
    PrepareFullScreen();
  }
  DXDraw.Initialize();
}

void TMainForm::PrepareFullScreen() {
  SaveWindowPlacement();
  Window().ShowCursor(false);
  Window().SetBorderStyle(TFormWindow::TBorderStyle::None);
  DXDraw.Options.Include(doFullScreen);
  DXDraw.Options.Exclude(doFlip);
}
