#pragma once
// cObjectDef: one named object of the older object file, with its string
// values and nested objects in file order. Names, keys and values are growing
// strings, so no length is cut or overflows.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class cObjectDef {
 public:
  struct ValueRecord {
    std::string key;
    std::string value;
  };

  cObjectDef(std::string name, cObjectDef* parent);
  virtual ~cObjectDef();
  cObjectDef(const cObjectDef&) = delete;
  cObjectDef& operator=(const cObjectDef&) = delete;

  // First direct child whose name equals `name` exactly, else null.
  cObjectDef* FindChild(std::string_view name) const;
  // Value of the first record whose key equals `key` exactly, else null.
  const char* GetString(std::string_view key) const;
  // atoi of the value; -1 when the key is absent.
  int GetInt(std::string_view key) const;
  // atof of the value; 0.0 when the key is absent.
  float GetFloat(std::string_view key) const;

  const std::string& GetName() const { return name_; }
  cObjectDef* GetParent() const { return parent_; }
  const std::vector<ValueRecord>& GetValues() const { return values_; }
  const std::vector<std::unique_ptr<cObjectDef>>& GetChildren() const { return children_; }

  void AddValue(std::string key, std::string value);
  cObjectDef* AddChild(std::string name);

 private:
  std::string name_;
  std::vector<ValueRecord> values_;
  cObjectDef* parent_;  // not owning
  std::vector<std::unique_ptr<cObjectDef>> children_;
};
