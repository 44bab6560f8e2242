// The renderer's module life, views, passes, colour matrices and the
// resource slots that only hand on to the resource itself.
#include "renderer/Lumetra.h"

#include <algorithm>
#include <new>

#include "engine/frame/Timer.h"
#include "engine/math/CameraView.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/ImageUtil.h"
#include "platform/window/Window.h"
#include "renderer/C3DPassDX8.h"

namespace gfx = platform::gfx;

namespace {
// Process-wide values of the plug-in, written by Update.
float gRunningTime = 0.0f;
float gFrameTime = 0.0f;

// The lowest of the colour-matrix bits 0x2 ... 0x200 set in `bits`; -1 for none.
int LowestMatrixIndex(uint32_t bits) {
  for (int k = 0; k < static_cast<int>(Lumetra::kColourMatrixCount); ++k) {
    if (bits & (0x2u << k)) return k;
  }
  return -1;
}

// A colour component 0..1 as a byte: times 255, truncated, low 8 bits.
// Values no integer can hold give 0 instead of undefined behaviour.
uint32_t ChannelByte(float component) {
  const float scaled = component * 255.0f;
  if (!(scaled > -2147483648.0f && scaled < 2147483648.0f)) return 0;
  return static_cast<uint32_t>(static_cast<int32_t>(scaled)) & 0xFFu;
}
}  // namespace

float Lumetra::GetRunningTime() { return gRunningTime; }
float Lumetra::GetFrameTime() { return gFrameTime; }

Lumetra::Lumetra() {
  matrices_.fill(JMatrix::Identity());
  metricHistory_.fill(100.0f);
}

Lumetra::~Lumetra() { Shutdown(); }

bool Lumetra::Init() {
  if (d3d_) return true;
  d3d_ = gfx::Direct3DCreate8(gfx::D3D_SDK_VERSION);
  if (!d3d_) return false;
  if (const platform::NativeWindow* native = platform::GetNativeWindow(window_)) d3d_->SetDisplayWindow(native);
  return true;
}

void Lumetra::Shutdown() {
  FreeModeList();
  ReleaseOverlayObjects();
  for (size_t i = 0; overlayPass_ && i < passes_.size(); ++i)
    if (passes_[i] == overlayPass_) RemovePass(static_cast<int32_t>(i));
  for (size_t i = 0; overlayView_ && i < views_.size(); ++i)
    if (views_[i] == overlayView_) RemoveView(static_cast<int32_t>(i));
  overlayPass_ = nullptr;
  overlayView_ = nullptr;
  delete profiler_;
  profiler_ = nullptr;
  // Resources go before the device they hold textures and buffers of; any
  // pointer a user still holds is invalid from here on.
  meshes_.Destroy();
  models_.Destroy();
  fonts_.Destroy();
  shaders_.Destroy();
  images_.Destroy();
  lights_.Destroy();
  DeleteContainers();
  for (C3DPassDX8* pass : passes_) delete pass;
  passes_.clear();
  for (C3DPassDX8* pass : retiredPasses_) delete pass;
  retiredPasses_.clear();
  for (CameraView* view : views_) delete view;
  views_.clear();
  // A device still held at shutdown goes with the interface, so nothing of
  // the device layer outlives the renderer.
  if (device_) {
    device_->Release();
    device_ = nullptr;
  }
  if (d3d_) {
    d3d_->Release();
    d3d_ = nullptr;
  }
}

const char* Lumetra::GetName() { return "[Lumetra]"; }
const char* Lumetra::GetDescription() { return "DirectX 8.0a Rendering Layer"; }
eServiceType Lumetra::GetServiceType() { return eService_Graphics; }

void Lumetra::Update(float seconds) {
  gRunningTime += seconds;
  gFrameTime = seconds;
  // Resources whose last reference went since the previous update.
  fonts_.FlushPending();
  images_.FlushPending();
  lights_.FlushPending();
  models_.FlushPending();
  meshes_.FlushPending();
  shaders_.FlushPending();
}

void Lumetra::RemoveLightRecord(uint32_t index) {
  // Passes hold lights by registry index: each forgets its first entry of
  // this one before the record goes.
  for (C3DPassDX8* pass : passes_) {
    for (int32_t position = 0; position < pass->GetLightCount(); ++position) {
      if (pass->GetLight(position) == static_cast<int32_t>(index)) {
        pass->RemoveLight(position);
        break;
      }
    }
  }
  lights_.Remove(index);
}

const ResourceRegistry& Lumetra::Registry(Family family) const {
  switch (family) {
    case Family::Fonts: return fonts_;
    case Family::Images: return images_;
    case Family::Lights: return lights_;
    case Family::Models: return models_;
    case Family::Meshes: return meshes_;
    case Family::Shaders: break;
  }
  return shaders_;
}

void Lumetra::SetWindow(platform::HWND window) {
  window_ = window;
  if (d3d_) {
    if (const platform::NativeWindow* native = platform::GetNativeWindow(window_)) d3d_->SetDisplayWindow(native);
  }
}

// --- passes ---------------------------------------------------------------

int32_t Lumetra::GetPassCount() { return static_cast<int32_t>(passes_.size()); }

C3DPass* Lumetra::GetPass(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= passes_.size()) return nullptr;
  return passes_[static_cast<size_t>(index)];
}

void Lumetra::RenumberPasses() {
  for (size_t i = 0; i < passes_.size(); ++i) passes_[i]->SetIndex(static_cast<int32_t>(i));
}

C3DPass* Lumetra::InsertPass(int32_t index) {
  auto* pass = new (std::nothrow) C3DPassDX8();
  if (!pass) return nullptr;
  const size_t count = passes_.size();
  const size_t at = index < 0 || static_cast<size_t>(index) > count ? count : static_cast<size_t>(index);
  passes_.insert(passes_.begin() + static_cast<std::ptrdiff_t>(at), pass);
  RenumberPasses();
  return pass;
}

void Lumetra::RemovePass(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= passes_.size()) return;
  C3DPassDX8* pass = passes_[static_cast<size_t>(index)];
  if (pass == overlayPass_) {
    // The overlay has no pass to draw into until the device is set up again.
    overlayPass_ = nullptr;
    overlayReady_ = false;
  }
  passes_.erase(passes_.begin() + index);
  RenumberPasses();
  pass->SetIndex(-1);
  // A pass removed by one of the frame's own callbacks may still be in use
  // further up the call stack; it is deleted when the frame ends.
  if (inFrame_) {
    retiredPasses_.push_back(pass);
  } else {
    delete pass;
  }
}

void Lumetra::MovePass(int32_t from, int32_t to) {
  const int32_t count = static_cast<int32_t>(passes_.size());
  if (from < 0 || from >= count) return;
  if (to < 0 || to > count) to = count;
  if (from == to) return;
  C3DPassDX8* moving = passes_[static_cast<size_t>(from)];
  C3DPassDX8* before = to < count ? passes_[static_cast<size_t>(to)] : nullptr;
  passes_.erase(passes_.begin() + from);
  if (before) {
    passes_.insert(std::find(passes_.begin(), passes_.end(), before), moving);
  } else {
    passes_.push_back(moving);
  }
  RenumberPasses();
}

// --- views ------------------------------------------------------------------

CameraView* Lumetra::AddView() {
  auto* view = new (std::nothrow) CameraView();
  if (!view) return nullptr;
  view->index = static_cast<int32_t>(views_.size());
  views_.push_back(view);
  return view;
}

void Lumetra::RemoveView(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= views_.size()) return;
  CameraView* view = views_[static_cast<size_t>(index)];
  if (view == overlayView_) {
    overlayView_ = nullptr;
    overlayReady_ = false;
  }
  for (C3DPassDX8* pass : passes_) {
    if (pass->GetPassView() == view) pass->SetPassView(nullptr);
  }
  for (C3DPassDX8* pass : retiredPasses_) {
    if (pass->GetPassView() == view) pass->SetPassView(nullptr);
  }
  views_.erase(views_.begin() + index);
  delete view;
  // Every remaining view keeps its position as its index, also those after
  // the gap.
  for (size_t i = 0; i < views_.size(); ++i) views_[i]->index = static_cast<int32_t>(i);
}

int32_t Lumetra::GetViewCount() { return static_cast<int32_t>(views_.size()); }

CameraView* Lumetra::GetView(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= views_.size()) return nullptr;
  return views_[static_cast<size_t>(index)];
}

// --- colour matrices, flags, ambient, wireframe, metrics ---------------------

void Lumetra::SetAmbientColour(float red, float green, float blue, float alpha) {
  if (!d3d_ || !device_) return;
  const uint32_t packed =
      ChannelByte(alpha) << 24 | ChannelByte(red) << 16 | ChannelByte(green) << 8 | ChannelByte(blue);
  states_.Set(gfx::D3DRS_AMBIENT, packed);
}

void Lumetra::SetMatrix(uint32_t mask, const JMatrix* matrix) {
  if (!matrix) return;
  for (size_t k = 0; k < kColourMatrixCount; ++k) {
    if (mask & (0x2u << k)) matrices_[k] = *matrix;
  }
}

void Lumetra::GetMatrix(uint32_t bit, JMatrix* matrix) {
  const int k = LowestMatrixIndex(bit);
  if (k >= 0 && matrix) *matrix = matrices_[static_cast<size_t>(k)];
}

void Lumetra::SetFlags(uint32_t mask, bool value) {
  for (size_t k = 0; k < kColourMatrixCount; ++k) {
    if (mask & (0x2u << k)) matrixFlags_[k] = value;
  }
}

bool Lumetra::GetFlag(uint32_t bit) {
  const int k = LowestMatrixIndex(bit);
  return k >= 0 && matrixFlags_[static_cast<size_t>(k)];
}

void Lumetra::SetFlagA(bool wireframe) { wireframe_ = wireframe; }

bool Lumetra::ToggleMetrics() {
  metrics_[0] = !metrics_[0];
  return metrics_[0];
}

// --- resources ----------------------------------------------------------------
// The factories are in resources/LumetraFactories.cpp; every slot that is
// handed a resource passes the call on to it.

void Lumetra::AddRefResource(C3DModel* model) { AddRefResource(static_cast<C3DResource*>(model)); }
void Lumetra::ReleaseResource(C3DModel* model) { ReleaseResource(static_cast<C3DResource*>(model)); }
void Lumetra::AddRefResource(C3DMesh* mesh) { AddRefResource(static_cast<C3DResource*>(mesh)); }
void Lumetra::ReleaseResource(C3DMesh* mesh) { ReleaseResource(static_cast<C3DResource*>(mesh)); }
void Lumetra::AddRefResource(C3DFont* font) { AddRefResource(static_cast<C3DResource*>(font)); }
void Lumetra::ReleaseResource(C3DFont* font) { ReleaseResource(static_cast<C3DResource*>(font)); }
void Lumetra::AddRefResource(C3DBaseShader* shader) { AddRefResource(static_cast<C3DResource*>(shader)); }
void Lumetra::ReleaseResource(C3DBaseShader* shader) { ReleaseResource(static_cast<C3DResource*>(shader)); }
void Lumetra::AddRefResource(C3DImage* image) { AddRefResource(static_cast<C3DResource*>(image)); }
void Lumetra::ReleaseResource(C3DImage* image) { ReleaseResource(static_cast<C3DResource*>(image)); }

void Lumetra::AddRefResource(C3DResource* resource) {
  if (resource) resource->AddRef();
}

void Lumetra::ReleaseResource(C3DResource* resource) {
  if (resource) resource->Release();
}

int32_t Lumetra::CheckModel(C3DModel* model) { return model ? model->Check() : 0; }
int32_t Lumetra::CheckMesh(C3DMesh* mesh) { return mesh ? mesh->Check() : 0; }
int32_t Lumetra::CheckFont(C3DFont* font) { return font ? font->Check() : 0; }
int32_t Lumetra::CheckShader(C3DBaseShader* shader) { return shader ? shader->Check() : 0; }
int32_t Lumetra::CheckImage(C3DImage* image) { return image ? image->Check() : 0; }

void Lumetra::DrawModel(C3DPass* pass, C3DModel* model, const JMatrix* world) {
  if (model) model->Draw(pass, world);
}

void Lumetra::DrawText(C3DPass* pass, C3DFont* font, const std::string& text, const JMatrix* world) {
  if (font) font->AddText(pass, text, world);
}

void Lumetra::DrawResource(C3DPass* pass, C3DMesh* mesh, const JMatrix* world) {
  if (mesh) mesh->Draw(pass, world);
}

void Lumetra::DrawResourceNow(C3DMesh* mesh, C3DImage* image, const JMatrix* world, const JMatrix* view,
                              const JMatrix* projection) {
  if (mesh) mesh->RenderToImage(image, world, view, projection);
}

CoreStatus Lumetra::CreateTextureFromMemory(const void* data, uint32_t size, void** texture) {
  if (!texture) return status::Fail;
  *texture = nullptr;
  if (!d3d_ || !device_ || !data) return status::Fail;
  gfx::Texture* created = nullptr;
  if (status::Failed(gfx::CreateTextureFromFileInMemory(device_, data, size, &created)) || !created)
    return status::Fail;
  *texture = created;
  return status::Ok;
}
