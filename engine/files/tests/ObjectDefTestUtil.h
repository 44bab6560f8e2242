#pragma once
// Helpers shared by the object-definition tests.
#include <map>
#include <string>
#include <vector>

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectParser.h"
#include "base/StringUtil.h"
#include "platform/MessageBox.h"

namespace objtest {

// A canonical dump of a tree: names, bases, links, flags, comments, values
// and children, so two trees compare as text.
inline std::string Dump(const ObjectDef* def, int depth = 0) {
  std::string pad(static_cast<size_t>(depth) * 2, ' ');
  std::string out = pad + (def->isValue ? "value " : "object ") + def->name + " base=" + def->baseName +
                    " link=" + (def->base ? def->base->name : "-") + " inherited=" + std::to_string(def->inherited) +
                    " comment=[" + def->comment + "]\n";
  for (const auto& [key, value] : def->values) out += pad + "  " + key + "=" + value + "\n";
  for (const ObjectDef* child : def->children) out += Dump(child, depth + 1);
  return out;
}

// Files held in memory, found by name ignoring case.
struct MemoryFiles {
  std::map<std::string, std::string> files;
  void Add(const std::string& name, const std::string& text) { files[str::ToLower(name)] = text; }
  ObjectParser::FileSource Source() {
    return [this](const std::string& name, std::string* text) {
      const auto it = files.find(str::ToLower(name));
      if (it == files.end()) return false;
      *text = it->second;
      return true;
    };
  }
};

// Collects message-box texts instead of showing them.
class MessageCapture {
 public:
  MessageCapture() {
    previous_ = platform::SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
      texts.push_back(text);
      return static_cast<int>(platform::IDOK);
    });
  }
  ~MessageCapture() { platform::SetMessageBoxHandler(std::move(previous_)); }
  std::vector<std::string> texts;

 private:
  platform::MessageBoxHandler previous_;
};

}  // namespace objtest
