#pragma once
// The part of a graphics device that every backend shares: argument checks,
// the state table (every get answers the last value set), resources with
// their system-memory copies, scene bracketing, the simulated device loss and
// the optional call log. A backend derives from DeviceCore and supplies the
// pixel work through the Backend* hooks.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include <string>

#include "platform/graphics/CallLog.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/GfxDevice.h"

namespace platform::gfx {

class DeviceCore;
class CoreTexture;

class CoreSurface final : public Surface {
 public:
  enum class Kind { TextureLevel, Image, BackBuffer, RenderTarget, DepthStencil };

  CoreSurface(DeviceCore* device, Kind kind, const SurfaceDesc& desc, bool pixelsInBackend,
              CoreTexture* texture = nullptr, uint32_t level = 0);
  ~CoreSurface() override;

  uint32_t AddRef() override;
  uint32_t Release() override;
  CoreStatus GetDevice(Device** device) override;
  uint32_t GetType() const override { return D3DRTYPE_SURFACE; }
  CoreStatus GetDesc(SurfaceDesc* desc) override;
  CoreStatus LockRect(LockedRect* locked, const Rect* rect, uint32_t flags) override;
  CoreStatus UnlockRect() override;

  Kind kind() const { return kind_; }
  const SurfaceDesc& desc() const { return desc_; }
  uint32_t pitch() const { return pitch_; }
  // The system-memory pixels (empty when the backend holds them).
  std::vector<uint8_t>& memory() { return memory_; }
  bool pixelsInBackend() const { return pixelsInBackend_; }
  CoreTexture* texture() const { return texture_; }
  uint32_t level() const { return level_; }
  bool locked() const { return locked_; }
  // Whole-surface pixels in the surface's own layout, wherever they live.
  bool ReadPixels(std::vector<uint8_t>* out);
  bool WritePixels(const std::vector<uint8_t>& pixels);

  uint32_t backendName = 0;  // backend object (a GL texture or renderbuffer)
  bool ownedByDevice = false;  // back buffer and automatic depth: counted with the device

 private:
  DeviceCore* device_;
  Kind kind_;
  SurfaceDesc desc_;
  uint32_t pitch_;
  bool pixelsInBackend_;
  CoreTexture* texture_;
  uint32_t level_;
  uint32_t refs_ = 1;
  std::vector<uint8_t> memory_;
  bool locked_ = false;
  uint32_t lockFlags_ = 0;
  std::vector<uint8_t> lockScratch_;
};

class CoreTexture final : public Texture {
 public:
  CoreTexture(DeviceCore* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
              uint32_t format, uint32_t pool, bool pixelsInBackend);
  ~CoreTexture() override;

  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override;
  CoreStatus GetDevice(Device** device) override;
  uint32_t GetType() const override { return D3DRTYPE_TEXTURE; }
  uint32_t GetLevelCount() override { return static_cast<uint32_t>(levels_.size()); }
  CoreStatus GetLevelDesc(uint32_t level, SurfaceDesc* desc) override;
  CoreStatus GetSurfaceLevel(uint32_t level, Surface** surface) override;
  CoreStatus LockRect(uint32_t level, LockedRect* locked, const Rect* rect, uint32_t flags) override;
  CoreStatus UnlockRect(uint32_t level) override;

  CoreSurface* level(uint32_t i) const { return levels_[i].get(); }
  uint32_t levelCount() const { return static_cast<uint32_t>(levels_.size()); }
  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }
  uint32_t format() const { return format_; }
  uint32_t usage() const { return usage_; }
  uint32_t pool() const { return pool_; }

  uint32_t backendName = 0;  // the backend's texture object

 private:
  DeviceCore* device_;
  uint32_t width_, height_, usage_, format_, pool_;
  uint32_t refs_ = 1;
  std::vector<std::unique_ptr<CoreSurface>> levels_;
};

// Vertex and index buffers share one implementation.
class CoreBuffer {
 public:
  CoreBuffer(DeviceCore* device, uint32_t length, uint32_t usage, uint32_t format, uint32_t fvf,
             uint32_t pool, uint32_t type);
  virtual ~CoreBuffer();

  CoreStatus LockBytes(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags);
  CoreStatus UnlockBytes();
  void Describe(BufferDesc* desc) const;
  // Drops one reference; the last one deletes the buffer and releases the
  // device's reference that the buffer held.
  uint32_t ReleaseBuffer();
  CoreStatus DeviceOf(Device** device);

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  uint32_t format() const { return format_; }
  uint32_t length() const { return static_cast<uint32_t>(bytes_.size()); }

  uint32_t backendName = 0;

 protected:
  DeviceCore* device_;
  uint32_t refs_ = 1;

 private:
  uint32_t usage_, format_, fvf_, pool_, type_;
  std::vector<uint8_t> bytes_;
  bool locked_ = false;
  uint32_t lockOffset_ = 0, lockSize_ = 0, lockFlags_ = 0;
};

// The vertex- and index-buffer interfaces over the one shared implementation.
template <class Interface, uint32_t kType>
class CoreBufferOf final : public Interface, public CoreBuffer {
 public:
  using CoreBuffer::CoreBuffer;
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override { return ReleaseBuffer(); }
  CoreStatus GetDevice(Device** device) override { return DeviceOf(device); }
  uint32_t GetType() const override { return kType; }
  CoreStatus Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) override {
    return LockBytes(offset, size, data, flags);
  }
  CoreStatus Unlock() override { return UnlockBytes(); }
  CoreStatus GetDesc(BufferDesc* desc) override {
    if (!desc) return D3DERR_INVALIDCALL;
    Describe(desc);
    return D3D_OK;
  }
};

using CoreVertexBuffer = CoreBufferOf<VertexBuffer, D3DRTYPE_VERTEXBUFFER>;
using CoreIndexBuffer = CoreBufferOf<IndexBuffer, D3DRTYPE_INDEXBUFFER>;

// One checked draw, as the backend receives it. Exactly one vertex source
// and at most one index source are set.
struct DrawCall {
  uint32_t type = 0;
  uint32_t primitiveCount = 0;
  uint32_t elementCount = 0;  // vertices (or indices, when indexed) consumed
  const uint8_t* userVertices = nullptr;
  uint32_t userVertexCount = 0;  // vertices addressable in userVertices
  CoreVertexBuffer* vertexBuffer = nullptr;
  uint32_t firstVertex = 0;  // non-indexed: start vertex; indexed: base vertex
  const uint16_t* userIndices = nullptr;
  CoreIndexBuffer* indexBuffer = nullptr;
  uint32_t firstIndex = 0;
  uint32_t minIndex = 0, numVertices = 0;
};

// Elements (vertices or indices) a primitive list of the type consumes; 0 for
// an unknown type.
uint32_t ElementsForPrimitives(uint32_t type, uint32_t primitiveCount);

// Default render-state values a fresh (or reset) device holds.
uint32_t DefaultRenderState(uint32_t state);
bool IsRenderState(uint32_t state);

class Direct3DCore;

class DeviceCore : public Device {
 public:
  DeviceCore(Direct3DCore* d3d, const PresentParameters& params, uint32_t behaviorFlags);
  ~DeviceCore() override;

  // Builds the back buffer and depth surfaces after the backend is ready;
  // a backend's destructor drops them while its hooks still exist.
  CoreStatus InitSwapChain();
  void DestroySwapChain();

  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override;

  CoreStatus TestCooperativeLevel() override;
  uint32_t GetAvailableTextureMem() override;
  CoreStatus GetDirect3D(Direct3D** d3d) override;
  CoreStatus GetDeviceCaps(Caps* caps) override;
  CoreStatus GetDisplayMode(DisplayMode* mode) override;
  CoreStatus Reset(PresentParameters* params) override;
  CoreStatus Present(const Rect* source, const Rect* dest, NativeWindow* overrideWindow,
                     const void* dirtyRegion) override;
  CoreStatus GetBackBuffer(uint32_t index, uint32_t type, Surface** surface) override;
  CoreStatus GetFrontBuffer(Surface* destination) override;

  CoreStatus CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                           uint32_t format, uint32_t pool, Texture** texture) override;
  CoreStatus CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                VertexBuffer** buffer) override;
  CoreStatus CreateIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                               IndexBuffer** buffer) override;
  CoreStatus CreateRenderTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t multiSample,
                                bool lockable, Surface** surface) override;
  CoreStatus CreateDepthStencilSurface(uint32_t width, uint32_t height, uint32_t format,
                                       uint32_t multiSample, Surface** surface) override;
  CoreStatus CreateImageSurface(uint32_t width, uint32_t height, uint32_t format,
                                Surface** surface) override;
  CoreStatus CopyRects(Surface* source, const Rect* rects, uint32_t count, Surface* destination,
                       const Point* points) override;
  CoreStatus UpdateTexture(Texture* source, Texture* destination) override;

  CoreStatus SetRenderTarget(Surface* renderTarget, Surface* depthStencil) override;
  CoreStatus GetRenderTarget(Surface** surface) override;
  CoreStatus GetDepthStencilSurface(Surface** surface) override;

  CoreStatus BeginScene() override;
  CoreStatus EndScene() override;
  CoreStatus Clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t color, float z,
                   uint32_t stencil) override;

  CoreStatus SetTransform(uint32_t state, const Matrix* matrix) override;
  CoreStatus GetTransform(uint32_t state, Matrix* matrix) override;
  CoreStatus SetViewport(const Viewport* viewport) override;
  CoreStatus GetViewport(Viewport* viewport) override;
  CoreStatus SetMaterial(const Material* material) override;
  CoreStatus GetMaterial(Material* material) override;
  CoreStatus SetLight(uint32_t index, const Light* light) override;
  CoreStatus GetLight(uint32_t index, Light* light) override;
  CoreStatus LightEnable(uint32_t index, bool enable) override;
  CoreStatus GetLightEnable(uint32_t index, bool* enabled) override;
  CoreStatus SetRenderState(uint32_t state, uint32_t value) override;
  CoreStatus GetRenderState(uint32_t state, uint32_t* value) override;
  CoreStatus SetTexture(uint32_t stage, Texture* texture) override;
  CoreStatus GetTexture(uint32_t stage, Texture** texture) override;
  CoreStatus SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override;
  CoreStatus GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) override;

  CoreStatus SetVertexShader(uint32_t fvf) override;
  CoreStatus GetVertexShader(uint32_t* fvf) override;
  CoreStatus SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) override;
  CoreStatus SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) override;

  CoreStatus DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) override;
  CoreStatus DrawIndexedPrimitive(uint32_t type, uint32_t minIndex, uint32_t numVertices,
                                  uint32_t startIndex, uint32_t primitiveCount) override;
  CoreStatus DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices,
                             uint32_t stride) override;
  CoreStatus DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t numVertices,
                                    uint32_t primitiveCount, const void* indices, uint32_t indexFormat,
                                    const void* vertices, uint32_t stride) override;

  // --- for tests and the backends ---
  CallLog* callLog() { return logging_ ? &log_ : nullptr; }
  void SetLogging(bool on) { logging_ = on; }
  const PresentParameters& presentParameters() const { return params_; }
  uint32_t behaviorFlags() const { return behaviorFlags_; }

  // Resource bookkeeping the resources call.
  void ForgetResource(const void* resource);
  virtual bool KeepsPixelsInBackend(uint32_t usage, uint32_t pool, CoreSurface::Kind kind) const = 0;
  virtual void BackendCreateTexture(CoreTexture*) {}
  virtual void BackendDestroyTexture(CoreTexture*) {}
  virtual void BackendUploadLevel(CoreTexture*, uint32_t /*level*/) {}
  virtual void BackendCreateSurface(CoreSurface*) {}
  virtual void BackendDestroySurface(CoreSurface*) {}
  virtual bool BackendReadSurface(CoreSurface*, std::vector<uint8_t>* /*pixels*/) { return false; }
  virtual bool BackendWriteSurface(CoreSurface*, const std::vector<uint8_t>& /*pixels*/) { return false; }
  virtual void BackendCreateBuffer(CoreBuffer*) {}
  virtual void BackendDestroyBuffer(CoreBuffer*) {}
  virtual void BackendUploadBuffer(CoreBuffer*, uint32_t /*offset*/, uint32_t /*size*/) {}

 protected:
  // Pixel work of a backend.
  virtual CoreStatus BackendReset() { return D3D_OK; }
  // A scene begins: the draws of the scene follow.
  virtual void BackendBeginScene() {}
  virtual CoreStatus BackendClear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t color,
                                  float z, uint32_t stencil) = 0;
  virtual CoreStatus BackendDraw(const DrawCall& draw) = 0;
  virtual CoreStatus BackendPresent() = 0;
  // Copies the last presented frame (A8R8G8B8, back-buffer size, top row
  // first) into `pixels`.
  virtual bool BackendFrontBuffer(std::vector<uint32_t>* pixels) = 0;
  virtual void BackendRenderTargetChanged() {}
  virtual void FillCaps(Caps* caps) const;

  // State the backend reads.
  uint32_t renderState(uint32_t id) const { return renderStates_[id]; }
  uint32_t stageState(uint32_t stage, uint32_t id) const { return stageStates_[stage][id]; }
  const Matrix& world() const { return transforms_world_[0]; }
  const Matrix& view() const { return view_; }
  const Matrix& projection() const { return projection_; }
  const Viewport& viewport() const { return viewport_; }
  const Material& material() const { return material_; }
  CoreTexture* boundTexture(uint32_t stage) const { return textures_[stage]; }
  CoreSurface* renderTarget() const { return renderTarget_; }
  CoreSurface* depthStencil() const { return depthStencil_; }
  CoreSurface* backBufferSurface() const { return backBuffer_.get(); }
  // Sum of the ambient colours of the enabled directional lights. The one
  // vertex layout has no normals, so lights add only their ambient term, and
  // the position-dependent attenuation of point and spot lights is not modelled.
  ColorValue EnabledLightAmbient() const;

  // Dirty marks for the backend (set by the state calls, cleared by it).
  enum Dirty : uint32_t {
    kDirtyRenderState = 1, kDirtyStage = 2, kDirtyTransform = 4, kDirtyViewport = 8,
    kDirtyMaterial = 16, kDirtyLights = 32, kDirtyTextures = 64, kDirtyTarget = 128,
  };
  uint32_t dirty_ = ~0u;

  Direct3DCore* d3d_;

 private:
  struct LightSlot {
    Light light;
    bool enabled = false;
  };
  void ResetState();
  // Render targets and depth surfaces: checked, made in the default pool
  // and logged under `op`.
  CoreStatus CreateDefaultPoolSurface(CallOp op, CoreSurface::Kind kind, uint32_t usage, bool formatValid,
                                      uint32_t width, uint32_t height, uint32_t format, Surface** surface);
  CoreStatus Log(CallOp op, CoreStatus result, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0,
                 uint32_t d = 0) {
    if (logging_) log_.Add(Call{op, a, b, c, d, result});
    return result;
  }
  CoreStatus CheckDrawState(uint32_t type, uint32_t primitiveCount, uint32_t* elements);
  CoreStatus CheckIndices(const uint16_t* indices, uint32_t count, uint32_t minIndex,
                          uint32_t numVertices, uint32_t base, uint32_t vertexLimit) const;
  CoreStatus BuildSwapChain();

  uint32_t refs_ = 1;
  uint32_t behaviorFlags_;
  PresentParameters params_;
  bool inScene_ = false;
  bool logging_ = false;
  CallLog log_;

  std::array<uint32_t, kRenderStateLimit> renderStates_{};
  std::array<std::array<uint32_t, kStageStateLimit>, kMaxTextureStages> stageStates_{};
  std::array<Matrix, 4> transforms_world_{};
  Matrix view_, projection_;
  std::array<Matrix, 8> textureTransforms_{};
  Viewport viewport_;
  Material material_;
  std::map<uint32_t, LightSlot> lights_;
  std::array<CoreTexture*, kMaxTextureStages> textures_{};
  uint32_t fvf_ = 0;
  CoreVertexBuffer* stream_ = nullptr;
  uint32_t streamStride_ = 0;
  CoreIndexBuffer* indices_ = nullptr;
  uint32_t baseVertex_ = 0;

  std::unique_ptr<CoreSurface> backBuffer_;
  std::unique_ptr<CoreSurface> autoDepth_;
  CoreSurface* renderTarget_ = nullptr;
  CoreSurface* depthStencil_ = nullptr;
};

// The interface object shared by the backends: one adapter, a fixed mode
// list, and the desktop mode taken from the display window.
class Direct3DCore : public Direct3D {
 public:
  explicit Direct3DCore(Backend backend) : backend_(backend) {}

  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override;

  uint32_t GetAdapterCount() override { return 1; }
  CoreStatus GetAdapterIdentifier(uint32_t adapter, uint32_t flags, AdapterIdentifier* id) override;
  uint32_t GetAdapterModeCount(uint32_t adapter) override;
  CoreStatus EnumAdapterModes(uint32_t adapter, uint32_t mode, DisplayMode* out) override;
  CoreStatus GetAdapterDisplayMode(uint32_t adapter, DisplayMode* out) override;
  CoreStatus CheckDeviceType(uint32_t adapter, uint32_t deviceType, uint32_t displayFormat,
                             uint32_t backBufferFormat, bool windowed) override;
  CoreStatus CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat,
                               uint32_t usage, uint32_t resourceType, uint32_t format) override;
  CoreStatus GetDeviceCaps(uint32_t adapter, uint32_t deviceType, Caps* caps) override;
  CoreStatus CreateDevice(uint32_t adapter, uint32_t deviceType, NativeWindow* focusWindow,
                          uint32_t behaviorFlags, PresentParameters* params, Device** device) override;
  void SetDisplayWindow(const NativeWindow* window) override { displayWindow_ = window; }

  Backend backend() const { return backend_; }
  // Fills the presentation parameters' zero sizes from the window.
  static bool ResolveBackBufferSize(PresentParameters* params);

 private:
  std::vector<DisplayMode> Modes();
  std::string RendererName();

  Backend backend_;
  uint32_t refs_ = 1;
  const NativeWindow* displayWindow_ = nullptr;
  std::string rendererName_;
};

}  // namespace platform::gfx
