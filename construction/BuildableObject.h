#pragma once
// A building type: one buildable item at one level, with its costs, rating
// contributions and placed instances. The building-types issue completes it.
#include <cstdint>
#include <string>

class BOInstance;
class cBusinessContract;

class cBuildableObject {
 public:
  virtual ~cBuildableObject() = default;

  virtual uint32_t GetTypeWord() = 0;
  virtual uint8_t GetClass() = 0;
  virtual uint16_t GetId() = 0;
  virtual uint8_t GetLevel() = 0;
  virtual std::string GetName() = 0;
  virtual float GetBuildCost() = 0;
  // Days of construction.
  virtual uint32_t GetBuildTime() = 0;
  virtual float GetMonthlyExpense() = 0;
  virtual uint32_t GetTechLevel() = 0;

  // Rating contributions of one operating instance.
  virtual float GetSafetyRating() = 0;
  virtual float GetSecurityRating() = 0;
  virtual float GetAestheticRating() = 0;
  virtual float GetSatisfactionRating() = 0;
  // Monthly income of an amenity of this type, in dollars.
  virtual float GetMonthlyIncome() = 0;

  // Placed instances, and the functional ones among them.
  virtual uint32_t GetInstanceCount() = 0;
  virtual BOInstance* GetInstance(uint32_t index) = 0;
  virtual uint32_t GetOperatingInstanceCount() = 0;
  virtual BOInstance* GetOperatingInstance(uint32_t index) = 0;

  // The business contract tied to an amenity type (not owned); only amenity
  // types keep one, the others ignore it.
  virtual void SetBusinessContract(cBusinessContract*) {}
  virtual cBusinessContract* GetBusinessContract() { return nullptr; }
};
