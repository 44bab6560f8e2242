#pragma once
// Recorders of what the simulation asks of its neighbours: widgets, the PDA,
// audio, particles and the camera. Each keeps the calls in order as text so
// a test compares one list.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/StringHolder.h"
#include "engine/services/SoundMgr.h"
#include "game/GameCamera.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "simulation/ActionPDA.h"
#include "simulation/PdaArchive.h"
#include "simulation/SimulationWidgets.h"

namespace simkit {

// Installed as the simulation's widgets while it lives.
class RecordingWidgets : public SimulationWidgets {
 public:
  RecordingWidgets() : previous_(GetSimulationWidgets()) { SetSimulationWidgets(this); }
  ~RecordingWidgets() override { SetSimulationWidgets(previous_); }

  void BindText(const std::string& widget, StringHolder* holder) override {
    bound[widget] = holder;
    calls.push_back("bind " + widget);
  }
  void SetSliderValue(const std::string& widget, int32_t value) override {
    sliders[widget] = value;
    calls.push_back("slider " + widget + " " + std::to_string(value));
  }
  void ShowScene(const std::string& scene, bool visible) override {
    visibleScenes[scene] = visible;
    calls.push_back((visible ? "show " : "hide ") + scene);
  }
  void SetMultiLineText(const std::string& scene, const std::string& box, const std::string& text) override {
    texts[scene + "/" + box] = text;
    calls.push_back("text " + scene + "/" + box);
  }
  void SetLabelText(const std::string& widget, const std::string& text, C3DFont* font) override {
    labels[widget] = text;
    if (font) labelFonts[widget] = font;
    calls.push_back("label " + widget + " " + text);
  }
  void SetWidgetImage(const std::string& widget, C3DImage* image) override {
    images[widget] = image;
    calls.push_back("image " + widget);
  }
  // The current text a bound label shows ("" when unbound).
  std::string Label(const std::string& widget) const {
    auto it = bound.find(widget);
    return it != bound.end() && it->second && it->second->text ? *it->second->text : std::string();
  }

  std::map<std::string, StringHolder*> bound;
  std::map<std::string, int32_t> sliders;
  std::map<std::string, bool> visibleScenes;
  std::map<std::string, std::string> texts;
  std::map<std::string, std::string> labels;
  std::map<std::string, C3DFont*> labelFonts;
  std::map<std::string, C3DImage*> images;
  std::vector<std::string> calls;

 private:
  SimulationWidgets* previous_;
};

// Stored messages take ids from 1000 (the player's own); smaller ids are the
// PDA's standard messages, posted as empty ones here.
class RecordingPDA : public ActionPDA, public PdaArchive {
 public:
  static constexpr uint32_t kFirstId = 1000;
  struct Message {
    std::string subject;
    std::string body;
  };
  CoreStatus Execute(cEntity_Base*, uintptr_t, const std::string&) override { return 0; }
  uint32_t AddMessage(const std::string& subject, const std::string& body) override {
    stored.push_back({subject, body});
    return kFirstId + static_cast<uint32_t>(stored.size() - 1);
  }
  void PostMessage(uint32_t id) override {
    posted.push_back(Find(id));
    entries.push_back({id, 0});
  }

  std::vector<Entry> PostedEntries() override { return entries; }
  bool GetMessage(uint32_t id, std::string* subject, std::string* body) override {
    if (id < kFirstId || id - kFirstId >= stored.size()) return false;
    *subject = stored[id - kFirstId].subject;
    *body = stored[id - kFirstId].body;
    return true;
  }
  uint32_t StoreMessage(const std::string& subject, const std::string& body) override {
    return AddMessage(subject, body);
  }
  void RestorePosted(const std::vector<Entry>& list) override {
    entries = list;
    posted.clear();
    for (const Entry& e : list) posted.push_back(Find(e.id));
  }

  std::vector<Message> stored;
  std::vector<Message> posted;
  std::vector<Entry> entries;  // parallel to posted

 private:
  Message Find(uint32_t id) const {
    return id >= kFirstId && id - kFirstId < stored.size() ? stored[id - kFirstId] : Message{};
  }
};

class RecordingSoundHandle : public SoundHandle {};

class RecordingAudio : public cEntity_AudioManager {
 public:
  using cEntity_AudioManager::cEntity_AudioManager;
  SoundHandle* PlaySound(const std::string& fileName, bool loop, uint8_t flag) override {
    calls.push_back("play " + fileName + (loop ? " loop " : " once ") + std::to_string(flag));
    handles.push_back(std::make_unique<RecordingSoundHandle>());
    return handles.back().get();
  }
  void StopSound(SoundHandle*) override { calls.push_back("stop"); }
  void AddObjectSound(cEntity_Base*, const std::string& fileName, float, float) override {
    calls.push_back("object " + fileName);
  }
  void RemoveObjectSounds(cEntity_Base*) override { calls.push_back("remove object"); }
  void AddBuildingSound(BOInstance*, const std::string& name, float, float) override {
    calls.push_back("building " + name);
  }
  void RemoveBuildingSounds(BOInstance*) override { calls.push_back("remove building"); }

  std::vector<std::string> calls;
  std::vector<std::unique_ptr<RecordingSoundHandle>> handles;
};

class RecordingParticles : public cEntity_ParticleFactoryManager {
 public:
  struct Effect {
    int32_t kind;
    JVector position;
    JVector direction;
  };
  using cEntity_ParticleFactoryManager::cEntity_ParticleFactoryManager;
  int32_t StartEffect(int32_t kind, const JVector& position, const JVector& direction) override {
    effects.push_back({kind, position, direction});
    return static_cast<int32_t>(effects.size());
  }
  void StartSandstorm() override { ++sandstorms; }
  void ReleaseEffect(int32_t) override {}
  void SetEmitterParam1(int32_t, float) override {}
  void SetEmitterParam2(int32_t, float) override {}

  std::vector<Effect> effects;
  int sandstorms = 0;
};

class RecordingCamera : public cEntity_GameCamera {
 public:
  using cEntity_GameCamera::cEntity_GameCamera;
  void SetFocusXZ(float, float) override {}
  void SetZoom(float) override {}
  void StartShake(int32_t strength, float duration) override { shakes.emplace_back(strength, duration); }
  std::vector<std::pair<int32_t, float>> shakes;
};

}  // namespace simkit
