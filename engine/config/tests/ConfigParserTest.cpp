#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/config/CommandRegistry.h"
#include "engine/config/ConfigManager.h"
#include "engine/config/ConfigParser.h"
#include "engine/config/CoreLanguage.h"
#include "engine/config/LanguageManager.h"
#include "engine/config/ScriptTokenizer.h"
#include "engine/config/tests/ConfigTestFixture.h"
#include "platform/DebugOutput.h"

namespace {

using Handler = ConfigParser::StatementHandler;

std::string Clean(std::string_view raw) {
  std::string cleaned;
  EXPECT_TRUE(ConfigParser::CleanScript(raw, &cleaned)) << raw;
  return cleaned;
}

// Statements as "tok|tok|tok" strings.
std::vector<std::string> Statements(std::string_view cleaned) {
  std::vector<std::string> out;
  ConfigParser::SplitStatements(cleaned, [&](CStringArray& tokens, bool) {
    std::string joined;
    for (size_t i = 0; i < tokens.size(); ++i) joined += (i ? "|" : "") + tokens[i];
    out.push_back(joined);
  });
  return out;
}

TEST(ConfigParserTest, CleaningPass) {
  struct Case {
    std::string raw;
    std::string cleaned;
  };
  const Case cases[] = {
      {"a   b\t\tc", "a b c"},
      {"  lead and trail  \r\n", "lead and trail"},
      {"\"a  b\"", "\"a  b\""},                // blanks inside quotes are kept exactly
      {"\"a\tb\r\nc\"", "\"a b c\""},          // other white space inside quotes folds to one blank
      {"\"a\\tb\\nc\"", "\"a\tb\nc\""},        // escapes
      {"\"a\\\\b\"", "\"a\\b\""},              // an escaped backslash
      {"\"a\\qb\"", "\"a\\qb\""},              // an unknown escape keeps the backslash
      {"\"\\\"\"", "\"\"\""},                  // an escaped quote mark
      {"a\\tb", "a\\tb"},                      // no escapes outside quotes
      {"x; // gone;\ny;", "x; y;"},
      {"x;/* gone\n still */y;", "x;y;"},
      {"\"//kept\" \"/*kept*/\"", "\"//kept\" \"/*kept*/\""},
      {"a\r\nb\rc\vd\fe", "a b c d e"},      // CR is white space like any other
      {"// only a comment", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Clean(c.raw), c.cleaned) << c.raw;
}

TEST(ConfigParserTest, CleaningRefusesTextEndingInsideQuotesOrBlockComment) {
  std::string cleaned;
  EXPECT_FALSE(ConfigParser::CleanScript("setting a \"open", &cleaned));
  EXPECT_FALSE(ConfigParser::CleanScript("setting a; /* open", &cleaned));
  EXPECT_TRUE(ConfigParser::CleanScript("setting a; // open", &cleaned));
}

TEST(ConfigParserTest, StatementPass) {
  struct Case {
    std::string cleaned;
    std::vector<std::string> statements;
  };
  const Case cases[] = {
      {"settings App { setting a \"1\"; }", {"settings|App", "setting|a|1", "}"}},
      {"a;;b", {"a", "b"}},
      {"a \"\" b;", {"a||b"}},                     // an empty quoted text is an empty token
      {"a \"b c\"d;", {"a|b cd"}},                  // quoted and bare parts join
      {"x}", {"x}"}},                              // braces count only standing alone
      {"a b } c", {"a|b|}", "c"}},                 // "}" belongs to the statement it ends
      {"only words", {"only|words"}},              // no terminator: runs to the end
      {"setting k \";\";", {"setting|k|;"}},       // quoted text is data, never a statement end
      {"bind \"x\" \"}\";", {"bind|x|}"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Statements(c.cleaned), c.statements) << c.cleaned;
}

TEST(ConfigParserTest, TokenCountAndUnclosedQuotes) {
  EXPECT_EQ(ConfigParser::SplitStatements("a b;c", nullptr), 4);
  EXPECT_EQ(ConfigParser::SplitStatements("", nullptr), 0);
  EXPECT_EQ(ConfigParser::SplitStatements("\"\"", nullptr), 1);
  // An escaped quote mark toggles quoting in the token pass.
  EXPECT_EQ(ConfigParser::SplitStatements("setting a \"x\"y\";", nullptr), -1);
}

class ConfigReadTest : public cfgtest::ConfigFixture<cCore_ConfigManager> {
 protected:
  CoreStatus Read(std::string_view text) {
    return config_.GetParser()->ReadText(text, Handler::Settings, "test");
  }
  std::string Get(const char* section, const char* name) {
    std::string value = "<missing>";
    config_.GetString(section, name, value);
    return value;
  }
};

TEST_F(ConfigReadTest, SettingsSectionsAndBlocks) {
  ASSERT_EQ(Read("setting early \"0\";\r\n"
                 "settings App;\r\n"
                 "\tsetting\tMaxVersion\t\"3\";\r\n"
                 "settings \"Graphics\" {\r\n"
                 "  setting FullScreen \"TRUE\"; setting resolution \"800 x 600\"; setting extra \"a\" \"ignored\";\r\n"
                 "}\r\n"
                 "setting after \"x\";\n"),
            status::Ok);
  EXPECT_EQ(Get("", "early"), "0");
  EXPECT_EQ(Get("APP", "maxversion"), "3");
  EXPECT_EQ(Get("graphics", "FULLSCREEN"), "TRUE");
  EXPECT_EQ(Get("Graphics", "resolution"), "800 x 600");
  EXPECT_EQ(Get("Graphics", "extra"), "a");
  EXPECT_EQ(Get("", "after"), "x");  // "}" returned to the empty section
  bool fullscreen = false;
  EXPECT_TRUE(config_.GetBool("Graphics", "fullscreen", fullscreen));
  EXPECT_TRUE(fullscreen);
  EXPECT_NE(config_.GetStore().Find("|early"), nullptr);
}

TEST_F(ConfigReadTest, KeywordsInAnyCaseAndSectionsChangingMidStream) {
  // The keywords fold like names; words that only resemble them are not
  // keywords. Sections differing only by case are one section, and a section
  // left and entered again keeps its settings in their first places.
  ASSERT_EQ(Read("SETTINGS Alpha; Setting x \"1\"; sEtTiNg Y \"2\";\n"
                 "settingS beta { SETTING x \"3\"; }\n"
                 "Settings ALPHA; setting X \"4\";\n"
                 "settings Alph; setting x \"5\";\n"
                 "settingz Alpha; settin z \"6\"; setting_ z \"7\"; Bind; setting z \"8\";\n"),
            status::Ok);
  const SettingsStore& store = config_.GetStore();
  ASSERT_EQ(store.Size(), 5u);
  const std::pair<std::string_view, std::string_view> expected[] = {
      {"alpha|x", "4"}, {"alpha|y", "2"}, {"beta|x", "3"}, {"alph|x", "5"}, {"alph|z", "8"}};
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(store.Entries()[i].first, expected[i].first) << i;
    EXPECT_EQ(store.Entries()[i].second, expected[i].second) << i;
  }
}

TEST_F(ConfigReadTest, CommentsAndQuotedText) {
  ASSERT_EQ(Read("settings s;\n"
                 "// setting hidden1 \"x\";\n"
                 "/* setting hidden2 \"x\"; */\n"
                 "setting url \"http://host/*path*/\";\n"
                 "setting tabbed \"a\tb\";\n"
                 "setting escaped \"a\\tb\\\\c\";\n"),
            status::Ok);
  EXPECT_EQ(Get("s", "hidden1"), "<missing>");
  EXPECT_EQ(Get("s", "hidden2"), "<missing>");
  EXPECT_EQ(Get("s", "url"), "http://host/*path*/");
  EXPECT_EQ(Get("s", "tabbed"), "a b");
  EXPECT_EQ(Get("s", "escaped"), "a\tb\\c");
}

TEST_F(ConfigReadTest, RefusedStatementsAreSkippedAndReported) {
  platform::ScopedDebugCapture capture;
  std::string many = "setting";
  for (int i = 0; i < 5000; ++i) many += " t";
  ASSERT_EQ(Read("settings s; setting short; frobnicate a b; settings; " + many + "; setting ok \"1\";"),
            status::Ok);
  EXPECT_EQ(Get("s", "ok"), "1");
  EXPECT_EQ(Get("s", "short"), "<missing>");
  EXPECT_EQ(config_.GetStore().Size(), 1u);
  EXPECT_TRUE(capture.Contains("\"setting\" refused"));
  EXPECT_TRUE(capture.Contains("too many tokens"));
  // Keyword statements are the command pass's to judge, not this one's.
  EXPECT_FALSE(capture.Contains("frobnicate"));
}

TEST_F(ConfigReadTest, SectionCarriesOverBetweenFiles) {
  const std::string a = dir_.Write("a.cfg", "settings Sound;\r\n");
  const std::string b = dir_.Write("b.cfg", "setting volume \"7\";\r\n");
  ASSERT_EQ(config_.LoadConfig(a), status::Ok);
  ASSERT_EQ(config_.LoadConfig(b), status::Ok);
  EXPECT_EQ(Get("sound", "volume"), "7");
}

constexpr char kJunk[] = "settings s;\0\x01\xff\xfe setting a \"1\";";

// Each bad input must be refused as a whole, change nothing and say why.
TEST_F(ConfigReadTest, BadInputsAreRefusedCleanly) {
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"empty", ""},
      {"blank", " \r\n\t\r\n"},
      {"comments only", "// nothing\r\n/* at all */\r\n"},
      {"truncated in quotes", "settings s; setting a \"value"},
      {"truncated in a comment", "settings s; setting a \"1\"; /* trailing"},
      {"unbalanced escaped quote", "settings s; setting a \"x\\\"y\"; setting b \"2\";"},
      {"binary junk", std::string(kJunk, sizeof(kJunk) - 1)},
      {"lone quote", "\""},
  };
  config_.SetValue("keep", "me", "1");
  for (const Case& c : cases) {
    platform::ScopedDebugCapture capture;
    EXPECT_EQ(Read(c.text), status::Fail) << c.what;
    EXPECT_EQ(config_.GetStore().Size(), 1u) << c.what;
    EXPECT_EQ(Get("keep", "me"), "1") << c.what;
    EXPECT_EQ(config_.GetParser()->GetSection(), "") << c.what;
    EXPECT_TRUE(capture.Contains("[ConfigParser::ReadText]")) << c.what;
  }
}

// A script with more tokens than the reader takes in one go is judged whole
// before any of it runs, then run in parts.
TEST_F(ConfigReadTest, ScriptsLongerThanOneBatchAreJudgedWholeFirst) {
  std::string statements;
  const size_t count = ScriptTokenizer::kBatchTokens / 3 + 1000;
  statements.reserve(count * 14 + 64);
  statements += "settings long;";
  for (size_t i = 0; i < count; ++i) statements += "setting k " + std::to_string(i % 10) + ";";
  config_.SetValue("keep", "me", "1");
  {
    platform::ScopedDebugCapture capture;
    EXPECT_EQ(Read(statements + " setting last \"open"), status::Fail);
    EXPECT_TRUE(capture.Contains("ends inside quotes"));
    EXPECT_EQ(Read(statements + " setting last \"x\\\"y\";"), status::Fail);
    EXPECT_TRUE(capture.Contains("quotes never close"));
  }
  EXPECT_EQ(config_.GetStore().Size(), 1u);
  EXPECT_EQ(config_.GetParser()->GetSection(), "");

  ASSERT_EQ(Read(statements + " setting last \"done\";"), status::Ok);
  EXPECT_EQ(Get("long", "k"), std::to_string((count - 1) % 10));
  EXPECT_EQ(Get("long", "last"), "done");
}

TEST_F(ConfigReadTest, BadFilesAreRefusedCleanly) {
  config_.SetValue("keep", "me", "1");
  // Larger than any script may be: refused before a byte is read.
  const std::string big = dir_.Write("big.cfg", "settings s;");
  ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(ConfigParser::kMaxScriptBytes + 1)), 0);
  const std::string files[] = {dir_.File("missing.cfg"), big, dir_.File("")};
  for (const std::string& file : files) {
    platform::ScopedDebugCapture capture;
    EXPECT_EQ(config_.LoadConfig(file), status::Fail) << file;
    EXPECT_EQ(config_.RunScript(file), status::Fail) << file;
    EXPECT_TRUE(capture.Contains("[ConfigParser::ReadFile]")) << file;
  }
  EXPECT_EQ(config_.GetStore().Size(), 1u);
}

// The command handler: keywords of the current language, with blocks.
int g_calls = 0;
std::vector<std::string> g_seen;

CoreStatus ServiceCommand(CStringArray& tokens, CoreParser* parser) {
  auto* reader = dynamic_cast<ConfigParser*>(parser);
  if (!reader || tokens.size() < 2) return status::Fail;
  g_seen.push_back("open " + tokens[1]);
  std::string language = "ServiceLanguage";
  return reader->GetLanguageManager()->PushLanguage(language) ? status::Ok : status::Fail;
}

CoreStatus PropertyCommand(CStringArray& tokens, CoreParser*) {
  g_seen.push_back(tokens.size() >= 3 ? tokens[1] + "=" + tokens[2] : "short");
  return status::Ok;
}

CoreStatus CloseCommand(CStringArray&, CoreParser* parser) {
  g_seen.push_back("close");
  static_cast<ConfigParser*>(parser)->GetLanguageManager()->PopLanguage();
  return status::Ok;
}

CoreStatus RunAgainCommand(CStringArray& tokens, CoreParser* parser) {
  ++g_calls;
  auto* reader = static_cast<ConfigParser*>(parser);
  return reader->ReadFile(tokens[1], ConfigParser::StatementHandler::Command);
}

class CommandScriptTest : public ConfigReadTest {
 protected:
  CommandScriptTest() : languages_(&commands_) {
    g_calls = 0;
    g_seen.clear();
    commands_.Register("ServiceCommand", &ServiceCommand);
    commands_.Register("PropertyCommand", &PropertyCommand);
    commands_.Register("CloseCommand", &CloseCommand);
    commands_.Register("RunAgainCommand", &RunAgainCommand);
    Define("Engine", "service", "ServiceCommand");
    Define("Engine", "again", "RunAgainCommand");
    Define("ServiceLanguage", "property", "PropertyCommand");
    Define("ServiceLanguage", "}", "CloseCommand");
    std::string engine = "engine";
    languages_.PushLanguage(engine);
    config_.GetParser()->SetLanguageManager(&languages_);
  }
  void Define(std::string language, std::string keyword, std::string command) {
    languages_.GetOrCreateLanguage(language);
    ASSERT_TRUE(languages_.AddKeyword(language, keyword, command));
  }

  OCFactory commands_;
  LanguageManager languages_;
};

TEST_F(CommandScriptTest, BlocksPushAndPopTheirLanguage) {
  const std::string file = dir_.Write("start.scr",
                                      "settings App; setting a \"1\"; bind \"x\" \"W\";\r\n"
                                      "service time {\r\n  property speed \"1.5\";\r\n}\r\n"
                                      "property outside \"no\";\r\n"
                                      "unknown thing;\r\n");
  ASSERT_EQ(config_.RunScript(file), status::Ok);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"open time", "speed=1.5", "close"}));
  EXPECT_EQ(config_.GetStore().Size(), 0u);  // configuration statements are passed over
  EXPECT_EQ(languages_.GetCurrentLanguage()->GetName(), "engine");
}

TEST_F(CommandScriptTest, NoLanguageManagerRefusesEveryCommand) {
  config_.GetParser()->SetLanguageManager(nullptr);
  platform::ScopedDebugCapture capture;
  ASSERT_EQ(config_.GetParser()->ReadText("service time { }", Handler::Command), status::Ok);
  EXPECT_TRUE(g_seen.empty());
  EXPECT_TRUE(capture.Contains("\"service\" refused"));
}

TEST_F(CommandScriptTest, ScriptsRunningThemselvesStopAtTheNestingLimit) {
  const std::string file = dir_.File("self.scr");
  dir_.Write("self.scr", "again \"" + file + "\";");
  ASSERT_EQ(config_.RunScript(file), status::Ok);
  EXPECT_EQ(g_calls, ConfigParser::kMaxNesting);
  // Every nested read gave the reader back with the handler it had before.
  EXPECT_EQ(config_.GetParser()->GetStatementHandler(), Handler::Settings);
}

}  // namespace
