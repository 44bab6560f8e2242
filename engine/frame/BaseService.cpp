#include "engine/frame/BaseService.h"

#include "engine/frame/GameManager.h"
#include "engine/files/ObjectDef.h"
#include "base/StringUtil.h"

cBaseService::cBaseService(cEntity_Manager* creator) : cEntity_Base(creator, kEntityType_Base) {}

cBaseService::~cBaseService() {
  if (filedWith_) filedWith_->RemoveService(this);
}

bool cBaseService::Init(ObjectDef* definition) {
  if (definition) {
    if (const std::string* value = definition->FindValue("Default")) {
      if (str::EqualsNoCase(*value, "true")) defaultFlag_ = true;
    }
  }
  return cEntity_Base::Init(definition);
}

void cBaseService::Update(float) {}
