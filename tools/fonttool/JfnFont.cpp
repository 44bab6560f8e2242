#include "tools/fonttool/JfnFont.h"

#include <algorithm>
#include <sstream>

#include "base/StringUtil.h"
#include "renderer/formats/ByteWriter.h"

namespace {

bool Number(const std::string& word, uint32_t low, uint32_t high, uint32_t* out) {
  if (word.empty() || word.size() > 5) return false;
  uint32_t v = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + uint32_t(c - '0');
  }
  if (v < low || v > high) return false;
  *out = v;
  return true;
}

// Six hex digits of a colour; false for anything else.
bool Colour(const std::string& word, uint32_t* out) {
  if (word.size() != 6) return false;
  uint32_t v = 0;
  for (char c : word) {
    const int digit = (c >= '0' && c <= '9') ? c - '0'
                      : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                               : -1;
    if (digit < 0) return false;
    v = v << 4 | uint32_t(digit);
  }
  *out = v;
  return true;
}

}  // namespace

bool BuildJfnFont(const std::string& description, const std::string& designFolder, JfnFont* font,
                  std::string* error) {
  std::string designName;
  uint32_t scale = 1, ascentRows = 0, pageW = 256, pageH = 256, space = 4, wantPages = 0, ink = 0xFFFFFF;
  bool ascentGiven = false;
  std::istringstream in(description);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    *error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    const std::string trimmed = str::Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    std::vector<std::string> w;
    for (const std::string& s : str::Split(trimmed, " \t\r"))
      if (!s.empty()) w.push_back(s);
    if (w[0] == "design" && w.size() == 2) {
      designName = w[1];
    } else if (w[0] == "scale" && w.size() == 2) {
      if (!Number(w[1], 1, 8, &scale)) return fail("scale is 1 to 8");
    } else if (w[0] == "ascent" && w.size() == 2) {
      if (!Number(w[1], 1, 64, &ascentRows)) return fail("ascent is 1 to 64 rows");
      ascentGiven = true;
    } else if (w[0] == "page" && w.size() == 3) {
      if (!Number(w[1], 8, 4096, &pageW) || !Number(w[2], 8, 4096, &pageH)) return fail("page sides are 8 to 4096");
    } else if (w[0] == "space" && w.size() == 2) {
      if (!Number(w[1], 1, 64, &space)) return fail("space is 1 to 64");
    } else if (w[0] == "ink" && w.size() == 2) {
      if (!Colour(w[1], &ink)) return fail("ink is six hex digits RRGGBB");
    } else if (w[0] == "pages" && w.size() == 2) {
      if (!Number(w[1], 1, 64, &wantPages)) return fail("pages is 1 to 64");
    } else {
      return fail("unknown statement " + w[0]);
    }
  }
  number = 0;
  if (designName.empty()) return fail("no design");
  GlyphDesign design;
  std::string why;
  if (!LoadGlyphDesign(designFolder, designName, &design, &why)) return fail(why);
  if (!ascentGiven) ascentRows = design.rows - 1;
  if (ascentRows > design.rows) return fail("ascent beyond the design's rows");
  const uint32_t cellH = design.rows * scale;
  if (cellH > pageH) return fail("glyphs taller than a page");

  // Blank texels carry the ink's colour too, so filtering never darkens an
  // edge.
  const uint32_t kInk = 0xFF000000u | ink, kBlank = ink;
  JfnFont out;
  const float ascent = float(ascentRows * scale), descent = float((design.rows - ascentRows) * scale);
  // The line feed's own record sets the line spacing; it draws nothing.
  out.glyphs.push_back({10, 0, ascent, descent, 0, 0, 0, 0, 0});
  uint32_t x = 0, y = 0;
  auto newPage = [&] {
    ImagePicture page;
    page.width = pageW;
    page.height = pageH;
    page.pixels.assign(size_t(pageW) * pageH, kBlank);
    out.pages.push_back(std::move(page));
    x = y = 0;
  };
  newPage();
  for (uint32_t code = 32; code <= 126; ++code) {
    const std::vector<uint8_t>& g = design.glyphs[code];
    // Ink columns: the advance is the ink's width plus one column of space.
    int left = 8, right = -1;
    for (uint8_t row : g)
      for (int c = 0; c < 8; ++c)
        if (row & (0x80 >> c)) {
          left = std::min(left, c);
          right = std::max(right, c);
        }
    const uint32_t inkW = right >= left ? uint32_t(right - left + 1) : 0;
    const uint32_t advance = (inkW == 0 ? space : inkW + 1) * scale;
    if (advance > pageW) return fail("a glyph wider than a page");
    if (x + advance > pageW) {
      x = 0;
      y += cellH + 1;
    }
    if (y + cellH > pageH) newPage();
    ImagePicture& page = out.pages.back();
    for (uint32_t r = 0; r < g.size(); ++r)
      for (uint32_t c = 0; c < inkW; ++c) {
        if (!(g[r] & (0x80 >> (uint32_t(left) + c)))) continue;
        for (uint32_t sy = 0; sy < scale; ++sy)
          for (uint32_t sx = 0; sx < scale; ++sx)
            page.pixels[size_t(y + r * scale + sy) * pageW + x + c * scale + sx] = kInk;
      }
    JfnGlyph glyph;
    glyph.code = code;
    glyph.page = uint32_t(out.pages.size() - 1);
    glyph.ascent = ascent;
    glyph.descent = descent;
    glyph.advance = float(advance);
    glyph.uLeft = float(x) / float(pageW);
    glyph.uRight = float(x + advance) / float(pageW);
    glyph.vTop = float(y) / float(pageH);
    glyph.vBottom = float(y + cellH) / float(pageH);
    out.glyphs.push_back(glyph);
    // One blank column between cells keeps filtering from reaching a
    // neighbour.
    x += advance + 1;
  }
  if (wantPages && out.pages.size() != wantPages)
    return fail("the glyphs take " + std::to_string(out.pages.size()) + " pages, not " + std::to_string(wantPages));
  *font = std::move(out);
  return true;
}

std::vector<uint8_t> EncodeJfn(const JfnFont& font, const std::string& title) {
  std::vector<uint8_t> bytes;
  ByteWriter w(&bytes);
  w.Text("JFNT");
  w.F32(1.0f);
  // The free-form block readers skip: the font's title, then 32 bytes.
  w.U32(static_cast<uint32_t>(title.size()));
  w.Text(title);
  w.Zeros(32);
  w.U32(static_cast<uint32_t>(font.glyphs.size()));
  w.U32(static_cast<uint32_t>(font.pages.size()));
  w.U32(0);
  for (const JfnGlyph& g : font.glyphs) {
    w.U32(g.code);
    w.U32(g.page);
    w.F32(g.ascent);
    w.F32(g.descent);
    w.F32(g.advance);
    w.F32(g.uLeft);
    w.F32(g.uRight);
    w.F32(g.vTop);
    w.F32(g.vBottom);
  }
  return bytes;
}
