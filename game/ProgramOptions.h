#pragma once
// The program's command line: --headless, --input <file>, --frames <n>,
// --help.
#include <cstdint>
#include <string>
#include <vector>

struct ProgramOptions {
  bool headless = false;
  bool help = false;
  std::string inputScript;  // empty: none
  uint32_t frames = 0;      // 0: run until closed
};

// False with `error` set for an unknown option, a missing value or a frame
// count that is not a positive whole number.
bool ParseProgramOptions(const std::vector<std::string>& args, ProgramOptions* options, std::string* error);

// The --help text.
const char* ProgramUsage();
