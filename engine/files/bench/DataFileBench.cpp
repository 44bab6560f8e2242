// Reading and writing a large data table: thousands of sections of typed
// values, lists, quoted texts and comments, several megabytes in all. The
// reference is std::getline splitting the same bytes into lines, in memory,
// beside the reader on the same text in memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "engine/files/DataFile.h"
#include "platform/DurableSave.h"

namespace {

std::string MakeTable() {
  std::string t;
  t.reserve(9 << 20);
  for (int s = 0; s < 16000; ++s) {
    t += "# entry " + std::to_string(s) + "\r\n[airplane_" + std::to_string(s) + "]\r\n";
    t += "name = \"Long range twin-engine airliner model " + std::to_string(s) + "\"\r\n";
    t += "speed = " + std::to_string(400 + s % 300) + "\r\n";
    t += "cruise = 0." + std::to_string(7000 + s % 2000) + "\r\n";
    t += "capacity = <" + std::to_string(s % 50) + ", " + std::to_string(s % 180) + ", " + std::to_string(s % 20) +
         ">\r\n";
    t += "enabled = yes\r\n";
    t += "; sizes in metres\r\n";
    t += "size = <36.4, 34.1, 11.8>\r\n";
    t += "texture = \"Textures\\Airplanes\\AP_" + std::to_string(s) + ".tga\"\r\n";
    t += "description = \"A dependable workhorse for medium routes,\r\n  with low running costs.\"\r\n";
    t += "runway = " + std::to_string(1800 + s % 900) + "\r\n";
    t += "noise = " + std::to_string(s % 10) + "\r\n";
  }
  return t;
}

struct TableFile {
  std::string path;
  std::string text;
  size_t bytes = 0;
  TableFile() {
    text = MakeTable();
    path = (std::filesystem::temp_directory_path() / ("datafile_bench_" + std::to_string(::getpid()) + ".txt"))
               .string();
    platform::SaveFileDurably(path, text.data(), text.size(), nullptr);
    bytes = text.size();
  }
  ~TableFile() { std::remove(path.c_str()); }
};

const TableFile& Table() {
  static const TableFile table;
  return table;
}

void BM_DataFileLoad(benchmark::State& state) {
  const TableFile& table = Table();
  for (auto _ : state) {
    CDataFile f;
    if (!f.Load(table.path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(f.Sections().size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(table.bytes));
  state.counters["file_MB"] = static_cast<double>(table.bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_DataFileLoad)->Unit(benchmark::kMillisecond);

void BM_DataFileLoadFromMemory(benchmark::State& state) {
  const TableFile& table = Table();
  for (auto _ : state) {
    CDataFile f;
    if (!f.LoadFromMemory(table.text)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(f.Sections().size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(table.bytes));
}
BENCHMARK(BM_DataFileLoadFromMemory)->Unit(benchmark::kMillisecond);

void BM_ReferenceGetlineOverTable(benchmark::State& state) {
  const TableFile& table = Table();
  for (auto _ : state) {
    std::istringstream in(table.text);
    std::string line;
    size_t lines = 0;
    while (std::getline(in, line)) lines += line.size() > 0 ? 1 : 0;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(table.bytes));
}
BENCHMARK(BM_ReferenceGetlineOverTable)->Unit(benchmark::kMillisecond);

void BM_DataFileWrite(benchmark::State& state) {
  CDataFile f;
  f.Load(Table().path);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = f.SaveToText();
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_DataFileWrite)->Unit(benchmark::kMillisecond);

}  // namespace
