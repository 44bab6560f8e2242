#pragma once
// A GL buffer that draws from client memory are streamed through. Each
// upload is appended after the previous ones without waiting for draws that
// still read the buffer; when it is full its storage is replaced (the old
// storage lives on until those draws are done) and writing starts again at
// the front. An upload whose bytes equal the previous upload's is not sent
// again: the previous offset is answered.
#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/GlStateCache.h"

namespace platform::gfx {

class GlStreamBuffer {
 public:
  // `target` is GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER; the buffer is
  // bound there through `state` when it is written.
  GlStreamBuffer(GLenum target, size_t capacity) : target_(target), capacity_(capacity) {}

  // Makes the buffer object; needs the context current.
  void Create(GlStateCache* state);
  void Destroy(GlStateCache* state);
  GLuint name() const { return name_; }

  // Copies `size` bytes to an offset that is a multiple of `align` and
  // answers that offset. Leaves the buffer bound to its target.
  size_t Upload(GlStateCache* state, const void* bytes, size_t size, size_t align);

 private:
  void Bind(GlStateCache* state);

  GLenum target_;
  size_t capacity_;
  GLuint name_ = 0;
  size_t used_ = 0;
  // The last upload, to answer a repeat of the same bytes.
  std::vector<uint8_t> last_;
  size_t lastOffset_ = 0;
  bool lastValid_ = false;
};

}  // namespace platform::gfx
