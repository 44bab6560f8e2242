#pragma once
// The configuration script reader. A script is a list of statements ended by
// ";" (or opening a block with "{", or closing one with "}"); "//" and
// "/* */" are comments; quoted text is one token and keeps its blanks.
//
// The rules come in stages: cleaning drops the comments, folds white space
// and resolves the escapes inside quotes; the token split cuts the cleaned
// text; statements end at ";", "{" and "}". The reader applies them all in
// one pass (ScriptTokenizer), then hands each statement to the active
// statement handler. The whole text is judged before any statement runs, so
// a refused file changes nothing.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/config/CommandHandler.h"
#include "engine/config/CoreParser.h"
#include "base/Status.h"

class cCore_ConfigManager;
class cCore_GlobalWrapper;
class LanguageManager;

class ConfigParser : public CoreParser {
 public:
  enum class StatementHandler {
    Settings,  // "settings", "setting", "bind" and "}" (configuration files)
    Command,   // keywords of the current keyword language (command scripts)
  };

  // Scripts are small text files; anything larger is refused unread.
  static constexpr size_t kMaxScriptBytes = size_t{64} << 20;
  // A statement with more tokens than this is refused (and skipped).
  static constexpr size_t kMaxStatementTokens = 4096;
  // How deeply a command may run another script from inside a script.
  static constexpr int kMaxNesting = 16;

  ConfigParser() = default;
  ~ConfigParser() override = default;

  // The global service table; statement handlers reach the shared services
  // through it.
  virtual void SetTarget(cCore_GlobalWrapper* target) { target_ = target; }
  virtual cCore_GlobalWrapper* GetTarget() { return target_; }

  // The configuration manager the settings handler stores into; set by the
  // manager that embeds this reader.
  void SetConfigManager(cCore_ConfigManager* manager) { configManager_ = manager; }
  cCore_ConfigManager* GetConfigManager() const { return configManager_; }
  // The keyword languages the command handler looks keywords up in: the
  // global service table's language manager, set along with the target.
  void SetLanguageManager(LanguageManager* languages) { languages_ = languages; }
  LanguageManager* GetLanguageManager() const { return languages_; }

  // Reads a script file (opened through the path resolver). Fail when it
  // cannot be opened, is too large, is not text, ends inside quotes or a
  // block comment, or holds no token; nothing is run then.
  CoreStatus ReadFile(const std::string& fileName, StatementHandler handler);
  // The same for script text already in memory; `sourceName` labels diagnostics.
  CoreStatus ReadText(std::string_view text, StatementHandler handler, std::string_view sourceName = "script");

  StatementHandler GetStatementHandler() const { return handler_; }

  // The section that "setting" statements store into; kept between files.
  const std::string& GetSection() const { return section_; }
  void SetSection(std::string section) { section_ = std::move(section); }

  // Working state of the block commands (services, cameras, cursors,
  // timelines) while a script defines them; the reader itself never reads it.
  void* GetSecondaryObject() const { return secondaryObject_; }
  void SetSecondaryObject(void* object) { secondaryObject_ = object; }
  void* GetCurrentObject() const { return currentObject_; }
  void SetCurrentObject(void* object) { currentObject_ = object; }
  const std::string& GetSubName() const { return subName_; }
  void SetSubName(std::string name) { subName_ = std::move(name); }

  // The stages spelled out one by one, for tests and tools (the reader's
  // single pass gives the same statements). CleanScript answers false when
  // the text ends inside quotes or a block comment.
  static bool CleanScript(std::string_view raw, std::string* cleaned);
  // Splits cleaned text into statements and calls `each` for every non-empty
  // one. Answers the number of tokens, or -1 when the quotes never close.
  static int64_t SplitStatements(std::string_view cleaned, const std::function<void(CStringArray&, bool tooLong)>& each);

 private:
  CoreStatus RunStatement(std::span<const std::string_view> tokens);
  // The words the settings pass answers for; every other statement belongs
  // to the command pass.
  static bool IsSettingsKeyword(std::string_view keyword);
  CoreStatus SettingsStatement(std::span<const std::string_view> tokens);
  CoreStatus CommandStatement(CStringArray& tokens);

  cCore_GlobalWrapper* target_ = nullptr;
  StatementHandler handler_ = StatementHandler::Settings;
  std::string section_;
  void* secondaryObject_ = nullptr;
  void* currentObject_ = nullptr;
  std::string subName_;

  cCore_ConfigManager* configManager_ = nullptr;
  LanguageManager* languages_ = nullptr;
  int nesting_ = 0;
};
