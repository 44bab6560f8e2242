// The building manager's save record and the rebuilding of the placed
// buildings from it. Types are named by class and name, not id, because ids
// follow the order of the definitions table.
#include <algorithm>
#include <cstring>

#include "base/ByteReader.h"
#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "construction/TerminalItem.h"
#include "engine/files/SerializeRecord.h"
#include "engine/services/C3DModel.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/AirlineContract.h"
#include "simulation/ContractManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"

namespace {

constexpr uint32_t kRecordBytes = 124;
constexpr uint32_t kItemBytes = 68;
constexpr size_t kNameField = 33;
constexpr uint32_t kNewGameGroupNumber = 14;

// A zero-terminated text of at most 32 characters in a 33-byte field.
bool FieldTerminated(const uint8_t* field) { return std::memchr(field, 0, kNameField) != nullptr; }

std::string FieldText(const uint8_t* field) {
  const void* end = std::memchr(field, 0, kNameField);
  const size_t n = end ? static_cast<size_t>(static_cast<const uint8_t*>(end) - field) : kNameField - 1;
  return std::string(reinterpret_cast<const char*>(field), n);
}

void PutField(SaveRecordWriter& out, const std::string& text) {
  uint8_t field[kNameField] = {};
  std::memcpy(field, text.data(), std::min(text.size(), kNameField - 1));
  out.PutBytes(field, kNameField);
}

// The fields of a 124-byte record.
struct Record {
  uint8_t classCode = 0;
  std::string name;
  uint8_t level = 0;
  uint16_t serial = 0;
  float health = 1.0f;
  uint16_t constructionLeft = 0;
  uint16_t x = 0;
  uint16_t y = 0;
  uint8_t rotation = 0;
  std::string date;
  std::string owner;
  int32_t serviceLevel = -1;
};

Record ReadRecord(const uint8_t* at) {
  ByteReader in(at, kRecordBytes);
  Record r;
  r.classCode = at[0];
  r.name = FieldText(at + 1);
  r.level = at[34];
  in.Seek(36);
  r.serial = in.U16();
  in.Seek(40);
  r.health = in.F32();
  r.constructionLeft = in.U16();
  in.Seek(48);
  const uint32_t position = in.U32();
  r.x = static_cast<uint16_t>(position & 0x3FF);
  r.y = static_cast<uint16_t>((position >> 10) & 0x3FF);
  r.rotation = static_cast<uint8_t>((position >> 20) & 0xF);
  r.date = FieldText(at + 52);
  r.owner = FieldText(at + 85);
  in.Seek(120);
  r.serviceLevel = in.I32();
  return r;
}

// Bytes of the class block after a record of that class, or false when it
// does not fit or does not check out.
bool ClassBlockBytes(uint8_t classCode, const ByteReader& at, size_t* bytes, std::string* why) {
  ByteReader in = at;
  switch (classCode) {
    case kClass_Terminal: {
      const uint16_t count = in.U16();
      if (!in.Ok() || static_cast<size_t>(count) * kItemBytes > in.Remaining()) {
        *why = "terminal items beyond the end";
        return false;
      }
      for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* item = in.Current();
        if (!FieldTerminated(item) || !FieldTerminated(item + kNameField)) {
          *why = "terminal item name not terminated";
          return false;
        }
        if (item[66] >= kInteriorSide || item[67] >= kInteriorSide) {
          *why = "terminal item outside the interior";
          return false;
        }
        in.Skip(kItemBytes);
      }
      *bytes = 2 + static_cast<size_t>(count) * kItemBytes;
      return true;
    }
    case kClass_Storage:
      if (!StorageInstance::CheckCargo(in, bytes)) {
        *why = "cargo record";
        return false;
      }
      return true;
    case kClass_Admin:
    case kClass_Parking:
      if (in.Remaining() < 4) {
        *why = "class block beyond the end";
        return false;
      }
      *bytes = 4;
      return true;
    default:
      *bytes = 0;
      return true;
  }
}

}  // namespace

bool cEntity_BuildingManager::CheckBlob(const uint8_t* bytes, uint32_t n, std::string* why) const {
  std::string reason;
  std::string& out = why ? *why : reason;
  ByteReader in(bytes, n);
  const uint32_t count = in.U32();
  if (!in.Ok() || count > in.Remaining() / kRecordBytes) {
    out = "record count beyond the end";
    return false;
  }
  uint32_t width = 1024, height = 1024;
  if (table_ && table_->gamePlot && table_->gamePlot->GetWidth()) {
    width = table_->gamePlot->GetWidth();
    height = table_->gamePlot->GetHeight();
  }
  for (uint32_t i = 0; i < count; ++i) {
    if (in.Remaining() < kRecordBytes) {
      out = "record beyond the end";
      return false;
    }
    const uint8_t* at = in.Current();
    if (at[0] > kClass_None) {
      out = "class code above 13";
      return false;
    }
    in.Skip(kRecordBytes);
    if (at[0] == kClass_None) continue;
    if (!FieldTerminated(at + 1) || !FieldTerminated(at + 52) || !FieldTerminated(at + 85)) {
      out = "text field not terminated";
      return false;
    }
    const Record r = ReadRecord(at);
    if (r.level >= kBuildingLevelCount || r.rotation > 3 || r.serial >= kInstanceSerialCount) {
      out = "level, rotation or serial out of range";
      return false;
    }
    if (r.x >= width || r.y >= height) {
      out = "position outside the plot";
      return false;
    }
    size_t extra = 0;
    if (!ClassBlockBytes(r.classCode, in, &extra, &out)) return false;
    in.Skip(extra);
  }
  in.Skip(kTechnologyFlagCount);
  for (uint32_t g = 0; g < kTechnologyFlagCount && in.Ok(); ++g) {
    const uint16_t a = in.U16();
    if (!in.Ok() || static_cast<size_t>(a) * 4 > in.Remaining()) break;
    in.Skip(static_cast<size_t>(a) * 4);
    const uint16_t b = in.U16();
    if (!in.Ok() || static_cast<size_t>(b) * 4 > in.Remaining()) {
      in.Fail();
      break;
    }
    in.Skip(static_cast<size_t>(b) * 4 + 5);
  }
  if (!in.Ok()) {
    out = "technology records beyond the end";
    return false;
  }
  return true;
}

BOInstance* cEntity_BuildingManager::CreateInstanceForLoad(uint8_t classCode, uint16_t id, uint8_t level,
                                                          uint16_t serial) {
  cBuildableObject* type = GetBuildingType(classCode, id, level);
  if (!type) return nullptr;
  BOInstance* instance = type->CreateInstance();
  if (!instance) return nullptr;
  instance->word = OidWithSerial(instance->word, serial);
  instance->x = 0;
  instance->y = 0;
  instance->rotation = 0;
  SetPlacementPosition(instance, 0, 0);
  return instance;
}

void cEntity_BuildingManager::WriteRecord(SaveRecordWriter& out, BOInstance* instance) {
  cBuildableObject* type = instance->GetType();
  const std::string* name = GetTypeName(type->GetClass(), type->GetId());
  const std::string typeName = name ? *name : type->GetName();
  if (typeName.size() > kNameField - 1) {
    // A name that cannot be stored: a record readers skip, without its block.
    uint8_t empty[kRecordBytes] = {};
    empty[0] = kClass_None;
    out.PutBytes(empty, kRecordBytes);
    return;
  }
  out.PutU8(type->GetClass());
  PutField(out, typeName);
  out.PutU8(OidLevel(instance->word));
  out.PutU8(0);
  out.PutU16(OidSerial(instance->word));
  out.PutU16(0);
  out.PutF32(instance->health);
  out.PutU16(instance->constructionTimeLeft);
  out.PutU16(0);
  out.PutU32(static_cast<uint32_t>(instance->x & 0x3FF) | (static_cast<uint32_t>(instance->y & 0x3FF) << 10) |
             (static_cast<uint32_t>(instance->rotation & 0xF) << 20));
  PutField(out, instance->constructionTimeLeft ? std::string() : instance->date);
  PutField(out, instance->owner ? instance->owner->GetName() : std::string());
  out.PutU16(0);
  out.PutI32(instance->serviceLevel);
  switch (type->GetClass()) {
    case kClass_Terminal: {
      auto* terminal = dynamic_cast<TerminalInstance*>(instance);
      const size_t count = terminal ? terminal->items.size() : 0;
      out.PutU16(static_cast<uint16_t>(count));
      for (size_t i = 0; i < count; ++i) {
        const TerminalItemNode& node = terminal->items[i];
        PutField(out, node.item ? node.item->name : std::string());
        PutField(out, node.contract ? node.contract->GetName() : std::string());
        out.PutU8(static_cast<uint8_t>(node.x));
        out.PutU8(static_cast<uint8_t>(node.y));
      }
      break;
    }
    case kClass_Storage:
      if (auto* storage = dynamic_cast<StorageInstance*>(instance)) {
        storage->SaveCargo(out);
      } else {
        StorageInstance().SaveCargo(out);
      }
      break;
    case kClass_Admin: {
      auto* admin = dynamic_cast<AdminInstance*>(instance);
      out.PutU32(static_cast<uint32_t>(admin ? admin->freePlaces : 0));
      break;
    }
    case kClass_Parking: {
      auto* parking = dynamic_cast<ParkingInstance*>(instance);
      out.PutU32(static_cast<uint32_t>(parking ? parking->parkingCapacity : 0));
      break;
    }
    default:
      break;
  }
}

bool cEntity_BuildingManager::Save(SerialBlock* bytes, uint32_t* n) {
  SaveRecordWriter out;
  uint32_t count = 0;
  for (auto& list : types_)
    for (BOLevels& levels : list)
      for (cBuildableObject* type : levels.levels)
        if (type) count += static_cast<uint32_t>(type->PlacedInstances().size());
  out.PutU32(count);
  for (auto& list : types_)
    for (BOLevels& levels : list)
      for (cBuildableObject* type : levels.levels)
        if (type)
          for (BOInstance* instance : type->PlacedInstances()) WriteRecord(out, instance);
  out.PutBytes(technologyFlags, kTechnologyFlagCount);
  for (const TypeWordGroup& group : typeWordGroups) {
    out.PutU16(static_cast<uint16_t>(group.listA.size()));
    for (OID word : group.listA) out.PutU32(word);
    out.PutU16(static_cast<uint16_t>(group.listB.size()));
    for (OID word : group.listB) out.PutU32(word);
    out.PutU8(group.state);
    out.PutU32(group.number);
  }
  return out.Release(bytes, n);
}

void cEntity_BuildingManager::RestoreRecord(ByteReader& in, std::vector<RunwayInstance*>& restoredRunways) {
  const uint8_t* at = in.Current();
  in.Skip(kRecordBytes);
  if (at[0] == kClass_None) return;
  const Record r = ReadRecord(at);
  cKV9_GlobalWrapper* table = table_;
  const uint16_t id = FindTypeIndexByName(r.classCode, r.name);
  BOInstance* instance = CreateInstanceForLoad(r.classCode, id, r.level, r.serial);
  if (!instance) {
    // The type is gone: pass over the class block by its lengths.
    size_t extra = 0;
    std::string why;
    ClassBlockBytes(r.classCode, in, &extra, &why);
    in.Skip(extra);
    return;
  }
  cBuildableObject* type = instance->GetType();
  instance->constructionTimeLeft = r.constructionLeft;
  instance->health = (r.classCode == kClass_Terminal || r.classCode == kClass_Runway) ? 1.0f : r.health;
  instance->rotation = r.rotation;
  instance->serviceLevel = r.serviceLevel;
  instance->serviceValue = BOInstance::ServiceValueOf(r.serviceLevel);
  SetPlacementPosition(instance, r.x, r.y);
  type->AddInstance(instance);
  if (type->GetModelObject()) type->GetModelObject()->AddInstance(&instance->world);
  if (cEntity_GamePlot* plot = table ? table->gamePlot : nullptr) {
    FootprintRecord footprint;
    instance->CallTypeFootprintCells(&footprint);
    plot->MarkFootprint(footprint, static_cast<uint32_t>(r.y) * plot->GetWidth() + r.x,
                        static_cast<uint32_t>(r.classCode) << 4, 0xFF, false, instance, true);
    plot->PaintInstanceOnMiniMap(instance, true);
  }
  SetUpRestoredInstance(instance);
  LinkRestoredInstance(instance);
  uint8_t animation = 0;
  if (PlayDefaultAnimation(instance, &animation)) AddModelUse(instance, animation);
  if (r.classCode == kClass_Runway) {
    if (auto* runway = dynamic_cast<RunwayInstance*>(instance)) restoredRunways.push_back(runway);
  }
  if (r.classCode == kClass_Amenity && type->GetBusinessContract()) {
    if (auto* amenity = dynamic_cast<AmenityInstance*>(instance)) amenities.push_back(amenity);
  }
  cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  switch (r.classCode) {
    case kClass_Terminal: {
      const uint16_t count = in.U16();
      auto* terminal = dynamic_cast<TerminalInstance*>(instance);
      for (uint16_t i = 0; i < count && in.Ok(); ++i) {
        const uint8_t* item = in.Current();
        in.Skip(kItemBytes);
        TerminalItem* object = FindTerminalObject(FieldText(item));
        if (!object || !terminal) continue;
        TerminalItemNode* node = terminal->AddTerminalItem(object, item[66], item[67]);
        const std::string airline = FieldText(item + kNameField);
        if (node && !airline.empty() && contracts) node->contract = contracts->FindAirlineContractByName(airline);
      }
      break;
    }
    case kClass_Admin: {
      const uint32_t places = in.U32();
      if (auto* admin = dynamic_cast<AdminInstance*>(instance)) admin->freePlaces = static_cast<int32_t>(places);
      break;
    }
    case kClass_Parking: {
      const uint32_t capacity = in.U32();
      if (auto* parking = dynamic_cast<ParkingInstance*>(instance))
        parking->parkingCapacity = static_cast<int32_t>(capacity);
      break;
    }
    case kClass_Storage: {
      if (auto* storage = dynamic_cast<StorageInstance*>(instance)) storage->LoadCargo(in);
      break;
    }
    default:
      break;
  }
  if (r.constructionLeft == 0) {
    instance->date = r.date;
    switch (r.classCode) {
      case kClass_Runway:
        OnRestoredRunwayOrTerminal(instance);
        runways.push_back(static_cast<RunwayInstance*>(instance));
        break;
      case kClass_Terminal:
        OnRestoredRunwayOrTerminal(instance);
        terminals.push_back(instance);
        break;
      case kClass_Admin:
        if (auto* admin = dynamic_cast<AdminInstance*>(instance)) {
          OnRestoredAdmin(admin);
          if (auto* adminType = dynamic_cast<cAdminFacility*>(type)) admin->freePlaces = adminType->GetCapacity();
          adminBuildings.push_back(admin);
        }
        break;
      case kClass_Storage:
        if (auto* storage = dynamic_cast<StorageInstance*>(instance)) {
          storage->BuildDropoffs(table);
          auto* storageType = dynamic_cast<cStorageFacility*>(type);
          if (storageType && storageType->providesStorage && hooks.addCargoStorage) hooks.addCargoStorage(storage);
          if (storageType && storageType->providesColdStorage && hooks.addColdStorage) hooks.addColdStorage(storage);
          if (!storage->dropoffs.empty() && hooks.addStorageFacility) hooks.addStorageFacility(storage);
        }
        break;
      case kClass_Service:
        if (str::EqualsNoCase(type->GetName(), "Airport Maintain"))
          maintenanceServices.push_back(static_cast<ServiceInstance*>(instance));
        break;
      case kClass_Organizational:
        if (str::EqualsNoCase(type->GetName(), "Control Tower"))
          controlTowers.push_back(static_cast<OrgInstance*>(instance));
        break;
      default:
        break;
    }
    if (!r.owner.empty() && contracts) {
      if (cAirlineContract* owner = contracts->FindAirlineContractByName(r.owner)) instance->owner = owner;
    }
    placed.push_back(instance);
    instance->RefreshFunctional();
  } else {
    statusGroups[0].push_back(instance);
    if (statusModels[0]) statusModels[0]->AddInstance(&instance->iconMatrix);
  }
}

void cEntity_BuildingManager::RestoreTechnology(ByteReader& in) {
  in.Bytes(technologyFlags, kTechnologyFlagCount);
  for (TypeWordGroup& group : typeWordGroups) {
    group.listA.assign(in.U16(), 0);
    for (OID& word : group.listA) word = in.U32();
    group.listB.assign(in.U16(), 0);
    for (OID& word : group.listB) word = in.U32();
    group.state = in.U8();
    group.number = in.U32();
  }
}

void cEntity_BuildingManager::NewGameTechnology() {
  technologyFlags[0] = 1;
  std::fill(technologyFlags + 1, technologyFlags + kTechnologyFlagCount, 0);
  for (TypeWordGroup& group : typeWordGroups) {
    group.state = 0;
    group.number = kNewGameGroupNumber;
    group.listA.insert(group.listA.end(), group.listB.begin(), group.listB.end());
    group.listB.clear();
  }
}

CoreStatus cEntity_BuildingManager::RestoreFromSave() {
  loading = 1;
  if (!table_) table_ = GameTableOf(this);
  cKV9_GlobalWrapper* table = table_;
  std::string why;
  if (GetBlobSize() == 0) {
    NewGameTechnology();
  } else if (!CheckBlob(GetBlob(), GetBlobSize(), &why)) {
    // A blob that does not check out restores nothing; the game goes on
    // without its buildings rather than with half of them.
    platform::DebugPrintf("[cEntity_BuildingManager] saved buildings refused: %s\n", why.c_str());
    FreeBlob();
  } else {
    ByteReader in(GetBlob(), GetBlobSize());
    const uint32_t count = in.U32();
    std::vector<RunwayInstance*> restoredRunways;
    for (uint32_t i = 0; i < count && in.Ok(); ++i) RestoreRecord(in, restoredRunways);
    RestoreTechnology(in);
    FreeBlob();
    for (RunwayInstance* runway : runways) {
      for (BOInstance* terminal : terminals) {
        if (auto* t = dynamic_cast<TerminalInstance*>(terminal)) runway->ConnectTerminal(t);
      }
    }
    SetUpRunways(restoredRunways);
    if (cEntity_ContractManager* contracts = table ? table->contractManager : nullptr) {
      contracts->RelinkAirlineFlights(kList_Offered);
      contracts->RelinkAirlineFlights(kList_Active);
      contracts->RelinkAirlineFlights(kList_Waiting);
      contracts->RelinkBusinessContracts();
    }
    // Administration places came back at capacity: the buildings dedicated
    // to contracts take theirs again, in list order.
    if (hooks.assignToAdmin) {
      for (BOInstance* instance : placed)
        if (instance->owner) hooks.assignToAdmin(instance);
    }
  }
  eventMask = kTimeEvent_Tick | kTimeEvent_Minute | kTimeEvent_Hour | kTimeEvent_Day;
  if (cSimulation_Clock* clock = GameClockOf(table)) {
    if (!clock->IsRegistered(this)) clock->RegisterTimeObject(this);
  }
  // The road network's flood runs again over the restored buildings, and
  // their counters are made exact from it and from the pavement around them.
  cEntity_RoadManager* roads = table ? table->roadManager : nullptr;
  if (cPathNode* entrance = roads ? roads->GetEntranceNode() : nullptr) {
    if (cPathFinder* finder = table->pathFinder) {
      for (cPathNode* node = finder->GetNodeListHead(); node; node = node->next) node->visited = 0;
    }
    entrance->FloodConnect();
  }
  RecountConnections();
  RefreshRunwayStates();
  if (hooks.activateAmbientRecords) hooks.activateAmbientRecords();
  loading = 0;
  return 0;
}
