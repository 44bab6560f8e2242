// Feeds arbitrary bytes to the data-table reader. Whatever it accepts must
// survive write and read: the writer's text reads back as the same model,
// and from then on text and model stay fixed. The list
// form has no escapes, so a list item holding ',' or '>' or blanks at an end
// (possible when a later line replaces one item of a list) cannot survive;
// such a model must still settle after one trip.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/files/DataFile.h"
#include "platform/DebugOutput.h"

namespace {

bool SameModel(const CDataFile& a, const CDataFile& b) {
  const auto& sa = a.Sections();
  const auto& sb = b.Sections();
  if (sa.size() != sb.size()) return false;
  for (size_t i = 0; i < sa.size(); ++i) {
    if (sa[i]->name != sb[i]->name || sa[i]->comment != sb[i]->comment) return false;
    if (sa[i]->keys.size() != sb[i]->keys.size()) return false;
    for (size_t k = 0; k < sa[i]->keys.size(); ++k) {
      const auto& ka = *sa[i]->keys[k];
      const auto& kb = *sb[i]->keys[k];
      if (ka.name != kb.name || ka.values != kb.values || ka.comment != kb.comment) return false;
    }
  }
  return true;
}

bool IsTrimChar(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ':' || c == '='; }

bool ListsRepresentable(const CDataFile& f) {
  for (const auto& s : f.Sections()) {
    for (const auto& k : s->keys) {
      if (k->values.size() < 2) continue;
      for (const std::string_view v : k->values) {
        if (v.find_first_of(",>\n") != std::string_view::npos) return false;
        if (!v.empty() && (IsTrimChar(v.front()) || IsTrimChar(v.back()))) return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  CDataFile first;
  if (!first.LoadFromMemory(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;

  // Every typed getter on every value.
  long sum = 0;
  for (const auto& s : first.Sections()) {
    for (const auto& k : s->keys) {
      for (size_t p = 0; p < k->values.size(); ++p) {
        const int pos = static_cast<int>(p);
        const std::string name(k->name);
        sum += first.GetInt(name, s->name, pos) + first.GetLong(name, s->name, pos) +
               first.GetBool(name, s->name, pos) + static_cast<long>(first.GetFloat(name, s->name, pos) > 0);
      }
    }
  }
  (void)sum;

  const std::string written = first.SaveToText();
  CDataFile second;
  if (!second.LoadFromMemory(written)) std::abort();
  if (ListsRepresentable(first) && !SameModel(first, second)) std::abort();
  // The writer quotes by what a value held before its quotes were stripped,
  // so the text settles on the second trip.
  const std::string again = second.SaveToText();
  CDataFile third;
  if (!third.LoadFromMemory(again)) std::abort();
  if (!SameModel(second, third) || third.SaveToText() != again) std::abort();
  third.Clear();
  // Nothing here has a file to save to.
  first.Clear();
  second.Clear();
  return 0;
}
