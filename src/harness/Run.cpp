#include "harness/Run.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "DXMain.h"
#include "harness/FormTarget.h"
#include "harness/Harness.h"
#include "harness/StateDump.h"
#include "media/FrameLoop.h"

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
  std::ofstream out(File, std::ios::binary | std::ios::trunc);
  if (!out) throw EHarnessError("cannot write \"" + File + "\"");
  return out;
}

void Check(std::ofstream& Out, const std::string& File) {
  if (!Out) throw EHarnessError("cannot write \"" + File + "\"");
}

}  // namespace

int64_t RunGame(TMainForm& Form, THeldKeys& Keys, const THarnessOptions& Options,
                const std::function<void()>& Pump, const std::function<void()>& PresentAgain) {
  std::vector<TKeyEvent> events;
  if (!Options.KeysFile.empty()) events = LoadKeyScript(Options.KeysFile);
  std::ofstream trace;
  if (!Options.TraceFile.empty()) trace = OpenOutput(Options.TraceFile);
  std::ofstream dump;  // opened before the run, so a bad path shows at once
  if (!Options.DumpStateFile.empty()) dump = OpenOutput(Options.DumpStateFile);

  TFormTarget target(Form);
  THarness harness(target, Keys, std::move(events));
  if (trace.is_open()) {
    harness.OnFrame = [&](int64_t Frame) {
      trace << DumpStateLine(Form, Frame) << '\n';
      Check(trace, Options.TraceFile);
    };
  }

  if (Options.Frames) {
    for (int64_t i = 0; i < *Options.Frames; ++i) {
      if (Pump) Pump();
      if (!harness.RunFrame()) break;
    }
  } else {
    auto keep = Form.DXTimer.OnTimer;
    Form.DXTimer.OnTimer = [&](int32_t, bool Shown) { harness.RunFrame(Shown); };
    Form.DXTimer.Pacer().SetPace(Options.Pace);
    TRunHost host(Form, Pump, PresentAgain);
    RunFrameLoop(Form.DXTimer, host);
    Form.DXTimer.OnTimer = keep;
  }

  if (dump.is_open()) {
    dump << DumpState(Form, harness.Frame())
                .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
         << '\n';
    Check(dump, Options.DumpStateFile);
  }
  if (trace.is_open()) {
    trace.flush();
    Check(trace, Options.TraceFile);
  }
  return harness.Frame();
}
