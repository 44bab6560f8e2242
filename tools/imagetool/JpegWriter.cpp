#include "tools/imagetool/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// libjpeg reports errors through a callback that must not return: jump
// back to the caller with the message.
struct ErrorJump {
  jpeg_error_mgr manager;
  jmp_buf back;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* jump = reinterpret_cast<ErrorJump*>(info->err);
  (*info->err->format_message)(info, jump->message);
  std::longjmp(jump->back, 1);
}

}  // namespace

bool EncodeJpeg(const ImagePicture& picture, int quality, std::vector<uint8_t>* out, std::string* error) {
  if (picture.width == 0 || picture.height == 0 || picture.pixels.size() != size_t{picture.width} * picture.height) {
    *error = "the picture has no pixels";
    return false;
  }
  std::vector<uint8_t> row(size_t{picture.width} * 3);
  jpeg_compress_struct info{};
  ErrorJump jump{};
  info.err = jpeg_std_error(&jump.manager);
  jump.manager.error_exit = OnError;
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  if (setjmp(jump.back)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    *error = jump.message;
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &length);
  info.image_width = picture.width;
  info.image_height = picture.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const uint32_t* source = &picture.pixels[size_t{info.next_scanline} * picture.width];
    for (uint32_t x = 0; x < picture.width; ++x) {
      row[x * 3 + 0] = static_cast<uint8_t>(source[x] >> 16);
      row[x * 3 + 1] = static_cast<uint8_t>(source[x] >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(source[x]);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  out->assign(buffer, buffer + length);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return true;
}

bool DecodeJpeg(const std::vector<uint8_t>& bytes, ImagePicture* picture, std::string* error) {
  jpeg_decompress_struct info{};
  ErrorJump jump{};
  info.err = jpeg_std_error(&jump.manager);
  jump.manager.error_exit = OnError;
  if (setjmp(jump.back)) {
    jpeg_destroy_decompress(&info);
    *error = jump.message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  picture->width = info.output_width;
  picture->height = info.output_height;
  picture->pixels.assign(size_t{picture->width} * picture->height, 0);
  std::vector<uint8_t> row(size_t{info.output_width} * 3);
  while (info.output_scanline < info.output_height) {
    const uint32_t y = info.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (uint32_t x = 0; x < picture->width; ++x) {
      picture->pixels[size_t{y} * picture->width + x] = 0xFF000000u | uint32_t{row[x * 3]} << 16 |
                                                        uint32_t{row[x * 3 + 1]} << 8 | uint32_t{row[x * 3 + 2]};
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
