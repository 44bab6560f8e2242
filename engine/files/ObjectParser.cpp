#include "engine/files/ObjectParser.h"

#include <algorithm>

#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/DurableSave.h"
#include "platform/FileRead.h"

namespace {

// Blanks trimmed from lines and tokens: space, tab, CR, LF, VT, FF.
bool IsLineBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string TrimLine(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsLineBlank(s[b])) ++b;
  while (e > b && IsLineBlank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsLineBlank(s[b])) ++b;
  return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsLineBlank(s[e - 1])) --e;
  return std::string(s.substr(0, e));
}

// The key an "#include" chain is checked with: the same file named with
// other separators, "." and ".." steps or in another case is the same file.
std::string IncludeKey(const std::string& name) {
  std::vector<std::string> parts;
  for (std::string& part : str::Split(str::ToLower(name), "/\\")) {
    if (part.empty() || part == ".") continue;
    if (part == ".." && !parts.empty() && parts.back() != "..") {
      parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }
  std::string key = name.size() > 0 && (name[0] == '/' || name[0] == '\\') ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) key += (i ? "/" : "") + parts[i];
  return key;
}

}  // namespace

ObjectParser::ObjectParser() = default;

ObjectParser::~ObjectParser() { DiscardOpenObjects(""); }

void ObjectParser::SetFileSource(FileSource source) { source_ = std::move(source); }

ObjectDefList* ObjectParser::SetOutputList(ObjectDefList* list) {
  ObjectDefList* previous = output_;
  output_ = list;
  return previous;
}

bool ObjectParser::ReadSource(const std::string& name, std::string* text) {
  if (source_) return source_(name, text);
  platform::FileReadError why;
  if (platform::ReadFileText(name, kMaxFileBytes, text, &why, baseDirectory_)) return true;
  platform::DebugPrintf("[ObjectParser::ParseFile] '%s' %s\n", name.c_str(), why.text.c_str());
  return false;
}

std::shared_ptr<const ObjectParser::Lines> ObjectParser::LinesOf(const std::string& name) {
  const auto cached = readFiles_.find(name);
  if (cached != readFiles_.end()) return cached->second;
  std::shared_ptr<Lines> lines;
  std::string text;
  if (ReadSource(name, &text)) {
    lines = std::make_shared<Lines>();
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string_view line(text.data() + pos, end - pos);
      pos = end + 1;
      // Read as text: CR LF is one line end.
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      // A long line is handled as several lines of at most 255 characters.
      size_t offset = 0;
      do {
        lines->emplace_back(line.substr(offset, kMaxLinePiece));
        offset += kMaxLinePiece;
      } while (offset < line.size());
    }
  }
  readFiles_.emplace(name, lines);
  return lines;
}

bool ObjectParser::ParseFile(const std::string& fileName) {
  const std::string key = IncludeKey(fileName);
  if (std::find(openFiles_.begin(), openFiles_.end(), key) != openFiles_.end()) {
    platform::DebugPrintf("[ObjectParser::ParseFile] '%s' includes itself; the include is skipped\n",
                          fileName.c_str());
    return false;
  }
  if (openFiles_.empty()) includeCount_ = 0;
  if (!openFiles_.empty() && ++includeCount_ > kMaxIncludesPerRead) {
    platform::DebugPrintf("[ObjectParser::ParseFile] more than %zu includes in one read; '%s' is skipped\n",
                          kMaxIncludesPerRead, fileName.c_str());
    return false;
  }
  if (openFiles_.size() >= kMaxIncludeDepth) {
    platform::DebugPrintf("[ObjectParser::ParseFile] '%s' nests includes deeper than %zu; the include is skipped\n",
                          fileName.c_str(), kMaxIncludeDepth);
    return false;
  }
  // The first file of a read starts with nothing cached: a file edited
  // since the last read is read again.
  const bool outermost = openFiles_.empty();
  if (outermost) readFiles_.clear();
  const std::shared_ptr<const Lines> lines = LinesOf(fileName);
  if (!lines) {
    if (outermost) readFiles_.clear();
    return false;
  }

  openFiles_.push_back(key);
  // The result of a line is ignored: a bad line never stops the file.
  for (const std::string& piece : *lines) ProcessLine(piece);
  openFiles_.pop_back();
  if (outermost) readFiles_.clear();
  return true;
}

bool ObjectParser::StartsInheritedLine(const std::string& line, std::string* keyword) const {
  if (line.empty() || line[0] != '*') return false;
  const std::string rest = TrimLeft(std::string_view(line).substr(1));
  size_t end = 0;
  while (end < rest.size() && !IsLineBlank(rest[end])) ++end;
  const std::string_view word(rest.data(), end);
  if (!str::EqualsNoCase(word, "OBJECT") && !str::EqualsNoCase(word, "SET")) return false;
  keyword->assign(str::ToUpper(word));
  return true;
}

void ObjectParser::StartSkipping() {
  skipping_ = true;
  skipBraces_ = 0;
  pendingComment_.clear();
}

// Reads past a block: its "{" and everything up to the matching "}". Returns
// false when the line is not part of the block (no "{" came after the
// "OBJECT" line), so that it is handled normally.
bool ObjectParser::SkipLine(const std::string& line) {
  const std::string text = TrimLine(line);
  if (text.empty()) return true;
  if (text.rfind("//", 0) == 0) return true;
  tokenizer_ = text;
  const std::string first = ReadToken();
  if (first == "{") {
    ++skipBraces_;
    return true;
  }
  if (skipBraces_ == 0) {
    skipping_ = false;
    return false;
  }
  if (first == "}" && --skipBraces_ == 0) skipping_ = false;
  return true;
}

CoreStatus ObjectParser::ProcessLine(const std::string& line) {
  if (skipping_ && SkipLine(line)) return status::Ok;

  const std::string text = TrimLine(line);
  if (text.empty()) return status::Ok;
  if (text.rfind("//", 0) == 0) {
    pendingComment_ += text;
    pendingComment_ += "\n";
    return status::Ok;
  }

  std::string markedKeyword;
  if (StartsInheritedLine(text, &markedKeyword)) {
    // A copy the writer made from a base: the base gives it back when the
    // bases are resolved, so reading it as the object's own would duplicate it.
    if (state_ == 1) {
      ReportSyntaxError(markedKeyword.c_str());
      return status::Fail;
    }
    if (markedKeyword == "OBJECT") StartSkipping();
  } else {
    tokenizer_ = TrimLine(text);
    const std::string first = ReadToken();
    if (first.rfind("//", 0) == 0) return status::Ok;

    if (str::EqualsNoCase(first, "#include")) {
      const std::string fileName = ReadToken();
      if (!fileName.empty()) ParseFile(fileName);
    } else if (first == "{") {
      if (state_ != 1) {
        ReportSyntaxError("{");
        return status::Fail;
      }
      state_ = 2;
    } else if (first == "}") {
      if (state_ != 2) {
        ReportSyntaxError("}");
        return status::Fail;
      }
      EndObject();
    } else if (str::EqualsNoCase(first, "OBJECT")) {
      if (state_ == 1) {
        ReportSyntaxError("OBJECT");
        return status::Fail;
      }
      BeginObject();
      // A refused (too deep) object is read past and leaves the state alone.
      if (!skipping_) state_ = 1;
    } else if (str::EqualsNoCase(first, "SET")) {
      if (state_ == 1) {
        ReportSyntaxError("SET");
        return status::Fail;
      }
      ParseSet();
    } else {
      ParseValueFor(first);
    }
  }
  if (!current_) {
    status_ = 0;
    state_ = 0;
  }
  return status::Ok;
}

std::string ObjectParser::ReadToken(int* mode) {
  std::string token;
  int lastMode = -1;
  bool found = false;
  bool quoted = false;
  while (!tokenizer_.empty() && !found && !quoted) {
    const char* delimiters = " \t\r\n";
    if (tokenizer_[0] == '"') {
      tokenizer_.erase(0, 1);
      delimiters = "\"";
      quoted = true;
      lastMode = 2;
    } else {
      lastMode = 1;
    }
    const size_t p = tokenizer_.find_first_of(delimiters);
    if (p != std::string::npos) {
      token = TrimLine(std::string_view(tokenizer_).substr(0, p));
      tokenizer_.erase(0, p + 1);
    } else if (quoted) {
      token = tokenizer_;
    } else {
      token = TrimLine(tokenizer_);
      tokenizer_.clear();
    }
    found = !token.empty();
  }
  if (mode) *mode = lastMode;
  return token;
}

void ObjectParser::BeginObject() {
  const std::string token = ReadToken();
  if (token.empty()) return;
  std::string objectName = token;
  std::string objectBase;
  const size_t colon = token.find(':');
  if (colon != std::string::npos && colon > 0) {
    objectName = TrimRight(std::string_view(token).substr(0, colon));
    objectBase = TrimLeft(std::string_view(token).substr(colon + 1));
  }
  if (stack_.size() >= kMaxObjectDepth) {
    platform::DebugPrintf("[ObjectParser::BeginObject] '%s' nests deeper than %zu objects; it is skipped\n",
                          objectName.c_str(), kMaxObjectDepth);
    StartSkipping();
    return;
  }

  // Re-opening finds objects only: a key of the same name is not an object.
  ObjectDef* found = current_ ? current_->children.FindChildObject(objectName)
                              : (output_ ? output_->FindDeep(objectName) : nullptr);
  if (found) {
    found->registered = 1;
    status_ = 1;
    if (current_) {
      found->comment = pendingComment_;
      pendingComment_.clear();
      stack_.push_back(current_);
    }
    current_ = found;
    return;
  }
  ObjectDef* created = NewObject(current_, objectName);
  if (current_) stack_.push_back(current_);
  current_ = created;
  status_ = 1;
  created->comment = pendingComment_;
  created->baseName = objectBase;
  pendingComment_.clear();
}

void ObjectParser::ParseSet() { SetValueFromNextToken(ReadToken()); }

void ObjectParser::ParseValueFor(const std::string& key) { SetValueFromNextToken(key); }

void ObjectParser::SetValueFromNextToken(const std::string& key) {
  if (key.empty()) return;
  if (!current_) {
    ReportNoObject(key);
    return;
  }
  const std::string value = ReadToken();
  current_->SetValue(key, value);
}

void ObjectParser::EndObject() {
  ObjectDef* closed = current_;
  if (stack_.empty()) {
    current_ = nullptr;
  } else {
    current_ = stack_.back();
    stack_.pop_back();
  }
  if (!closed || closed->registered) return;
  if (current_) {
    current_->children.Append(closed);
  } else if (output_ && !output_->FindObject(closed->name)) {
    output_->Append(closed);
  } else {
    // A second top-level object of a name already filed (or no list to
    // file it in): dropped, and freed.
    platform::DebugPrintf("[ObjectParser::EndObject] top-level object '%s' is dropped\n", closed->name.c_str());
    delete closed;
  }
}

ObjectDef* ObjectParser::NewObject(ObjectDef* parentDef, const std::string& objectName) {
  auto* def = new ObjectDef();
  def->parent = parentDef;
  def->name = objectName;
  def->registered = 0;
  return def;
}

void ObjectParser::DiscardOpenObjects(const std::string& fileName) {
  // Objects still open were never attached to a parent; nothing else owns
  // them. Re-opened objects belong to their tree and stay. Decide before
  // deleting: a re-opened object may sit inside an unattached one.
  std::vector<ObjectDef*> open = stack_;
  if (current_) open.push_back(current_);
  std::vector<ObjectDef*> doomed;
  for (ObjectDef* def : open)
    if (!def->registered && std::find(doomed.begin(), doomed.end(), def) == doomed.end()) doomed.push_back(def);
  if (!doomed.empty())
    platform::DebugPrintf("[ObjectParser::ParseInto] '%s': %zu object(s) not closed by '}' are dropped\n",
                          fileName.c_str(), doomed.size());
  for (ObjectDef* def : doomed) delete def;
  stack_.clear();
  current_ = nullptr;
  skipping_ = false;
  skipBraces_ = 0;
}

ObjectDef* ObjectParser::ParseInto(const std::string& name, ObjectDef* existing) {
  DiscardOpenObjects(name);
  state_ = 0;
  status_ = 0;
  const bool created = existing == nullptr;
  ObjectDef* root = created ? new ObjectDef() : existing;
  root->name = name;
  root->registered = 1;
  current_ = root;
  const bool read = ParseFile(name);
  // A file does not leave objects open for the next one: its unclosed
  // objects are dropped here, so nothing from it is left half-attached.
  DiscardOpenObjects(name);
  state_ = 0;
  status_ = 0;
  if (!read) {
    if (created) delete root;
    return nullptr;
  }
  return root;
}

std::string ObjectParser::GetText() { return output_ ? output_->ToText(true) : std::string(); }

bool ObjectParser::WriteFile(const std::string& fileName) {
  const std::string text = GetText();
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  std::string why;
  if (!platform::SaveFileDurably(fileName, out.data(), out.size(), &why, baseDirectory_)) {
    platform::DebugPrintf("[ObjectParser::WriteFile] cannot write '%s': %s\n", fileName.c_str(), why.c_str());
    return false;
  }
  return true;
}

void ObjectParser::ReportSyntaxError(const char* token) {
  const std::string text = std::string("Syntax Error: Invalid token '") + token + "'";
  if (!openFiles_.empty())
    platform::DebugPrintf("[ObjectParser::ProcessLine] %s: %s\n", openFiles_.back().c_str(), text.c_str());
  platform::MessageBox(text, "Error", platform::MB_OK);
}

void ObjectParser::ReportNoObject(const std::string& key) {
  platform::DebugPrintf("[ObjectParser::ProcessLine] '%s' set outside any object; ignored\n", key.c_str());
}
