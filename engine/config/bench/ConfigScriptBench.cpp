// Throughput of reading a large configuration script: settings in many
// sections, comments, blocks, escapes and key bindings, about 4 MB. The
// reference is std::getline splitting the same bytes into lines, in memory,
// beside the reader on the same text in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "engine/config/GMConfigManager.h"
#include "platform/DebugOutput.h"

namespace {

std::string MakeScript() {
  std::string text = "// generated configuration script\r\n";
  for (int section = 0; text.size() < (size_t{4} << 20); ++section) {
    text += "settings Section" + std::to_string(section) + " {\r\n";
    for (int i = 0; i < 40; ++i) {
      text += "\tsetting\tName_" + std::to_string(i) + "\t\t\"value " + std::to_string(section * 40 + i) +
              " with \\\"path\\\\to\\\\file\\\" and\\ttab\";\r\n";
      if (i % 10 == 0) text += "\t/* a block comment */ // and a line comment\r\n";
    }
    text += "}\r\n";
    text += "bind \"camera_forward\" \"ctrl-W\";\r\n";
  }
  return text;
}

class BenchConfig : public cGM_ConfigManager {
 public:
  BenchConfig() { AddBinding(nullptr, "camera_forward", "Move camera forward"); }
};

void BM_ReadConfigScriptFile(benchmark::State& state) {
  platform::SetDebugStderr(false);
  const std::string script = MakeScript();
  const std::string file =
      (std::filesystem::temp_directory_path() / ("cfgbench-" + std::to_string(::getpid()) + ".cfg")).string();
  std::ofstream(file, std::ios::binary).write(script.data(), static_cast<std::streamsize>(script.size()));
  for (auto _ : state) {
    BenchConfig config;
    if (config.LoadConfig(file) != status::Ok) state.SkipWithError("script refused");
    benchmark::DoNotOptimize(config.GetStore().Size());
  }
  std::remove(file.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_ReadConfigScriptFile)->Unit(benchmark::kMillisecond);

void BM_ReadConfigScriptText(benchmark::State& state) {
  platform::SetDebugStderr(false);
  const std::string script = MakeScript();
  for (auto _ : state) {
    BenchConfig config;
    if (config.GetParser()->ReadText(script, ConfigParser::StatementHandler::Settings, "bench") != status::Ok)
      state.SkipWithError("script refused");
    benchmark::DoNotOptimize(config.GetStore().Size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_ReadConfigScriptText)->Unit(benchmark::kMillisecond);

void BM_ReferenceGetlineOverScript(benchmark::State& state) {
  const std::string script = MakeScript();
  for (auto _ : state) {
    std::istringstream in(script);
    std::string line;
    size_t lines = 0;
    while (std::getline(in, line)) lines += line.size() > 0 ? 1 : 0;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_ReferenceGetlineOverScript)->Unit(benchmark::kMillisecond);

void BM_WriteConfigScript(benchmark::State& state) {
  platform::SetDebugStderr(false);
  const std::string script = MakeScript();
  BenchConfig config;
  config.GetParser()->ReadText(script, ConfigParser::StatementHandler::Settings, "bench");
  size_t written = 0;
  for (auto _ : state) {
    std::string out;
    config.WriteConfig(&out);
    written = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(written));
}
BENCHMARK(BM_WriteConfigScript)->Unit(benchmark::kMillisecond);

}  // namespace
