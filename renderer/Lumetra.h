#pragma once
// The renderer: the one service class of the renderer plug-in. It owns the
// graphics interface and device, the adapter list, the display mode it runs
// in, the render-state shadow, the ordered render passes and the views, the
// nine colour matrices with their flags, and the frame state.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/services/Core3D.h"
#include "engine/math/JMatrix.h"
#include "platform/graphics/GfxTypes.h"
#include "renderer/DrawItem.h"
#include "renderer/RenderStateCache.h"
#include "renderer/resources/ResourceRegistry.h"

namespace platform::gfx {
class Direct3D;
class Device;
class Surface;
class Texture;
class VertexBuffer;
}  // namespace platform::gfx

class C3DPassDX8;
class DX8MaterialShader;
class SSMObject;
class Timer;
struct DrawItem;
struct GlyphTable;

class Lumetra : public Core3D {
 public:
  static constexpr size_t kColourMatrixCount = 9;
  // Name of the metrics report pass: a frame whose only pass has it (any
  // case) draws like a frame without passes.
  static constexpr const char* kMetricsPassName = "METRICS-Report";
  static constexpr const char* kSettingsFile = "gfx_dx8.cfg";
  static constexpr const char* kErrorPrefix = "DX8 Graphics Error : ";

  Lumetra();
  ~Lumetra() override;

  // --- module ---
  bool Init() override;
  void Shutdown() override;
  void LoadConfig() override;
  uint32_t GetConfig(CoreBaseConfigMap** options) override;
  bool ApplyConfig() override;
  void ClearConfig() override;
  const char* GetName() override;
  const char* GetDescription() override;
  eServiceType GetServiceType() override;
  void Update(float seconds) override;
  void SetWindow(platform::HWND window) override;

  // --- adapters and device ---
  int32_t EnumerateAdapters() override;
  int32_t GetModeList(C3DAdapter** adapters) override;
  void FreeModeList() override;
  CoreStatus CreateDevice(const C3DDisplayMode* mode) override;
  bool CheckMode(const C3DDisplayMode* mode) override;
  bool ResetDevice(const C3DDisplayMode* mode) override;
  bool ReleaseDevice() override;
  uint32_t ComputeCapability(int32_t index) override;
  CoreStatus GetCapability(int32_t index, uint32_t* value) override;
  bool GetFlagB() override;

  // --- frame ---
  CoreStatus RenderFrame() override;
  bool CaptureScreen(uint8_t** data, uint32_t* size) override;
  bool SaveScreenshot(const std::string& fileName) override;
  CoreStatus CreateTextureFromMemory(const void* data, uint32_t size, void** texture) override;

  int32_t GetPassCount() override;
  C3DPass* GetPass(int32_t index) override;
  C3DPass* InsertPass(int32_t index) override;
  void RemovePass(int32_t index) override;
  void MovePass(int32_t from, int32_t to) override;

  CameraView* AddView() override;
  void RemoveView(int32_t index) override;
  int32_t GetViewCount() override;
  CameraView* GetView(int32_t index) override;

  void SetAmbientColour(float red, float green, float blue, float alpha) override;
  void SetMatrix(uint32_t mask, const JMatrix* matrix) override;
  void GetMatrix(uint32_t bit, JMatrix* matrix) override;
  void SetFlags(uint32_t mask, bool value) override;
  bool GetFlag(uint32_t bit) override;
  void SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  void GetViewport(uint32_t* x, uint32_t* y, uint32_t* width, uint32_t* height) override;
  void Clear(bool target, uint32_t colour, bool depth, float depthValue, bool stencil,
             uint32_t stencilValue) override;
  bool ToggleMetrics() override;
  void SetFlagA(bool wireframe) override;

  // --- resources (their registries come with the resource kinds) ---
  C3DModel* CreateModel(uint32_t flags, std::string name) override;
  void AddRefResource(C3DModel* model) override;
  void ReleaseResource(C3DModel* model) override;
  int32_t CheckModel(C3DModel* model) override;
  C3DMesh* CreateMesh(uint32_t flags, std::string name) override;
  void AddRefResource(C3DMesh* mesh) override;
  void ReleaseResource(C3DMesh* mesh) override;
  int32_t CheckMesh(C3DMesh* mesh) override;
  C3DFont* CreateFont(uint32_t flags, std::string name) override;
  void AddRefResource(C3DFont* font) override;
  void ReleaseResource(C3DFont* font) override;
  int32_t CheckFont(C3DFont* font) override;
  C3DBaseShader* CreateShader(uint32_t flags, std::string name) override;
  void AddRefResource(C3DBaseShader* shader) override;
  void ReleaseResource(C3DBaseShader* shader) override;
  int32_t CheckShader(C3DBaseShader* shader) override;
  C3DImage* CreateImage(uint32_t flags, std::string name) override;
  void AddRefResource(C3DImage* image) override;
  void ReleaseResource(C3DImage* image) override;
  int32_t CheckImage(C3DImage* image) override;
  void AddRefResource(C3DResource* resource) override;
  void ReleaseResource(C3DResource* resource) override;
  void DrawModel(C3DPass* pass, C3DModel* model, const JMatrix* world) override;
  void DrawText(C3DPass* pass, C3DFont* font, const std::string& text, const JMatrix* world) override;
  void DrawResource(C3DPass* pass, C3DMesh* mesh, const JMatrix* world) override;
  void DrawResourceNow(C3DMesh* mesh, C3DImage* image, const JMatrix* world, const JMatrix* view,
                       const JMatrix* projection) override;

  // --- queueing into passes (used by the drawable resources) ---
  void QueueTriangles(C3DPass* pass, DrawItem* item);
  void QueueLines(C3DPass* pass, DrawItem* item);
  // The item's image k becomes the shader's layer k image, for every layer.
  static void BindLayerImages(DrawItem* item);

  // --- metrics overlay ---
  // Makes whatever of the overlay's shader, font, view and pass is missing
  // and sets up its camera; after device creation and reset.
  void PrepareMetricsOverlay();
  // The frame-rate, count and timing report with its share bar, drawn into
  // the overlay pass after all other passes while "gfx_metrics" is on.
  void DrawMetricsOverlay();
  // Gives back the overlay's shader and font when the device goes.
  void ReleaseOverlayObjects();
  bool IsOverlayReady() const { return overlayReady_; }
  C3DPass* GetOverlayPass() const { return overlayPass_; }
  float GetSmoothedFrameRate() const { return smoothedFps_; }
  // The last frame's "Core3D Total" and "Core3D GFX" times in milliseconds.
  float GetTotalFrameMs() const { return totalMs_; }
  float GetGraphicsFrameMs() const { return gfxMs_; }
  // The text the last overlay drew.
  const std::string& GetOverlayText() const { return overlayText_; }
  // The A8R8G8B8 colour of the share bar for a share in percent.
  static uint32_t MetricBarColour(float share);

  // --- SSM containers (renderer-only) ---
  // The loaded model file of that (lower-case) name, read and prepared once
  // and kept until Shutdown; its texture references carry material shaders.
  // Null when the file is missing or no model file.
  SSMObject* LoadContainer(std::string name, uint32_t flags);
  size_t GetContainerCount() const { return containers_.size(); }

  // --- registries (renderer-only) ---
  // Each add returns the family's new used count; each remove takes a
  // resource whose last reference went off the lookups until the next
  // Update deletes it; each get answers null past the used count.
  uint32_t AddFont(C3DResource* font) { return fonts_.Add(font); }
  void RemoveFont(uint32_t index) { fonts_.Remove(index); }
  C3DResource* GetFont(uint32_t index) { return fonts_.Get(index); }
  uint32_t AddImage(C3DResource* image) { return images_.Add(image); }
  void RemoveImage(uint32_t index) { images_.Remove(index); }
  C3DResource* GetImage(uint32_t index) { return images_.Get(index); }
  uint32_t AddShader(C3DResource* shader) { return shaders_.Add(shader); }
  void RemoveShader(uint32_t index) { shaders_.Remove(index); }
  C3DResource* GetShader(uint32_t index) { return shaders_.Get(index); }
  uint32_t AddModel(C3DResource* model) { return models_.Add(model); }
  void RemoveModel(uint32_t index) { models_.Remove(index); }
  C3DResource* GetModel(uint32_t index) { return models_.Get(index); }
  uint32_t AddMesh(C3DResource* mesh) { return meshes_.Add(mesh); }
  void RemoveMesh(uint32_t index) { meshes_.Remove(index); }
  C3DResource* GetMesh(uint32_t index) { return meshes_.Get(index); }
  uint32_t AddLightRecord(C3DResource* light) { return lights_.Add(light); }
  void RemoveLightRecord(uint32_t index);
  C3DResource* GetLightRecord(uint32_t index) { return lights_.Get(index); }
  // A font built from a built-in glyph table, registered; null only
  // without a table.
  C3DFont* CreateBuiltinFont(const std::string& name, uint32_t flags, const GlyphTable* table);
  // The glyph texture of a built-in font as a registered image; on failure
  // the default or empty image (null with RF_NOFALLBACK).
  C3DImage* CreateGlyphImage(const std::string& name, uint32_t flags, const GlyphTable* table);
  enum class Family { Fonts, Images, Lights, Models, Meshes, Shaders };
  const ResourceRegistry& Registry(Family family) const;

  // --- inside the renderer, and for tests ---
  platform::gfx::Direct3D* GetDirect3D() const { return d3d_; }
  platform::gfx::Device* GetDevice() const { return device_; }
  lumetra::RenderStateCache& GetStateCache() { return states_; }
  const C3DDisplayMode& GetCurrentMode() const { return mode_; }
  const platform::gfx::Caps& GetCaps() const { return caps_; }
  const platform::gfx::PresentParameters& GetPresentParameters() const { return params_; }
  bool IsSoftwareVertexProcessing() const { return softwareVertexProcessing_; }
  bool IsSceneOpen() const { return sceneOpen_; }
  bool IsInFrame() const { return inFrame_; }
  bool IsWireframe() const { return wireframe_; }
  bool GetMetricFlag(int index) const { return metrics_[static_cast<size_t>(index)]; }
  uint8_t GetMetricPlacement() const { return metricPlacement_; }
  uint32_t GetFrameIndexCount() const { return frameIndexCount_; }
  uint32_t GetFrameVertexCount() const { return frameVertexCount_; }
  // Drawing outside the passes changed the device's textures and stream:
  // the next draw sets them again.
  void ForgetLastTextures() {
    lastTextures_.fill(nullptr);
    lastStream_ = nullptr;
  }
  // The process-wide running time and last frame time, in seconds.
  static float GetRunningTime();
  static float GetFrameTime();

 private:
  // The factories' own requests: `fallback` marks a request made as another
  // request's fallback, which on failure gives null instead of asking again.
  C3DModel* RequestModel(uint32_t flags, std::string name, bool fallback);
  C3DFont* RequestFont(uint32_t flags, std::string name, bool fallback);
  C3DBaseShader* RequestShader(uint32_t flags, std::string name, bool fallback);
  C3DImage* RequestImage(uint32_t flags, std::string name, bool fallback);
  C3DBaseShader* MakeShader(uint32_t flags, const std::string& name);
  C3DBaseShader* MakeBuiltinShader(uint32_t flags, const std::string& name);
  C3DImage* MakeImage(uint32_t flags, const std::string& name);
  C3DModel* MakeModel(uint32_t flags, const std::string& name);
  void DeleteContainers();
  // An empty material with one layer over the image (whose reference it
  // takes), registered; null (and the image released) when that fails.
  DX8MaterialShader* OneLayerMaterial(const std::string& name, C3DImage* image);

  bool BuildPresentParameters(const C3DDisplayMode* mode, platform::gfx::PresentParameters* params);
  void SetupDevice(const C3DDisplayMode* mode);
  void ReportError(CoreStatus code) const;
  void RenumberPasses();
  void RunPasses();
  void DrawPass(C3DPassDX8* pass);
  void DrawItemGeometry(const DrawItem& item, const JMatrix& world);
  // The device light of light-registry entry `index`, built into the
  // record; null when there is no such enabled light of a known kind.
  const platform::gfx::Light* BuildDeviceLight(uint32_t index);
  void Queue(C3DPass* pass, DrawItem* item, bool lines);
  void Enqueue(C3DPassDX8* pass, DrawItem* item, const JMatrix* matrix);
  // The captured frame (the last one presented) as an opaque A8R8G8B8
  // image surface of the back-buffer size; null on failure.
  platform::gfx::Surface* CaptureFrontBuffer();
  bool BackBufferSize(uint32_t* width, uint32_t* height);

  // Fonts, images, lights, models, meshes, shaders.
  ResourceRegistry fonts_, images_, lights_, models_, meshes_, shaders_;
  // Loaded model files by the name they were requested under; never
  // removed before Shutdown.
  std::vector<SSMObject*> containers_;

  platform::gfx::Direct3D* d3d_ = nullptr;
  platform::gfx::Device* device_ = nullptr;
  platform::HWND window_ = nullptr;

  std::vector<C3DAdapter> adapters_;
  C3DDisplayMode mode_{};
  platform::gfx::PresentParameters params_;
  platform::gfx::Caps caps_;
  bool hardwareVertexProcessing_ = false;
  bool softwareVertexProcessing_ = false;

  lumetra::RenderStateCache states_;
  std::vector<C3DPassDX8*> passes_;
  // Passes removed during a frame, deleted when it ends.
  std::vector<C3DPassDX8*> retiredPasses_;
  // The frame's copy of the pass list, kept to reuse its memory.
  std::vector<C3DPassDX8*> sweepPasses_;
  std::vector<CameraView*> views_;
  std::array<JMatrix, kColourMatrixCount> matrices_;
  std::array<bool, kColourMatrixCount> matrixFlags_{};
  platform::RECT viewport_{};

  // gfx_metrics, gfx_metric_fps, gfx_metric_poly, gfx_metric_vert.
  std::array<bool, 4> metrics_{};
  uint8_t metricPlacement_ = 0;
  uint32_t frameIndexCount_ = 0;
  uint32_t frameVertexCount_ = 0;
  bool sceneOpen_ = false;
  bool inFrame_ = false;
  bool wireframe_ = false;
  uint32_t lightsEnabledByPreviousPass_ = 0;
  // Per pass: the last texture set on each stage and the last stream source.
  std::array<platform::gfx::Texture*, 4> lastTextures_{};
  platform::gfx::VertexBuffer* lastStream_ = nullptr;
  // Used by the metrics overlay.
  std::array<float, 250> metricHistory_;
  size_t metricHistoryPos_ = 0;
  bool overlayReady_ = false;
  C3DBaseShader* overlayShader_ = nullptr;
  C3DFont* overlayFont_ = nullptr;
  C3DPass* overlayPass_ = nullptr;
  CameraView* overlayView_ = nullptr;
  std::array<RenderVertex, 4> overlayVertices_{};
  std::array<uint16_t, 6> overlayIndices_{};
  MeshGeometry overlayGeometry_;
  DrawItem overlayItem_;
  float smoothedFps_ = 0.0f;
  std::string overlayText_;
  // The frame profiler, made when metrics are first drawn.
  Timer* profiler_ = nullptr;
  int32_t totalTimeline_ = -1;
  int32_t gfxTimeline_ = -1;
  float totalMs_ = 0.0f;
  float gfxMs_ = 0.0f;
  void MarkProfiler(bool frameEnd);
  void DrawOverlayPass();
};
