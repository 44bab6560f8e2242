#include "engine/BaseService.h"

#include "engine/ObjectDef.h"
#include "engine/StringUtil.h"

cBaseService::cBaseService(cEntity_Manager* creator) : cEntity_Base(creator, kEntityType_Base) {}

cBaseService::~cBaseService() = default;

bool cBaseService::Init(ObjectDef* definition) {
  if (definition) {
    if (const std::string* value = definition->FindValue("Default")) {
      if (str::EqualsNoCase(*value, "true")) defaultFlag_ = true;
    }
  }
  return cEntity_Base::Init(definition);
}

void cBaseService::Update(float) {}
