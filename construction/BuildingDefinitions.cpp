// Building definitions: the class keywords, the keys of every class and the
// model objects of a new type.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/StringUtil.h"
#include "construction/BuildPlacement.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/GamePlot.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"
#include "simulation/AmbientData.h"

namespace {

using Line = cEntity_BuildingManager::DefinitionLine;

// Values are numbered from 1 after the key; a line shorter than its key
// needs reads "" (0 as a number) for what it lacks.
const std::string& Text(const Line& line, size_t index) {
  static const std::string kEmpty;
  return index < line.size() ? line[index] : kEmpty;
}
int32_t Integer(const Line& line, size_t index) { return platform::ParseInt(Text(line, index)); }
float Decimal(const Line& line, size_t index) { return platform::ParseFloat(Text(line, index)); }

// Renderer flags of a type's model: a model object of its own, and none at
// all when the file cannot be made into one.
constexpr uint32_t kTypeModelFlags = 0x48;
// "prereq" values name one of the 16 technology-level records.
constexpr int32_t kTechLevelRecords = 16;

}  // namespace

std::string cEntity_BuildingManager::PathPrefix() {
  cEntity_Manager* manager = GetManager();
  return manager ? manager->GetResourcePath() : std::string();
}

std::string cEntity_BuildingManager::MakeModelName(const std::string& path) {
  static const std::string kMarker = "polymesh_";
  std::string name = path;
  for (size_t at = name.find(kMarker); at != std::string::npos; at = name.find(kMarker, at))
    name.erase(at, kMarker.size());
  return name;
}

void cEntity_BuildingManager::ParseDefinition(Definition definition) {
  if (definition.empty()) return;
  const std::string keyword = Text(definition[0], 0);
  const std::string name = Text(definition[0], 1);
  definition.erase(definition.begin());
  using Parser = void (cEntity_BuildingManager::*)(const std::string&, const Definition&);
  static const std::pair<const char*, Parser> kParsers[] = {
      {"building", &cEntity_BuildingManager::ParseBuildingType},
      {"road", &cEntity_BuildingManager::ParseRoadType},
      {"static", &cEntity_BuildingManager::ParseStaticObject},
      {"ambient", &cEntity_BuildingManager::ParseAmbientType},
      {"object", &cEntity_BuildingManager::ParseObjectType},
      {"amenity", &cEntity_BuildingManager::ParseAmenityType},
      {"parking", &cEntity_BuildingManager::ParseParkingType},
      {"terminal", &cEntity_BuildingManager::ParseTerminalType},
      {"admin", &cEntity_BuildingManager::ParseAdminType},
      {"storage", &cEntity_BuildingManager::ParseStorageType},
      {"runway", &cEntity_BuildingManager::ParseRunwayType},
      {"emergency", &cEntity_BuildingManager::ParseEmergencyType},
      {"security", &cEntity_BuildingManager::ParseSecurityType},
      {"service", &cEntity_BuildingManager::ParseServiceType},
      {"organizational", &cEntity_BuildingManager::ParseOrganizationalType},
  };
  for (const auto& [word, parser] : kParsers) {
    if (keyword == word) {
      (this->*parser)(name, definition);
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Building types.

namespace {

// The steps every building class shares around its own keys: the new type
// with its class, id, level 1 and name; then, after the keys, its models and
// its place among the types.
template <typename T, typename KeyParser>
void ParseType(cEntity_BuildingManager* manager, uint8_t classCode, const std::string& name,
               const cEntity_BuildingManager::Definition& keys, KeyParser classKey) {
  if (keys.empty()) return;
  // A save carries a type's name in 32 characters; a longer one would come
  // back as no building at all, so such a type is never made.
  if (name.size() > cEntity_BuildingManager::kMaxTypeNameLength) {
    platform::DebugPrintf("[cEntity_BuildingManager::ParseDefinition] type name \"%s\" is longer than %zu characters; "
                          "not defined\n",
                          name.c_str(), cEntity_BuildingManager::kMaxTypeNameLength);
    return;
  }
  auto type = std::make_unique<T>(manager);
  type->SetClass(classCode);
  type->SetId(manager->FindTypeIndexByName(classCode, name));
  type->SetLevel(1);
  type->SetName(name);
  for (const Line& line : keys) {
    if (line.empty()) continue;
    if (!classKey(type.get(), line)) manager->ParseCommonKey(type.get(), line);
  }
  manager->LoadTypeModel(type.get());
  type->ResetTransform();
  if (manager->RegisterType(type.get())) type.release();
}

// Class keys shared by several classes; each answers true when it took the line.
bool RoadAndAmbientKey(cEntity_BuildingManager* manager, cBuilding* type, const Line& line) {
  if (line[0] == "roadaccess") {
    manager->ParseRoadAccess(type, line);
    return true;
  }
  if (line[0] == "ambientdata") {
    manager->ParseAmbientData(type, line);
    return true;
  }
  return false;
}

template <typename T>
bool CapacityKey(T* type, const Line& line) {
  if (line[0] != "capacity") return false;
  type->SetCapacity(Integer(line, 1));
  return true;
}

bool TaxiwayKey(cEntity_BuildingManager* manager, cTaxiwayAccessObject* list, const Line& line) {
  if (line[0] != "taxiwayaccess") return false;
  manager->ParseTaxiwayAccess(list, line);
  return true;
}

bool IsTrue(const Line& line) { return str::EqualsNoCase(Text(line, 1), "true"); }

}  // namespace

void cEntity_BuildingManager::ParseObjectType(const std::string& name, const Definition& keys) {
  ParseType<cBuildableObject>(this, kClass_Object, name, keys, [](cBuildableObject*, const Line&) { return false; });
}

void cEntity_BuildingManager::ParseRoadType(const std::string& name, const Definition& keys) {
  ParseType<cBuildableObject>(this, kClass_Road, name, keys, [](cBuildableObject*, const Line&) { return false; });
}

void cEntity_BuildingManager::ParseBuildingType(const std::string& name, const Definition& keys) {
  ParseType<cBuilding>(this, kClass_Building, name, keys,
                       [this](cBuilding* type, const Line& line) { return RoadAndAmbientKey(this, type, line); });
}

void cEntity_BuildingManager::ParseAmenityType(const std::string& name, const Definition& keys) {
  ParseType<cAmenity>(this, kClass_Amenity, name, keys, [this](cAmenity* type, const Line& line) {
    return RoadAndAmbientKey(this, type, line) || CapacityKey(type, line);
  });
}

void cEntity_BuildingManager::ParseParkingType(const std::string& name, const Definition& keys) {
  ParseType<cParkingFacility>(this, kClass_Parking, name, keys, [this](cParkingFacility* type, const Line& line) {
    return RoadAndAmbientKey(this, type, line) || CapacityKey(type, line);
  });
}

void cEntity_BuildingManager::ParseTerminalType(const std::string& name, const Definition& keys) {
  ParseType<cTerminal>(this, kClass_Terminal, name, keys, [this](cTerminal* type, const Line& line) {
    if (RoadAndAmbientKey(this, type, line) || TaxiwayKey(this, type, line)) return true;
    if (line[0] == "terminalitems") {
      type->itemNames.insert(type->itemNames.end(), line.begin() + 1, line.end());
      return true;
    }
    if (line[0] == "interior_space") {
      type->interiorSpace = static_cast<uint8_t>(Integer(line, 1));
      return true;
    }
    return false;
  });
}

void cEntity_BuildingManager::ParseAdminType(const std::string& name, const Definition& keys) {
  ParseType<cAdminFacility>(this, kClass_Admin, name, keys, [this](cAdminFacility* type, const Line& line) {
    return RoadAndAmbientKey(this, type, line) || CapacityKey(type, line);
  });
}

void cEntity_BuildingManager::ParseStorageType(const std::string& name, const Definition& keys) {
  ParseType<cStorageFacility>(this, kClass_Storage, name, keys, [this](cStorageFacility* type, const Line& line) {
    if (RoadAndAmbientKey(this, type, line) || CapacityKey(type, line) || TaxiwayKey(this, type, line)) return true;
    if (line[0] == "cargo_dropoffs0") {
      DropoffPlace place;
      place.x = static_cast<uint16_t>(Integer(line, 1));
      place.y = static_cast<uint16_t>(Integer(line, 2));
      type->SetDropoffPlaces({place});
      return true;
    }
    if (line[0] == "provides_storage") {
      type->providesStorage = IsTrue(line);
      return true;
    }
    if (line[0] == "provides_cold_storage") {
      type->providesColdStorage = IsTrue(line);
      return true;
    }
    return false;
  });
}

void cEntity_BuildingManager::ParseRunwayType(const std::string& name, const Definition& keys) {
  ParseType<cRunway>(this, kClass_Runway, name, keys, [this](cRunway* type, const Line& line) {
    if (TaxiwayKey(this, type, line)) return true;
    if (line[0] == "required_control_tower") {
      type->requiredTowerLevel = static_cast<uint8_t>(Integer(line, 1));
      return true;
    }
    if (line[0] == "runway_length") {
      type->runwayLength = static_cast<uint16_t>(Integer(line, 1));
      return true;
    }
    return false;
  });
}

void cEntity_BuildingManager::ParseEmergencyType(const std::string& name, const Definition& keys) {
  ParseType<cEmergencyFacility>(this, kClass_Emergency, name, keys,
                                [this](cEmergencyFacility* type, const Line& line) {
                                  if (RoadAndAmbientKey(this, type, line)) return true;
                                  if (line[0] != "maintenance_break") return false;
                                  type->maintenanceBreak = Decimal(line, 1);
                                  return true;
                                });
}

void cEntity_BuildingManager::ParseSecurityType(const std::string& name, const Definition& keys) {
  ParseType<cSecurityFacility>(this, kClass_Security, name, keys, [this](cSecurityFacility* type, const Line& line) {
    return RoadAndAmbientKey(this, type, line);
  });
}

void cEntity_BuildingManager::ParseServiceType(const std::string& name, const Definition& keys) {
  ParseType<cServiceFacility>(this, kClass_Service, name, keys, [this](cServiceFacility* type, const Line& line) {
    if (RoadAndAmbientKey(this, type, line) || TaxiwayKey(this, type, line)) return true;
    if (line[0] == "service_cost") {
      type->SetServiceCost(Decimal(line, 1));
      return true;
    }
    if (line[0] == "repair_capability") {
      type->repairCapability = Decimal(line, 1);
      return true;
    }
    return false;
  });
}

void cEntity_BuildingManager::ParseOrganizationalType(const std::string& name, const Definition& keys) {
  ParseType<cOrganizationalFacility>(this, kClass_Organizational, name, keys,
                                     [](cOrganizationalFacility* type, const Line& line) {
                                       return CapacityKey(type, line);
                                     });
}

// ---------------------------------------------------------------------------
// Keys.

void cEntity_BuildingManager::ParseCommonKey(cBuildableObject* type, const DefinitionLine& line) {
  if (!type || line.empty()) return;
  const std::string& key = line[0];
  if (key == "category") {
    type->SetCategory(static_cast<uint8_t>(Integer(line, 1)));
  } else if (key == "model") {
    type->SetModel(Text(line, 1));
  } else if (key == "thumbnail") {
    type->SetThumbnail(Text(line, 1));
  } else if (key == "width") {
    type->SetWidth(static_cast<uint16_t>(Integer(line, 1)));
  } else if (key == "length") {
    type->SetLength(static_cast<uint16_t>(Integer(line, 1)));
  } else if (key == "rects") {
    const uint8_t count = static_cast<uint8_t>(Integer(line, 1));
    std::unique_ptr<FootprintRect[]> rects;
    if (count) {
      rects.reset(new FootprintRect[count]);
      for (size_t i = 0; i < count; ++i) {
        const size_t at = 2 + 4 * i;
        rects[i] = FootprintRect{static_cast<int16_t>(Integer(line, at)), static_cast<int16_t>(Integer(line, at + 1)),
                                 static_cast<uint16_t>(Integer(line, at + 2)),
                                 static_cast<uint16_t>(Integer(line, at + 3))};
      }
    }
    type->SetRects(count, std::move(rects));
  } else if (key == "build_time") {
    type->SetBuildTime(static_cast<uint16_t>(Integer(line, 1)));
  } else if (key == "build_cost") {
    type->SetBuildCost(Decimal(line, 1));
  } else if (key == "icon_height") {
    type->SetIconHeight(static_cast<float>(Integer(line, 1)));
  } else if (key == "monthly_expense") {
    type->SetMonthlyExpense(Decimal(line, 1));
  } else if (key == "required_year") {
    type->SetRequiredYear(static_cast<uint16_t>(Integer(line, 1)));
  } else if (key == "level") {
    type->SetLevel(static_cast<uint8_t>(Integer(line, 1)));
  } else if (key == "sound") {
    type->SetSound(Text(line, 1));
  } else if (key == "prereq") {
    const int32_t level = Integer(line, 1) & 0xFF;
    if (level >= kTechLevelRecords) {
      platform::DebugPrintf("[cEntity_BuildingManager::ParseCommonKey] %s: prereq %d names no technology level; "
                            "ignored\n",
                            type->GetName().c_str(), level);
    } else if (level != 0) {
      AddTechRequirement(static_cast<uint8_t>(level), type->GetTypeWord());
    }
  } else if (key == "tech_level") {
    type->SetTechLevel(static_cast<uint8_t>(Integer(line, 1)));
  } else if (key == "requires_taxiway") {
    type->requiresTaxiway = 1;
  } else if (key == "customer_satisfaction") {
    type->SetRatings(type->GetSafetyRating(), type->GetSecurityRating(), type->GetAestheticRating(), Decimal(line, 1));
  } else if (key == "security_rating") {
    type->SetRatings(type->GetSafetyRating(), Decimal(line, 1), type->GetAestheticRating(),
                     type->GetSatisfactionRating());
  } else if (key == "safety_rating") {
    type->SetRatings(Decimal(line, 1), type->GetSecurityRating(), type->GetAestheticRating(),
                     type->GetSatisfactionRating());
  } else if (key == "aesthetic_rating") {
    type->SetRatings(type->GetSafetyRating(), type->GetSecurityRating(), Decimal(line, 1),
                     type->GetSatisfactionRating());
  }
}

void cEntity_BuildingManager::ParseRoadAccess(cRoadAccessObject* list, const DefinitionLine& line) {
  if (!list) return;
  RAStruct point;
  point.x = static_cast<int16_t>(Integer(line, 1));
  point.y = static_cast<int16_t>(Integer(line, 2));
  point.direction = static_cast<uint8_t>(Integer(line, 3));
  // A building's override also sets its road-access flag.
  list->AddAccessPoint(point);
}

void cEntity_BuildingManager::ParseTaxiwayAccess(cTaxiwayAccessObject* list, const DefinitionLine& line) {
  if (!list) return;
  TAStruct area;
  area.x = static_cast<int16_t>(Integer(line, 1));
  area.y = static_cast<int16_t>(Integer(line, 2));
  area.w = static_cast<uint16_t>(Integer(line, 3));
  area.l = static_cast<uint16_t>(Integer(line, 4));
  list->AddAccessPoint(area);
}

void cEntity_BuildingManager::ParseAmbientData(cBuilding* type, const DefinitionLine& line) {
  if (!type) return;
  type->ambient.count = Integer(line, 1);
  type->ambient.valueB = Integer(line, 2);
  type->ambient.valueC = Integer(line, 3);
  type->ambient.flag = Integer(line, 4) != 0;
  type->ambient.valueE = Decimal(line, 5);
  type->ambient.flags = Integer(line, 6);
}

// ---------------------------------------------------------------------------
// Models, scenery and ambient records.

C3DModel* cEntity_BuildingManager::CreateTypeModel(const std::string& path) {
  Core3D* renderer = table_ ? table_->graphics : nullptr;
  if (!str::EndsWithNoCase(path, "ssm")) return BuildFootprintPlane(MakeModelName(path));
  if (!renderer) return nullptr;
  C3DModel* model = renderer->CreateModel(kTypeModelFlags, path);
  // Loading a model may leave a tint behind; buildings draw untinted, with
  // layer 0 modulating its texture by the vertex colour and layer 1 off.
  renderer->modelVertexColour = 0xFFFFFFFF;
  if (!model) return nullptr;
  for (uint16_t part = 0; part < model->GetPartCount(); ++part) {
    if (auto* material = dynamic_cast<C3DMaterialShader*>(model->GetShader(part))) {
      material->SetLayerBlend(0, false, false);
      material->DisableLayer(1);
    }
  }
  return model;
}

C3DModel* cEntity_BuildingManager::BuildFootprintPlane(const std::string& shaderName) {
  Core3D* renderer = table_ ? table_->graphics : nullptr;
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (!renderer || !plot) return nullptr;
  C3DBaseShader* shader = renderer->CreateShader(8, shaderName);
  C3DModel* model = MakeFootprintPlane(renderer, plot->GetCellSize(), shader);
  // The model holds the shader from here on.
  if (shader) renderer->ReleaseResource(shader);
  return model;
}

void cEntity_BuildingManager::LoadTypeModel(cBuildableObject* type) {
  if (!type) return;
  std::string path = PathPrefix() + type->GetModel();
  const bool ssm = str::EndsWithNoCase(path, "ssm");
  if (!ssm) path = MakeModelName(path);
  C3DModel* model = CreateTypeModel(path);
  if (!model) {
    // The type stays buildable without a model; every drawing use checks.
    platform::DebugPrintf("[cEntity_BuildingManager::LoadTypeModel] %s: no model from \"%s\"\n",
                          type->GetName().c_str(), path.c_str());
    type->animationIndex = 0;
    return;
  }
  uint8_t animation = 0;
  if (ssm) {
    const int32_t count = model->GetAnimationCount();
    for (int32_t i = 0; i < count; ++i) {
      if (str::EqualsNoCase(model->GetAnimationName(i), "Normal")) {
        animation = static_cast<uint8_t>(i);
        break;
      }
    }
  }
  type->animationIndex = animation;
  type->SetModelObject(model);
  // The thumbnail is a second object of the building's own model.
  type->SetThumbnailObject(CreateTypeModel(path));
}

void cEntity_BuildingManager::ParseStaticObject(const std::string&, const Definition& keys) {
  for (const Line& line : keys) {
    if (line.empty() || line[0] != "model") continue;
    C3DModel* model = CreateTypeModel(PathPrefix() + Text(line, 1));
    if (!model) continue;
    if (hooks.addStaticModel) {
      hooks.addStaticModel(model, std::vector<std::string>(4));
    } else if (table_ && table_->graphics) {
      table_->graphics->ReleaseResource(model);
    } else {
      model->Release();
    }
  }
}

void cEntity_BuildingManager::ParseAmbientType(const std::string& name, const Definition& keys) {
  if (keys.empty()) return;
  auto record = std::make_unique<AmbientData>();
  record->name = name;
  for (const Line& line : keys) {
    if (line.empty()) continue;
    if (line[0] == "model") {
      record->modelName = Text(line, 1);
    } else if (line[0] == "type") {
      record->kindFlags = static_cast<uint32_t>(Integer(line, 1));
    } else if (line[0] == "sound") {
      record->sound = Text(line, 1);
    }
  }
  if (hooks.addAmbientData && hooks.addAmbientData(record.get())) record.release();
}
