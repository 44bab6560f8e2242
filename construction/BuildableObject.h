#pragma once
// A building type: one buildable item at one level, with its identity word,
// its footprint on the plot grid, its model, costs, requirements, rating
// contributions and the list of its placed instances. The data table reader
// fills a type through the setters and registers it with the building
// manager, which keeps it for the whole game.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "construction/OID.h"
#include "engine/math/JMatrix.h"

class BOInstance;
class C3DImage;
class C3DModel;
class cBusinessContract;
class cEntity_BuildingManager;

// One requirement of a type: its code (1 safety .. 8 weather) and value.
struct Rating {
  uint32_t code = 0;
  float value = 0.0f;
};

// A footprint rectangle in cells, relative to the anchor cell, rotation 0.
struct FootprintRect {
  int16_t x = 0;
  int16_t y = 0;
  uint16_t w = 0;
  uint16_t l = 0;
};

// A type's footprint as a counted, owned array (the form the plot marks).
struct FootprintRecord {
  uint8_t count = 0;
  std::unique_ptr<FootprintRect[]> rects;
};

// Road access point: cell offset from the anchor at rotation 0, the
// direction it faces and a flag (0 from the tables).
struct RAStruct {
  int16_t x = 0;
  int16_t y = 0;
  uint8_t direction = 0;
  uint8_t flag = 0;
};

// Taxiway access rectangle: corner offset from the anchor at rotation 0 and
// its extents in cells.
struct TAStruct {
  int16_t x = 0;
  int16_t y = 0;
  uint16_t w = 0;
  uint16_t l = 0;
  uint8_t flag = 0;
};

// A drop-off place of a storage type: its cell rectangle (extents 1).
struct DropoffPlace {
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t w = 1;
  uint16_t l = 1;
  uint16_t spare[2] = {0, 0};
};

// The ambient traffic data of a building type, from its "ambientdata" line:
// N vehicles a day first, the kind flags (0x200 fire responders, 0x800
// destinations) in the fourth value's place among the integers.
struct AmbientTrafficData {
  int32_t count = 0;
  int32_t valueB = 0;
  int32_t valueC = 0;
  uint8_t flag = 0;
  float valueE = 0.0f;
  int32_t flags = 0;
};

// The requirement code of a keyword (any case); 0 for an unknown keyword.
uint32_t RequirementCodeOf(const std::string& keyword);

// Turns a rectangle by quarter turns (0-3) about the anchor, in 16 bits;
// other rotations leave it as it is.
FootprintRect RotateRect(const FootprintRect& rect, uint8_t rotation);

class cBuildableObject {
 public:
  cBuildableObject() = default;
  explicit cBuildableObject(cEntity_BuildingManager* owner) : owner_(owner) {}
  // Releases the model and thumbnail handles and deletes every placed
  // instance still held.
  virtual ~cBuildableObject();
  cBuildableObject(const cBuildableObject&) = delete;
  cBuildableObject& operator=(const cBuildableObject&) = delete;

  // Identity. Out-of-range ids, levels and categories raise an "Error" box
  // and are held at 8191, 7 and 6.
  virtual void SetClass(uint8_t classCode);
  virtual void SetId(uint16_t id);
  virtual void SetLevel(uint8_t level);
  virtual void SetCategory(uint8_t category);
  virtual void SetWidth(uint16_t width) { width_ = width; }
  virtual void SetLength(uint16_t length) { length_ = length; }
  virtual void SetSize2X(uint16_t v) { size2_[0] = v; }
  virtual void SetSize2Y(uint16_t v) { size2_[1] = v; }
  virtual void SetName(const std::string& name) { name_ = name; }
  virtual void SetModel(const std::string& model) { model_ = model; }
  virtual void SetThumbnail(const std::string& thumbnail) { thumbnail_ = thumbnail; }
  // Release the handle they replace; the type owns the new one.
  virtual void SetModelObject(C3DModel* model);
  virtual void SetThumbnailObject(C3DModel* thumbnail);
  virtual void SetBuildTime(uint16_t time) { buildTime_ = time; }
  virtual void SetBuildCost(float cost) { buildCost_ = cost; }
  virtual void SetMonthlyExpense(float expense) { monthlyExpense_ = expense; }
  virtual void SetRequiredYear(uint16_t year) { requiredYear_ = year; }
  virtual void SetSound(const std::string& sound) { sound_ = sound; }
  // Takes ownership of the array; the previous one is freed.
  virtual void SetRects(uint8_t count, std::unique_ptr<FootprintRect[]> rects);
  virtual void SetTechLevel(uint8_t level) { techLevel_ = level; }
  // Ignored when index is negative or not below the count.
  virtual void SetRequirementValue(int32_t index, float value);
  // Appends the keyword's requirement with value 0; unknown keywords add nothing.
  virtual void AddRequirement(const std::string& keyword);

  virtual uint32_t GetTypeWord() { return word_; }
  virtual uint8_t GetClass() { return OidClass(word_); }
  virtual uint16_t GetId() { return OidId(word_); }
  virtual uint8_t GetLevel() { return OidLevel(word_); }
  virtual uint8_t GetCategory() { return OidCategory(word_); }
  virtual uint16_t GetWidthRotated(uint8_t rotation) { return (rotation & 1) ? length_ : width_; }
  virtual uint16_t GetLengthRotated(uint8_t rotation) { return (rotation & 1) ? width_ : length_; }
  virtual uint16_t GetSize2X() { return size2_[0]; }
  virtual uint16_t GetSize2Y() { return size2_[1]; }
  virtual std::string GetName() { return name_; }
  virtual std::string GetModel() { return model_; }
  virtual std::string GetSound() { return sound_; }
  virtual std::string GetThumbnail() { return thumbnail_; }
  virtual C3DModel* GetModelObject() { return modelObject_; }
  virtual C3DModel** GetModelObjectSlot() { return &modelObject_; }
  virtual C3DModel* GetThumbnailObject() { return thumbnailObject_; }
  virtual C3DModel** GetThumbnailObjectSlot() { return &thumbnailObject_; }
  virtual uint32_t GetInstanceCount() { return instanceCount_; }
  virtual uint32_t GetOperatingInstanceCount() { return static_cast<uint32_t>(operating_.size()); }
  virtual float GetBuildCost() { return buildCost_; }
  // Construction time as the tables give it (the manager takes it times 24
  // as hours).
  virtual uint32_t GetBuildTime() { return buildTime_; }
  virtual float GetMonthlyExpense() { return monthlyExpense_; }
  virtual uint16_t GetRequiredYear() { return requiredYear_; }
  virtual uint32_t GetTechLevel() { return techLevel_; }
  // The ambient traffic data of a type with road access; null for others.
  virtual const AmbientTrafficData* GetAmbientTraffic() { return nullptr; }
  // 0.0 out of range.
  virtual float GetRequirementValue(int32_t index);
  // 0xFFFFFFFF out of range.
  virtual uint32_t GetRequirementCode(int32_t index);
  virtual uint32_t GetRequirementCount() { return static_cast<uint32_t>(requirements_.size()); }
  virtual FootprintRect** GetRectsSlot() { return &rectsRaw_; }
  // The type's own array, not a copy.
  virtual void GetRects(uint8_t* count, FootprintRect** rects);
  virtual uint8_t GetRectCount() { return rectCount_; }
  // Appends to the placed instances.
  virtual void AddInstance(BOInstance* instance);
  // Withdraws a functional instance from the operating list first, then
  // removes it from the placed list; an unknown instance changes nothing.
  virtual void RemoveInstance(BOInstance* instance);
  virtual void ResetTransform();
  virtual const JMatrix& GetTransform() { return transform_; }
  virtual bool AlwaysTrue() { return true; }
  // A new instance of this type's instance class, its type set and Init
  // run; the caller owns it.
  virtual BOInstance* CreateInstance();
  // Width, length and centre from the rectangles; icon height from the model
  // unless one was set.
  virtual void UpdateFootprintBounds();
  // The rectangles turned by the instance's rotation, replacing what `out` held.
  virtual void GetFootprintCells(BOInstance* instance, FootprintRecord* out);
  // A new turned copy; the caller frees the array.
  virtual void GetFootprintCellArray(BOInstance* instance, uint8_t* count, FootprintRect** rects);

  // Rating contributions of one operating instance.
  virtual float GetSafetyRating() { return safety_; }
  virtual float GetSecurityRating() { return security_; }
  virtual float GetAestheticRating() { return aesthetic_; }
  virtual float GetSatisfactionRating() { return satisfaction_; }
  // Monthly income of an amenity of this type (its business's payment).
  virtual float GetMonthlyIncome() { return 0.0f; }

  virtual BOInstance* GetInstance(uint32_t index) { return index < placed_.size() ? placed_[index] : nullptr; }
  virtual BOInstance* GetOperatingInstance(uint32_t index) {
    return index < operating_.size() ? operating_[index] : nullptr;
  }

  // The business contract tied to an amenity type (not owned); only amenity
  // types keep one, the others ignore it.
  virtual void SetBusinessContract(cBusinessContract*) {}
  virtual cBusinessContract* GetBusinessContract() { return nullptr; }

  // The road access of a building type; none for a plain object.
  virtual bool HasRoadAccess() { return hasRoadAccess_ != 0; }
  virtual const std::vector<RAStruct>* GetRoadAccessPoints() { return nullptr; }
  virtual const std::vector<TAStruct>* GetTaxiwayAccessPoints() { return nullptr; }

  // The operating list and the availability notices of the first and last.
  void AddOperatingInstance(BOInstance* instance);
  void RemoveOperatingInstance(BOInstance* instance);
  // Picks the serial of the next placement; false when every serial is
  // taken (zoning dialog) or a runway finds no control tower with room.
  bool ReserveInstanceSerial();
  // Empties the placed list (each instance's draw entry leaves the model;
  // deleted with `destroy`); the operating list is dropped without notices.
  void ClearInstances(bool destroy);

  void SetRatings(float safety, float security, float aesthetic, float satisfaction) {
    safety_ = safety;
    security_ = security;
    aesthetic_ = aesthetic;
    satisfaction_ = satisfaction;
  }
  void SetDropoffPlaces(std::vector<DropoffPlace> places) { dropoffs_ = std::move(places); }
  const std::vector<DropoffPlace>& GetDropoffPlaces() const { return dropoffs_; }
  int16_t GetCentreX() const { return centre_[0]; }
  int16_t GetCentreY() const { return centre_[1]; }
  float GetIconHeight() const { return iconHeight_; }
  // A height set here (the definition's "icon_height") is kept when the
  // bounds are updated; without one the model's bounds give it.
  void SetIconHeight(float height) {
    iconHeight_ = height;
    iconHeightGiven_ = true;
  }
  uint16_t GetWidth() const { return width_; }
  uint16_t GetLength() const { return length_; }
  cEntity_BuildingManager* GetOwner() const { return owner_; }
  void SetOwner(cEntity_BuildingManager* owner) { owner_ = owner; }
  const std::vector<BOInstance*>& PlacedInstances() const { return placed_; }
  const std::vector<BOInstance*>& OperatingInstances() const { return operating_; }
  // Sets the serial field of the type's word directly (tests, restore).
  void SetSerial(uint16_t serial) { word_ = OidWithSerial(word_, serial); }
  // The model part index handed with the transform.
  uint8_t modelPart = 0;
  uint8_t requiresTaxiway = 0;
  // Index of the model's "Normal" animation (0 when it has none).
  uint8_t animationIndex = 0;

 protected:
  // Runs the airport check and the availability notice of this type.
  void NotifyAvailability(bool available);

  std::vector<Rating> requirements_;
  OID word_ = 0;
  uint16_t width_ = 1;
  uint16_t length_ = 1;
  uint16_t size2_[2] = {0, 0};
  int16_t centre_[2] = {0, 0};
  float iconHeight_ = 2.0f;
  bool iconHeightGiven_ = false;
  std::string name_;
  std::string model_;
  std::string thumbnail_;
  std::string sound_;
  C3DModel* modelObject_ = nullptr;
  C3DModel* thumbnailObject_ = nullptr;
  JMatrix transform_ = JMatrix::Identity();
  uint16_t buildTime_ = 1;
  float buildCost_ = 0.0f;
  float monthlyExpense_ = 0.0f;
  uint16_t requiredYear_ = 0;
  uint32_t instanceCount_ = 0;
  uint8_t techLevel_ = 0;
  uint8_t rectCount_ = 0;
  std::unique_ptr<FootprintRect[]> rects_;
  FootprintRect* rectsRaw_ = nullptr;  // mirrors rects_ for the slot getter
  cEntity_BuildingManager* owner_ = nullptr;
  std::vector<BOInstance*> placed_;
  std::vector<BOInstance*> operating_;
  uint8_t hasRoadAccess_ = 0;
  float safety_ = 0.0f;
  float security_ = 0.0f;
  float aesthetic_ = 0.0f;
  float satisfaction_ = 0.0f;
  std::vector<DropoffPlace> dropoffs_;
};

class cRoadAccessObject {
 public:
  virtual ~cRoadAccessObject() = default;
  virtual void AddAccessPoint(const RAStruct& point) { roadAccess_.push_back(point); }
  virtual const std::vector<RAStruct>& GetAccessPoints() { return roadAccess_; }
  virtual bool HasAccess() { return !roadAccess_.empty(); }

 protected:
  std::vector<RAStruct> roadAccess_;
};

class cTaxiwayAccessObject {
 public:
  virtual ~cTaxiwayAccessObject() = default;
  virtual void AddAccessPoint(const TAStruct& point) { taxiwayAccess_.push_back(point); }
  virtual const std::vector<TAStruct>& GetAccessPoints() { return taxiwayAccess_; }

 protected:
  std::vector<TAStruct> taxiwayAccess_;
};

// A type with road access.
class cBuilding : public cBuildableObject, public cRoadAccessObject {
 public:
  using cBuildableObject::cBuildableObject;
  BOInstance* CreateInstance() override;
  bool HasRoadAccess() override { return !roadAccess_.empty(); }
  const std::vector<RAStruct>* GetRoadAccessPoints() override { return &roadAccess_; }
  void AddAccessPoint(const RAStruct& point) override {
    cRoadAccessObject::AddAccessPoint(point);
    hasRoadAccess_ = 1;
  }

  const AmbientTrafficData* GetAmbientTraffic() override { return &ambient; }

  AmbientTrafficData ambient;
};
