// JPEG reading through libjpeg. The library reports fatal errors through an
// error handler that must not return; ours jumps back into DecodeStream,
// which then frees the decompressor and reports failure. Only C structures and
// plain pointers live in the frames that jump crosses, so nothing needing
// destruction is skipped.
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "engine/image/TexTransport.h"
#include "platform/DebugOutput.h"

namespace {

// Limits a hostile stream: progressive files with thousands of scans decode
// very slowly, and whole-image coefficient buffers are bounded by memory.
constexpr int kMaxScans = 1000;
constexpr long kMaxDecoderMemory = 512L << 20;

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so the library's pointer converts back
  jmp_buf jump;
};

struct DecodeOutput {
  std::vector<uint8_t>* pixels;
  int32_t width;
  int32_t height;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  (*cinfo->err->output_message)(cinfo);
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OnOutputMessage(j_common_ptr cinfo) {
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  platform::DebugPrintf("[TexTransport::DecodeJPEG] %s\n", text);
}

// Warnings let decoding go on, except running out of data: the library would
// pad the image with grey and report success.
void OnEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
  if (cinfo->err->num_warnings++ == 0) (*cinfo->err->output_message)(cinfo);
}

void OnProgress(j_common_ptr cinfo) {
  auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number > kMaxScans) {
    platform::DebugPrintf("[TexTransport::DecodeJPEG] more than %d scans\n", kMaxScans);
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
  }
}

bool AllocatePixels(std::vector<uint8_t>* pixels, size_t bytes) {
  try {
    pixels->assign(bytes, 0);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Writes one decoded row as blue, green, red, alpha.
void ConvertRow(const JSAMPLE* src, int components, JDIMENSION width, uint8_t* dst) {
  for (JDIMENSION x = 0; x < width; ++x, dst += 4) {
    switch (components) {
      case 1:
        dst[0] = dst[1] = dst[2] = dst[3] = src[0];
        break;
      case 3:
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = 255;
        break;
      case 4:
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = src[3];
        break;
      default:
        return;  // other layouts leave the row as it is
    }
    src += components;
  }
}

// The only frame holding the jump buffer. Nothing here has a destructor.
bool DecodeStream(const uint8_t* data, size_t size, DecodeOutput* out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  jpeg_progress_mgr progress;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnEmitMessage;
  err.pub.output_message = OnOutputMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  progress.progress_monitor = OnProgress;
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);

  if (cinfo.image_width > static_cast<JDIMENSION>(TexTransport::kMaxDimension) ||
      cinfo.image_height > static_cast<JDIMENSION>(TexTransport::kMaxDimension) ||
      int64_t{cinfo.image_width} * cinfo.image_height > TexTransport::kMaxPixels) {
    platform::DebugPrintf("[TexTransport::DecodeJPEG] dimensions over the cap\n");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  // Sequential Huffman coding spends at least two bits on every 8x8 block
  // (a DC code and an end-of-block code), so such a file holds at most 256
  // pixels per byte; one claiming more cannot hold its image and is refused
  // before the pixels are allocated. Progressive and arithmetic coding can
  // code runs of empty blocks in a few bits and have no such bound.
  if (!cinfo.progressive_mode && !cinfo.arith_code &&
      uint64_t{cinfo.image_width} * cinfo.image_height > uint64_t{256} * size) {
    platform::DebugPrintf("[TexTransport::DecodeJPEG] %u x %u pixels cannot fit in %zu bytes\n", cinfo.image_width,
                          cinfo.image_height, size);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }

  jpeg_start_decompress(&cinfo);
  const JDIMENSION width = cinfo.output_width;
  const JDIMENSION height = cinfo.output_height;
  const int components = cinfo.output_components;
  if (!AllocatePixels(out->pixels, size_t{width} * height * 4)) {
    platform::DebugPrintf("[TexTransport::DecodeJPEG] out of memory\n");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              width * static_cast<JDIMENSION>(components), 1);
  while (cinfo.output_scanline < height) {
    uint8_t* dst = out->pixels->data() + size_t{cinfo.output_scanline} * width * 4;
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
    ConvertRow(row[0], components, width, dst);
  }
  if (cinfo.output_scanline < height) {
    platform::DebugPrintf("[TexTransport::DecodeJPEG] rows missing\n");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  out->width = static_cast<int32_t>(width);
  out->height = static_cast<int32_t>(height);
  return true;
}

}  // namespace

TexTransport* TexTransport::DecodeJPEG(const uint8_t* data, size_t size, int options) {
  if (!data || size == 0) {
    platform::DebugPrintf("[TexTransport::DecodeJPEG] refused: empty file\n");
    return nullptr;
  }
  auto image = std::make_unique<TexTransport>();
  DecodeOutput out{&image->pixels, 0, 0};
  if (!DecodeStream(data, size, &out)) {
    platform::DebugPrintf("[TexTransport::DecodeJPEG] refused: not a decodable JPEG stream\n");
    return nullptr;
  }
  image->width = out.width;
  image->height = out.height;
  image->loaded = 1;
  if (options & kBottomUp) FlipRows(image.get());
  return image.release();
}
