#pragma once
// Plain records exchanged with the graphics device: display modes, adapter
// identity, presentation parameters, capabilities, viewport, material, light,
// surface descriptions and locked regions.
#include <cstdint>

namespace platform {
struct NativeWindow;
}

namespace platform::gfx {

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Point {
  int32_t x = 0, y = 0;
};

// Row-major 4x4, used with row vectors: a point times the matrix,
// translation in the fourth row.
struct Matrix {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float& operator()(int row, int col) { return m[row * 4 + col]; }
  float operator()(int row, int col) const { return m[row * 4 + col]; }
};
Matrix Multiply(const Matrix& a, const Matrix& b);

struct ColorValue {
  float r = 0, g = 0, b = 0, a = 0;
};

struct Vector3 {
  float x = 0, y = 0, z = 0;
};

struct DisplayMode {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t refreshRate = 0;
  uint32_t format = 0;
};

struct AdapterIdentifier {
  char driver[512] = {};
  char description[512] = {};
  uint32_t vendorId = 0;
  uint32_t deviceId = 0;
};

struct PresentParameters {
  uint32_t backBufferWidth = 0;   // 0 in windowed mode: the window's client size
  uint32_t backBufferHeight = 0;
  uint32_t backBufferFormat = 0;
  uint32_t backBufferCount = 1;
  uint32_t multiSampleType = 0;
  uint32_t swapEffect = 1;
  NativeWindow* deviceWindow = nullptr;
  bool windowed = true;
  bool enableAutoDepthStencil = false;
  uint32_t autoDepthStencilFormat = 0;
  uint32_t flags = 0;
  uint32_t fullScreenRefreshRate = 0;
  uint32_t presentationInterval = 0;
};

// The capability fields the renderer reads.
struct Caps {
  uint32_t deviceType = 1;
  uint32_t adapterOrdinal = 0;
  uint32_t maxTextureWidth = 0;
  uint32_t maxTextureHeight = 0;
  uint32_t maxTextureBlendStages = 0;
  uint32_t maxSimultaneousTextures = 0;
  uint32_t maxActiveLights = 0;
  uint32_t maxPrimitiveCount = 0;
  uint32_t maxVertexIndex = 0;
  uint32_t maxStreams = 0;
  uint32_t maxStreamStride = 0;
  float maxPointSize = 0;
};

struct Viewport {
  uint32_t x = 0, y = 0, width = 0, height = 0;
  float minZ = 0.0f, maxZ = 1.0f;
};

struct Material {
  ColorValue diffuse;
  ColorValue ambient;
  ColorValue specular;
  ColorValue emissive;
  float power = 0;
};

struct Light {
  uint32_t type = 3;  // D3DLIGHT_DIRECTIONAL
  ColorValue diffuse;
  ColorValue specular;
  ColorValue ambient;
  Vector3 position;
  Vector3 direction;
  float range = 0;
  float falloff = 0;
  float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
  float theta = 0, phi = 0;
};

struct SurfaceDesc {
  uint32_t format = 0;
  uint32_t type = 1;  // D3DRTYPE_SURFACE
  uint32_t usage = 0;
  uint32_t pool = 0;
  uint32_t size = 0;  // bytes
  uint32_t multiSampleType = 0;
  uint32_t width = 0;
  uint32_t height = 0;
};

struct LockedRect {
  int32_t pitch = 0;
  void* bits = nullptr;
};

struct BufferDesc {
  uint32_t format = 0;
  uint32_t type = 0;
  uint32_t usage = 0;
  uint32_t pool = 0;
  uint32_t size = 0;
  uint32_t fvf = 0;
};

}  // namespace platform::gfx
