#pragma once
// The graphics device interfaces: the interface object (adapters, modes,
// device creation), the device (states, transforms, resources, drawing,
// presentation) and its resources. Objects are reference counted: every
// creating call hands out one reference that the caller gives back with
// Release. A resource keeps its device alive; a device keeps its interface
// object alive.
#include <cstdint>

#include "base/Status.h"
#include "platform/graphics/GfxConstants.h"
#include "platform/graphics/GfxTypes.h"

namespace platform::gfx {

class Device;

class RefCounted {
 public:
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  virtual ~RefCounted() = default;
};

class Resource : public RefCounted {
 public:
  virtual CoreStatus GetDevice(Device** device) = 0;
  virtual uint32_t GetType() const = 0;  // D3DRTYPE_*
};

class Surface : public Resource {
 public:
  virtual CoreStatus GetDesc(SurfaceDesc* desc) = 0;
  // rect null: the whole surface. Block-compressed surfaces lock whole 4x4
  // blocks, so a rect must start and end on block edges (or the surface edge).
  virtual CoreStatus LockRect(LockedRect* locked, const Rect* rect, uint32_t flags) = 0;
  virtual CoreStatus UnlockRect() = 0;
};

class Texture : public Resource {
 public:
  virtual uint32_t GetLevelCount() = 0;
  virtual CoreStatus GetLevelDesc(uint32_t level, SurfaceDesc* desc) = 0;
  // Hands out a reference on the level's surface (which keeps the texture).
  virtual CoreStatus GetSurfaceLevel(uint32_t level, Surface** surface) = 0;
  virtual CoreStatus LockRect(uint32_t level, LockedRect* locked, const Rect* rect, uint32_t flags) = 0;
  virtual CoreStatus UnlockRect(uint32_t level) = 0;
};

class VertexBuffer : public Resource {
 public:
  virtual CoreStatus Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) = 0;
  virtual CoreStatus Unlock() = 0;
  virtual CoreStatus GetDesc(BufferDesc* desc) = 0;
};

class IndexBuffer : public Resource {
 public:
  virtual CoreStatus Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) = 0;
  virtual CoreStatus Unlock() = 0;
  virtual CoreStatus GetDesc(BufferDesc* desc) = 0;
};

class Direct3D;

class Device : public RefCounted {
 public:
  // --- device life ---
  virtual CoreStatus TestCooperativeLevel() = 0;
  virtual uint32_t GetAvailableTextureMem() = 0;
  virtual CoreStatus GetDirect3D(Direct3D** d3d) = 0;
  virtual CoreStatus GetDeviceCaps(Caps* caps) = 0;
  virtual CoreStatus GetDisplayMode(DisplayMode* mode) = 0;
  virtual CoreStatus Reset(PresentParameters* params) = 0;
  virtual CoreStatus Present(const Rect* source, const Rect* dest, NativeWindow* overrideWindow,
                             const void* dirtyRegion) = 0;
  virtual CoreStatus GetBackBuffer(uint32_t index, uint32_t type, Surface** surface) = 0;
  // Copies the last presented frame into an A8R8G8B8 surface (at its top
  // left corner, clipped; the rest of the surface is left as it was).
  virtual CoreStatus GetFrontBuffer(Surface* destination) = 0;

  // --- resources ---
  virtual CoreStatus CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                   uint32_t format, uint32_t pool, Texture** texture) = 0;
  virtual CoreStatus CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                        VertexBuffer** buffer) = 0;
  virtual CoreStatus CreateIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                                       IndexBuffer** buffer) = 0;
  virtual CoreStatus CreateRenderTarget(uint32_t width, uint32_t height, uint32_t format,
                                        uint32_t multiSample, bool lockable, Surface** surface) = 0;
  virtual CoreStatus CreateDepthStencilSurface(uint32_t width, uint32_t height, uint32_t format,
                                               uint32_t multiSample, Surface** surface) = 0;
  virtual CoreStatus CreateImageSurface(uint32_t width, uint32_t height, uint32_t format,
                                        Surface** surface) = 0;
  // Copies rectangles between two surfaces of the same format (no scaling).
  // rects null: the whole source to the same place (points ignored).
  virtual CoreStatus CopyRects(Surface* source, const Rect* rects, uint32_t count, Surface* destination,
                               const Point* points) = 0;
  // Copies the whole of a system-memory texture into a texture of equal size.
  virtual CoreStatus UpdateTexture(Texture* source, Texture* destination) = 0;

  // --- render target ---
  virtual CoreStatus SetRenderTarget(Surface* renderTarget, Surface* depthStencil) = 0;
  virtual CoreStatus GetRenderTarget(Surface** surface) = 0;
  virtual CoreStatus GetDepthStencilSurface(Surface** surface) = 0;

  // --- scene ---
  virtual CoreStatus BeginScene() = 0;
  virtual CoreStatus EndScene() = 0;
  virtual CoreStatus Clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t color, float z,
                           uint32_t stencil) = 0;

  // --- fixed-function state ---
  virtual CoreStatus SetTransform(uint32_t state, const Matrix* matrix) = 0;
  virtual CoreStatus GetTransform(uint32_t state, Matrix* matrix) = 0;
  virtual CoreStatus SetViewport(const Viewport* viewport) = 0;
  virtual CoreStatus GetViewport(Viewport* viewport) = 0;
  virtual CoreStatus SetMaterial(const Material* material) = 0;
  virtual CoreStatus GetMaterial(Material* material) = 0;
  virtual CoreStatus SetLight(uint32_t index, const Light* light) = 0;
  virtual CoreStatus GetLight(uint32_t index, Light* light) = 0;
  virtual CoreStatus LightEnable(uint32_t index, bool enable) = 0;
  virtual CoreStatus GetLightEnable(uint32_t index, bool* enabled) = 0;
  virtual CoreStatus SetRenderState(uint32_t state, uint32_t value) = 0;
  virtual CoreStatus GetRenderState(uint32_t state, uint32_t* value) = 0;
  virtual CoreStatus SetTexture(uint32_t stage, Texture* texture) = 0;
  // Hands out a reference (null when none is set).
  virtual CoreStatus GetTexture(uint32_t stage, Texture** texture) = 0;
  virtual CoreStatus SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) = 0;
  virtual CoreStatus GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) = 0;

  // --- vertex input ---
  // The vertex "shader" is a flexible vertex format; only 0x242 draws.
  virtual CoreStatus SetVertexShader(uint32_t fvf) = 0;
  virtual CoreStatus GetVertexShader(uint32_t* fvf) = 0;
  virtual CoreStatus SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) = 0;
  virtual CoreStatus SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) = 0;

  // --- drawing (inside a scene) ---
  virtual CoreStatus DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) = 0;
  virtual CoreStatus DrawIndexedPrimitive(uint32_t type, uint32_t minIndex, uint32_t numVertices,
                                          uint32_t startIndex, uint32_t primitiveCount) = 0;
  virtual CoreStatus DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices,
                                     uint32_t stride) = 0;
  virtual CoreStatus DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t numVertices,
                                            uint32_t primitiveCount, const void* indices,
                                            uint32_t indexFormat, const void* vertices,
                                            uint32_t stride) = 0;
};

class Direct3D : public RefCounted {
 public:
  virtual uint32_t GetAdapterCount() = 0;
  virtual CoreStatus GetAdapterIdentifier(uint32_t adapter, uint32_t flags, AdapterIdentifier* id) = 0;
  virtual uint32_t GetAdapterModeCount(uint32_t adapter) = 0;
  virtual CoreStatus EnumAdapterModes(uint32_t adapter, uint32_t mode, DisplayMode* out) = 0;
  virtual CoreStatus GetAdapterDisplayMode(uint32_t adapter, DisplayMode* out) = 0;
  virtual CoreStatus CheckDeviceType(uint32_t adapter, uint32_t deviceType, uint32_t displayFormat,
                                     uint32_t backBufferFormat, bool windowed) = 0;
  virtual CoreStatus CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat,
                                       uint32_t usage, uint32_t resourceType, uint32_t format) = 0;
  virtual CoreStatus GetDeviceCaps(uint32_t adapter, uint32_t deviceType, Caps* caps) = 0;
  virtual CoreStatus CreateDevice(uint32_t adapter, uint32_t deviceType, NativeWindow* focusWindow,
                                  uint32_t behaviorFlags, PresentParameters* params, Device** device) = 0;
  // The window whose client size is the adapter's desktop mode (there is no
  // desktop of fixed size under a window system; the game's window stands in).
  virtual void SetDisplayWindow(const NativeWindow* window) = 0;
};

}  // namespace platform::gfx
