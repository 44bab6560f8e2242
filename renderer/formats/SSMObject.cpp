#include "renderer/formats/SSMObject.h"

#include <algorithm>

#include "platform/DebugOutput.h"
#include "platform/DurableSave.h"
#include "platform/FileRead.h"
#include "renderer/formats/SSMShaderRef.h"

SSMObject::~SSMObject() {
  // Handles belong to their model resources; they only learn the object is gone.
  for (SSMHandle* h : handles) h->object = nullptr;
  handles.clear();
}

void SSMObject::Clear() {
  groups.clear();
  anchors.clear();
  frames.clear();
  anims.clear();
  resources.clear();
  tags.clear();
  faces.clear();
  vertexFormat = compression = 0;
  frameCount = groupCount = animCount = vertexCount = faceCount = resourceCount = tagCount = 0;
}

void SSMObject::TakeFileContent(SSMObject& from) {
  Clear();
  groups = std::move(from.groups);
  frames = std::move(from.frames);
  anims = std::move(from.anims);
  resources = std::move(from.resources);
  tags = std::move(from.tags);
  faces = std::move(from.faces);
  vertexFormat = from.vertexFormat;
  compression = from.compression;
  frameCount = from.frameCount;
  groupCount = from.groupCount;
  animCount = from.animCount;
  vertexCount = from.vertexCount;
  faceCount = from.faceCount;
  resourceCount = from.resourceCount;
  tagCount = from.tagCount;
}

CoreStatus SSMObject::LoadFile(const std::string& fileName) {
  // The largest body and room for the header and tables around it.
  constexpr uint64_t kMaxModelFileBytes = uint64_t{SSMObject::kMaxBodyBytes} * 2;
  std::vector<uint8_t> bytes;
  platform::FileReadError why;
  if (!platform::ReadFileBytes(fileName, kMaxModelFileBytes, &bytes, &why)) {
    platform::DebugPrintf("SSM model: \"%s\" %s\n", fileName.c_str(), why.text.c_str());
    return status::Fail;
  }
  return Load(bytes.data(), bytes.size());
}

CoreStatus SSMObject::SaveFile(const std::string& fileName) const {
  std::vector<uint8_t> bytes;
  if (status::Failed(Save(&bytes))) return status::Fail;
  std::string why;
  if (!platform::SaveFileDurably(fileName, bytes.data(), bytes.size(), &why)) {
    platform::DebugPrintf("SSM model: cannot write \"%s\": %s\n", fileName.c_str(), why.c_str());
    return status::Fail;
  }
  return status::Ok;
}

bool SSMValidate(const SSMObject& m, std::string* reason) {
  auto fail = [reason](const char* why) {
    if (reason) *reason = why;
    return false;
  };
  if (m.vertexCount < 0 || static_cast<size_t>(m.vertexCount) > SSMObject::kMaxCount)
    return fail("vertex count out of range");
  for (size_t n : {m.faces.size(), m.resources.size(), m.frames.size(), m.anims.size(), m.groups.size(),
                   m.tags.size()})
    if (n > SSMObject::kMaxCount) return fail("more than 65535 records in a section");
  auto nameOk = [](const std::string& s) { return s.size() <= SSMObject::kMaxNameBytes; };
  std::vector<int32_t> perGroup(m.groups.size(), 0);
  for (const SSMFace& f : m.faces) {
    for (int16_t v : f.vertex)
      if (v < 0 || v >= m.vertexCount) return fail("face vertex index out of range");
    if (f.group < 0 || static_cast<size_t>(f.group) >= m.groups.size()) return fail("face group index out of range");
    if (++perGroup[static_cast<size_t>(f.group)] > SSMObject::kMaxGroupTriangles)
      return fail("group has more triangles than its corners can index");
  }
  for (const auto& r : m.resources)
    if (!nameOk(r->name)) return fail("resource name longer than 1023 bytes");
  for (const auto& f : m.frames) {
    if (!nameOk(f->name)) return fail("frame name longer than 1023 bytes");
    if (f->vertices.size() != static_cast<size_t>(m.vertexCount)) return fail("frame vertex count differs from the model's");
  }
  for (const auto& a : m.anims) {
    if (!nameOk(a->name)) return fail("animation name longer than 1023 bytes");
    if (a->keyCount < 0 || a->keyFrames.size() != static_cast<size_t>(a->keyCount) ||
        a->keyDurations.size() != a->keyFrames.size())
      return fail("animation key lists differ from its key count");
    for (uint16_t k : a->keyFrames)
      if (k >= m.frames.size()) return fail("animation key names a missing frame");
  }
  auto tagsOk = [&](const std::vector<std::unique_ptr<SSMTag>>& list) {
    return list.size() <= 32767 && std::all_of(list.begin(), list.end(), [&](const auto& t) {
             return nameOk(t->key) && nameOk(t->value);
           });
  };
  for (const auto& g : m.groups) {
    if (!nameOk(g->name)) return fail("group name longer than 1023 bytes");
    if (g->skins.size() > 32767) return fail("too many skins in a group");
    for (const auto& s : g->skins) {
      if (!nameOk(s->name)) return fail("skin name longer than 1023 bytes");
      if (s->resource >= m.resources.size()) return fail("skin names a missing resource");
    }
    if (!tagsOk(g->tags)) return fail("bad group tag");
  }
  if (!tagsOk(m.tags)) return fail("bad model tag");
  return true;
}

SSMHandle* SSMObject::CreateHandle() {
  auto* handle = new SSMHandle(this);
  for (const auto& g : groups) {
    auto gh = std::make_unique<SSMGroupHandle>();
    gh->flags = g->flags;
    gh->b = g->b;
    if (!g->skins.empty()) {
      gh->shader = resources[g->skins.front()->resource]->shader;
      if (gh->shader) gh->shader->AddShaderRef();
    }
    handle->groups.push_back(std::move(gh));
  }
  for (const auto& a : anims) {
    auto ah = std::make_unique<SSMAnimHandle>();
    ah->state = a->flags;
    ah->b = a->b;
    handle->anims.push_back(std::move(ah));
  }
  handles.push_back(handle);
  return handle;
}

void SSMObject::ReleaseHandle(SSMHandle* handle) {
  if (handle == nullptr) return;
  auto it = std::find(handles.begin(), handles.end(), handle);
  if (it != handles.end()) {
    handle->Clear();
    handles.erase(it);
  }
  handle->object = nullptr;
}
