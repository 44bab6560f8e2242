#pragma once
// A renderer stand-in for tests of the engine's model users and frame
// services: it records the models and shaders asked for (flags and names),
// hands out recording models, shaders and dynamic meshes it owns, refuses
// names it was told to refuse, keeps real passes and views, and logs every
// clear, ambient colour and draw call. RunFrame runs the passes the way the
// renderer does (begin, prepare, entities, finish, end). Nothing is drawn.
#include <algorithm>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/math/CameraView.h"
#include "engine/services/Core3D.h"
#include "engine/math/JMatrix.h"

namespace fake3d {

class FakeShader : public C3DBaseShader {
 public:
  using C3DBaseShader::C3DBaseShader;
  void DefineVariable(const std::string&, float) override {}
  uint16_t GetVariableCount() override { return 0; }
  std::string GetVariableName(uint16_t) override { return {}; }
  int16_t FindVariable(const std::string&) override { return -1; }
  void SetVariable(uint16_t, float) override {}
  float GetVariable(uint16_t) override { return 0.0f; }
  int32_t Check() override { return 0; }
};

// What the model was told, in order, as text ("anchor 3", "extent 0 1 1",
// "shader 0 <name>").
class FakeModel : public C3DModel {
 public:
  using C3DModel::C3DModel;
  std::vector<std::string> log;

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
  void GetBounds(float[3], float[3], JMatrix*) override {}
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
  void SetVertices(const RenderVertex*, uint16_t) override {}
  void SetIndices(const uint16_t*, const uint16_t*, uint32_t) override {}
  void SetPartCount(uint16_t) override {}
  void SetTextureRect(int32_t, float, float, float, float) override {}
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
  std::string what;  // "model" or "shader"
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
  C3DFont* CreateFont(uint32_t, std::string) override { return nullptr; }
  void AddRefResource(C3DFont*) override {}
  void ReleaseResource(C3DFont*) override {}
  int32_t CheckFont(C3DFont*) override { return 0; }
  C3DBaseShader* CreateShader(uint32_t flags, std::string name) override {
    requests.push_back(Request{"shader", flags, name});
    if (refused.count(name)) return nullptr;
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
  void DrawText(C3DPass*, C3DFont*, const std::string&, const JMatrix*) override {}
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

}  // namespace fake3d
