#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstring>

#include "platform/DebugOutput.h"
#include "renderer/formats/SSMObject.h"
#include "renderer/formats/tests/SSMFixtures.h"

namespace {

// Everything the file carries, compared field by field; vertices within `tolerance`.
void ExpectSameModel(const SSMObject& a, const SSMObject& b, float tolerance) {
  ASSERT_EQ(a.faces.size(), b.faces.size());
  EXPECT_EQ(0, std::memcmp(a.faces.data(), b.faces.data(), a.faces.size() * sizeof(SSMFace)));
  EXPECT_EQ(a.vertexCount, b.vertexCount);
  ASSERT_EQ(a.resources.size(), b.resources.size());
  for (size_t i = 0; i < a.resources.size(); ++i) {
    EXPECT_EQ(a.resources[i]->name, b.resources[i]->name);
    EXPECT_EQ(a.resources[i]->value, b.resources[i]->value);
  }
  ASSERT_EQ(a.frames.size(), b.frames.size());
  for (size_t f = 0; f < a.frames.size(); ++f) {
    EXPECT_EQ(a.frames[f]->name, b.frames[f]->name);
    EXPECT_EQ(a.frames[f]->a, b.frames[f]->a);
    EXPECT_EQ(a.frames[f]->b, b.frames[f]->b);
    ASSERT_EQ(a.frames[f]->vertices.size(), b.frames[f]->vertices.size());
    for (size_t v = 0; v < a.frames[f]->vertices.size(); ++v) {
      EXPECT_NEAR(a.frames[f]->vertices[v].x, b.frames[f]->vertices[v].x, tolerance);
      EXPECT_NEAR(a.frames[f]->vertices[v].y, b.frames[f]->vertices[v].y, tolerance);
      EXPECT_NEAR(a.frames[f]->vertices[v].z, b.frames[f]->vertices[v].z, tolerance);
    }
  }
  ASSERT_EQ(a.anims.size(), b.anims.size());
  for (size_t i = 0; i < a.anims.size(); ++i) {
    EXPECT_EQ(a.anims[i]->name, b.anims[i]->name);
    EXPECT_EQ(a.anims[i]->flags, b.anims[i]->flags);
    EXPECT_EQ(a.anims[i]->keyFrames, b.anims[i]->keyFrames);
    EXPECT_EQ(a.anims[i]->keyDurations, b.anims[i]->keyDurations);
    EXPECT_FLOAT_EQ(a.anims[i]->duration, b.anims[i]->duration);
  }
  ASSERT_EQ(a.groups.size(), b.groups.size());
  for (size_t i = 0; i < a.groups.size(); ++i) {
    const SSMGroup& ga = *a.groups[i];
    const SSMGroup& gb = *b.groups[i];
    EXPECT_EQ(ga.name, gb.name);
    EXPECT_EQ(ga.flags, gb.flags);
    EXPECT_EQ(ga.b, gb.b);
    ASSERT_EQ(ga.skins.size(), gb.skins.size());
    for (size_t s = 0; s < ga.skins.size(); ++s) {
      EXPECT_EQ(ga.skins[s]->name, gb.skins[s]->name);
      EXPECT_EQ(ga.skins[s]->resource, gb.skins[s]->resource);
    }
    ASSERT_EQ(ga.tags.size(), gb.tags.size());
    for (size_t t = 0; t < ga.tags.size(); ++t) {
      EXPECT_EQ(ga.tags[t]->key, gb.tags[t]->key);
      EXPECT_EQ(ga.tags[t]->value, gb.tags[t]->value);
      EXPECT_EQ(ga.tags[t]->kind, gb.tags[t]->kind);
    }
  }
  ASSERT_EQ(a.tags.size(), b.tags.size());
  for (size_t t = 0; t < a.tags.size(); ++t) {
    EXPECT_EQ(a.tags[t]->key, b.tags[t]->key);
    EXPECT_EQ(a.tags[t]->value, b.tags[t]->value);
  }
}

CoreStatus LoadBytes(SSMObject& m, const std::vector<uint8_t>& bytes) { return m.Load(bytes.data(), bytes.size()); }

TEST(SSMReader, ReadsEveryFieldOfAHandLaidFile) {
  SSMObject m;
  ASSERT_EQ(status::Ok, LoadBytes(m, SSMSampleFile()));
  EXPECT_EQ(m.vertexFormat, 1);
  EXPECT_EQ(m.compression, 0);
  EXPECT_EQ(m.vertexCount, 4);
  ASSERT_EQ(m.faces.size(), 2u);
  EXPECT_EQ(m.faces[1].vertex[1], 3);
  EXPECT_EQ(m.faces[1].uv[1][1], 1.0f);
  EXPECT_EQ(m.faces[1].group, 1);
  ASSERT_EQ(m.resources.size(), 1u);
  EXPECT_EQ(m.resources[0]->name, "file;textures\\Wall.TGA");
  EXPECT_EQ(m.resources[0]->value, 7u);
  ASSERT_EQ(m.frames.size(), 2u);
  EXPECT_EQ(m.frames[1]->name, "up");
  EXPECT_EQ(m.frames[1]->a, 11u);
  EXPECT_EQ(m.frames[1]->b, 21u);
  EXPECT_EQ(m.frames[1]->vertices[3].x, 1.0f);
  EXPECT_EQ(m.frames[1]->vertices[3].y, 1.0f);
  EXPECT_EQ(m.frames[1]->vertices[3].z, 1.0f);
  ASSERT_EQ(m.anims.size(), 1u);
  EXPECT_EQ(m.anims[0]->name, "bob");
  EXPECT_EQ(m.anims[0]->b, 5u);
  EXPECT_EQ(m.anims[0]->keyCount, 2);
  EXPECT_FLOAT_EQ(m.anims[0]->duration, 2.0f);
  ASSERT_EQ(m.groups.size(), 2u);
  EXPECT_EQ(m.groups[0]->name, "roof");
  EXPECT_EQ(m.groups[0]->b, 9u);
  ASSERT_EQ(m.groups[0]->skins.size(), 1u);
  EXPECT_EQ(m.groups[0]->skins[0]->name, "skin0");
  ASSERT_EQ(m.groups[0]->tags.size(), 1u);
  EXPECT_EQ(m.groups[0]->tags[0]->kind, 3);
  EXPECT_EQ(m.groups[0]->tags[0]->value, "v");
  EXPECT_EQ(m.groups[0]->triangles, std::vector<uint16_t>{0});
  EXPECT_EQ(m.groups[1]->triangles, std::vector<uint16_t>{1});
  ASSERT_EQ(m.tags.size(), 1u);
  EXPECT_EQ(m.tags[0]->key, "VertCompress");
}

TEST(SSMWriter, WritesTheHandLaidLayoutByteForByte) {
  SSMObject m;
  const std::vector<uint8_t> file = SSMSampleFile();
  ASSERT_EQ(status::Ok, LoadBytes(m, file));
  std::vector<uint8_t> written;
  ASSERT_EQ(status::Ok, m.Save(&written));
  EXPECT_EQ(written, file);
}

TEST(SSMReader, HeaderOnlyFileIsAnEmptyModel) {
  SSMObject m;
  ASSERT_EQ(status::Ok, LoadBytes(m, SSMHeader(1, 0, 0, 0, 0, 0, 0, 0, 0).b));
  EXPECT_TRUE(m.faces.empty());
  EXPECT_TRUE(m.groups.empty());
  EXPECT_TRUE(m.frames.empty());
}

TEST(SSMReader, StoredBodyWithEqualLengthsIsCopiedNotInflated) {
  const Bytes body = SSMSampleBody();
  Bytes file = SSMHeader(1, 1, 4, 2, 1, 2, 1, 2, 1);
  file.u32(uint32_t(body.size())).u32(uint32_t(body.size())).raw(body.b);
  SSMObject stored, plain;
  ASSERT_EQ(status::Ok, LoadBytes(stored, file.b));
  ASSERT_EQ(status::Ok, LoadBytes(plain, SSMSampleFile()));
  ExpectSameModel(stored, plain, 0.0f);
}

TEST(SSMReader, InflatesAZlibBody) {
  const Bytes body = SSMSampleBody();
  std::vector<uint8_t> packed(compressBound(body.size()));
  uLongf packedLength = packed.size();
  ASSERT_EQ(Z_OK, compress(packed.data(), &packedLength, body.b.data(), body.size()));
  packed.resize(packedLength);
  Bytes file = SSMHeader(1, 1, 4, 2, 1, 2, 1, 2, 1);
  file.u32(uint32_t(body.size())).u32(uint32_t(packed.size())).raw(packed);
  SSMObject inflated, plain;
  ASSERT_EQ(status::Ok, LoadBytes(inflated, file.b));
  ASSERT_EQ(status::Ok, LoadBytes(plain, SSMSampleFile()));
  ExpectSameModel(inflated, plain, 0.0f);
}

TEST(SSMReader, Grid64CoordinatesAreSixtyFourthsAndFramesCarryOneByteAGroup) {
  Bytes file = SSMHeader(2, 0, 2, 0, 0, 1, 0, 3, 0);
  file.u32(0).u32(0).str16("g").u8(0xAA).u8(0xBB).u8(0xCC);  // 3 groups: 3 reserved bytes
  file.i16(64).i16(-32760).i16(1).i16(-1).i16(0).i16(32760);
  for (int g = 0; g < 3; ++g) file.u32(0).u32(0).str16("grp").i16(0).i16(0);
  SSMObject m;
  ASSERT_EQ(status::Ok, LoadBytes(m, file.b));
  ASSERT_EQ(m.frames.size(), 1u);
  const auto& v = m.frames[0]->vertices;
  EXPECT_EQ(v[0].x, 1.0f);
  EXPECT_EQ(v[0].y, -511.875f);
  EXPECT_EQ(v[0].z, 0.015625f);
  EXPECT_EQ(v[1].x, -0.015625f);
  EXPECT_EQ(v[1].z, 511.875f);
  for (const auto& g : m.groups) EXPECT_TRUE(g->triangles.empty());
}

TEST(SSMReader, UnknownVertexFormatSkipsTheFrames) {
  Bytes file = SSMHeader(7, 0, 1, 0, 0, 1, 0, 0, 1);
  // No frame bytes at all: the tags follow the (empty) animations directly.
  file.u8(0).str16("a").str16("b");
  SSMObject m;
  ASSERT_EQ(status::Ok, LoadBytes(m, file.b));
  EXPECT_TRUE(m.frames.empty());
  ASSERT_EQ(m.tags.size(), 1u);
  EXPECT_EQ(m.tags[0]->value, "b");
}

struct StorageCase {
  const char* vert;
  const char* zip;
  uint16_t vertexFormat;
  uint16_t compression;
  float tolerance;
};

class SSMRoundTrip : public ::testing::TestWithParam<StorageCase> {};

TEST_P(SSMRoundTrip, WrittenModelsReadBackEqual) {
  const StorageCase c = GetParam();
  auto model = SSMBoxModel(3, 4);
  SSMSetTag(*model, "VertCompress", c.vert);
  SSMSetTag(*model, "ZCompress", c.zip);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(status::Ok, model->Save(&bytes));
  SSMObject back;
  ASSERT_EQ(status::Ok, LoadBytes(back, bytes));
  EXPECT_EQ(back.vertexFormat, c.vertexFormat);
  EXPECT_EQ(back.compression, c.compression);
  ExpectSameModel(*model, back, c.tolerance);
  for (size_t g = 0; g < back.groups.size(); ++g) EXPECT_EQ(back.groups[g]->triangleCount, 12);
  // Written again, the model keeps its options and its bytes.
  std::vector<uint8_t> again;
  ASSERT_EQ(status::Ok, back.Save(&again));
  EXPECT_EQ(again, bytes);
}

INSTANTIATE_TEST_SUITE_P(Storage, SSMRoundTrip,
                         ::testing::Values(StorageCase{"No", "No", 1, 0, 0.0f},
                                           StorageCase{"Grid64", "n", 2, 0, 1.0f / 64},
                                           StorageCase{"n", "Yes", 1, 1, 0.0f},
                                           StorageCase{"g64", "Y", 2, 1, 1.0f / 64}));

TEST(SSMWriter, OptionsComeFromModelTagsCaseSensitivelyLastOneWinning) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> tags;
    uint16_t vertexFormat, compression;
  } cases[] = {
      {{{"ZCompress", "Y"}, {"VertCompress", "g64"}}, 2, 1},
      {{{"VertCompress", "yes"}}, 1, 0},
      {{{"VertCompress", "G64"}, {"VertCompress", "GRID64"}}, 2, 0},
      {{{"VertCompress", "Grid64"}, {"VertCompress", "N"}}, 1, 0},
      {{{"zcompress", "y"}}, 1, 0},
      {{{"ZCompress", "y"}, {"ZCompress", "no"}}, 1, 0},
  };
  for (const Case& c : cases) {
    auto m = SSMBoxModel(1, 1);
    for (const auto& [k, v] : c.tags) SSMSetTag(*m, k, v);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(status::Ok, m->Save(&bytes));
    EXPECT_EQ(bytes[4] | (bytes[5] << 8), c.vertexFormat);
    EXPECT_EQ(bytes[6] | (bytes[7] << 8), c.compression);
  }
}

TEST(SSMWriter, Grid64TruncatesTowardZeroAndClamps) {
  auto m = SSMBoxModel(1, 1);
  m->frames[0]->vertices[0] = {600.0f, -0.9f / 64, -1000.0f};
  m->frames[0]->vertices[1] = {1.99f / 64, -1.5f / 64, std::nanf("")};
  SSMSetTag(*m, "VertCompress", "Grid64");
  std::vector<uint8_t> bytes;
  ASSERT_EQ(status::Ok, m->Save(&bytes));
  // Header, 12 faces, one resource, then frame 0: a, b, name "f0", 1 group byte.
  const size_t vertices = 22 + 12 * 36 + (4 + 2 + 9) + (4 + 4 + 2 + 2 + 1);
  auto at = [&](size_t i) { return int16_t(bytes[vertices + 2 * i] | (bytes[vertices + 2 * i + 1] << 8)); };
  EXPECT_EQ(at(0), 32760);
  EXPECT_EQ(at(1), 0);
  EXPECT_EQ(at(2), -32760);
  EXPECT_EQ(at(3), 1);
  EXPECT_EQ(at(4), -1);
  EXPECT_EQ(at(5), 0);
}

TEST(SSMWriter, RefusesModelsTheReaderWouldRefuse) {
  auto badIndex = SSMBoxModel(1, 1);
  badIndex->faces[3].vertex[2] = 8;
  auto badSkin = SSMBoxModel(1, 1);
  badSkin->groups[0]->skins[0]->resource = 1;
  auto badKeys = SSMBoxModel(1, 2);
  badKeys->anims[0]->keyFrames.push_back(0);
  auto longName = SSMBoxModel(1, 1);
  longName->groups[0]->name.assign(1024, 'x');
  platform::ScopedDebugCapture capture;
  for (SSMObject* m : {badIndex.get(), badSkin.get(), badKeys.get(), longName.get()}) {
    std::vector<uint8_t> bytes{1, 2, 3};
    EXPECT_EQ(status::Fail, m->Save(&bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
  }
  EXPECT_TRUE(capture.Contains("not written"));
}

// ---- corrupt files -------------------------------------------------------

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, std::initializer_list<uint8_t> with) {
  std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  return bytes;
}

std::vector<uint8_t> ZlibFile(const Bytes& body, uint32_t statedLength, bool damage) {
  std::vector<uint8_t> packed(compressBound(body.size()));
  uLongf n = packed.size();
  compress(packed.data(), &n, body.b.data(), body.size());
  packed.resize(n);
  if (damage) packed[n / 2] ^= 0x5A;
  Bytes file = SSMHeader(1, 1, 4, 2, 1, 2, 1, 2, 1);
  file.u32(statedLength).u32(uint32_t(packed.size())).raw(packed);
  return file.b;
}

TEST(SSMReader, RefusesCorruptFilesAndKeepsWhatItHeld) {
  const std::vector<uint8_t> good = SSMSampleFile();
  const size_t body = 22;
  const size_t resources = body + 72, frames = resources + 4 + 2 + 22;
  const size_t frame1 = frames + 4 + 4 + 2 + 4 + 2 + 48;
  const size_t anims = frame1 + 4 + 4 + 2 + 2 + 2 + 48;
  const size_t groups = anims + 4 + 4 + 2 + 2 + 3 + 4 + 8;
  const Bytes sampleBody = SSMSampleBody();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"short header", std::vector<uint8_t>(good.begin(), good.begin() + 21)},
      {"bad magic", Patched(good, 3, {'X'})},
      {"compression 2", Patched(good, 6, {2})},
      {"face vertex past the count", Patched(good, body + 2, {4, 0})},
      {"negative face vertex", Patched(good, body + 36, {0xFF, 0xFF})},
      {"face group past the count", Patched(good, body + 32, {2, 0})},
      {"negative face group", Patched(good, body + 36 + 32, {0xFF, 0xFF})},
      {"negative resource name length", Patched(good, resources + 4, {0xFE, 0xFF})},
      {"resource name past the body", Patched(good, resources + 4, {0xFF, 0x7F})},
      {"frame count past the body", Patched(good, 14, {3, 0})},
      {"vertex count past the body", Patched(good, 8, {200, 0})},
      {"key frame past the frames", Patched(good, anims + 4 + 4 + 2 + 2 + 3, {2, 0})},
      {"negative key count", Patched(good, anims + 8, {0xFF, 0xFF})},
      {"key count past the body", Patched(good, anims + 8, {0xFF, 0x7F})},
      {"skin resource past the resources", Patched(good, groups + 4 + 4 + 2 + 4 + 2, {1, 0})},
      {"negative skin count", Patched(good, groups + 4 + 4 + 2 + 4, {0xFF, 0xFF})},
      {"tag count past the body", Patched(good, 20, {9, 0})},
      {"zlib stream damaged", ZlibFile(sampleBody, uint32_t(sampleBody.size()), true)},
      {"inflates short of its length", ZlibFile(sampleBody, uint32_t(sampleBody.size()) + 10, false)},
      {"inflates past its length", ZlibFile(sampleBody, uint32_t(sampleBody.size()) - 10, false)},
      {"absurd body length", ZlibFile(sampleBody, 0x7FFFFFFF, false)},
      {"stored block past the end", Patched(ZlibFile(sampleBody, 500, false), 26, {0xFF, 0xFF})},
  };
  std::vector<uint8_t> name1024(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(resources + 4));
  Bytes longName;
  longName.i16(1024).zeros(1024);
  name1024.insert(name1024.end(), longName.b.begin(), longName.b.end());

  platform::ScopedDebugCapture capture;
  SSMObject reference;
  ASSERT_EQ(status::Ok, LoadBytes(reference, good));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SSMObject m;
    ASSERT_EQ(status::Ok, LoadBytes(m, good));
    EXPECT_EQ(status::Fail, LoadBytes(m, c.bytes));
    ExpectSameModel(m, reference, 0.0f);
  }
  SSMObject m;
  EXPECT_EQ(status::Fail, LoadBytes(m, name1024));
  EXPECT_TRUE(capture.Contains("SSM model refused"));
}

TEST(SSMReader, RefusesEveryTruncation) {
  std::vector<size_t> marks;
  const std::vector<uint8_t> good = SSMSampleFile(&marks);
  ASSERT_EQ(marks.size(), 6u);  // the six section starts after the header
  platform::ScopedDebugCapture capture;
  for (size_t n = 0; n < good.size(); ++n) {
    SSMObject m;
    EXPECT_EQ(status::Fail, m.Load(good.data(), n)) << "prefix of " << n << " bytes";
    EXPECT_TRUE(m.faces.empty());
  }
  // A compressed body cut anywhere is refused too.
  const Bytes body = SSMSampleBody();
  const std::vector<uint8_t> zipped = ZlibFile(body, uint32_t(body.size()), false);
  for (size_t n = 22; n < zipped.size(); n += 3) {
    SSMObject m;
    EXPECT_EQ(status::Fail, m.Load(zipped.data(), n)) << "compressed prefix of " << n << " bytes";
  }
}

TEST(SSMReader, DropsAnimationsThatCannotBeWalked) {
  auto m = SSMBoxModel(1, 2);
  m->anims[0]->name = "good";
  auto noKeys = std::make_unique<SSMAnim>();
  noKeys->name = "nokeys";
  auto zero = std::make_unique<SSMAnim>();
  zero->name = "zero";
  zero->keyCount = 2;
  zero->keyFrames = {0, 1};
  zero->keyDurations = {0.0f, 0.0f};
  auto negative = std::make_unique<SSMAnim>();
  negative->name = "negative";
  negative->keyCount = 2;
  negative->keyFrames = {0, 1};
  negative->keyDurations = {2.0f, -1.0f};
  m->anims.push_back(std::move(noKeys));
  m->anims.push_back(std::move(zero));
  m->anims.push_back(std::move(negative));
  std::vector<uint8_t> bytes;
  ASSERT_EQ(status::Ok, m->Save(&bytes));
  platform::ScopedDebugCapture capture;
  SSMObject back;
  ASSERT_EQ(status::Ok, LoadBytes(back, bytes));
  ASSERT_EQ(back.anims.size(), 1u);
  EXPECT_EQ(back.anims[0]->name, "good");
  EXPECT_EQ(back.animCount, 1);
  EXPECT_TRUE(capture.Contains("\"zero\""));
}

TEST(SSMReader, CountsAreUnsignedSoALargeModelFits) {
  auto m = SSMBoxModel(3000, 1);  // 36,000 faces: above the signed 16-bit range
  m->vertexCount = 24000;
  std::vector<uint8_t> bytes;
  ASSERT_EQ(status::Ok, m->Save(&bytes));
  SSMObject back;
  ASSERT_EQ(status::Ok, LoadBytes(back, bytes));
  EXPECT_EQ(back.faces.size(), 36000u);
  EXPECT_EQ(back.faceCount, 36000);
  EXPECT_EQ(back.groups[2999]->triangles.front(), 35988);
}

}  // namespace
