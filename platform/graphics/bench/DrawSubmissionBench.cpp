// Draw-call submission: one frame of a typical batch (100 meshes of 64
// triangles, each with its own world matrix, texture switches and a blend
// state change) per iteration, ended by Present. The gl backend is measured
// beside the record backend (no pixels) and beside the same frame issued
// with plain OpenGL 3.3 core (one VAO/VBO/IBO per mesh, one shader,
// glDrawElements per mesh). Both GL sides end every frame with glFinish, so
// the rasteriser's work is inside the frame's time, and both report the
// samples one frame draws, to show they draw the same pixels.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <vector>

#include "platform/NativeWindow.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/RecordDevice.h"
#include "platform/graphics/bench/BenchGrid.h"

namespace gfx = platform::gfx;

namespace {

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u0, v0, u1, v1;
};

constexpr int kItems = 100;
constexpr int kGrid = 4;  // 4x4 cells of two triangles in two layers: 64 triangles
constexpr int kSize = 256;
constexpr int kTextureSize = 64;

// Where mesh `i` of the frame sits, in pixels.
float ItemX(int i) { return float((i * 37) % (kSize - 20)); }
float ItemY(int i) { return float((i * 53) % (kSize - 20)); }
int ItemTexture(int i) { return (i / 10) & 1; }
bool ItemBlends(int i) { return ((i / 25) & 1) != 0; }

// Screen-space projection: x right, y down, in pixels (row vectors).
gfx::Matrix ScreenProjection() {
  gfx::Matrix proj;
  proj(0, 0) = 2.0f / kSize;
  proj(1, 1) = -2.0f / kSize;
  proj(3, 0) = -1.0f;
  proj(3, 1) = 1.0f;
  return proj;
}

// An SDL window of the offscreen video driver, for the GL sides.
struct OffscreenWindow {
  SDL_Window* sdl = nullptr;
  bool Open(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      state.SkipWithError("no SDL video");
      return false;
    }
    sdl = SDL_CreateWindow("bench", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!sdl) state.SkipWithError("no SDL window");
    return sdl != nullptr;
  }
  ~OffscreenWindow() {
    if (sdl) SDL_DestroyWindow(sdl);
    SDL_Quit();
  }
};

// Runs `frame` once inside a samples-passed query and reports the count.
template <class Frame>
void CountSamples(benchmark::State& state, Frame frame) {
  GLuint query = 0;
  glGenQueries(1, &query);
  glBeginQuery(GL_SAMPLES_PASSED, query);
  frame();
  glEndQuery(GL_SAMPLES_PASSED);
  GLuint samples = 0;
  glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
  glDeleteQueries(1, &query);
  state.counters["samples/frame"] = double(samples);
}

void Report(benchmark::State& state, uint64_t frames, uint32_t triangles) {
  state.counters["draws/s"] = benchmark::Counter(double(frames) * kItems, benchmark::Counter::kIsRate);
  state.counters["triangles/s"] = benchmark::Counter(double(frames) * kItems * triangles, benchmark::Counter::kIsRate);
}

void SubmitDevice(benchmark::State& state, gfx::Backend backend) {
  OffscreenWindow sdl;
  if (backend == gfx::Backend::Gl && !sdl.Open(state)) return;
  platform::NativeWindow window{sdl.sdl, kSize, kSize};
  gfx::Direct3D* d3d = gfx::CreateDirect3D(backend);
  gfx::PresentParameters pp;
  pp.deviceWindow = &window;
  pp.enableAutoDepthStencil = true;
  pp.autoDepthStencilFormat = gfx::D3DFMT_D24S8;
  gfx::Device* dev = nullptr;
  if (d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, &window, gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev) != 0) {
    state.SkipWithError("no device");
    d3d->Release();
    return;
  }
  std::vector<Vertex> verts;
  std::vector<uint16_t> idx;
  BuildBenchGrid(kGrid, &verts, &idx);
  const uint32_t triangles = uint32_t(idx.size() / 3);
  gfx::Texture* textures[2] = {};
  for (auto& t : textures) {
    dev->CreateTexture(kTextureSize, kTextureSize, 0, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &t);
  }
  const gfx::Matrix proj = ScreenProjection();
  dev->SetTransform(gfx::D3DTS_PROJECTION, &proj);
  dev->SetVertexShader(gfx::kRenderVertexFvf);
  dev->SetRenderState(gfx::D3DRS_LIGHTING, 0);
  dev->SetTextureStageState(0, gfx::D3DTSS_MAGFILTER, gfx::D3DTEXF_LINEAR);
  dev->SetTextureStageState(0, gfx::D3DTSS_MINFILTER, gfx::D3DTEXF_LINEAR);
  gfx::CallLog* log = gfx::GetCallLog(dev);  // the record device keeps one; emptied every frame
  const bool gl = backend == gfx::Backend::Gl;
  auto frame = [&] {
    dev->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    dev->BeginScene();
    for (int i = 0; i < kItems; ++i) {
      gfx::Matrix world;
      world(3, 0) = ItemX(i);
      world(3, 1) = ItemY(i);
      dev->SetTransform(gfx::D3DTS_WORLD, &world);
      dev->SetTexture(0, textures[ItemTexture(i)]);
      dev->SetRenderState(gfx::D3DRS_ALPHABLENDENABLE, ItemBlends(i));
      dev->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, uint32_t(verts.size()), triangles, idx.data(),
                                  gfx::D3DFMT_INDEX16, verts.data(), sizeof(Vertex));
    }
    dev->EndScene();
    dev->Present(nullptr, nullptr, nullptr, nullptr);
    if (gl) glFinish();
    if (log) log->Clear();
  };
  if (gl) CountSamples(state, frame);
  uint64_t frames = 0;
  for (auto _ : state) {
    frame();
    ++frames;
  }
  Report(state, frames, triangles);
  for (auto* t : textures) t->Release();
  dev->Release();
  d3d->Release();
}

// The same frame in plain OpenGL 3.3 core, drawn straight into the window
// with the device's pixel conventions (pixel centres at integers, the
// device's culling and depth test), so both sides cover the same samples.
const char* kPlainVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec2 aTex0;
uniform mat4 uWvp;
uniform vec2 uHalfPixel;
out vec4 vColor;
out vec2 vTex0;
void main() {
  vColor = aColor;
  vTex0 = aTex0;
  vec4 p = uWvp * vec4(aPos, 1.0);
  p.xy += p.w * uHalfPixel;
  p.z = 2.0 * p.z - p.w;
  gl_Position = p;
}
)";

const char* kPlainFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec2 vTex0;
uniform sampler2D uTex0;
out vec4 oColor;
void main() {
  vec4 t = texture(uTex0, vTex0);
  oColor = vec4(clamp(t.rgb * vColor.rgb, 0.0, 1.0), t.a);
}
)";

GLuint CompilePlainProgram() {
  auto stage = [](GLenum type, const char* text) {
    const GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &text, nullptr);
    glCompileShader(s);
    return s;
  };
  const GLuint vs = stage(GL_VERTEX_SHADER, kPlainVertexShader), fs = stage(GL_FRAGMENT_SHADER, kPlainFragmentShader);
  const GLuint p = glCreateProgram();
  glAttachShader(p, vs);
  glAttachShader(p, fs);
  glLinkProgram(p);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    glDeleteProgram(p);
    return 0;
  }
  return p;
}

void BM_SubmitPlainGl(benchmark::State& state) {
  OffscreenWindow sdl;
  if (!sdl.Open(state)) return;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GLContext context = SDL_GL_CreateContext(sdl.sdl);
  if (!context) {
    state.SkipWithError("no OpenGL 3.3 core context");
    return;
  }
  SDL_GL_MakeCurrent(sdl.sdl, context);
  SDL_GL_SetSwapInterval(0);
  const GLuint program = CompilePlainProgram();
  if (!program) {
    state.SkipWithError("plain program does not link");
    SDL_GL_DeleteContext(context);
    return;
  }
  std::vector<Vertex> verts;
  std::vector<uint16_t> idx;
  BuildBenchGrid(kGrid, &verts, &idx);
  const uint32_t triangles = uint32_t(idx.size() / 3);

  std::vector<GLuint> vaos(kItems), vbos(kItems), ibos(kItems);
  glGenVertexArrays(kItems, vaos.data());
  glGenBuffers(kItems, vbos.data());
  glGenBuffers(kItems, ibos.data());
  for (int i = 0; i < kItems; ++i) {
    glBindVertexArray(vaos[i]);
    glBindBuffer(GL_ARRAY_BUFFER, vbos[i]);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(verts.size() * sizeof(Vertex)), verts.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibos[i]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(idx.size() * 2), idx.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(0));
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex), reinterpret_cast<const void*>(12));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(16));
  }
  glBindVertexArray(0);

  // Two textures with full mip chains of transparent black, as the device's
  // managed textures start, sampled linearly without mip filtering.
  GLuint textures[2] = {};
  glGenTextures(2, textures);
  const std::vector<uint32_t> zeros(kTextureSize * kTextureSize, 0);
  for (GLuint t : textures) {
    glBindTexture(GL_TEXTURE_2D, t);
    int level = 0;
    for (int s = kTextureSize; s > 0; s /= 2, ++level)
      glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, s, s, 0, GL_BGRA, GL_UNSIGNED_BYTE, zeros.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, level - 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }

  glUseProgram(program);
  glUniform1i(glGetUniformLocation(program, "uTex0"), 0);
  // The window's rows run bottom-up: pixel centres half a pixel right and
  // half a pixel up from the device's integer centres.
  glUniform2f(glGetUniformLocation(program, "uHalfPixel"), 1.0f / kSize, -1.0f / kSize);
  const GLint wvpLocation = glGetUniformLocation(program, "uWvp");
  glViewport(0, 0, kSize, kSize);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CW);  // clockwise on screen faces the viewer; the rest is culled
  glCullFace(GL_BACK);
  glBlendFunc(GL_ONE, GL_ZERO);
  glClearColor(0, 0, 0, 1);
  glClearDepth(1.0);
  const gfx::Matrix proj = ScreenProjection();

  auto frame = [&] {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    int texture = -1;
    bool blending = false;
    glDisable(GL_BLEND);
    for (int i = 0; i < kItems; ++i) {
      gfx::Matrix world;
      world(3, 0) = ItemX(i);
      world(3, 1) = ItemY(i);
      const gfx::Matrix wvp = gfx::Multiply(world, proj);
      glUniformMatrix4fv(wvpLocation, 1, GL_FALSE, wvp.m);
      if (ItemTexture(i) != texture) {
        texture = ItemTexture(i);
        glBindTexture(GL_TEXTURE_2D, textures[texture]);
      }
      if (ItemBlends(i) != blending) {
        blending = ItemBlends(i);
        if (blending) glEnable(GL_BLEND); else glDisable(GL_BLEND);
      }
      glBindVertexArray(vaos[i]);
      glDrawElements(GL_TRIANGLES, GLsizei(idx.size()), GL_UNSIGNED_SHORT, nullptr);
    }
    SDL_GL_SwapWindow(sdl.sdl);
    glFinish();
  };
  CountSamples(state, frame);
  uint64_t frames = 0;
  for (auto _ : state) {
    frame();
    ++frames;
  }
  Report(state, frames, triangles);
  glDeleteTextures(2, textures);
  glDeleteBuffers(kItems, vbos.data());
  glDeleteBuffers(kItems, ibos.data());
  glDeleteVertexArrays(kItems, vaos.data());
  glDeleteProgram(program);
  SDL_GL_MakeCurrent(sdl.sdl, nullptr);
  SDL_GL_DeleteContext(context);
}

void BM_SubmitRecord(benchmark::State& state) { SubmitDevice(state, gfx::Backend::Record); }
void BM_SubmitGl(benchmark::State& state) { SubmitDevice(state, gfx::Backend::Gl); }
BENCHMARK(BM_SubmitRecord)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SubmitGl)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SubmitPlainGl)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
