#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/files/SerializeRecord.h"
#include "engine/files/Serializer.h"
#include "platform/tests/ScratchDir.h"
#include "platform/DebugOutput.h"

namespace fs = std::filesystem;

namespace {

const uint8_t* Bytes(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

TEST(Serializer, BlocksAreCountPrefixedAndReadBackInOrder) {
  ScratchDir dir;
  const std::string path = dir.File("Game.kv9");
  {
    cSerializer out;
    ASSERT_TRUE(out.Initialize(path, true));
    EXPECT_TRUE(out.WriteBlock(nullptr, 0));
    EXPECT_TRUE(out.WriteBlock(Bytes("A"), 1));
    EXPECT_TRUE(out.WriteBlock(Bytes("hello"), 5));
    EXPECT_TRUE(out.Close());
    EXPECT_FALSE(out.Close()) << "nothing left to close";
  }
  EXPECT_EQ(dir.Read("Game.kv9"), std::string("\0\0\0\0\1\0\0\0A\5\0\0\0hello", 18));

  cSerializer in;
  ASSERT_TRUE(in.Initialize(dir.File("GAME.KV9"), false)) << "names resolve in any case";
  SerialBlock block;
  uint32_t n = 99;
  ASSERT_TRUE(in.ReadBlock(&block, &n));
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(n, 0u);
  const int64_t afterFirst = in.GetPosition();
  ASSERT_TRUE(in.ReadBlock(&block, &n));
  ASSERT_EQ(n, 1u);
  EXPECT_EQ(block[0], 'A');
  ASSERT_TRUE(in.ReadBlock(&block, &n));
  ASSERT_EQ(n, 5u);
  EXPECT_EQ(std::memcmp(block.get(), "hello", 5), 0);
  EXPECT_FALSE(in.ReadBlock(&block, &n)) << "the end of the file";
  EXPECT_EQ(block, nullptr);
  ASSERT_TRUE(in.SetPosition(afterFirst));
  ASSERT_TRUE(in.ReadBlock(&block, &n));
  EXPECT_EQ(n, 1u) << "a reader can look ahead and come back";
  EXPECT_TRUE(in.Close());
}

TEST(Serializer, CountIsLittleEndian) {
  ScratchDir dir;
  std::vector<uint8_t> payload(300, 7);
  cSerializer out;
  ASSERT_TRUE(out.Initialize(dir.File("c.kv9"), true));
  ASSERT_TRUE(out.WriteBlock(payload.data(), 300));
  ASSERT_TRUE(out.Close());
  const std::string file = dir.Read("c.kv9");
  ASSERT_EQ(file.size(), 304u);
  EXPECT_EQ(file.substr(0, 4), std::string("\x2C\x01\x00\x00", 4));
}

TEST(Serializer, OpenFailureMakesEveryOperationFail) {
  ScratchDir dir;
  const std::string longName = dir.File(std::string(300, 'n') + "/missing.kv9");
  platform::ScopedDebugCapture capture;
  cSerializer s;
  EXPECT_FALSE(s.Initialize(longName, false));
  EXPECT_TRUE(capture.Contains("[cSerializer::Initialize]\tThere was a problem opening file " + longName +
                               " for serialization."))
      << "the whole name, never cut";
  SerialBlock block;
  uint32_t n = 0;
  EXPECT_FALSE(s.ReadBlock(&block, &n));
  EXPECT_FALSE(s.WriteBlock(Bytes("x"), 1));
  EXPECT_FALSE(s.Close());
  EXPECT_FALSE(s.Initialize(dir.File("no/dir/x.kv9"), true)) << "a write into a missing folder";
  EXPECT_FALSE(s.Close());
}

TEST(Serializer, EachDirectionRefusesTheOther) {
  ScratchDir dir;
  const std::string path = dir.Write("d.kv9", std::string("\1\0\0\0Z", 5));
  cSerializer in;
  ASSERT_TRUE(in.Initialize(path, false));
  EXPECT_FALSE(in.WriteBlock(Bytes("x"), 1));
  cSerializer out;
  ASSERT_TRUE(out.Initialize(dir.File("e.kv9"), true));
  SerialBlock block;
  uint32_t n = 0;
  EXPECT_FALSE(out.ReadBlock(&block, &n));
  EXPECT_FALSE(out.WriteBlock(nullptr, 3)) << "no bytes for a non-zero count";
  EXPECT_TRUE(out.Close());
}

TEST(Serializer, SaveReplacesTheOldFileOnlyWhenClosed) {
  ScratchDir dir;
  const std::string path = dir.Write("s.kv9", "old save");
  {
    cSerializer out;
    ASSERT_TRUE(out.Initialize(path, true));
    ASSERT_TRUE(out.WriteBlock(Bytes("new"), 3));
    EXPECT_EQ(dir.Read("s.kv9"), "old save") << "the old save stands while writing";
    // Destroyed without Close: the write is abandoned.
  }
  EXPECT_EQ(dir.Read("s.kv9"), "old save");
  for (const auto& e : fs::directory_iterator(dir.Root()))
    EXPECT_EQ(e.path().filename(), "s.kv9") << "the abandoned temporary is removed";
  cSerializer out;
  ASSERT_TRUE(out.Initialize(path, true));
  ASSERT_TRUE(out.WriteBlock(Bytes("new"), 3));
  ASSERT_TRUE(out.Close());
  EXPECT_EQ(dir.Read("s.kv9"), std::string("\3\0\0\0new", 7));
}

TEST(Serializer, BadFilesAreRefusedWithoutAllocatingOrCrashing) {
  ScratchDir dir;
  struct Case {
    const char* what;
    std::string bytes;
    int goodBlocks;  // blocks read before the refusal
  };
  const Case cases[] = {
      {"empty file", "", 0},
      {"count cut short", std::string("\5\0", 2), 0},
      {"block cut short", std::string("\5\0\0\0abc", 7), 0},
      {"huge count", std::string("\xFF\xFF\xFF\xFF", 4) + "junk", 0},
      {"count one past the end", std::string("\1\0\0\0x\2\0\0\0y", 10), 1},
      {"binary junk", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0},
  };
  for (const Case& c : cases) {
    const std::string path = dir.Write("bad.kv9", c.bytes);
    cSerializer in;
    ASSERT_TRUE(in.Initialize(path, false)) << c.what;
    SerialBlock block;
    uint32_t n = 0;
    for (int i = 0; i < c.goodBlocks; ++i) ASSERT_TRUE(in.ReadBlock(&block, &n)) << c.what;
    block = std::make_unique<uint8_t[]>(1);
    n = 42;
    EXPECT_FALSE(in.ReadBlock(&block, &n)) << c.what;
    EXPECT_EQ(block, nullptr) << c.what;
    EXPECT_EQ(n, 0u) << c.what;
    EXPECT_FALSE(in.ReadBlock(&block, &n)) << c.what << ": the reader stays at the end";
    EXPECT_TRUE(in.Close());
  }
}

// A saved object as the game's managers write them: fields packed with the
// record writer, unpacked with the checked reader.
class TestManager : public cSerialized_Object {
 public:
  int32_t money = 0;
  float rate = 0.0f;
  uint8_t flag = 0;
  std::string name;
  std::string text;

  bool Save(SerialBlock* bytes, uint32_t* n) override {
    SaveRecordWriter w;
    w.PutI32(money);
    w.PutF32(rate);
    w.PutU8(flag);
    if (!w.PutString8(name) || !w.PutString16(text)) return false;
    return w.Release(bytes, n);
  }
  bool LoadFromBlob(const uint8_t* bytes, uint32_t n) override {
    SaveRecordReader r(bytes, n);
    int32_t m = 0;
    float f = 0;
    uint8_t b = 0;
    std::string s, t;
    r.GetI32(&m);
    r.GetF32(&f);
    r.GetU8(&b);
    r.GetString8(&s);
    r.GetString16(&t);
    if (!r.Ok() || r.Remaining() != 0) return false;  // all or nothing
    money = m, rate = f, flag = b, name = s, text = t;
    return true;
  }
};

TEST(Serializer, SaveRecordsRoundTripThroughAFile) {
  ScratchDir dir;
  TestManager a;
  a.money = -123456;
  a.rate = 0.125f;
  a.flag = 1;
  a.name = "Somewhere";
  a.text = std::string(1000, 'w');
  TestManager b;
  b.name = "second";

  cSerializer out;
  ASSERT_TRUE(out.Initialize(dir.File("r.kv9"), true));
  for (TestManager* m : {&a, &b}) {
    SerialBlock block;
    uint32_t n = 0;
    ASSERT_TRUE(m->Save(&block, &n));
    ASSERT_TRUE(out.WriteBlock(block.get(), n));
  }
  ASSERT_TRUE(out.Close());

  cSerializer in;
  ASSERT_TRUE(in.Initialize(dir.File("r.kv9"), false));
  TestManager a2, b2;
  for (TestManager* m : {&a2, &b2}) {
    SerialBlock block;
    uint32_t n = 0;
    ASSERT_TRUE(in.ReadBlock(&block, &n));
    ASSERT_TRUE(m->LoadFromBlob(block.get(), n));
  }
  EXPECT_EQ(a2.money, a.money);
  EXPECT_EQ(a2.rate, a.rate);
  EXPECT_EQ(a2.flag, a.flag);
  EXPECT_EQ(a2.name, a.name);
  EXPECT_EQ(a2.text, a.text);
  EXPECT_EQ(b2.name, "second");
  EXPECT_TRUE(in.Close());
}

TEST(SaveRecord, WriterLayoutAndLimits) {
  SaveRecordWriter w;
  w.PutU8(0xAB);
  w.PutU16(0x1234);
  w.PutU32(0xDEADBEEF);
  w.PutI32(-2);
  w.PutF32(1.0f);
  EXPECT_TRUE(w.PutString8("hi"));
  EXPECT_TRUE(w.PutString16(""));
  EXPECT_FALSE(w.PutString8(std::string(256, 'x'))) << "too long for a 1-byte length";
  EXPECT_FALSE(w.PutString16(std::string(65536, 'x')));
  const std::string expected("\xAB\x34\x12\xEF\xBE\xAD\xDE\xFE\xFF\xFF\xFF\x00\x00\x80\x3F\x02hi\x00\x00", 20);
  ASSERT_EQ(w.Size(), expected.size()) << "refused strings wrote nothing";
  EXPECT_EQ(std::memcmp(w.Data(), expected.data(), expected.size()), 0);
  SerialBlock block;
  uint32_t n = 0;
  ASSERT_TRUE(w.Release(&block, &n));
  EXPECT_EQ(n, 20u);
  EXPECT_EQ(w.Size(), 0u);
  ASSERT_TRUE(w.Release(&block, &n));
  EXPECT_EQ(block, nullptr) << "an empty record is a null block";
  EXPECT_EQ(n, 0u);
}

TEST(SaveRecord, ReaderRefusesEveryReadPastTheEnd) {
  using Read = bool (*)(SaveRecordReader&, uint32_t*, std::string*);
  const Read u32 = [](SaveRecordReader& r, uint32_t* u, std::string*) { return r.GetU32(u); };
  const Read str8 = [](SaveRecordReader& r, uint32_t*, std::string* s) { return r.GetString8(s); };
  const Read str16 = [](SaveRecordReader& r, uint32_t*, std::string* s) { return r.GetString16(s); };
  const Read skip = [](SaveRecordReader& r, uint32_t*, std::string*) { return r.Skip(4); };
  struct Case {
    const char* what;
    std::string bytes;
    Read read;
  };
  const Case cases[] = {
      {"empty", "", u32},
      {"int cut short", std::string("\1\2\3", 3), u32},
      {"string length past the end", std::string("\x05" "abc", 4), str8},
      {"long string length past the end", std::string("\xFF\xFF" "abc", 5), str16},
      {"long string length cut short", std::string("\x01", 1), str16},
      {"skip past the end", std::string("\xFF\x00\x7F", 3), skip},
  };
  for (const Case& c : cases) {
    SaveRecordReader r(reinterpret_cast<const uint8_t*>(c.bytes.data()), static_cast<uint32_t>(c.bytes.size()));
    uint32_t u = 77;
    std::string s = "keep";
    EXPECT_FALSE(c.read(r, &u, &s)) << c.what;
    EXPECT_EQ(u, 77u) << c.what;
    EXPECT_EQ(s, "keep") << c.what;
    EXPECT_FALSE(r.Ok()) << c.what;
    uint8_t b = 5;
    EXPECT_FALSE(r.GetU8(&b)) << c.what << ": failure sticks";
    EXPECT_EQ(b, 5) << c.what;
    EXPECT_EQ(r.Remaining(), 0u) << c.what;
  }
  SaveRecordReader null(nullptr, 10);
  uint8_t b = 0;
  EXPECT_FALSE(null.GetU8(&b)) << "no bytes behind a non-zero size";
  EXPECT_FALSE(null.Skip(0));
}

TEST(SerializedObject, DefaultLoadKeepsACopyAndReplacesTheOldOne) {
  struct Plain : cSerialized_Object {
    bool Save(SerialBlock* bytes, uint32_t* n) override {
      *n = GetBlobSize();
      *bytes = std::make_unique<uint8_t[]>(*n);
      std::memcpy(bytes->get(), GetBlob(), *n);
      return true;
    }
  } o;
  std::string source = "abc";
  EXPECT_TRUE(o.LoadFromBlob(Bytes(source.c_str()), 3));
  source = "zzz";
  ASSERT_EQ(o.GetBlobSize(), 3u);
  EXPECT_EQ(std::memcmp(o.GetBlob(), "abc", 3), 0) << "a copy, not the caller's buffer";
  EXPECT_TRUE(o.LoadFromBlob(Bytes("12345"), 5));  // the old blob is freed (checked by the leak sanitizer)
  EXPECT_EQ(o.GetBlobSize(), 5u);
  EXPECT_TRUE(o.LoadFromBlob(nullptr, 0)) << "nothing to load";
  EXPECT_EQ(o.GetBlobSize(), 5u);
  EXPECT_FALSE(o.LoadFromBlob(nullptr, 4));
  SerialBlock out;
  uint32_t n = 0;
  ASSERT_TRUE(o.Save(&out, &n));
  EXPECT_EQ(std::memcmp(out.get(), "12345", 5), 0);
  o.SetBlob(std::move(out), n);
  EXPECT_EQ(o.GetBlobSize(), 5u);
  o.FreeBlob();
  EXPECT_EQ(o.GetBlob(), nullptr);
  EXPECT_EQ(o.GetBlobSize(), 0u);
}

}  // namespace
