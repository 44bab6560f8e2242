#include "sound/FXHandleDX.h"

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefList.h"
#include "engine/files/ObjectDefStore.h"
#include "engine/files/ObjectParser.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "sound/SoundMgrDX8.h"

namespace {
constexpr const char* kChainObjectName = "FXHandle";
}  // namespace

FXHandleDX::~FXHandleDX() {
  for (SoundEffect*& effect : effects) {
    delete effect;
    effect = nullptr;
  }
}

SoundEffect* FXHandleDX::GetEffect(int type) const {
  return type >= 0 && type < kSoundEffectTypeCount ? effects[type] : nullptr;
}

int FXHandleDX::EffectCount() const {
  int count = 0;
  for (const SoundEffect* effect : effects) count += effect ? 1 : 0;
  return count;
}

bool FXHandleDX::IsEmpty() const { return EffectCount() == 0; }

ObjectDef* FXHandleDX::ToObject(SoundMgrDX8& service) const {
  auto* chain = new ObjectDef();
  chain->name = kChainObjectName;
  std::string text;
  for (int type = 0; type < kSoundEffectTypeCount; ++type) {
    SoundEffect* effect = effects[type];
    if (!effect) continue;
    auto* child = new ObjectDef();
    child->name = service.GetEffectName(type);
    const int count = service.GetEffectParameterCount(type);
    for (int index = 0; index < count; ++index) {
      text.clear();
      effect->GetParameterText(index, text);
      child->SetValue(service.GetEffectParameterKey(type, index), text);
    }
    child->parent = chain;
    chain->children.Append(child);
  }
  return chain;
}

bool FXHandleDX::Save(const std::string& fileName, SoundMgrDX8& service) {
  ObjectDefList list;
  list.Append(ToObject(service));
  ObjectParser parser;
  parser.SetOutputList(&list);
  const bool written = parser.WriteFile(fileName);
  parser.SetOutputList(nullptr);
  return written;
}

bool FXHandleDX::LoadFromObjects(const ObjectDefList& objects, SoundMgrDX8& service) {
  bool found = false;
  for (const ObjectDef* description : objects) {
    if (description->IsValue() || !str::EqualsNoCase(description->name, kChainObjectName)) continue;
    found = true;
    for (const ObjectDef* child : description->children) {
      if (child->IsValue()) continue;
      const int type = service.GetEffectType(child->name);
      service.AddEffect(this, type);
      const int count = service.GetEffectParameterCount(type);
      for (int index = 0; index < count; ++index) {
        const std::string* value = child->FindValue(service.GetEffectParameterKey(type, index));
        if (value && !value->empty()) service.SetEffectParameter(this, type, index, *value);
      }
    }
  }
  return found;
}

bool FXHandleDX::Load(const std::string& fileName, SoundMgrDX8& service) {
  ObjectDefStore store;
  if (!store.LoadFile(fileName)) return false;
  const ObjectDef* root = store.GetList().FindObject(fileName);
  if (!root || !LoadFromObjects(root->children, service)) {
    platform::DebugPrintf("Sound: \"%s\" holds no effect chain\n", fileName.c_str());
    return false;
  }
  return true;
}
