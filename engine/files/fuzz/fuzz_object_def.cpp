// Object-definition reader, writer and archive. The input is split at
// "\n===\n" into up to four in-memory files ("main.def", "a.def", "b.def",
// "c.def") that may include one another; nothing is read from disk.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/ObjectDefArchive.h"
#include "engine/files/ObjectDefStore.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"

namespace {

std::map<std::string, std::string> SplitFiles(std::string_view data) {
  static const char* const kNames[] = {"main.def", "a.def", "b.def", "c.def"};
  std::map<std::string, std::string> files;
  for (size_t i = 0; i < 4; ++i) {
    const size_t cut = i == 3 ? std::string_view::npos : data.find("\n===\n");
    files[kNames[i]] = std::string(data.substr(0, cut));
    if (cut == std::string_view::npos) break;
    data.remove_prefix(cut + 5);
  }
  return files;
}

ObjectParser::FileSource SourceFor(const std::map<std::string, std::string>& files) {
  return [&files](const std::string& name, std::string* text) {
    const auto it = files.find(str::ToLower(name));
    if (it == files.end()) return false;
    *text = it->second;
    return true;
  };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    platform::SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return 1; });
    return true;
  }();
  (void)quiet;

  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::map<std::string, std::string> files = SplitFiles(input);

  ObjectDefStore store;
  store.GetParser()->SetFileSource(SourceFor(files));
  store.LoadFile("main.def");
  store.LoadFile("a.def");
  store.LoadFile("main.def");  // a re-read into the existing root

  // Write, and read the text back.
  const std::map<std::string, std::string> written{{"out.def", store.GetParser()->GetText()}};
  ObjectDefStore again;
  again.GetParser()->SetFileSource(SourceFor(written));
  again.LoadFile("out.def");
  (void)again.GetParser()->GetText();

  // Archive round trip of the loaded roots, and the raw input as an archive.
  ObjectDefArchive out;
  store.GetList().Serialize(out);
  ObjectDefList copy;
  ObjectDefArchive in(out.Bytes());
  if (copy.Serialize(in) != status::Ok) __builtin_trap();
  ObjectDefList raw;
  ObjectDefArchive rawIn(std::vector<uint8_t>(data, data + size));
  raw.Serialize(rawIn);
  return 0;
}
