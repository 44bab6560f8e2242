#include <gtest/gtest.h>

#include <memory>

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefArchive.h"
#include "engine/files/tests/ObjectDefTestUtil.h"
#include "platform/DebugOutput.h"

namespace {

using objtest::Dump;

std::unique_ptr<ObjectDef> MakeObject(const std::string& name, const std::string& baseName = "") {
  auto def = std::make_unique<ObjectDef>();
  def->name = name;
  def->baseName = baseName;
  return def;
}

TEST(ObjectDef, KeysIgnoreCaseAndKeepTheirFirstSpellingAndPosition) {
  auto def = MakeObject("a");
  def->SetValue("Speed", "1");
  def->SetValue("other", "x");
  def->SetValue("SPEED", "2");
  EXPECT_EQ(def->GetValue("speed"), "2");
  ASSERT_EQ(def->children.size(), 2u);
  EXPECT_EQ(def->children[0]->name, "Speed");
  EXPECT_TRUE(def->children[0]->IsValue());
  EXPECT_EQ(def->children[0]->parent, def.get());
  // A missing key reads as empty and is added to the map only.
  EXPECT_EQ(def->GetValue("Missing"), "");
  EXPECT_EQ(def->GetValueMap().count("missing"), 1u);
  EXPECT_EQ(def->children.size(), 2u);
  EXPECT_EQ(def->ToText(0, false), "OBJECT a\n{\n\tset Speed\t\t\t\"2\"\n\tset other\t\t\t\"x\"\n }\n");
}

TEST(ObjectDef, AKeyNamedLikeAChildObjectStillGetsItsOwnEntry) {
  auto def = MakeObject("a");
  def->children.Append(MakeObject("colour").release());
  def->SetValue("colour", "red");
  ASSERT_EQ(def->children.size(), 2u);
  EXPECT_NE(def->children.FindValueEntry("colour"), nullptr);
  EXPECT_NE(def->ToText(0, false).find("set colour\t\t\t\"red\""), std::string::npos);
}

TEST(ObjectDef, WriterPadsKeysToTheValueColumn) {
  struct Case {
    size_t keyLength;
    size_t tabs;
  };
  const Case cases[] = {{3, 4}, {4, 4}, {5, 3}, {12, 3}, {13, 2}, {28, 1}, {29, 0}, {40, 0}};
  for (const Case& c : cases) {
    auto def = MakeObject("o");
    const std::string key(c.keyLength, 'k');
    def->SetValue(key, "v");
    const std::string expected = "\tset " + key + std::string(c.tabs, '\t') + "\"v\"\n";
    EXPECT_NE(def->ToText(0, false).find(expected), std::string::npos) << c.keyLength;
  }
}

TEST(ObjectDef, WriterIndentsOneTabPerTwoLevelsAndMarksInheritedLines) {
  auto a = MakeObject("a", "b");
  ObjectDef* inner = new ObjectDef();
  inner->name = "inner";
  inner->inherited = 1;
  inner->SetValue("x", "1");
  inner->inherited = 1;
  a->children.Append(inner);
  ObjectDef* deeper = new ObjectDef();
  deeper->name = "deeper";
  inner->children.Append(deeper);
  EXPECT_EQ(a->ToText(0, true),
            " OBJECT a:b\n{\n"
            "*OBJECT inner\n{\n"
            " \tset x\t\t\t\t\"1\"\n"
            " \tOBJECT deeper\n\t{\n"
            " \t}\n"
            " }\n"
            " }\n");
  EXPECT_EQ(a->ToText(0, false), "OBJECT a:b\n{\n }\n");
}

TEST(ObjectDef, InheritingKeepsOwnValuesAndIdentity) {
  auto b = MakeObject("b");
  b->comment = "// base\n";
  b->SetValue("x", "base-x");
  b->SetValue("y", "base-y");
  auto a = MakeObject("a", "b");
  a->comment = "// derived\n";
  a->SetValue("x", "1");
  a->InheritFrom(b.get());
  EXPECT_EQ(a->GetValue("x"), "1");
  EXPECT_EQ(a->GetValue("y"), "base-y");
  EXPECT_EQ(a->name, "a");
  EXPECT_EQ(a->comment, "// derived\n");
  EXPECT_EQ(a->baseName, "b");
  EXPECT_EQ(a->base, b.get());
  EXPECT_EQ(a->inherited, 0);
  ASSERT_EQ(a->children.size(), 2u);
  EXPECT_EQ(a->children[1]->name, "y");
  EXPECT_EQ(a->children[1]->inherited, 1);
  EXPECT_EQ(a->children[1]->parent, a.get());
  // Unmarked, a shows only its own x; its OBJECT line names its base.
  EXPECT_EQ(a->ToText(0, false), "// derived\nOBJECT a:b\n{\n\tset x\t\t\t\t\"1\"\n }\n");
  EXPECT_TRUE(a->IsA("B"));
  EXPECT_FALSE(a->IsA("a"));
  EXPECT_TRUE(a->IsDerivedFrom(b.get()));
  EXPECT_FALSE(b->IsDerivedFrom(a.get()));
  // Setting an inherited key makes it the object's own.
  a->SetValue("Y", "mine");
  EXPECT_EQ(a->children[1]->inherited, 0);
  EXPECT_NE(a->ToText(0, false).find("set y"), std::string::npos);
  EXPECT_NE(a->ToText(0, false).find("\"mine\""), std::string::npos);
}

TEST(ObjectDef, MergeCopiesMissingChildrenAndMergesExistingOnes) {
  auto other = MakeObject("other");
  ObjectDef* shared = new ObjectDef();
  shared->name = "Shared";
  shared->comment = "// from other\n";
  shared->SetValue("k", "theirs");
  shared->SetValue("only", "theirs");
  other->children.Append(shared);
  ObjectDef* fresh = new ObjectDef();
  fresh->name = "fresh";
  other->children.Append(fresh);

  auto mine = MakeObject("mine");
  ObjectDef* own = new ObjectDef();
  own->name = "shared";
  own->baseName = "keep";
  own->comment = "// mine\n";
  own->SetValue("k", "ours");
  mine->children.Append(own);
  mine->Merge(other.get(), true);

  ASSERT_EQ(mine->children.size(), 2u);
  EXPECT_EQ(own->GetValue("k"), "ours");
  EXPECT_EQ(own->GetValue("only"), "theirs");
  EXPECT_EQ(own->baseName, "keep");
  EXPECT_EQ(own->comment, "// mine\n");
  EXPECT_EQ(own->inherited, 0);
  EXPECT_EQ(mine->children[1]->name, "fresh");
  EXPECT_EQ(mine->children[1]->inherited, 1);
  EXPECT_EQ(mine->children[1]->parent, mine.get());

  // Copy construction: an independent deep copy.
  ObjectDef copy(*other, false);
  EXPECT_EQ(Dump(&copy), Dump(other.get()));
  EXPECT_NE(copy.children[0], other->children[0]);
  // Merging an object into itself changes nothing.
  const std::string before = Dump(other.get());
  other->Merge(other.get(), true);
  EXPECT_EQ(Dump(other.get()), before);
}

TEST(ObjectDef, BaseChainsThatLoopEndTheWalk) {
  auto a = MakeObject("a", "b");
  auto b = MakeObject("b", "a");
  a->SetBase(b.get());
  b->SetBase(a.get());
  EXPECT_TRUE(a->IsA("b"));
  EXPECT_FALSE(a->IsA("nothing"));
  EXPECT_TRUE(a->IsDerivedFrom(a.get()));
  EXPECT_FALSE(a->IsDerivedFrom(nullptr));
}

TEST(ObjectDef, ListFindsShallowestFirstAndKeyHitsYieldTheirObject) {
  ObjectDefList roots;
  auto* root = new ObjectDef();
  root->name = "file.def";
  roots.Append(root);
  auto* outer = new ObjectDef();
  outer->name = "outer";
  outer->parent = root;
  root->children.Append(outer);
  auto* deep = new ObjectDef();
  deep->name = "target";
  deep->parent = outer;
  outer->children.Append(deep);
  auto* shallow = new ObjectDef();
  shallow->name = "Target";
  shallow->parent = root;
  root->children.Append(shallow);
  outer->SetValue("colour", "red");
  EXPECT_EQ(roots.FindDeep("target"), shallow);
  EXPECT_EQ(roots.FindDeep("COLOUR"), outer);
  EXPECT_EQ(roots.FindDeep("file.def"), nullptr);
  EXPECT_EQ(roots.FindObject("FILE.DEF"), root);
  roots.ResolveAll(roots);
}

TEST(ObjectDef, ArchiveRoundTripAndBadArchivesChangeNothing) {
  ObjectDefList list;
  auto* a = new ObjectDef();
  a->name = "a";
  a->baseName = "b";
  a->comment = "// c\n";
  a->SetValue("Key", std::string(300, 'v'));
  a->SetValue("other", "");
  list.Append(a);
  auto* b = new ObjectDef();
  b->name = std::string(70000, 'n');
  list.Append(b);
  ObjectDefArchive out;
  ASSERT_EQ(list.Serialize(out), status::Ok);

  ObjectDefList back;
  ObjectDefArchive in(out.Bytes());
  ASSERT_EQ(back.Serialize(in), status::Ok);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0]->name, "a");
  EXPECT_EQ(back[0]->baseName, "b");
  EXPECT_EQ(back[0]->comment, "// c\n");
  EXPECT_EQ(back[0]->GetValue("key"), std::string(300, 'v'));
  EXPECT_EQ(back[0]->GetValueMap().size(), 2u);
  EXPECT_EQ(back[1]->name, b->name);

  // Truncations, an oversized count, an oversized string length, junk.
  std::vector<std::vector<uint8_t>> bad;
  for (size_t cut : {size_t{0}, size_t{3}, size_t{4}, size_t{5}, size_t{20}, out.Bytes().size() - 1})
    bad.emplace_back(out.Bytes().begin(), out.Bytes().begin() + static_cast<long>(cut));
  bad.push_back({0xFF, 0xFF, 0xFF, 0x7F});
  bad.push_back({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  bad.push_back({1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 'x'});
  bad.push_back({1, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
  for (const auto& bytes : bad) {
    ObjectDefArchive archive(bytes);
    EXPECT_EQ(back.Serialize(archive), status::Fail) << bytes.size();
    EXPECT_TRUE(archive.Failed());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->name, "a");
  }
  ObjectDef single;
  single.name = "kept";
  ObjectDefArchive junk(std::vector<uint8_t>{5, 'a', 'b'});
  EXPECT_EQ(single.Serialize(junk), status::Fail);
  EXPECT_EQ(single.name, "kept");
}

TEST(ObjectDef, CreatedByTypeName) {
  std::unique_ptr<ObjectDef> def(ObjectDef::CreateObject("ObjectDef"));
  ASSERT_NE(def, nullptr);
  EXPECT_STREQ(def->GetRuntimeClassName(), "ObjectDef");
  EXPECT_TRUE(def->name.empty() && def->children.empty() && !def->parent && !def->base && !def->registered &&
              !def->isValue && !def->inherited);
  EXPECT_EQ(ObjectDef::CreateObject("Other"), nullptr);
  def->parent = def.get();
  def->registered = 1;
  def->name = "n";
  def->Reset();
  EXPECT_EQ(def->parent, nullptr);
  EXPECT_EQ(def->registered, 0);
  EXPECT_EQ(def->name, "n");
}

}  // namespace
