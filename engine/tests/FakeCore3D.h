#pragma once
// A renderer stand-in for tests of the engine's model users: it records the
// models and shaders asked for (flags and names), hands out recording models
// and shaders it owns, and refuses names it was told to refuse. Nothing is
// drawn; every other operation is inert.
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/Core3D.h"

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
  int32_t GetAnchorCount() override { return 0; }
  std::string GetAnchorName(int32_t) override { return {}; }
  bool GetAnchorMatrix(int32_t, JMatrix*) override { return false; }
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
  void Draw(C3DPass*, const JMatrix*) override {}

  int32_t anchor = -1;
  C3DBaseShader* shader = nullptr;
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
  CoreStatus RenderFrame() override { return status::Ok; }
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
  int32_t GetPassCount() override { return 0; }
  C3DPass* GetPass(int32_t) override { return nullptr; }
  C3DPass* InsertPass(int32_t) override { return nullptr; }
  void RemovePass(int32_t) override {}
  void MovePass(int32_t, int32_t) override {}
  CameraView* AddView() override { return nullptr; }
  void RemoveView(int32_t) override {}
  int32_t GetViewCount() override { return 0; }
  CameraView* GetView(int32_t) override { return nullptr; }
  void SetAmbientColour(float, float, float, float) override {}
  void SetMatrix(uint32_t, const JMatrix*) override {}
  void GetMatrix(uint32_t, JMatrix*) override {}
  void SetFlags(uint32_t, bool) override {}
  bool GetFlag(uint32_t) override { return false; }
  void SetViewport(uint32_t, uint32_t, uint32_t, uint32_t) override {}
  void GetViewport(uint32_t*, uint32_t*, uint32_t*, uint32_t*) override {}
  void Clear(bool, uint32_t, bool, float, bool, uint32_t) override {}

  C3DModel* CreateModel(uint32_t flags, std::string name) override {
    requests.push_back(Request{"model", flags, name});
    if (refused.count(name)) return nullptr;
    models.push_back(std::make_unique<FakeModel>(this, flags, name));
    return models.back().get();
  }
  void AddRefResource(C3DModel* model) override { model->AddRef(); }
  void ReleaseResource(C3DModel* model) override { model->Release(); }
  int32_t CheckModel(C3DModel*) override { return 0; }
  C3DMesh* CreateMesh(uint32_t, std::string) override { return nullptr; }
  void AddRefResource(C3DMesh*) override {}
  void ReleaseResource(C3DMesh*) override {}
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
  void DrawModel(C3DPass*, C3DModel*, const JMatrix*) override {}
  void DrawText(C3DPass*, C3DFont*, const std::string&, const JMatrix*) override {}
  void DrawResource(C3DPass*, C3DMesh*, const JMatrix*) override {}
  void DrawResourceNow(C3DMesh*, C3DImage*, const JMatrix*, const JMatrix*, const JMatrix*) override {}
  uint32_t ComputeCapability(int32_t) override { return 0; }
  CoreStatus GetCapability(int32_t, uint32_t*) override { return status::Fail; }
  bool ToggleMetrics() override { return false; }
  void SetFlagA(bool) override {}
  bool GetFlagB() override { return false; }
};

}  // namespace fake3d
