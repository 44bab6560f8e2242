#include "simulation/RoadTrafficIndex.h"

#include <algorithm>
#include <cmath>

#include "simulation/Vehicle.h"

namespace {

// Slack against rounding where the map's key range decides which lines
// are looked at; the lane test itself is the exact one.
constexpr float kSlack = 0.01f;

bool IsLive(const cEntity_Vehicle* v) { return v->stage != cEntity_Vehicle::kFinished; }
// A position that can be ordered: NaN is filed nowhere.
bool Orderable(float v) { return v == v; }

bool Before(float along, size_t slot, float otherAlong, size_t otherSlot) {
  return along < otherAlong || (along == otherAlong && slot < otherSlot);
}

}  // namespace

void RoadTrafficIndex::File(Lines& lines, float across, float along, size_t slot, cEntity_Vehicle* vehicle) {
  if (!Orderable(across) || !Orderable(along)) return;
  std::vector<Item>& line = lines[across];
  auto at = std::lower_bound(line.begin(), line.end(), Item{along, slot, nullptr},
                             [](const Item& a, const Item& b) { return Before(a.along, a.slot, b.along, b.slot); });
  line.insert(at, Item{along, slot, vehicle});
}

void RoadTrafficIndex::Unfile(Lines& lines, float across, float along, size_t slot) {
  if (!Orderable(across) || !Orderable(along)) return;
  auto found = lines.find(across);
  if (found == lines.end()) return;
  std::vector<Item>& line = found->second;
  auto at = std::lower_bound(line.begin(), line.end(), Item{along, slot, nullptr},
                             [](const Item& a, const Item& b) { return Before(a.along, a.slot, b.along, b.slot); });
  if (at == line.end() || at->slot != slot) return;
  line.erase(at);
  if (line.empty()) lines.erase(found);
}

void RoadTrafficIndex::Slide(Lines& lines, float across, float from, float to, size_t slot) {
  auto found = lines.find(across);
  if (found == lines.end()) return;
  std::vector<Item>& line = found->second;
  auto at = std::lower_bound(line.begin(), line.end(), Item{from, slot, nullptr},
                             [](const Item& a, const Item& b) { return Before(a.along, a.slot, b.along, b.slot); });
  if (at == line.end() || at->slot != slot) return;
  size_t i = static_cast<size_t>(at - line.begin());
  line[i].along = to;
  // Vehicles pass each other rarely: the item moves a place or two at most.
  while (i + 1 < line.size() && Before(line[i + 1].along, line[i + 1].slot, line[i].along, line[i].slot)) {
    std::swap(line[i], line[i + 1]);
    ++i;
  }
  while (i > 0 && Before(line[i].along, line[i].slot, line[i - 1].along, line[i - 1].slot)) {
    std::swap(line[i], line[i - 1]);
    --i;
  }
}

void RoadTrafficIndex::Add(cEntity_Vehicle* vehicle, size_t slot) {
  if (!vehicle || Contains(vehicle)) return;
  Entry entry;
  entry.x = vehicle->GetPositionX();
  entry.z = vehicle->GetPositionZ();
  entry.slot = slot;
  entry.emergency = vehicle->IsEmergency();
  entries_.emplace(vehicle, entry);
  File(byZ_, entry.z, entry.x, slot, vehicle);
  File(byX_, entry.x, entry.z, slot, vehicle);
  if (entry.emergency) emergency_.push_back(vehicle);
}

void RoadTrafficIndex::Remove(cEntity_Vehicle* vehicle) {
  auto it = entries_.find(vehicle);
  if (it == entries_.end()) return;
  const Entry& entry = it->second;
  Unfile(byZ_, entry.z, entry.x, entry.slot);
  Unfile(byX_, entry.x, entry.z, entry.slot);
  if (entry.emergency) emergency_.erase(std::find(emergency_.begin(), emergency_.end(), vehicle));
  entries_.erase(it);
}

void RoadTrafficIndex::Compacted(size_t slot) {
  for (auto& [vehicle, entry] : entries_) {
    if (entry.slot > slot) --entry.slot;
  }
  // Every later slot falls by one: the order within the lines stays.
  for (Lines* lines : {&byZ_, &byX_}) {
    for (auto& [across, line] : *lines) {
      for (Item& item : line) {
        if (item.slot > slot) --item.slot;
      }
    }
  }
}

void RoadTrafficIndex::Clear() {
  entries_.clear();
  emergency_.clear();
  byZ_.clear();
  byX_.clear();
}

void RoadTrafficIndex::Moved(cEntity_Vehicle* vehicle) {
  auto it = entries_.find(vehicle);
  if (it == entries_.end()) return;
  Entry& entry = it->second;
  const float x = vehicle->GetPositionX(), z = vehicle->GetPositionZ();
  if (!(x == entry.x && z == entry.z)) {
    const bool ordered = Orderable(x) && Orderable(z) && Orderable(entry.x) && Orderable(entry.z);
    if (ordered && z == entry.z) {
      Slide(byZ_, z, entry.x, x, entry.slot);
    } else {
      Unfile(byZ_, entry.z, entry.x, entry.slot);
      File(byZ_, z, x, entry.slot, vehicle);
    }
    if (ordered && x == entry.x) {
      Slide(byX_, x, entry.z, z, entry.slot);
    } else {
      Unfile(byX_, entry.x, entry.z, entry.slot);
      File(byX_, x, z, entry.slot, vehicle);
    }
    entry.x = x;
    entry.z = z;
  }
  const bool emergency = vehicle->IsEmergency();
  if (emergency != entry.emergency) {
    if (emergency) emergency_.push_back(vehicle);
    else emergency_.erase(std::find(emergency_.begin(), emergency_.end(), vehicle));
    entry.emergency = emergency;
  }
}

void RoadTrafficIndex::Search(const Lines& lines, cEntity_Vehicle* vehicle, float across, float along, bool rising,
                              float sameLane, float* distance, cEntity_Vehicle** best, size_t* bestSlot) const {
  // Takes the item when it is nearer, or as near and listed earlier; false
  // once the items are further than the best (they only grow from there).
  auto consider = [&](const Item& item, float gap) {
    if (gap > *distance) return false;
    if (item.vehicle == vehicle || !IsLive(item.vehicle)) return true;
    if (gap == *distance && (!*best || item.slot > *bestSlot)) return true;
    *distance = gap;
    *best = item.vehicle;
    *bestSlot = item.slot;
    return true;
  };
  const auto first = lines.lower_bound(across - sameLane - kSlack);
  const auto last = lines.upper_bound(across + sameLane + kSlack);
  for (auto line = first; line != last; ++line) {
    if (std::fabs(line->first - across) > sameLane) continue;
    const std::vector<Item>& items = line->second;
    if (rising) {
      auto at = std::lower_bound(items.begin(), items.end(), along,
                                 [](const Item& item, float v) { return item.along < v; });
      for (; at != items.end(); ++at) {
        if (!consider(*at, at->along - along)) break;
      }
    } else {
      auto at = std::upper_bound(items.begin(), items.end(), along,
                                 [](float v, const Item& item) { return v < item.along; });
      while (at != items.begin()) {
        --at;
        if (!consider(*at, along - at->along)) break;
      }
    }
  }
}

cEntity_Vehicle* RoadTrafficIndex::Ahead(cEntity_Vehicle* vehicle, float sameLane, float* distance) {
  if (!vehicle) return nullptr;
  const uint32_t d = vehicle->direction & 3;
  const float x = vehicle->GetPositionX(), z = vehicle->GetPositionZ();
  cEntity_Vehicle* best = nullptr;
  size_t bestSlot = 0;
  // Along x for directions 1 (+x) and 3 (-x), along z for 2 (+z) and 0 (-z).
  if (d & 1) Search(byZ_, vehicle, z, x, d == 1, sameLane, distance, &best, &bestSlot);
  else Search(byX_, vehicle, x, z, d == 2, sameLane, distance, &best, &bestSlot);
  return best;
}

float RoadTrafficIndex::NearestEmergency(float x, float z, const cEntity_Vehicle* except, float none) const {
  float best = none;
  for (cEntity_Vehicle* other : emergency_) {
    if (other == except || !other->IsEmergency() || !IsLive(other)) continue;
    const float d = std::floor(std::fabs(other->GetPositionX() - x) + std::fabs(other->GetPositionZ() - z));
    best = std::min(best, d);
  }
  return best;
}
