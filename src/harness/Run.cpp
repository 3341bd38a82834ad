#include "harness/Run.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "DXMain.h"
#include "harness/FormTarget.h"
#include "harness/Harness.h"
#include "harness/StateDump.h"

namespace {

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
                const std::function<void()>& Pump) {
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
    Form.DXTimer.OnTimer = [&](int32_t) { harness.RunFrame(); };
    while (!Form.Window().Closed()) {
      if (Pump) Pump();
      if (Form.Window().Closed()) break;
      if (!Form.DXTimer.Idle()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
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
