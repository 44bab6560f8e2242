#pragma once
// The renderer service. The game holds the renderer plug-in's module in the
// graphics slot of its service table and reaches it only through this
// interface; the GUI plug-in reads the same slot. Besides the module base
// the interface itself only names the class; every other operation is the
// renderer's.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DFont.h"
#include "engine/services/C3DImage.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/C3DModel.h"
#include "engine/services/C3DPass.h"
#include "engine/services/C3DResource.h"
#include "engine/services/CoreBase.h"
#include "engine/services/DisplaySettings.h"
#include "base/Status.h"
#include "platform/window/WindowTypes.h"

struct CameraView;
struct JMatrix;

// One display mode of an adapter: size and the five channel bit counts
// (red, green, blue, alpha, unused) whose sum is the bits per pixel.
struct C3DModeEntry {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t redBits = 0;
  uint32_t greenBits = 0;
  uint32_t blueBits = 0;
  uint32_t alphaBits = 0;
  uint32_t xBits = 0;

  uint32_t BitsPerPixel() const { return redBits + greenBits + blueBits + alphaBits + xBits; }
};

// One display adapter and its distinct display modes.
struct C3DAdapter {
  std::string driver;
  std::string description;
  std::vector<C3DModeEntry> modes;
  // Index in `modes` of the adapter's current (desktop) mode; -1 when it is
  // not in the list. Index 0 is a valid mode.
  int32_t desktopMode = -1;

  int32_t GetModeCount() const { return static_cast<int32_t>(modes.size()); }
};

// The record the device is created from is the display settings block:
// adapter, windowed, width, height, five colour widths, depth, stencil and
// unused depth widths, multisample type, back-buffer count.
using C3DDisplayMode = DisplaySettings;

class Core3D : public CoreBase {
 public:
  Core3D();
  // Destroys the settings map's records.
  ~Core3D() override;

  const char* GetName() override;         // "[Core3D]"
  const char* GetDescription() override;  // "Base Rendering Layer"
  eServiceType GetServiceType() override; // 0: the renderer reports its own type

  // Adds the time to the running time and deletes resources whose last
  // reference went since the previous update.
  virtual void Update(float seconds) = 0;
  virtual void SetWindow(platform::HWND window) = 0;

  // Adapters and modes. The list stays the renderer's until FreeModeList.
  virtual int32_t EnumerateAdapters() = 0;
  virtual int32_t GetModeList(C3DAdapter** adapters) = 0;
  virtual void FreeModeList() = 0;

  // Device. CreateDevice answers 0 or a failure status; CheckMode whether the
  // device type accepts the record's formats (only while no device exists).
  virtual CoreStatus CreateDevice(const C3DDisplayMode* mode) = 0;
  virtual bool CheckMode(const C3DDisplayMode* mode) = 0;
  virtual bool ResetDevice(const C3DDisplayMode* mode) = 0;
  virtual bool ReleaseDevice() = 0;
  // Draws and presents one frame: 0, 1 (device lost) or a failure status.
  virtual CoreStatus RenderFrame() = 0;
  // A thumbnail of the screen as DDS bytes; the caller frees *data with delete[].
  virtual bool CaptureScreen(uint8_t** data, uint32_t* size) = 0;
  virtual bool SaveScreenshot(const std::string& fileName) = 0;
  // A device texture from an image file held in memory (opaque to callers).
  virtual CoreStatus CreateTextureFromMemory(const void* data, uint32_t size, void** texture) = 0;

  // Passes, in drawing order.
  virtual int32_t GetPassCount() = 0;
  virtual C3DPass* GetPass(int32_t index) = 0;
  // A negative index, or one past the end, appends.
  virtual C3DPass* InsertPass(int32_t index) = 0;
  virtual void RemovePass(int32_t index) = 0;
  virtual void MovePass(int32_t from, int32_t to) = 0;

  // Views, owned by the renderer.
  virtual CameraView* AddView() = 0;
  virtual void RemoveView(int32_t index) = 0;
  virtual int32_t GetViewCount() = 0;
  virtual CameraView* GetView(int32_t index) = 0;

  virtual void SetAmbientColour(float red, float green, float blue, float alpha) = 0;
  virtual void SetMatrix(uint32_t mask, const JMatrix* matrix) = 0;
  virtual void GetMatrix(uint32_t bit, JMatrix* matrix) = 0;
  virtual void SetFlags(uint32_t mask, bool value) = 0;
  virtual bool GetFlag(uint32_t bit) = 0;
  virtual void SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height) = 0;
  virtual void GetViewport(uint32_t* x, uint32_t* y, uint32_t* width, uint32_t* height) = 0;
  virtual void Clear(bool target, uint32_t colour, bool depth, float depthValue, bool stencil,
                     uint32_t stencilValue) = 0;

  // Resource factories: each answers the resource with one reference for the
  // caller, or null. Callers give the reference up with ReleaseResource.
  virtual C3DModel* CreateModel(uint32_t flags, std::string name) = 0;
  virtual void AddRefResource(C3DModel* model) = 0;
  virtual void ReleaseResource(C3DModel* model) = 0;
  virtual int32_t CheckModel(C3DModel* model) = 0;
  virtual C3DMesh* CreateMesh(uint32_t flags, std::string name) = 0;
  virtual void AddRefResource(C3DMesh* mesh) = 0;
  virtual void ReleaseResource(C3DMesh* mesh) = 0;
  virtual int32_t CheckMesh(C3DMesh* mesh) = 0;
  virtual C3DFont* CreateFont(uint32_t flags, std::string name) = 0;
  virtual void AddRefResource(C3DFont* font) = 0;
  virtual void ReleaseResource(C3DFont* font) = 0;
  virtual int32_t CheckFont(C3DFont* font) = 0;
  virtual C3DBaseShader* CreateShader(uint32_t flags, std::string name) = 0;
  virtual void AddRefResource(C3DBaseShader* shader) = 0;
  virtual void ReleaseResource(C3DBaseShader* shader) = 0;
  virtual int32_t CheckShader(C3DBaseShader* shader) = 0;
  virtual C3DImage* CreateImage(uint32_t flags, std::string name) = 0;
  virtual void AddRefResource(C3DImage* image) = 0;
  virtual void ReleaseResource(C3DImage* image) = 0;
  virtual int32_t CheckImage(C3DImage* image) = 0;
  virtual void AddRefResource(C3DResource* resource) = 0;
  virtual void ReleaseResource(C3DResource* resource) = 0;

  // Drawing: each queues the resource into the pass with that world matrix.
  virtual void DrawModel(C3DPass* pass, C3DModel* model, const JMatrix* world) = 0;
  virtual void DrawText(C3DPass* pass, C3DFont* font, const std::string& text, const JMatrix* world) = 0;
  virtual void DrawResource(C3DPass* pass, C3DMesh* mesh, const JMatrix* world) = 0;
  // Draws the mesh at once into the image.
  virtual void DrawResourceNow(C3DMesh* mesh, C3DImage* image, const JMatrix* world, const JMatrix* view,
                               const JMatrix* projection) = 0;

  // Device capabilities: 0 the smaller maximum texture side, 1 the maximum
  // vertex index, 2 the maximum primitive count, 3 the texture memory.
  virtual uint32_t ComputeCapability(int32_t index) = 0;
  // Fail, leaving *value alone, for an index outside 0..3.
  virtual CoreStatus GetCapability(int32_t index, uint32_t* value) = 0;
  virtual bool ToggleMetrics() = 0;
  virtual void SetFlagA(bool wireframe) = 0;
  virtual bool GetFlagB() = 0;

  // Written directly by callers: a spare word, and the colour models give
  // their vertices (opaque white).
  uint32_t userWord = 0;
  uint32_t modelVertexColour = 0xFFFFFFFF;

 protected:
  // Deletes every record of the settings map and empties it.
  void DeleteSettings();

  CoreBaseConfigMap settings_;
  std::string settingsText_;
};
