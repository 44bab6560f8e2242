#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/files/ObjectDefStore.h"
#include "engine/files/ObjectParser.h"
#include "platform/tests/ScratchDir.h"
#include "engine/files/tests/ObjectDefTestUtil.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace {

using objtest::Dump;
using objtest::MemoryFiles;
using objtest::MessageCapture;

class ObjectParserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetDebugStderr(false);
    store.GetParser()->SetFileSource(files.Source());
  }
  void TearDown() override { platform::SetDebugStderr(true); }

  // Loads `text` as "main.def" and returns its root (null when not loaded).
  ObjectDef* Load(const std::string& text) {
    files.Add("main.def", text);
    if (!store.LoadFile("main.def")) return nullptr;
    return store.GetList().FindObject("main.def");
  }

  MemoryFiles files;
  ObjectDefStore store;
  MessageCapture messages;
  platform::ScopedDebugCapture debug;
};

TEST_F(ObjectParserTest, ReadTokenHandlesPlainAndQuotedTokens) {
  ObjectParser parser;
  struct Case {
    const char* line;
    std::vector<std::string> tokens;
    int firstMode;
  };
  const Case cases[] = {
      {"a  b\tc", {"a", "b", "c"}, 1},
      {"\"x y\" z", {"x y", "z"}, 2},
      {"\"  inner blank  \"", {"inner blank"}, 2},
      {"\"\" after", {"", "after"}, 2},
      {"   lead", {"lead"}, 1},
      {"a\"b c", {"a\"b", "c"}, 1},
  };
  for (const Case& c : cases) {
    // Reach the tokenizer through a "set" line on a fresh root.
    MemoryFiles mem;
    mem.Add("t.def", std::string("set k ") + c.line);
    parser.SetFileSource(mem.Source());
    std::unique_ptr<ObjectDef> root(parser.ParseInto("t.def", nullptr));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetValue("k"), c.tokens[0]) << c.line;
  }
  ObjectParser fresh;
  int mode = 0;
  EXPECT_EQ(fresh.ReadToken(&mode), "");
  EXPECT_EQ(mode, -1);
}

TEST_F(ObjectParserTest, ReadsObjectsSettingsNestingAndComments) {
  ObjectDef* root = Load(
      "// first comment\r\n"
      "// second\r\n"
      "OBJECT Plane\r\n"
      "{\r\n"
      "\tset Wings \"2\"\r\n"
      "\tColour \"white  and blue\"   trailing words ignored\r\n"
      "\tset Empty \"\"\r\n"
      "\tset Blanks \"  padded  \"\r\n"
      "\t// inner note\r\n"
      "\tOBJECT Engine:Motor { ignored\r\n"
      "\t{\r\n"
      "\t\tset Power 900\r\n"
      "\t}\r\n"
      "}\r\n"
      "set FileLevel \"yes\"\r\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetValue("filelevel"), "yes");
  ObjectDef* plane = root->children.FindChildObject("plane");
  ASSERT_NE(plane, nullptr);
  EXPECT_EQ(plane->comment, "// first comment\n// second\n");
  EXPECT_EQ(plane->parent, root);
  EXPECT_EQ(plane->GetValue("WINGS"), "2");
  EXPECT_EQ(plane->GetValue("colour"), "white  and blue");
  EXPECT_EQ(plane->GetValue("empty"), "");
  EXPECT_EQ(plane->GetValue("blanks"), "padded");
  ObjectDef* engine = plane->children.FindChildObject("Engine");
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(engine->baseName, "Motor");
  EXPECT_EQ(engine->comment, "// inner note\n");
  EXPECT_EQ(engine->GetValue("power"), "900");
  EXPECT_TRUE(messages.texts.empty());
  // The key keeps its spelling in the writer.
  EXPECT_NE(plane->ToText(0, false).find("set Wings"), std::string::npos);
}

TEST_F(ObjectParserTest, StatementsOutOfPlaceAreReportedAndDropped) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"OBJECT a\nOBJECT b\n{\n}\n", "Syntax Error: Invalid token 'OBJECT'"},
      {"{\nset x 1\n", "Syntax Error: Invalid token '{'"},
      {"OBJECT a\n}\n{\n}\n", "Syntax Error: Invalid token '}'"},
      {"OBJECT a\nset x 1\n{\n}\n", "Syntax Error: Invalid token 'SET'"},
      {"OBJECT a\n*\tset x \"1\"\n{\n}\n", "Syntax Error: Invalid token 'SET'"},
  };
  for (const Case& c : cases) {
    messages.texts.clear();
    store.GetList().DeleteAll();
    ObjectDef* root = Load(c.text);
    ASSERT_NE(root, nullptr) << c.text;
    ASSERT_EQ(messages.texts.size(), 1u) << c.text;
    EXPECT_EQ(messages.texts[0], c.message);
  }
  // The dropped second OBJECT line leaves the first object open.
  store.GetList().DeleteAll();
  ObjectDef* root = Load("OBJECT a\nOBJECT b\n{\nset k v\n}\n");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->children.size(), 1u);
  EXPECT_EQ(root->children[0]->name, "a");
  EXPECT_EQ(root->children[0]->GetValue("k"), "v");
}

TEST_F(ObjectParserTest, LongLinesAreReadInPiecesOf255) {
  std::string line = "set a \"1\"";
  line.resize(255, ' ');
  line += "set b \"2\"";
  ObjectDef* root = Load(line + "\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetValue("a"), "1");
  EXPECT_EQ(root->GetValue("b"), "2");
  // One character less and the second statement is part of the first line.
  std::string shorter = "set c \"1\"";
  shorter.resize(254, ' ');
  ObjectDef* again = Load(shorter + "set d \"2\"\n");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->FindValue("d"), nullptr);
}

TEST_F(ObjectParserTest, DuplicatesReopenAndLaterValuesWin) {
  ObjectDef* root = Load(
      "OBJECT a\n{\nset Key 1\nset other 2\n}\n"
      "OBJECT A\n{\nset KEY 3\nOBJECT inner\n{\n}\n}\n");
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->children.size(), 1u);
  ObjectDef* a = root->children[0];
  EXPECT_EQ(a->GetValue("key"), "3");
  ASSERT_EQ(a->children.size(), 3u);
  EXPECT_EQ(a->children[0]->name, "Key");
  EXPECT_EQ(a->children[2]->name, "inner");
}

TEST_F(ObjectParserTest, InheritanceKeepsOwnValuesAndWritesOnlyOwnLinesUnmarked) {
  ObjectDef* root = Load(
      "OBJECT a:b\n{\nset x 1\n}\n"
      "OBJECT b\n{\nset x 10\nset y 20\n}\n");
  ASSERT_NE(root, nullptr);
  ObjectDef* a = root->children.FindChildObject("a");
  ObjectDef* b = root->children.FindChildObject("b");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->base, b);
  EXPECT_EQ(a->GetValue("x"), "1");
  EXPECT_EQ(a->GetValue("y"), "20");
  EXPECT_EQ(a->ToText(0, false), "OBJECT a:b\n{\n\tset x\t\t\t\t\"1\"\n }\n");
  EXPECT_TRUE(a->IsA("b"));
}

TEST_F(ObjectParserTest, BasesAreFoundAcrossLoadedFiles) {
  files.Add("bases.def", "OBJECT Vehicle\n{\nset Wheels 4\n}\n");
  ASSERT_TRUE(store.LoadFile("bases.def"));
  ObjectDef* root = Load("OBJECT Car:Vehicle\n{\n}\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->children[0]->GetValue("wheels"), "4");
  EXPECT_EQ(store.GetList().size(), 2u);
}

TEST_F(ObjectParserTest, IncludedLinesActAsIfTheyStoodThere) {
  files.Add("settings.inc", "// from the include\nset Speed 5\n");
  files.Add("objects.inc", "OBJECT Included\n{\n}\n");
  ObjectDef* root = Load(
      "OBJECT Car\n{\n#include \"settings.inc\"\n}\n"
      "#include objects.inc\n"
      "#include missing.inc\n"
      "#include\n"
      "OBJECT After\n{\n}\n");
  ASSERT_NE(root, nullptr);
  ObjectDef* car = root->children.FindChildObject("car");
  ASSERT_NE(car, nullptr);
  EXPECT_EQ(car->GetValue("speed"), "5");
  ASSERT_EQ(root->children.size(), 3u);
  EXPECT_EQ(root->children[1]->name, "Included");
  EXPECT_EQ(root->children[2]->name, "After");
}

TEST_F(ObjectParserTest, IncludeLoopsAndDeepChainsAreSkipped) {
  files.Add("a.inc", "set fromA 1\n#include B.INC\n");
  files.Add("b.inc", "set fromB 1\n#include a.inc\n#include main.def\n");
  ObjectDef* root = Load("#include main.def\n#include a.inc\nset end 1\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetValue("froma"), "1");
  EXPECT_EQ(root->GetValue("fromb"), "1");
  EXPECT_EQ(root->GetValue("end"), "1");
  EXPECT_TRUE(debug.Contains("'main.def' includes itself"));
  EXPECT_TRUE(debug.Contains("'a.inc' includes itself"));

  // A chain of 30 distinct files stops at the depth limit.
  for (int i = 0; i < 30; ++i)
    files.Add("c" + std::to_string(i) + ".inc",
              "set level" + std::to_string(i) + " 1\n#include c" + std::to_string(i + 1) + ".inc\n");
  debug.Clear();
  ObjectDef* chain = Load("#include c0.inc\n");
  ASSERT_NE(chain, nullptr);
  EXPECT_NE(chain->FindValue("level14"), nullptr);
  EXPECT_EQ(chain->FindValue("level15"), nullptr);
  EXPECT_TRUE(debug.Contains("nests includes deeper than 16"));

  // The same file under other spellings is still the same file.
  files.Add("self.inc", "set n 1\n#include ./SELF.inc\n#include sub\\..\\self.inc\n#include .//self.inc\n");
  debug.Clear();
  ASSERT_NE(Load("#include self.inc\n"), nullptr);
  EXPECT_TRUE(debug.Contains("'./SELF.inc' includes itself"));
  EXPECT_TRUE(debug.Contains("'.//self.inc' includes itself"));

  // Ten files, each including the next one twice: 2^10 reads without a cap.
  for (int i = 0; i < 10; ++i) {
    const std::string next = "f" + std::to_string(i + 1) + ".inc";
    files.Add("f" + std::to_string(i) + ".inc", "#include " + next + "\n#include " + next + "\n");
  }
  debug.Clear();
  ASSERT_NE(Load("#include f0.inc\n"), nullptr);
  EXPECT_TRUE(debug.Contains("more than 1000 includes in one read"));
}

TEST_F(ObjectParserTest, SettingsWithNoObjectAreIgnoredWithADiagnostic) {
  ObjectDef* root = Load("set before 1\nOBJECT a\n{\n}\n}\nset orphan 1\nkey \"v\"\nOBJECT later\n{\nset x 1\n}\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetValue("before"), "1");
  EXPECT_EQ(root->FindValue("orphan"), nullptr);
  EXPECT_TRUE(debug.Contains("'orphan' set outside any object; ignored"));
  EXPECT_TRUE(debug.Contains("'key' set outside any object; ignored"));
  // With no current object the later object is filed in the root list itself.
  EXPECT_NE(store.GetList().FindObject("later"), nullptr);

  // The parser on its own, with no root and no list.
  ObjectParser bare;
  MemoryFiles mem;
  mem.Add("bare.def", "set a 1\nOBJECT x\n{\nset k v\n}\n");
  bare.SetFileSource(mem.Source());
  EXPECT_TRUE(bare.ParseFile("bare.def"));
  EXPECT_TRUE(debug.Contains("top-level object 'x' is dropped"));
}

TEST_F(ObjectParserTest, UnclosedObjectsAreDroppedAndDoNotLeakIntoTheNextFile) {
  files.Add("open.def", "OBJECT Done\n{\n}\nOBJECT Open\n{\nset k 1\nOBJECT Inner\n{\n");
  ASSERT_TRUE(store.LoadFile("open.def"));
  ObjectDef* open = store.GetList().FindObject("open.def");
  ASSERT_EQ(open->children.size(), 1u);
  EXPECT_EQ(open->children[0]->name, "Done");
  EXPECT_TRUE(debug.Contains("2 object(s) not closed"));
  ObjectDef* next = Load("}\nOBJECT Fresh\n{\n}\n");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(open->children.size(), 1u);
  EXPECT_NE(next->children.FindChildObject("fresh"), nullptr);
  // The next file starts between objects, so its surplus "}" is an error.
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_EQ(messages.texts[0], "Syntax Error: Invalid token '}'");
}

TEST_F(ObjectParserTest, AFailedReReadKeepsTheRoot) {
  ObjectDef* root = Load("OBJECT a\n{\nset k 1\n}\n");
  ASSERT_NE(root, nullptr);
  const std::string before = Dump(root);
  files.files.clear();
  EXPECT_FALSE(store.LoadFile("main.def"));
  ASSERT_EQ(store.GetList().size(), 1u);
  EXPECT_EQ(store.GetList()[0], root);
  EXPECT_EQ(Dump(root), before);
  EXPECT_FALSE(store.LoadFile("never.def"));
  EXPECT_EQ(store.GetList().size(), 1u);
  // A successful re-read re-opens objects and overwrites their values.
  files.Add("main.def", "OBJECT a\n{\nset k 2\n}\nOBJECT b\n{\n}\n");
  EXPECT_TRUE(store.LoadFile("MAIN.DEF"));
  EXPECT_EQ(root->children.size(), 2u);
  EXPECT_EQ(root->children[0]->GetValue("k"), "2");
}

TEST_F(ObjectParserTest, ObjectsNestedTooDeepAreSkippedAsAWhole) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "OBJECT n" + std::to_string(i) + "\n{\n";
  text += "set deepest 1\n";
  for (int i = 0; i < 300; ++i) text += "}\n";
  text += "OBJECT sibling\n{\n}\n";
  ObjectDef* root = Load(text);
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(debug.Contains("nests deeper than 256 objects"));
  ASSERT_EQ(root->children.size(), 2u);
  EXPECT_EQ(root->children[1]->name, "sibling");
  int depth = 0;
  for (const ObjectDef* p = root->children[0]; p; p = p->children.empty() ? nullptr : p->children[0]) ++depth;
  EXPECT_EQ(depth, static_cast<int>(ObjectParser::kMaxObjectDepth));
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ObjectParserTest, InheritanceLoopsAndRunawayCopiesAreRefused) {
  ObjectDef* root = Load("OBJECT a:b\n{\n}\nOBJECT b:a\n{\n}\nOBJECT self:self\n{\nset k 1\n}\n");
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(debug.Contains("the bases form a loop"));
  EXPECT_FALSE(root->children.FindChildObject("b")->IsA("zzz"));
  EXPECT_EQ(root->children.FindChildObject("self")->children.size(), 1u);

  // Each level holds two objects derived from the level below: the copies
  // would double 40 times over.
  std::string text = "OBJECT L0\n{\nset v 1\n}\n";
  for (int i = 1; i <= 40; ++i) {
    const std::string below = "L" + std::to_string(i - 1);
    text += "OBJECT L" + std::to_string(i) + "\n{\nOBJECT x:" + below + "\n{\n}\nOBJECT y:" + below + "\n{\n}\n}\n";
  }
  debug.Clear();
  store.GetList().DeleteAll();
  ASSERT_NE(Load(text), nullptr);
  EXPECT_TRUE(debug.Contains("the copy would be too large"));
}

// Structure, bases, includes, comments, keys with blanks, a value holding a
// double quote: read, write, read again gives the same tree and the same text.
TEST_F(ObjectParserTest, RoundTripWithIncludesAndBases) {
  const ScratchDir scratch;
  const std::string dir = scratch.Root().string();
  fs::create_directories(scratch.Root() / "Sub");
  scratch.Write("Main.def",
      "// the main file\r\n"
      "#include \"bases.def\"\r\n"
      "OBJECT Plane:Vehicle\r\n{\r\n"
      "\tset Wings \"2\"\r\n"
      "\tColour \"white with stripes\"\r\n"
      "\tset Quote say\"hi\r\n"
      "\t// its engine\r\n"
      "\tOBJECT Engine:Motor\r\n\t{\r\n\t\tset Power \"900\"\r\n\t}\r\n"
      "\tOBJECT colour\r\n\t{\r\n\t}\r\n"
      "}\r\n"
      "#include \"sub\\extra.def\"\r\n");
  scratch.Write("bases.def",
      "// a vehicle\n"
      "OBJECT Vehicle\n{\n\tset Wheels \"4\"\n\tset Colour \"grey\"\n"
      "\t// the base engine\n\tOBJECT Engine\n\t{\n\t\tset Fuel \"kerosene\"\n\t}\n"
      "\tOBJECT Seat\n\t{\n\t\tset Count \"100\"\n\t}\n}\n"
      "OBJECT Motor\n{\n\tset Power \"100\"\n\tset Torque \"50\"\n}\n");
  scratch.Write("Sub/EXTRA.def", "OBJECT \"Big Hangar\"\n{\n\tset \"Door Width\" \"40\"\n}\n");

  ObjectDefStore first;
  first.GetParser()->SetBaseDirectory(dir);
  ASSERT_TRUE(first.LoadFile("main.def"));
  ObjectDef* original = first.GetList().FindObject("main.def");
  ASSERT_NE(original, nullptr);
  ObjectDef* plane = original->children.FindChildObject("plane");
  ASSERT_NE(plane, nullptr);
  EXPECT_EQ(plane->GetValue("wheels"), "4");
  EXPECT_EQ(plane->GetValue("colour"), "white with stripes");
  EXPECT_EQ(plane->GetValue("quote"), "say\"hi");
  EXPECT_EQ(plane->children.FindChildObject("engine")->GetValue("fuel"), "kerosene");
  EXPECT_EQ(plane->children.FindChildObject("engine")->GetValue("torque"), "50");
  EXPECT_NE(plane->children.FindChildObject("seat"), nullptr);
  ASSERT_NE(original->children.FindChildObject("big hangar"), nullptr);

  ASSERT_TRUE(first.GetParser()->WriteFile("out.def"));
  std::string written;
  ASSERT_TRUE(platform::ReadFileText("out.def", ObjectParser::kMaxFileBytes, &written, nullptr, dir));
  for (size_t i = 0; i < written.size(); ++i)
    if (written[i] == '\n') {
      ASSERT_TRUE(i > 0 && written[i - 1] == '\r') << "bare LF at " << i;
    }
  EXPECT_NE(written.find("*\tset Wheels"), std::string::npos);

  ObjectDefStore second;
  second.GetParser()->SetBaseDirectory(dir);
  ASSERT_TRUE(second.LoadFile("out.def"));
  ObjectDef* reread = second.GetList().FindObject("out.def")->children.FindChildObject("main.def");
  ASSERT_NE(reread, nullptr);
  EXPECT_EQ(Dump(reread), Dump(original));
  EXPECT_EQ(reread->ToText(0, true), original->ToText(0, true));
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ObjectParserTest, BothLineEndsReadTheSame) {
  const std::string lf = "// c\nOBJECT a:b\n{\nset k \"v w\"\n}\nOBJECT b\n{\nset z 1\n}\n";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string fromLf = Dump(Load(lf));
  store.GetList().DeleteAll();
  EXPECT_EQ(Dump(Load(crlf)), fromLf);
}

// Bad input: every case is read past without a crash, what stood before the
// damage is kept, and the problems are reported.
TEST_F(ObjectParserTest, BadInputIsSkippedCleanly) {
  const std::string good = "OBJECT good\n{\nset k \"v\"\n}\n";
  static const char kJunk[] = "\x00\x01\xff\xfe{}\"\x00OBJECT\xff\n\x7f\x80 set \"\x00\n}}}}\n";
  const std::string junk(kJunk, sizeof kJunk - 1);
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"truncated inside an object", good + "OBJECT cut\n{\nset a \"1\"\nOBJECT deeper\n"},
      {"truncated inside a quote", good + "OBJECT q\n{\nset a \"never closed"},
      {"truncated after OBJECT", good + "OBJECT"},
      {"malformed lines", good + "}\n}\n{\n{\nOBJECT\nSET\nset\n\"\n:\nOBJECT :x\nOBJECT a:\n#include \"\n*\n*OBJECT\n"},
      {"binary junk", good + junk},
      {"only junk then good", junk + good},
      {"include loop", good + "#include main.def\n#include MAIN.DEF\n"},
      {"lone CRs", good + "OBJECT cr\r{\rset a 1\r}\r"},
      {"stray inherited block", good + "*OBJECT x\n{\nOBJECT y\n{\n}\n"},
  };
  for (const Case& c : cases) {
    store.GetList().DeleteAll();
    ObjectDef* root = Load(c.text);
    ASSERT_NE(root, nullptr) << c.what;
    ObjectDef* kept = root->children.FindChildObject("good");
    ASSERT_NE(kept, nullptr) << c.what;
    EXPECT_EQ(kept->GetValue("k"), "v") << c.what;
    // The damaged tree still writes and reads back.
    ObjectDefStore again;
    MemoryFiles mem;
    mem.Add("w.def", store.GetParser()->GetText());
    again.GetParser()->SetFileSource(mem.Source());
    EXPECT_TRUE(again.LoadFile("w.def")) << c.what;
  }
  EXPECT_FALSE(messages.texts.empty());
  EXPECT_TRUE(debug.Contains("includes itself"));
}

}  // namespace
