// The store half of the ".ssm" serialisation. The writer's options travel in
// the model as ordinary model-level tags, so a model is written again the way
// it was written before.
#include <zlib.h>

#include <cmath>
#include <cstring>

#include "platform/DebugOutput.h"
#include "renderer/formats/ByteWriter.h"
#include "renderer/formats/SSMObject.h"

namespace {

struct Options {
  uint16_t vertexFormat = SSMObject::kFloatVertices;
  uint16_t compression = SSMObject::kNoCompression;
};

bool IsOneOf(const std::string& v, std::initializer_list<const char*> words) {
  for (const char* w : words)
    if (v == w) return true;
  return false;
}

// Later tags override earlier ones; keys and values compare with letter case.
Options ReadOptions(const SSMObject& m) {
  Options o;
  for (const auto& tag : m.tags) {
    if (tag->key == "VertCompress") {
      if (IsOneOf(tag->value, {"No", "no", "N", "n"})) o.vertexFormat = SSMObject::kFloatVertices;
      if (IsOneOf(tag->value, {"Grid64", "grid64", "G64", "g64"})) o.vertexFormat = SSMObject::kGrid64Vertices;
    } else if (tag->key == "ZCompress") {
      if (IsOneOf(tag->value, {"Yes", "yes", "Y", "y"})) o.compression = SSMObject::kZlibCompression;
      if (IsOneOf(tag->value, {"No", "no", "N", "n"})) o.compression = SSMObject::kNoCompression;
    }
  }
  return o;
}

// 1/64 grid: times 64, truncated toward zero, clamped to +-32760.
int16_t GridCoordinate(float value) {
  if (std::isnan(value)) return 0;
  const double scaled = std::trunc(static_cast<double>(value) * 64.0);
  if (scaled > 32760.0) return 32760;
  if (scaled < -32760.0) return -32760;
  return static_cast<int16_t>(scaled);
}

void Name(ByteWriter& w, const std::string& s) {
  w.I16(static_cast<int16_t>(s.size()));
  w.Text(s);
}

void Tag(ByteWriter& w, const SSMTag& t) {
  w.U8(t.kind);
  Name(w, t.key);
  Name(w, t.value);
}

void Body(const SSMObject& m, uint16_t vertexFormat, ByteWriter& w) {
  if (!m.faces.empty()) w.Bytes(m.faces.data(), m.faces.size() * sizeof(SSMFace));
  for (const auto& r : m.resources) {
    w.U32(r->value);
    Name(w, r->name);
  }
  for (const auto& f : m.frames) {
    w.U32(f->a);
    w.U32(f->b);
    Name(w, f->name);
    w.Zeros(m.groups.size());
    for (const SSMVec3& v : f->vertices) {
      if (vertexFormat == SSMObject::kGrid64Vertices) {
        w.I16(GridCoordinate(v.x));
        w.I16(GridCoordinate(v.y));
        w.I16(GridCoordinate(v.z));
      } else {
        w.F32(v.x);
        w.F32(v.y);
        w.F32(v.z);
      }
    }
  }
  for (const auto& a : m.anims) {
    w.U32(a->flags);
    w.U32(a->b);
    w.I16(a->keyCount);
    Name(w, a->name);
    for (uint16_t k : a->keyFrames) w.U16(k);
    for (float d : a->keyDurations) w.F32(d);
  }
  for (const auto& g : m.groups) {
    w.U32(g->flags);
    w.U32(g->b);
    Name(w, g->name);
    w.I16(static_cast<int16_t>(g->skins.size()));
    for (const auto& s : g->skins) {
      w.U16(s->resource);
      Name(w, s->name);
    }
    w.I16(static_cast<int16_t>(g->tags.size()));
    for (const auto& t : g->tags) Tag(w, *t);
  }
  for (const auto& t : m.tags) Tag(w, *t);
}

}  // namespace

CoreStatus SSMObject::Save(std::vector<uint8_t>* out) const {
  std::string why;
  if (out == nullptr) return status::Fail;
  if (!SSMValidate(*this, &why)) {
    platform::DebugPrintf("SSM model not written: %s\n", why.c_str());
    return status::Fail;
  }
  const Options o = ReadOptions(*this);

  std::vector<uint8_t> bytes;
  bytes.reserve(22 + faces.size() * sizeof(SSMFace));
  ByteWriter w(&bytes);
  w.Text("SSMO");
  w.U16(o.vertexFormat);
  w.U16(o.compression);
  w.U16(static_cast<uint16_t>(vertexCount));
  w.U16(static_cast<uint16_t>(faces.size()));
  w.U16(static_cast<uint16_t>(resources.size()));
  w.U16(static_cast<uint16_t>(frames.size()));
  w.U16(static_cast<uint16_t>(anims.size()));
  w.U16(static_cast<uint16_t>(groups.size()));
  w.U16(static_cast<uint16_t>(tags.size()));

  if (o.compression == kNoCompression) {
    Body(*this, o.vertexFormat, w);
  } else {
    std::vector<uint8_t> body;
    ByteWriter bw(&body);
    Body(*this, o.vertexFormat, bw);
    if (body.size() > kMaxBodyBytes) {
      platform::DebugPrintf("SSM model not written: body too large to compress\n");
      return status::Fail;
    }
    const uLong length = static_cast<uLong>(body.size());
    std::vector<uint8_t> packed(compressBound(length));
    uLongf packedLength = static_cast<uLongf>(packed.size());
    const int z = compress(packed.data(), &packedLength, body.data(), length);
    w.U32(static_cast<uint32_t>(length));
    // A stream no shorter than the body is stored as it is: equal lengths
    // are how a reader recognises an uncompressed body.
    if (z == Z_OK && packedLength < length) {
      w.U32(static_cast<uint32_t>(packedLength));
      w.Bytes(packed.data(), packedLength);
    } else {
      w.U32(static_cast<uint32_t>(length));
      w.Bytes(body.data(), body.size());
    }
  }
  *out = std::move(bytes);
  return status::Ok;
}
