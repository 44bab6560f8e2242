#pragma once
// ObjectDefStore: a parser and the root list of the files it has loaded.
// Each file becomes one root named after the file; loading a file again
// re-reads it into its root.
#include <memory>
#include <string>

#include "engine/files/ObjectDefList.h"
#include "engine/files/ObjectParser.h"

class ObjectDefStore {
 public:
  ObjectDefStore();
  ~ObjectDefStore();
  ObjectDefStore(const ObjectDefStore&) = delete;
  ObjectDefStore& operator=(const ObjectDefStore&) = delete;

  // Replaces the parser with a new one that files into this store's list.
  void CreateParser();
  // Reads the file into its root and resolves the bases of every loaded
  // object. False when the file could not be read; a root loaded before stays.
  bool LoadFile(const std::string& fileName);

  ObjectParser* GetParser() const { return parser_.get(); }
  ObjectDefList& GetList() { return list_; }

 private:
  std::unique_ptr<ObjectParser> parser_;
  ObjectDefList list_;
};
