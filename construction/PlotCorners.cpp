// The fence corner posts of the owned land and the rectangle cover of a
// block bitmap.
#include <algorithm>

#include "construction/GamePlot.h"

namespace {

// Neighbour offsets in the order north-west, north, north-east, east,
// south-east, south, south-west, west (north is y - 1).
constexpr int kDX[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
constexpr int kDY[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
enum { NW, N, NE, E, SE, S, SW, W };

}  // namespace

bool cEntity_GamePlot::TestBlockBitIndex(int32_t index, const std::vector<uint16_t>& bitmap) const {
  if (index < 0 || index >= static_cast<int32_t>(viewWidth_) * viewHeight_) return false;
  return TestBit(bitmap, static_cast<uint32_t>(index));
}

bool cEntity_GamePlot::TestBlockBit(int32_t x, int32_t y, const std::vector<uint16_t>& bitmap) const {
  if (x < 0 || y < 0 || x >= viewWidth_ || y >= viewHeight_) return false;
  return TestBit(bitmap, static_cast<uint32_t>(viewWidth_) * static_cast<uint32_t>(y) + static_cast<uint32_t>(x));
}

uint32_t cEntity_GamePlot::ReadBlockNeighbours(int32_t x, int32_t y, bool out[8],
                                               const std::vector<uint16_t>& bitmap) const {
  uint32_t n = 0;
  for (int i = 0; i < 8; ++i) {
    out[i] = TestBlockBit(x + kDX[i], y + kDY[i], bitmap);
    n += out[i] ? 1 : 0;
  }
  return n;
}

bool cEntity_GamePlot::GetCornerCodes(int32_t x, int32_t y, bool out[8], const std::vector<uint16_t>& bitmap) const {
  std::fill(out, out + 8, false);
  if (!TestBlockBit(x, y, bitmap)) return false;
  bool nb[8];
  ReadBlockNeighbours(x, y, nb, bitmap);
  out[0] = !nb[W] && !nb[N];
  out[1] = !nb[N] && !nb[E];
  out[2] = !nb[E] && !nb[S];
  out[3] = !nb[S] && !nb[W];
  out[4] = nb[W] && nb[N] && !nb[NW];
  out[5] = nb[N] && nb[E] && !nb[NE];
  out[6] = nb[E] && nb[S] && !nb[SE];
  out[7] = nb[S] && nb[W] && !nb[SW];
  return true;
}

bool cEntity_GamePlot::HasCornerCode(int32_t x, int32_t y, uint8_t code, const std::vector<uint16_t>& bitmap) const {
  if (code > 7) return false;
  bool codes[8];
  return GetCornerCodes(x, y, codes, bitmap) && codes[code];
}

bool cEntity_GamePlot::IsCornerCandidate(int32_t x, int32_t y, const std::vector<uint16_t>& bitmap) const {
  bool codes[8];
  if (!GetCornerCodes(x, y, codes, bitmap)) return false;
  return std::any_of(codes, codes + 8, [](bool b) { return b; });
}

bool cEntity_GamePlot::AddCorner(uint16_t x, uint16_t y, uint8_t code) {
  for (const CornerBlock& c : corners_)
    if (c.x == x && c.y == y && c.code == code) return false;
  corners_.push_back(CornerBlock{x, y, code});
  cornerUndo_.insert(cornerUndo_.begin(), CornerUndo{x, y, code, 1, transactionCount_});
  return true;
}

bool cEntity_GamePlot::RemoveCorner(uint16_t x, uint16_t y, uint8_t code) {
  for (auto it = corners_.begin(); it != corners_.end(); ++it) {
    if (it->x == x && it->y == y && it->code == code) {
      corners_.erase(it);
      return true;
    }
  }
  return false;
}

bool cEntity_GamePlot::ReAddCornerPosts(int32_t x, int32_t y) {
  bool codes[8];
  if (!GetCornerCodes(x, y, codes, owned_)) return false;
  for (uint8_t code = 0; code < 8; ++code)
    if (codes[code]) AddCorner(static_cast<uint16_t>(x), static_cast<uint16_t>(y), code);
  return true;
}

void cEntity_GamePlot::UpdateCorners(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  for (auto it = corners_.begin(); it != corners_.end();) {
    if (it->x >= x0 && it->x <= x1 && it->y >= y0 && it->y <= y1) {
      cornerUndo_.insert(cornerUndo_.begin(), CornerUndo{it->x, it->y, it->code, 0, transactionCount_});
      it = corners_.erase(it);
    } else {
      ++it;
    }
  }
  auto readd = [&](int32_t x, int32_t y) {
    if (IsCornerCandidate(x, y, owned_)) ReAddCornerPosts(x, y);
  };
  for (int32_t x = x0; x < x1; ++x) {
    readd(x, y0);
    readd(x, y1);
  }
  for (int32_t y = y0; y < y1; ++y) {
    readd(x0, y);
    readd(x1, y);
  }
  const int32_t points[12][2] = {{x0, y0}, {x0 - 1, y0}, {x0, y0 - 1}, {x0, y1}, {x0 - 1, y1}, {x0, y1 + 1},
                                 {x1, y0}, {x1 + 1, y0}, {x1, y0 - 1}, {x1, y1}, {x1 + 1, y1}, {x1, y1 + 1}};
  for (const auto& p : points) readd(p[0], p[1]);
  for (auto it = corners_.begin(); it != corners_.end();) {
    if (!HasCornerCode(it->x, it->y, it->code, owned_)) {
      cornerUndo_.insert(cornerUndo_.begin(), CornerUndo{it->x, it->y, it->code, 0, transactionCount_});
      it = corners_.erase(it);
    } else {
      ++it;
    }
  }
}

std::vector<CornerBlock> cEntity_GamePlot::CoverRectangles(const std::vector<uint16_t>& bitmap, bool testRunway,
                                                           std::vector<uint32_t>* sizes) {
  // Each rectangle comes back as its first block (x, y) with its width and
  // height packed into `sizes` (w << 16 | h).
  std::vector<CornerBlock> rects;
  if (sizes) sizes->clear();
  if (testRunway) enoughLand_ = false;
  const int32_t vw = viewWidth_, vh = viewHeight_;
  std::vector<uint8_t> copy(static_cast<size_t>(vw) * vh);
  for (int32_t i = 0; i < vw * vh; ++i) copy[static_cast<size_t>(i)] = TestBit(bitmap, static_cast<uint32_t>(i));
  auto at = [&](int32_t x, int32_t y) { return copy[static_cast<size_t>(y) * vw + x] != 0; };
  for (;;) {
    int32_t bestX = -1, bestY = -1, bestW = 0, bestH = 0;
    for (int32_t x = 0; x < vw; ++x) {
      for (int32_t y = 0; y < vh; ++y) {
        if (!at(x, y)) continue;
        int32_t w = 0;
        while (x + w < vw && at(x + w, y)) ++w;
        int32_t h = vh;
        for (int32_t c = x; c < x + w; ++c) {
          int32_t run = 0;
          while (y + run < vh && at(c, y + run)) ++run;
          h = std::min(h, run);
        }
        if (testRunway && ((w >= runwayBlocksA_ && h >= runwayBlocksB_) || (w >= runwayBlocksB_ && h >= runwayBlocksA_)))
          enoughLand_ = true;
        if (w * h > bestW * bestH) {
          bestX = x;
          bestY = y;
          bestW = w;
          bestH = h;
        }
      }
    }
    if (bestX < 0) break;
    for (int32_t y = bestY; y < bestY + bestH; ++y)
      for (int32_t x = bestX; x < bestX + bestW; ++x) copy[static_cast<size_t>(y) * vw + x] = 0;
    rects.push_back(CornerBlock{static_cast<uint16_t>(bestX), static_cast<uint16_t>(bestY), 0});
    if (sizes) sizes->push_back(static_cast<uint32_t>(bestW) << 16 | static_cast<uint32_t>(bestH));
  }
  return rects;
}

