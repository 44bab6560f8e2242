#include "platform/graphics/GlStreamBuffer.h"

#include <cstring>

namespace platform::gfx {

void GlStreamBuffer::Bind(GlStateCache* state) {
  if (target_ == GL_ARRAY_BUFFER)
    state->BindArrayBuffer(name_);
  else
    state->BindElementBuffer(name_);
}

void GlStreamBuffer::Create(GlStateCache* state) {
  glGenBuffers(1, &name_);
  Bind(state);
  glBufferData(target_, GLsizeiptr(capacity_), nullptr, GL_STREAM_DRAW);
  used_ = 0;
  lastValid_ = false;
}

void GlStreamBuffer::Destroy(GlStateCache* state) {
  if (!name_) return;
  glDeleteBuffers(1, &name_);
  state->ForgetBuffer(name_);
  name_ = 0;
}

size_t GlStreamBuffer::Upload(GlStateCache* state, const void* bytes, size_t size, size_t align) {
  Bind(state);
  if (size == 0) return 0;
  if (lastValid_ && size == last_.size() && std::memcmp(bytes, last_.data(), size) == 0) return lastOffset_;
  size_t offset = (used_ + align - 1) / align * align;
  if (offset + size > capacity_) {
    // Fresh storage: draws still reading the old one keep it until they finish.
    while (capacity_ < size) capacity_ *= 2;
    glBufferData(target_, GLsizeiptr(capacity_), nullptr, GL_STREAM_DRAW);
    offset = 0;
  }
  // Nothing queued reads this range, so the write need not wait for the GPU.
  void* at = glMapBufferRange(target_, GLintptr(offset), GLsizeiptr(size),
                              GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
  if (at) {
    std::memcpy(at, bytes, size);
    glUnmapBuffer(target_);
  } else {
    glBufferSubData(target_, GLintptr(offset), GLsizeiptr(size), bytes);
  }
  used_ = offset + size;
  last_.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size);
  lastOffset_ = offset;
  lastValid_ = true;
  return offset;
}

}  // namespace platform::gfx
