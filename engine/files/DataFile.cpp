#include "engine/files/DataFile.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"
#include "platform/DurableSave.h"
#include "platform/FileRead.h"

namespace {

constexpr std::string_view kCommentIndicators = "#;";
constexpr std::string_view kEqualIndicators = ":=";
constexpr std::string_view kSeparator = "  ";

bool IsTrimChar(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ':' || c == '='; }
bool IsCommentIndicator(char c) { return kCommentIndicators.find(c) != std::string_view::npos; }

// Removes blanks and equality indicators from both ends.
std::string_view TrimData(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsTrimChar(s[b])) ++b;
  while (e > b && IsTrimChar(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Reports are formatted into a 1024-byte buffer, so a report about a huge
// name is cut rather than grown without bound.
void Report(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Report(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::string text(buffer);
  text += '\n';
  platform::OutputDebugString(text);
}

// Appends one written line: embedded line feeds become "\r\n" and the line
// ends with "\r\n", so the file has one line-end style.
// The text goes over in runs between the line feeds that need a "\r", not
// character by character: a table is written a line at a time.
void EmitLine(std::string* out, std::string_view text) {
  size_t from = 0;
  for (size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    if (at > 0 && text[at - 1] == '\r') continue;
    out->append(text.substr(from, at - from));
    out->push_back('\r');
    from = at;
  }
  out->append(text.substr(from));
  out->append("\r\n");
}

void RemoveQuotes(std::string* s) { s->erase(std::remove(s->begin(), s->end(), '"'), s->end()); }

// Cuts a name for a diagnostic so the report stays readable.
std::string Shown(std::string_view s) { return std::string(s.substr(0, 64)); }

}  // namespace

CDataFile::CDataFile() { AppendSection("", ""); }

CDataFile::~CDataFile() {
  if (dirty_) Save();
  Clear();
}

uint32_t CDataFile::NameHash(std::string_view name) {
  // Each character, less 64, shifted by its position modulo 3. Characters
  // are signed as the tables' tools saw them; the shift is done unsigned so
  // high bytes are well defined. Three at a time, so no division per character.
  auto term = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<signed char>(str::ToLowerChar(name[i])) - 64);
  };
  const size_t n = name.size();
  uint32_t h = 0;
  size_t i = 0;
  for (; i + 3 <= n; i += 3) h ^= term(i) ^ (term(i + 1) << 1) ^ (term(i + 2) << 2);
  if (i < n) h ^= term(i);
  if (i + 1 < n) h ^= term(i + 1) << 1;
  return h;
}

std::string CDataFile::CommentText(std::string_view comment) {
  const std::string_view trimmed = TrimData(comment);
  std::string out;
  size_t start = 0;
  while (start <= trimmed.size()) {
    size_t end = trimmed.find('\n', start);
    if (end == std::string_view::npos) end = trimmed.size();
    const std::string_view line = trimmed.substr(start, end - start);
    const std::string_view lead = str::TrimView(line);
    // Every line must read back as a comment, not as a key.
    if (!lead.empty() && !IsCommentIndicator(lead[0])) {
      out.push_back(kCommentIndicators[0]);
      out.push_back(' ');
    }
    out.append(line);
    if (end == trimmed.size()) break;
    out.push_back('\n');
    start = end + 1;
  }
  return out;
}

CDataFile::Section* CDataFile::AppendSection(std::string_view name, std::string_view comment) {
  Section* section = new (arena_.Allocate(sizeof(Section), alignof(Section))) Section();
  section->nameHash = NameHash(name);
  section->name = name;
  section->comment = comment;
  sectionIndex_.Insert(str::HashNoCase(name), static_cast<uint32_t>(sections_.size()));
  Append(&sections_, section);
  return section;
}

CDataFile::Section* CDataFile::FindSectionByView(std::string_view name) const {
  const uint32_t at = sectionIndex_.Find(
      str::HashNoCase(name), [&](uint32_t i) { return str::EqualsNoCase(sections_[i]->name, name); });
  return at == PositionIndex::kNone ? nullptr : sections_[at];
}

CDataFile::Section* CDataFile::FindSection(const std::string& name) { return FindSectionByView(name); }

const CDataFile::Section* CDataFile::FindSection(const std::string& name) const { return FindSectionByView(name); }

CDataFile::Key* CDataFile::FindKeyIn(const Section& section, std::string_view key, uint32_t nameHash) const {
  if (section.keyIndex.Empty()) {
    // Small sections: a scan, comparing hashes first when asked to.
    const bool compareHashes = flags_ & kCompareHashes;
    for (Key* k : section.keys) {
      if (compareHashes && k->nameHash != nameHash) continue;
      if (str::EqualsNoCase(k->name, key)) return k;
    }
    return nullptr;
  }
  const uint32_t at = section.keyIndex.Find(
      str::HashNoCase(key), [&](uint32_t i) { return str::EqualsNoCase(section.keys[i]->name, key); });
  return at == PositionIndex::kNone ? nullptr : section.keys[at];
}

CDataFile::Key* CDataFile::NewKey() { return arena_.NewArray<Key>(1); }

template <typename T>
void CDataFile::Reserve(List<T>* list, size_t capacity) {
  if (capacity <= list->capacity_) return;
  // The old array stays in the arena until Clear.
  T* items = arena_.NewArray<T>(capacity);
  std::copy(list->items_, list->items_ + list->count_, items);
  list->items_ = items;
  list->capacity_ = static_cast<uint32_t>(capacity);
}

template <typename T>
void CDataFile::Append(List<T>* list, const T& item) {
  if (list->count_ == list->capacity_) Reserve(list, list->capacity_ == 0 ? 1 : size_t{list->capacity_} * 2);
  list->items_[list->count_++] = item;
}

void CDataFile::PutValue(Key* key, size_t position, std::string_view value) {
  if (position < key->values.count_) {
    key->values.items_[position] = arena_.Keep(value);
    return;
  }
  Append(&key->values, arena_.Keep(value));
}

CDataFile::Key* CDataFile::FindKey(const std::string& key, const std::string& section) {
  const Section* s = FindSection(section);
  return s ? FindKeyIn(*s, key) : nullptr;
}

const CDataFile::Key* CDataFile::FindKey(const std::string& key, const std::string& section) const {
  const Section* s = FindSection(section);
  return s ? FindKeyIn(*s, key) : nullptr;
}

bool CDataFile::CreateSection(const std::string& name, const std::string& comment) {
  if (FindSection(name)) {
    Report("[CDataFile::CreateSection] Section <%s> allready exists. Aborting.", name.c_str());
    return false;
  }
  AppendSection(name, comment);
  dirty_ = true;
  return true;
}

bool CDataFile::SetValue(const std::string& key, const std::string& value, const std::string& comment,
                         const std::string& section, int position) {
  if (position < 0) return false;
  Section* s = FindSection(section);
  if (!s) {
    if (!(flags_ & kAutoCreateSections)) return false;
    if (!CreateSection(section, "")) return false;
    s = FindSection(section);
    if (!s) return false;
  }
  return SetValueIn(s, key, value, comment, position);
}

bool CDataFile::SetValueIn(Section* s, std::string_view key, std::string_view value, std::string_view comment,
                           int position, size_t listSize) {
  const uint32_t nameHash = NameHash(key);
  if (Key* k = FindKeyIn(*s, key, nameHash)) {
    PutValue(k, static_cast<size_t>(position), value);
    k->comment = arena_.Keep(comment);
    dirty_ = true;
    return true;
  }
  if (key.empty() || !(flags_ & kAutoCreateKeys)) return false;
  if (position >= kMaxValuesPerKey) {
    Report("[CDataFile::SetValue] Position %d of key <%s> is past the limit of %d values.", position,
           Shown(key).c_str(), kMaxValuesPerKey);
    return false;
  }
  Key* k = NewKey();
  k->name = arena_.Keep(key);
  k->nameHash = nameHash;
  // Room for the whole list being read at once; a value set past the end
  // gets empty values before it.
  const size_t capacity = std::max(static_cast<size_t>(position) + 1, listSize);
  Reserve(&k->values, capacity);
  k->values.count_ = static_cast<uint32_t>(position) + 1;
  k->values.items_[position] = arena_.Keep(value);
  k->comment = arena_.Keep(comment);
  Append(&s->keys, k);
  // Big sections get an index so each lookup stays cheap.
  if (!s->keyIndex.Empty()) {
    s->keyIndex.Insert(str::HashNoCase(key), static_cast<uint32_t>(s->keys.size() - 1));
  } else if (s->keys.size() >= kKeyIndexThreshold) {
    for (size_t i = 0; i < s->keys.size(); ++i)
      s->keyIndex.Insert(str::HashNoCase(s->keys[i]->name), static_cast<uint32_t>(i));
  }
  dirty_ = true;
  return true;
}

std::string CDataFile::GetValue(const std::string& key, const std::string& section, int position) const {
  const Key* k = FindKey(key, section);
  if (!k || position < 0 || static_cast<size_t>(position) >= k->values.size()) return std::string();
  return std::string(k->values[static_cast<size_t>(position)]);
}

std::string CDataFile::GetString(const std::string& key, const std::string& section, int position) const {
  return GetValue(key, section, position);
}

float CDataFile::GetFloat(const std::string& key, const std::string& section, int position) const {
  const std::string v = GetValue(key, section, position);
  return v.empty() ? kNoFloat : platform::ParseFloat(v);
}

int CDataFile::GetInt(const std::string& key, const std::string& section, int position) const {
  const std::string v = GetValue(key, section, position);
  return v.empty() ? kNoInt : platform::ParseInt(v);
}

long CDataFile::GetLong(const std::string& key, const std::string& section, int position) const {
  const std::string v = GetValue(key, section, position);
  return v.empty() ? static_cast<long>(kNoInt) : static_cast<long>(platform::ParseInt(v));
}

bool CDataFile::GetBool(const std::string& key, const std::string& section, int position) const {
  const std::string v = GetValue(key, section, position);
  if (v.empty()) return false;
  return v[0] == '1' || str::EqualsNoCase(v, "true") || str::EqualsNoCase(v, "yes");
}

void CDataFile::GetSectionNames(std::vector<std::string>* names) const {
  if (!names) return;
  for (const auto& s : sections_) {
    if (!s->name.empty()) names->push_back(s->name);
  }
}

void CDataFile::GetKeyNames(const std::string& section, std::vector<std::string>* names) const {
  const Section* s = FindSection(section);
  if (!s || !names) return;
  for (const Key* k : s->keys) names->emplace_back(k->name);
}

void CDataFile::Clear() {
  // The arena runs no destructors: the sections' own are run here.
  for (Section* section : sections_) section->~Section();
  sections_ = List<Section*>();
  sectionIndex_.Clear();
  arena_.Clear();
  dirty_ = false;
}

namespace {

// The position of the first ':' or '=' in `s`, or npos.
size_t FindEqualIndicator(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == ':' || s[i] == '=') return i;
  }
  return std::string_view::npos;
}

// How many items a list's text splits into (at ',' and '>').
size_t CountListItems(std::string_view items) {
  size_t count = 1;
  for (const char c : items) count += (c == ',') | (c == '>');
  return count;
}

// Reads a table's text and tells `sink` what it asks of the model, in file
// order: Section(name, comment) and Value(key, value, comment, position,
// listSize). Names and values are views into the text wherever they stand
// there as they are read; the few that do not (a section name with a "]"
// inside, a quoted value over several lines) are put together in buffers
// reused from line to line. Returns false (after a report) for text that is
// not a well-formed table; what the sink was told until then must then be
// undone or never applied.
template <typename Sink>
bool ParseTable(std::string_view text, Sink& sink) {
  // A leading UTF-8 byte-order mark (some editors add one) is not part of
  // the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  const char* const base = text.data();
  const size_t size = text.size();
  size_t pos = 0;
  unsigned lineNo = 0;
  // Lines end at "\n" or "\r\n"; the last line needs no line end.
  auto nextLine = [&](std::string_view* line) {
    if (pos >= size) return false;
    const void* found = std::memchr(base + pos, '\n', size - pos);
    const size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - base) : size;
    size_t length = end - pos;
    if (length > 0 && base[pos + length - 1] == '\r') --length;
    *line = std::string_view(base + pos, length);
    pos = end + 1;
    ++lineNo;
    return true;
  };

  // Reused for every line, so reading allocates for what it keeps only.
  std::string pending;
  std::string value;
  std::string sectionName;
  std::string_view raw;
  while (nextLine(&raw)) {
    const std::string_view line = TrimData(raw);
    if (line.empty()) continue;
    if (IsCommentIndicator(line[0])) {
      pending += '\n';
      pending += line;
      continue;
    }
    if (line[0] == '[') {
      // The last "]" is dropped wherever it stands.
      std::string_view name = line.substr(1);
      const size_t close = name.rfind(']');
      if (close != std::string_view::npos && close + 1 == name.size()) {
        name.remove_suffix(1);
      } else if (close != std::string_view::npos) {
        sectionName.assign(name);
        sectionName.erase(close, 1);
        name = sectionName;
      }
      sink.Section(name, pending);
      pending.clear();
      continue;
    }

    const size_t eq = FindEqualIndicator(line);
    const std::string_view key = TrimData(line.substr(0, eq));
    const std::string_view valueText =
        eq == std::string_view::npos ? std::string_view() : TrimData(line.substr(eq + 1));
    std::string_view stored = valueText;
    bool quoted = false;
    if (!valueText.empty() && valueText[0] == '"') {
      if (valueText.find('"', 1) == std::string_view::npos) {
        // The value goes on over the next lines until one holds the closing quote.
        const unsigned opened = lineNo;
        bool closed = false;
        value.assign(valueText);
        std::string_view more;
        while (nextLine(&more)) {
          value.append(more);
          if (more.find('"') != std::string_view::npos) {
            closed = true;
            break;
          }
        }
        if (!closed) {
          Report("[CDataFile::Load] The quoted value of key <%s> opened on line %u never closes. Refused.",
                 Shown(key).c_str(), opened);
          return false;
        }
        RemoveQuotes(&value);
        stored = value;
        quoted = true;
      } else if (valueText.size() >= 2 && valueText.back() == '"') {
        // One enclosing pair is the writer's quoting, not part of the value.
        stored = valueText.substr(1, valueText.size() - 2);
        quoted = true;
      }
    }
    // A line with no key or no value is skipped; its comment waits for the next.
    if (key.empty() || valueText.empty()) continue;

    if (!quoted && stored[0] == '<') {
      std::string_view items = stored.substr(1);
      if (!items.empty() && items.back() == '>') items.remove_suffix(1);
      const size_t count = CountListItems(items);
      if (count > static_cast<size_t>(CDataFile::kMaxValuesPerKey)) {
        Report("[CDataFile::Load] Key <%s> on line %u lists more than %d values. Refused.", Shown(key).c_str(),
               lineNo, CDataFile::kMaxValuesPerKey);
        return false;
      }
      int position = 0;
      size_t start = 0;
      for (size_t i = 0; i <= items.size(); ++i) {
        if (i < items.size() && items[i] != ',' && items[i] != '>') continue;
        sink.Value(key, TrimData(items.substr(start, i - start)), pending, position++, count);
        start = i + 1;
      }
    } else {
      sink.Value(key, stored, pending, 0, 1);
    }
    pending.clear();
  }
  return true;
}

// A table is text: other control characters mean binary junk. The first
// loop only asks whether a block holds one (no early exit, so the compiler
// runs it on whole vectors); the exact place is looked up when it does.
bool IsControlByte(unsigned char c) { return c < 0x20 && c != '\t' && c != '\r' && c != '\n'; }

bool CheckText(std::string_view text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  constexpr size_t kBlock = 64;
  size_t from = 0;
  for (; from + kBlock <= n; from += kBlock) {
    unsigned bad = 0;
    for (size_t i = 0; i < kBlock; ++i) {
      const unsigned char c = p[from + i];
      bad |= static_cast<unsigned>(c < 0x20) & static_cast<unsigned>(c != '\t') & static_cast<unsigned>(c != '\r') &
             static_cast<unsigned>(c != '\n');
    }
    if (bad) break;
  }
  for (size_t i = from; i < n; ++i) {
    if (!IsControlByte(p[i])) continue;
    const unsigned line = 1 + static_cast<unsigned>(std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(i), '\n'));
    Report("[CDataFile::Load] Line %u holds the control character 0x%02X; not a text table. Refused.", line, p[i]);
    return false;
  }
  return true;
}

struct CheckOnly {
  void Section(std::string_view, std::string_view) {}
  void Value(std::string_view, std::string_view, std::string_view, int, size_t) {}
};

}  // namespace

// Files what a read finds into the model. The read may create any section
// and key it meets, whatever the options; they are restored afterwards.
struct CDataFile::Applier {
  CDataFile& file;
  uint32_t remembered;
  CDataFile::Section* current = nullptr;
  std::string currentName;  // the unnamed section until the first header

  explicit Applier(CDataFile& f) : file(f), remembered(f.flags_ & (kAutoCreateSections | kAutoCreateKeys)) {
    file.flags_ |= kAutoCreateSections | kAutoCreateKeys;
    current = file.FindSection(currentName);
  }
  ~Applier() { file.flags_ = (file.flags_ & ~(kAutoCreateSections | kAutoCreateKeys)) | remembered; }

  void Section(std::string_view name, std::string_view comment) {
    // An existing section is reported and kept, and its keys are read on.
    if (CDataFile::Section* existing = file.FindSectionByView(name)) {
      Report("[CDataFile::CreateSection] Section <%s> allready exists. Aborting.", std::string(name).c_str());
      current = existing;
    } else {
      // Sections of a table mostly hold the same keys: room for as many as
      // the last one had saves growing the list key by key.
      const size_t likelyKeys = current ? current->keys.size() : 0;
      current = file.AppendSection(name, comment);
      file.Reserve(&current->keys, likelyKeys);
      file.dirty_ = true;
    }
    currentName.assign(name);
  }
  void Value(std::string_view key, std::string_view value, std::string_view comment, int position,
             size_t listSize) {
    if (!current) {
      // Only after Clear: the first key recreates the unnamed section.
      file.CreateSection(currentName, "");
      current = file.FindSection(currentName);
      if (!current) return;
    }
    file.SetValueIn(current, key, value, comment, position, listSize);
  }
};

bool CDataFile::ReadText(std::string_view text) {
  if (!CheckText(text)) return false;
  // An empty table (the usual case: a fresh one) is read in one pass and, if
  // the text turns out bad, emptied again. Merging into a table that holds
  // something checks the whole text first instead, so a refused text leaves
  // the table as it was.
  const bool empty = sections_.empty();
  const bool unnamedOnly = sections_.size() == 1 && sections_[0]->name.empty() && sections_[0]->comment.empty() &&
                           sections_[0]->keys.empty();
  if (empty || unnamedOnly) {
    const bool wasDirty = dirty_;
    bool ok = false;
    {
      Applier apply(*this);
      ok = ParseTable(text, apply);
    }
    if (!ok) {
      Clear();
      if (unnamedOnly) AppendSection("", "");
      dirty_ = wasDirty;
    }
    return ok;
  }
  CheckOnly check;
  if (!ParseTable(text, check)) return false;
  Applier apply(*this);
  ParseTable(text, apply);
  return true;
}

bool CDataFile::LoadFromMemory(std::string_view text) {
  if (!ReadText(text)) return false;
  dirty_ = false;
  return true;
}

bool CDataFile::Load(const std::string& fileName) {
  std::string text;
  platform::FileReadError why;
  if (!platform::ReadFileText(fileName, kMaxFileBytes, &text, &why)) {
    if (why.kind == platform::FileReadError::kMissing)
      Report("[CDataFile::Load] Unable to open file. Does it exist?");
    else
      Report("[CDataFile::Load] \"%s\" %s", fileName.c_str(), why.text.c_str());
    return false;
  }
  if (!ReadText(text)) return false;
  fileName_ = fileName;
  dirty_ = false;
  return true;
}

std::string CDataFile::SaveToText() {
  std::string out;
  bool changed = false;
  for (const auto& sectionPtr : sections_) {
    Section& section = *sectionPtr;
    size_t longest = 0;
    for (const auto& k : section.keys) longest = std::max(longest, k->name.size());

    bool commentWritten = false;
    if (!section.comment.empty()) {
      std::string line(1, '\n');
      line += CommentText(section.comment);
      EmitLine(&out, line);
      commentWritten = true;
    }
    if (!section.name.empty()) {
      std::string line(commentWritten ? "" : "\n");
      line += '[';
      line += section.name;
      line += ']';
      EmitLine(&out, line);
    }

    for (const auto& keyPtr : section.keys) {
      Key& key = *keyPtr;
      if (key.name.empty()) continue;
      std::string line;
      if (!key.comment.empty()) {
        line += '\n';
        line += CommentText(key.comment);
        line += '\n';
      }
      line += key.name;
      if (flags_ & kPadKeyNames) {
        line.append(kSeparator);
        line.append(longest - key.name.size(), ' ');
      }
      line += kEqualIndicators[0];
      line.append(kSeparator);
      if (key.values.size() == 1) {
        std::string_view v = key.values[0];
        // Quoted: long values and those holding quotes or line ends, as the
        // format always did; also those that would not read back as written
        // unquoted (empty, list-like, or with blanks or ":=" at an end).
        const bool quote = v.size() > longest || v.find_first_of("\"\n\r") != std::string_view::npos ||
                           v.empty() || v[0] == '<' || IsTrimChar(v.front()) || IsTrimChar(v.back());
        if (quote) {
          if (v.find('"') != std::string_view::npos) {
            std::string stripped(v);
            RemoveQuotes(&stripped);
            PutValue(&key, 0, stripped);
            v = key.values[0];
            changed = true;
          }
          line += '"';
          line += v;
          line += '"';
        } else {
          line += v;
        }
      } else {
        line += '<';
        for (size_t i = 0; i < key.values.size(); ++i) {
          if (i) line += ',';
          line += key.values[i];
        }
        line += '>';
      }
      EmitLine(&out, line);
    }
  }
  // A first key whose name starts like a byte-order mark would lose it on
  // reading; a blank first line keeps it a name.
  if (out.compare(0, 3, "\xEF\xBB\xBF") == 0) out.insert(0, "\r\n");
  if (changed) dirty_ = true;
  return out;
}

bool CDataFile::Save() {
  bool anything = false;
  for (const auto& s : sections_) anything = anything || !s->name.empty() || !s->keys.empty();
  if (!anything) {
    Report("[CDataFile::Save] Nothing to save.");
    return false;
  }
  if (fileName_.empty()) {
    Report("[CDataFile::Save] No filename has been set.");
    return false;
  }
  const std::string text = SaveToText();
  std::string why;
  if (!platform::SaveFileDurably(fileName_, text.data(), text.size(), &why)) {
    Report("[CDataFile::Save] Unable to save file.");
    platform::DebugPrintf("[CDataFile::Save] \"%s\": %s\n", fileName_.c_str(), why.c_str());
    return false;
  }
  dirty_ = false;
  return true;
}
