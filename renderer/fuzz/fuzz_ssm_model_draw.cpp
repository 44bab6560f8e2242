// Arbitrary bytes as an ".ssm" model file asked for by name through the
// model factory on the record device, then animated and drawn.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/math/CameraView.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"
#include "platform/graphics/GfxFactory.h"
#include "renderer/Lumetra.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  // The model factory reads files by name: each input becomes one, removed
  // when the run ends.
  struct Input {
    std::string file = "/tmp/fuzz_ssm_model_draw_" + std::to_string(getpid()) + ".ssm";
    ~Input() { std::remove(file.c_str()); }
  };
  static const Input input;
  const std::string& file = input.file;
  FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) return 0;
  if (size) std::fwrite(data, 1, size, out);
  std::fclose(out);
  platform::ClearPathCache();

  platform::gfx::SetDefaultBackend(platform::gfx::Backend::Record);
  Lumetra renderer;
  // Texture references resolve under a folder that does not exist.
  renderer.SetResourcePath("/nonexistent-fuzz-root/");
  if (!renderer.Init()) return 0;
  C3DDisplayMode mode{};
  mode.windowed = 1;
  mode.width = 32;
  mode.height = 32;
  mode.channelBits[0] = mode.channelBits[1] = mode.channelBits[2] = 8;
  mode.channelBits[4] = 8;
  mode.depthBits = 24;
  mode.stencilBits = 8;
  mode.backBufferCount = 1;
  if (renderer.CreateDevice(&mode) != 0) return 0;
  C3DPass* pass = renderer.InsertPass(-1);
  CameraView* view = renderer.AddView();
  view->view = JMatrix::Identity();
  view->projection = JMatrix::Identity();
  pass->SetPassView(view);

  C3DModel* model = renderer.CreateModel(RF_NOFALLBACK, file);
  if (!model) return 0;
  model->SetShader(0, renderer.CreateShader(RF_BUILTIN, "solid shader"));
  for (int32_t a = 0; a < model->GetAnimationCount() && a < 4; ++a) {
    model->PlayAnimation(a, 1.0f, 1.0f, (a & 1) != 0, (a & 2) != 0);
    for (int step = 0; step < 3; ++step) {
      model->AdvanceAnimation(a, 0.37f);
      model->Draw(pass, nullptr);
    }
    model->StopAnimation(a);
  }
  model->SetAnchor(0);
  float lo[3], hi[3];
  JMatrix m;
  model->GetBounds(lo, hi, &m);
  model->Draw(pass, nullptr);
  renderer.RenderFrame();
  renderer.ReleaseResource(model);
  return 0;
}
