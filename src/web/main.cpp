// The program entry in the browser. The page turns the options of its address into the same
// arguments the desktop's command line takes; the browser then hands over one animation frame
// at a time instead of the desktop's loop. Each animation frame goes to the frame timer with
// the browser's time stamp, so the pace is the desktop's; with --frames each runs a slice of
// ticks back to back instead (the ticks depend neither on the clock nor on being drawn, so the
// slices do not change the result).
#include <emscripten.h>
#include <emscripten/html5.h>

#include <SDL.h>

#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "DXHappy.h"
#include "DXMain.h"
#include "app/SdlGame.h"
#include "harness/Options.h"
#include "harness/Run.h"
#include "harness/StateDump.h"
#include "media/sdl/SdlBasePath.h"

namespace {

// Tells the page's script how the run goes: "first-frame", "frames-done", "ended", "failed".
EM_JS(void, TellPage, (const char* Event, const char* Detail), {
  if (Module.zelgoraEvent) Module.zelgoraEvent(UTF8ToString(Event), UTF8ToString(Detail));
});

// Where the page's script finds the running game, for zelgora_state; null once it ended.
EM_JS(void, TellPageWhere, (const void* Page), { Module.zelgoraPage = Page; });

// A frames run that lasts longer than this in one animation frame gives the page a turn.
constexpr double SliceMilliseconds = 50;

// The page's buttons for what only keys did, by element id, and the key each one sends (with
// Alt held for the full-screen switch).
struct TPageButton {
  const char* Selector;
  SDL_Scancode Key;
  bool Alt;
};
constexpr std::array<TPageButton, 7> PageButtons{{
    {"#key-help", SDL_SCANCODE_F1, false},
    {"#key-background", SDL_SCANCODE_F2, false},
    {"#key-difficulty", SDL_SCANCODE_F3, false},
    {"#key-sound", SDL_SCANCODE_F4, false},
    {"#key-language", SDL_SCANCODE_F5, false},
    {"#key-full-screen", SDL_SCANCODE_RETURN, true},
    {"#key-quit", SDL_SCANCODE_ESCAPE, false},
}};

// A key event into SDL's queue, where the keyboard's own arrive.
void PushKey(Uint32 Type, SDL_Scancode Key, Uint16 Mods) {
  SDL_Event e{};
  e.type = Type;
  e.key.timestamp = SDL_GetTicks();
  e.key.state = Type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = Key;
  e.key.keysym.sym = SDL_GetKeyFromScancode(Key);
  e.key.keysym.mod = Mods;
  SDL_PushEvent(&e);
}

class TPage {
 public:
  explicit TPage(const THarnessOptions& Options)
      : FOptions(Options), FEvents(Prepare(FOptions)), FClock(FOptions.Clock) {
    TFormServices services;
    services.Clock = &FClock;
    services.DataDir = FOptions.DataDir.empty() ? SdlBasePath() : FOptions.DataDir;
    services.Edition = FOptions.Edition;
    services.Seed = FOptions.Seed;
    services.Waves = FormWaves();
    FGame = std::make_unique<TSdlGame>(FOptions, std::move(services), FKeys, std::move(FEvents));
    if (!FOptions.Frames) FGame->Run().StartClock();
    // A hidden page gets no animation frames, so the game would hear of it only when shown
    // again: SDL's handler, registered first, queues the change, and this one hands it over
    // at once, so the hidden game stands still and is silent as an inactive window is.
    emscripten_set_visibilitychange_callback(this, EM_FALSE, &TPage::VisibilityChanged);
    TellPageWhere(this);
    TellLanguage();
    for (size_t i = 0; i < PageButtons.size(); ++i) {
      FButtons[i] = {this, &PageButtons[i]};
      emscripten_set_click_callback(PageButtons[i].Selector, &FButtons[i], EM_FALSE, Clicked);
    }
  }
  ~TPage() {
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, nullptr);
    for (const TPageButton& b : PageButtons)
      emscripten_set_click_callback(b.Selector, nullptr, EM_FALSE, nullptr);
    TellPageWhere(nullptr);
  }
  TPage(const TPage&) = delete;
  TPage& operator=(const TPage&) = delete;

  // The state record as the trace writes it; "null" once the game has ended.
  const char* StateLine() {
    FStateLine = FGame ? DumpStateLine(FGame->Form(), FGame->Run().Frame()) : "null";
    return FStateLine.c_str();
  }

  // Whether the game is in full screen (it may ask the browser for it and not have it yet).
  bool FullScreen() { return FGame && FGame->Form().DXDraw.Options.Contains(doFullScreen); }

  // Whether the game counts as the active application (the frame timer runs, sound is heard).
  bool Active() { return FGame && FGame->Form().DXTimer.ApplicationActive(); }

  enum class TState { Running, FramesDone, Ended };

  // One animation frame, at Now (the browser's time stamp, in milliseconds).
  TState Frame(double Now) {
    if (FState != TState::Running) return FState;
    if (!FError.empty()) throw std::runtime_error(FError);
    TGameRun& run = FGame->Run();
    const int64_t before = run.Frame();
    if (FOptions.Frames) {
      // Only the slice's last tick is drawn: the browser shows no other.
      const double start = emscripten_get_now();
      for (bool last = false; !last;) {
        FGame->Pump();
        if (!run.FramesLeft()) break;
        last = run.Frame() + 1 == *FOptions.Frames ||
               emscripten_get_now() - start >= SliceMilliseconds;
        if (!run.RunFrame(last)) break;
      }
    } else {
      FGame->Pump();
      TDXTimer& timer = FGame->Form().DXTimer;
      // The browser shows what was drawn when the frame ends: a frame with no tick due keeps
      // the last picture, as a desktop's repeated present does.
      if (!FGame->Form().Window().Closed() && timer.Hooked()) timer.Frame(Now);
    }
    FollowBrowserFullScreen();
    TellLanguage();
    if (before == 0 && FGame->Run().Frame() > 0) TellPage("first-frame", "");

    if (FGame->Form().Window().Closed()) {
      Finish();
      // The form and its window go; the page says the game has ended.
      FGame.reset();
      TellPageWhere(nullptr);
      FState = TState::Ended;
      TellPage("ended", "");
    } else if (FOptions.Frames && !FGame->Run().FramesLeft()) {
      // As the desktop's run would quit here; the picture stays for a look or a screenshot.
      Finish();
      FState = TState::FramesDone;
      TellPage("frames-done", std::to_string(FGame->Run().Frame()).c_str());
    }
    return FState;
  }

 private:
  struct TButtonTarget {
    TPage* Page = nullptr;
    const TPageButton* Button = nullptr;
  };

  static EM_BOOL Clicked(int, const EmscriptenMouseEvent*, void* Target) {
    const auto* target = static_cast<const TButtonTarget*>(Target);
    try {
      target->Page->Press(*target->Button);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "zelgora: %s\n", e.what());
    }
    return EM_TRUE;
  }

  // A button sends its key down and up as the keyboard would, and the game takes them at once,
  // inside the click: the browser grants full screen only while it handles the player's gesture.
  void Press(const TPageButton& Button) {
    if (FState != TState::Running || !FGame) return;
    const Uint16 mods = Button.Alt ? KMOD_LALT : KMOD_NONE;
    if (Button.Alt) PushKey(SDL_KEYDOWN, SDL_SCANCODE_LALT, mods);
    PushKey(SDL_KEYDOWN, Button.Key, mods);
    PushKey(SDL_KEYUP, Button.Key, mods);
    if (Button.Alt) PushKey(SDL_KEYUP, SDL_SCANCODE_LALT, KMOD_NONE);
    FGame->Pump();
  }

  // The page names its buttons in the game's language: it hears of each change.
  void TellLanguage() {
    if (!FGame || !FGame->Form().Languages) return;
    const int32_t language = FGame->Form().Languages->LanguageIndex;
    if (language == FLanguage) return;
    FLanguage = language;
    TellPage("language", language == 0 ? "en" : "sk");
  }

  // The browser leaves full screen by itself (its Escape, a tab switch); the game then leaves
  // it too, so that the next Alt+Return asks for it again. The browser enters it a little after
  // the request, so only a full screen the browser was seen in counts as left.
  void FollowBrowserFullScreen() {
    if (!FGame) return;
    TMainForm& form = FGame->Form();
    if (!form.DXDraw.Options.Contains(doFullScreen)) {
      FBrowserFullScreen = false;
      return;
    }
    EmscriptenFullscreenChangeEvent status{};
    if (emscripten_get_fullscreen_status(&status) != EMSCRIPTEN_RESULT_SUCCESS) return;
    if (status.isFullscreen) {
      FBrowserFullScreen = true;
    } else if (FBrowserFullScreen) {
      FBrowserFullScreen = false;
      form.FullScreenSwitch();
    }
  }

  static EM_BOOL VisibilityChanged(int /*Type*/, const EmscriptenVisibilityChangeEvent* /*E*/,
                                   void* Page) {
    auto* page = static_cast<TPage*>(Page);
    if (!page->FGame || page->FState != TState::Running) return EM_FALSE;
    try {
      page->FGame->Pump();
    } catch (const std::exception& e) {
      page->FError = e.what();  // the next frame fails with it, as its own pump would have
    }
    return EM_FALSE;
  }

  static std::vector<TKeyEvent> Prepare(THarnessOptions& Options) {
    TSystemClock system;
    return PrepareRun(Options, system);
  }

  void Finish() {
    FGame->Run().Finish();
    if (!FOptions.DumpStateFile.empty()) {
      std::printf("zelgora-state: %s\n", DumpStateLine(FGame->Form(), FGame->Run().Frame()).c_str());
      std::fflush(stdout);
    }
  }

  THarnessOptions FOptions;
  std::vector<TKeyEvent> FEvents;  // the key script's, until the game takes them
  THarnessClock FClock;
  THeldKeys FKeys;
  std::unique_ptr<TSdlGame> FGame;
  TState FState = TState::Running;
  bool FBrowserFullScreen = false;
  int32_t FLanguage = -1;  // as the page was last told
  std::array<TButtonTarget, PageButtons.size()> FButtons{};
  std::string FStateLine;
  std::string FError;  // what went wrong outside a frame
};

void Fail(const std::string& Message) {
  std::fprintf(stderr, "zelgora: %s\n", Message.c_str());
  TellPage("failed", Message.c_str());
}

EM_BOOL RunFrame(double Now, void* Page) {
  auto* page = static_cast<TPage*>(Page);
  try {
    if (page->Frame(Now) != TPage::TState::Ended) return EM_TRUE;
  } catch (const std::exception& e) {
    Fail(e.what());
  }
  std::unique_ptr<TPage> owned(page);  // the frame loop held it; nothing does now
  return EM_FALSE;
}

}  // namespace

// For the page's tests: the running game's state, full screen and activation, read between
// animation frames.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelgora_state(void* Page) {
  return static_cast<TPage*>(Page)->StateLine();
}

extern "C" EMSCRIPTEN_KEEPALIVE int zelgora_full_screen(void* Page) {
  return static_cast<TPage*>(Page)->FullScreen() ? 1 : 0;
}

extern "C" EMSCRIPTEN_KEEPALIVE int zelgora_active(void* Page) {
  return static_cast<TPage*>(Page)->Active() ? 1 : 0;
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TParsedOptions parsed = ParseOptions(args);
  if (parsed.ExitCode) {
    if (*parsed.ExitCode != 0) Fail(parsed.Message);
    return *parsed.ExitCode;
  }
  if (parsed.Options.Renderer != "gl") {
    Fail("the page draws with OpenGL only");
    return 1;
  }
  std::unique_ptr<TPage> page;
  try {
    page = std::make_unique<TPage>(parsed.Options);
  } catch (const std::exception& e) {
    Fail(e.what());
    return 1;
  }
  // Ownership passes to the frame loop, which ends it once the game has ended.
  emscripten_request_animation_frame_loop(RunFrame, page.release());
  return 0;
}
