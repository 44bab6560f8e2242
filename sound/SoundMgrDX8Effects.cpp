// Effect types, their prototypes (the current defaults) and effect chains.
#include <algorithm>
#include <memory>

#include "platform/audio/EffectParameterTable.h"
#include "sound/DXSoundBuffer.h"
#include "sound/FXHandleDX.h"
#include "sound/SoundEffect.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundMgrDX8.h"

namespace {

bool ValidType(int32_t type) { return type >= 0 && type < kSoundEffectTypeCount; }

// Describes a type while the prototypes are released (between ReleaseAll
// and the next Init): the descriptions do not depend on current values.
SoundEffect* Describer(int32_t type) {
  static const auto describers = [] {
    std::array<std::unique_ptr<SoundEffect>, kSoundEffectTypeCount> all;
    for (int t = 0; t < kSoundEffectTypeCount; ++t) all[t].reset(CreateBuiltInEffect(t));
    return all;
  }();
  return describers[static_cast<size_t>(type)].get();
}

}  // namespace

SoundEffect* SoundMgrDX8::GetPrototype(int type) const {
  return ValidType(type) ? prototypes_[static_cast<size_t>(type)] : nullptr;
}

SoundEffect* SoundMgrDX8::CreateEffect(int type) {
  SoundEffect* effect = CreateBuiltInEffect(type);
  SoundEffect* prototype = GetPrototype(type);
  if (!effect || !prototype) return effect;
  std::string text;
  for (int i = 0; i < effect->GetParameterCount(); ++i) {
    text.clear();
    prototype->GetParameterText(i, text);
    effect->SetParameterText(i, text);
  }
  return effect;
}

void SoundMgrDX8::ResetEffectDefaults() {
  DeletePrototypes();
  CreatePrototypes();
}

int32_t SoundMgrDX8::GetEffectTypeCount() { return kSoundEffectTypeCount; }
int32_t SoundMgrDX8::GetEffectType(const std::string& name) { return platform::FindEffectTypeByName(name); }

std::string SoundMgrDX8::GetEffectName(int32_t type) {
  const platform::EffectTypeInfo* info = platform::GetEffectTypeInfo(type);
  return info ? info->name : "";
}

int32_t SoundMgrDX8::GetEffectParameterCount(int32_t type) {
  return ValidType(type) ? Describer(type)->GetParameterCount() : -1;
}

int32_t SoundMgrDX8::GetEffectParameterIndex(int32_t type, const std::string& key) {
  return ValidType(type) ? Describer(type)->GetParameterIndex(key) : -1;
}

std::string SoundMgrDX8::GetEffectParameterKey(int32_t type, int32_t index) {
  std::string key;
  if (ValidType(type)) Describer(type)->GetParameterKey(index, key);
  return key;
}

std::string SoundMgrDX8::GetEffectParameterLabel(int32_t type, int32_t index) {
  std::string label;
  if (ValidType(type)) Describer(type)->GetParameterLabel(index, label);
  return label;
}

int32_t SoundMgrDX8::GetEffectParameterType(int32_t type, int32_t index) {
  return ValidType(type) ? Describer(type)->GetParameterType(index) : 0;
}

void SoundMgrDX8::GetEffectParameterRange(int32_t type, int32_t index, std::string& minimum, std::string& maximum) {
  if (!ValidType(type)) {
    minimum.clear();
    maximum.clear();
    return;
  }
  Describer(type)->GetParameterRange(index, minimum, maximum);
}

FXHandleDX* SoundMgrDX8::FindChain(FXHandle* chain) const {
  // Compared as given, never cast first: a released chain's pointer must
  // not be followed.
  if (!chain) return nullptr;
  for (FXHandleDX* mine : chains_)
    if (static_cast<FXHandle*>(mine) == chain) return mine;
  return nullptr;
}

FXHandle* SoundMgrDX8::CreateFXHandle() {
  auto* chain = new FXHandleDX();
  chains_.push_back(chain);
  return chain;
}

void SoundMgrDX8::ReleaseFXHandle(FXHandle* c) {
  FXHandleDX* chain = FindChain(c);
  if (!chain) return;
  chains_.remove(chain);
  // No handle may keep using the chain; their buffers lose its effects.
  for (std::list<SoundHandle*>* list : {&soundHandles_, &musicHandles_}) {
    for (SoundHandle* h : *list) {
      auto* handle = static_cast<SoundHandleDX*>(h);
      if (handle->chain != chain) continue;
      handle->chain = nullptr;
      if (handle->buffer && handle->buffer->fxCapable) handle->buffer->RemoveEffects();
    }
  }
  delete chain;
}

void SoundMgrDX8::AddEffect(FXHandle* c, int32_t type) {
  FXHandleDX* chain = FindChain(c);
  if (!chain || !ValidType(type) || chain->effects[type]) return;
  chain->effects[type] = CreateEffect(type);
  chain->structureChanged = true;
}

void SoundMgrDX8::RemoveEffect(FXHandle* c, int32_t type) {
  FXHandleDX* chain = FindChain(c);
  if (!chain || !ValidType(type)) return;
  delete chain->effects[type];
  chain->effects[type] = nullptr;
  chain->structureChanged = true;
}

bool SoundMgrDX8::HasEffect(FXHandle* c, int32_t type) {
  FXHandleDX* chain = FindChain(c);
  return chain && ValidType(type) && chain->effects[type] != nullptr;
}

void SoundMgrDX8::SetEffectParameter(FXHandle* c, int32_t type, int32_t index, const std::string& text) {
  FXHandleDX* chain = FindChain(c);
  if (!ValidType(type) || (c && !chain)) return;
  if (chain && chain->effects[type]) {
    chain->effects[type]->SetParameterText(index, text);
    chain->parametersChanged = true;
  } else if (SoundEffect* prototype = GetPrototype(type)) {
    prototype->SetParameterText(index, text);
  }
}

void SoundMgrDX8::GetEffectParameterText(std::string& text, FXHandle* c, int32_t type, int32_t index) {
  text.clear();
  FXHandleDX* chain = FindChain(c);
  if (!ValidType(type) || (c && !chain)) return;
  SoundEffect* effect = chain && chain->effects[type] ? chain->effects[type] : GetPrototype(type);
  if (effect) effect->GetParameterText(index, text);
}

void SoundMgrDX8::AttachFXHandle(SoundHandle* h, FXHandle* c) {
  SoundHandleDX* handle = FindHandle(h);
  FXHandleDX* chain = FindChain(c);
  if (!handle || !chain) return;
  handle->chain = chain;
  if (handle->buffer) handle->buffer->ApplyEffects(fxHardwareOnly_);
  chain->structureChanged = true;
}

FXHandle* SoundMgrDX8::LoadFXHandle(const std::string& fileName, bool asDefaults) {
  if (fileName.empty()) return nullptr;
  auto* chain = static_cast<FXHandleDX*>(CreateFXHandle());
  if (!chain->Load(fileName, *this)) {
    ReleaseFXHandle(chain);
    return nullptr;
  }
  if (asDefaults) {
    std::string text;
    for (int type = 0; type < kSoundEffectTypeCount; ++type) {
      SoundEffect* effect = chain->effects[type];
      SoundEffect* prototype = GetPrototype(type);
      if (!effect || !prototype) continue;
      for (int i = 0; i < effect->GetParameterCount(); ++i) {
        text.clear();
        effect->GetParameterText(i, text);
        prototype->SetParameterText(i, text);
      }
    }
  }
  return chain;
}

bool SoundMgrDX8::SaveFXHandle(FXHandle* c, const std::string& fileName) {
  FXHandleDX* chain = FindChain(c);
  if (!chain || fileName.empty()) return false;
  return chain->Save(fileName, *this);
}
