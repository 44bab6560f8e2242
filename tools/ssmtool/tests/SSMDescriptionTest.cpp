#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "renderer/formats/SSMObject.h"
#include "tools/ssmtool/SSMDescription.h"

namespace {

const char kShed[] =
    "# a shed\n"
    "option ZCompress Yes\r\n"
    "group body\n"
    "skin wall.tga\n"
    "box 0 0 0  2 1 1\n"
    "group roof\n"
    "skin roof.tga\n"
    "tag colour red\n"
    "prism -0.1 1 -0.1  2.1 1.5 1.1 x\n"
    "marker hook 1 1.5 0  0 0 2   # sign hook along +z\n"
    "frame low\n"
    "frame high\n"
    "offset roof 0 0.5 0\n"
    "anim lift loop play\n"
    "key low 1\n"
    "key high 0.5\n";

std::unique_ptr<SSMObject> Written(const SSMObject& m) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(status::Ok, m.Save(&bytes));
  auto back = std::make_unique<SSMObject>();
  EXPECT_EQ(status::Ok, back->Load(bytes.data(), bytes.size()));
  return back;
}

TEST(SSMDescription, BuildsAModelThatLoadsWithItsParts) {
  SSMObject m;
  std::string error;
  ASSERT_TRUE(BuildSSMFromDescription(kShed, &m, &error)) << error;
  auto back = Written(m);
  EXPECT_EQ(back->compression, 1);
  ASSERT_EQ(back->groups.size(), 3u);
  EXPECT_EQ(back->groups[0]->triangleCount, 12);  // box
  EXPECT_EQ(back->groups[1]->triangleCount, 8);   // prism: base, two slopes, two ends
  EXPECT_EQ(back->groups[1]->tags[0]->value, "red");
  ASSERT_EQ(back->resources.size(), 2u);
  EXPECT_EQ(back->resources[back->groups[1]->skins[0]->resource]->name, "roof.tga");
  ASSERT_EQ(back->frames.size(), 2u);
  ASSERT_EQ(back->anims.size(), 1u);
  EXPECT_EQ(back->anims[0]->flags, 1u);
  EXPECT_FLOAT_EQ(back->anims[0]->duration, 1.5f);
  EXPECT_EQ(back->anims[0]->keyFrames, (std::vector<uint16_t>{0, 1}));
  // The roof moves in frame "high", the body does not.
  const auto& low = back->frames[0]->vertices;
  const auto& high = back->frames[1]->vertices;
  const SSMFace& roofFace = back->faces[back->groups[1]->triangles[0]];
  const SSMFace& bodyFace = back->faces[back->groups[0]->triangles[0]];
  EXPECT_FLOAT_EQ(high[roofFace.vertex[0]].y - low[roofFace.vertex[0]].y, 0.5f);
  EXPECT_FLOAT_EQ(high[bodyFace.vertex[0]].y, low[bodyFace.vertex[0]].y);

  back->BuildAnchors();
  ASSERT_EQ(back->anchors.size(), 1u);
  const SSMAnchor& a = *back->anchors[0];
  EXPECT_EQ(a.name, "hook");
  EXPECT_FLOAT_EQ(a.lengths[0], 2.0f);
  EXPECT_FLOAT_EQ(a.lengths[1], 2.0f);
  // Axis +z, up +y, side = up x axis = +x: R is the identity and the
  // translation is minus the origin (1, 1.5, 0).
  EXPECT_NEAR(a.orientations[0].w, 1.0f, 1e-6f);
  EXPECT_NEAR(a.positions[0].x, -1.0f, 1e-6f);
  EXPECT_NEAR(a.positions[0].y, -1.5f, 1e-6f);
  EXPECT_NEAR(a.positions[0].z, 0.0f, 1e-6f);
}

TEST(SSMDescription, TurnSwingsAGroupAboutAVerticalLineBeforeItsOffset) {
  const char* kRadar =
      "group mast\nbox -0.1 0 -0.1  0.1 1 0.1\n"
      "group dish\nbox 1 1 -0.5  3 1.2 0.5\n"
      "frame a\nframe b\nturn dish 90 1 0\nframe c\nturn dish 180 1 0\noffset dish 0 1 0\n";
  SSMObject m;
  std::string error;
  ASSERT_TRUE(BuildSSMFromDescription(kRadar, &m, &error)) << error;
  auto back = Written(m);
  ASSERT_EQ(back->frames.size(), 3u);
  const SSMGroup& dish = *back->groups[1];
  float lo[3][3], hi[3][3];
  for (size_t f = 0; f < 3; ++f) {
    for (int k = 0; k < 3; ++k) {
      lo[f][k] = 1e9f;
      hi[f][k] = -1e9f;
    }
    for (auto t : dish.triangles) {
      for (auto v : back->faces[t].vertex) {
        const auto& p = back->frames[f]->vertices[v];
        const float c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) {
          lo[f][k] = std::min(lo[f][k], c[k]);
          hi[f][k] = std::max(hi[f][k], c[k]);
        }
      }
    }
  }
  // Frame b: the dish, 2 along x from the line x = 1, now lies along -z.
  EXPECT_NEAR(lo[1][0], 0.5f, 1e-5f);
  EXPECT_NEAR(hi[1][0], 1.5f, 1e-5f);
  EXPECT_NEAR(lo[1][2], -2.0f, 1e-5f);
  EXPECT_NEAR(hi[1][2], 0.0f, 1e-5f);
  // Frame c: half a turn puts it on the -x side, then lifts it by 1.
  EXPECT_NEAR(lo[2][0], -1.0f, 1e-5f);
  EXPECT_NEAR(hi[2][0], 1.0f, 1e-5f);
  EXPECT_NEAR(lo[2][1], 2.0f, 1e-5f);
  // The mast stays where it is.
  EXPECT_EQ(back->frames[2]->vertices[back->faces[back->groups[0]->triangles[0]].vertex[0]].x,
            back->frames[0]->vertices[back->faces[back->groups[0]->triangles[0]].vertex[0]].x);
}

TEST(SSMDescription, FacesWindClockwiseSeenFromOutside) {
  SSMObject m;
  std::string error;
  ASSERT_TRUE(BuildSSMFromDescription("group g\nbox -1 -1 -1 1 1 1\ngroup r\nprism -1 1 -1 1 2 1 z\n", &m, &error));
  for (const SSMFace& f : m.faces) {
    const auto& v = m.frames[0]->vertices;
    const SSMVec3 a = v[f.vertex[0]], b = v[f.vertex[1]], c = v[f.vertex[2]];
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float wx = c.x - a.x, wy = c.y - a.y, wz = c.z - a.z;
    const float nx = uy * wz - uz * wy, ny = uz * wx - ux * wz, nz = ux * wy - uy * wx;
    const float cx = (a.x + b.x + c.x) / 3, cy = (a.y + b.y + c.y) / 3, cz = (a.z + b.z + c.z) / 3;
    const float centreY = f.group == 0 ? 0.0f : 1.3f;
    EXPECT_GT(nx * cx + ny * (cy - centreY) + nz * cz, 0.0f);
  }
}

TEST(SSMDescription, RefusesBadDescriptionsNamingTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"group g\nbox 0 0 0 1 1\n", "line 2: 'box' needs 6 numbers"},
      {"box 0 0 0 1 1 1\n", "line 1: a shape or skin before any group"},
      {"group g\nbox 0 0 0 1 one 1\n", "line 2: 'one' is not a number"},
      {"group g\nbox 0 0 0 1 0 1\n", "line 2: a flat box"},
      {"group g\ngroup g\n", "line 2: group 'g' given twice"},
      {"\n\nspin g\n", "line 3: unknown statement 'spin'"},
      {"group g\noffset g 0 1 0\n", "line 2: offset before any frame"},
      {"group g\nframe f\noffset h 0 1 0\n", "line 3: no group 'h'"},
      {"key f 1\n", "line 1: key before any anim"},
      {"anim a\nkey f 0\n", "line 2: key duration must be above 0"},
      {"anim a\n", "animation 'a' has no keys"},
      {"group g\nbox 0 0 0 1 1 1\nanim a\nkey nowhere 1\n", "animation 'a' names no frame 'nowhere'"},
      {"marker m 0 0 0 0 0 0\n", "line 1: marker axis of zero length"},
      {"group g\nprism 0 0 0 1 1 1 y\n", "line 2: prism ridge runs along x or z"},
  };
  for (const Case& c : cases) {
    SSMObject m;
    std::string error;
    EXPECT_FALSE(BuildSSMFromDescription(c.text, &m, &error)) << c.text;
    EXPECT_EQ(error, c.error);
    EXPECT_TRUE(m.faces.empty());
    EXPECT_TRUE(m.groups.empty());
  }
}

}  // namespace
