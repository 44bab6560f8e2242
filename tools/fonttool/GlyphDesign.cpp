#include "tools/fonttool/GlyphDesign.h"

#include <sstream>

#include "base/StringUtil.h"
#include "platform/FileRead.h"

namespace {

// Designs are a few kilobytes of text.
constexpr uint64_t kMaxDesignBytes = uint64_t{1} << 20;
// Derive chains are short; this bounds a design that derives from itself.
constexpr int kMaxDeriveDepth = 4;
constexpr uint32_t kMaxRows = 64;

bool ParseNumber(const std::string& word, uint32_t limit, uint32_t* out) {
  if (word.empty() || word.size() > 6) return false;
  uint32_t v = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + uint32_t(c - '0');
  }
  if (v > limit) return false;
  *out = v;
  return true;
}

}  // namespace

bool ParseGlyphDesign(const std::string& text, const std::string& folder, GlyphDesign* design, std::string* error,
                      int depth) {
  GlyphDesign d;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    *error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = str::Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    std::vector<std::string> words;
    for (const std::string& w : str::Split(trimmed, " \t"))
      if (!w.empty()) words.push_back(w);
    if (words[0] == "size") {
      uint32_t width = 0, rows = 0;
      if (words.size() != 3 || !ParseNumber(words[1], 8, &width) || width != 8 ||
          !ParseNumber(words[2], kMaxRows, &rows) || rows == 0)
        return fail("size takes 8 and a row count of 1 to 64");
      d.rows = rows;
    } else if (d.rows == 0) {
      return fail("the design starts with its size");
    } else if (words[0] == "derive") {
      if (words.size() != 3 || (words[2] != "bold" && words[2] != "tall")) return fail("derive <design> bold|tall");
      if (depth >= kMaxDeriveDepth) return fail("derive chain too long");
      GlyphDesign base;
      std::string why;
      std::string baseText;
      platform::FileReadError readWhy;
      if (!platform::ReadFileText(folder + "/" + words[1] + ".txt", kMaxDesignBytes, &baseText, &readWhy))
        return fail("design " + words[1] + " " + readWhy.text);
      if (!ParseGlyphDesign(baseText, folder, &base, &why, depth + 1)) return fail(words[1] + ": " + why);
      const bool tall = words[2] == "tall";
      if (d.rows != (tall ? base.rows * 2 : base.rows)) return fail("the size does not fit the derived design");
      for (size_t c = 0; c < 256; ++c) {
        const std::vector<uint8_t>& g = base.glyphs[c];
        if (g.empty()) continue;
        std::vector<uint8_t> out;
        for (uint8_t row : g) {
          if (tall) {
            out.push_back(row);
            out.push_back(row);
          } else {
            out.push_back(static_cast<uint8_t>(row | (row >> 1)));
          }
        }
        d.glyphs[c] = std::move(out);
      }
    } else if (words[0] == "glyph") {
      uint32_t code = 0;
      if (words.size() < 2 || words.size() > 3 || !ParseNumber(words[1], 255, &code))
        return fail("glyph takes a code of 0 to 255 and an optional label");
      std::vector<uint8_t> rows;
      for (uint32_t r = 0; r < d.rows; ++r) {
        if (!std::getline(in, line)) return fail("glyph " + words[1] + " ends early");
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() != 8) return fail("a glyph row is 8 characters of '#' and '.'");
        uint8_t bits = 0;
        for (int x = 0; x < 8; ++x) {
          if (line[size_t(x)] == '#') {
            bits = static_cast<uint8_t>(bits | (0x80 >> x));
          } else if (line[size_t(x)] != '.') {
            return fail("a glyph row is 8 characters of '#' and '.'");
          }
        }
        rows.push_back(bits);
      }
      d.glyphs[code] = std::move(rows);
    } else {
      return fail("unknown statement " + words[0]);
    }
  }
  if (d.rows == 0) return fail("no size");
  *design = std::move(d);
  return true;
}

bool LoadGlyphDesign(const std::string& folder, const std::string& name, GlyphDesign* design, std::string* error) {
  const std::string file = folder + "/" + name + ".txt";
  std::string text;
  platform::FileReadError why;
  if (!platform::ReadFileText(file, kMaxDesignBytes, &text, &why)) {
    *error = file + " " + why.text;
    return false;
  }
  std::string parseError;
  if (!ParseGlyphDesign(text, folder, design, &parseError)) {
    *error = file + ": " + parseError;
    return false;
  }
  return true;
}

std::vector<uint8_t> GlyphTableBytes(const GlyphDesign& design, uint32_t count) {
  std::vector<uint8_t> bytes(size_t(count) * design.rows, 0);
  for (uint32_t c = 0; c < count && c < 256; ++c) {
    const std::vector<uint8_t>& g = design.glyphs[c];
    for (size_t r = 0; r < g.size() && r < design.rows; ++r) bytes[size_t(c) * design.rows + r] = g[r];
  }
  return bytes;
}
