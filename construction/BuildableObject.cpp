#include "construction/BuildableObject.h"

#include <algorithm>
#include <cstdio>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "engine/math/Footprint.h"
#include "engine/services/C3DModel.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractManager.h"
#include "simulation/SimulationWidgets.h"

namespace {

// Bad building data stops nothing: an "Error" box, then play goes on. A
// headless run gets the text on the debug channel and never blocks.
void ShowDataError(const std::string& text) {
  platform::DebugPrintf("[cBuildableObject] %s\n", text.c_str());
  platform::MessageBox(text, "Error", platform::MB_OK | platform::MB_ICONERROR);
}

}  // namespace

uint32_t RequirementCodeOf(const std::string& keyword) {
  static const char* const kKeywords[] = {"safety",   "security", "buildings", "contracts",
                                          "budget",   "capacity", "extra",     "weather"};
  for (uint32_t i = 0; i < 8; ++i) {
    if (str::EqualsNoCase(keyword, kKeywords[i])) return i + 1;
  }
  return 0;
}

FootprintRect RotateRect(const FootprintRect& rect, uint8_t rotation) {
  int16_t x = rect.x, y = rect.y;
  int16_t w = static_cast<int16_t>(rect.w), l = static_cast<int16_t>(rect.l);
  if (rotation <= 3) RotateFootprint(rotation, 0, 0, x, y, w, l);
  return FootprintRect{x, y, static_cast<uint16_t>(w), static_cast<uint16_t>(l)};
}

cBuildableObject::~cBuildableObject() {
  if (modelObject_) modelObject_->Release();
  if (thumbnailObject_) thumbnailObject_->Release();
  std::vector<BOInstance*> remaining;
  remaining.swap(placed_);
  for (BOInstance* instance : remaining) delete instance;
}

void cBuildableObject::SetClass(uint8_t classCode) { word_ = OidWithClass(word_, classCode & 0xF); }

void cBuildableObject::SetId(uint16_t id) {
  if (id >= kInvalidTypeId) {
    ShowDataError(
        "You have too many buildings for the game to correctly handle.\nThe game will become highly unstable with "
        "this number of buildings.\nPlease close down the game and lessen the number of buildings.");
    id = kInvalidTypeId;
  }
  word_ = OidWithId(word_, id);
}

void cBuildableObject::SetLevel(uint8_t level) {
  if (level >= kBuildingLevelCount) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "The building %s has an invalid level specified (%d).  Building levels must be 0-7.  Please close "
                  "down the game and adjust the levels.",
                  name_.c_str(), level);
    ShowDataError(text);
    level = 7;
  }
  word_ = OidWithLevel(word_, level);
}

void cBuildableObject::SetCategory(uint8_t category) {
  if (category >= kCategoryCount) {
    ShowDataError("The building " + name_ +
                  " has an invalid category specified.  Please close down the game and adjust the category.");
    category = 6;
  }
  word_ = OidWithCategory(word_, category);
}

void cBuildableObject::SetModelObject(C3DModel* model) {
  if (modelObject_ && modelObject_ != model) modelObject_->Release();
  modelObject_ = model;
}

void cBuildableObject::SetThumbnailObject(C3DModel* thumbnail) {
  if (thumbnailObject_ && thumbnailObject_ != thumbnail) thumbnailObject_->Release();
  thumbnailObject_ = thumbnail;
}

void cBuildableObject::SetRects(uint8_t count, std::unique_ptr<FootprintRect[]> rects) {
  rects_ = std::move(rects);
  rectCount_ = rects_ ? count : 0;
  rectsRaw_ = rects_.get();
}

void cBuildableObject::SetRequirementValue(int32_t index, float value) {
  if (index < 0 || static_cast<size_t>(index) >= requirements_.size()) return;
  requirements_[static_cast<size_t>(index)].value = value;
}

void cBuildableObject::AddRequirement(const std::string& keyword) {
  const uint32_t code = RequirementCodeOf(keyword);
  if (code) requirements_.push_back(Rating{code, 0.0f});
}

float cBuildableObject::GetRequirementValue(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= requirements_.size()) return 0.0f;
  return requirements_[static_cast<size_t>(index)].value;
}

uint32_t cBuildableObject::GetRequirementCode(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= requirements_.size()) return 0xFFFFFFFFu;
  return requirements_[static_cast<size_t>(index)].code;
}

void cBuildableObject::GetRects(uint8_t* count, FootprintRect** rects) {
  if (count) *count = rectCount_;
  if (rects) *rects = rects_.get();
}

void cBuildableObject::AddInstance(BOInstance* instance) {
  placed_.push_back(instance);
  ++instanceCount_;
}

void cBuildableObject::RemoveInstance(BOInstance* instance) {
  if (!instance) return;
  // The operating list holds the instances whose functional flag is set.
  if (instance->functional || instance->IsFunctional()) RemoveOperatingInstance(instance);
  auto it = std::find(placed_.begin(), placed_.end(), instance);
  if (it == placed_.end()) return;
  placed_.erase(it);
  if (instanceCount_) --instanceCount_;
}

void cBuildableObject::ResetTransform() {
  transform_ = JMatrix::Identity();
  // The model takes its part transform from the instance matrices it holds;
  // the type's own transform stays the identity it draws with.
}

BOInstance* cBuildableObject::CreateInstance() {
  auto* instance = new BOInstance();
  instance->SetType(this);
  instance->Init();
  return instance;
}

void cBuildableObject::UpdateFootprintBounds() {
  if (rectCount_ == 0 || !rects_) {
    // No rectangles: keep width and length and centre the building on them.
    centre_[0] = static_cast<int16_t>(width_ / 2);
    centre_[1] = static_cast<int16_t>(length_ / 2);
  } else {
    int32_t minX = 32767, minY = 32767, maxX = -32768, maxY = -32768;
    for (uint8_t i = 0; i < rectCount_; ++i) {
      const FootprintRect& r = rects_[i];
      minX = std::min<int32_t>(minX, r.x);
      maxX = std::max<int32_t>(maxX, static_cast<int16_t>(r.x + r.w));
      minY = std::min<int32_t>(minY, r.y);
      maxY = std::max<int32_t>(maxY, static_cast<int16_t>(r.y + r.l));
    }
    width_ = static_cast<uint16_t>(maxX - minX);
    length_ = static_cast<uint16_t>(maxY - minY);
    centre_[0] = static_cast<int16_t>(minX + width_ / 2);
    centre_[1] = static_cast<int16_t>(minY + length_ / 2);
  }
  if (iconHeightGiven_) return;
  if (GetClass() == kClass_Road) {
    iconHeight_ = (8.0f - 0.0f) * 0.05f;
  } else if (modelObject_) {
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    modelObject_->GetBounds(lo, hi, nullptr);
    iconHeight_ = (hi[1] - lo[1]) * 0.05f;
  }
}

void cBuildableObject::GetFootprintCells(BOInstance* instance, FootprintRecord* out) {
  if (!out) return;
  out->rects.reset();
  out->count = 0;
  FootprintRect* array = nullptr;
  GetFootprintCellArray(instance, &out->count, &array);
  out->rects.reset(array);
}

void cBuildableObject::GetFootprintCellArray(BOInstance* instance, uint8_t* count, FootprintRect** rects) {
  if (count) *count = rectCount_;
  if (!rects) return;
  *rects = nullptr;
  if (!rectCount_ || !rects_) return;
  const uint8_t rotation = instance ? instance->rotation : 0;
  auto* copy = new FootprintRect[rectCount_];
  for (uint8_t i = 0; i < rectCount_; ++i) copy[i] = RotateRect(rects_[i], rotation);
  *rects = copy;
}

void cBuildableObject::NotifyAvailability(bool available) {
  // The airport check runs whenever a type gains its first or loses its last
  // operating instance, so the airport's functional state follows both ways.
  cKV9_GlobalWrapper* table = owner_ ? owner_->Table() : nullptr;
  if (table && table->contractManager) table->contractManager->CheckAirportFunctional();
  if (owner_) owner_->NotifyTypeAvailable(word_, available);
}

void cBuildableObject::AddOperatingInstance(BOInstance* instance) {
  operating_.push_back(instance);
  if (operating_.size() == 1) NotifyAvailability(true);
}

void cBuildableObject::RemoveOperatingInstance(BOInstance* instance) {
  if (!instance) return;
  for (auto it = operating_.begin(); it != operating_.end(); ++it) {
    if (SameBuilding((*it)->word, instance->word)) {
      operating_.erase(it);
      if (operating_.empty()) NotifyAvailability(false);
      return;
    }
  }
}

bool cBuildableObject::ReserveInstanceSerial() {
  const uint16_t start = OidSerial(word_);
  for (;;) {
    const uint16_t serial = OidSerial(word_);
    bool taken = false;
    for (BOInstance* instance : placed_) {
      if (OidSerial(instance->word) == serial) {
        taken = true;
        break;
      }
    }
    if (!taken) break;
    word_ = OidWithSerial(word_, static_cast<uint16_t>((serial + 1) % kInstanceSerialCount));
    if (OidSerial(word_) == start) {
      if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->ShowScene("scnZoningDialog", true);
      return false;
    }
  }
  if (GetClass() != kClass_Runway || !owner_) return true;
  // A runway needs a control tower of its level with room for one more.
  auto* runway = dynamic_cast<cRunway*>(this);
  const uint8_t needed = runway ? runway->requiredTowerLevel : 0;
  for (OrgInstance* tower : owner_->controlTowers) {
    auto* towerType = dynamic_cast<cOrganizationalFacility*>(tower->GetType());
    if (!towerType || OidLevel(tower->word) < needed) continue;
    if (static_cast<int32_t>(tower->runways.size()) != towerType->GetCapacity()) return true;
  }
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->ShowScene("scnControlTowerDialog", true);
  return false;
}

void cBuildableObject::ClearInstances(bool destroy) {
  while (!placed_.empty()) {
    BOInstance* instance = placed_.front();
    placed_.erase(placed_.begin());
    if (modelObject_) modelObject_->RemoveInstance(&instance->world);
    if (destroy) delete instance;
  }
  operating_.clear();
  operating_.shrink_to_fit();
  instanceCount_ = 0;
}

// ---------------------------------------------------------------------------
// Instance factories of the facility classes.

namespace {

template <typename T>
BOInstance* MakeInstance(cBuildableObject* type) {
  auto* instance = new T();
  instance->SetType(type);
  instance->Init();
  return instance;
}

}  // namespace

BOInstance* cBuilding::CreateInstance() { return MakeInstance<BuildingInstance>(this); }
BOInstance* cAmenity::CreateInstance() { return MakeInstance<AmenityInstance>(this); }
BOInstance* cParkingFacility::CreateInstance() { return MakeInstance<ParkingInstance>(this); }
BOInstance* cAdminFacility::CreateInstance() { return MakeInstance<AdminInstance>(this); }
BOInstance* cSecurityFacility::CreateInstance() { return MakeInstance<SecurityInstance>(this); }
BOInstance* cEmergencyFacility::CreateInstance() { return MakeInstance<EmergencyInstance>(this); }
BOInstance* cOrganizationalFacility::CreateInstance() { return MakeInstance<OrgInstance>(this); }
BOInstance* cTerminal::CreateInstance() { return MakeInstance<TerminalInstance>(this); }
BOInstance* cStorageFacility::CreateInstance() { return MakeInstance<StorageInstance>(this); }
BOInstance* cRunway::CreateInstance() { return MakeInstance<RunwayInstance>(this); }
BOInstance* cServiceFacility::CreateInstance() { return MakeInstance<ServiceInstance>(this); }

float cAmenity::GetMonthlyIncome() { return business_ ? business_->monthlyPayment : 0.0f; }
