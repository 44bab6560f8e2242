#pragma once
// One animated model of the renderer's ".ssm" format: a vertex count shared
// by every key frame, textured triangles, named resources, key frames,
// animations, groups with skins and tags, and model-level tags that carry the
// writer's options ("VertCompress", "ZCompress").
//
// Header counts are unsigned 16-bit values on disk. Nothing ever gave a
// negative count a meaning, and the wider range lets one model hold up to
// 65535 faces; face vertex indices stay signed 16-bit as stored.
//
// The reader bounds every read by the body, requires an inflated body to be
// exactly its stated size, and checks every face vertex and group, skin
// resource and key frame index; a file that fails is refused with a message
// on the debugger channel and the object keeps what it held.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Status.h"
#include "renderer/formats/SSMAnchor.h"
#include "renderer/formats/SSMHandle.h"
#include "renderer/formats/SSMRecords.h"

class SSMObject {
 public:
  static constexpr uint16_t kFloatVertices = 1;
  static constexpr uint16_t kGrid64Vertices = 2;
  static constexpr uint16_t kNoCompression = 0;
  static constexpr uint16_t kZlibCompression = 1;
  static constexpr size_t kMaxCount = 65535;
  static constexpr size_t kMaxNameBytes = 1023;
  // A group's corners are addressed by 16-bit indices, three per triangle.
  static constexpr int32_t kMaxGroupTriangles = 65535 / 3;
  // A model body never comes near this; it bounds what a forged length asks.
  static constexpr uint32_t kMaxBodyBytes = 128u << 20;

  SSMObject() = default;
  ~SSMObject();
  SSMObject(const SSMObject&) = delete;
  SSMObject& operator=(const SSMObject&) = delete;

  // The load half of serialisation: replaces the file-held content on
  // success; on failure logs why and changes nothing.
  CoreStatus Load(const uint8_t* data, size_t size);
  // The store half: options come from the model-level tags. Fails (writing
  // nothing) when the model breaks a rule the reader enforces.
  CoreStatus Save(std::vector<uint8_t>* out) const;
  // Through the project's path resolver.
  CoreStatus LoadFile(const std::string& fileName);
  CoreStatus SaveFile(const std::string& fileName) const;

  // Frees every record and zeroes the header fields (handles stay registered).
  void Clear();

  // Marker groups become anchors; run once after a load.
  void BuildAnchors();
  // Used vertices, corners and per-frame boxes of every group; run once
  // after BuildAnchors.
  void BuildDrawData();
  SSMHandle* CreateHandle();
  void ReleaseHandle(SSMHandle* handle);

  std::string name;
  std::string second;
  std::vector<std::unique_ptr<SSMGroup>> groups;
  std::vector<std::unique_ptr<SSMAnchor>> anchors;
  std::vector<std::unique_ptr<SSMFrame>> frames;
  std::vector<std::unique_ptr<SSMAnim>> anims;
  std::vector<SSMHandle*> handles;  // registered, owned by model resources
  std::vector<std::unique_ptr<SSMResource>> resources;
  std::vector<std::unique_ptr<SSMTag>> tags;
  std::vector<SSMFace> faces;

  uint16_t vertexFormat = 0;
  uint16_t compression = 0;
  int32_t frameCount = 0;
  int32_t groupCount = 0;
  int32_t animCount = 0;
  int32_t vertexCount = 0;
  int32_t faceCount = 0;
  int32_t resourceCount = 0;
  int32_t tagCount = 0;

 private:
  void TakeFileContent(SSMObject& from);
};

// Checks the cross-references the reader enforces; false with a reason.
bool SSMValidate(const SSMObject& model, std::string* reason);
