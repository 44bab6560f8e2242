#include <gtest/gtest.h>

#include "engine/config/CommandRegistry.h"
#include "engine/config/CoreLanguage.h"
#include "engine/config/LanguageManager.h"

namespace {

CoreStatus H1(CStringArray&, CoreParser*) { return 1; }
CoreStatus H2(CStringArray&, CoreParser*) { return 2; }
CoreStatus H3(CStringArray&, CoreParser*) { return 3; }

// Counts destructions, to check that the manager deletes what it owns once.
class CountedLanguage : public CoreLanguage {
 public:
  CountedLanguage(std::string name, int* deaths) : CoreLanguage(std::move(name)), deaths_(deaths) {}
  ~CountedLanguage() override { ++*deaths_; }

 private:
  int* deaths_;
};

class LanguageManagerTest : public ::testing::Test {
 protected:
  LanguageManagerTest() : languages_(&commands_) {
    commands_.Register("One", &H1);
    commands_.Register("Two", &H2);
    commands_.Register("Three", &H3);
  }

  void Make(std::string name) { languages_.GetOrCreateLanguage(name); }
  bool Keyword(std::string language, std::string keyword, std::string command) {
    return languages_.AddKeyword(language, keyword, command);
  }
  bool Push(std::string name) { return languages_.PushLanguage(name); }

  OCFactory commands_;
  LanguageManager languages_;
};

TEST_F(LanguageManagerTest, NamesAreLowerCasedInTheCallersString) {
  std::string created = "CameraLanguage";
  languages_.GetOrCreateLanguage(created);
  EXPECT_EQ(created, "cameralanguage");

  std::string pushed = "CameraLanguage";
  EXPECT_TRUE(languages_.PushLanguage(pushed));
  EXPECT_EQ(pushed, "cameralanguage");
  ASSERT_NE(languages_.GetCurrentLanguage(), nullptr);
  EXPECT_EQ(languages_.GetCurrentLanguage()->GetName(), "cameralanguage");

  std::string found = "CAMERALANGUAGE";
  EXPECT_EQ(languages_.FindLanguage(found), languages_.GetCurrentLanguage());
  EXPECT_EQ(found, "cameralanguage");

  std::string language = "CameraLanguage", keyword = "Zoom", command = "One";
  EXPECT_TRUE(languages_.AddKeyword(language, keyword, command));
  EXPECT_EQ(language, "cameralanguage");
  EXPECT_EQ(keyword, "Zoom");  // keywords keep their case
  EXPECT_EQ(command, "One");
}

TEST_F(LanguageManagerTest, KeywordsAreCaseSensitive) {
  Make("time");
  ASSERT_TRUE(Keyword("time", "timeservice", "One"));
  ASSERT_TRUE(Push("time"));
  EXPECT_EQ(languages_.LookupKeyword("timeservice"), &H1);
  EXPECT_EQ(languages_.LookupKeyword("TimeService"), nullptr);
}

TEST_F(LanguageManagerTest, CurrentWinsThenTheOldestStackedLanguage) {
  for (const char* name : {"first", "second", "third"}) Make(name);
  ASSERT_TRUE(Keyword("first", "shared", "One"));
  ASSERT_TRUE(Keyword("second", "shared", "Two"));
  ASSERT_TRUE(Keyword("second", "mine", "Two"));
  ASSERT_TRUE(Keyword("third", "mine", "Three"));
  ASSERT_TRUE(Push("first"));
  ASSERT_TRUE(Push("second"));
  ASSERT_TRUE(Push("third"));
  EXPECT_EQ(languages_.GetStackDepth(), 2u);
  EXPECT_EQ(languages_.LookupKeyword("shared"), &H1);
  EXPECT_EQ(languages_.LookupKeyword("mine"), &H3);
  EXPECT_EQ(languages_.LookupKeyword("nothing"), nullptr);

  // Popping returns to the previous language.
  CoreLanguage* popped = languages_.PopLanguage();
  ASSERT_NE(popped, nullptr);
  EXPECT_EQ(popped->GetName(), "second");
  EXPECT_EQ(languages_.LookupKeyword("mine"), &H2);
}

TEST_F(LanguageManagerTest, NoCurrentLanguageFindsNothing) {
  Make("base");
  ASSERT_TRUE(Keyword("base", "go", "One"));
  EXPECT_EQ(languages_.LookupKeyword("go"), nullptr);
}

TEST_F(LanguageManagerTest, PopOnEmptyStackKeepsCurrentAndPushStacksTwice) {
  Make("only");
  EXPECT_EQ(languages_.PopLanguage(), nullptr);
  EXPECT_EQ(languages_.GetCurrentLanguage(), nullptr);
  ASSERT_TRUE(Push("only"));
  CoreLanguage* only = languages_.GetCurrentLanguage();
  EXPECT_EQ(languages_.PopLanguage(), nullptr);
  EXPECT_EQ(languages_.GetCurrentLanguage(), only);
  ASSERT_TRUE(Push("only"));
  EXPECT_EQ(languages_.GetStackDepth(), 1u);
  EXPECT_EQ(languages_.PopLanguage(), only);
  EXPECT_EQ(languages_.GetCurrentLanguage(), only);
  EXPECT_EQ(languages_.GetStackDepth(), 0u);
}

TEST_F(LanguageManagerTest, UnknownNamesAndCommandsChangeNothing) {
  Make("base");
  ASSERT_TRUE(Push("base"));
  EXPECT_FALSE(Push("missing"));
  EXPECT_EQ(languages_.GetCurrentLanguage()->GetName(), "base");
  EXPECT_EQ(languages_.GetStackDepth(), 0u);

  EXPECT_FALSE(Keyword("base", "go", "NotRegistered"));
  EXPECT_FALSE(Keyword("missing", "go", "One"));
  EXPECT_EQ(languages_.LookupKeyword("go"), nullptr);
  EXPECT_TRUE(languages_.GetCurrentLanguage()->GetKeywordMap().empty());
  std::string missing = "Missing";
  EXPECT_EQ(languages_.FindLanguage(missing), nullptr);
}

TEST_F(LanguageManagerTest, RebindingAKeywordReplacesIt) {
  Make("base");
  ASSERT_TRUE(Keyword("base", "go", "One"));
  ASSERT_TRUE(Keyword("base", "go", "Two"));
  ASSERT_TRUE(Push("base"));
  EXPECT_EQ(languages_.LookupKeyword("go"), &H2);
}

TEST_F(LanguageManagerTest, GetOrCreateKeepsAnExistingLanguage) {
  Make("base");
  ASSERT_TRUE(Keyword("base", "go", "One"));
  Make("BASE");
  ASSERT_TRUE(Push("base"));
  EXPECT_EQ(languages_.LookupKeyword("go"), &H1);
}

TEST(LanguageManagerOwnership, AddedLanguagesAreFiledUnderTheirOwnNameAndDeletedOnce) {
  int deaths = 0;
  {
    OCFactory commands;
    LanguageManager languages(&commands);
    auto* gui = new CountedLanguage("GUIButton", &deaths);
    languages.AddLanguage(gui);
    std::string lower = "guibutton";
    EXPECT_EQ(languages.FindLanguage(lower), nullptr);  // filed as given, looked up lower-cased

    auto* first = new CountedLanguage("panel", &deaths);
    languages.AddLanguage(first);
    std::string name = "panel";
    ASSERT_TRUE(languages.PushLanguage(name));
    // Replacing a language that is in use must not free it under the user.
    auto* second = new CountedLanguage("panel", &deaths);
    languages.AddLanguage(second);
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(languages.GetCurrentLanguage(), first);
    EXPECT_EQ(languages.FindLanguage(name), second);
    languages.AddLanguage(second);  // the same object again changes nothing
    languages.AddLanguage(nullptr);
  }
  EXPECT_EQ(deaths, 3);
}

TEST(LanguageManagerOwnership, CommandFactoryCanBeReplaced) {
  OCFactory a, b;
  b.Register("Cmd", &H2);
  LanguageManager languages(&a);
  std::string name = "x", keyword = "k", command = "Cmd";
  languages.GetOrCreateLanguage(name);
  EXPECT_FALSE(languages.AddKeyword(name, keyword, command));
  languages.SetCommandFactory(&b);
  EXPECT_TRUE(languages.AddKeyword(name, keyword, command));
  languages.SetOwnerWord(0xABCD);
  EXPECT_EQ(languages.GetOwnerWord(), 0xABCDu);
}

}  // namespace
