#include "platform/graphics/DeviceCore.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/PixelFormat.h"

namespace platform::gfx {

static_assert(std::endian::native == std::endian::little, "pixel and vertex layouts assume little-endian words");

namespace {

constexpr uint32_t kMaxLights = 4096;
constexpr uint32_t kMaxSurfaceSide = 16384;

bool IsStageState(uint32_t type) { return type >= 1 && type < kStageStateLimit && type != 12; }

bool IsBackBufferFormat(uint32_t f) {
  return f == D3DFMT_X8R8G8B8 || f == D3DFMT_A8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5 ||
         f == D3DFMT_A1R5G5B5;
}

}  // namespace


bool IsRenderState(uint32_t s) {
  switch (s) {
    case 7: case 8: case 9: case 10: case 14: case 15: case 16: case 19: case 20: case 22: case 23: case 24:
    case 25: case 26: case 27: case 28: case 29: case 30: case 34: case 35: case 36: case 37: case 38: case 40:
    case 47: case 48:
      return true;
    default:
      break;
  }
  if (s >= 52 && s <= 60) return true;
  if (s >= 128 && s <= 137) return true;
  if (s >= 139 && s <= 143) return true;
  if (s >= 145 && s <= 148) return true;
  if (s >= 151 && s <= 168) return true;
  return s >= 170 && s <= 173;
}

uint32_t DefaultRenderState(uint32_t s) {
  switch (s) {
    case D3DRS_ZENABLE: return D3DZB_TRUE;
    case D3DRS_FILLMODE: return D3DFILL_SOLID;
    case D3DRS_SHADEMODE: return D3DSHADE_GOURAUD;
    case D3DRS_ZWRITEENABLE: return 1;
    case D3DRS_LASTPIXEL: return 1;
    case D3DRS_SRCBLEND: return D3DBLEND_ONE;
    case D3DRS_DESTBLEND: return D3DBLEND_ZERO;
    case D3DRS_CULLMODE: return D3DCULL_CCW;
    case D3DRS_ZFUNC: return D3DCMP_LESSEQUAL;
    case D3DRS_ALPHAFUNC: return D3DCMP_ALWAYS;
    case D3DRS_FOGEND: return FloatBits(1.0f);
    case D3DRS_FOGDENSITY: return FloatBits(1.0f);
    case D3DRS_STENCILFAIL: case D3DRS_STENCILZFAIL: case D3DRS_STENCILPASS: return D3DSTENCILOP_KEEP;
    case D3DRS_STENCILFUNC: return D3DCMP_ALWAYS;
    case D3DRS_STENCILMASK: case D3DRS_STENCILWRITEMASK: case D3DRS_TEXTUREFACTOR: return 0xFFFFFFFFu;
    case D3DRS_CLIPPING: case D3DRS_LIGHTING: case D3DRS_COLORVERTEX: case D3DRS_LOCALVIEWER: return 1;
    case D3DRS_DIFFUSEMATERIALSOURCE: return D3DMCS_COLOR1;
    case D3DRS_SPECULARMATERIALSOURCE: return D3DMCS_COLOR2;
    case D3DRS_AMBIENTMATERIALSOURCE: case D3DRS_EMISSIVEMATERIALSOURCE: return D3DMCS_MATERIAL;
    case D3DRS_POINTSIZE: case D3DRS_POINTSIZE_MIN: case D3DRS_POINTSCALE_A: case D3DRS_PATCHSEGMENTS:
      return FloatBits(1.0f);
    case D3DRS_POINTSIZE_MAX: return FloatBits(64.0f);
    case D3DRS_MULTISAMPLEANTIALIAS: return 1;
    case D3DRS_MULTISAMPLEMASK: return 0xFFFFFFFFu;
    case D3DRS_COLORWRITEENABLE: return 0xF;
    case D3DRS_BLENDOP: return D3DBLENDOP_ADD;
    case D3DRS_POSITIONORDER: return 3;
    case D3DRS_NORMALORDER: return 1;
    default: return 0;
  }
}

uint32_t ElementsForPrimitives(uint32_t type, uint32_t n) {
  switch (type) {
    case D3DPT_POINTLIST: return n;
    case D3DPT_LINELIST: return n * 2;
    case D3DPT_LINESTRIP: return n + 1;
    case D3DPT_TRIANGLELIST: return n * 3;
    case D3DPT_TRIANGLESTRIP: case D3DPT_TRIANGLEFAN: return n + 2;
    default: return 0;
  }
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a(i, k) * b(k, j);
      r(i, j) = s;
    }
  return r;
}

// --- life -------------------------------------------------------------------------

DeviceCore::DeviceCore(Direct3DCore* d3d, const PresentParameters& params, uint32_t behaviorFlags)
    : d3d_(d3d), behaviorFlags_(behaviorFlags), params_(params) {
  d3d_->AddRef();
}

DeviceCore::~DeviceCore() {
  DestroySwapChain();
  d3d_->Release();
}

uint32_t DeviceCore::Release() {
  if (--refs_ != 0) return refs_;
  delete this;
  return 0;
}

CoreStatus DeviceCore::InitSwapChain() {
  const CoreStatus s = BuildSwapChain();
  if (status::Succeeded(s)) ResetState();
  return s;
}

void DeviceCore::DestroySwapChain() {
  renderTarget_ = nullptr;
  depthStencil_ = nullptr;
  backBuffer_.reset();
  autoDepth_.reset();
}

CoreStatus DeviceCore::BuildSwapChain() {
  DestroySwapChain();
  SurfaceDesc desc;
  desc.format = params_.backBufferFormat;
  desc.usage = D3DUSAGE_RENDERTARGET;
  desc.pool = D3DPOOL_DEFAULT;
  desc.width = params_.backBufferWidth;
  desc.height = params_.backBufferHeight;
  backBuffer_ = std::make_unique<CoreSurface>(
      this, CoreSurface::Kind::BackBuffer, desc,
      KeepsPixelsInBackend(D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, CoreSurface::Kind::BackBuffer));
  backBuffer_->ownedByDevice = true;
  BackendCreateSurface(backBuffer_.get());
  if (params_.enableAutoDepthStencil) {
    desc.format = params_.autoDepthStencilFormat;
    desc.usage = D3DUSAGE_DEPTHSTENCIL;
    autoDepth_ = std::make_unique<CoreSurface>(
        this, CoreSurface::Kind::DepthStencil, desc,
        KeepsPixelsInBackend(D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, CoreSurface::Kind::DepthStencil));
    autoDepth_->ownedByDevice = true;
    BackendCreateSurface(autoDepth_.get());
  }
  return D3D_OK;
}

void DeviceCore::ResetState() {
  for (uint32_t s = 0; s < kRenderStateLimit; ++s) renderStates_[s] = IsRenderState(s) ? DefaultRenderState(s) : 0;
  renderStates_[D3DRS_ZENABLE] = autoDepth_ ? D3DZB_TRUE : D3DZB_FALSE;
  renderStates_[D3DRS_SOFTWAREVERTEXPROCESSING] = (behaviorFlags_ & D3DCREATE_SOFTWARE_VERTEXPROCESSING) ? 1 : 0;
  for (uint32_t stage = 0; stage < kMaxTextureStages; ++stage) {
    auto& st = stageStates_[stage];
    st.fill(0);
    st[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    st[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    st[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    st[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    st[D3DTSS_TEXCOORDINDEX] = stage;
    st[D3DTSS_ADDRESSU] = st[D3DTSS_ADDRESSV] = st[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
    st[D3DTSS_MAGFILTER] = st[D3DTSS_MINFILTER] = D3DTEXF_POINT;
    st[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
    st[D3DTSS_MAXANISOTROPY] = 1;
    st[D3DTSS_COLORARG0] = st[D3DTSS_ALPHAARG0] = st[D3DTSS_RESULTARG] = D3DTA_CURRENT;
  }
  transforms_world_.fill(Matrix{});
  view_ = projection_ = Matrix{};
  textureTransforms_.fill(Matrix{});
  material_ = Material{};
  lights_.clear();
  textures_.fill(nullptr);
  fvf_ = 0;
  stream_ = nullptr;
  streamStride_ = 0;
  indices_ = nullptr;
  baseVertex_ = 0;
  renderTarget_ = backBuffer_.get();
  depthStencil_ = autoDepth_.get();
  viewport_ = Viewport{0, 0, params_.backBufferWidth, params_.backBufferHeight, 0.0f, 1.0f};
  inScene_ = false;
  dirty_ = ~0u;
  BackendRenderTargetChanged();
}

void DeviceCore::ForgetResource(const void* resource) {
  for (auto& t : textures_)
    if (t == resource) t = nullptr, dirty_ |= kDirtyTextures;
  if (stream_ == resource) stream_ = nullptr;
  if (indices_ == resource) indices_ = nullptr;
  const bool targetGone = renderTarget_ && (renderTarget_ == resource || (renderTarget_->texture() &&
                                                                          renderTarget_->texture() == resource));
  if (targetGone) {
    renderTarget_ = backBuffer_.get();
    depthStencil_ = autoDepth_.get();
    if (renderTarget_) viewport_ = Viewport{0, 0, renderTarget_->desc().width, renderTarget_->desc().height, 0, 1};
    dirty_ |= kDirtyTarget | kDirtyViewport;
    BackendRenderTargetChanged();
  }
  if (depthStencil_ == resource) {
    depthStencil_ = nullptr;
    dirty_ |= kDirtyTarget;
    BackendRenderTargetChanged();
  }
}

CoreStatus DeviceCore::TestCooperativeLevel() {
  CoreStatus r = D3D_OK;
  switch (GetSimulatedDeviceLoss()) {
    case DeviceLoss::Lost: r = D3DERR_DEVICELOST; break;
    case DeviceLoss::NotReset: r = D3DERR_DEVICENOTRESET; break;
    case DeviceLoss::None: break;
  }
  return Log(CallOp::TestCooperativeLevel, r);
}

uint32_t DeviceCore::GetAvailableTextureMem() { return 256u << 20; }

CoreStatus DeviceCore::GetDirect3D(Direct3D** d3d) {
  if (!d3d) return D3DERR_INVALIDCALL;
  d3d_->AddRef();
  *d3d = d3d_;
  return D3D_OK;
}

// The device reports what its Direct3D object reports for a hardware device.
void DeviceCore::FillCaps(Caps* caps) const { d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, caps); }

CoreStatus DeviceCore::GetDeviceCaps(Caps* caps) {
  if (!caps) return D3DERR_INVALIDCALL;
  FillCaps(caps);
  return D3D_OK;
}

CoreStatus DeviceCore::GetDisplayMode(DisplayMode* mode) {
  if (!mode) return D3DERR_INVALIDCALL;
  if (!params_.windowed) {
    *mode = DisplayMode{params_.backBufferWidth, params_.backBufferHeight, 60, params_.backBufferFormat};
    return D3D_OK;
  }
  return d3d_->GetAdapterDisplayMode(0, mode);
}

CoreStatus DeviceCore::Reset(PresentParameters* params) {
  auto fail = [&](CoreStatus r) { return Log(CallOp::Reset, r); };
  if (GetSimulatedDeviceLoss() == DeviceLoss::Lost) return fail(D3DERR_DEVICELOST);
  if (!params) return fail(D3DERR_INVALIDCALL);
  PresentParameters p = *params;
  if (!p.deviceWindow) p.deviceWindow = params_.deviceWindow;
  if (!Direct3DCore::ResolveBackBufferSize(&p)) return fail(D3DERR_INVALIDCALL);
  params_ = p;
  params->backBufferWidth = p.backBufferWidth;
  params->backBufferHeight = p.backBufferHeight;
  params->backBufferFormat = p.backBufferFormat;
  const CoreStatus built = BuildSwapChain();
  if (status::Failed(built)) return fail(built);
  ResetState();
  const CoreStatus r = BackendReset();
  if (status::Succeeded(r) && GetSimulatedDeviceLoss() == DeviceLoss::NotReset) SimulateDeviceLoss(DeviceLoss::None);
  return Log(CallOp::Reset, r, p.backBufferWidth, p.backBufferHeight);
}

CoreStatus DeviceCore::Present(const Rect*, const Rect*, NativeWindow*, const void*) {
  if (GetSimulatedDeviceLoss() != DeviceLoss::None) return Log(CallOp::Present, D3DERR_DEVICELOST);
  if (inScene_) return Log(CallOp::Present, D3DERR_INVALIDCALL);
  return Log(CallOp::Present, BackendPresent());
}

CoreStatus DeviceCore::GetBackBuffer(uint32_t index, uint32_t type, Surface** surface) {
  if (!surface || index != 0 || type != D3DBACKBUFFER_TYPE_MONO || !backBuffer_)
    return Log(CallOp::GetBackBuffer, D3DERR_INVALIDCALL, index);
  backBuffer_->AddRef();
  *surface = backBuffer_.get();
  return Log(CallOp::GetBackBuffer, D3D_OK, index);
}

CoreStatus DeviceCore::GetFrontBuffer(Surface* destination) {
  auto* dst = dynamic_cast<CoreSurface*>(destination);
  if (!dst || dst->desc().format != D3DFMT_A8R8G8B8) return Log(CallOp::GetFrontBuffer, D3DERR_INVALIDCALL);
  std::vector<uint32_t> frame;
  if (!BackendFrontBuffer(&frame)) return Log(CallOp::GetFrontBuffer, D3DERR_DRIVERINTERNALERROR);
  const uint32_t fw = params_.backBufferWidth, fh = params_.backBufferHeight;
  std::vector<uint8_t> pixels;
  if (!dst->ReadPixels(&pixels)) return Log(CallOp::GetFrontBuffer, D3DERR_DRIVERINTERNALERROR);
  const uint32_t w = std::min(fw, dst->desc().width), h = std::min(fh, dst->desc().height);
  for (uint32_t y = 0; y < h; ++y) std::memcpy(pixels.data() + size_t(y) * dst->pitch(), &frame[size_t(y) * fw], size_t(w) * 4);
  dst->WritePixels(pixels);
  return Log(CallOp::GetFrontBuffer, D3D_OK, w, h);
}

// --- resources --------------------------------------------------------------------

CoreStatus DeviceCore::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                     uint32_t format, uint32_t pool, Texture** texture) {
  auto fail = [&](CoreStatus r) { return Log(CallOp::CreateTexture, r, width, height, levels, format); };
  if (!texture) return fail(D3DERR_INVALIDCALL);
  *texture = nullptr;
  Caps caps;
  FillCaps(&caps);
  if (width == 0 || height == 0 || width > caps.maxTextureWidth || height > caps.maxTextureHeight ||
      !IsColorFormat(format) || pool > D3DPOOL_SYSTEMMEM)
    return fail(D3DERR_INVALIDCALL);
  if ((usage & D3DUSAGE_RENDERTARGET) && (pool != D3DPOOL_DEFAULT || IsBlockCompressed(format)))
    return fail(D3DERR_INVALIDCALL);
  if (format == GetRefusedTextureFormat()) return fail(D3DERR_NOTAVAILABLE);
  uint32_t full = 1;
  while ((std::max(width, height) >> full) > 0) ++full;
  if (levels == 0 || levels > full) levels = full;
  auto* t = new CoreTexture(this, width, height, levels, usage, format, pool,
                            KeepsPixelsInBackend(usage, pool, CoreSurface::Kind::TextureLevel));
  AddRef();
  BackendCreateTexture(t);
  *texture = t;
  return fail(D3D_OK);
}

CoreStatus DeviceCore::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                          VertexBuffer** buffer) {
  if (!buffer || length == 0 || length > (64u << 20) || pool > D3DPOOL_SYSTEMMEM)
    return Log(CallOp::CreateVertexBuffer, D3DERR_INVALIDCALL, length);
  if (GetRefusedBufferCreation()) return Log(CallOp::CreateVertexBuffer, D3DERR_OUTOFVIDEOMEMORY, length);
  auto* b = new CoreVertexBuffer(this, length, usage, 0, fvf, pool, D3DRTYPE_VERTEXBUFFER);
  AddRef();
  BackendCreateBuffer(b);
  *buffer = b;
  return Log(CallOp::CreateVertexBuffer, D3D_OK, length, usage, fvf, pool);
}

CoreStatus DeviceCore::CreateIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                                         IndexBuffer** buffer) {
  if (!buffer || length == 0 || length > (64u << 20) || pool > D3DPOOL_SYSTEMMEM ||
      (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32))
    return Log(CallOp::CreateIndexBuffer, D3DERR_INVALIDCALL, length);
  if (GetRefusedBufferCreation()) return Log(CallOp::CreateIndexBuffer, D3DERR_OUTOFVIDEOMEMORY, length);
  auto* b = new CoreIndexBuffer(this, length, usage, format, 0, pool, D3DRTYPE_INDEXBUFFER);
  AddRef();
  BackendCreateBuffer(b);
  *buffer = b;
  return Log(CallOp::CreateIndexBuffer, D3D_OK, length, usage, format, pool);
}

CoreStatus DeviceCore::CreateRenderTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t, bool,
                                          Surface** surface) {
  bool valid = IsBackBufferFormat(format);
  return CreateDefaultPoolSurface(CallOp::CreateRenderTarget, CoreSurface::Kind::RenderTarget,
                                  D3DUSAGE_RENDERTARGET, valid, width, height, format, surface);
}

CoreStatus DeviceCore::CreateDepthStencilSurface(uint32_t width, uint32_t height, uint32_t format, uint32_t,
                                                 Surface** surface) {
  bool valid = IsDepthFormat(format);
  return CreateDefaultPoolSurface(CallOp::CreateDepthStencilSurface, CoreSurface::Kind::DepthStencil,
                                  D3DUSAGE_DEPTHSTENCIL, valid, width, height, format, surface);
}

CoreStatus DeviceCore::CreateDefaultPoolSurface(CallOp op, CoreSurface::Kind kind, uint32_t usage,
                                                bool formatValid, uint32_t width, uint32_t height,
                                                uint32_t format, Surface** surface) {
  if (!surface || width == 0 || height == 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide ||
      !formatValid)
    return Log(op, D3DERR_INVALIDCALL, width, height, format);
  SurfaceDesc desc;
  desc.format = format;
  desc.usage = usage;
  desc.pool = D3DPOOL_DEFAULT;
  desc.width = width;
  desc.height = height;
  auto* s = new CoreSurface(this, kind, desc, KeepsPixelsInBackend(usage, D3DPOOL_DEFAULT, kind));
  AddRef();
  BackendCreateSurface(s);
  *surface = s;
  return Log(op, D3D_OK, width, height, format);
}

CoreStatus DeviceCore::CreateImageSurface(uint32_t width, uint32_t height, uint32_t format, Surface** surface) {
  if (!surface || width == 0 || height == 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide ||
      !IsColorFormat(format))
    return Log(CallOp::CreateImageSurface, D3DERR_INVALIDCALL, width, height, format);
  SurfaceDesc desc;
  desc.format = format;
  desc.pool = D3DPOOL_SYSTEMMEM;
  desc.width = width;
  desc.height = height;
  auto* s = new CoreSurface(this, CoreSurface::Kind::Image, desc, false);
  AddRef();
  *surface = s;
  return Log(CallOp::CreateImageSurface, D3D_OK, width, height, format);
}

CoreStatus DeviceCore::CopyRects(Surface* source, const Rect* rects, uint32_t count, Surface* destination,
                                 const Point* points) {
  auto* src = dynamic_cast<CoreSurface*>(source);
  auto* dst = dynamic_cast<CoreSurface*>(destination);
  auto fail = [&](CoreStatus r) { return Log(CallOp::CopyRects, r, count); };
  if (!src || !dst || src == dst || src->desc().format != dst->desc().format || IsDepthFormat(src->desc().format) ||
      (count > 0 && !rects) || src->locked() || dst->locked())
    return fail(D3DERR_INVALIDCALL);
  const Rect whole{0, 0, int32_t(src->desc().width), int32_t(src->desc().height)};
  const uint32_t n = rects ? count : 1;
  const uint32_t fmt = src->desc().format;
  const bool blocks = IsBlockCompressed(fmt);
  const uint32_t unit = blocks ? 8 : BytesPerPixel(fmt);
  const int32_t cell = blocks ? 4 : 1;
  // Check every rectangle before touching any pixel.
  for (uint32_t i = 0; i < n; ++i) {
    const Rect r = rects ? rects[i] : whole;
    const Point p = (rects && points) ? points[i] : Point{r.left, r.top};
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || r.right > whole.right ||
        r.bottom > whole.bottom || p.x < 0 || p.y < 0 || int64_t(p.x) + (r.right - r.left) > int64_t(dst->desc().width) ||
        int64_t(p.y) + (r.bottom - r.top) > int64_t(dst->desc().height))
      return fail(D3DERR_INVALIDCALL);
    if (blocks && (r.left % 4 || r.top % 4 || p.x % 4 || p.y % 4)) return fail(D3DERR_INVALIDCALL);
  }
  std::vector<uint8_t> from, to;
  if (!src->ReadPixels(&from) || !dst->ReadPixels(&to)) return fail(D3DERR_DRIVERINTERNALERROR);
  for (uint32_t i = 0; i < n; ++i) {
    const Rect r = rects ? rects[i] : whole;
    const Point p = (rects && points) ? points[i] : Point{r.left, r.top};
    const uint32_t cols = uint32_t((r.right - r.left + cell - 1) / cell);
    const uint32_t rows = uint32_t((r.bottom - r.top + cell - 1) / cell);
    for (uint32_t y = 0; y < rows; ++y)
      std::memcpy(to.data() + size_t(p.y / cell + y) * dst->pitch() + size_t(p.x / cell) * unit,
                  from.data() + size_t(r.top / cell + y) * src->pitch() + size_t(r.left / cell) * unit,
                  size_t(cols) * unit);
  }
  if (!dst->WritePixels(to)) return fail(D3DERR_DRIVERINTERNALERROR);
  return fail(D3D_OK);
}

CoreStatus DeviceCore::UpdateTexture(Texture* source, Texture* destination) {
  auto* src = dynamic_cast<CoreTexture*>(source);
  auto* dst = dynamic_cast<CoreTexture*>(destination);
  if (!src || !dst || src == dst || src->format() != dst->format() || src->width() != dst->width() ||
      src->height() != dst->height())
    return Log(CallOp::UpdateTexture, D3DERR_INVALIDCALL);
  std::vector<uint8_t> pixels;
  for (uint32_t i = 0; i < std::min(src->levelCount(), dst->levelCount()); ++i) {
    if (!src->level(i)->ReadPixels(&pixels) || !dst->level(i)->WritePixels(pixels))
      return Log(CallOp::UpdateTexture, D3DERR_DRIVERINTERNALERROR);
  }
  return Log(CallOp::UpdateTexture, D3D_OK);
}

// --- render target ----------------------------------------------------------------

CoreStatus DeviceCore::SetRenderTarget(Surface* renderTarget, Surface* depthStencil) {
  auto* rt = renderTarget ? dynamic_cast<CoreSurface*>(renderTarget) : renderTarget_;
  auto* ds = dynamic_cast<CoreSurface*>(depthStencil);
  auto fail = [&](CoreStatus r) { return Log(CallOp::SetRenderTarget, r); };
  if (!rt || !(rt->desc().usage & D3DUSAGE_RENDERTARGET)) return fail(D3DERR_INVALIDCALL);
  if (depthStencil && (!ds || ds->kind() != CoreSurface::Kind::DepthStencil ||
                       ds->desc().width < rt->desc().width || ds->desc().height < rt->desc().height))
    return fail(D3DERR_INVALIDCALL);
  renderTarget_ = rt;
  depthStencil_ = ds;
  viewport_ = Viewport{0, 0, rt->desc().width, rt->desc().height, 0.0f, 1.0f};
  dirty_ |= kDirtyTarget | kDirtyViewport;
  BackendRenderTargetChanged();
  return fail(D3D_OK);
}

CoreStatus DeviceCore::GetRenderTarget(Surface** surface) {
  if (!surface || !renderTarget_) return D3DERR_INVALIDCALL;
  renderTarget_->AddRef();
  *surface = renderTarget_;
  return D3D_OK;
}

CoreStatus DeviceCore::GetDepthStencilSurface(Surface** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  if (!depthStencil_) {
    *surface = nullptr;
    return D3DERR_NOTFOUND;
  }
  depthStencil_->AddRef();
  *surface = depthStencil_;
  return D3D_OK;
}

// --- scene ---------------------------------------------------------------------------

CoreStatus DeviceCore::BeginScene() {
  if (inScene_) return Log(CallOp::BeginScene, D3DERR_INVALIDCALL);
  inScene_ = true;
  BackendBeginScene();
  return Log(CallOp::BeginScene, D3D_OK);
}

CoreStatus DeviceCore::EndScene() {
  if (!inScene_) return Log(CallOp::EndScene, D3DERR_INVALIDCALL);
  inScene_ = false;
  return Log(CallOp::EndScene, D3D_OK);
}

CoreStatus DeviceCore::Clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t color, float z,
                             uint32_t stencil) {
  auto done = [&](CoreStatus r) { return Log(CallOp::Clear, r, count, flags, color, stencil); };
  if (flags == 0 || (flags & ~7u) || (count > 0 && !rects) || !(z >= 0.0f && z <= 1.0f))
    return done(D3DERR_INVALIDCALL);
  if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) return done(D3DERR_INVALIDCALL);
  if ((flags & D3DCLEAR_STENCIL) && depthStencil_ &&
      depthStencil_->desc().format != D3DFMT_D24S8 && depthStencil_->desc().format != D3DFMT_D24X4S4 &&
      depthStencil_->desc().format != D3DFMT_D15S1)
    return done(D3DERR_INVALIDCALL);
  return done(BackendClear(count, rects, flags, color, z, stencil));
}

// --- state ----------------------------------------------------------------------------

CoreStatus DeviceCore::SetTransform(uint32_t state, const Matrix* m) {
  if (!m) return Log(CallOp::SetTransform, D3DERR_INVALIDCALL, state);
  Matrix* slot = nullptr;
  if (state == D3DTS_VIEW) slot = &view_;
  else if (state == D3DTS_PROJECTION) slot = &projection_;
  else if (state >= D3DTS_WORLD && state <= D3DTS_WORLD3) slot = &transforms_world_[state - D3DTS_WORLD];
  else if (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) slot = &textureTransforms_[state - D3DTS_TEXTURE0];
  else return Log(CallOp::SetTransform, D3DERR_INVALIDCALL, state);
  // Setting the value a state already has leaves the backend nothing to send.
  if (std::memcmp(slot->m, m->m, sizeof m->m) != 0) {
    *slot = *m;
    dirty_ |= kDirtyTransform;
  }
  return Log(CallOp::SetTransform, D3D_OK, state);
}

CoreStatus DeviceCore::GetTransform(uint32_t state, Matrix* m) {
  if (!m) return Log(CallOp::GetTransform, D3DERR_INVALIDCALL, state);
  if (state == D3DTS_VIEW) *m = view_;
  else if (state == D3DTS_PROJECTION) *m = projection_;
  else if (state >= D3DTS_WORLD && state <= D3DTS_WORLD3) *m = transforms_world_[state - D3DTS_WORLD];
  else if (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) *m = textureTransforms_[state - D3DTS_TEXTURE0];
  else return Log(CallOp::GetTransform, D3DERR_INVALIDCALL, state);
  return Log(CallOp::GetTransform, D3D_OK, state);
}

CoreStatus DeviceCore::SetViewport(const Viewport* vp) {
  if (!vp || !renderTarget_) return Log(CallOp::SetViewport, D3DERR_INVALIDCALL);
  const uint64_t right = uint64_t(vp->x) + vp->width, bottom = uint64_t(vp->y) + vp->height;
  if (vp->width == 0 || vp->height == 0 || right > renderTarget_->desc().width ||
      bottom > renderTarget_->desc().height || !(vp->minZ >= 0.0f && vp->minZ <= 1.0f) ||
      !(vp->maxZ >= 0.0f && vp->maxZ <= 1.0f)) {
    DebugPrintf("graphics: viewport %u,%u %ux%u does not fit the %ux%u render target\n", vp->x, vp->y, vp->width,
                vp->height, renderTarget_->desc().width, renderTarget_->desc().height);
    return Log(CallOp::SetViewport, D3DERR_INVALIDCALL, vp->x, vp->y, vp->width, vp->height);
  }
  if (std::memcmp(&viewport_, vp, sizeof *vp) != 0) {
    viewport_ = *vp;
    dirty_ |= kDirtyViewport;
  }
  return Log(CallOp::SetViewport, D3D_OK, vp->x, vp->y, vp->width, vp->height);
}

CoreStatus DeviceCore::GetViewport(Viewport* vp) {
  if (!vp) return Log(CallOp::GetViewport, D3DERR_INVALIDCALL);
  *vp = viewport_;
  return Log(CallOp::GetViewport, D3D_OK);
}

CoreStatus DeviceCore::SetMaterial(const Material* m) {
  if (!m) return Log(CallOp::SetMaterial, D3DERR_INVALIDCALL);
  if (std::memcmp(&material_, m, sizeof *m) != 0) {
    material_ = *m;
    dirty_ |= kDirtyMaterial;
  }
  return Log(CallOp::SetMaterial, D3D_OK);
}

CoreStatus DeviceCore::GetMaterial(Material* m) {
  if (!m) return Log(CallOp::GetMaterial, D3DERR_INVALIDCALL);
  *m = material_;
  return Log(CallOp::GetMaterial, D3D_OK);
}

CoreStatus DeviceCore::SetLight(uint32_t index, const Light* light) {
  if (!light || light->type < D3DLIGHT_POINT || light->type > D3DLIGHT_DIRECTIONAL ||
      (!lights_.count(index) && lights_.size() >= kMaxLights))
    return Log(CallOp::SetLight, D3DERR_INVALIDCALL, index);
  lights_[index].light = *light;
  dirty_ |= kDirtyLights;
  return Log(CallOp::SetLight, D3D_OK, index, light->type);
}

CoreStatus DeviceCore::GetLight(uint32_t index, Light* light) {
  auto it = lights_.find(index);
  if (!light || it == lights_.end()) return Log(CallOp::GetLight, D3DERR_INVALIDCALL, index);
  *light = it->second.light;
  return Log(CallOp::GetLight, D3D_OK, index);
}

CoreStatus DeviceCore::LightEnable(uint32_t index, bool enable) {
  auto it = lights_.find(index);
  if (it == lights_.end()) {
    // An index never set gets the default light: white, pointing down +z.
    if (lights_.size() >= kMaxLights) return Log(CallOp::LightEnable, D3DERR_INVALIDCALL, index, enable);
    LightSlot slot;
    slot.light.diffuse = {1, 1, 1, 0};
    slot.light.direction = {0, 0, 1};
    it = lights_.emplace(index, slot).first;
  }
  it->second.enabled = enable;
  dirty_ |= kDirtyLights;
  return Log(CallOp::LightEnable, D3D_OK, index, enable);
}

CoreStatus DeviceCore::GetLightEnable(uint32_t index, bool* enabled) {
  auto it = lights_.find(index);
  if (!enabled || it == lights_.end()) return Log(CallOp::GetLightEnable, D3DERR_INVALIDCALL, index);
  *enabled = it->second.enabled;
  return Log(CallOp::GetLightEnable, D3D_OK, index, *enabled);
}

ColorValue DeviceCore::EnabledLightAmbient() const {
  ColorValue sum;
  for (const auto& [index, slot] : lights_) {
    if (!slot.enabled || slot.light.type != D3DLIGHT_DIRECTIONAL) continue;
    sum.r += slot.light.ambient.r;
    sum.g += slot.light.ambient.g;
    sum.b += slot.light.ambient.b;
  }
  return sum;
}

CoreStatus DeviceCore::SetRenderState(uint32_t state, uint32_t value) {
  if (!IsRenderState(state)) return Log(CallOp::SetRenderState, D3DERR_INVALIDCALL, state, value);
  if (renderStates_[state] != value) {
    renderStates_[state] = value;
    dirty_ |= kDirtyRenderState;
  }
  return Log(CallOp::SetRenderState, D3D_OK, state, value);
}

CoreStatus DeviceCore::GetRenderState(uint32_t state, uint32_t* value) {
  if (!value || !IsRenderState(state)) return Log(CallOp::GetRenderState, D3DERR_INVALIDCALL, state);
  *value = renderStates_[state];
  return Log(CallOp::GetRenderState, D3D_OK, state, *value);
}

CoreStatus DeviceCore::SetTexture(uint32_t stage, Texture* texture) {
  auto* t = dynamic_cast<CoreTexture*>(texture);
  if (stage >= kMaxTextureStages || (texture && !t)) return Log(CallOp::SetTexture, D3DERR_INVALIDCALL, stage);
  if (textures_[stage] != t) {
    textures_[stage] = t;
    dirty_ |= kDirtyTextures;
  }
  return Log(CallOp::SetTexture, D3D_OK, stage, t ? 1u : 0u);
}

CoreStatus DeviceCore::GetTexture(uint32_t stage, Texture** texture) {
  if (!texture || stage >= kMaxTextureStages) return Log(CallOp::GetTexture, D3DERR_INVALIDCALL, stage);
  *texture = textures_[stage];
  if (*texture) (*texture)->AddRef();
  return Log(CallOp::GetTexture, D3D_OK, stage);
}

CoreStatus DeviceCore::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
  if (stage >= kMaxTextureStages || !IsStageState(type))
    return Log(CallOp::SetTextureStageState, D3DERR_INVALIDCALL, stage, type, value);
  if (stageStates_[stage][type] != value) {
    stageStates_[stage][type] = value;
    dirty_ |= kDirtyStage;
  }
  return Log(CallOp::SetTextureStageState, D3D_OK, stage, type, value);
}

CoreStatus DeviceCore::GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) {
  if (!value || stage >= kMaxTextureStages || !IsStageState(type))
    return Log(CallOp::GetTextureStageState, D3DERR_INVALIDCALL, stage, type);
  *value = stageStates_[stage][type];
  return Log(CallOp::GetTextureStageState, D3D_OK, stage, type, *value);
}

CoreStatus DeviceCore::SetVertexShader(uint32_t fvf) {
  fvf_ = fvf;
  return Log(CallOp::SetVertexShader, D3D_OK, fvf);
}

CoreStatus DeviceCore::GetVertexShader(uint32_t* fvf) {
  if (!fvf) return D3DERR_INVALIDCALL;
  *fvf = fvf_;
  return D3D_OK;
}

CoreStatus DeviceCore::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) {
  auto* vb = dynamic_cast<CoreVertexBuffer*>(buffer);
  if (stream != 0 || (buffer && !vb)) return Log(CallOp::SetStreamSource, D3DERR_INVALIDCALL, stream, stride);
  stream_ = vb;
  streamStride_ = stride;
  return Log(CallOp::SetStreamSource, D3D_OK, stream, stride);
}

CoreStatus DeviceCore::SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) {
  auto* ib = dynamic_cast<CoreIndexBuffer*>(buffer);
  if (buffer && !ib) return Log(CallOp::SetIndices, D3DERR_INVALIDCALL, baseVertexIndex);
  indices_ = ib;
  baseVertex_ = baseVertexIndex;
  return Log(CallOp::SetIndices, D3D_OK, baseVertexIndex);
}

// --- drawing --------------------------------------------------------------------------

CoreStatus DeviceCore::CheckDrawState(uint32_t type, uint32_t primitiveCount, uint32_t* elements) {
  if (!inScene_) {
    DebugPrintf("graphics: draw outside BeginScene/EndScene\n");
    return D3DERR_INVALIDCALL;
  }
  if (fvf_ != kRenderVertexFvf) {
    DebugPrintf("graphics: vertex format 0x%X is not the one drawable layout 0x%X\n", fvf_, kRenderVertexFvf);
    return D3DERR_INVALIDCALL;
  }
  Caps caps;
  FillCaps(&caps);
  *elements = ElementsForPrimitives(type, primitiveCount);
  if (*elements == 0 || primitiveCount > caps.maxPrimitiveCount) return D3DERR_INVALIDCALL;
  return D3D_OK;
}

CoreStatus DeviceCore::CheckIndices(const uint16_t* indices, uint32_t count, uint32_t minIndex, uint32_t numVertices,
                                    uint32_t base, uint32_t vertexLimit) const {
  const uint64_t end = uint64_t(minIndex) + numVertices;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t v = indices[i];
    if (v < minIndex || v >= end || uint64_t(base) + v >= vertexLimit) {
      DebugPrintf("graphics: index %u at position %u is outside the vertex range %u..%llu (of %u vertices)\n", v, i,
                  minIndex, static_cast<unsigned long long>(end) - 1, vertexLimit);
      return D3DERR_INVALIDCALL;
    }
  }
  return D3D_OK;
}

CoreStatus DeviceCore::DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) {
  auto done = [&](CoreStatus r) { return Log(CallOp::DrawPrimitive, r, type, startVertex, primitiveCount); };
  uint32_t elements = 0;
  CoreStatus r = CheckDrawState(type, primitiveCount, &elements);
  if (status::Failed(r)) return done(r);
  if (!stream_ || streamStride_ != kRenderVertexStride) return done(D3DERR_INVALIDCALL);
  const uint32_t vertices = stream_->length() / kRenderVertexStride;
  if (uint64_t(startVertex) + elements > vertices) {
    DebugPrintf("graphics: draw of vertices %u..%u is past the buffer's %u\n", startVertex, startVertex + elements - 1,
                vertices);
    return done(D3DERR_INVALIDCALL);
  }
  DrawCall d;
  d.type = type;
  d.primitiveCount = primitiveCount;
  d.elementCount = elements;
  d.vertexBuffer = stream_;
  d.firstVertex = startVertex;
  return done(BackendDraw(d));
}

CoreStatus DeviceCore::DrawIndexedPrimitive(uint32_t type, uint32_t minIndex, uint32_t numVertices,
                                            uint32_t startIndex, uint32_t primitiveCount) {
  auto done = [&](CoreStatus r) { return Log(CallOp::DrawIndexedPrimitive, r, type, startIndex, primitiveCount, numVertices); };
  uint32_t elements = 0;
  CoreStatus r = CheckDrawState(type, primitiveCount, &elements);
  if (status::Failed(r)) return done(r);
  if (!stream_ || !indices_ || streamStride_ != kRenderVertexStride || indices_->format() != D3DFMT_INDEX16 ||
      numVertices == 0)
    return done(D3DERR_INVALIDCALL);
  if (uint64_t(startIndex) + elements > indices_->length() / 2) {
    DebugPrintf("graphics: draw of indices %u..%u is past the buffer's %u\n", startIndex, startIndex + elements - 1,
                indices_->length() / 2);
    return done(D3DERR_INVALIDCALL);
  }
  const auto* idx = reinterpret_cast<const uint16_t*>(indices_->bytes().data()) + startIndex;
  r = CheckIndices(idx, elements, minIndex, numVertices, baseVertex_, stream_->length() / kRenderVertexStride);
  if (status::Failed(r)) return done(r);
  DrawCall d;
  d.type = type;
  d.primitiveCount = primitiveCount;
  d.elementCount = elements;
  d.vertexBuffer = stream_;
  d.firstVertex = baseVertex_;
  d.indexBuffer = indices_;
  d.firstIndex = startIndex;
  d.minIndex = minIndex;
  d.numVertices = numVertices;
  return done(BackendDraw(d));
}

CoreStatus DeviceCore::DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices, uint32_t stride) {
  auto done = [&](CoreStatus r) { return Log(CallOp::DrawPrimitiveUP, r, type, primitiveCount, stride); };
  uint32_t elements = 0;
  CoreStatus r = CheckDrawState(type, primitiveCount, &elements);
  if (status::Failed(r)) return done(r);
  if (!vertices || stride != kRenderVertexStride) return done(D3DERR_INVALIDCALL);
  DrawCall d;
  d.type = type;
  d.primitiveCount = primitiveCount;
  d.elementCount = elements;
  d.userVertices = static_cast<const uint8_t*>(vertices);
  d.userVertexCount = elements;
  return done(BackendDraw(d));
}

CoreStatus DeviceCore::DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t numVertices,
                                              uint32_t primitiveCount, const void* indices, uint32_t indexFormat,
                                              const void* vertices, uint32_t stride) {
  auto done = [&](CoreStatus r) {
    return Log(CallOp::DrawIndexedPrimitiveUP, r, type, minIndex, primitiveCount, numVertices);
  };
  uint32_t elements = 0;
  CoreStatus r = CheckDrawState(type, primitiveCount, &elements);
  if (status::Failed(r)) return done(r);
  if (!vertices || !indices || stride != kRenderVertexStride || indexFormat != D3DFMT_INDEX16 || numVertices == 0 ||
      uint64_t(minIndex) + numVertices > 0x10000)
    return done(D3DERR_INVALIDCALL);
  const auto* idx = static_cast<const uint16_t*>(indices);
  r = CheckIndices(idx, elements, minIndex, numVertices, 0, minIndex + numVertices);
  if (status::Failed(r)) return done(r);
  DrawCall d;
  d.type = type;
  d.primitiveCount = primitiveCount;
  d.elementCount = elements;
  d.userVertices = static_cast<const uint8_t*>(vertices);
  d.userVertexCount = minIndex + numVertices;
  d.userIndices = idx;
  d.minIndex = minIndex;
  d.numVertices = numVertices;
  return done(BackendDraw(d));
}

}  // namespace platform::gfx
