// zelgora-keystorm: writes a seeded key storm, and checks the trace of a run that played one.
//   zelgora-keystorm script SEED FRAMES     the key script, on standard output
//   zelgora-keystorm pointer SEED FRAMES    a pointer storm's script, on standard output
//   zelgora-keystorm check FRAMES TRACE     every line of the trace is a sane state; FRAMES lines
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "KeyStorm.h"

namespace {

template <class T>
bool Number(const char* Text, T& Value) {
  const std::string s(Text);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), Value);
  return ec == std::errc() && end == s.data() + s.size();
}

int Usage() {
  std::cerr << "usage: zelgora-keystorm script|pointer SEED FRAMES\n"
               "       zelgora-keystorm check FRAMES TRACE.jsonl\n";
  return 2;
}

int Check(int64_t Frames, const char* File) {
  std::ifstream in(File, std::ios::binary);
  if (!in) {
    std::cerr << "zelgora-keystorm: cannot read \"" << File << "\"\n";
    return 1;
  }
  nlohmann::json before;
  std::string line;
  int64_t lines = 0, reported = 0;
  while (std::getline(in, line)) {
    ++lines;
    nlohmann::json state = nlohmann::json::parse(line, nullptr, false);
    for (const auto& p : StateProblems(state, before)) {
      if (reported++ < 20) std::cerr << File << ": frame " << lines << ": " << p << '\n';
    }
    before = std::move(state);
  }
  if (lines != Frames) {
    std::cerr << File << ": " << lines << " frames, not " << Frames << '\n';
    return 1;
  }
  if (reported > 0) return 1;
  std::cout << File << ": " << lines << " frames, every state sane\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if ((command == "script" || command == "pointer") && argc == 4) {
    uint32_t seed = 0;
    int64_t frames = 0;
    if (!Number(argv[2], seed) || !Number(argv[3], frames) || frames < 0) return Usage();
    std::cout << (command == "pointer" ? PointerStorm(seed, frames) : KeyStorm(seed, frames));
    return std::cout ? 0 : 1;
  }
  if (command == "check" && argc == 4) {
    int64_t frames = 0;
    if (!Number(argv[2], frames)) return Usage();
    return Check(frames, argv[3]);
  }
  return Usage();
}
