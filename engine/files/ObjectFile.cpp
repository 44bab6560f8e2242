#include "engine/files/ObjectFile.h"

#include "engine/files/TokenReader.h"

namespace {

bool IsStatementBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsWordBreak(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimStatement(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsStatementBlank(s[b])) ++b;
  while (e > b && IsStatementBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

size_t SkipBreaks(std::string_view s, size_t i) {
  while (i < s.size() && IsWordBreak(s[i])) ++i;
  return i;
}
size_t WordEnd(std::string_view s, size_t i) {
  while (i < s.size() && !IsWordBreak(s[i])) ++i;
  return i;
}

}  // namespace

int SplitObjectFileStatement(std::string_view statement, std::string* keyword, std::string* operand,
                             std::string* value) {
  keyword->clear();
  operand->clear();
  value->clear();
  const std::string_view s = TrimStatement(statement);
  size_t i = SkipBreaks(s, 0);
  if (i >= s.size()) return 0;
  size_t end = WordEnd(s, i);
  keyword->assign(s.substr(i, end - i));
  i = SkipBreaks(s, end);
  if (i >= s.size()) return 1;
  end = WordEnd(s, i);
  operand->assign(s.substr(i, end - i));
  i = SkipBreaks(s, end);
  if (i >= s.size()) return 2;
  std::string rest(s.substr(i));
  // The value is rebuilt from its words: the break directly after the third
  // and after the fourth word comes back as a space.
  size_t breakAfter3 = WordEnd(rest, 0);
  if (breakAfter3 < rest.size()) {
    if (rest[breakAfter3] == '\t') rest[breakAfter3] = ' ';
    const size_t fourth = SkipBreaks(rest, breakAfter3);
    const size_t breakAfter4 = WordEnd(rest, fourth);
    if (fourth < rest.size() && breakAfter4 < rest.size() && rest[breakAfter4] == '\t') rest[breakAfter4] = ' ';
  }
  if (!rest.empty() && rest.back() == ' ') rest.pop_back();
  *value = std::move(rest);
  return 3;
}

ObjectFile::~ObjectFile() { Clear(); }

void ObjectFile::Clear() { objects_.clear(); }

bool ObjectFile::Load(const std::string& fileName, const std::string& base) {
  Clear();
  std::vector<std::string> tokens;
  if (!ReadFileTokens(fileName, &tokens, base)) return false;
  LoadTokens(tokens);
  return true;
}

void ObjectFile::LoadTokens(const std::vector<std::string>& tokens) {
  Clear();
  cObjectDef* current = nullptr;
  std::string keyword, operand, value;
  for (const std::string& token : tokens) {
    const int parts = SplitObjectFileStatement(token, &keyword, &operand, &value);
    if (keyword == "object" && parts >= 2) {
      if (!current) {
        objects_.push_back(std::make_unique<cObjectDef>(operand, nullptr));
        current = objects_.back().get();
      } else {
        current = current->AddChild(operand);
      }
    } else if (keyword == "value" && parts >= 3 && current) {
      current->AddValue(operand, value);
    } else if (keyword == "endobject" && current) {
      current = current->GetParent();
    }
    // Anything else, or a statement short of words, is skipped.
  }
}

cObjectDef* ObjectFile::FindObject(std::string_view name) const {
  for (const auto& object : objects_)
    if (object->GetName() == name) return object.get();
  return nullptr;
}
