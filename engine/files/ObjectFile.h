#pragma once
// ObjectFile: the older text format of named objects with string values
// ("help.dat"). The file is a token stream (see TokenReader.h); each token is
// one statement: "object NAME", "value KEY TEXT..." or "endobject". A
// statement of several words is therefore written as one quoted string.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/ObjectFileDef.h"

class ObjectFile {
 public:
  ObjectFile() = default;
  virtual ~ObjectFile();
  ObjectFile(const ObjectFile&) = delete;
  ObjectFile& operator=(const ObjectFile&) = delete;

  // Frees every object, then reads the file. A file that cannot be opened
  // leaves the list empty and returns false.
  bool Load(const std::string& fileName, const std::string& base = "");
  // Frees every object, then builds the tree from statements already split
  // by the token reader.
  void LoadTokens(const std::vector<std::string>& tokens);
  void Clear();

  // First top-level object whose name equals `name` exactly, else null.
  cObjectDef* FindObject(std::string_view name) const;
  const std::vector<std::unique_ptr<cObjectDef>>& GetObjects() const { return objects_; }

 private:
  std::vector<std::unique_ptr<cObjectDef>> objects_;
};

// Splits one statement into keyword, operand and the value (the third word to
// the end, inner spacing kept). Returns the number of parts found (0 to 3).
int SplitObjectFileStatement(std::string_view statement, std::string* keyword, std::string* operand,
                             std::string* value);
