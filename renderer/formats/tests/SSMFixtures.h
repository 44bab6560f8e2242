#pragma once
// Models for the SSM tests: a hand-laid file and an in-memory model.
#include <memory>

#include "renderer/formats/SSMObject.h"
#include "renderer/formats/tests/Bytes.h"

// Header fields in file order.
inline Bytes SSMHeader(uint16_t vertexFormat, uint16_t compression, uint16_t v, uint16_t f, uint16_t r, uint16_t n,
                       uint16_t a, uint16_t g, uint16_t t) {
  Bytes h;
  h.raw("SSMO").u16(vertexFormat).u16(compression).u16(v).u16(f).u16(r).u16(n).u16(a).u16(g).u16(t);
  return h;
}

// Body of a small model laid out by hand: 4 vertices, 2 faces (one in each of
// 2 groups), 1 resource, 2 float frames, 1 animation of 2 keys, a skin and a
// tag on group 0, and one model tag. Section boundaries go to `marks`.
inline Bytes SSMSampleBody(std::vector<size_t>* marks = nullptr) {
  Bytes b;
  auto mark = [&] {
    if (marks) marks->push_back(b.size());
  };
  // Faces: vertex indices, reserved, 3 uv pairs, group, reserved.
  b.i16(0).i16(1).i16(2).u16(0).f32(0).f32(0).f32(1).f32(0).f32(0).f32(1).i16(0).u16(0);
  b.i16(1).i16(3).i16(2).u16(0).f32(1).f32(0).f32(1).f32(1).f32(0).f32(1).i16(1).u16(0);
  mark();
  b.u32(7).str16("file;textures\\Wall.TGA");
  mark();
  for (int f = 0; f < 2; ++f) {
    b.u32(10 + f).u32(20 + f).str16(f == 0 ? "rest" : "up").zeros(2);  // 2 groups: 2 reserved bytes
    const float lift = float(f);
    b.f32(0).f32(lift).f32(0);
    b.f32(1).f32(lift).f32(0);
    b.f32(0).f32(lift).f32(1);
    b.f32(1).f32(lift).f32(1);
  }
  mark();
  b.u32(1).u32(5).i16(2).str16("bob").u16(0).u16(1).f32(0.5f).f32(1.5f);
  mark();
  b.u32(1).u32(9).str16("roof").i16(1).u16(0).str16("skin0").i16(1).u8(3).str16("k").str16("v");
  b.u32(1).u32(0).str16("wall").i16(0).i16(0);
  mark();
  b.u8(0).str16("VertCompress").str16("No");
  return b;
}

inline std::vector<uint8_t> SSMSampleFile(std::vector<size_t>* marks = nullptr) {
  Bytes file = SSMHeader(1, 0, 4, 2, 1, 2, 1, 2, 1);
  std::vector<size_t> bodyMarks;
  const Bytes body = SSMSampleBody(&bodyMarks);
  if (marks) {
    marks->push_back(file.size());
    for (size_t m : bodyMarks) marks->push_back(file.size() + m);
  }
  file.raw(body.b);
  return file.b;
}

// A model built in memory: `boxes` unit boxes side by side (8 vertices and
// 12 faces each, one group per box), `frames` key frames lifted by 0.25 per
// frame, and an animation over the frames.
inline std::unique_ptr<SSMObject> SSMBoxModel(int boxes, int frames) {
  auto m = std::make_unique<SSMObject>();
  m->vertexCount = boxes * 8;
  for (int f = 0; f < frames; ++f) {
    auto frame = std::make_unique<SSMFrame>();
    frame->name = "f" + std::to_string(f);
    for (int b = 0; b < boxes; ++b)
      for (int c = 0; c < 8; ++c)
        frame->vertices.push_back({float(b * 2 + (c & 1)) + 0.3f, float((c >> 1) & 1) + 0.25f * f, float(c >> 2) - 0.7f});
    m->frames.push_back(std::move(frame));
  }
  static const int kQuads[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
  auto res = std::make_unique<SSMResource>();
  res->name = "brick.tga";
  m->resources.push_back(std::move(res));
  for (int b = 0; b < boxes; ++b) {
    auto g = std::make_unique<SSMGroup>();
    g->name = "box" + std::to_string(b);
    g->flags = SSMGroup::kVisible;
    auto skin = std::make_unique<SSMSkin>();
    skin->name = "brick";
    g->skins.push_back(std::move(skin));
    m->groups.push_back(std::move(g));
    for (const auto& q : kQuads) {
      for (int half = 0; half < 2; ++half) {
        SSMFace face;
        const int idx[3] = {q[0], q[1 + half], q[2 + half]};
        for (int k = 0; k < 3; ++k) {
          face.vertex[k] = int16_t(b * 8 + idx[k]);
          face.uv[k][0] = float(idx[k] & 1);
          face.uv[k][1] = float((idx[k] >> 1) & 1) * 0.5f;
        }
        face.group = int16_t(b);
        m->faces.push_back(face);
      }
    }
  }
  if (frames > 0) {
    auto a = std::make_unique<SSMAnim>();
    a->name = "lift";
    a->keyCount = int16_t(frames);
    for (int f = 0; f < frames; ++f) {
      a->keyFrames.push_back(uint16_t(f));
      a->keyDurations.push_back(0.5f);
    }
    a->duration = 0.5f * frames;
    m->anims.push_back(std::move(a));
  }
  return m;
}

inline void SSMSetTag(SSMObject& m, const std::string& key, const std::string& value) {
  auto t = std::make_unique<SSMTag>();
  t->key = key;
  t->value = value;
  m.tags.push_back(std::move(t));
}
