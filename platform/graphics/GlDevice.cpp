#include "platform/graphics/GlDevice.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/DebugOutput.h"
#include "platform/Library.h"
#include "platform/NativeWindow.h"
#include "platform/graphics/GlProgram.h"
#include "platform/graphics/GlStateCache.h"
#include "platform/graphics/GlStreamBuffer.h"
#include "platform/graphics/PixelFormat.h"

#if defined(__SANITIZE_ADDRESS__)
#define GFX_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GFX_LEAK_CHECKER 1
#endif
#endif
#ifdef GFX_LEAK_CHECKER
#include <sanitizer/lsan_interface.h>
#endif

namespace platform::gfx {
namespace {

// Mesa's software rasteriser keeps a few bytes for each pipeline variant it
// compiles past the unloading of the driver. They are the driver's, so the
// leak checker of sanitizer builds leaves allocations made while this
// backend works the GL context out of its count.
struct DriverAllocations {
#ifdef GFX_LEAK_CHECKER
  DriverAllocations() { __lsan_disable(); }
  ~DriverAllocations() { __lsan_enable(); }
#else
  DriverAllocations() {}
  ~DriverAllocations() {}
#endif
};

GLenum CompareFunc(uint32_t f) {
  switch (f) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLenum BlendFactor(uint32_t f) {
  switch (f) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
  }
}

GLenum BlendEquation(uint32_t op) {
  switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum StencilOp(uint32_t op) {
  switch (op) {
    case D3DSTENCILOP_ZERO: return GL_ZERO;
    case D3DSTENCILOP_REPLACE: return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT: return GL_INCR;
    case D3DSTENCILOP_DECRSAT: return GL_DECR;
    case D3DSTENCILOP_INVERT: return GL_INVERT;
    case D3DSTENCILOP_INCR: return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR: return GL_DECR_WRAP;
    default: return GL_KEEP;
  }
}

GLenum AddressMode(uint32_t a) {
  switch (a) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    default: return GL_REPEAT;
  }
}

GLenum PrimitiveMode(uint32_t type) {
  switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}

void ColorFloats(uint32_t argb, float out[4]) {
  out[0] = float((argb >> 16) & 255) / 255.0f;
  out[1] = float((argb >> 8) & 255) / 255.0f;
  out[2] = float(argb & 255) / 255.0f;
  out[3] = float(argb >> 24) / 255.0f;
}

void CopyColor(const ColorValue& c, float out[4]) {
  out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = c.a;
}

bool HasAlpha(uint32_t format) {
  return format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4 ||
         format == D3DFMT_A8R3G3B2 || format == D3DFMT_A8;
}

// The context the gl devices of this thread last made current, so that a
// draw can tell whether its context is current without asking SDL. Other
// code that changes the current context is caught when a scene begins.
thread_local SDL_GLContext tMadeCurrent = nullptr;

class GlDevice final : public DeviceCore {
 public:
  GlDevice(Direct3DCore* d3d, const PresentParameters& params, uint32_t flags) : DeviceCore(d3d, params, flags) {}

  ~GlDevice() override {
    if (!context_) return;
    if (!MakeCurrent()) {
      // The window went first (closed before the renderer shut down): its
      // context cannot be made current again, and deleting the context frees
      // every object in it.
      DestroySwapChain();
      programs_.Forget();
      tMadeCurrent = nullptr;
      SDL_GL_DeleteContext(context_);
      return;
    }
    const DriverAllocations driver;
    DestroySwapChain();
    programs_.Clear();
    glDeleteVertexArrays(1, &vao_);
    streamVertices_.Destroy(&gl_);
    streamIndices_.Destroy(&gl_);
    const GLuint fbos[] = {targetFbo_, readFbo_};
    glDeleteFramebuffers(2, fbos);
    glDeleteTextures(1, &frontTexture_);
    glDeleteSamplers(4, samplers_);
    SDL_GL_MakeCurrent(window_, nullptr);
    tMadeCurrent = nullptr;
    SDL_GL_DeleteContext(context_);
  }

  CoreStatus Init() {
    NativeWindow* w = presentParameters().deviceWindow;
    if (!w || !w->sdl) {
      DebugPrintf("graphics: the gl backend needs an SDL window\n");
      return D3DERR_INVALIDCALL;
    }
    window_ = w->sdl;
    windowId_ = SDL_GetWindowID(window_);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
      DebugPrintf("graphics: no OpenGL 3.3 core context: %s\n", SDL_GetError());
      return D3DERR_NOTAVAILABLE;
    }
    platform::KeepGraphicsDriversLoaded();
    SDL_GL_MakeCurrent(window_, context_);
    tMadeCurrent = context_;
    const DriverAllocations driver;
    if (epoxy_gl_version() < 33) {
      DebugPrintf("graphics: OpenGL %d.%d is below 3.3\n", epoxy_gl_version() / 10, epoxy_gl_version() % 10);
      return D3DERR_NOTAVAILABLE;
    }
    StartPacing();
    GLint maxSize = 2048;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxTextureSize_ = uint32_t(std::min(maxSize, 4096));
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    for (GLuint i = 0; i < 4; ++i) glEnableVertexAttribArray(i);
    streamVertices_.Create(&gl_);
    streamIndices_.Create(&gl_);
    glGenFramebuffers(1, &targetFbo_);
    glGenFramebuffers(1, &readFbo_);
    glGenSamplers(4, samplers_);
    for (GLuint i = 0; i < 4; ++i) glBindSampler(i, samplers_[i]);
    glFrontFace(GL_CCW);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const CoreStatus r = InitSwapChain();
    if (status::Failed(r)) return r;
    ResizeFront();
    return D3D_OK;
  }

  bool KeepsPixelsInBackend(uint32_t usage, uint32_t, CoreSurface::Kind kind) const override {
    return kind == CoreSurface::Kind::BackBuffer || kind == CoreSurface::Kind::RenderTarget ||
           kind == CoreSurface::Kind::DepthStencil || (usage & D3DUSAGE_RENDERTARGET);
  }

  // --- resources ---

  void BackendCreateTexture(CoreTexture* t) override {
    MakeCurrent();
    const DriverAllocations driver;
    glGenTextures(1, &t->backendName);
    gl_.BindTextureForEdit(t->backendName);
    dirty_ |= kDirtyTextures;
    std::vector<uint8_t> zeros(size_t(t->width()) * t->height() * 4, 0);
    for (uint32_t i = 0; i < t->levelCount(); ++i) {
      const SurfaceDesc& d = t->level(i)->desc();
      // Render targets start transparent black; others as their memory (zero) reads.
      if (!t->level(i)->pixelsInBackend()) {
        std::vector<uint32_t> argb(size_t(d.width) * d.height);
        DecodeToArgb(d.format, t->level(i)->memory().data(), t->level(i)->pitch(), d.width, d.height, argb.data());
        glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, GLsizei(d.width), GLsizei(d.height), 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, argb.data());
      } else {
        glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, GLsizei(d.width), GLsizei(d.height), 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, zeros.data());
      }
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(t->levelCount() - 1));
  }

  void BackendDestroyTexture(CoreTexture* t) override {
    if (!t->backendName) return;
    if (!MakeCurrent()) {
      t->backendName = 0;  // gone with the context
      return;
    }
    const DriverAllocations driver;
    glDeleteTextures(1, &t->backendName);
    gl_.ForgetTexture(t->backendName);
    dirty_ |= kDirtyTextures;
    targetDirty_ = true;
    t->backendName = 0;
  }

  void BackendUploadLevel(CoreTexture* t, uint32_t level) override {
    MakeCurrent();
    const DriverAllocations driver;
    CoreSurface* s = t->level(level);
    const SurfaceDesc& d = s->desc();
    scratch_.resize(size_t(d.width) * d.height);
    DecodeToArgb(d.format, s->memory().data(), s->pitch(), d.width, d.height, scratch_.data());
    gl_.BindTextureForEdit(t->backendName);
    glTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, GLsizei(d.width), GLsizei(d.height), GL_BGRA,
                    GL_UNSIGNED_BYTE, scratch_.data());
  }

  void BackendCreateSurface(CoreSurface* s) override {
    MakeCurrent();
    const DriverAllocations driver;
    const SurfaceDesc& d = s->desc();
    if (s->kind() == CoreSurface::Kind::DepthStencil) {
      glGenRenderbuffers(1, &s->backendName);
      glBindRenderbuffer(GL_RENDERBUFFER, s->backendName);
      glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, GLsizei(d.width), GLsizei(d.height));
      return;
    }
    if (s->kind() != CoreSurface::Kind::BackBuffer && s->kind() != CoreSurface::Kind::RenderTarget) return;
    std::vector<uint8_t> zeros(size_t(d.width) * d.height * 4, 0);
    if (!HasAlpha(d.format))
      for (size_t i = 3; i < zeros.size(); i += 4) zeros[i] = 255;
    glGenTextures(1, &s->backendName);
    gl_.BindTextureForEdit(s->backendName);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(d.width), GLsizei(d.height), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 zeros.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    if (s->kind() == CoreSurface::Kind::BackBuffer) backHoldsFront_ = false;
  }

  void BackendDestroySurface(CoreSurface* s) override {
    if (!s->backendName || !context_) return;
    if (!MakeCurrent()) {
      s->backendName = 0;  // gone with the context
      return;
    }
    const DriverAllocations driver;
    if (s->kind() == CoreSurface::Kind::DepthStencil) {
      glDeleteRenderbuffers(1, &s->backendName);
    } else {
      glDeleteTextures(1, &s->backendName);
      gl_.ForgetTexture(s->backendName);
    }
    s->backendName = 0;
    targetDirty_ = true;
  }

  bool BackendReadSurface(CoreSurface* s, std::vector<uint8_t>* pixels) override {
    const SurfaceDesc& d = s->desc();
    GLuint tex = 0;
    GLint level = 0;
    if (!ColorTexture(s, &tex, &level)) return false;
    MakeCurrent();
    const DriverAllocations driver;
    scratch_.resize(size_t(d.width) * d.height);
    ReadTexture(tex, level, d.width, d.height, scratch_.data());
    pixels->assign(d.size, 0);
    return EncodeFromArgb(d.format, scratch_.data(), d.width, d.height, pixels->data(), s->pitch());
  }

  bool BackendWriteSurface(CoreSurface* s, const std::vector<uint8_t>& pixels) override {
    const SurfaceDesc& d = s->desc();
    GLuint tex = 0;
    GLint level = 0;
    if (!ColorTexture(s, &tex, &level) || pixels.size() < d.size) return false;
    MakeCurrent();
    const DriverAllocations driver;
    // The whole surface is written, so the back buffer's own texture takes it.
    if (s == backBufferSurface()) backHoldsFront_ = false, tex = s->backendName;
    scratch_.resize(size_t(d.width) * d.height);
    DecodeToArgb(d.format, pixels.data(), s->pitch(), d.width, d.height, scratch_.data());
    gl_.BindTextureForEdit(tex);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, GLsizei(d.width), GLsizei(d.height), GL_BGRA, GL_UNSIGNED_BYTE,
                    scratch_.data());
    return true;
  }

  void BackendCreateBuffer(CoreBuffer* b) override {
    MakeCurrent();
    const DriverAllocations driver;
    glGenBuffers(1, &b->backendName);
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->backendName);
    glBufferData(GL_COPY_WRITE_BUFFER, b->length(), b->bytes().data(), GL_STATIC_DRAW);
  }

  void BackendDestroyBuffer(CoreBuffer* b) override {
    if (!b->backendName) return;
    MakeCurrent();
    const DriverAllocations driver;
    glDeleteBuffers(1, &b->backendName);
    gl_.ForgetBuffer(b->backendName);
    if (attribBuffer_ == b->backendName) attribBuffer_ = ~0u;
    b->backendName = 0;
  }

  void BackendUploadBuffer(CoreBuffer* b, uint32_t offset, uint32_t size) override {
    MakeCurrent();
    const DriverAllocations driver;
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->backendName);
    glBufferSubData(GL_COPY_WRITE_BUFFER, offset, size, b->bytes().data() + offset);
  }

 protected:
  void FillCaps(Caps* caps) const override {
    DeviceCore::FillCaps(caps);
    caps->maxTextureWidth = caps->maxTextureHeight = maxTextureSize_;
  }

  void BackendRenderTargetChanged() override { targetDirty_ = true; }

  // Draws run only inside a scene, so making the context current here is
  // what lets them skip asking SDL.
  void BackendBeginScene() override { MakeCurrent(); }

  CoreStatus BackendReset() override {
    MakeCurrent();
    const DriverAllocations driver;
    ResizeFront();
    fixedStateApplied_ = false;
    return D3D_OK;
  }

  CoreStatus BackendClear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t color, float z,
                          uint32_t stencil) override {
    MakeCurrent();
    const DriverAllocations driver;
    const Viewport& vp = viewport();
    const SurfaceDesc& target = renderTarget()->desc();
    const bool wholeTarget =
        count == 0 && vp.x == 0 && vp.y == 0 && vp.width == target.width && vp.height == target.height;
    if (flags & D3DCLEAR_TARGET) PrepareTargetWrite(wholeTarget);
    if (!BindTarget()) return D3DERR_DRIVERINTERNALERROR;
    gl_.Enable(GL_SCISSOR_TEST, true);
    gl_.ColorMask(true, true, true, true);
    gl_.DepthMask(true);
    gl_.StencilMask(0xFF);
    float c[4];
    ColorFloats(color, c);
    // A target without alpha reads as opaque, so its alpha stays 1.
    if (!HasAlpha(target.format)) c[3] = 1.0f;
    gl_.ClearColor(c[0], c[1], c[2], c[3]);
    gl_.ClearDepth(z);
    gl_.ClearStencil(GLint(stencil & 0xFF));
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) mask |= GL_COLOR_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER) mask |= GL_DEPTH_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL) mask |= GL_STENCIL_BUFFER_BIT;
    for (uint32_t i = 0; i < std::max(count, 1u); ++i) {
      int32_t l = int32_t(vp.x), t = int32_t(vp.y), r = int32_t(vp.x + vp.width), b = int32_t(vp.y + vp.height);
      if (count) {
        l = std::max(l, rects[i].left), t = std::max(t, rects[i].top);
        r = std::min(r, rects[i].right), b = std::min(b, rects[i].bottom);
      }
      if (l >= r || t >= b) continue;
      gl_.Scissor(l, t, r - l, b - t);
      glClear(mask);
    }
    gl_.Enable(GL_SCISSOR_TEST, false);
    // The masks above stand in for the render states until the next draw.
    fixedStateApplied_ = false;
    return D3D_OK;
  }

  CoreStatus BackendDraw(const DrawCall& d) override {
    // Another device of this thread may have taken the current context
    // since the scene began.
    if (tMadeCurrent != context_) MakeCurrent();
    const DriverAllocations driver;
    PrepareTargetWrite(false);
    if (!BindTarget()) return D3DERR_DRIVERINTERNALERROR;
    if (dirty_ & kDirtyViewport) {
      const Viewport& vp = viewport();
      gl_.Viewport(GLint(vp.x), GLint(vp.y), GLsizei(vp.width), GLsizei(vp.height));
      gl_.DepthRange(vp.minZ, vp.maxZ);
    }
    if (dirty_ & (kDirtyRenderState | kDirtyStage | kDirtyTextures)) {
      const ProgramKey key = BuildKey();
      if (!program_ || !(key == programKey_)) {
        program_ = programs_.Get(key);
        programKey_ = key;
      }
    }
    if (!program_) return D3DERR_DRIVERINTERNALERROR;
    gl_.UseProgram(program_->name);
    if (dirty_ & (kDirtyTransform | kDirtyViewport | kDirtyMaterial | kDirtyRenderState | kDirtyLights))
      UpdateUniforms();
    UploadUniforms(program_, uniforms_, uniformsVersion_);
    if ((dirty_ & kDirtyRenderState) || !fixedStateApplied_) ApplyFixedState();
    if (dirty_ & kDirtyStage) UpdateSamplers();
    if (dirty_ & (kDirtyTextures | kDirtyStage)) BindTextures();
    dirty_ = 0;

    const GLenum mode = PrimitiveMode(d.type);
    if (d.userVertices) {
      // Client memory goes through the stream buffers; the vertex attributes
      // stay at the start of the vertex stream and the base vertex picks the
      // upload's place.
      const uint32_t first = d.userIndices ? d.minIndex : 0;
      const uint32_t count = d.userIndices ? d.numVertices : d.elementCount;
      const size_t vertexOffset =
          streamVertices_.Upload(&gl_, d.userVertices + size_t(first) * kRenderVertexStride,
                                 size_t(count) * kRenderVertexStride, kRenderVertexStride);
      PointAttributes(streamVertices_.name());
      const GLint base = GLint(vertexOffset / kRenderVertexStride);
      if (d.userIndices) {
        const size_t indexOffset = streamIndices_.Upload(&gl_, d.userIndices, size_t(d.elementCount) * 2, 4);
        glDrawElementsBaseVertex(mode, GLsizei(d.elementCount), GL_UNSIGNED_SHORT,
                                 reinterpret_cast<const void*>(indexOffset), base - GLint(first));
      } else {
        glDrawArrays(mode, base, GLsizei(d.elementCount));
      }
      return D3D_OK;
    }
    PointAttributes(d.vertexBuffer->backendName);
    if (d.indexBuffer) {
      gl_.BindElementBuffer(d.indexBuffer->backendName);
      glDrawElementsBaseVertex(mode, GLsizei(d.elementCount), GL_UNSIGNED_SHORT,
                               reinterpret_cast<const void*>(uintptr_t(d.firstIndex) * 2), GLint(d.firstVertex));
    } else {
      glDrawArrays(mode, GLint(d.firstVertex), GLsizei(d.elementCount));
    }
    return D3D_OK;
  }

  CoreStatus BackendPresent() override {
    MakeCurrent();
    const DriverAllocations driver;
    CoreSurface* back = backBufferSurface();
    const SurfaceDesc& d = back->desc();
    // The back buffer already holds the presented frame when nothing was
    // drawn since the last present; its own texture is stale then.
    const GLuint frame = backHoldsFront_ ? frontTexture_ : back->backendName;
    // The window shows the frame with its first row at the top.
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    gl_.BindReadFramebuffer(readFbo_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frame, 0);
    gl_.BindDrawFramebuffer(0);
    glBlitFramebuffer(0, 0, GLint(d.width), GLint(d.height), 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    SDL_GL_SwapWindow(window_);
    Pace();
    gl_.BindDrawFramebuffer(targetFbo_);
    // The presented texture becomes the front buffer that captures read, and
    // the old front texture is drawn into next: no copy is kept per frame.
    // Until the next frame writes to it, the back buffer reads as the
    // presented frame, as a copying swap would leave it.
    if (!backHoldsFront_) {
      std::swap(back->backendName, frontTexture_);
      backHoldsFront_ = true;
      if (renderTarget() == back) targetDirty_ = true;
    }
    const GLenum err = glGetError();
    if (err != GL_NO_ERROR) {
      DebugPrintf("graphics: GL error 0x%X during the frame\n", err);
      return D3DERR_DRIVERINTERNALERROR;
    }
    return D3D_OK;
  }

  bool BackendFrontBuffer(std::vector<uint32_t>* pixels) override {
    MakeCurrent();
    const DriverAllocations driver;
    const SurfaceDesc& d = backBufferSurface()->desc();
    pixels->assign(size_t(d.width) * d.height, 0);
    ReadTexture(frontTexture_, 0, d.width, d.height, pixels->data());
    return true;
  }

 private:
  // False when the context cannot be made current: its window is gone.
  bool MakeCurrent() {
    tMadeCurrent = context_;
    if (SDL_GL_GetCurrentContext() == context_) return true;
    // The window is looked up by its id: once destroyed, its pointer may
    // not be handed to SDL again.
    if (windowLost_ || SDL_GetWindowFromID(windowId_) != window_ || SDL_GL_MakeCurrent(window_, context_) != 0) {
      windowLost_ = true;
      tMadeCurrent = nullptr;
      return false;
    }
    // Whatever ran on the context meanwhile is not in the shadows.
    gl_.Invalidate();
    glBindVertexArray(vao_);
    attribBuffer_ = ~0u;
    fixedStateApplied_ = false;
    targetDirty_ = true;
    dirty_ = ~0u;
    return true;
  }

  // The texture holding a surface's pixels: the back buffer reads from the
  // front texture while it still holds the presented frame.
  bool ColorTexture(CoreSurface* s, GLuint* tex, GLint* level) {
    if (s->texture()) {
      *tex = s->texture()->backendName;
      *level = GLint(s->level());
    } else {
      *tex = s == backBufferSurface() && backHoldsFront_ ? frontTexture_ : s->backendName;
      *level = 0;
    }
    return *tex != 0 && s->kind() != CoreSurface::Kind::DepthStencil;
  }

  // Reads a texture level as A8R8G8B8 words, first row first.
  void ReadTexture(GLuint tex, GLint level, uint32_t width, uint32_t height, uint32_t* out) {
    gl_.BindReadFramebuffer(readFbo_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, tex, level);
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_BGRA, GL_UNSIGNED_BYTE, out);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  }

  // Before colour reaches the render target: when it is the back buffer and
  // that still reads as the presented frame, the frame is copied in first,
  // unless the write replaces every pixel.
  void PrepareTargetWrite(bool wholeTarget) {
    if (!backHoldsFront_ || renderTarget() != backBufferSurface()) return;
    backHoldsFront_ = false;
    if (wholeTarget) return;
    const SurfaceDesc& d = backBufferSurface()->desc();
    if (!BindTarget()) return;
    gl_.BindReadFramebuffer(readFbo_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frontTexture_, 0);
    gl_.Enable(GL_SCISSOR_TEST, false);
    glBlitFramebuffer(0, 0, GLint(d.width), GLint(d.height), 0, 0, GLint(d.width), GLint(d.height),
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  }

  void ResizeFront() {
    const SurfaceDesc& d = backBufferSurface()->desc();
    if (!frontTexture_) glGenTextures(1, &frontTexture_);
    std::vector<uint32_t> black(size_t(d.width) * d.height, 0xFF000000u);
    gl_.BindTextureForEdit(frontTexture_);
    dirty_ |= kDirtyTextures;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(d.width), GLsizei(d.height), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    backHoldsFront_ = false;
    targetDirty_ = true;
  }

  bool BindTarget() {
    if (!targetDirty_) return true;
    CoreSurface* rt = renderTarget();
    GLuint tex = 0;
    GLint level = 0;
    if (!rt) return false;
    if (rt->texture()) {
      tex = rt->texture()->backendName, level = GLint(rt->level());
    } else {
      tex = rt->backendName;  // the back buffer's own texture, drawn into
    }
    if (!tex || rt->kind() == CoreSurface::Kind::DepthStencil) return false;
    gl_.BindDrawFramebuffer(targetFbo_);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, tex, level);
    CoreSurface* ds = depthStencil();
    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              ds ? ds->backendName : 0);
    const GLenum status = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
      DebugPrintf("graphics: render target incomplete (0x%X)\n", status);
      return false;
    }
    targetDirty_ = false;
    fixedStateApplied_ = false;
    dirty_ |= kDirtyViewport | kDirtyRenderState;
    return true;
  }

  ProgramKey BuildKey() const {
    ProgramKey key;
    for (uint32_t k = 0; k < kDrawnTextureStages; ++k) {
      StageFields s{stageState(k, D3DTSS_COLOROP),   stageState(k, D3DTSS_COLORARG1), stageState(k, D3DTSS_COLORARG2),
                    stageState(k, D3DTSS_ALPHAOP),   stageState(k, D3DTSS_ALPHAARG1), stageState(k, D3DTSS_ALPHAARG2),
                    boundTexture(k) != nullptr};
      if (s.colorOp == D3DTOP_DISABLE || s.colorOp > 31) break;
      key.stages[k] = PackStage(s);
    }
    GlobalFields g{};
    g.lighting = renderState(D3DRS_LIGHTING) != 0;
    g.colorVertex = renderState(D3DRS_COLORVERTEX) != 0;
    g.diffuseSource = renderState(D3DRS_DIFFUSEMATERIALSOURCE);
    g.ambientSource = renderState(D3DRS_AMBIENTMATERIALSOURCE);
    g.emissiveSource = renderState(D3DRS_EMISSIVEMATERIALSOURCE);
    if (renderState(D3DRS_FOGENABLE)) {
      const uint32_t table = renderState(D3DRS_FOGTABLEMODE), vertex = renderState(D3DRS_FOGVERTEXMODE);
      g.fogTable = table != D3DFOG_NONE && table <= D3DFOG_LINEAR;
      g.fogMode = g.fogTable ? table : (vertex <= D3DFOG_LINEAR ? vertex : 0);
    }
    if (renderState(D3DRS_ALPHATESTENABLE) && renderState(D3DRS_ALPHAFUNC) != D3DCMP_ALWAYS)
      g.alphaFunc = std::clamp(renderState(D3DRS_ALPHAFUNC), 1u, 8u);
    g.flat = renderState(D3DRS_SHADEMODE) == D3DSHADE_FLAT;
    key.global = PackGlobal(g);
    return key;
  }

  // Recomputes the uniform values; a new version when they changed, so that
  // each program is brought up to date once.
  void UpdateUniforms() {
    FixedUniforms u;
    const Matrix worldView = Multiply(world(), view());
    const Matrix wvp = Multiply(worldView, projection());
    std::memcpy(u.wvp, wvp.m, sizeof u.wvp);
    std::memcpy(u.worldView, worldView.m, sizeof u.worldView);
    const Viewport& vp = viewport();
    u.target[0] = 1.0f / float(vp.width);
    u.target[1] = 1.0f / float(vp.height);
    u.target[2] = float(renderState(D3DRS_ZBIAS)) / 65536.0f;
    u.target[3] = projection()(2, 3) != 0.0f ? 1.0f : 0.0f;
    CopyColor(material().diffuse, u.matDiffuse);
    CopyColor(material().ambient, u.matAmbient);
    CopyColor(material().emissive, u.matEmissive);
    ColorFloats(renderState(D3DRS_AMBIENT), u.ambient);
    const ColorValue lights = EnabledLightAmbient();
    u.ambient[0] += lights.r, u.ambient[1] += lights.g, u.ambient[2] += lights.b;
    ColorFloats(renderState(D3DRS_TEXTUREFACTOR), u.textureFactor);
    ColorFloats(renderState(D3DRS_FOGCOLOR), u.fogColor);
    u.fog[0] = BitsFloat(renderState(D3DRS_FOGSTART));
    u.fog[1] = BitsFloat(renderState(D3DRS_FOGEND));
    u.fog[2] = BitsFloat(renderState(D3DRS_FOGDENSITY));
    u.fog[3] = float(renderState(D3DRS_ALPHAREF) & 255);
    if (std::memcmp(&u, &uniforms_, sizeof u) == 0) return;
    uniforms_ = u;
    ++uniformsVersion_;
  }

  void ApplyFixedState() {
    const bool depth = renderState(D3DRS_ZENABLE) != D3DZB_FALSE && depthStencil() != nullptr;
    gl_.Enable(GL_DEPTH_TEST, depth);
    gl_.DepthFunc(CompareFunc(renderState(D3DRS_ZFUNC)));
    gl_.DepthMask(renderState(D3DRS_ZWRITEENABLE) != 0);
    gl_.Enable(GL_BLEND, renderState(D3DRS_ALPHABLENDENABLE) != 0);
    GLenum src = BlendFactor(renderState(D3DRS_SRCBLEND)), dst = BlendFactor(renderState(D3DRS_DESTBLEND));
    if (renderState(D3DRS_SRCBLEND) == D3DBLEND_BOTHSRCALPHA) src = GL_SRC_ALPHA, dst = GL_ONE_MINUS_SRC_ALPHA;
    if (renderState(D3DRS_SRCBLEND) == D3DBLEND_BOTHINVSRCALPHA) src = GL_ONE_MINUS_SRC_ALPHA, dst = GL_SRC_ALPHA;
    gl_.BlendFunc(src, dst);
    gl_.BlendEquation(BlendEquation(renderState(D3DRS_BLENDOP)));
    switch (renderState(D3DRS_CULLMODE)) {
      case D3DCULL_CW: gl_.Enable(GL_CULL_FACE, true); gl_.CullFace(GL_FRONT); break;
      case D3DCULL_CCW: gl_.Enable(GL_CULL_FACE, true); gl_.CullFace(GL_BACK); break;
      default: gl_.Enable(GL_CULL_FACE, false); break;
    }
    const uint32_t fill = renderState(D3DRS_FILLMODE);
    gl_.PolygonMode(fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
    const uint32_t mask = renderState(D3DRS_COLORWRITEENABLE);
    const bool alphaTarget = HasAlpha(renderTarget()->desc().format);
    gl_.ColorMask(mask & 1, (mask >> 1) & 1, (mask >> 2) & 1, alphaTarget && ((mask >> 3) & 1));
    gl_.Enable(GL_STENCIL_TEST, renderState(D3DRS_STENCILENABLE) != 0);
    gl_.StencilFunc(CompareFunc(renderState(D3DRS_STENCILFUNC)), GLint(renderState(D3DRS_STENCILREF) & 0xFF),
                    renderState(D3DRS_STENCILMASK));
    gl_.StencilOp(StencilOp(renderState(D3DRS_STENCILFAIL)), StencilOp(renderState(D3DRS_STENCILZFAIL)),
                  StencilOp(renderState(D3DRS_STENCILPASS)));
    gl_.StencilMask(renderState(D3DRS_STENCILWRITEMASK));
    fixedStateApplied_ = true;
  }

  // The sampler parameters a stage's states ask for.
  struct SamplerParams {
    GLint wrapS = 0, wrapT = 0, magFilter = 0, minFilter = 0;
    float minLod = 0, lodBias = 0;
    float border[4] = {};
    bool operator==(const SamplerParams& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
  };

  void UpdateSamplers() {
    for (uint32_t k = 0; k < kDrawnTextureStages; ++k) {
      SamplerParams p;
      p.wrapS = GLint(AddressMode(stageState(k, D3DTSS_ADDRESSU)));
      p.wrapT = GLint(AddressMode(stageState(k, D3DTSS_ADDRESSV)));
      const bool magLinear = stageState(k, D3DTSS_MAGFILTER) >= D3DTEXF_LINEAR;
      const bool minLinear = stageState(k, D3DTSS_MINFILTER) >= D3DTEXF_LINEAR;
      const uint32_t mip = stageState(k, D3DTSS_MIPFILTER);
      GLenum minFilter = minLinear ? GL_LINEAR : GL_NEAREST;
      if (mip == D3DTEXF_POINT) minFilter = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
      if (mip >= D3DTEXF_LINEAR) minFilter = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
      p.magFilter = magLinear ? GL_LINEAR : GL_NEAREST;
      p.minFilter = GLint(minFilter);
      p.minLod = float(stageState(k, D3DTSS_MAXMIPLEVEL));
      p.lodBias = BitsFloat(stageState(k, D3DTSS_MIPMAPLODBIAS));
      ColorFloats(stageState(k, D3DTSS_BORDERCOLOR), p.border);
      // Sampler objects keep their parameters whatever context work happens
      // between, so the last values sent stay known.
      if (samplerSent_[k] && samplerParams_[k] == p) continue;
      const GLuint s = samplers_[k];
      glSamplerParameteri(s, GL_TEXTURE_WRAP_S, p.wrapS);
      glSamplerParameteri(s, GL_TEXTURE_WRAP_T, p.wrapT);
      glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, p.magFilter);
      glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, p.minFilter);
      glSamplerParameterf(s, GL_TEXTURE_MIN_LOD, p.minLod);
      glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, p.lodBias);
      glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, p.border);
      samplerParams_[k] = p;
      samplerSent_[k] = true;
    }
  }

  void BindTextures() {
    for (uint32_t k = 0; k < kDrawnTextureStages; ++k) {
      const CoreTexture* t = boundTexture(k);
      gl_.BindTexture(k, t ? t->backendName : 0);
    }
  }

  // Binds `buffer` as the vertex source and points the attributes into it
  // when they point elsewhere.
  void PointAttributes(GLuint buffer) {
    gl_.BindArrayBuffer(buffer);
    if (attribBuffer_ == buffer) return;
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, kRenderVertexStride, reinterpret_cast<const void*>(0));
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, kRenderVertexStride, reinterpret_cast<const void*>(12));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, kRenderVertexStride, reinterpret_cast<const void*>(16));
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, kRenderVertexStride, reinterpret_cast<const void*>(24));
    attribBuffer_ = buffer;
  }

  // Frames in a window on a display are paced: the driver's vertical sync
  // where it offers one, and a cap at the display's refresh rate besides
  // (60 Hz when the display does not tell), which sync that returns at
  // once (no display behind it, as on a virtual server) leaves in force.
  // Offscreen runs are not paced: tests and scripted runs go as fast as
  // they can.
  void StartPacing() {
    const char* driver = SDL_GetCurrentVideoDriver();
    paced_ = driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
    if (!paced_) {
      SDL_GL_SetSwapInterval(0);
      return;
    }
    const bool vsync = SDL_GL_SetSwapInterval(1) == 0;
    int hz = 60;
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0) hz = mode.refresh_rate;
    framePeriod_ = SDL_GetPerformanceFrequency() / static_cast<uint64_t>(hz);
    lastPresent_ = SDL_GetPerformanceCounter();
    DebugPrintf("graphics: frames paced at %d Hz%s\n", hz, vsync ? " with vertical sync" : "");
  }

  void Pace() {
    if (!paced_) return;
    // A little short of the period, so a real vertical sync is never missed.
    const uint64_t deadline = lastPresent_ + framePeriod_ - framePeriod_ / 16;
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    for (uint64_t now = SDL_GetPerformanceCounter(); now < deadline; now = SDL_GetPerformanceCounter()) {
      const uint64_t ms = (deadline - now) * 1000 / frequency;
      if (ms == 0) break;
      SDL_Delay(static_cast<Uint32>(ms));
    }
    lastPresent_ = SDL_GetPerformanceCounter();
  }

  SDL_Window* window_ = nullptr;
  bool paced_ = false;
  uint64_t framePeriod_ = 0;
  uint64_t lastPresent_ = 0;
  SDL_GLContext context_ = nullptr;
  uint32_t windowId_ = 0;
  bool windowLost_ = false;  // the window was destroyed before the device
  uint32_t maxTextureSize_ = 2048;
  GlStateCache gl_;
  GLuint vao_ = 0;
  GlStreamBuffer streamVertices_{GL_ARRAY_BUFFER, 1u << 20};
  GlStreamBuffer streamIndices_{GL_ELEMENT_ARRAY_BUFFER, 256u << 10};
  GLuint attribBuffer_ = ~0u;  // the buffer the vertex attributes point into
  GLuint targetFbo_ = 0, readFbo_ = 0, frontTexture_ = 0;
  // The back buffer's texture is stale and the front texture holds what it
  // reads as: nothing was drawn since the last present.
  bool backHoldsFront_ = false;
  GLuint samplers_[4] = {};
  SamplerParams samplerParams_[4];
  bool samplerSent_[4] = {};
  bool targetDirty_ = true;
  bool fixedStateApplied_ = false;
  ProgramCache programs_;
  ProgramKey programKey_;
  GlProgram* program_ = nullptr;
  FixedUniforms uniforms_{};
  uint64_t uniformsVersion_ = 1;
  std::vector<uint32_t> scratch_;
};

}  // namespace

CoreStatus CreateGlDevice(Direct3DCore* d3d, const PresentParameters& params, uint32_t behaviorFlags,
                          DeviceCore** device) {
  auto* d = new GlDevice(d3d, params, behaviorFlags);
  const CoreStatus r = d->Init();
  if (status::Failed(r)) {
    d->Release();
    return r;
  }
  *device = d;
  return D3D_OK;
}

std::string ProbeGlRendererName() {
  const bool started = !SDL_WasInit(SDL_INIT_VIDEO);
  if (started && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return "OpenGL";
  std::string name = "OpenGL";
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  if (SDL_Window* w = SDL_CreateWindow("probe", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN)) {
    if (SDL_GLContext c = SDL_GL_CreateContext(w)) {
      platform::KeepGraphicsDriversLoaded();
      SDL_GL_MakeCurrent(w, c);
      if (const GLubyte* text = glGetString(GL_RENDERER)) name = reinterpret_cast<const char*>(text);
      SDL_GL_MakeCurrent(w, nullptr);
      SDL_GL_DeleteContext(c);
    }
    SDL_DestroyWindow(w);
  }
  if (previous) SDL_GL_MakeCurrent(previousWindow, previous);
  if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return name;
}

}  // namespace platform::gfx
