#pragma once
// A renderer stand-in for tests of the engine's model users, frame services
// and the GUI: it records the models, shaders and fonts asked for (flags and
// names), hands out recording models, shaders, fonts and dynamic meshes it
// owns, refuses names it was told to refuse, keeps real passes and views, and
// logs every clear, ambient colour and draw call (texts included). RunFrame
// runs the passes the way the renderer does (begin, prepare, entities,
// finish, end). Nothing is drawn.
//
// Misuse stops the test program: releasing a resource whose reference count
// is already 0 prints the resource's name and aborts at once. (No gtest here:
// test plug-ins built without it include this file too.)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/math/CameraView.h"
#include "engine/services/Core3D.h"
#include "engine/math/JMatrix.h"

namespace fake3d {

// Releasing a resource nobody holds any more is a fault of the code under
// test: the count would wrap or the object be used after it went.
inline void CheckedRelease(C3DResource* resource) {
  if (resource->GetRefCount() == 0) {
    std::fprintf(stderr, "FakeCore3D: reference count of \"%s\" released below zero\n", resource->Name().c_str());
    std::abort();
  }
  resource->C3DResource::Release();
}

// A shader with real named variables, in the order they were defined.
class FakeShader : public C3DBaseShader {
 public:
  using C3DBaseShader::C3DBaseShader;
  void Release() override { CheckedRelease(this); }
  void DefineVariable(const std::string& name, float value) override {
    const int16_t index = FindVariable(name);
    if (index >= 0) {
      variables[static_cast<size_t>(index)].second = value;
    } else {
      variables.emplace_back(name, value);
    }
  }
  uint16_t GetVariableCount() override { return static_cast<uint16_t>(variables.size()); }
  std::string GetVariableName(uint16_t index) override {
    return index < variables.size() ? variables[index].first : std::string();
  }
  int16_t FindVariable(const std::string& name) override {
    if (name.empty()) return -1;
    for (size_t i = 0; i < variables.size(); ++i) {
      if (variables[i].first == name) return static_cast<int16_t>(i);
    }
    return -1;
  }
  void SetVariable(uint16_t index, float value) override {
    if (index < variables.size()) variables[index].second = value;
  }
  float GetVariable(uint16_t index) override { return index < variables.size() ? variables[index].second : 0.0f; }
  int32_t Check() override { return 0; }

  std::vector<std::pair<std::string, float>> variables;
};

// A font page: a shader that also takes texture layers.
class FakePageShader : public FakeShader, public C3DMaterialShader {
 public:
  using FakeShader::FakeShader;
  uint16_t GetLayerCount() override { return 1; }
  C3DImage* GetLayerImage(int32_t) override { return nullptr; }
  void SetLayerImage(int32_t, C3DImage*) override {}
  bool EnableLayer(int32_t) override { return true; }
  bool DisableLayer(int32_t) override { return true; }
  void SetLayerBlend(int32_t, bool, bool) override {}
  int32_t SetLayerCount(int32_t) override { return 0; }
  void SetAmbient(float, float, float, float) override {}
  void SetDiffuse(float, float, float, float) override {}
};

// A monospaced font: every character is `advance` wide unless `widths`
// names it; one page whose colour variables start at 1.
class FakeFont : public C3DFont {
 public:
  FakeFont(Core3D* owner, uint32_t flags, std::string name) : C3DFont(owner, flags, name), page(owner, 0, name + " page") {
    page.DefineVariable("#rval", 1.0f);
    page.DefineVariable("#gval", 1.0f);
    page.DefineVariable("#bval", 1.0f);
  }
  void Release() override { CheckedRelease(this); }
  const char* GetCharacters() override { return ""; }
  float Width(const std::string& text) const {
    float w = 0.0f;
    for (char c : text) {
      auto it = widths.find(c);
      w += it == widths.end() ? advance : it->second;
    }
    return w;
  }
  void Measure(std::string text, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
               float* maxZ) override {
    *minX = *minY = *minZ = 0.0f;
    *maxX = Width(text);
    *maxY = lineHeight;
    *maxZ = 0.0f;
  }
  float GetLineHeight() override { return lineHeight; }
  float GetAscent() override { return lineHeight; }
  float GetDescent() override { return 0.0f; }
  int32_t GetPageCount() override { return 1; }
  C3DMaterialShader* GetPageShader(uint16_t index) override { return index == 0 ? &page : nullptr; }
  int32_t Check() override { return 0; }
  void AddText(C3DPass*, const std::string&, const JMatrix*) override {}
  void Flush(C3DPass*) override {}

  float advance = 10.0f;
  float lineHeight = 16.0f;
  std::map<char, float> widths;
  FakePageShader page;
};

// What the model was told, in order, as text ("anchor 3", "extent 0 1 1",
// "shader 0 <name>").
class FakeModel : public C3DModel {
 public:
  using C3DModel::C3DModel;
  std::vector<std::string> log;
  void Release() override { CheckedRelease(this); }

  void SetAnchor(int32_t index) override {
    anchor = index;
    log.push_back("anchor " + std::to_string(index));
  }
  int32_t GetAnchor() override { return anchor; }
  int32_t GetAnchorCount() override { return static_cast<int32_t>(anchors.size()); }
  std::string GetAnchorName(int32_t) override { return {}; }
  bool GetAnchorMatrix(int32_t index, JMatrix* out) override {
    for (auto& a : anchors) {
      if (a.first == index) {
        *out = a.second;
        return true;
      }
    }
    return false;
  }
  bool GetAnchorTransform(int32_t, float[4], float[3], float*) override { return false; }
  void GetBounds(float minimum[3], float maximum[3], JMatrix*) override {
    for (int i = 0; i < 3; ++i) {
      minimum[i] = boundsMin[i];
      maximum[i] = boundsMax[i];
    }
  }
  uint16_t GetPartCount() override { return 1; }
  void SetPartVisible(uint16_t, bool) override {}
  bool IsPartVisible(uint16_t) override { return true; }
  std::string GetPartName(uint16_t) override { return {}; }
  void SetShader(uint16_t index, C3DBaseShader* s) override {
    shader = s;
    log.push_back("shader " + std::to_string(index) + " " + (s ? s->GetName() : std::string("null")));
  }
  C3DBaseShader* GetShader(uint16_t) override { return shader; }
  int32_t GetAnimationCount() override { return 0; }
  void PlayAnimation(int32_t, float, float, bool, bool) override {}
  void AdvanceAnimation(int32_t, float) override {}
  void StopAnimation(int32_t) override {}
  float GetAnimationLength(int32_t) override { return 0.0f; }
  float GetAnimationTime(int32_t) override { return 0.0f; }
  void SetAnimationWeight(int32_t, float) override {}
  float GetAnimationWeight(int32_t) override { return 0.0f; }
  void SetAnimationSpeed(int32_t, float) override {}
  float GetAnimationSpeed(int32_t) override { return 0.0f; }
  void SetAnimationLoop(int32_t, bool) override {}
  bool IsAnimationLooping(int32_t) override { return false; }
  void SetAnimationReverse(int32_t, bool) override {}
  bool IsAnimationReversed(int32_t) override { return false; }
  bool IsAnimationPlaying(uint32_t) override { return false; }
  std::string GetAnimationName(int32_t) override { return {}; }
  int32_t FindAnimation(const std::string&) override { return -1; }
  uint16_t GetVertexCount() override { return 4; }
  uint16_t GetFaceCount() override { return 2; }
  bool IsEditable() override { return false; }
  bool BeginEdit() override { return false; }
  bool EndEdit() override { return false; }
  bool IsEditing() override { return false; }
  // The last geometry handed over (polymesh users build their own).
  void SetVertices(const RenderVertex* v, uint16_t count) override { vertices.assign(v, v + count); }
  void SetIndices(const uint16_t* values, const uint16_t* parts, uint32_t count) override {
    indices.assign(values, values + count);
    indexParts.assign(parts, parts ? parts + count : parts);
  }
  void SetPartCount(uint16_t count) override { partCount = count; }
  std::vector<RenderVertex> vertices;
  std::vector<uint16_t> indices;
  std::vector<uint16_t> indexParts;
  uint16_t partCount = 0;
  void SetTextureRect(int32_t set, float u0, float u1, float v0, float v1) override {
    log.push_back("rect " + std::to_string(set) + " " + std::to_string(u0) + " " + std::to_string(u1) + " " +
                  std::to_string(v0) + " " + std::to_string(v1));
  }
  void SetTextureExtent(int32_t set, float u, float v) override {
    log.push_back("extent " + std::to_string(set) + " " + std::to_string(u) + " " + std::to_string(v));
  }
  void SetWidth(float) override {}
  void SetHeight(float) override {}
  void SetStatic() override {}
  void SetDynamic() override {}
  bool IsStatic() override { return true; }
  int32_t Check() override { return 0; }
  void AddInstance(JMatrix*) override {}
  void RemoveInstance(JMatrix*) override {}
  void Draw(C3DPass* pass, const JMatrix* world) override { GetOwner()->DrawModel(pass, this, world); }

  int32_t anchor = -1;
  C3DBaseShader* shader = nullptr;
  float boundsMin[3] = {0.0f, 0.0f, 0.0f};
  float boundsMax[3] = {1.0f, 1.0f, 0.0f};
  // Frame (anchor) matrices the tests give the model.
  std::vector<std::pair<int32_t, JMatrix>> anchors;
};

// A pass that keeps its fog, as the renderer's device-backed pass does.
class FakePass : public C3DPass {
 public:
  bool IsFogEnabled() override { return fogOn; }
  void EnableFog() override { fogOn = true; }
  void DisableFog() override { fogOn = false; }
  void SetFogValueA(float v) override { fogA = v; }
  float GetFogValueA() override { return fogA; }
  void SetFogValueB(float v) override { fogB = v; }
  float GetFogValueB() override { return fogB; }
  void SetFogDensity(float d) override { fogDensity = d; }
  float GetFogDensity() override { return fogDensity; }
  void SetFogColour(float r, float g, float b) override {
    fogColour[0] = r;
    fogColour[1] = g;
    fogColour[2] = b;
  }
  void GetFogColour(float* r, float* g, float* b) override {
    *r = fogColour[0];
    *g = fogColour[1];
    *b = fogColour[2];
  }

  bool fogOn = false;
  float fogA = 0.0f;
  float fogB = 0.0f;
  float fogDensity = 0.0f;
  float fogColour[3] = {0.0f, 0.0f, 0.0f};
};

// A dynamic mesh that keeps the arrays and counts it was given.
class FakeMesh : public C3DMesh {
 public:
  using C3DMesh::C3DMesh;
  void Release() override { CheckedRelease(this); }
  ~FakeMesh() override {
    if (ownsVertices) delete[] vertices;
    if (ownsIndices) delete[] indices;
  }

  int32_t Check() override { return 0; }
  void Reserve(uint32_t v, uint32_t i) override {
    reservedVertices = v;
    reservedIndices = i;
  }
  void SetShader(C3DMaterialShader* s) override { shader = s; }
  bool SetVertices(RenderVertex* v, uint32_t count, bool owns, bool) override {
    if (ownsVertices && vertices != v) delete[] vertices;
    vertices = v;
    vertexCapacity = vertexCount = count;
    ownsVertices = owns;
    return true;
  }
  bool SetIndices(uint16_t* i, uint32_t count, bool owns, bool) override {
    if (ownsIndices && indices != i) delete[] indices;
    indices = i;
    indexCapacity = indexCount = count;
    ownsIndices = owns;
    return true;
  }
  int32_t SetVertexCount(int32_t count) override {
    vertexCount = count < 0 ? 0 : std::min<uint32_t>(static_cast<uint32_t>(count), vertexCapacity);
    return static_cast<int32_t>(vertexCount);
  }
  int32_t SetIndexCount(int32_t count) override {
    indexCount = count < 0 ? 0 : std::min<uint32_t>(static_cast<uint32_t>(count), indexCapacity);
    return static_cast<int32_t>(indexCount);
  }
  uint8_t SetUseBuffers(uint8_t use) override { return useBuffers = use; }
  uint8_t SetLineMode(uint8_t lines) override { return lineMode = lines; }
  void Draw(C3DPass* pass, const JMatrix* world) override { GetOwner()->DrawResource(pass, this, world); }
  void RenderToImage(C3DImage*, const JMatrix*, const JMatrix*, const JMatrix*) override {}

  RenderVertex* vertices = nullptr;
  uint16_t* indices = nullptr;
  uint32_t vertexCapacity = 0;
  uint32_t indexCapacity = 0;
  uint32_t vertexCount = 0;
  uint32_t indexCount = 0;
  uint32_t reservedVertices = 0;
  uint32_t reservedIndices = 0;
  bool ownsVertices = false;
  bool ownsIndices = false;
  uint8_t useBuffers = 0;
  uint8_t lineMode = 0;
  C3DMaterialShader* shader = nullptr;
};

// One queued draw as the renderer received it.
struct DrawCall {
  C3DPass* pass = nullptr;
  C3DResource* resource = nullptr;
  std::string text;  // DrawText: the text laid out
  float colour[3] = {1.0f, 1.0f, 1.0f};  // DrawText: the font page's colour variables at the call
  JMatrix world{};
  uint32_t vertexCount = 0;  // meshes: the counts in force at the draw
  uint32_t indexCount = 0;
};

struct ClearCall {
  bool target;
  uint32_t colour;
  bool depth;
  float depthValue;
  bool stencil;
};

// One CreateModel or CreateShader request.
struct Request {
  std::string what;  // "model", "shader" or "font"
  uint32_t flags;
  std::string name;
  bool operator==(const Request&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Request& r) {
  return out << r.what << " " << r.flags << " " << r.name;
}

class FakeCore3D : public Core3D {
 public:
  std::vector<Request> requests;
  std::set<std::string> refused;  // names CreateModel / CreateShader answer null for
  std::vector<std::unique_ptr<FakeModel>> models;
  std::vector<std::unique_ptr<FakeShader>> shaders;
  std::vector<std::unique_ptr<FakeFont>> fonts;
  // Shaders and fonts of one name are shared: a second request answers the
  // first with one more reference, as the renderer's registries do.
  bool shareByName = false;

  FakeModel* LastModel() { return models.empty() ? nullptr : models.back().get(); }

  std::vector<std::unique_ptr<FakePass>> passes;
  std::vector<std::unique_ptr<CameraView>> views;
  std::vector<std::unique_ptr<FakeMesh>> meshes;
  std::vector<DrawCall> draws;
  std::vector<ClearCall> clears;
  std::vector<std::vector<float>> ambient;
  std::vector<std::string> meshNames;
  int32_t frames = 0;
  bool refuseMeshes = false;

  // Runs every pass in list order as the renderer's frame does.
  void RunFrame() {
    ++frames;
    for (size_t i = 0; i < passes.size(); ++i) {
      C3DPass* pass = passes[i].get();
      pass->RunBeginHook();
      pass->RunPrepareHook();
      pass->RenderEntities();
      pass->RunFinishHook();
      pass->RunEndHook();
      pass->ClearEntities();
    }
  }
  FakePass* Pass(int32_t i) { return static_cast<FakePass*>(GetPass(i)); }
  FakeModel* NewModel(const std::string& name) {
    models.push_back(std::make_unique<FakeModel>(this, 0, name));
    return models.back().get();
  }

  // Module base.
  bool Init() override { return true; }
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override {
    if (options) *options = &settings_;
    return static_cast<uint32_t>(settings_.size());
  }
  bool ApplyConfig() override { return true; }
  void ClearConfig() override { DeleteSettings(); }

  void Update(float) override {}
  void SetWindow(platform::HWND) override {}
  int32_t EnumerateAdapters() override { return 0; }
  int32_t GetModeList(C3DAdapter** adapters) override {
    if (adapters) *adapters = nullptr;
    return 0;
  }
  void FreeModeList() override {}
  CoreStatus CreateDevice(const C3DDisplayMode*) override { return status::Fail; }
  bool CheckMode(const C3DDisplayMode*) override { return false; }
  bool ResetDevice(const C3DDisplayMode*) override { return false; }
  bool ReleaseDevice() override { return true; }
  CoreStatus RenderFrame() override {
    RunFrame();
    return status::Ok;
  }
  bool CaptureScreen(uint8_t** data, uint32_t* size) override {
    if (data) *data = nullptr;
    if (size) *size = 0;
    return false;
  }
  bool SaveScreenshot(const std::string&) override { return false; }
  CoreStatus CreateTextureFromMemory(const void*, uint32_t, void** texture) override {
    if (texture) *texture = nullptr;
    return status::Fail;
  }
  int32_t GetPassCount() override { return static_cast<int32_t>(passes.size()); }
  C3DPass* GetPass(int32_t index) override {
    return index >= 0 && index < GetPassCount() ? passes[static_cast<size_t>(index)].get() : nullptr;
  }
  C3DPass* InsertPass(int32_t index) override {
    auto pass = std::make_unique<FakePass>();
    FakePass* raw = pass.get();
    if (index < 0 || index >= GetPassCount()) {
      passes.push_back(std::move(pass));
    } else {
      passes.insert(passes.begin() + index, std::move(pass));
    }
    RenumberPasses();
    return raw;
  }
  void RemovePass(int32_t index) override {
    if (index < 0 || index >= GetPassCount()) return;
    passes.erase(passes.begin() + index);
    RenumberPasses();
  }
  // The pass goes in front of the one that held "to"; a negative "to", or
  // one past the end, means the end.
  void MovePass(int32_t from, int32_t to) override {
    if (from < 0 || from >= GetPassCount()) return;
    if (to < 0 || to > GetPassCount()) to = GetPassCount();
    std::unique_ptr<FakePass> pass = std::move(passes[static_cast<size_t>(from)]);
    passes.erase(passes.begin() + from);
    if (to > from) --to;
    passes.insert(passes.begin() + to, std::move(pass));
    RenumberPasses();
  }
  CameraView* AddView() override {
    views.push_back(std::make_unique<CameraView>());
    RenumberViews();
    return views.back().get();
  }
  void RemoveView(int32_t index) override {
    if (index < 0 || index >= GetViewCount()) return;
    views.erase(views.begin() + index);
    RenumberViews();
  }
  int32_t GetViewCount() override { return static_cast<int32_t>(views.size()); }
  CameraView* GetView(int32_t index) override {
    return index >= 0 && index < GetViewCount() ? views[static_cast<size_t>(index)].get() : nullptr;
  }
  void SetAmbientColour(float r, float g, float b, float a) override { ambient.push_back({r, g, b, a}); }
  void SetMatrix(uint32_t, const JMatrix*) override {}
  void GetMatrix(uint32_t, JMatrix*) override {}
  void SetFlags(uint32_t, bool) override {}
  bool GetFlag(uint32_t) override { return false; }
  void SetViewport(uint32_t, uint32_t, uint32_t, uint32_t) override {}
  void GetViewport(uint32_t*, uint32_t*, uint32_t*, uint32_t*) override {}
  void Clear(bool target, uint32_t colour, bool depth, float depthValue, bool stencil, uint32_t) override {
    clears.push_back(ClearCall{target, colour, depth, depthValue, stencil});
  }

  C3DModel* CreateModel(uint32_t flags, std::string name) override {
    requests.push_back(Request{"model", flags, name});
    if (refused.count(name)) return nullptr;
    models.push_back(std::make_unique<FakeModel>(this, flags, name));
    return models.back().get();
  }
  void AddRefResource(C3DModel* model) override { model->AddRef(); }
  void ReleaseResource(C3DModel* model) override { model->Release(); }
  int32_t CheckModel(C3DModel*) override { return 0; }
  C3DMesh* CreateMesh(uint32_t flags, std::string name) override {
    meshNames.push_back(name);
    if (refuseMeshes) return nullptr;
    meshes.push_back(std::make_unique<FakeMesh>(this, flags, std::move(name)));
    return meshes.back().get();
  }
  void AddRefResource(C3DMesh* mesh) override { mesh->AddRef(); }
  void ReleaseResource(C3DMesh* mesh) override { mesh->Release(); }
  int32_t CheckMesh(C3DMesh*) override { return 0; }
  C3DFont* CreateFont(uint32_t flags, std::string name) override {
    requests.push_back(Request{"font", flags, name});
    if (refused.count(name)) return nullptr;
    if (shareByName) {
      for (auto& f : fonts) {
        if (f->Name() == name && f->GetRefCount() > 0) {
          f->AddRef();
          return f.get();
        }
      }
    }
    fonts.push_back(std::make_unique<FakeFont>(this, flags, name));
    return fonts.back().get();
  }
  void AddRefResource(C3DFont* font) override { font->AddRef(); }
  void ReleaseResource(C3DFont* font) override { font->Release(); }
  int32_t CheckFont(C3DFont*) override { return 0; }
  C3DBaseShader* CreateShader(uint32_t flags, std::string name) override {
    requests.push_back(Request{"shader", flags, name});
    if (refused.count(name)) return nullptr;
    if (shareByName) {
      for (auto& sh : shaders) {
        if (sh->Name() == name && sh->GetRefCount() > 0) {
          sh->AddRef();
          return sh.get();
        }
      }
    }
    shaders.push_back(std::make_unique<FakeShader>(this, flags, name));
    return shaders.back().get();
  }
  void AddRefResource(C3DBaseShader* shader) override { shader->AddRef(); }
  void ReleaseResource(C3DBaseShader* shader) override { shader->Release(); }
  int32_t CheckShader(C3DBaseShader*) override { return 0; }
  C3DImage* CreateImage(uint32_t, std::string) override { return nullptr; }
  void AddRefResource(C3DImage*) override {}
  void ReleaseResource(C3DImage*) override {}
  int32_t CheckImage(C3DImage*) override { return 0; }
  void AddRefResource(C3DResource* resource) override { resource->AddRef(); }
  void ReleaseResource(C3DResource* resource) override { resource->Release(); }
  void DrawModel(C3DPass* pass, C3DModel* model, const JMatrix* world) override {
    DrawCall call;
    call.pass = pass;
    call.resource = model;
    if (world) call.world = *world;
    draws.push_back(call);
  }
  void DrawText(C3DPass* pass, C3DFont* font, const std::string& text, const JMatrix* world) override {
    DrawCall call;
    call.pass = pass;
    call.resource = font;
    call.text = text;
    if (world) call.world = *world;
    if (auto* f = dynamic_cast<FakeFont*>(font)) {
      for (int i = 0; i < 3; ++i) call.colour[i] = f->page.GetVariable(static_cast<uint16_t>(i));
    }
    draws.push_back(call);
  }
  void DrawResource(C3DPass* pass, C3DMesh* mesh, const JMatrix* world) override {
    DrawCall call;
    call.pass = pass;
    call.resource = mesh;
    if (world) call.world = *world;
    if (auto* m = dynamic_cast<FakeMesh*>(mesh)) {
      call.vertexCount = m->vertexCount;
      call.indexCount = m->indexCount;
    }
    draws.push_back(call);
  }
  void DrawResourceNow(C3DMesh*, C3DImage*, const JMatrix*, const JMatrix*, const JMatrix*) override {}
  uint32_t ComputeCapability(int32_t) override { return 0; }
  CoreStatus GetCapability(int32_t, uint32_t*) override { return status::Fail; }
  bool ToggleMetrics() override { return false; }
  void SetFlagA(bool) override {}
  bool GetFlagB() override { return false; }

 private:
  void RenumberPasses() {
    for (size_t i = 0; i < passes.size(); ++i) passes[i]->SetIndex(static_cast<int32_t>(i));
  }
  void RenumberViews() {
    for (size_t i = 0; i < views.size(); ++i) views[i]->index = static_cast<int32_t>(i);
  }
};

// An image that keeps the pixels it is built from and counts its updates.
class PixelImage : public C3DImage {
 public:
  using C3DImage::C3DImage;
  void Release() override { CheckedRelease(this); }
  uint16_t GetWidth() override { return width; }
  uint16_t GetHeight() override { return height; }
  int32_t Check() override { return 0; }
  int32_t BuildFromPixels(Core3D*, uint16_t w, uint16_t h, bool, const uint32_t* data) override {
    width = w;
    height = h;
    pixels.assign(data, data + static_cast<size_t>(w) * h);
    return 0;
  }
  int32_t MoveToDevice(Core3D*) override { return 0; }
  bool UpdatePixels(const uint32_t* data) override {
    pixels.assign(data, data + pixels.size());
    ++updates;
    return true;
  }
  int32_t LoadFromMemory(const void*, uint32_t) override { return -1; }

  uint16_t width = 0;
  uint16_t height = 0;
  std::vector<uint32_t> pixels;
  int32_t updates = 0;
};

}  // namespace fake3d
