// Compiles arbitrary bytes as a material script and as a vertex script, then
// runs both on a small geometry the way drawing would.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/services/C3DResource.h"
#include "platform/DebugOutput.h"
#include "renderer/DrawItem.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/DX8VertexShader.h"
#include "renderer/shaders/ShaderCompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Lumetra renderer;
  // No file the script names may be read: images resolve under a folder
  // that does not exist.
  renderer.SetResourcePath("/nonexistent-fuzz-root/");
  RenderVertex vertices[4] = {};
  MeshGeometry geometry;
  geometry.vertices = vertices;
  geometry.vertexCount = 4;
  if (auto* m = dynamic_cast<DX8MaterialShader*>(CompileShaderText(&renderer, RF_MATERIAL, "fuzz.jsm", text))) {
    renderer.Update(0.25f);
    m->PrepareDraw(&geometry);
    for (int32_t k = 0; k < m->GetLayerCount(); ++k) m->Run(m->Layer(k)->commands, &geometry);
  }
  if (auto* v = dynamic_cast<DX8VertexShader*>(CompileShaderText(&renderer, RF_VERTEX, "fuzz.jsv", text))) {
    v->RunOn(&geometry);
    v->RunOn(&geometry);
  }
  return 0;
}
