#pragma once
// The settings the renderer creates its device from: fourteen 32-bit words,
// handed over as one record.
#include <cstdint>

struct DisplaySettings {
  int32_t adapter;
  int32_t windowed;  // bool in a 32-bit word: nonzero = window
  int32_t width;
  int32_t height;
  int32_t channelBits[5];  // the display mode's channel bit counts; their sum is bits per pixel
  int32_t depthBits;
  int32_t stencilBits;
  int32_t paddingBits;      // unused bits of the depth format
  int32_t multiSampleType;  // 0 none, 2..16 samples
  int32_t backBufferCount;
};

static_assert(sizeof(DisplaySettings) == 14 * 4, "the display settings block is fourteen words");
