#pragma once
// The element records of an ".ssm" model: faces, resources, key frames,
// animations, groups with their skins and tags, and the draw data that
// SSMObject::BuildDrawData adds to each group.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SSMShaderRef;

struct SSMVec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// One textured triangle, 36 bytes, stored in the file exactly as held here
// (little-endian). Vertex indices address every frame's vertex list; `group`
// is the position of the owning group in the file's group list.
struct SSMFace {
  int16_t vertex[3] = {0, 0, 0};
  uint16_t reserved0 = 0;
  float uv[3][2] = {{0, 0}, {0, 0}, {0, 0}};
  int16_t group = 0;
  uint16_t reserved1 = 0;
};
static_assert(sizeof(SSMFace) == 36, "face records are 36 bytes on disk");

// A named resource the groups are skinned with (a shader script or a texture
// file). `shader` is filled when the renderer prepares the model; the model
// never takes or gives back a reference on it.
struct SSMResource {
  std::string name;
  uint32_t value = 0;
  SSMShaderRef* shader = nullptr;
};

// One whole-mesh key frame: every vertex of the model.
struct SSMFrame {
  uint32_t a = 0;
  uint32_t b = 0;
  std::vector<SSMVec3> vertices;
  std::string name;
};

// A named walk over key frames; each key shows one frame for its duration
// and blends towards the next key's frame.
struct SSMAnim {
  std::string name;
  uint32_t flags = 0;  // initial state of each instance (bit 0: playing)
  uint32_t b = 0;
  int16_t keyCount = 0;
  float duration = 0.0f;  // sum of the key durations
  std::vector<uint16_t> keyFrames;
  std::vector<float> keyDurations;
};

struct SSMSkin {
  std::string name;
  uint16_t resource = 0;  // index into SSMObject::resources
};

struct SSMTag {
  std::string key;
  std::string value;
  uint8_t kind = 0;
};

struct SSMCorner {
  int32_t vertex = 0;
  float u = 0.0f;
  float v = 0.0f;
};

struct SSMBox {
  float minX, minY, minZ;
  float maxX, maxY, maxZ;
};

struct SSMGroup {
  static constexpr uint32_t kVisible = 1u;
  static constexpr uint32_t kAnchorMarker = 2u;

  std::string name;
  uint32_t flags = 0;
  uint32_t b = 0;
  // Faces owned by this group, ascending; rebuilt by the reader.
  int32_t triangleCount = 0;
  std::vector<uint16_t> triangles;
  // Draw data (BuildDrawData).
  int32_t usedVertexCount = 0;
  std::vector<uint16_t> usedVertices;
  int32_t cornerCount = 0;
  std::vector<SSMCorner> corners;
  std::vector<uint16_t> cornerIndices;  // 3 per triangle
  std::vector<SSMBox> frameBoxes;       // one per key frame
  std::vector<std::unique_ptr<SSMSkin>> skins;
  std::vector<std::unique_ptr<SSMTag>> tags;
};
