// Buying and selling land: the drag selection, purchase, sale, undo and the
// commit that ends the land phase.
#include <algorithm>

#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PlotWorld.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/StatManager.h"

namespace {

cEntity_StatManager* StatsOf(cKV9_GlobalWrapper* table) { return table ? table->statManager : nullptr; }

}  // namespace

float cEntity_GamePlot::LandPrice() { return world_ ? world_->GetLandPrice() : 0.0f; }

void cEntity_GamePlot::SelectionRect(int32_t* x0, int32_t* y0, int32_t* x1, int32_t* y1) const {
  *x0 = std::clamp(std::min(anchorX_, cornerX_), 0, blocksX_ - 1);
  *x1 = std::clamp(std::max(anchorX_, cornerX_), 0, blocksX_ - 1);
  *y0 = std::clamp(std::min(anchorY_, cornerY_), 0, blocksZ_ - 1);
  *y1 = std::clamp(std::max(anchorY_, cornerY_), 0, blocksZ_ - 1);
}

void cEntity_GamePlot::MarkBlockCells(uint32_t block, uint32_t value, bool reset) {
  const uint32_t bx = block % blocksX_, by = block / blocksX_;
  MarkCellRect((by * cellsPerBlock_) * width_ + bx * cellsPerBlock_, cellsPerBlock_, cellsPerBlock_, value, 0, reset,
               nullptr, false);
}

bool cEntity_GamePlot::BlockHasBuiltCells(uint32_t block) {
  const uint32_t bx = block % blocksX_, by = block / blocksX_;
  for (uint32_t y = by * cellsPerBlock_; y < (by + 1u) * cellsPerBlock_; ++y)
    for (uint32_t x = bx * cellsPerBlock_; x < (bx + 1u) * cellsPerBlock_; ++x) {
      const uint32_t word = GetCellWord(y * width_ + x);
      if (word != 0 && word != 0xFF) return true;
    }
  return false;
}

bool cEntity_GamePlot::IsAdjacentToOwned(int32_t x, int32_t y, int32_t w, int32_t h) {
  if (corners_.empty()) return true;
  for (int32_t by = y - 1; by <= y + h; ++by) {
    for (int32_t bx = x - 1; bx <= x + w; ++bx) {
      const bool cornerOfRing = (bx == x - 1 || bx == x + w) && (by == y - 1 || by == y + h);
      if (cornerOfRing || bx < 0 || by < 0 || bx >= blocksX_ || by >= blocksZ_) continue;
      if (IsOwned(static_cast<uint32_t>(by) * blocksX_ + static_cast<uint32_t>(bx))) return true;
    }
  }
  return false;
}

void cEntity_GamePlot::BeginPurchaseSelection(int32_t x, int32_t y) {
  EnsureBitmaps();
  anchorX_ = cornerX_ = x;
  anchorY_ = cornerY_ = y;
  purchaseActive_ = true;
  purchaseList_.clear();
  const uint32_t index = static_cast<uint32_t>(y) * blocksX_ + static_cast<uint32_t>(x);
  cEntity_StatManager* stats = StatsOf(table_);
  const double cash = stats ? stats->block.cash : 0.0;
  if (LandPrice() > cash || IsUnavailable(index) || !IsAdjacentToOwned(x, y, 1, 1)) {
    landMode_ = LandMode::Greyed;
  } else {
    landMode_ = LandMode::Purchasing;
    purchaseList_.push_back(static_cast<int16_t>(index));
    if (stats) stats->ShowLandCost(1);
  }
  PositionSelectionMesh();
  UpdatePriceTooltip();
}

void cEntity_GamePlot::ExtendPurchaseSelection(int32_t x, int32_t y) {
  cornerX_ = x;
  cornerY_ = y;
  int32_t x0, y0, x1, y1;
  SelectionRect(&x0, &y0, &x1, &y1);
  purchaseList_.clear();
  for (int32_t by = y0; by <= y1; ++by)
    for (int32_t bx = x0; bx <= x1; ++bx) {
      const uint32_t index = static_cast<uint32_t>(by) * blocksX_ + static_cast<uint32_t>(bx);
      if (!IsOwned(index) && !IsUnavailable(index)) purchaseList_.push_back(static_cast<int16_t>(index));
    }
  cEntity_StatManager* stats = StatsOf(table_);
  const uint32_t count = static_cast<uint32_t>(purchaseList_.size());
  if (stats && !stats->CanAffordLand(count)) {
    landMode_ = LandMode::Greyed;
  } else {
    landMode_ = IsAdjacentToOwned(x0, y0, x1 - x0 + 1, y1 - y0 + 1) ? LandMode::Purchasing : LandMode::Greyed;
  }
  if (stats) stats->ShowLandCost(count);
  PositionSelectionMesh();
  UpdatePriceTooltip();
}

void cEntity_GamePlot::BeginSaleSelection(int32_t x, int32_t y) {
  EnsureBitmaps();
  anchorX_ = cornerX_ = x;
  anchorY_ = cornerY_ = y;
  saleActive_ = true;
  saleList_.clear();
  const uint32_t index = static_cast<uint32_t>(y) * blocksX_ + static_cast<uint32_t>(x);
  if (IsOwned(index)) {
    saleList_.push_back(static_cast<int16_t>(index));
    landMode_ = LandMode::Selling;
  } else {
    landMode_ = LandMode::Greyed;
  }
  if (cEntity_StatManager* stats = StatsOf(table_)) stats->ShowLandValue(static_cast<uint32_t>(saleList_.size()));
  PositionSelectionMesh();
  UpdatePriceTooltip();
}

void cEntity_GamePlot::ExtendSaleSelection(int32_t x, int32_t y) {
  cornerX_ = x;
  cornerY_ = y;
  int32_t x0, y0, x1, y1;
  SelectionRect(&x0, &y0, &x1, &y1);
  saleList_.clear();
  for (int32_t by = y0; by <= y1; ++by)
    for (int32_t bx = x0; bx <= x1; ++bx) {
      const uint32_t index = static_cast<uint32_t>(by) * blocksX_ + static_cast<uint32_t>(bx);
      if (IsOwned(index)) saleList_.push_back(static_cast<int16_t>(index));
    }
  landMode_ = saleList_.empty() ? LandMode::Greyed : LandMode::Selling;
  if (cEntity_StatManager* stats = StatsOf(table_)) {
    stats->ShowLandValue(static_cast<uint32_t>(saleList_.size()));
    if (!saleList_.empty()) stats->ShowLandCost(static_cast<uint32_t>(saleList_.size()));
  }
  PositionSelectionMesh();
  UpdatePriceTooltip();
}

void cEntity_GamePlot::ClearPurchaseState() {
  purchaseActive_ = false;
  purchaseList_.clear();
  if (cEntity_StatManager* stats = StatsOf(table_)) stats->ShowLandCost(0);
  UpdatePriceTooltip();
}

void cEntity_GamePlot::PurchaseSelection() {
  if (landMode_ != LandMode::Purchasing) {
    ClearPurchaseState();
    return;
  }
  int32_t x0, y0, x1, y1;
  SelectionRect(&x0, &y0, &x1, &y1);
  FillBlockPixels(x0, y0, x1, y1, kPalette[kPaletteOwnedEmpty], 1);
  MarkCellRect(static_cast<uint32_t>(y0 * cellsPerBlock_) * width_ + static_cast<uint32_t>(x0 * cellsPerBlock_),
               static_cast<uint32_t>((x1 - x0 + 1) * cellsPerBlock_), static_cast<uint32_t>((y1 - y0 + 1) * cellsPerBlock_),
               0xFF, 0, false, nullptr, false);
  if (!HasEntrance()) {
    const int32_t midX = x0 + (x1 - x0) / 2, midY = y0 + (y1 - y0) / 2;
    if (x0 == 0) {
      SetEntranceCell(0, static_cast<uint16_t>(midY * cellsPerBlock_ + 8));
    } else if (x1 == blocksX_ - 1) {
      SetEntranceCell(static_cast<uint16_t>(width_ - 1), static_cast<uint16_t>(midY * cellsPerBlock_ + 8));
    } else if (y0 == 0) {
      SetEntranceCell(static_cast<uint16_t>(midX * cellsPerBlock_ + 8), 0);
    } else if (y1 == blocksZ_ - 1) {
      SetEntranceCell(static_cast<uint16_t>(midX * cellsPerBlock_ + 8), static_cast<uint16_t>(height_ - 1));
    }
  }
  std::vector<int16_t> bought;
  for (int32_t bx = x0; bx <= x1; ++bx)
    for (int32_t by = y0; by <= y1; ++by) {
      const uint32_t index = static_cast<uint32_t>(by) * blocksX_ + static_cast<uint32_t>(bx);
      if (IsOwned(index)) continue;
      SetBit(owned_, index, true);
      if (!IsUnavailable(index)) bought.push_back(static_cast<int16_t>(index));
    }
  if (!bought.empty()) {
    const uint32_t count = static_cast<uint32_t>(bought.size());
    undoList_.insert(undoList_.begin(), std::move(bought));
    if (cEntity_StatManager* stats = StatsOf(table_)) stats->ChargeLandPurchase(count);
    UpdateCorners(x0, y0, x1, y1);
    ++transactionCount_;
    BuildPurchasedMesh();
  }
  UpdateMiniMap();
  ClearPurchaseState();
}

bool cEntity_GamePlot::ConfirmSale() {
  int32_t x0, y0, x1, y1;
  SelectionRect(&x0, &y0, &x1, &y1);
  for (int32_t y = y0 * cellsPerBlock_; y < (y1 + 1) * cellsPerBlock_; ++y)
    for (int32_t x = x0 * cellsPerBlock_; x < (x1 + 1) * cellsPerBlock_; ++x) {
      if (HasEntrance() && x == GetEntranceX() && y == GetEntranceY()) {
        ShowScene("scnInvalidSaleDialog", true);
        CancelSale();
        return false;
      }
      const uint32_t word = GetCellWord(static_cast<uint32_t>(y) * width_ + static_cast<uint32_t>(x));
      if (word != 0 && word != 0xFF) {
        ShowScene("scnOccupiedDialog", true);
        CancelSale();
        return false;
      }
    }
  ShowScene("scnSaleDialog", true);
  return true;
}

void cEntity_GamePlot::CancelSale() {
  saleActive_ = false;
  saleList_.clear();
  if (cEntity_StatManager* stats = StatsOf(table_)) {
    stats->ShowLandCost(0);
    stats->ShowLandValue(0);
  }
  ShowScene("scnSaleDialog", false);
  UpdatePriceTooltip();
}

void cEntity_GamePlot::SellSelection() {
  if (landMode_ != LandMode::Selling) {
    CancelSale();
    return;
  }
  int32_t x0, y0, x1, y1;
  SelectionRect(&x0, &y0, &x1, &y1);
  std::vector<int16_t> sold;
  for (int32_t bx = x0; bx <= x1; ++bx)
    for (int32_t by = y0; by <= y1; ++by) {
      const uint32_t index = static_cast<uint32_t>(by) * blocksX_ + static_cast<uint32_t>(bx);
      if (!IsOwned(index)) continue;
      SetBit(owned_, index, false);
      if (!IsUnavailable(index)) sold.push_back(static_cast<int16_t>(index));
    }
  FillBlockPixels(x0, y0, x1, y1, kPalette[kPaletteNotOwned], 2);
  MarkCellRect(static_cast<uint32_t>(y0 * cellsPerBlock_) * width_ + static_cast<uint32_t>(x0 * cellsPerBlock_),
               static_cast<uint32_t>((x1 - x0 + 1) * cellsPerBlock_), static_cast<uint32_t>((y1 - y0 + 1) * cellsPerBlock_),
               0, 0, true, nullptr, false);
  if (!sold.empty()) {
    BuildPurchasedMesh();
    UpdateCorners(x0 - 1, y0 - 1, x1 + 1, y1 + 1);
    if (cEntity_StatManager* stats = StatsOf(table_)) stats->CreditLandSale(static_cast<uint32_t>(sold.size()));
    sold.insert(sold.begin(), -1);
    undoList_.insert(undoList_.begin(), std::move(sold));
  }
  UpdateMiniMap();
  CancelSale();
}

void cEntity_GamePlot::UndoTransaction() {
  if (undoList_.empty()) return;
  std::vector<int16_t>& entry = undoList_.front();
  cEntity_StatManager* stats = StatsOf(table_);
  auto blockPixels = [&](int16_t block, uint32_t colour, uint8_t mode) {
    const int32_t bx = block % blocksX_, by = block / blocksX_;
    FillBlockPixels(bx, by, bx, by, colour, mode);
  };
  if (!entry.empty() && entry.front() == -1) {
    for (size_t i = 1; i < entry.size(); ++i) {
      SetBit(owned_, static_cast<uint32_t>(entry[i]), true);
      MarkBlockCells(static_cast<uint32_t>(entry[i]), 0xFF, false);
      blockPixels(entry[i], kPalette[kPaletteOwnedEmpty], 1);
    }
    if (stats) stats->ChargeLandPerPlot(static_cast<uint32_t>(entry.size() - 1));
    // The sale's own corner changes are undone by re-checking every post.
    for (size_t i = 1; i < entry.size(); ++i) {
      const int32_t bx = entry[i] % blocksX_, by = entry[i] / blocksX_;
      UpdateCorners(bx - 1, by - 1, bx + 1, by + 1);
    }
  } else {
    // Undoing a purchase would wipe whatever was built on it since.
    for (int16_t block : entry) {
      if (BlockHasBuiltCells(static_cast<uint32_t>(block))) {
        ShowScene("scnOccupiedDialog", true);
        return;
      }
    }
    if (HasEntrance() && cellsPerBlock_) {
      const int32_t entranceBlock = (GetEntranceY() / cellsPerBlock_) * blocksX_ + GetEntranceX() / cellsPerBlock_;
      if (std::find(entry.begin(), entry.end(), entranceBlock) != entry.end()) SetEntranceCell(0xFFFF, 0xFFFF);
    }
    for (int16_t block : entry) {
      SetBit(owned_, static_cast<uint32_t>(block), false);
      MarkBlockCells(static_cast<uint32_t>(block), 0, true);
      blockPixels(block, kPalette[kPaletteNotOwned], 2);
    }
    if (stats) stats->CreditLandSale(static_cast<uint32_t>(entry.size()));
    if (transactionCount_) --transactionCount_;
    while (!cornerUndo_.empty() && cornerUndo_.front().transaction == transactionCount_) {
      const CornerUndo record = cornerUndo_.front();
      cornerUndo_.erase(cornerUndo_.begin());
      if (record.added) {
        RemoveCorner(record.x, record.y, record.code);
      } else {
        auto exists = std::find_if(corners_.begin(), corners_.end(), [&](const CornerBlock& c) {
          return c.x == record.x && c.y == record.y && c.code == record.code;
        });
        if (exists == corners_.end()) corners_.push_back(CornerBlock{record.x, record.y, record.code});
      }
    }
  }
  undoList_.erase(undoList_.begin());
  corners_.erase(std::remove_if(corners_.begin(), corners_.end(),
                                [&](const CornerBlock& c) { return !IsCornerCandidate(c.x, c.y, owned_); }),
                 corners_.end());
  BuildPurchasedMesh();
  UpdateMiniMap();
}

bool cEntity_GamePlot::CommitTransactions() {
  if (!HasEntrance()) {
    ShowScene("scnInvalidLandDialog", true);
    return false;
  }
  if (!enoughLand_) {
    ShowScene("scnInsufficientLandDialog", true);
    return false;
  }
  undoList_.clear();
  cornerUndo_.clear();
  transactionCount_ = 0;
  return true;
}

void cEntity_GamePlot::ComputeRunwayBlocks() {
  cEntity_BuildingManager* buildings = table_ ? table_->buildingManager : nullptr;
  cBuildableObject* runway = nullptr;
  if (buildings) {
    const uint16_t id = buildings->FindTypeIndexByName(kClass_Runway, "2000 Meter Runway");
    runway = buildings->GetBuildingType(kClass_Runway, id, 1);
  }
  if (!runway) {
    if (!runwayWarned_)
      platform::DebugPrintf("[cEntity_GamePlot] no \"2000 Meter Runway\" at level 1: the start runway takes one block\n");
    runwayWarned_ = true;
    runwayBlocksA_ = runwayBlocksB_ = 1;
    return;
  }
  uint8_t count = 0;
  FootprintRect* rects = nullptr;
  runway->GetRects(&count, &rects);
  int32_t minX = 0, minY = 0, maxX = runway->GetWidth(), maxY = runway->GetLength();
  if (count && rects) {
    minX = minY = 32767;
    maxX = maxY = -32768;
    for (uint8_t i = 0; i < count; ++i) {
      minX = std::min<int32_t>(minX, rects[i].x);
      minY = std::min<int32_t>(minY, rects[i].y);
      maxX = std::max<int32_t>(maxX, rects[i].x + rects[i].w);
      maxY = std::max<int32_t>(maxY, rects[i].y + rects[i].l);
    }
  }
  const int32_t c = cellsPerBlock_ ? cellsPerBlock_ : 1;
  runwayBlocksA_ = static_cast<uint8_t>(std::clamp((maxX - minX + c - 1) / c, 1, 255));
  runwayBlocksB_ = static_cast<uint8_t>(std::clamp((maxY - minY + c - 1) / c, 1, 255));
}
