// Reading description files: files refused as a whole before anything is
// made, statements refused one by one while the rest loads as if they were
// absent, user languages, and the block rules of the parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/config/CoreLanguage.h"
#include "gui/core/GUIButton.h"
#include "gui/core/tests/GUITestKit.h"
#include "platform/DebugOutput.h"
#include "platform/tests/ScratchDir.h"

namespace {

using guitest::Kit;

// Names and kinds in tree order, with the depth, and each entity's position.
void Describe(GUIEntity* entity, int depth, std::string* out) {
  *out += std::string(static_cast<size_t>(depth) * 2, ' ') + entity->GetName() + " " +
          std::to_string(entity->GetKind()) + " @" + std::to_string(entity->GetPositionX()) + "," +
          std::to_string(entity->GetPositionY()) + " v" + std::to_string(entity->IsVisible()) + "\n";
  for (GUIEntity* child : entity->Children()) Describe(child, depth + 1, out);
}

std::string Tree(Kit& kit) {
  std::string out;
  if (GUIWorld* world = kit.gui.GetWorld()) Describe(world, 0, &out);
  return out;
}

std::string LongList() {
  std::string words;
  for (int i = 0; i < 4100; ++i) words += " w";
  return words;
}

TEST(GUIFileRead, FilesRefusedWholeCreateNothing) {
  struct Case {
    const char* name;
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"open quote", "scene s {\n  caption \"never closed;\n}\n", "line 2: quoted text never closes"},
      {"open comment", "scene s {\n}\n/* to the end\n", "line 3: comment never closes"},
      {"binary byte", std::string("scene s {\n}\nbut\x01ton b;\n"), "line 3: binary byte"},
      {"block never closed", "scene s {\n  button b {\n}\n", "a block is never closed"},
      {"closing brace too many", "scene s {\n}\n}\n", "line 3: \"}\" closes no block"},
      {"statement too long", "listbox l {\n data" + LongList() + ";\n}\n",
       "line 2: statement too long"},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kit kit(false);
    const std::string file = dir.Write("bad.gui", c.text);
    platform::ScopedDebugCapture log;
    EXPECT_FALSE(kit.gui.LoadGUIFile(file));
    EXPECT_TRUE(log.Contains(file)) << log.Text();
    EXPECT_TRUE(log.Contains(c.message)) << log.Text();
    EXPECT_EQ(kit.gui.GetWorld(), nullptr);
  }
}

TEST(GUIFileRead, FilesThatCannotBeReadAreRefusedWithTheirCause) {
  ScratchDir dir;
  struct Case {
    const char* name;
    std::string path;
    const char* message;
  };
  const std::string big = dir.Write("big.gui", std::string((4u << 20) + 1, ' '));
  std::filesystem::create_directories(dir.File("folder.gui"));
  const Case cases[] = {
      {"missing", dir.File("none.gui"), "The file could not be found."},
      {"a folder", dir.File("folder.gui"), "The specified path is invalid."},
      {"too large", big, "larger than"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kit kit(false);
    platform::ScopedDebugCapture log;
    EXPECT_FALSE(kit.gui.LoadGUIFile(c.path));
    EXPECT_TRUE(log.Contains(c.message)) << log.Text();
    EXPECT_EQ(kit.gui.GetWorld(), nullptr);
  }
}

// A small screen; each case adds one bad statement at the marker.
constexpr const char* kBase =
    "scene s {\n"
    "  position 1 -1 0;\n"
    "  button b {\n"
    "    position 2 -2 0;\n"
    "    @\n"
    "  }\n"
    "  listbox l {\n"
    "    data one two;\n"
    "    button nested {\n"
    "      @@\n"
    "    }\n"
    "  }\n"
    "}\n";

// The bad statement goes into the button "b" or, for `nested`, into the
// button inside the list box (where the list box's language is stacked).
std::string WithStatement(const std::string& bad, bool nested = false) {
  std::string text = kBase;
  const size_t inner = text.find("@@");
  text.replace(inner, 2, nested ? bad : "");
  text.replace(text.find('@'), 1, nested ? "" : bad);
  return text;
}

TEST(GUIFileRead, RefusedStatementsChangeNothingAndTheRestLoads) {
  ScratchDir dir;
  std::string expected;
  {
    Kit kit(false);
    ASSERT_TRUE(kit.gui.LoadGUIFile(dir.Write("base.gui", WithStatement(""))));
    expected = Tree(kit);
  }
  struct Case {
    const char* name;
    const char* statement;
    const char* message;
    bool nested = false;
  };
  const Case cases[] = {
      {"short position", "position 5 5;", "5: statement \"position\" refused"},
      {"short scale", "scale 2;", "5: statement \"scale\" refused"},
      {"unknown state word", "stateshader hovering x.bmp;", "5: statement \"stateshader\" refused"},
      {"keyword of no language in reach", "range 1 5;", ""},
      {"list-box command on a button", "highlightshader h.bmp;", "10: statement \"highlightshader\" refused", true},
      {"list-box data on a button", "data three;", "10: statement \"data\" refused", true},
      {"collision shape cut short", "property cttype complex rect 0 0 1;", "5: statement \"property\" refused"},
      {"unknown property", "property sparkle true;", "5: statement \"property\" refused"},
      {"creation without a name", "button { position 9 9 9; }", "5: \"button\" opened no block"},
      {"brace after a plain statement", "position 7 7 7 { scale 3 3 3; }", "5: \"position\" opened no block"},
      {"pop without a name", "poplanguage;", "5: statement \"poplanguage\" refused"},
      {"world size with a missing value", "worldsize 1 1;", "5: statement \"worldsize\" refused"},
      {"camera with a missing value", "campos 1 1;", "5: statement \"campos\" refused"},
      {"tooltip anchor out of range", "tooltip_position 10 1;", "5: statement \"tooltip_position\" refused"},
      {"action never registered", "action mouse0_click NoSuchAction x;", "5: statement \"action\" refused"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kit kit(false);
    const std::string file = dir.Write("case.gui", WithStatement(c.statement, c.nested));
    platform::ScopedDebugCapture log;
    EXPECT_TRUE(kit.gui.LoadGUIFile(file));
    // The position of a refused statement ran before the block of the bad
    // "{" was skipped; everything else is as if the statement was absent.
    if (std::string(c.name) != "brace after a plain statement") {
      EXPECT_EQ(Tree(kit), expected);
    }
    EXPECT_TRUE(log.Contains(c.message)) << log.Text();
    EXPECT_EQ(kit.gui.GetParser()->GetParentDepth(), 0u);
  }
}

TEST(GUIFileRead, BlockRulesOfTheParser) {
  ScratchDir dir;
  Kit kit(false);
  ASSERT_TRUE(kit.gui.LoadGUIFile(dir.Write("a.gui",
                                            "scene s {\n"
                                            "  button inner {\n"
                                            "    position 1 -1 0;;\n"
                                            "    position 2 -2 0\n"  // no ";": runs after the "}"
                                            "  }\n"
                                            "  static pic {\n"
                                            "  }\n"
                                            "  property dynamic true;\n"  // still the scene's language
                                            "}\n"
                                            "button last;text;\n"
                                            "position 3 -3 0")));  // the last statement without ";"
  auto* scene = dynamic_cast<GUIScene*>(kit.gui.FindEntity("s"));
  auto* inner = dynamic_cast<GUIButton*>(kit.gui.FindEntity("inner"));
  ASSERT_NE(scene, nullptr);
  ASSERT_NE(inner, nullptr);
  EXPECT_FLOAT_EQ(inner->GetPositionX(), 1.0f);
  EXPECT_FLOAT_EQ(scene->GetPositionX(), 2.0f);
  EXPECT_EQ(scene->GetAutoSize(), 1);
  // "button last;" makes a button with no block: it is completed at once.
  ASSERT_NE(kit.gui.FindEntity("last"), nullptr);
  EXPECT_EQ(kit.gui.FindEntity("last")->GetParent(), kit.gui.GetWorld());
  EXPECT_FLOAT_EQ(kit.gui.GetWorld()->GetPositionX(), 3.0f);
  // A second file adds to the same world.
  ASSERT_TRUE(kit.gui.LoadGUIFile(dir.Write("b.gui", "scene t {\n}\n")));
  ASSERT_NE(kit.gui.FindEntity("t"), nullptr);
  EXPECT_EQ(kit.gui.FindEntity("t")->GetParent(), kit.gui.GetWorld());
  EXPECT_EQ(kit.gui.FindEntity("s")->GetParent(), kit.gui.GetWorld());
}

TEST(GUIFileRead, UserLanguageBindsNewKeywords) {
  ScratchDir dir;
  Kit kit(false);
  ASSERT_TRUE(kit.gui.LoadGUIFile(dir.Write("lang.gui",
                                            "language MyWords {\n"
                                            "  langdef knopf DefaultButtonCommand;\n"
                                            "  langdef nothing NoSuchCommand;\n"
                                            "}\n"
                                            "setlanguage MyWords;\n"
                                            "knopf made {\n"
                                            "}\n"
                                            "poplanguage GUICommon;\n")));
  EXPECT_NE(dynamic_cast<GUIButton*>(kit.gui.FindEntity("made")), nullptr);
  std::string name = "mywords";
  CoreLanguage* language = kit.languages.FindLanguage(name);
  ASSERT_NE(language, nullptr);
  EXPECT_NE(language->Lookup("knopf"), nullptr);
  EXPECT_EQ(language->Lookup("nothing"), nullptr);
  // The language's entity stays in the tree, inactive.
  GUIEntity* entity = kit.gui.FindEntity("MyWords");
  ASSERT_NE(entity, nullptr);
  EXPECT_FALSE(entity->IsActive());
  EXPECT_EQ(kit.languages.GetCurrentLanguage()->GetName(), "guicommon");
}

}  // namespace
