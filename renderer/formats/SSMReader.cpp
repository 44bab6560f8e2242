// The load half of the ".ssm" serialisation.
//
// Layout: a 22-byte header ("SSMO", vertex format, compression, then the
// vertex, face, resource, frame, animation, group and tag counts), then the
// body: faces, resources, frames, animations, groups, tags. With compression
// 1 the body is framed as u32 length, u32 stored length and the stored bytes
// (the body itself when both lengths agree, else a zlib stream).
#include <zlib.h>

#include <cmath>
#include <cstring>

#include "platform/DebugOutput.h"
#include "base/ByteReader.h"
#include "renderer/formats/SSMObject.h"

namespace {

constexpr size_t kHeaderBytes = 22;
// zlib cannot shrink data by more than about 1032:1.
constexpr uint64_t kMaxInflateRatio = 1032;

struct Header {
  uint16_t vertexFormat;
  uint16_t compression;
  uint16_t vertexCount;
  uint16_t faceCount;
  uint16_t resourceCount;
  uint16_t frameCount;
  uint16_t animCount;
  uint16_t groupCount;
  uint16_t tagCount;
};

class BodyParser {
 public:
  BodyParser(const uint8_t* data, size_t size, const Header& h, SSMObject* into)
      : r_(data, size), h_(h), m_(into) {}

  bool Parse() {
    return Faces() && Resources() && Frames() && Anims() && Groups() && Tags() && Triangles();
  }
  const std::string& Error() const { return error_; }

 private:
  bool Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
    return false;
  }
  bool Truncated(const char* section) { return Fail(std::string("body ends inside the ") + section); }

  bool Name(std::string* out, const char* section) {
    const int16_t n = r_.I16();
    if (!r_.Ok()) return Truncated(section);
    if (n < 0) return Fail(std::string("negative string length in the ") + section);
    if (static_cast<size_t>(n) > SSMObject::kMaxNameBytes)
      return Fail(std::string("string longer than 1023 bytes in the ") + section);
    *out = r_.String(static_cast<size_t>(n));
    return r_.Ok() || Truncated(section);
  }
  bool Count(int16_t* out, const char* section) {
    *out = r_.I16();
    if (!r_.Ok()) return Truncated(section);
    if (*out < 0) return Fail(std::string("negative count in the ") + section);
    return true;
  }
  bool TagRecord(SSMTag* tag, const char* section) {
    tag->kind = r_.U8();
    return Name(&tag->key, section) && Name(&tag->value, section);
  }

  bool Faces() {
    const size_t bytes = size_t{h_.faceCount} * sizeof(SSMFace);
    if (!r_.Need(bytes)) return Truncated("faces");
    m_->faces.resize(h_.faceCount);
    // The records are stored as held in memory (little-endian host).
    if (bytes) std::memcpy(m_->faces.data(), r_.Current(), bytes);
    r_.Skip(bytes);
    for (const SSMFace& f : m_->faces) {
      for (int16_t v : f.vertex)
        if (v < 0 || v >= h_.vertexCount) return Fail("face vertex index out of range");
      if (f.group < 0 || f.group >= h_.groupCount) return Fail("face group index out of range");
    }
    return true;
  }

  bool Resources() {
    for (unsigned i = 0; i < h_.resourceCount; ++i) {
      auto res = std::make_unique<SSMResource>();
      res->value = r_.U32();
      if (!Name(&res->name, "resources")) return false;
      m_->resources.push_back(std::move(res));
    }
    return true;
  }

  bool Frames() {
    size_t vertexBytes;
    if (h_.vertexFormat == SSMObject::kFloatVertices) {
      vertexBytes = 12;
    } else if (h_.vertexFormat == SSMObject::kGrid64Vertices) {
      vertexBytes = 6;
    } else {
      return true;  // no vertices this reader can place: frames are skipped
    }
    for (unsigned i = 0; i < h_.frameCount; ++i) {
      auto frame = std::make_unique<SSMFrame>();
      frame->a = r_.U32();
      frame->b = r_.U32();
      if (!Name(&frame->name, "frames")) return false;
      if (!r_.Skip(h_.groupCount)) return Truncated("frames");
      if (!r_.Need(size_t{h_.vertexCount} * vertexBytes)) return Truncated("frames");
      frame->vertices.resize(h_.vertexCount);
      for (SSMVec3& v : frame->vertices) {
        if (vertexBytes == 12) {
          v.x = r_.F32();
          v.y = r_.F32();
          v.z = r_.F32();
        } else {
          v.x = r_.I16() * 0.015625f;
          v.y = r_.I16() * 0.015625f;
          v.z = r_.I16() * 0.015625f;
        }
      }
      m_->frames.push_back(std::move(frame));
    }
    return true;
  }

  bool Anims() {
    for (unsigned i = 0; i < h_.animCount; ++i) {
      auto anim = std::make_unique<SSMAnim>();
      anim->flags = r_.U32();
      anim->b = r_.U32();
      if (!Count(&anim->keyCount, "animations") || !Name(&anim->name, "animations")) return false;
      const size_t keys = static_cast<size_t>(anim->keyCount);
      if (!r_.Need(keys * 6)) return Truncated("animations");
      anim->keyFrames.resize(keys);
      anim->keyDurations.resize(keys);
      for (uint16_t& k : anim->keyFrames) {
        k = r_.U16();
        if (k >= m_->frames.size()) return Fail("animation key names a missing frame");
      }
      for (float& d : anim->keyDurations) {
        d = r_.F32();
        anim->duration += d;
      }
      m_->anims.push_back(std::move(anim));
    }
    return true;
  }

  bool Groups() {
    for (unsigned i = 0; i < h_.groupCount; ++i) {
      auto group = std::make_unique<SSMGroup>();
      group->flags = r_.U32();
      group->b = r_.U32();
      if (!Name(&group->name, "groups")) return false;
      int16_t skins;
      if (!Count(&skins, "groups")) return false;
      for (int s = 0; s < skins; ++s) {
        auto skin = std::make_unique<SSMSkin>();
        skin->resource = r_.U16();
        if (!Name(&skin->name, "groups")) return false;
        if (skin->resource >= m_->resources.size()) return Fail("skin names a missing resource");
        group->skins.push_back(std::move(skin));
      }
      int16_t tags;
      if (!Count(&tags, "groups")) return false;
      for (int t = 0; t < tags; ++t) {
        auto tag = std::make_unique<SSMTag>();
        if (!TagRecord(tag.get(), "groups")) return false;
        group->tags.push_back(std::move(tag));
      }
      m_->groups.push_back(std::move(group));
    }
    return true;
  }

  bool Tags() {
    for (unsigned i = 0; i < h_.tagCount; ++i) {
      auto tag = std::make_unique<SSMTag>();
      if (!TagRecord(tag.get(), "tags")) return false;
      m_->tags.push_back(std::move(tag));
    }
    return true;
  }

  // Each group's faces, ascending: one counting pass, one filling pass.
  bool Triangles() {
    std::vector<int32_t> counts(m_->groups.size(), 0);
    for (const SSMFace& f : m_->faces) ++counts[static_cast<size_t>(f.group)];
    for (size_t g = 0; g < counts.size(); ++g) {
      if (counts[g] > SSMObject::kMaxGroupTriangles) return Fail("group has more triangles than its corners can index");
      m_->groups[g]->triangleCount = counts[g];
      m_->groups[g]->triangles.reserve(static_cast<size_t>(counts[g]));
    }
    for (size_t i = 0; i < m_->faces.size(); ++i)
      m_->groups[static_cast<size_t>(m_->faces[i].group)]->triangles.push_back(static_cast<uint16_t>(i));
    return true;
  }

  ByteReader r_;
  Header h_;
  SSMObject* m_;
  std::string error_;
};

// An animation without keys, with a total of zero or less, or with a key
// that is negative or not finite would stall or never end the key walk.
bool PlayableAnim(const SSMAnim& a) {
  if (a.keyCount <= 0 || !(a.duration > 0.0f) || !std::isfinite(a.duration)) return false;
  for (float d : a.keyDurations)
    if (!(d >= 0.0f) || !std::isfinite(d)) return false;
  return true;
}

CoreStatus Refuse(const std::string& why) {
  platform::DebugPrintf("SSM model refused: %s\n", why.c_str());
  return status::Fail;
}

}  // namespace

CoreStatus SSMObject::Load(const uint8_t* data, size_t size) {
  if (size < kHeaderBytes || (data == nullptr)) return Refuse("shorter than the 22-byte header");
  if (std::memcmp(data, "SSMO", 4) != 0) return Refuse("not an SSMO stream");
  ByteReader head(data + 4, kHeaderBytes - 4);
  Header h;
  h.vertexFormat = head.U16();
  h.compression = head.U16();
  h.vertexCount = head.U16();
  h.faceCount = head.U16();
  h.resourceCount = head.U16();
  h.frameCount = head.U16();
  h.animCount = head.U16();
  h.groupCount = head.U16();
  h.tagCount = head.U16();

  const uint8_t* body = data + kHeaderBytes;
  size_t bodySize = size - kHeaderBytes;
  std::vector<uint8_t> inflated;
  if (h.compression == kZlibCompression) {
    ByteReader frame(body, bodySize);
    const uint32_t length = frame.U32();
    const uint32_t stored = frame.U32();
    if (!frame.Ok()) return Refuse("compressed body framing is truncated");
    if (!frame.Need(stored)) return Refuse("stored body runs past the end of the file");
    if (stored == length) {
      body = frame.Current();
      bodySize = stored;
    } else {
      if (length > SSMObject::kMaxBodyBytes || uint64_t{length} > uint64_t{stored} * kMaxInflateRatio + 64)
        return Refuse("stated body length is not credible");
      inflated.resize(length);
      uLongf out = length;
      const int z = uncompress(inflated.data(), &out, frame.Current(), stored);
      if (z != Z_OK || out != length) return Refuse("compressed body does not inflate to its stated length");
      body = inflated.data();
      bodySize = length;
    }
  } else if (h.compression != kNoCompression) {
    return Refuse("unknown compression");
  }

  SSMObject fresh;
  BodyParser parser(body, bodySize, h, &fresh);
  if (!parser.Parse()) return Refuse(parser.Error());

  for (size_t i = 0; i < fresh.anims.size();) {
    if (PlayableAnim(*fresh.anims[i])) {
      ++i;
    } else {
      platform::DebugPrintf("SSM model: animation \"%s\" has no playable keys; dropped\n",
                            fresh.anims[i]->name.c_str());
      fresh.anims.erase(fresh.anims.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  fresh.vertexFormat = h.vertexFormat;
  fresh.compression = h.compression;
  fresh.vertexCount = h.vertexCount;
  fresh.faceCount = h.faceCount;
  fresh.resourceCount = h.resourceCount;
  fresh.frameCount = h.frameCount;
  fresh.animCount = static_cast<int32_t>(fresh.anims.size());
  fresh.groupCount = h.groupCount;
  fresh.tagCount = h.tagCount;
  TakeFileContent(fresh);
  return status::Ok;
}
