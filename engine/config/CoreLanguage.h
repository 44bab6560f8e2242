#pragma once
// One keyword language: a named vocabulary binding keywords (exact,
// case-sensitive) to command handlers. Languages made by the language
// manager carry a lower-case name. GUI vocabularies derive from this class.
#include <string>

#include "engine/config/CommandHandler.h"

class CoreLanguage {
 public:
  CoreLanguage() = default;
  explicit CoreLanguage(std::string name) : name_(std::move(name)) {}
  virtual ~CoreLanguage() = default;
  CoreLanguage(const CoreLanguage&) = delete;
  CoreLanguage& operator=(const CoreLanguage&) = delete;

  const std::string& GetName() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Binds the keyword, replacing an earlier binding of it.
  void Bind(const std::string& keyword, CommandHandler handler) { keywords_[keyword] = handler; }
  // The handler bound to exactly this keyword, or null.
  CommandHandler Lookup(const std::string& keyword) const;
  const CommandMap& GetKeywordMap() const { return keywords_; }

 private:
  CommandMap keywords_{17};
  std::string name_;
};
