#pragma once
// What an airport must provide before a contract can be signed or kept: a
// doubly linked list of building requirements, new nodes at the head.
#include <cstdint>

// The identity word of a building type: class in bits 0-3, type id in bits
// 4-16, level in bits 17-19.
inline constexpr uint32_t MakeBuildingWord(uint8_t classCode, uint16_t id, uint8_t level) {
  return (classCode & 0xFu) | ((id & 0x1FFFu) << 4) | ((level & 7u) << 17);
}
inline constexpr uint8_t WordClass(uint32_t word) { return word & 0xF; }
inline constexpr uint16_t WordId(uint32_t word) { return (word >> 4) & 0x1FFF; }
inline constexpr uint8_t WordLevel(uint32_t word) { return (word >> 17) & 7; }

enum RequirementKind : uint8_t {
  kRequirement_Undefined = 0,  // always fails
  kRequirement_AnyOfClass = 1,
  kRequirement_Type = 2,         // a type at any level
  kRequirement_TypeAtLevel = 3,  // a type at the word's level or above
};

struct ContractRequirement {
  uint32_t word = 0;
  uint8_t buildCount = 0;
  uint8_t dedicateCount = 0;
  uint8_t kind = kRequirement_Undefined;
  ContractRequirement* next = nullptr;
  ContractRequirement* prev = nullptr;
};

class RequirementList {
 public:
  RequirementList() = default;
  ~RequirementList() { Clear(); }
  RequirementList(const RequirementList&) = delete;
  RequirementList& operator=(const RequirementList&) = delete;

  ContractRequirement* Head() const { return head_; }
  bool Empty() const { return head_ == nullptr; }
  // A new node at the head.
  ContractRequirement* Add(uint32_t word, uint8_t buildCount, uint8_t dedicateCount, uint8_t kind) {
    auto* node = new ContractRequirement{word, buildCount, dedicateCount, kind, head_, nullptr};
    if (head_) head_->prev = node;
    else tail_ = node;
    head_ = node;
    return node;
  }
  void Clear() {
    while (head_) {
      ContractRequirement* next = head_->next;
      delete head_;
      head_ = next;
    }
    tail_ = nullptr;
  }

 private:
  ContractRequirement* head_ = nullptr;
  ContractRequirement* tail_ = nullptr;
};

// The noun of a building class in the player's messages; empty above 12.
const char* BuildingClassNoun(uint8_t classCode, bool plural);
