#include "tools/fonttool/JfnFont.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "base/StringUtil.h"
#include "renderer/formats/ByteWriter.h"
#include "tools/fonttool/FaceRaster.h"

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

bool BuildJfnFont(const std::string& description, const std::string& faceFolder, JfnFont* font,
                  std::string* error) {
  std::string faceName;
  uint32_t pixels = 32, outline = 0, pageW = 256, pageH = 256, wantPages = 0, ink = 0xFFFFFF, outlineInk = 0;
  bool lines = false;
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
    if (w[0] == "face" && w.size() == 2) {
      // A plain file name: the face is looked up in its folder only.
      if (w[1].find('/') != std::string::npos || w[1].find('\\') != std::string::npos || w[1] == "..")
        return fail("the face is a file name of the faces folder");
      faceName = w[1];
    } else if (w[0] == "pixels" && w.size() == 2) {
      if (!Number(w[1], 8, 256, &pixels)) return fail("pixels is 8 to 256");
    } else if (w[0] == "outline" && w.size() == 2) {
      if (!Number(w[1], 0, 4, &outline)) return fail("outline is 0 to 4");
    } else if (w[0] == "units" && w.size() == 2 && (w[1] == "pixels" || w[1] == "lines")) {
      lines = w[1] == "lines";
    } else if (w[0] == "page" && w.size() == 3) {
      if (!Number(w[1], 8, 4096, &pageW) || !Number(w[2], 8, 4096, &pageH)) return fail("page sides are 8 to 4096");
    } else if (w[0] == "ink" && w.size() == 2) {
      if (!Colour(w[1], &ink)) return fail("ink is six hex digits RRGGBB");
    } else if (w[0] == "outlineink" && w.size() == 2) {
      if (!Colour(w[1], &outlineInk)) return fail("outlineink is six hex digits RRGGBB");
    } else if (w[0] == "pages" && w.size() == 2) {
      if (!Number(w[1], 1, 64, &wantPages)) return fail("pages is 1 to 64");
    } else {
      return fail("unknown statement " + w[0]);
    }
  }
  number = 0;
  if (faceName.empty()) return fail("no face");
  FaceRaster face;
  std::string why;
  if (!face.Open(faceFolder + "/" + faceName, pixels, &why)) return fail(why);
  const uint32_t ascentPx = uint32_t(std::ceil(face.Ascender())) + outline;
  const uint32_t descentPx = uint32_t(std::ceil(face.Descender())) + outline;
  const uint32_t cellH = ascentPx + descentPx;
  if (cellH > pageH) return fail("glyphs taller than a page");
  // Metrics in pixels, or in lines of cellH pixels.
  const float unit = lines ? 1.0f / float(cellH) : 1.0f;

  // Blank texels carry the colour of what borders them, so that filtering
  // never brings in another colour at an edge.
  const uint32_t kBlank = outline > 0 ? outlineInk : ink;
  JfnFont out;
  const float ascent = float(ascentPx) * unit, descent = float(descentPx) * unit;
  // The line feed's own record sets the line spacing; it draws nothing.
  out.glyphs.push_back({10, 0, ascent, descent, 0, 0, 0, 0, 0});
  // Two blank texels between cells keep filtering from reaching a neighbour.
  constexpr uint32_t kGap = 2;
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
  std::vector<uint8_t> inkA, edgeA;
  for (uint32_t code = 32; code <= 126; ++code) {
    RasterGlyph g;
    if (!face.Render(code, &g, &why)) return fail(why);
    const uint32_t cellW = std::max<uint32_t>(1, uint32_t(std::lround(g.advance)) + outline);
    if (cellW > pageW) return fail("a glyph wider than a page");
    if (x + cellW > pageW) {
      x = 0;
      y += cellH + kGap;
    }
    if (y + cellH > pageH) newPage();
    // The ink's coverage in the cell, then the outline: the ink spread by
    // the outline width in every direction.
    inkA.assign(size_t(cellW) * cellH, 0);
    const int ox = int(outline) / 2 + g.left, oy = int(ascentPx) - g.top;
    for (uint32_t r = 0; r < g.rows; ++r)
      for (uint32_t c = 0; c < g.width; ++c) {
        const int cx = ox + int(c), cy = oy + int(r);
        if (cx < 0 || cy < 0 || cx >= int(cellW) || cy >= int(cellH)) continue;
        inkA[size_t(cy) * cellW + size_t(cx)] = g.coverage[size_t(r) * g.width + c];
      }
    edgeA = inkA;
    const int reach = int(outline);
    for (int cy = 0; outline > 0 && cy < int(cellH); ++cy)
      for (int cx = 0; cx < int(cellW); ++cx) {
        uint8_t most = 0;
        for (int dy = -reach; dy <= reach; ++dy)
          for (int dx = -reach; dx <= reach; ++dx) {
            if (dx * dx + dy * dy > reach * reach + reach) continue;
            const int sx = cx + dx, sy = cy + dy;
            if (sx < 0 || sy < 0 || sx >= int(cellW) || sy >= int(cellH)) continue;
            most = std::max(most, inkA[size_t(sy) * cellW + size_t(sx)]);
          }
        edgeA[size_t(cy) * cellW + size_t(cx)] = most;
      }
    ImagePicture& page = out.pages.back();
    for (uint32_t r = 0; r < cellH; ++r)
      for (uint32_t c = 0; c < cellW; ++c) {
        const uint32_t a = inkA[size_t(r) * cellW + c], e = edgeA[size_t(r) * cellW + c];
        if (e == 0) continue;
        // The ink over its outline: alpha from the outline, colour blended
        // from the outline's to the ink's by the ink's coverage.
        uint32_t colour = 0;
        for (int s = 0; s < 24; s += 8) {
          const uint32_t i = (ink >> s) & 255, o = (outlineInk >> s) & 255;
          colour |= ((o * (e - a) + i * a) / e) << s;
        }
        page.pixels[size_t(y + r) * pageW + x + c] = e << 24 | colour;
      }
    JfnGlyph glyph;
    glyph.code = code;
    glyph.page = uint32_t(out.pages.size() - 1);
    glyph.ascent = ascent;
    glyph.descent = descent;
    glyph.advance = float(cellW) * unit;
    glyph.uLeft = float(x) / float(pageW);
    glyph.uRight = float(x + cellW) / float(pageW);
    glyph.vTop = float(y) / float(pageH);
    glyph.vBottom = float(y + cellH) / float(pageH);
    out.glyphs.push_back(glyph);
    x += cellW + kGap;
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
