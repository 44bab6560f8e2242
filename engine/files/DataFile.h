#pragma once
// Sectioned key/value text tables: "[section]" headers, "key = value" lines,
// "<a, b, c>" lists, quoted values that may continue over several lines and
// "#" / ";" comments. A reader loads one, enumerates the sections and reads
// typed values; what each key means belongs to the table's reader.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/PositionIndex.h"
#include "base/TextArena.h"

class CDataFile {
 public:
  // Option flags.
  static constexpr uint32_t kAutoCreateSections = 4;  // SetValue creates a missing section
  static constexpr uint32_t kAutoCreateKeys = 8;      // SetValue creates a missing key
  static constexpr uint32_t kCompareHashes = 16;      // compare name hashes before names
  static constexpr uint32_t kPadKeyNames = 32;        // pad key names when saving
  static constexpr uint32_t kDefaultFlags = 60;

  // Limits on what a file may ask of us. A table is a few kilobytes; anything
  // near these is not a table.
  static constexpr uint64_t kMaxFileBytes = 64ull * 1024 * 1024;
  static constexpr int kMaxValuesPerKey = 65536;
  // Sections with this many keys are searched through an index.
  static constexpr size_t kKeyIndexThreshold = 16;

  // A list kept by the table (in its arena, not an allocation of its own):
  // a key's values, a section's keys. Valid until Clear.
  template <typename T>
  class List {
   public:
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const T& operator[](size_t i) const { return items_[i]; }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + count_; }
    friend bool operator==(const List& a, const List& b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

   private:
    friend class CDataFile;
    T* items_ = nullptr;
    uint32_t count_ = 0;
    uint32_t capacity_ = 0;
  };

  // A key's values, position 0 first; a replaced value stays valid until Clear.
  using ValueList = List<std::string_view>;

  // Names, values and comments are kept by the table (in a few large
  // blocks, not one allocation each) and live until Clear.
  struct Key {
    std::string_view name;
    ValueList values;
    std::string_view comment;
    uint32_t nameHash = 0;
  };

  struct Section {
    std::string name;
    std::string comment;
    // In file order. The keys belong to the table and live until Clear.
    List<Key*> keys;
    uint32_t nameHash = 0;
    // Key positions by name, kept once a section is big.
    PositionIndex keyIndex;
  };

  CDataFile();
  ~CDataFile();
  CDataFile(const CDataFile&) = delete;
  CDataFile& operator=(const CDataFile&) = delete;

  // Reads a table and merges it into this one. A file that cannot be read or
  // is not a well-formed table is refused: false, and nothing changes.
  bool Load(const std::string& fileName);
  // The same reader on text already in memory; the file name stays as it is.
  bool LoadFromMemory(std::string_view text);
  // Writes every section to the file name set by Load (or SetFileName).
  bool Save();
  // The text Save writes. Like Save, it strips the double quotes from the
  // values it has to quote (the format cannot carry them).
  std::string SaveToText();

  bool CreateSection(const std::string& name, const std::string& comment);
  bool SetValue(const std::string& key, const std::string& value, const std::string& comment = "",
                const std::string& section = "", int position = 0);

  std::string GetValue(const std::string& key, const std::string& section = "", int position = 0) const;
  std::string GetString(const std::string& key, const std::string& section = "", int position = 0) const;
  // Empty values give these "no value" marks.
  static constexpr float kNoFloat = 1.1754944e-38f;
  static constexpr int kNoInt = static_cast<int>(0x80000000u);
  float GetFloat(const std::string& key, const std::string& section = "", int position = 0) const;
  int GetInt(const std::string& key, const std::string& section = "", int position = 0) const;
  // Values keep the 32-bit range on every platform so tables read the same.
  long GetLong(const std::string& key, const std::string& section = "", int position = 0) const;
  bool GetBool(const std::string& key, const std::string& section = "", int position = 0) const;

  void GetSectionNames(std::vector<std::string>* names) const;
  void GetKeyNames(const std::string& section, std::vector<std::string>* names) const;

  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;
  Key* FindKey(const std::string& key, const std::string& section);
  const Key* FindKey(const std::string& key, const std::string& section) const;

  void Clear();

  static uint32_t NameHash(std::string_view name);
  // Trimmed, and "# " put in front of each line that is not yet a comment.
  static std::string CommentText(std::string_view comment);

  // In file order; the sections belong to the table and live until Clear.
  const List<Section*>& Sections() const { return sections_; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  bool IsDirty() const { return dirty_; }
  uint32_t Flags() const { return flags_; }
  void SetFlags(uint32_t flags) { flags_ = flags; }

 private:
  struct Applier;
  // Files the text into the table; a refused text changes nothing.
  bool ReadText(std::string_view text);
  Section* AppendSection(std::string_view name, std::string_view comment);
  Section* FindSectionByView(std::string_view name) const;
  // `nameHash` is NameHash(key), worked out once by callers that need it again.
  Key* FindKeyIn(const Section& section, std::string_view key) const { return FindKeyIn(section, key, NameHash(key)); }
  Key* FindKeyIn(const Section& section, std::string_view key, uint32_t nameHash) const;
  // `listSize` is how many values a list being read holds, so its values
  // are allocated once.
  bool SetValueIn(Section* section, std::string_view key, std::string_view value, std::string_view comment,
                  int position, size_t listSize = 1);
  Key* NewKey();
  // Puts `value` at `position` of a key's list (an existing place is
  // replaced, anything past the end is appended), growing the list when full.
  void PutValue(Key* key, size_t position, std::string_view value);
  // Room in `list` for `capacity` items in all; the old items move along.
  template <typename T>
  void Reserve(List<T>* list, size_t capacity);
  template <typename T>
  void Append(List<T>* list, const T& item);

  // Constructed in the arena and destroyed by Clear.
  List<Section*> sections_;
  std::string fileName_;
  bool dirty_ = false;
  uint32_t flags_ = kDefaultFlags;
  // Section positions by name (names are unique whatever their case).
  PositionIndex sectionIndex_;
  // Every section and key of the table with their names, values and comments.
  TextArena arena_;
};
