#pragma once
// The frame of the asset tools: "<tool> <description.txt> <output>", or
// "--help" for the usage; the description is read whole, `make` turns it
// into the output's bytes, and the file is written durably.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/DurableSave.h"
#include "platform/FileRead.h"

// Fills `bytes` from the description's text for the output named; false
// with `error` saying which file and why not.
using MakeAsset = std::function<bool(const std::string& text, const std::string& description,
                                     const std::string& output, std::vector<uint8_t>* bytes, std::string* error)>;

inline int RunDescriptionTool(int argc, char** argv, const char* tool, const char* usage, uint64_t maxDescriptionBytes,
                              const MakeAsset& make) {
  const bool help = argc == 2 && std::strcmp(argv[1], "--help") == 0;
  if (argc != 3 || argv[1][0] == '-') {
    std::fputs(usage, help ? stdout : stderr);
    return help ? 0 : 2;
  }
  std::string text;
  platform::FileReadError readError;
  if (!platform::ReadFileText(argv[1], maxDescriptionBytes, &text, &readError)) {
    std::fprintf(stderr, "%s: %s %s\n", tool, argv[1], readError.text.c_str());
    return 1;
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!make(text, argv[1], argv[2], &bytes, &error)) {
    std::fprintf(stderr, "%s: %s\n", tool, error.c_str());
    return 1;
  }
  if (bytes.empty()) {
    std::fprintf(stderr, "%s: cannot encode %s\n", tool, argv[2]);
    return 1;
  }
  std::string writeError;
  if (!platform::SaveFileDurably(argv[2], bytes.data(), bytes.size(), &writeError)) {
    std::fprintf(stderr, "%s: cannot write %s: %s\n", tool, argv[2], writeError.c_str());
    return 1;
  }
  return 0;
}
