#include "tools/soundtool/SoundDescription.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/StringUtil.h"
#include "tools/common/DescriptionLine.h"
#include "engine/math/Noise.h"
#include "platform/Locale.h"

namespace {

// Fade length at each end of a tone: long enough to hide the step.
constexpr double kFadeSeconds = 0.01;

bool ParseNumber(const std::string& word, double low, double high, double* out) {
  double v = 0;
  if (!platform::TryParseDouble(word, &v) || !std::isfinite(v) || v < low || v > high) return false;
  *out = v;
  return true;
}

void PutLE(std::vector<uint8_t>* out, uint32_t value, int bytes) {
  for (int b = 0; b < bytes; ++b) out->push_back(static_cast<uint8_t>(value >> (8 * b)));
}

}  // namespace

bool BuildSoundFromDescription(const std::string& text, SoundClip* clip, std::string* error) {
  SoundClip out;
  const std::vector<std::string> lines = str::Split(text, "\n");
  size_t number = 0;
  double seconds = 0;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  // Appends `frames` frames, each channel given the same value.
  auto play = [&](double length, auto&& value) {
    seconds += length;
    if (seconds > SoundClip::kMaxSeconds) return false;
    const int64_t frames = std::llround(length * out.rate);
    for (int64_t i = 0; i < frames; ++i) {
      const float v = static_cast<float>(value(i, frames));
      for (int c = 0; c < out.channels; ++c) out.samples.push_back(v);
    }
    return true;
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    number = i + 1;
    const std::vector<std::string> w = DescriptionWords(lines[i]);
    if (w.empty()) continue;
    const std::string& verb = w[0];
    double a = 0, b = 0, c = 0;
    if (verb == "rate") {
      if (out.rate != 0) return fail("rate given twice");
      if (w.size() != 2 || !ParseNumber(w[1], 8000, 48000, &a) || a != std::floor(a))
        return fail("rate takes a whole number of samples a second, 8000..48000");
      out.rate = static_cast<int32_t>(a);
      continue;
    }
    if (out.rate == 0) return fail("the first statement must be rate");
    if (verb == "channels") {
      if (!out.samples.empty()) return fail("channels after the first sound");
      if (w.size() != 2 || (w[1] != "1" && w[1] != "2")) return fail("channels takes 1 or 2");
      out.channels = w[1] == "1" ? 1 : 2;
    } else if (verb == "tone") {
      if (w.size() != 4 || !ParseNumber(w[1], 1, out.rate / 2.0, &a) ||
          !ParseNumber(w[2], 0, SoundClip::kMaxSeconds, &b) || !ParseNumber(w[3], 0, 1, &c))
        return fail("tone takes <hz below half the rate> <seconds> <level 0..1>");
      const double fade = kFadeSeconds * out.rate;
      const double step = 2 * std::numbers::pi * a / out.rate;
      if (!play(b, [&](int64_t n, int64_t frames) {
            const double edge = std::min<double>(n, frames - 1 - n);
            return c * std::min(1.0, edge / fade) * std::sin(step * static_cast<double>(n));
          }))
        return fail("the sound is longer than 600 seconds");
    } else if (verb == "noise") {
      int32_t seed = 0;
      if (w.size() != 4 || !platform::TryParseInt(w[1], &seed) || !ParseNumber(w[2], 0, SoundClip::kMaxSeconds, &b) ||
          !ParseNumber(w[3], 0, 1, &c))
        return fail("noise takes <seed> <seconds> <level 0..1>");
      if (!play(b, [&](int64_t n, int64_t) {
            return c * Noise_IntegerNoise(static_cast<int32_t>(seed + n), -1);
          }))
        return fail("the sound is longer than 600 seconds");
    } else if (verb == "rest") {
      if (w.size() != 2 || !ParseNumber(w[1], 0, SoundClip::kMaxSeconds, &b)) return fail("rest takes <seconds>");
      if (!play(b, [](int64_t, int64_t) { return 0.0; })) return fail("the sound is longer than 600 seconds");
    } else {
      return fail("unknown statement \"" + verb + "\"");
    }
  }
  number = lines.size();
  if (out.rate == 0) return fail("no rate");
  if (out.samples.empty()) return fail("no sound");
  *clip = std::move(out);
  return true;
}

std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& interleaved, int channels, long rate, float quality) {
  std::vector<uint8_t> out;
  if (channels < 1) return out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
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
  // A fixed serial number keeps the output the same from run to run.
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
  const size_t frames = interleaved.size() / static_cast<size_t>(channels);
  for (size_t done = 0; done < frames;) {
    const size_t n = std::min<size_t>(1024, frames - done);
    float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
    for (size_t i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c) buffer[c][i] = interleaved[(done + i) * channels + c];
    vorbis_analysis_wrote(&vd, static_cast<int>(n));
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

std::vector<uint8_t> EncodeWave16(const SoundClip& clip) {
  const uint32_t dataBytes = static_cast<uint32_t>(clip.samples.size() * 2);
  const uint32_t blockAlign = static_cast<uint32_t>(clip.channels) * 2;
  std::vector<uint8_t> out;
  out.reserve(44 + size_t{dataBytes});
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLE(&out, 36 + dataBytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLE(&out, 16, 4);
  PutLE(&out, 1, 2);  // PCM
  PutLE(&out, static_cast<uint32_t>(clip.channels), 2);
  PutLE(&out, static_cast<uint32_t>(clip.rate), 4);
  PutLE(&out, static_cast<uint32_t>(clip.rate) * blockAlign, 4);
  PutLE(&out, blockAlign, 2);
  PutLE(&out, 16, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLE(&out, dataBytes, 4);
  for (float s : clip.samples) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    PutLE(&out, static_cast<uint32_t>(static_cast<int16_t>(v)), 2);
  }
  return out;
}
