#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "engine/files/DataFile.h"
#include "platform/tests/ScratchDir.h"
#include "platform/DebugOutput.h"

namespace fs = std::filesystem;

namespace {

// A key's values as strings, to compare with the expected list.
std::vector<std::string> ValuesOf(const CDataFile::Key* k) {
  return k ? std::vector<std::string>(k->values.begin(), k->values.end()) : std::vector<std::string>{};
}

// Everything a table holds, in order, for comparing two models.
using Dump = std::vector<std::tuple<std::string, std::string, std::string, std::vector<std::string>, std::string>>;
Dump DumpOf(const CDataFile& f) {
  Dump d;
  for (const auto& s : f.Sections()) {
    d.emplace_back("[" + s->name + "]", s->comment, "", std::vector<std::string>{}, "");
    for (const auto& k : s->keys)
      d.emplace_back(s->name, "", std::string(k->name), ValuesOf(k), std::string(k->comment));
  }
  return d;
}

bool LoadText(CDataFile* f, const std::string& text) { return f->LoadFromMemory(text); }



TEST(DataFile, ReadsKeysListsSectionsAndMarksMissingValues) {
  CDataFile f;
  ASSERT_TRUE(LoadText(&f, "[plane]\nspeed = 120\nparts = <wing, tail ,engine>\n"));
  EXPECT_EQ(f.GetInt("speed", "plane"), 120);
  EXPECT_EQ(f.GetInt("SPEED", "Plane"), 120) << "names ignore case";
  EXPECT_EQ(f.GetInt("range", "plane"), INT_MIN);
  EXPECT_EQ(f.GetFloat("range", "plane"), FLT_MIN);
  EXPECT_EQ(f.GetLong("range", "plane"), static_cast<long>(INT_MIN));
  EXPECT_EQ(f.GetString("parts", "plane", 0), "wing");
  EXPECT_EQ(f.GetString("parts", "plane", 1), "tail");
  EXPECT_EQ(f.GetString("parts", "plane", 2), "engine");
  EXPECT_EQ(f.GetString("parts", "plane", 3), "");
  EXPECT_EQ(f.GetString("parts", "plane", -1), "");
  EXPECT_EQ(f.GetString("parts", "nosuch", 0), "");
  EXPECT_FALSE(f.IsDirty());

  std::vector<std::string> names;
  f.GetSectionNames(&names);
  EXPECT_EQ(names, std::vector<std::string>{"plane"}) << "the unnamed section is not listed";
  names.clear();
  f.GetKeyNames("plane", &names);
  EXPECT_EQ(names, (std::vector<std::string>{"speed", "parts"}));
}

TEST(DataFile, ListFormsAndKeysBeforeTheFirstHeader) {
  CDataFile f;
  ASSERT_TRUE(LoadText(&f,
                       "top: 1\n"
                       "open = <a, b\n"      // no closing bracket: the last item still counts
                       "gaps = <a,,c>\n"     // empty items keep their positions
                       "after = <a,b>c\n"    // '>' separates like ','
                       "empty = <>\n"));
  EXPECT_EQ(f.GetInt("top"), 1);
  EXPECT_EQ(ValuesOf(f.FindKey("open", "")), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ValuesOf(f.FindKey("gaps", "")), (std::vector<std::string>{"a", "", "c"}));
  EXPECT_EQ(ValuesOf(f.FindKey("after", "")), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(ValuesOf(f.FindKey("empty", "")), (std::vector<std::string>{""}));
}

TEST(DataFile, TypedGettersFollowTheCRuntimeConversions) {
  struct Case {
    const char* value;
    int i;
    float f;
    bool b;
  };
  const Case cases[] = {
      {"1", 1, 1.0f, true},         {"10", 10, 10.0f, true},       {"TRUE", 0, 0.0f, true},
      {"Yes", 0, 0.0f, true},       {"0", 0, 0.0f, false},         {"21", 21, 21.0f, false},
      {"on", 0, 0.0f, false},       {"-7 apples", -7, -7.0f, false}, {"2.75", 2, 2.75f, false},
      {"1e3", 1, 1000.0f, true},    {"99999999999", INT_MAX, 1e11f, false},
      {"-99999999999", INT_MIN, -1e11f, false}, {"yes please", 0, 0.0f, false},
  };
  for (const Case& c : cases) {
    CDataFile f;
    ASSERT_TRUE(f.SetValue("k", c.value, "", "s"));
    EXPECT_EQ(f.GetInt("k", "s"), c.i) << c.value;
    EXPECT_EQ(f.GetLong("k", "s"), static_cast<long>(c.i)) << c.value;
    EXPECT_FLOAT_EQ(f.GetFloat("k", "s"), c.f) << c.value;
    EXPECT_EQ(f.GetBool("k", "s"), c.b) << c.value;
    f.Clear();  // keeps the destructor from trying to save
  }
  CDataFile f;
  ASSERT_TRUE(f.SetValue("k", "", "", "s"));
  EXPECT_EQ(f.GetInt("k", "s"), INT_MIN) << "a stored empty value is no value";
  EXPECT_EQ(f.GetFloat("k", "s"), FLT_MIN);
  EXPECT_FALSE(f.GetBool("k", "s"));
  f.Clear();
}

TEST(DataFile, QuotedValues) {
  CDataFile f;
  ASSERT_TRUE(LoadText(&f,
                       "[t]\n"
                       "multi = \"first part\n"
                       "  second part\" tail\n"
                       "single = \"  padded <not a list>  \"\n"
                       "inner = \"a\" and b\n"
                       "empty = \"\"\n"
                       "bare = =\n"
                       "after = 5\n"));
  EXPECT_EQ(f.GetString("multi", "t"), "first part  second part tail") << "joined without a line break";
  EXPECT_EQ(f.GetString("single", "t"), "  padded <not a list>  ") << "one enclosing pair stripped, kept literal";
  EXPECT_EQ(f.GetString("inner", "t"), "\"a\" and b") << "quotes that do not enclose stay";
  ASSERT_NE(f.FindKey("empty", "t"), nullptr) << "\"\" is an explicit empty value";
  EXPECT_EQ(f.GetString("empty", "t"), "");
  EXPECT_EQ(f.FindKey("bare", "t"), nullptr) << "no value: line skipped";
  EXPECT_EQ(f.GetInt("after", "t"), 5);
}

TEST(DataFile, LinesOfAnyLengthAreReadInFull) {
  const std::string longValue(5000, 'x');
  std::string longName(3000, 'n');
  CDataFile f;
  ASSERT_TRUE(LoadText(&f, "[" + longName + "]\nlong = " + longValue + "\nnext = 2\n"));
  EXPECT_EQ(f.GetString("long", longName), longValue);
  EXPECT_EQ(f.GetInt("next", longName), 2) << "lines after a long one are read too";
}

TEST(DataFile, CrLfAndLfFilesReadAlike) {
  const std::string lf = "# c\n[s]\na = 1\nq = \"x\ny\"\nl = <1,2>\n";
  std::string crlf;
  for (char c : lf) crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
  CDataFile a, b;
  ASSERT_TRUE(LoadText(&a, lf));
  ASSERT_TRUE(LoadText(&b, crlf));
  EXPECT_EQ(DumpOf(a), DumpOf(b));
  EXPECT_EQ(b.GetString("q", "s"), "xy");
  CDataFile bom;
  ASSERT_TRUE(LoadText(&bom, "\xEF\xBB\xBF[s]\na = 1\n"));
  EXPECT_EQ(bom.GetInt("a", "s"), 1) << "a byte-order mark does not hide the first header";
}

TEST(DataFile, CommentsAttachToTheNextSectionOrKey) {
  CDataFile f;
  ASSERT_TRUE(LoadText(&f, "# about s\n; more\n[s]\n# about a\nbad line\na = 1\nb = 2\n"));
  EXPECT_EQ(f.FindSection("s")->comment, "\n# about s\n; more");
  EXPECT_EQ(f.FindKey("a", "s")->comment, "\n# about a") << "a skipped line keeps the pending comment";
  EXPECT_EQ(f.FindKey("b", "s")->comment, "");
}

TEST(DataFile, DuplicateHeadersMergeIntoOneSection) {
  platform::ScopedDebugCapture capture;
  CDataFile f;
  ASSERT_TRUE(LoadText(&f, "[plane]\na = 1\n[other]\n[Plane]\nb = 2\na = 3\n"));
  EXPECT_TRUE(capture.Contains("[CDataFile::CreateSection] Section <Plane> allready exists. Aborting."));
  std::vector<std::string> names;
  f.GetSectionNames(&names);
  EXPECT_EQ(names, (std::vector<std::string>{"plane", "other"}));
  EXPECT_EQ(f.GetInt("a", "plane"), 3);
  EXPECT_EQ(f.GetInt("b", "plane"), 2);
}

TEST(DataFile, SetValueCreatesReplacesAndAppends) {
  CDataFile f;
  EXPECT_TRUE(f.SetValue("k", "v0", "c", "new"));
  EXPECT_TRUE(f.IsDirty());
  EXPECT_TRUE(f.SetValue("k", "v5", "", "new", 5)) << "past the end appends";
  EXPECT_EQ(ValuesOf(f.FindKey("k", "new")), (std::vector<std::string>{"v0", "v5"}));
  EXPECT_TRUE(f.SetValue("k", "w0", "c2", "new", 0));
  EXPECT_EQ(f.GetString("k", "new", 0), "w0");
  EXPECT_EQ(f.FindKey("k", "new")->comment, "c2");
  EXPECT_TRUE(f.SetValue("p", "x", "", "new", 2)) << "a new key gets empty values before";
  EXPECT_EQ(ValuesOf(f.FindKey("p", "new")), (std::vector<std::string>{"", "", "x"}));
  EXPECT_FALSE(f.SetValue("", "x", "", "new")) << "no empty key names";
  EXPECT_FALSE(f.SetValue("k", "x", "", "new", -1));
  EXPECT_FALSE(f.SetValue("huge", "x", "", "new", CDataFile::kMaxValuesPerKey));

  f.SetFlags(CDataFile::kDefaultFlags & ~(CDataFile::kAutoCreateSections | CDataFile::kAutoCreateKeys));
  EXPECT_FALSE(f.SetValue("k", "x", "", "missing"));
  EXPECT_FALSE(f.SetValue("other", "x", "", "new"));
  EXPECT_TRUE(f.SetValue("k", "still", "", "new")) << "existing keys can always change";
  // A load creates what it meets whatever the options, and restores them.
  ASSERT_TRUE(LoadText(&f, "[loaded]\nz = 1\n"));
  EXPECT_EQ(f.GetInt("z", "loaded"), 1);
  EXPECT_EQ(f.Flags() & (CDataFile::kAutoCreateSections | CDataFile::kAutoCreateKeys), 0u);
  EXPECT_FALSE(f.IsDirty());
  f.Clear();
}

TEST(DataFile, NamesAndValuesStayValidWhileTheTableGrows) {
  CDataFile f;
  ASSERT_TRUE(LoadText(&f, "[first]\nlist = <a, b, c>\nname = \"kept text\"\n"));
  const CDataFile::Key* list = f.FindKey("list", "first");
  const CDataFile::Key* name = f.FindKey("name", "first");
  ASSERT_NE(list, nullptr);
  ASSERT_NE(name, nullptr);
  const std::string_view keptName = name->name;
  const std::string_view keptValue = name->values[0];

  // Many more sections and keys, then a list grown well past the size it
  // was read with.
  std::string more;
  for (int s = 0; s < 2000; ++s)
    more += "[s" + std::to_string(s) + "]\nkey = value number " + std::to_string(s) + "\n";
  ASSERT_TRUE(LoadText(&f, more));
  for (int i = 3; i < 40; ++i) ASSERT_TRUE(f.SetValue("list", "v" + std::to_string(i), "", "first", i));

  EXPECT_EQ(keptName, "name");
  EXPECT_EQ(keptValue, "kept text");
  EXPECT_EQ(f.FindKey("list", "first"), list) << "keys do not move";
  ASSERT_EQ(list->values.size(), 40u);
  EXPECT_EQ(ValuesOf(list)[2], "c");
  EXPECT_EQ(ValuesOf(list)[39], "v39");
  EXPECT_EQ(f.GetString("key", "s1999"), "value number 1999");
  f.Clear();
}

TEST(DataFile, NameHashFoldsCase) {
  // ('a'-64) ^ (('b'-64) << 1) ^ (('c'-64) << 2) ^ (('d'-64) << 0)
  EXPECT_EQ(CDataFile::NameHash("abcd"), (33u ^ (34u << 1) ^ (35u << 2) ^ 36u));
  EXPECT_EQ(CDataFile::NameHash("ABcD"), CDataFile::NameHash("abcd"));
  EXPECT_EQ(CDataFile::NameHash(""), 0u);
  CDataFile f;
  ASSERT_TRUE(f.SetValue("Key", "1", "", "Sec"));
  for (uint32_t flags : {CDataFile::kDefaultFlags, CDataFile::kDefaultFlags & ~CDataFile::kCompareHashes}) {
    f.SetFlags(flags);
    ASSERT_NE(f.FindSection("sEC"), nullptr);
    EXPECT_EQ(f.FindSection("sEC")->nameHash, CDataFile::NameHash("sec"));
    EXPECT_NE(f.FindKey("KEY", "sec"), nullptr);
    EXPECT_EQ(f.FindKey("KEYS", "sec"), nullptr);
  }
  f.Clear();
}

TEST(DataFile, BigSectionsFindEveryKeyIgnoringCase) {
  std::string text = "[big]\n";
  for (int i = 0; i < 100; ++i) text += "Key" + std::to_string(i) + " = " + std::to_string(i) + "\n";
  text += "KEY7 = 700\n";  // the same key again, other case
  CDataFile f;
  ASSERT_TRUE(LoadText(&f, text));
  ASSERT_EQ(f.FindSection("big")->keys.size(), 100u);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(f.GetInt("kEy" + std::to_string(i), "BIG"), i == 7 ? 700 : i);
  }
  EXPECT_EQ(f.FindKey("key100", "big"), nullptr);
  ASSERT_TRUE(f.SetValue("key100", "x", "", "big"));
  EXPECT_EQ(f.GetString("KEY100", "big"), "x");
  f.Clear();
}

TEST(DataFile, ClearRemovesEverySectionAndTheDirtyMark) {
  CDataFile f;
  ASSERT_TRUE(f.SetValue("k", "v", "", "s"));
  f.Clear();
  EXPECT_TRUE(f.Sections().empty()) << "the unnamed section goes too";
  EXPECT_FALSE(f.IsDirty());
  EXPECT_EQ(f.FindSection(""), nullptr);
  EXPECT_EQ(f.GetString("k", "s"), "");
  ASSERT_TRUE(f.SetValue("k", "v"));
  EXPECT_NE(f.FindSection(""), nullptr) << "SetValue recreates the unnamed section";
  f.Clear();
}

TEST(DataFile, WriterLayoutPadsQuotesAndEndsLinesWithCrLf) {
  CDataFile f;
  ASSERT_TRUE(f.SetValue("top", "1"));
  ASSERT_TRUE(f.CreateSection("plane", "about planes"));
  ASSERT_TRUE(f.SetValue("abc", "1", "", "plane"));
  ASSERT_TRUE(f.SetValue("speed", "a longer value", "# fast", "plane"));
  ASSERT_TRUE(f.SetValue("list", "x", "", "plane", 0));
  ASSERT_TRUE(f.SetValue("list", "y", "", "plane", 1));
  ASSERT_TRUE(f.SetValue("q", "say \"hi\"", "", "plane"));
  ASSERT_TRUE(f.SetValue("e", "", "", "plane"));
  ASSERT_TRUE(f.SetValue("lt", "<a", "", "plane"));
  ASSERT_TRUE(f.SetValue("eq", "a=", "", "plane"));
  const std::string text = f.SaveToText();
  EXPECT_EQ(text,
            "top  :  1\r\n"
            "\r\n# about planes\r\n"
            "[plane]\r\n"
            "abc    :  1\r\n"
            "\r\n# fast\r\nspeed  :  \"a longer value\"\r\n"
            "list   :  <x,y>\r\n"
            "q      :  \"say hi\"\r\n"
            "e      :  \"\"\r\n"
            "lt     :  \"<a\"\r\n"
            "eq     :  \"a=\"\r\n");
  EXPECT_EQ(f.GetString("q", "plane"), "say hi") << "the stored value loses its quotes too";

  // Line ends inside a comment come out as "\r\n" however they were given.
  ASSERT_TRUE(f.SetValue("c", "1", "# one\r\n# two\nthree\n\nfour", "plane"));
  const std::string commented = f.SaveToText();
  EXPECT_NE(commented.find("# two\r\n"), std::string::npos) << commented;
  EXPECT_EQ(commented.find("\r\r"), std::string::npos) << commented;
  for (size_t i = 0; i < commented.size(); ++i) {
    if (commented[i] == '\n') {
      ASSERT_TRUE(i > 0 && commented[i - 1] == '\r') << "bare line feed at " << i;
    }
  }

  f.SetFlags(CDataFile::kDefaultFlags & ~CDataFile::kPadKeyNames);
  EXPECT_NE(f.SaveToText().find("\r\nabc:  1\r\n"), std::string::npos);
  f.Clear();
}

TEST(DataFile, RoundTripReadWriteReadIsEqual) {
  ScratchDir dir;
  const std::string original =
      "; table head\n"
      "loose = 1\n"
      "# planes\n"
      "[plane]\n"
      "speed = 120\n"
      "# cruise info\n"
      "cruise = 0.85\n"
      "name = \"Long Range Twin Jet\"\n"
      "text = \"a quoted value\n"
      "over two lines\"\n"
      "parts = <wing, , tail>\n"
      "padded = \"  blanks kept  \"\n"
      "[empty section]\n"
      "[amenity]\n"
      "cost: 250\n"
      "eq = \"ends with ==\"\n"
      "bool = yes\n";
  const std::string path = dir.Write("Table.txt", original);
  CDataFile first;
  ASSERT_TRUE(first.Load(dir.File("table.TXT"))) << "names resolve in any case";
  EXPECT_EQ(first.GetString("text", "plane"), "a quoted valueover two lines");
  first.SetFileName(dir.File("copy.txt"));
  ASSERT_TRUE(first.Save());
  EXPECT_FALSE(first.IsDirty());

  const std::string written = dir.Read("copy.txt");
  for (size_t i = 0; i < written.size(); ++i) {
    if (written[i] == '\n') {
      ASSERT_TRUE(i > 0 && written[i - 1] == '\r') << "every line ends with CR LF";
    }
  }
  CDataFile second;
  ASSERT_TRUE(second.Load(dir.File("copy.txt")));
  EXPECT_EQ(DumpOf(first), DumpOf(second));
  EXPECT_EQ(second.GetString("name", "plane"), "Long Range Twin Jet") << "no quotes added by the trip";
  EXPECT_EQ(second.GetString("padded", "plane"), "  blanks kept  ");
  EXPECT_EQ(second.GetString("eq", "amenity"), "ends with ==");
  EXPECT_EQ(second.SaveToText(), written) << "the writer is deterministic";
}

TEST(DataFile, RoundTripKeepsNamesAndValuesThatLookLikeSyntax) {
  CDataFile first;
  // A line that is not a header and starts with a byte-order mark keeps it in its key.
  ASSERT_TRUE(LoadText(&first, "\n\xEF\xBB\xBF" "key = 1\n[s]\nv = \"<a,b>\"\nw = \"=x:\"\n"));
  const std::string text = first.SaveToText();
  CDataFile second;
  ASSERT_TRUE(LoadText(&second, text));
  EXPECT_EQ(DumpOf(first), DumpOf(second));
  EXPECT_EQ(second.GetInt("\xEF\xBB\xBF" "key"), 1);
  EXPECT_EQ(second.GetString("v", "s"), "<a,b>");
  EXPECT_EQ(second.GetString("w", "s"), "=x:");
}

TEST(DataFile, SaveFailuresAreReported) {
  ScratchDir dir;
  {
    platform::ScopedDebugCapture capture;
    CDataFile f;
    EXPECT_FALSE(f.Save());
    EXPECT_TRUE(capture.Contains("[CDataFile::Save] Nothing to save."));
  }
  {
    platform::ScopedDebugCapture capture;
    CDataFile f;
    ASSERT_TRUE(f.SetValue("k", "v"));
    EXPECT_FALSE(f.Save());
    EXPECT_TRUE(capture.Contains("[CDataFile::Save] No filename has been set."));
    EXPECT_TRUE(f.IsDirty()) << "a failed save keeps the changes marked";
    f.SetFileName(dir.File("no/such/dir/t.txt"));
    capture.Clear();
    EXPECT_FALSE(f.Save());
    EXPECT_TRUE(capture.Contains("[CDataFile::Save] Unable to save file."));
    f.Clear();
  }
}

TEST(DataFile, DestructorSavesOnlyChangedTables) {
  ScratchDir dir;
  const std::string path = dir.Write("t.txt", "[s]\na = 1\n");
  {
    CDataFile f;
    ASSERT_TRUE(f.Load(path));
  }
  EXPECT_EQ(dir.Read("t.txt"), "[s]\na = 1\n") << "reading only writes nothing";
  {
    CDataFile f;
    ASSERT_TRUE(f.Load(path));
    ASSERT_TRUE(f.SetValue("a", "2", "", "s"));
  }
  CDataFile g;
  ASSERT_TRUE(g.Load(path));
  EXPECT_EQ(g.GetInt("a", "s"), 2);
}

TEST(DataFile, BadInputsAreRefusedAndChangeNothing) {
  ScratchDir dir;
  struct Case {
    const char* what;
    std::string text;
    const char* report;
  };
  std::string manyItems = "k = <";
  for (int i = 0; i <= CDataFile::kMaxValuesPerKey; ++i) manyItems += "1,";
  const Case cases[] = {
      {"truncated quoted value", "[s]\nk = \"never closed\nmore\n", "never closes"},
      {"truncated quote on last line", "[s]\nk = \"", "never closes"},
      {"NUL byte", std::string("[s]\nk = v\0w\n", 12), "control character 0x00"},
      {"binary junk", std::string("\x7f" "ELF\x02\x01\x01\x00\x00\x00\x00\x03\x00>\x00", 16), "control character"},
      {"escape in a key line", "[s]\nk\x1b = 1\n", "Line 2"},
      {"oversized list", manyItems, "lists more than"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.Write("bad.txt", c.text);
    CDataFile f;
    ASSERT_TRUE(LoadText(&f, "[keep]\nx = 1\n"));
    f.SetFileName("before.txt");
    const Dump before = DumpOf(f);
    platform::ScopedDebugCapture capture;
    EXPECT_FALSE(f.Load(path)) << c.what;
    EXPECT_TRUE(capture.Contains(c.report)) << c.what << ": " << capture.Text();
    EXPECT_EQ(DumpOf(f), before) << c.what;
    EXPECT_EQ(f.FileName(), "before.txt") << c.what;
    EXPECT_FALSE(f.LoadFromMemory(c.text)) << c.what;
    EXPECT_EQ(DumpOf(f), before) << c.what;

    // An empty table is read straight into and emptied again on refusal:
    // a fresh one and a cleared one end as they began.
    for (const bool cleared : {false, true}) {
      CDataFile empty;
      if (cleared) empty.Clear();
      const Dump emptyBefore = DumpOf(empty);
      EXPECT_FALSE(empty.LoadFromMemory(c.text)) << c.what << (cleared ? " (cleared)" : " (fresh)");
      EXPECT_EQ(DumpOf(empty), emptyBefore) << c.what << (cleared ? " (cleared)" : " (fresh)");
      EXPECT_FALSE(empty.IsDirty()) << c.what;
      // And it still reads a good table afterwards.
      EXPECT_TRUE(empty.LoadFromMemory("[s]\nk = 1\n")) << c.what;
      EXPECT_EQ(empty.GetInt("k", "s"), 1) << c.what;
    }
  }

  // A file far larger than any table is refused before it is read.
  const std::string big = dir.File("big.txt");
  std::ofstream(big, std::ios::binary).put('x');
  fs::resize_file(big, CDataFile::kMaxFileBytes + 1);
  platform::ScopedDebugCapture capture;
  CDataFile f;
  EXPECT_FALSE(f.Load(big));
  EXPECT_TRUE(capture.Contains("larger than"));
  capture.Clear();
  EXPECT_FALSE(f.Load(dir.File("missing.txt")));
  EXPECT_TRUE(capture.Contains("[CDataFile::Load] Unable to open file. Does it exist?"));
  EXPECT_EQ(f.FileName(), "");
  EXPECT_FALSE(f.Load(dir.Root().string())) << "a directory is not a table";
  EXPECT_EQ(f.Sections().size(), 1u);
}

TEST(DataFile, OddButHarmlessLinesAreRead) {
  // These are accepted by the format; none may crash or stop the read.
  CDataFile f;
  ASSERT_TRUE(LoadText(&f,
                       "[no close\n"
                       "a = 1\n"
                       "[x]tail]\n"
                       "b = 2\n"
                       "=only value\n"
                       "only key\n"
                       "[]\n"
                       "c := 3\n"
                       "\t \r\n"
                       "\n"));
  EXPECT_EQ(f.GetInt("a", "no close"), 1);
  EXPECT_EQ(f.GetInt("b", "x]tail"), 2) << "the last ']' closes the name";
  EXPECT_EQ(f.GetInt("c", ""), 3) << "'[]' is the unnamed section";
  std::vector<std::string> keys;
  f.GetKeyNames("x]tail", &keys);
  EXPECT_EQ(keys, std::vector<std::string>{"b"});
}

}  // namespace
