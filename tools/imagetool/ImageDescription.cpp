#include "tools/imagetool/ImageDescription.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "base/StringUtil.h"
#include "tools/common/DescriptionLine.h"
#include "engine/math/Noise.h"
#include "platform/Locale.h"

namespace {

constexpr uint32_t kMaxSide = 4096;

bool ParseColour(const std::string& word, uint32_t* out) {
  if (word.size() != 8) return false;
  uint32_t v = 0;
  for (char c : word) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    v = v << 4 | uint32_t(digit);
  }
  *out = v;
  return true;
}

bool ParseCount(const std::string& word, uint32_t limit, uint32_t* out) {
  int32_t v = 0;
  if (!platform::TryParseInt(word, &v) || v < 0 || uint32_t(v) > limit) return false;
  *out = uint32_t(v);
  return true;
}

uint32_t Mix(uint32_t a, uint32_t b, uint32_t step, uint32_t steps) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int64_t ca = (a >> shift) & 255, cb = (b >> shift) & 255;
    const int64_t c = steps == 0 ? ca : ca + ((cb - ca) * int64_t(step) + int64_t(steps) / 2) / int64_t(steps);
    out |= uint32_t(c) << shift;
  }
  return out;
}

}  // namespace

bool BuildImageFromDescription(const std::string& text, ImagePicture* picture, std::string* error) {
  ImagePicture out;
  std::map<char, uint32_t> palette;
  std::vector<std::string> lines = str::Split(text, "\n");
  size_t number = 0;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  auto put = [&](int64_t x, int64_t y, uint32_t colour) {
    if (x >= 0 && y >= 0 && x < int64_t(out.width) && y < int64_t(out.height))
      out.pixels[size_t(y) * out.width + size_t(x)] = colour;
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    number = i + 1;
    const std::vector<std::string> w = DescriptionWords(lines[i]);
    if (w.empty()) continue;
    const std::string& word = w[0];
    if (word != "size" && out.width == 0) return fail("the first statement must be size");
    uint32_t a = 0, b = 0, c = 0, d = 0, colour = 0, colour2 = 0;
    if (word == "size") {
      if (out.width != 0) return fail("size given twice");
      if (w.size() != 3 || !ParseCount(w[1], kMaxSide, &a) || !ParseCount(w[2], kMaxSide, &b) || a == 0 || b == 0)
        return fail("size needs a width and a height of 1 to 4096");
      out.width = a;
      out.height = b;
      out.pixels.assign(size_t(a) * b, 0);
    } else if (word == "fill") {
      if (w.size() != 2 || !ParseColour(w[1], &colour)) return fail("fill needs one AARRGGBB colour");
      std::fill(out.pixels.begin(), out.pixels.end(), colour);
    } else if (word == "checker") {
      if (w.size() != 4 || !ParseCount(w[1], kMaxSide, &a) || a == 0 || !ParseColour(w[2], &colour) ||
          !ParseColour(w[3], &colour2))
        return fail("checker needs a cell size and two colours");
      for (uint32_t y = 0; y < out.height; ++y)
        for (uint32_t x = 0; x < out.width; ++x) put(x, y, ((x / a + y / a) % 2) ? colour2 : colour);
    } else if (word == "gradient") {
      if (w.size() != 4 || (w[1] != "horizontal" && w[1] != "vertical") || !ParseColour(w[2], &colour) ||
          !ParseColour(w[3], &colour2))
        return fail("gradient needs horizontal or vertical and two colours");
      const bool horizontal = w[1] == "horizontal";
      const uint32_t steps = (horizontal ? out.width : out.height) - 1;
      for (uint32_t y = 0; y < out.height; ++y)
        for (uint32_t x = 0; x < out.width; ++x) put(x, y, Mix(colour, colour2, horizontal ? x : y, steps));
    } else if (word == "rect") {
      if (w.size() != 6 || !ParseCount(w[1], kMaxSide, &a) || !ParseCount(w[2], kMaxSide, &b) ||
          !ParseCount(w[3], kMaxSide, &c) || !ParseCount(w[4], kMaxSide, &d) || !ParseColour(w[5], &colour))
        return fail("rect needs x, y, width, height and a colour");
      for (uint32_t y = b; y < b + d; ++y)
        for (uint32_t x = a; x < a + c; ++x) put(x, y, colour);
    } else if (word == "noise") {
      int32_t seed = 0;
      if (w.size() != 3 || !platform::TryParseInt(w[1], &seed) || !ParseCount(w[2], 255, &a))
        return fail("noise needs a seed and an amount of 0 to 255");
      // Red, green and blue of each pixel move together by up to `amount`,
      // from the lattice noise at the seed plus the pixel's index.
      for (size_t k = 0; k < out.pixels.size(); ++k) {
        const uint32_t n = static_cast<uint32_t>(seed) + static_cast<uint32_t>(k);
        const int32_t delta =
            static_cast<int32_t>(std::lround(Noise_IntegerNoise(static_cast<int32_t>(n), -1) * static_cast<float>(a)));
        uint32_t& p = out.pixels[k];
        uint32_t moved = p & 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8) {
          const int32_t c = std::clamp(static_cast<int32_t>((p >> shift) & 255u) + delta, 0, 255);
          moved |= static_cast<uint32_t>(c) << shift;
        }
        p = moved;
      }
    } else if (word == "key") {
      if (w.size() != 3 || w[1].size() != 1 || !ParseColour(w[2], &colour))
        return fail("key needs one character and a colour");
      palette[w[1][0]] = colour;
    } else if (word == "rows") {
      if (w.size() != 3 || !ParseCount(w[1], kMaxSide, &a) || !ParseCount(w[2], kMaxSide, &b))
        return fail("rows needs x and y");
      uint32_t y = b;
      for (++i;; ++i, ++y) {
        number = i + 1;
        if (i >= lines.size()) return fail("rows without end");
        std::string row = lines[i];
        if (!row.empty() && row.back() == '\r') row.pop_back();
        const std::string trimmed = str::Trim(row);
        if (trimmed == "end") break;
        for (size_t x = 0; x < trimmed.size(); ++x) {
          const auto found = palette.find(trimmed[x]);
          if (found == palette.end()) return fail(std::string("no key for '") + trimmed[x] + "'");
          put(int64_t(a) + int64_t(x), y, found->second);
        }
      }
    } else {
      return fail("unknown statement " + word);
    }
  }
  number = lines.size();
  if (out.width == 0) return fail("no size");
  *picture = std::move(out);
  return true;
}

std::vector<uint8_t> EncodeTga32(const ImagePicture& picture) {
  std::vector<uint8_t> b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  auto u16 = [&](uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  };
  u16(picture.width);
  u16(picture.height);
  b.push_back(32);
  b.push_back(0x28);  // eight alpha bits, rows from the top
  b.reserve(b.size() + picture.pixels.size() * 4);
  for (uint32_t p : picture.pixels)
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(p >> (8 * i)));
  return b;
}
