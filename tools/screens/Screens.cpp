#include "Screens.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>
#include <stdexcept>

#include "DXMain.h"
#include "media/Clock.h"
#include "media/DXInput.h"
#include "media/NullDisplay.h"
#include "media/sdl/DIBCanvas.h"
#include "media/sdl/SdlDisplay.h"

namespace {
struct TWindowDeleter {
  void operator()(SDL_Window* W) const { SDL_DestroyWindow(W); }
};

class TPlayer {
  // The window (and its GL context) outlives the form.
  std::unique_ptr<SDL_Window, TWindowDeleter> FWindow;

 public:
  TPlayer(const std::string& DataDir, int32_t Edition) {
    FWindow.reset(
        SDL_CreateWindow("Zelgora", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN));
    if (!FWindow) throw std::runtime_error(std::string("No window: ") + SDL_GetError());
    TFormServices s;
    s.Window = std::make_unique<TNullFormWindow>();
    auto display = std::make_unique<TSdlGLDisplay>(FWindow.get(), DataDir);
    FDisplay = display.get();
    s.Display = std::move(display);
    s.Keys = &FKeys;
    s.Clock = &FClock;
    s.DataDir = DataDir;
    s.Edition = Edition;
    s.Seed = 7;
    s.PictureCanvas = MakeDIBCanvasMaker(DataDir);
    Form = std::make_unique<TMainForm>(std::move(s));
    Form->DXDraw.WindowShown();
  }

  void Frames(int N) {
    for (int i = 0; i < N; ++i) Form->DXTimerTimer(0);
  }
  template <typename Pred>
  void Until(Pred Done, int Limit = 3000) {
    for (int i = 0; i < Limit && !Done(); ++i) Form->DXTimerTimer(0);
  }
  void Key(uint16_t Vk, bool Down) {
    FKeys.SetKey(static_cast<uint8_t>(Vk), Down);
    TShiftState s;
    if (FKeys.KeyDown(0x10)) s.Include(ssShift);
    if (FKeys.KeyDown(0x12)) s.Include(ssAlt);
    Down ? Form->FormKeyDown(Vk, s) : Form->FormKeyUp(Vk, s);
  }
  void Press(uint16_t Vk) {
    Key(Vk, true);
    Key(Vk, false);
  }
  bool Still() const { return !Form->Assembling && !Form->CameraMoving && !Form->Rotating; }
  TScreenshot Shot(const std::string& Name) {
    const TSurfacePixels p = FDisplay->ReadSurface();
    return {Name, p.Width, p.Height, p.RGBA};
  }

  std::unique_ptr<TMainForm> Form;

 private:
  TSdlGLDisplay* FDisplay = nullptr;
  THeldKeys FKeys;
  TManualClock FClock{TLocalDateTime{2007, 3, 9, 14, 5, 7}};
};

constexpr uint16_t Shift = 0x10;

// From start-up to a settled board in play.
void StartPlaying(TPlayer& P) {
  auto& f = *P.Form;
  P.Until([&] { return f.GameState == 4 && !f.SetupBusy; });
  P.Frames(30);
  P.Press(VK::Return);  // "GO PLAY !" is the row selected at start
  P.Until([&] { return f.GameState == 2 && P.Still(); });
}

// The last level solved: the board swells, then the game is over.
void FinishGame(TPlayer& P) {
  auto& f = *P.Form;
  f.Level = f.MaxLevel;
  f.GameState = 1;
  P.Until([&] { return f.GameState == 5; });
  P.Frames(60);  // the panel opens
}
}  // namespace

void TakeScreenshots(const std::string& DataDir, int32_t Edition,
                     const std::function<void(const TScreenshot&)>& Take) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    throw std::runtime_error(std::string("No video: ") + SDL_GetError());
  struct TQuit {
    ~TQuit() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
  } quit;
  TPlayer p(DataDir, Edition);
  auto& f = *p.Form;
  const std::string ed = "-edition" + std::to_string(Edition);
  if (Edition == 0) {
    p.Until([&] { return f.GameState == 4 && !f.SetupBusy; });
    p.Frames(30);
    Take(p.Shot("setup-slovak"));
    p.Press(VK::Down);
    p.Press(VK::Down);
    p.Frames(20);
    p.Press(VK::Right);  // difficulty: the bar turns, the hour-glasses show
    p.Frames(22);
    Take(p.Shot("setup-change"));
    p.Until([&] { return !f.SetupBusy; });
    p.Press(VK::Up);
    p.Press(VK::Up);
    p.Frames(20);
    p.Press(VK::Return);
    p.Until([&] { return f.GameState == 2 && p.Still(); });
    p.Key(Shift, true);
    p.Key(VK::Right, true);
    p.Frames(1);
    p.Key(VK::Right, false);
    p.Key(Shift, false);
    p.Frames(14);
    Take(p.Shot("turn"));
    p.Until([&] { return p.Still(); });
    p.Frames(5);
    p.Key(VK::Left, true);  // the view travels to the next cell: the cross-hair shows
    p.Frames(1);
    p.Key(VK::Left, false);
    p.Frames(12);
    Take(p.Shot("crosshair"));
    p.Until([&] { return p.Still(); });
    p.Press(VK::F1);
    p.Frames(60);
    Take(p.Shot("help-play"));
    p.Press(VK::F1);
    p.Frames(60);
  } else {
    StartPlaying(p);
  }
  FinishGame(p);
  Take(p.Shot("game-over" + ed));
}

void SavePng(const TScreenshot& Shot, const std::string& File) {
  std::vector<uint8_t> pixels = Shot.RGBA;
  std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
      SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), Shot.Width, Shot.Height, 32, Shot.Width * 4,
                                         SDL_PIXELFORMAT_RGBA32),
      SDL_FreeSurface);
  if (!surface || IMG_SavePNG(surface.get(), File.c_str()) != 0)
    throw std::runtime_error("Cannot write " + File + ": " + SDL_GetError());
}
