#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/files/ObjectFile.h"
#include "engine/files/TokenReader.h"
#include "platform/tests/ScratchDir.h"

namespace {

void LoadText(ObjectFile& file, const std::string& text) {
  std::vector<std::string> tokens;
  ReadTextTokens(text, &tokens);
  file.LoadTokens(tokens);
}

const char kHelp[] =
    "// topics\r\n"
    "\"object Build\"\r\n"
    "  \"value title Building things\"\r\n"
    "  \"value count 12\"\r\n"
    "  \"value scale 2.5\"\r\n"
    "  \"value odd abc\"\r\n"
    "  \"value text First line\\nSecond\\tline\"\r\n"
    "  \"object Roads\" \"value title Roads\" \"endobject\"\r\n"
    "  \"object Runways\" \"endobject\"\r\n"
    "\"endobject\"\r\n"
    "/* a second\r\n topic */\r\n"
    "\"object Finance\" \"value title Money\" \"endobject\"\r\n";

TEST(ObjectFile, ReadsNestedObjectsAndTypedValues) {
  ObjectFile file;
  LoadText(file, kHelp);
  ASSERT_EQ(file.GetObjects().size(), 2u);
  cObjectDef* build = file.FindObject("Build");
  ASSERT_NE(build, nullptr);
  EXPECT_EQ(file.FindObject("build"), nullptr);  // names compare exactly
  EXPECT_STREQ(build->GetString("title"), "Building things");
  EXPECT_EQ(build->GetInt("count"), 12);
  EXPECT_FLOAT_EQ(build->GetFloat("scale"), 2.5f);
  EXPECT_EQ(build->GetInt("missing"), -1);
  EXPECT_FLOAT_EQ(build->GetFloat("missing"), 0.0f);
  EXPECT_EQ(build->GetInt("odd"), 0);
  EXPECT_EQ(build->GetString("Title"), nullptr);
  // The tab directly after the fourth word ("line\nSecond") comes back as a space.
  EXPECT_STREQ(build->GetString("text"), "First line\nSecond line");
  ASSERT_EQ(build->GetChildren().size(), 2u);
  cObjectDef* roads = build->FindChild("Roads");
  ASSERT_NE(roads, nullptr);
  EXPECT_EQ(roads->GetParent(), build);
  EXPECT_STREQ(roads->GetString("title"), "Roads");
  EXPECT_NE(build->FindChild("Runways"), nullptr);
  ASSERT_NE(file.FindObject("Finance"), nullptr);
  EXPECT_EQ(file.FindObject("Finance")->GetParent(), nullptr);
}

TEST(ObjectFile, ValueKeepsInnerSpacingAndRebuildsTheBreaksAfterItsFirstWords) {
  struct Case {
    const char* statement;
    int parts;
    const char* value;
  };
  const Case cases[] = {
      {"value k a  b   c", 3, "a  b   c"},
      {"value k a\tb\tc\td", 3, "a b c\td"},  // the breaks after words 3 and 4 become spaces
      {"  value\tk\t\tone  ", 3, "one"},
      {"value k", 2, ""},
      {"endobject", 1, ""},
      {"   ", 0, ""},
  };
  for (const Case& c : cases) {
    std::string keyword, operand, value;
    EXPECT_EQ(SplitObjectFileStatement(c.statement, &keyword, &operand, &value), c.parts) << c.statement;
    EXPECT_EQ(value, c.value) << c.statement;
  }
}

TEST(ObjectFile, KeepsNamesKeysAndValuesOfAnyLength) {
  const std::string name(40, 'n'), key(30, 'k'), value(5000, 'v');
  ObjectFile file;
  file.LoadTokens({"object " + name, "value " + key + " " + value, "endobject"});
  ASSERT_NE(file.FindObject(name), nullptr);
  EXPECT_EQ(std::string(file.FindObject(name)->GetString(key)), value);
}

TEST(ObjectFile, SkipsStatementsThatDoNotFit) {
  ObjectFile file;
  // endobject and value with no current object, unknown keywords, short
  // statements, keywords in the wrong case: all skipped.
  file.LoadTokens({"endobject", "value a b", "object", "OBJECT X", "value", "frob x y", "object A", "value k",
                   "Value k v", "value k v", "endobject", "endobject", "value z 1", ";", ""});
  ASSERT_EQ(file.GetObjects().size(), 1u);
  cObjectDef* a = file.FindObject("A");
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->GetValues().size(), 1u);
  EXPECT_STREQ(a->GetString("k"), "v");
  EXPECT_EQ(a->GetString("z"), nullptr);
}

TEST(ObjectFile, DeepNestingIsFreedWithoutRecursion) {
  std::vector<std::string> tokens(200000, "object deep");
  ObjectFile file;
  file.LoadTokens(tokens);
  ASSERT_EQ(file.GetObjects().size(), 1u);
  file.Clear();
  EXPECT_TRUE(file.GetObjects().empty());
}

TEST(ObjectFile, LoadsFromDiskAndEmptiesOnAMissingFile) {
  const ScratchDir dir;
  dir.Write("Help.dat", kHelp);
  ObjectFile file;
  EXPECT_TRUE(file.Load("help.dat", dir.Root().string()));
  EXPECT_EQ(file.GetObjects().size(), 2u);
  EXPECT_FALSE(file.Load("missing.dat", dir.Root().string()));
  EXPECT_TRUE(file.GetObjects().empty());
}

TEST(ObjectFile, BadInputIsSkippedCleanly) {
  static const char kJunk[] = "\"object \0\xff\x01\" \"value \xfe\xfd x\"";
  const std::string cases[] = {
      "\"object A\" \"value k v",                      // truncated inside a quote
      "\"object A\" \"value k v\" \"endobj",            // truncated statement
      std::string(kJunk, sizeof kJunk - 1),            // binary junk
      "\"object A\" /* unterminated comment",
      std::string(3000, '"') + "object",
      "\"value \\\" k\\\" v\"",                         // escaped quotes split the statement
  };
  for (const std::string& text : cases) {
    ObjectFile file;
    LoadText(file, text);
    for (const auto& object : file.GetObjects()) EXPECT_EQ(object->GetParent(), nullptr);
  }
  ObjectFile file;
  LoadText(file, cases[0]);
  ASSERT_NE(file.FindObject("A"), nullptr);
  EXPECT_STREQ(file.FindObject("A")->GetString("k"), "v");
}

}  // namespace
