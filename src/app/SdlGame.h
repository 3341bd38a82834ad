// The game on the SDL platform, made as both program entries need it: the desktop's, which
// loops, and the page's, which the browser hands one animation frame at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "DXMain.h"
#include "harness/Options.h"
#include "harness/Run.h"
#include "media/sdl/SdlPlatform.h"

// The sounds the game carries, as the form takes them.
std::vector<std::pair<std::string, std::vector<uint8_t>>> FormWaves();

class TSdlGame {
 public:
  // Opens the platform and makes the shown form on it, with the run of the options (which must
  // outlive the game). ScriptKeys: the key script's held keys, laid over the keyboard's.
  // Raises EDXDrawError, EHarnessError and the form's errors on failure.
  TSdlGame(const THarnessOptions& Options, TFormServices Services, THeldKeys& ScriptKeys,
           std::vector<TKeyEvent> Events);
  ~TSdlGame();
  TSdlGame(const TSdlGame&) = delete;
  TSdlGame& operator=(const TSdlGame&) = delete;

  TMainForm& Form() { return *FForm; }
  TGameRun& Run() { return *FRun; }
  TSdlPlatform& Platform() { return FPlatform; }
  // Handles the waiting events: keys to the form, window changes to the display.
  void Pump();

 private:
  class TCombinedKeys;
  class TFormClient;
  TSdlPlatform FPlatform;
  std::unique_ptr<TCombinedKeys> FKeys;
  std::unique_ptr<TMainForm> FForm;
  std::unique_ptr<TGameRun> FRun;
  std::unique_ptr<TFormClient> FClient;
};
