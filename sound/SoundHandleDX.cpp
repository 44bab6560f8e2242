#include "sound/SoundHandleDX.h"

#include "sound/DXSoundBuffer.h"

SoundHandleDX::~SoundHandleDX() {
  if (buffer) {
    DXSoundBuffer* b = buffer;
    Unlink();
    // The buffer stays in the cache for the next request of its file.
    b->Stop();
  }
  chain = nullptr;
}

void SoundHandleDX::Link(DXSoundBuffer* newBuffer) {
  if (buffer == newBuffer) {
    if (buffer) buffer->owner = this;
    return;
  }
  Unlink();
  buffer = newBuffer;
  if (!buffer) return;
  if (buffer->owner && buffer->owner != this) buffer->owner->buffer = nullptr;
  buffer->owner = this;
}

void SoundHandleDX::Unlink() {
  if (buffer && buffer->owner == this) buffer->owner = nullptr;
  buffer = nullptr;
}
