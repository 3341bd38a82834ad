#include "harness/Run.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "DXMain.h"
#include "harness/Recorder.h"
#include "harness/StateDump.h"
#include "media/FrameLoop.h"
#include "media/Utf8Path.h"

namespace {

// The loop's platform: the caller's pump and presentation, the computer's steady clock.
class TRunHost : public TFrameHost {
 public:
  TRunHost(TMainForm& Form, const std::function<void()>& Pump,
           const std::function<void()>& PresentAgain)
      : FForm(Form), FPump(Pump), FPresentAgain(PresentAgain) {}
  bool Pump() override {
    if (FPump) FPump();
    return !FForm.Window().Closed();
  }
  double Now() override {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
  }
  void PresentAgain() override {
    if (FPresentAgain) FPresentAgain();
  }
  void RestUntil(double Ms) override {
    // Short rests keep the events coming in while the loop waits.
    const double rest = std::min(Ms - Now(), 20.0);
    if (rest > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(rest));
  }

 private:
  TMainForm& FForm;
  const std::function<void()>& FPump;
  const std::function<void()>& FPresentAgain;
};

std::ofstream OpenOutput(const std::string& File) {
  std::ofstream out(Utf8Path(File), std::ios::binary | std::ios::trunc);
  if (!out) throw EHarnessError("cannot write \"" + File + "\"");
  return out;
}

void Check(std::ofstream& Out, const std::string& File) {
  if (!Out) throw EHarnessError("cannot write \"" + File + "\"");
}

}  // namespace

std::vector<TKeyEvent> PrepareRun(THarnessOptions& Options, TClock& System) {
  TKeyScript script;
  if (!Options.KeysFile.empty()) script = LoadKeyScript(Options.KeysFile);
  if (!Options.Seed) Options.Seed = script.Seed;
  if (!Options.Clock) Options.Clock = script.Clock;
  if (!Options.RecordFile.empty()) {
    if (!Options.Seed) Options.Seed = System.Milliseconds();
    if (!Options.Clock) Options.Clock = System.Now();
  }
  return std::move(script.Events);
}

TGameRun::TGameRun(TMainForm& Form, THeldKeys& Keys, const THarnessOptions& Options,
                   std::vector<TKeyEvent> Events)
    : FForm(Form), FOptions(Options), FTarget(Form), FHarness(FTarget, Keys, std::move(Events)) {
  if (!Options.TraceFile.empty()) FTrace = OpenOutput(Options.TraceFile);
  // Opened before the run, so that a bad path shows at once.
  if (!Options.DumpStateFile.empty()) FDump = OpenOutput(Options.DumpStateFile);
  if (!Options.RecordFile.empty()) {
    FRecorder = std::make_unique<TKeyRecorder>(Options.RecordFile, Options.Seed.value_or(0),
                                               Options.Clock.value_or(TLocalDateTime{}));
    FHarness.OnEvent = [this](const TKeyEvent& E) { FRecorder->Add(E); };
  }
  if (FTrace.is_open()) {
    FHarness.OnFrame = [this](int64_t Frame) {
      FTrace << DumpStateLine(FForm, Frame) << '\n';
      Check(FTrace, FOptions.TraceFile);
    };
  }
}

TGameRun::~TGameRun() { StopClock(); }

TJoystickSource& TGameRun::Joystick(TJoystickSource& Platform) {
  if (!FRecorder) return Platform;
  FJoystick = std::make_unique<TRecordedJoystick>(
      Platform, *FRecorder, DirectionKeys(FForm.DXInput1.Keyboard().KeyAssigns),
      [this] { return FHarness.Frame() + 1; });
  return *FJoystick;
}

bool TGameRun::FramesLeft() const {
  return FOptions.Frames && FHarness.Frame() < *FOptions.Frames && !FForm.Window().Closed();
}

void TGameRun::StartClock() {
  if (FClockRunning) return;
  FKeptTimer = FForm.DXTimer.OnTimer;
  FForm.DXTimer.OnTimer = [this](int32_t, bool Shown) { FHarness.RunFrame(Shown); };
  FForm.DXTimer.Pacer().SetPace(FOptions.Pace);
  FClockRunning = true;
}

void TGameRun::StopClock() {
  if (!FClockRunning) return;
  FForm.DXTimer.OnTimer = FKeptTimer;
  FClockRunning = false;
}

int64_t TGameRun::Run(const std::function<void()>& Pump,
                      const std::function<void()>& PresentAgain) {
  if (FOptions.Frames) {
    for (int64_t i = 0; i < *FOptions.Frames; ++i) {
      if (Pump) Pump();
      if (!FHarness.RunFrame()) break;
    }
  } else {
    StartClock();
    TRunHost host(FForm, Pump, PresentAgain);
    RunFrameLoop(FForm.DXTimer, host);
    StopClock();
  }
  return Finish();
}

int64_t TGameRun::Finish() {
  StopClock();
  if (FFinished) return FHarness.Frame();
  FFinished = true;
  if (FDump.is_open()) {
    FDump << DumpState(FForm, FHarness.Frame())
                 .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
          << '\n';
    FDump.close();  // whole on disk once the run returns
    Check(FDump, FOptions.DumpStateFile);
  }
  if (FTrace.is_open()) {
    FTrace.close();
    Check(FTrace, FOptions.TraceFile);
  }
  if (FRecorder) FRecorder->Finish();
  return FHarness.Frame();
}

int64_t RunGame(TMainForm& Form, THeldKeys& Keys, const THarnessOptions& Options,
                const std::function<void()>& Pump, const std::function<void()>& PresentAgain) {
  std::vector<TKeyEvent> events;
  if (!Options.KeysFile.empty()) events = LoadKeyScript(Options.KeysFile).Events;
  TGameRun run(Form, Keys, Options, std::move(events));
  return run.Run(Pump, PresentAgain);
}
