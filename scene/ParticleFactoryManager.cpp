#include "scene/ParticleFactoryManager.h"

#include <cmath>
#include <new>

#include "base/StringUtil.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/RenderService.h"
#include "engine/math/CameraView.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "scene/AudioManager.h"
#include "scene/SceneHost.h"

namespace {

JVector Normalised(JVector v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length > 0.0f) return JVector(v.x / length, v.y / length, v.z / length);
  return v;
}

}  // namespace

cEntity_ParticleFactoryManager::cEntity_ParticleFactoryManager(cEntity_Manager* manager, uint32_t type)
    : cEntity_Base(manager, type) {
  if (manager) {
    userPointer_ = manager->GetUserPointer();
    wrapper_ = dynamic_cast<cKV9_GlobalWrapper*>(manager->GetGlobalWrapper());
  }
}

cEntity_ParticleFactoryManager::~cEntity_ParticleFactoryManager() { Clear(); }

CoreStatus cEntity_ParticleFactoryManager::InitEffects() {
  cEntity_Manager* entities = GetManager();
  if (auto* time = entities ? dynamic_cast<TimeService*>(entities->FindEntity("TimeService")) : nullptr)
    time->AddItem(this);
  std::string value;
  cCore_ConfigManager* config = wrapper_ ? wrapper_->configManager : nullptr;
  enabled_ = (!config || !config->GetString("App", "Particles", value) || str::EqualsNoCase(value, "true")) ? 1 : 0;
  return status::Ok;
}

uint32_t cEntity_ParticleFactoryManager::NextId() {
  ++lastId_;
  if (lastId_ == 0) ++lastId_;
  return lastId_;
}

uint32_t cEntity_ParticleFactoryManager::Start(uint16_t index, uint32_t kind, const JVector& position,
                                                const JVector& direction, const JVector* force, bool weather) {
  SceneHost* host = InstalledSceneHost();
  cEntity_ParticleFactory* factory =
      host && wrapper_ && wrapper_->gameManager ? host->ParticleFactory(wrapper_, index) : nullptr;
  if (!factory) {
    platform::DebugPrintf("[cEntity_ParticleFactoryManager] no particle factory %u: effect not started\n",
                          static_cast<unsigned>(index));
    return 0;
  }
  cParticleEmitter* emitter = factory->CreateEmitter(position, direction);
  if (!emitter) return 0;
  emitter->force = force;
  if (weather) emitter->floorHeight = kWeatherKillHeight;
  auto info = std::make_unique<ParticleEmitterInfo>();
  info->id = NextId();
  info->kind = kind;
  info->emitter = emitter;
  info->radius = factory->GetParams().radius.max;
  const uint32_t id = info->id;
  infos_.push_back(std::move(info));
  return id;
}

uint32_t cEntity_ParticleFactoryManager::StartTornado(const JVector& position) {
  const uint32_t id = Start(kFactoryTornado, kKindTornado, position, JVector(0.0f, 1.0f, 0.0f), wind_, false);
  if (id && wrapper_ && wrapper_->audioManager) Find(id)->sound = wrapper_->audioManager->PlaySound(kTornadoSound, true, 1);
  return id;
}

uint32_t cEntity_ParticleFactoryManager::StartSnow() {
  return Start(kFactorySnow, kKindSnow, JVector(0.0f, 0.0f, 0.0f), JVector(0.0f, -1.0f, 0.0f), wind_, true);
}

uint32_t cEntity_ParticleFactoryManager::StartRain() {
  return Start(kFactoryRain, kKindRain, JVector(0.0f, 0.0f, 0.0f), JVector(0.0f, -1.0f, 0.0f), wind_, true);
}

uint32_t cEntity_ParticleFactoryManager::StartFallingEffect() {
  return Start(kFactoryFalling, kKindFalling, JVector(0.0f, 0.0f, 0.0f), JVector(0.0f, -1.0f, 0.0f), wind_, true);
}

uint32_t cEntity_ParticleFactoryManager::StartStormRain() {
  return Start(kFactoryStormRain, kKindStormRain, JVector(0.0f, 0.0f, 0.0f), JVector(0.0f, -1.0f, 0.0f), wind_,
               true);
}

uint32_t cEntity_ParticleFactoryManager::StartBlizzard() {
  return Start(kFactoryBlizzard, kKindBlizzard, JVector(0.0f, 0.0f, 0.0f), JVector(0.0f, -1.0f, 0.0f), wind_, true);
}

uint32_t cEntity_ParticleFactoryManager::StartSandstormEffect() {
  return Start(kFactorySandstorm, kKindSandstorm, JVector(0.0f, 0.0f, 0.0f), JVector(0.0f, 1.0f, 0.0f), wind_,
               false);
}

uint32_t cEntity_ParticleFactoryManager::StartBuildingEffect(const JVector& position, bool second) {
  return Start(second ? kFactoryBuildingB : kFactoryBuildingA, second ? kKindBuildingB : kKindBuilding, position,
               JVector(0.0f, 0.0f, 0.0f), nullptr, false);
}

uint32_t cEntity_ParticleFactoryManager::StartNamedEffect(const std::string& factoryName, const JVector& position) {
  SceneHost* host = InstalledSceneHost();
  if (!host || !wrapper_ || !wrapper_->gameManager) return 0;
  for (uint16_t i = 0; i < host->ParticleFactoryCount(wrapper_); ++i) {
    cEntity_ParticleFactory* factory = host->ParticleFactory(wrapper_, i);
    if (factory && str::EqualsNoCase(factory->GetParams().name, factoryName))
      return Start(i, kKindBuilding, position, JVector(0.0f, 0.0f, 0.0f), nullptr, false);
  }
  platform::DebugPrintf("[cEntity_ParticleFactoryManager] no particle factory named %s\n", factoryName.c_str());
  return 0;
}

int32_t cEntity_ParticleFactoryManager::StartEffect(int32_t kind, const JVector& position, const JVector&) {
  switch (kind) {
    case kParticleEffect_Tornado: return static_cast<int32_t>(StartTornado(position));
    case kParticleEffect_Fire: return static_cast<int32_t>(StartBuildingEffect(position, false));
    case kParticleEffect_Demolition: return static_cast<int32_t>(StartBuildingEffect(position, true));
    default: return 0;
  }
}

void cEntity_ParticleFactoryManager::StartSandstorm() { StartSandstormEffect(); }

void cEntity_ParticleFactoryManager::ReleaseEffect(int32_t id) { StopEffect(static_cast<uint32_t>(id)); }

cEntity_ParticleFactoryManager::ParticleEmitterInfo* cEntity_ParticleFactoryManager::Find(uint32_t id) {
  for (auto& info : infos_) {
    if (info->id == id) return info.get();
  }
  return nullptr;
}

CoreStatus cEntity_ParticleFactoryManager::StopEffect(uint32_t id) {
  ParticleEmitterInfo* info = Find(id);
  if (!info || !info->emitter) return status::Fail;
  info->emitter->suppressed = true;
  return status::Ok;
}

CoreStatus cEntity_ParticleFactoryManager::MoveEffect(uint32_t id, const JVector& position) {
  ParticleEmitterInfo* info = Find(id);
  if (!info || !info->emitter) return status::Fail;
  info->emitter->SetPlacement(position, info->emitter->GetDirection());
  return status::Ok;
}

cParticleEmitter* cEntity_ParticleFactoryManager::GetEffectEmitter(uint32_t id) {
  ParticleEmitterInfo* info = Find(id);
  return info ? info->emitter : nullptr;
}

void cEntity_ParticleFactoryManager::SetEmitterParam1(int32_t id, float value) {
  if (cParticleEmitter* emitter = GetEffectEmitter(static_cast<uint32_t>(id))) emitter->lifeScale = value;
}

void cEntity_ParticleFactoryManager::SetEmitterParam2(int32_t id, float value) {
  if (cParticleEmitter* emitter = GetEffectEmitter(static_cast<uint32_t>(id))) emitter->sizeScale = value;
}

void cEntity_ParticleFactoryManager::Remove(size_t index) {
  ParticleEmitterInfo* info = infos_[index].get();
  if (info->emitter) {
    // A removed effect emits nothing more; the factory frees the emitter
    // once its last particle is gone.
    info->emitter->suppressed = true;
    info->emitter->Release();
  }
  if (info->sound && wrapper_ && wrapper_->audioManager) wrapper_->audioManager->StopSound(info->sound);
  infos_.erase(infos_.begin() + static_cast<std::ptrdiff_t>(index));
}

void cEntity_ParticleFactoryManager::Clear() {
  while (!infos_.empty()) Remove(infos_.size() - 1);
}

bool cEntity_ParticleFactoryManager::Save(std::vector<uint8_t>* bytes) const {
  if (bytes) bytes->clear();
  return true;
}

bool cEntity_ParticleFactoryManager::Load(const uint8_t*, uint32_t) { return false; }

void cEntity_ParticleFactoryManager::OnTimeEvent(TimeEvent*) { UpdateEffects(); }

float cEntity_ParticleFactoryManager::ViewValue() {
  cEntity_Manager* entities = GetManager();
  auto* alpha = entities ? dynamic_cast<cRenderService*>(entities->FindEntity("AlphaService")) : nullptr;
  CameraView* view = alpha ? alpha->GetView() : nullptr;
  // The eye's height keeps the weather box around the camera.
  return view ? view->eye[1] : 0.0f;
}

void cEntity_ParticleFactoryManager::UpdateEffects() {
  for (size_t i = infos_.size(); i-- > 0;) {
    cParticleEmitter* emitter = infos_[i]->emitter;
    if (!enabled_ || !emitter || emitter->IsFinished()) Remove(i);
  }
  for (size_t i = 0; i < infos_.size();) {
    ParticleEmitterInfo& info = *infos_[i];
    cParticleEmitter* emitter = info.emitter;
    if (!emitter->force) {
      ++i;
      continue;
    }
    const JVector force = *emitter->force;
    switch (info.kind) {
      case kKindRain:
      case kKindStormRain:
      case kKindSnow:
      case kKindFalling:
      case kKindBlizzard: {
        const float radius = info.radius;
        const float v = ViewValue();
        const float span = 2.0f * radius;
        const float m = span > 0.0f ? std::fmod(v, span) : 0.0f;
        const bool rain = info.kind == kKindRain || info.kind == kKindStormRain;
        JVector direction(0.0f, -1.0f, 0.0f);
        if (rain) {
          direction = Normalised(force);
          direction.y -= 8.0f;
          emitter->drift = JVector(0.0f, 0.0f, 0.0f);
        } else {
          emitter->drift = JVector(force.x * 0.3f, force.y * 0.3f, force.z * 0.3f);
        }
        emitter->SetPlacement(JVector(0.0f, m + (rain ? 3.0f : 0.5f * radius), 0.0f), direction);
        break;
      }
      case kKindTornado: {
        JVector p = emitter->GetPosition();
        p.x += force.x * 0.0625f;
        p.z += force.z * 0.0625f;
        emitter->SetPlacement(p, emitter->GetDirection());
        if (SceneHost* host = wrapper_ ? InstalledSceneHost() : nullptr) host->ApplyTornadoDamage(wrapper_, p);
        if (p.x < -kTornadoBound || p.x > kTornadoBound || p.z < -kTornadoBound || p.z > kTornadoBound) {
          if (info.sound && wrapper_ && wrapper_->audioManager) wrapper_->audioManager->StopSound(info.sound);
          info.sound = nullptr;
          emitter->suppressed = true;
        }
        break;
      }
      case kKindSandstorm:
        emitter->drift = JVector(force.x * 350.0f, force.y, force.z * 350.0f);
        break;
      case kKindBuildingB:
        emitter->drift = JVector(force.x * 0.1f, force.y * 0.1f, force.z * 0.1f);
        break;
      default:
        break;
    }
    ++i;
  }
}

cEntity_Base* SpawnParticleFactoryManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_ParticleFactoryManager(creator);
}
