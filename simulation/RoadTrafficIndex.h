#pragma once
// Where the listed road vehicles stand, kept by lane line so that the
// vehicle ahead of one is found among the few of the lines beside it, by a
// search in driving order, instead of among all vehicles.
//
// A vehicle keeping its lane has the lane's exact across coordinate: every
// vehicle is filed in the line of its z (ordered by x, for travel along x)
// and in the line of its x (ordered by z, for travel along z). A query for
// a vehicle driving along x looks at the lines whose z is within the lane
// tolerance of its own and takes the nearest entry at or beyond it.
//
// The lines follow every move: a vehicle reports each change of its
// position (`Moved`), and the ambient manager reports its list's changes
// (`Add`, `Remove`, `Compacted`, `Clear`). Entries keep the vehicle's slot
// in that list, so that among vehicles at the same distance the earlier
// listed one wins, as a walk over the list would find it.
#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

class cEntity_Vehicle;

class RoadTrafficIndex {
 public:
  void Add(cEntity_Vehicle* vehicle, size_t slot);
  void Remove(cEntity_Vehicle* vehicle);
  // The list lost its entry at `slot`: the later slots move down one.
  void Compacted(size_t slot);
  void Clear();
  // Files the vehicle under its new position; its emergency flag is taken
  // again. Unlisted vehicles are ignored.
  void Moved(cEntity_Vehicle* vehicle);
  bool Contains(const cEntity_Vehicle* vehicle) const { return entries_.count(vehicle) != 0; }
  size_t Size() const { return entries_.size(); }

  // The nearest live vehicle ahead of `vehicle` in its lane: within
  // `sameLane` across its direction of travel and at a distance >= 0 and
  // below `*distance` along it; null (and `*distance` untouched) when none.
  cEntity_Vehicle* Ahead(cEntity_Vehicle* vehicle, float sameLane, float* distance);
  // The floored |dx| + |dz| distance to the nearest live emergency vehicle
  // other than `except`, or `none`.
  float NearestEmergency(float x, float z, const cEntity_Vehicle* except, float none) const;

 private:
  struct Item {
    float along;  // x in a line of constant z, z in a line of constant x
    size_t slot;
    cEntity_Vehicle* vehicle;
  };
  // Lines by their across coordinate; each line's items by (along, slot).
  using Lines = std::map<float, std::vector<Item>>;
  struct Entry {
    float x = 0.0f, z = 0.0f;  // the position the vehicle is filed under
    size_t slot = 0;
    bool emergency = false;
  };
  static void File(Lines& lines, float across, float along, size_t slot, cEntity_Vehicle* vehicle);
  static void Unfile(Lines& lines, float across, float along, size_t slot);
  // Moves the vehicle's item within its line to `along`, keeping the order.
  static void Slide(Lines& lines, float across, float from, float to, size_t slot);
  void Search(const Lines& lines, cEntity_Vehicle* vehicle, float across, float along, bool rising,
              float sameLane, float* distance, cEntity_Vehicle** best, size_t* bestSlot) const;

  std::unordered_map<const cEntity_Vehicle*, Entry> entries_;
  std::vector<cEntity_Vehicle*> emergency_;
  Lines byZ_;  // lines of constant z, ordered by x
  Lines byX_;  // lines of constant x, ordered by z
};
