#include "harness/KeyScript.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "harness/Options.h"
#include "media/Utf8Path.h"

namespace {

std::string Upper(std::string_view S) {
  std::string u(S);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

std::vector<std::string_view> Words(std::string_view Line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < Line.size()) {
    while (i < Line.size() && std::isspace(static_cast<unsigned char>(Line[i]))) ++i;
    size_t start = i;
    while (i < Line.size() && !std::isspace(static_cast<unsigned char>(Line[i]))) ++i;
    if (i > start) words.push_back(Line.substr(start, i - start));
  }
  return words;
}

struct TNamedKey {
  const char* Name;
  uint8_t Code;
};
constexpr TNamedKey Named[] = {
    {"ESCAPE", 0x1B}, {"RETURN", 0x0D}, {"SPACE", 0x20}, {"SHIFT", 0x10}, {"CONTROL", 0x11},
    {"MENU", 0x12},   {"LEFT", 0x25},   {"UP", 0x26},    {"RIGHT", 0x27}, {"DOWN", 0x28}};

// A "# seed N" or "# clock ..." line; false for any other comment.
bool ReadSetting(std::string_view Comment, TKeyScript& Script, const auto& Fail) {
  auto words = Words(Comment);
  if (words.size() != 2) return false;
  const std::string value(words[1]);
  if (words[0] == "seed") {
    uint32_t seed = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
    if (ec != std::errc() || end != value.data() + value.size())
      Fail("seed '" + value + "' is not a number from 0 to 4294967295");
    Script.Seed = seed;
    return true;
  }
  if (words[0] == "clock") {
    Script.Clock = ParseClock(value);
    if (!Script.Clock) Fail("clock '" + value + "' is not a date and time YYYY-MM-DDTHH:MM:SS");
    return true;
  }
  return false;
}

// The shortest decimal that reads back as the same Single (nine digits always do).
std::string ShortestSingle(float F) {
  char buf[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(F));
    if (std::strtof(buf, nullptr) == F) break;
  }
  return buf;
}

// A decimal number: digits, sign, point and exponent only (no "nan", "inf" or hex).
std::optional<float> ReadCoordinate(std::string_view Word) {
  if (Word.empty() || Word.size() > 40) return std::nullopt;
  for (char c : Word)
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' &&
        c != 'e' && c != 'E')
      return std::nullopt;
  const std::string text(Word);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
  if (std::abs(v) > PointerCoordinateLimit) return std::nullopt;
  return static_cast<float>(v);
}

std::optional<int32_t> ReadInt(std::string_view Word, int32_t Low, int32_t High) {
  int32_t v = 0;
  const char* first = Word.data();
  if (!Word.empty() && Word[0] == '+') ++first;
  auto [end, ec] = std::from_chars(first, Word.data() + Word.size(), v);
  if (ec != std::errc() || end != Word.data() + Word.size() || first == end) return std::nullopt;
  if (v < Low || v > High) return std::nullopt;
  return v;
}

}  // namespace

TKeyEvent PointerEventAt(int64_t Frame, const TPointerEvent& Pointer) {
  TKeyEvent e;
  e.Frame = Frame;
  e.Kind = TEventKind::Pointer;
  e.Pointer = Pointer;
  return e;
}

TKeyEvent WheelEventAt(int64_t Frame, int32_t Steps) {
  TKeyEvent e;
  e.Frame = Frame;
  e.Kind = TEventKind::Wheel;
  e.Steps = Steps;
  return e;
}

std::optional<uint8_t> KeyCode(std::string_view Name) {
  std::string n = Upper(Name);
  if (n.size() > 2 && n[0] == '0' && n[1] == 'X') {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(n.data() + 2, n.data() + n.size(), value, 16);
    if (ec != std::errc() || end != n.data() + n.size() || value < 1 || value > 255)
      return std::nullopt;
    return static_cast<uint8_t>(value);
  }
  for (const auto& k : Named)
    if (n == k.Name) return k.Code;
  if (n.size() == 1 && ((n[0] >= 'A' && n[0] <= 'Z') || (n[0] >= '0' && n[0] <= '9')))
    return static_cast<uint8_t>(n[0]);
  auto numberAfter = [&](std::string_view Prefix, int Low, int High) -> std::optional<int> {
    if (n.size() <= Prefix.size() || n.compare(0, Prefix.size(), Prefix) != 0) return {};
    int value = 0;
    const char* first = n.data() + Prefix.size();
    const char* last = n.data() + n.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || (*first == '0' && last - first > 1)) return {};
    if (value < Low || value > High) return {};
    return value;
  };
  if (auto f = numberAfter("F", 1, 12)) return static_cast<uint8_t>(0x70 + *f - 1);
  if (auto d = numberAfter("NUMPAD", 0, 9)) return static_cast<uint8_t>(0x60 + *d);
  return std::nullopt;
}

std::string KeyName(uint8_t Code) {
  for (const auto& k : Named)
    if (k.Code == Code) return k.Name;
  if ((Code >= 'A' && Code <= 'Z') || (Code >= '0' && Code <= '9'))
    return std::string(1, char(Code));
  if (Code >= 0x70 && Code <= 0x7B) return "F" + std::to_string(Code - 0x70 + 1);
  if (Code >= 0x60 && Code <= 0x69) return "NUMPAD" + std::to_string(Code - 0x60);
  static constexpr char Hex[] = "0123456789ABCDEF";
  return std::string("0x") + Hex[Code >> 4] + Hex[Code & 15];
}

std::string KeyScriptLine(const TKeyEvent& Event) {
  if (Event.Kind == TEventKind::Wheel)
    return std::to_string(Event.Frame) + " wheel " + std::to_string(Event.Steps);
  if (Event.Kind == TEventKind::Pointer) {
    const TPointerEvent& p = Event.Pointer;
    const char* action = p.Action == TPointerAction::Down ? "down"
                         : p.Action == TPointerAction::Move ? "move"
                                                            : "up";
    return std::to_string(Event.Frame) + " pointer " + action + " " + std::to_string(p.Id) + " " +
           ShortestSingle(p.X) + " " + ShortestSingle(p.Y);
  }
  return std::to_string(Event.Frame) + (Event.Down ? " down " : " up ") + KeyName(Event.VirtualKey);
}

TKeyScript ReadKeyScript(std::string_view Text) {
  TKeyScript script;
  std::vector<TKeyEvent>& events = script.Events;
  size_t lineNo = 0;
  size_t pos = 0;
  while (pos <= Text.size()) {
    size_t end = Text.find('\n', pos);
    if (end == std::string_view::npos) end = Text.size();
    std::string_view line = Text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    auto fail = [&](const std::string& Why) {
      throw EKeyScriptError("line " + std::to_string(lineNo) + ": " + Why);
    };
    if (size_t hash = line.find('#'); hash != std::string_view::npos) {
      if (Words(line.substr(0, hash)).empty() && ReadSetting(line.substr(hash + 1), script, fail))
        continue;
      line = line.substr(0, hash);
    }
    auto words = Words(line);
    if (words.empty()) continue;
    TKeyEvent e;
    auto readFrame = [&] {
      auto [fend, fec] =
          std::from_chars(words[0].data(), words[0].data() + words[0].size(), e.Frame);
      if (fec != std::errc() || fend != words[0].data() + words[0].size() || e.Frame < 1)
        fail("frame '" + std::string(words[0]) + "' is not a number from 1");
    };
    const std::string kind = words.size() > 1 ? Upper(words[1]) : "";
    if (kind == "POINTER") {
      if (words.size() != 6) fail("expected FRAME pointer down|move|up ID X Y");
      readFrame();
      TPointerEvent p;
      const std::string action = Upper(words[2]);
      if (action == "DOWN")
        p.Action = TPointerAction::Down;
      else if (action == "MOVE")
        p.Action = TPointerAction::Move;
      else if (action == "UP")
        p.Action = TPointerAction::Up;
      else
        fail("expected down, move or up, not '" + std::string(words[2]) + "'");
      auto id = ReadInt(words[3], 0, PointerIdLimit);
      if (!id)
        fail("pointer '" + std::string(words[3]) + "' is not a number from 0 to " +
             std::to_string(PointerIdLimit));
      p.Id = *id;
      auto x = ReadCoordinate(words[4]);
      auto y = ReadCoordinate(words[5]);
      for (auto [v, w] : {std::pair{x, words[4]}, std::pair{y, words[5]}})
        if (!v)
          fail("coordinate '" + std::string(w) + "' is not a number from -100000 to 100000");
      p.X = *x;
      p.Y = *y;
      events.push_back(PointerEventAt(e.Frame, p));
      continue;
    }
    if (kind == "WHEEL") {
      if (words.size() != 3) fail("expected FRAME wheel STEPS");
      readFrame();
      auto steps = ReadInt(words[2], -WheelStepLimit, WheelStepLimit);
      if (!steps)
        fail("wheel steps '" + std::string(words[2]) + "' are not a number from -1000 to 1000");
      events.push_back(WheelEventAt(e.Frame, *steps));
      continue;
    }
    if (words.size() != 3) fail("expected FRAME down|up KEY");
    readFrame();
    std::string dir = Upper(words[1]);
    if (dir == "DOWN")
      e.Down = true;
    else if (dir == "UP")
      e.Down = false;
    else
      fail("expected down or up, not '" + std::string(words[1]) + "'");
    auto code = KeyCode(words[2]);
    if (!code) fail("unknown key '" + std::string(words[2]) + "'");
    e.VirtualKey = *code;
    events.push_back(e);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const TKeyEvent& A, const TKeyEvent& B) { return A.Frame < B.Frame; });
  return script;
}

std::vector<TKeyEvent> ParseKeyScript(std::string_view Text) {
  return ReadKeyScript(Text).Events;
}

TKeyScript LoadKeyScript(const std::string& FileName) {
  std::ifstream in(Utf8Path(FileName), std::ios::binary);
  if (!in) throw EKeyScriptError("cannot read key script \"" + FileName + "\"");
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return ReadKeyScript(text.str());
  } catch (const EKeyScriptError& e) {
    throw EKeyScriptError(FileName + ": " + e.what());
  }
}
