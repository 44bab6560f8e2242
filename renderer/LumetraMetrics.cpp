// The metrics overlay: its own pass, view, font and solid shader, made with
// the device and given back when it goes; each frame with "gfx_metrics" on
// it reports the frame rate, the triangles and vertices drawn and the
// renderer's share of the frame time, with a bar of that share.
//
// Overlay space: seen from 10 units with a right-angled field of view over
// the wider side, the plane z = 0 runs from x -10 (left) to 10 (right) and
// from y -10a (bottom) to 10a (top), a = display height / width.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/frame/Timer.h"
#include "engine/math/CameraView.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "renderer/C3DPassDX8.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace {

// Overlays drawn since the trace line was last written (all renderers).
uint32_t gOverlaysSinceTrace = 0;
constexpr uint32_t kOverlaysPerTrace = 20000;

// The float 0x3FC90FA6: just under a right angle.
float OverlayFieldOfView() {
  const uint32_t bits = 0x3FC90FA6u;
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

}  // namespace

uint32_t Lumetra::MetricBarColour(float v) {
  if (v >= 90.0f) return 0xFF40FF40u;
  if (v >= 80.0f) {
    const uint32_t red = std::min<uint32_t>(255u, static_cast<uint32_t>(64.0f + 191.0f * (v - 80.0f) * 0.1f));
    return 0xFF00FF40u | red << 16;
  }
  if (v >= 70.0f) {
    const uint32_t green = std::min<uint32_t>(255u, static_cast<uint32_t>(64.0f + 191.0f * (1.0f - (v - 70.0f) * 0.1f)));
    return 0xFFFF0040u | green << 8;
  }
  return 0xFFFF4040u;
}

void Lumetra::PrepareMetricsOverlay() {
  if (!overlayShader_) overlayShader_ = CreateShader(RF_BUILTIN, "solid shader");
  if (!overlayFont_) overlayFont_ = CreateFont(RF_BUILTIN, "metric font");
  if (!overlayView_) overlayView_ = AddView();
  if (!overlayPass_) overlayPass_ = InsertPass(-1);
  if (overlayView_) {
    const float eye[3] = {0.0f, 0.0f, 10.0f}, target[3] = {0.0f, 0.0f, 0.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    overlayView_->LookAt(eye, target, up);
    overlayView_->perspective = true;
    overlayView_->focalDistance = 10.0f;
    overlayView_->fieldOfView = OverlayFieldOfView();
    overlayView_->nearPlane = 1.0f;
    overlayView_->farPlane = 100.0f;
    overlayView_->viewportWidth = static_cast<float>(mode_.width);
    overlayView_->viewportHeight = static_cast<float>(mode_.height);
    overlayView_->BuildProjection();
  }
  if (overlayPass_) {
    overlayPass_->SetName(kMetricsPassName);
    overlayPass_->DisableFog();
    overlayPass_->SetBeginHook(nullptr);
    overlayPass_->SetEndHook(nullptr);
    overlayPass_->SetFinishHook(nullptr);
    overlayPass_->SetPrepareHook(nullptr);
    overlayPass_->SetPassView(overlayView_);
  }
  if (overlayShader_ && overlayView_ && overlayPass_) overlayReady_ = true;
  overlayGeometry_ = MeshGeometry();
  overlayGeometry_.vertexCount = 4;
  overlayGeometry_.vertices = overlayVertices_.data();
  overlayIndices_ = {0, 1, 2, 1, 3, 2};
  overlayGeometry_.indexCount = 6;
  overlayGeometry_.indices = overlayIndices_.data();
  overlayItem_ = DrawItem();
  overlayItem_.geometry = &overlayGeometry_;
  overlayItem_.shader = dynamic_cast<DX8MaterialShader*>(overlayShader_);
  BindLayerImages(&overlayItem_);
}

void Lumetra::ReleaseOverlayObjects() {
  ReleaseResource(overlayShader_);
  overlayShader_ = nullptr;
  ReleaseResource(overlayFont_);
  overlayFont_ = nullptr;
  overlayReady_ = false;
  overlayItem_ = DrawItem();
  overlayGeometry_ = MeshGeometry();
  overlayGeometry_.vertexCount = 0;
  overlayGeometry_.indexCount = 0;
}

void Lumetra::MarkProfiler(bool frameEnd) {
  if (!profiler_) {
    profiler_ = new Timer();
    if (platform::FrameTimingsReal()) profiler_->MeasureRealTime();
    profiler_->Init();
    totalTimeline_ = profiler_->CreateTimeline("Core3D Total", false, Timer::kUnlimitedTime, Timer::kUnlimitedFrames);
    gfxTimeline_ = profiler_->CreateTimeline("Core3D GFX", false, Timer::kUnlimitedTime, Timer::kUnlimitedFrames);
  }
  profiler_->TickTimeline(gfxTimeline_);
  if (!frameEnd) return;
  profiler_->TickTimeline(totalTimeline_);
  gfxMs_ = profiler_->GetTimelineValue(gfxTimeline_);
  totalMs_ = profiler_->GetTimelineValue(totalTimeline_);
}

void Lumetra::DrawOverlayPass() {
  if (auto* pass = dynamic_cast<C3DPassDX8*>(overlayPass_)) DrawPass(pass);
}

void Lumetra::DrawMetricsOverlay() {
  // A user who removes the overlay's pass or view turns the overlay off
  // until the device is set up again.
  auto* pass = dynamic_cast<C3DPassDX8*>(overlayPass_);
  if (!overlayReady_ || !pass || !overlayView_) return;
  pass->ResetForFrame();
  overlayText_.clear();
  if (!overlayFont_) {
    DrawOverlayPass();
    return;
  }
  const float a = mode_.width > 0 ? float(mode_.height) / float(mode_.width) : 0.75f;
  JMatrix M = JMatrix::Identity();
  JMath_MatrixScale(M, 0.25f, 0.25f, 0.25f);
  JMath_MatrixTranslate(M, 0.0f, -0.25f * overlayFont_->GetAscent(), 0.0f);

  const float total = totalMs_, graphics = gfxMs_;
  const float fps = total != 0.0f ? 1000.0f / total : 0.0f;
  const float k = std::min(total * 0.001f, 1.0f);
  const float w = 1.0f - (1.0f - k) * (1.0f - k);
  smoothedFps_ = smoothedFps_ + w * (fps - smoothedFps_);

  char line[128];
  std::snprintf(line, sizeof line, "%5.1f FPS (%5.1f)\n", fps, smoothedFps_);
  if (gOverlaysSinceTrace++ > kOverlaysPerTrace) {
    platform::OutputDebugString(line);
    gOverlaysSinceTrace = 0;
  }
  overlayText_ = line;
  std::snprintf(line, sizeof line, " %uP / %uV\n", frameIndexCount_ / 3, frameVertexCount_);
  overlayText_ += line;

  float lo[3], hi[3];
  overlayFont_->Measure(overlayText_, &lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  const float tw = (hi[0] - lo[0]) * 0.25f;
  float x = -10.0f, y = 10.0f * a;
  switch (metricPlacement_) {
    case 1: x = -tw / 2.0f; break;
    case 2: x = 10.0f - tw; break;
    case 3: x = 10.0f - tw; y = 0.375f; break;
    case 4: x = 10.0f - tw; y = 0.75f - 10.0f * a; break;
    case 5: x = -tw / 2.0f; y = 0.75f - 10.0f * a; break;
    case 6: y = 0.75f - 10.0f * a; break;
    case 7: y = 0.375f; break;
    default: break;
  }
  JMath_MatrixTranslate(M, x, y, 0.0f);

  if (total != 0.0f) {
    std::snprintf(line, sizeof line, "\n%5.1fms of %5.1fms", graphics, total);
    overlayText_ += line;
    const float share = graphics / total * 100.0f;
    std::snprintf(line, sizeof line, " is %5.1f%%\n", share);
    overlayText_ += line;
    metricHistory_[metricHistoryPos_] = share;
    metricHistoryPos_ = (metricHistoryPos_ + 1) % metricHistory_.size();
    float lowest = 100.0f;
    for (float v : metricHistory_) lowest = std::min(lowest, v);

    // One quad, rewritten between draws of the pass: the bar up to the
    // lowest share, on to the current share, and grey up to 100 %. It lies
    // under the text, in the text's own space.
    auto quad = [&](float left, float right, uint32_t colour) {
      const float xs[4] = {left, left, right, right};
      const float ys[4] = {-0.2f, -0.8f, -0.2f, -0.8f};
      for (int i = 0; i < 4; ++i) overlayVertices_[size_t(i)] = {xs[i], ys[i], 0.0f, colour, 0, 0, 0, 0};
    };
    overlayGeometry_.world = M;
    quad(0.0f, 0.3f * lowest, MetricBarColour(lowest));
    QueueTriangles(pass, &overlayItem_);
    DrawOverlayPass();
    quad(0.3f * lowest, 0.3f * share, MetricBarColour(share));
    DrawOverlayPass();
    quad(30.0f, 0.3f * share, 0xFF808080u);
    DrawOverlayPass();
  }
  if (!overlayText_.empty()) {
    overlayFont_->AddText(pass, overlayText_, &M);
    overlayFont_->Flush(pass);
  }
  DrawOverlayPass();
}
