#pragma once
// The record of device calls a device keeps when asked to (the record
// backend always does): one entry per call with its leading arguments and
// its result, so tests can see what reached the device and in which order.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Status.h"

namespace platform::gfx {

enum class CallOp : uint8_t {
  TestCooperativeLevel, Reset, Present, GetBackBuffer, GetFrontBuffer,
  CreateTexture, CreateVertexBuffer, CreateIndexBuffer, CreateRenderTarget,
  CreateDepthStencilSurface, CreateImageSurface, CopyRects, UpdateTexture,
  SetRenderTarget, BeginScene, EndScene, Clear,
  SetTransform, GetTransform, SetViewport, GetViewport, SetMaterial, GetMaterial,
  SetLight, GetLight, LightEnable, GetLightEnable,
  SetRenderState, GetRenderState, SetTexture, GetTexture,
  SetTextureStageState, GetTextureStageState,
  SetVertexShader, SetStreamSource, SetIndices,
  DrawPrimitive, DrawIndexedPrimitive, DrawPrimitiveUP, DrawIndexedPrimitiveUP,
};

const char* CallOpName(CallOp op);

struct Call {
  CallOp op;
  uint32_t a = 0, b = 0, c = 0, d = 0;  // the call's leading integer arguments
  CoreStatus result = 0;
};

// "SetRenderState(7, 1) = 0"-style text of one entry, for failure messages.
std::string FormatCall(const Call& call);

class CallLog {
 public:
  // Past this many entries further calls are counted but not kept.
  static constexpr size_t kCapacity = size_t(1) << 22;

  void Add(const Call& call) {
    if (calls_.size() < kCapacity) calls_.push_back(call); else ++dropped_;
  }
  void Clear() { calls_.clear(); dropped_ = 0; }
  const std::vector<Call>& Calls() const { return calls_; }
  size_t Count(CallOp op) const;
  uint64_t Dropped() const { return dropped_; }

 private:
  std::vector<Call> calls_;
  uint64_t dropped_ = 0;
};

}  // namespace platform::gfx
