#pragma once
// Encodes a sine tone to an Ogg Vorbis file image in memory, for tests.
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace soundtest {

inline std::vector<uint8_t> EncodeOgg(int channels, long rate, int frames, double toneHz, float amplitude) {
  std::vector<uint8_t> out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, 0.4f) != 0) {
    vorbis_info_clear(&vi);
    return out;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 20240607);
  ogg_page page;
  ogg_packet packet;
  auto append = [&] {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  };
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  while (ogg_stream_flush(&os, &page) != 0) append();
  auto drain = [&] {
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page) != 0) append();
      }
    }
  };
  for (int done = 0; done < frames;) {
    const int n = std::min(1024, frames - done);
    float** buffer = vorbis_analysis_buffer(&vd, n);
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c)
        buffer[c][i] = amplitude * static_cast<float>(std::sin(2 * M_PI * toneHz * (done + i) / rate));
    vorbis_analysis_wrote(&vd, n);
    drain();
    done += n;
  }
  vorbis_analysis_wrote(&vd, 0);
  drain();
  while (ogg_stream_flush(&os, &page) != 0) append();
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

}  // namespace soundtest
