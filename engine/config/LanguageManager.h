#pragma once
// The registry of keyword languages. One language is current; entering a
// script block pushes the block's language and the block's closing keyword
// pops it. A keyword is looked up in the current language, then in the
// stacked languages from the oldest to the newest.
//
// Every operation that takes a language name lower-cases it in place in the
// caller's string (the caller sees the change), except AddLanguage, which
// files a language under its own name. Keywords and command names are never
// case-folded.
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/config/CommandHandler.h"

class CoreLanguage;
class OCFactory;

class LanguageManager {
 public:
  explicit LanguageManager(OCFactory* commands);
  // Deletes every language filed here, then empties the stack and the map.
  virtual ~LanguageManager();
  LanguageManager(const LanguageManager&) = delete;
  LanguageManager& operator=(const LanguageManager&) = delete;

  virtual void SetCommandFactory(OCFactory* commands) { commands_ = commands; }
  virtual void Reserved() {}
  // Files the language under its own name (not lower-cased); the manager
  // takes ownership. A language it replaces stays alive until the manager
  // goes, since the stack or a caller may still point at it.
  virtual void AddLanguage(CoreLanguage* language);
  // Creates and files an empty language of that name unless one exists.
  virtual void GetOrCreateLanguage(std::string& name);
  // Binds keyword -> the handler registered under `command`. False when the
  // language or the command is unknown; nothing changes then.
  virtual bool AddKeyword(std::string& language, std::string& keyword, std::string& command);
  // Stacks the current language (if any) and makes the named one current.
  // False, changing nothing, for an unknown name.
  virtual bool PushLanguage(std::string& name);
  // Makes the most recently stacked language current and returns it; null,
  // keeping the current language, when the stack is empty.
  virtual CoreLanguage* PopLanguage();
  virtual CommandHandler LookupKeyword(const std::string& keyword);
  virtual CoreLanguage* FindLanguage(std::string& name);
  // A word the owner may keep here; the manager never reads it.
  virtual void SetOwnerWord(uint32_t word) { ownerWord_ = word; }

  CoreLanguage* GetCurrentLanguage() const { return current_; }
  size_t GetStackDepth() const { return stack_.size(); }
  uint32_t GetOwnerWord() const { return ownerWord_; }
  OCFactory* GetCommandFactory() const { return commands_; }

 private:
  CoreLanguage* current_ = nullptr;
  std::list<CoreLanguage*> stack_;  // head = oldest, tail = most recent
  std::unordered_map<std::string, CoreLanguage*> languages_;
  std::vector<CoreLanguage*> replaced_;
  OCFactory* commands_;
  uint32_t ownerWord_ = 0;
};
