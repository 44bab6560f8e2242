#pragma once
// ObjectParser: reads object-definition text into ObjectDef trees and writes
// them back.
//
//   // comment lines, kept with the object that follows
//   OBJECT name:base
//   {
//       set key "value"
//       key "value"          (the "set" may be left out)
//       OBJECT nested
//       {
//       }
//   }
//   #include "other.def"
//
// A statement uses only the tokens it reads; the rest of its line is ignored.
// Lines the writer marks with "*" are copies made by inheritance: reading
// skips them, and resolving the bases makes them again.
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefList.h"
#include "base/Status.h"

class ObjectParser {
 public:
  // Supplies a file's whole text by name; false when it cannot be opened.
  using FileSource = std::function<bool(const std::string& name, std::string* text)>;

  static constexpr size_t kMaxLinePiece = 255;     // longer lines are read in pieces
  static constexpr size_t kMaxIncludeDepth = 16;   // nested "#include" files
  static constexpr size_t kMaxObjectDepth = 256;   // nested open objects
  // Includes read while reading one file: files that include each other
  // several times over would otherwise multiply the work at every level.
  static constexpr size_t kMaxIncludesPerRead = 1000;
  // The largest file read (definitions are hand-written text).
  static constexpr uint64_t kMaxFileBytes = uint64_t{64} << 20;

  ObjectParser();
  virtual ~ObjectParser();
  ObjectParser(const ObjectParser&) = delete;
  ObjectParser& operator=(const ObjectParser&) = delete;

  // Reads the file line by line into the current object. False when the file
  // cannot be opened (or is an "#include" that would loop or nest too deep).
  virtual bool ParseFile(const std::string& fileName);
  // Writes GetText() to the file with "\r\n" line ends.
  virtual bool WriteFile(const std::string& fileName);
  // The output list's text, marked form.
  virtual std::string GetText();
  virtual void BeginObject();
  virtual void ParseValueFor(const std::string& key);
  virtual void ParseSet();
  virtual void EndObject();

  // Where top-level objects go when there is no root; returns the previous.
  ObjectDefList* SetOutputList(ObjectDefList* list);
  // Reads `name` into `existing` (or a new root named after the file).
  // Returns the root, or null when the file cannot be opened; a root that
  // existed before stays as it was.
  ObjectDef* ParseInto(const std::string& name, ObjectDef* existing);
  CoreStatus ProcessLine(const std::string& line);
  // The next token of the current line; `mode` gets 1 (plain), 2 (quoted)
  // or -1 (nothing read).
  std::string ReadToken(int* mode = nullptr);
  ObjectDef* NewObject(ObjectDef* parentDef, const std::string& objectName);

  // Files are read through `source` (default: the path resolver, relative to
  // the base directory).
  void SetFileSource(FileSource source);
  void SetBaseDirectory(const std::string& directory) { baseDirectory_ = directory; }
  int GetState() const { return state_; }
  ObjectDef* GetCurrent() const { return current_; }

 private:
  // A file's lines, cut into the pieces ProcessLine takes.
  using Lines = std::vector<std::string>;
  bool ReadSource(const std::string& name, std::string* text);
  // The lines of `name`, read and cut once per read however often it is
  // included (null when it cannot be read). Keyed by the name exactly as
  // written, so names that differ in case are read separately.
  std::shared_ptr<const Lines> LinesOf(const std::string& name);
  bool StartsInheritedLine(const std::string& line, std::string* keyword) const;
  bool SkipLine(const std::string& line);
  void StartSkipping();
  void DiscardOpenObjects(const std::string& fileName);
  void ReportSyntaxError(const char* token);
  void ReportNoObject(const std::string& key);
  // Reads the value token and sets `key` on the current object (nothing for
  // an empty key, a report when there is no object).
  void SetValueFromNextToken(const std::string& key);

  ObjectDef* current_ = nullptr;
  std::string pendingComment_;
  std::vector<ObjectDef*> stack_;
  int status_ = 0;
  ObjectDefList* output_ = nullptr;
  int state_ = 0;
  std::string tokenizer_;

  FileSource source_;
  std::string baseDirectory_;
  std::vector<std::string> openFiles_;  // the "#include" chain, for loop detection
  size_t includeCount_ = 0;
  // Name -> lines, for the read in progress; emptied when it ends.
  std::unordered_map<std::string, std::shared_ptr<const Lines>> readFiles_;
  bool skipping_ = false;               // inside a block that is read past
  int skipBraces_ = 0;
};
