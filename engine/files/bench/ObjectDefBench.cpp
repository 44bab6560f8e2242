// Reading object definitions shaped the way hostile files are: many sibling
// objects in one file, and files that include each other so the same text is
// reached along many paths. The reference beside them splits the same text
// into lines with a plain loop, the least any reader has to do.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "base/StringUtil.h"
#include "engine/files/ObjectDefStore.h"
#include "engine/files/ObjectParser.h"

namespace {

std::string SiblingFile(int count) {
  std::string t;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    t += "// object " + n + "\r\nOBJECT Sibling" + n + "\r\n{\r\n\tset Name \"S" + n + "\"\r\n\tset Size \"" + n +
         "\"\r\n}\r\n";
  }
  return t;
}

// fan0.def includes fan1.def twice, fan1.def includes fan2.def twice, and so
// on; the last file holds the objects. Ten levels reach the last file along
// more paths than one read may follow.
constexpr int kFanLevels = 10;

std::map<std::string, std::string> FanOutFiles() {
  std::map<std::string, std::string> files;
  for (int level = 0; level < kFanLevels; ++level) {
    const std::string next = "fan" + std::to_string(level + 1) + ".def";
    files["fan" + std::to_string(level) + ".def"] = "#include \"" + next + "\"\r\n#include \"" + next + "\"\r\n";
  }
  files["fan" + std::to_string(kFanLevels) + ".def"] = SiblingFile(1000);
  return files;
}

void UseFiles(ObjectDefStore& store, const std::map<std::string, std::string>& files) {
  store.GetParser()->SetFileSource([&files](const std::string& name, std::string* text) {
    const auto it = files.find(str::ToLower(name));
    if (it == files.end()) return false;
    *text = it->second;
    return true;
  });
}

void BM_ObjectDefSiblings(benchmark::State& state) {
  const std::map<std::string, std::string> files{{"siblings.def", SiblingFile(static_cast<int>(state.range(0)))}};
  for (auto _ : state) {
    ObjectDefStore store;
    UseFiles(store, files);
    if (!store.LoadFile("siblings.def")) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(store.GetList().size());
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.begin()->second.size()));
}
BENCHMARK(BM_ObjectDefSiblings)->Arg(6000)->Arg(12000)->Arg(24000)->Arg(60000)->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ReferenceSplitLines_Siblings(benchmark::State& state) {
  const std::string text = SiblingFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    size_t lines = 0;
    for (size_t pos = 0; pos < text.size();) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string line(text, pos, end - pos);
      benchmark::DoNotOptimize(line);
      ++lines;
      pos = end + 1;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReferenceSplitLines_Siblings)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_ObjectDefIncludeFanOut(benchmark::State& state) {
  const std::map<std::string, std::string> files = FanOutFiles();
  for (auto _ : state) {
    ObjectDefStore store;
    UseFiles(store, files);
    if (!store.LoadFile("fan0.def")) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(store.GetList().size());
  }
}
BENCHMARK(BM_ObjectDefIncludeFanOut)->Unit(benchmark::kMillisecond);

}  // namespace
