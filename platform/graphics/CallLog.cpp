#include "platform/graphics/CallLog.h"

#include <cstdio>

namespace platform::gfx {

const char* CallOpName(CallOp op) {
  static const char* const kNames[] = {
      "TestCooperativeLevel", "Reset", "Present", "GetBackBuffer", "GetFrontBuffer",
      "CreateTexture", "CreateVertexBuffer", "CreateIndexBuffer", "CreateRenderTarget",
      "CreateDepthStencilSurface", "CreateImageSurface", "CopyRects", "UpdateTexture",
      "SetRenderTarget", "BeginScene", "EndScene", "Clear",
      "SetTransform", "GetTransform", "SetViewport", "GetViewport", "SetMaterial", "GetMaterial",
      "SetLight", "GetLight", "LightEnable", "GetLightEnable",
      "SetRenderState", "GetRenderState", "SetTexture", "GetTexture",
      "SetTextureStageState", "GetTextureStageState",
      "SetVertexShader", "SetStreamSource", "SetIndices",
      "DrawPrimitive", "DrawIndexedPrimitive", "DrawPrimitiveUP", "DrawIndexedPrimitiveUP"};
  const size_t i = static_cast<size_t>(op);
  return i < sizeof kNames / sizeof kNames[0] ? kNames[i] : "?";
}

std::string FormatCall(const Call& call) {
  char text[160];
  std::snprintf(text, sizeof text, "%s(%u, %u, %u, %u) = 0x%08X", CallOpName(call.op), call.a, call.b,
                call.c, call.d, static_cast<uint32_t>(call.result));
  return text;
}

size_t CallLog::Count(CallOp op) const {
  size_t n = 0;
  for (const Call& c : calls_) n += c.op == op;
  return n;
}

}  // namespace platform::gfx
