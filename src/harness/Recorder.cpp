#include "harness/Recorder.h"

#include "harness/Options.h"
#include "harness/Run.h"
#include "media/Utf8Path.h"

TKeyRecorder::TKeyRecorder(const std::string& File, uint32_t Seed, const TLocalDateTime& Clock)
    : FFile(File), FOut(Utf8Path(File), std::ios::binary | std::ios::trunc) {
  if (!FOut) throw EHarnessError("cannot write \"" + File + "\"");
  FOut << "# seed " << Seed << "\n# clock " << FormatClock(Clock) << '\n';
}

void TKeyRecorder::Add(const TKeyEvent& Event) {
  if (Event.Kind == TEventKind::Key && Event.VirtualKey == 0) return;
  FOut << KeyScriptLine(Event) << '\n';
}

void TKeyRecorder::Finish() {
  FOut.close();
  if (!FOut) throw EHarnessError("cannot write \"" + FFile + "\"");
}

TRecordedJoystick::TRecordedJoystick(TJoystickSource& Source, TKeyRecorder& Recorder,
                                     std::array<uint8_t, 4> Keys,
                                     std::function<int64_t()> NextFrame)
    : FSource(Source), FRecorder(Recorder), FKeys(Keys), FNextFrame(std::move(NextFrame)) {}

TDXInputStates TRecordedJoystick::ReadStates() {
  const TDXInputStates now = FSource.ReadStates();
  for (int32_t s : {isUp, isDown, isLeft, isRight}) {
    if (now.Contains(s) != FLast.Contains(s))
      FRecorder.Add({FNextFrame(), now.Contains(s), FKeys[static_cast<size_t>(s)]});
  }
  FLast = now;
  return now;
}

std::array<uint8_t, 4> DirectionKeys(const TKeyAssignList& Table) {
  std::array<uint8_t, 4> keys{};
  for (int32_t s : {isUp, isDown, isLeft, isRight})
    for (int32_t key : Table[static_cast<size_t>(s)])
      if (key >= 1 && key <= 255) keys[static_cast<size_t>(s)] = static_cast<uint8_t>(key);
  return keys;
}
