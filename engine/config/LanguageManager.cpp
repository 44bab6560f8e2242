#include "engine/config/LanguageManager.h"

#include <unordered_set>

#include "engine/config/CommandRegistry.h"
#include "engine/config/CoreLanguage.h"
#include "base/StringUtil.h"

LanguageManager::LanguageManager(OCFactory* commands) : commands_(commands) { languages_.reserve(17); }

LanguageManager::~LanguageManager() {
  // A language may have been filed twice (renamed and added again); delete
  // each object once.
  std::unordered_set<CoreLanguage*> owned(replaced_.begin(), replaced_.end());
  for (auto& [name, language] : languages_) owned.insert(language);
  languages_.clear();
  replaced_.clear();
  stack_.clear();
  current_ = nullptr;
  for (CoreLanguage* language : owned) delete language;
}

void LanguageManager::AddLanguage(CoreLanguage* language) {
  if (!language) return;
  CoreLanguage*& slot = languages_[language->GetName()];
  if (slot && slot != language) replaced_.push_back(slot);
  slot = language;
}

void LanguageManager::GetOrCreateLanguage(std::string& name) {
  str::ToLowerInPlace(name);
  if (languages_.find(name) != languages_.end()) return;
  languages_[name] = new CoreLanguage(name);
}

bool LanguageManager::AddKeyword(std::string& language, std::string& keyword, std::string& command) {
  str::ToLowerInPlace(language);
  const auto it = languages_.find(language);
  if (it == languages_.end() || !commands_) return false;
  const CommandHandler handler = commands_->Lookup(command);
  if (!handler) return false;
  it->second->Bind(keyword, handler);
  return true;
}

bool LanguageManager::PushLanguage(std::string& name) {
  str::ToLowerInPlace(name);
  const auto it = languages_.find(name);
  if (it == languages_.end()) return false;
  if (current_) stack_.push_back(current_);
  current_ = it->second;
  return true;
}

CoreLanguage* LanguageManager::PopLanguage() {
  if (stack_.empty()) return nullptr;
  current_ = stack_.back();
  stack_.pop_back();
  return current_;
}

CommandHandler LanguageManager::LookupKeyword(const std::string& keyword) {
  if (!current_) return nullptr;
  if (CommandHandler handler = current_->Lookup(keyword)) return handler;
  // Oldest stacked language first: among stacked languages the bottom wins.
  for (CoreLanguage* language : stack_) {
    if (CommandHandler handler = language->Lookup(keyword)) return handler;
  }
  return nullptr;
}

CoreLanguage* LanguageManager::FindLanguage(std::string& name) {
  str::ToLowerInPlace(name);
  const auto it = languages_.find(name);
  return it == languages_.end() ? nullptr : it->second;
}
