#pragma once
// The program's command line: --headless, --input <file>, --frames <n>,
// --fixed-step <ms>, --help.
#include <cstdint>
#include <string>
#include <vector>

struct ProgramOptions {
  bool headless = false;
  bool help = false;
  std::string inputScript;  // empty: none
  uint32_t frames = 0;      // 0: run until closed
  // The test clock's step per frame in microseconds (0: real time).
  int64_t fixedStepMicros = 0;
  static constexpr double kMaxFixedStepMs = 1000.0;
};

// False with `error` set for an unknown option, a missing value, a frame
// count that is not a positive whole number or a step that is not a number
// of milliseconds above 0 and at most kMaxFixedStepMs.
bool ParseProgramOptions(const std::vector<std::string>& args, ProgramOptions* options, std::string* error);

// The --help text.
const char* ProgramUsage();
