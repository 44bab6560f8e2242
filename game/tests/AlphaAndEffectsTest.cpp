// The alpha manager's lists and drawing, the particle-effect manager on the
// real factory table with the recording renderer, and the factory table's
// reader on good and bad text.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/entity/EntityManager.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/ParticleService.h"
#include "game/tests/GameTestWorld.h"
#include "scene/AlphaManager.h"
#include "scene/ParticleFactoryManager.h"
#include "scene/ParticleFactoryTable.h"

namespace gametest {
namespace {

class CountingUpdatee : public cAlphaUpdatee {
 public:
  void DrawTranslucent(C3DPass*, Core3D*) override { ++draws; }
  int draws = 0;
};

TEST(AlphaManager, UpdateeListHolesGrowthAndRemoval) {
  GameWorld w;
  cEntity_AlphaManager alpha(w.table.entityManager);
  ASSERT_TRUE(alpha.InitLists());
  ASSERT_TRUE(alpha.AllocateLists());
  std::vector<std::unique_ptr<CountingUpdatee>> updatees;
  for (int i = 0; i < 17; ++i) {
    updatees.push_back(std::make_unique<CountingUpdatee>());
    alpha.AddUpdatee(updatees.back().get());
    if (i == 15) {
      EXPECT_EQ(alpha.GetUpdateeCapacity(), 16u);
    }
  }
  // The seventeenth doubled the list and kept the first sixteen.
  EXPECT_EQ(alpha.GetUpdateeCapacity(), 32u);
  EXPECT_EQ(alpha.GetUpdateeCount(), 17u);
  for (uint32_t i = 0; i < 17; ++i) EXPECT_EQ(alpha.GetUpdatee(i), updatees[i].get()) << i;

  // Removing one inside leaves a hole; the count stays.
  EXPECT_TRUE(alpha.RemoveUpdatee(updatees[3].get()));
  EXPECT_EQ(alpha.GetUpdateeCount(), 17u);
  EXPECT_EQ(alpha.GetUpdatee(3), nullptr);
  EXPECT_FALSE(alpha.RemoveUpdatee(updatees[3].get()));
  // The last one shortens the list; a later add appends at the count.
  EXPECT_TRUE(alpha.RemoveUpdatee(updatees[16].get()));
  EXPECT_EQ(alpha.GetUpdateeCount(), 16u);
  CountingUpdatee late;
  alpha.AddUpdatee(&late);
  EXPECT_EQ(alpha.GetUpdatee(16), &late);
  EXPECT_EQ(alpha.GetUpdatee(3), nullptr);

  // The render skips the hole and draws the models first.
  fake3d::FakeModel* model = w.renderer.NewModel("glass");
  model->AddRef();
  alpha.AddModel(model, JMatrix::Identity());
  EXPECT_EQ(alpha.Render(nullptr, &w.renderer), status::Ok);
  int drawn = 0;
  for (auto& u : updatees) drawn += u->draws;
  EXPECT_EQ(drawn, 15);
  EXPECT_EQ(late.draws, 1);
  ASSERT_EQ(w.renderer.draws.size(), 1u);
  EXPECT_EQ(w.renderer.draws[0].resource, model);

  // The world clear gives the model back and empties both lists.
  const int32_t refs = model->GetRefCount();
  ASSERT_TRUE(alpha.ReleaseLists());
  EXPECT_EQ(model->GetRefCount(), refs - 1);
  EXPECT_EQ(alpha.GetUpdateeCount(), 0u);
  EXPECT_EQ(alpha.GetModelCount(), 0u);
}

TEST(ParticleEffects, StartMoveStopOnTheRealTable) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
  cEntity_ParticleFactoryManager* effects = w.table.particleFactoryManager;
  ASSERT_NE(effects, nullptr);
  auto* weather = dynamic_cast<LWeather*>(w.table.weatherManager);
  ASSERT_NE(weather, nullptr);
  effects->SetWind(&weather->wind);

  struct Case {
    const char* name;
    uint32_t (*start)(cEntity_ParticleFactoryManager*);
    uint16_t factory;
    bool weather;
  } cases[] = {
      {"snow", [](cEntity_ParticleFactoryManager* m) { return m->StartSnow(); }, 2, true},
      {"rain", [](cEntity_ParticleFactoryManager* m) { return m->StartRain(); }, 8, true},
      {"storm rain", [](cEntity_ParticleFactoryManager* m) { return m->StartStormRain(); }, 7, true},
      {"falling", [](cEntity_ParticleFactoryManager* m) { return m->StartFallingEffect(); }, 1, true},
      {"blizzard", [](cEntity_ParticleFactoryManager* m) { return m->StartBlizzard(); }, 10, true},
      {"sandstorm", [](cEntity_ParticleFactoryManager* m) { return m->StartSandstormEffect(); }, 4, false},
  };
  uint32_t lastId = 0;
  for (const Case& c : cases) {
    const uint32_t id = c.start(effects);
    ASSERT_NE(id, 0u) << c.name;
    EXPECT_GT(id, lastId) << c.name;
    lastId = id;
    cParticleEmitter* emitter = effects->GetEffectEmitter(id);
    ASSERT_NE(emitter, nullptr) << c.name;
    EXPECT_EQ(w.manager->GetParticleFactory(c.factory)->GetEmitterCount(), 1) << c.name;
    EXPECT_EQ(emitter->force, &weather->wind) << c.name;
    if (c.weather) {
      EXPECT_FLOAT_EQ(emitter->floorHeight, -100000.0f) << c.name;
    }
  }
  const uint32_t fire = effects->StartBuildingEffect(JVector(5.0f, 0.0f, 5.0f), false);
  ASSERT_NE(fire, 0u);
  EXPECT_EQ(effects->MoveEffect(fire, JVector(6.0f, 0.0f, 6.0f)), status::Ok);
  EXPECT_FLOAT_EQ(effects->GetEffectEmitter(fire)->GetPosition().x, 6.0f);
  effects->SetEmitterParam1(static_cast<int32_t>(fire), 0.5f);
  EXPECT_FLOAT_EQ(effects->GetEffectEmitter(fire)->lifeScale, 0.5f);
  EXPECT_NE(effects->StartNamedEffect("smoke plume", JVector(0.0f, 0.0f, 0.0f)), 0u);
  EXPECT_EQ(effects->StartNamedEffect("no such factory", JVector(0.0f, 0.0f, 0.0f)), 0u);

  EXPECT_EQ(effects->StopEffect(fire), status::Ok);
  EXPECT_TRUE(effects->GetEffectEmitter(fire)->suppressed);
  EXPECT_EQ(effects->StopEffect(999999), status::Fail);
  EXPECT_EQ(effects->MoveEffect(999999, JVector(0.0f, 0.0f, 0.0f)), status::Fail);
  EXPECT_EQ(effects->GetEffectEmitter(999999), nullptr);

  // Weather effects follow the wind and the view each update.
  effects->UpdateEffects();
  cParticleEmitter* snow = effects->GetEffectEmitter(1);
  ASSERT_NE(snow, nullptr);
  EXPECT_FLOAT_EQ(snow->drift.x, weather->wind.x * 0.3f);

  // Switched off, every effect goes at the next update.
  const size_t running = effects->GetEffectCount();
  EXPECT_GT(running, 0u);
  effects->SetEnabled(false);
  effects->UpdateEffects();
  EXPECT_EQ(effects->GetEffectCount(), 0u);
}

TEST(ParticleEffects, TornadoEndsAtTheEdgeAndDamagesBuildings) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok);
  cEntity_ParticleFactoryManager* effects = w.table.particleFactoryManager;
  JVector gale(1600.0f, 0.0f, 0.0f);  // 100 units an update
  effects->SetWind(&gale);
  const uint32_t id = effects->StartTornado(JVector(0.0f, 0.0f, 0.0f));
  ASSERT_NE(id, 0u);
  effects->UpdateEffects();
  EXPECT_FLOAT_EQ(effects->GetEffectEmitter(id)->GetPosition().x, 100.0f);
  EXPECT_FALSE(effects->GetEffectEmitter(id)->suppressed);
  effects->UpdateEffects();
  EXPECT_TRUE(effects->GetEffectEmitter(id)->suppressed);
  const auto& calls = Log().calls;
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "buildings tornado"), 2);
}

TEST(ParticleEffects, TooFewFactoriesStartNothing) {
  GameWorld w;
  // A table of two factories: indices 3 and up do not exist.
  w.dir.Write("Particles/factories.kvp", "factorytype One a\n}\nfactorytype Two b\n}\n");
  w.table.entityManager->SetResourcePath(w.dir.Root().string() + "/");
  ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
  ASSERT_EQ(w.manager->GetParticleFactoryCount(), 3);
  cEntity_ParticleFactoryManager* effects = w.table.particleFactoryManager;
  EXPECT_EQ(effects->StartBlizzard(), 0u);
  EXPECT_EQ(effects->StartRain(), 0u);
  EXPECT_EQ(effects->StartTornado(JVector(0.0f, 0.0f, 0.0f)), 0u);
  EXPECT_EQ(effects->GetEffectCount(), 0u);
  EXPECT_NE(effects->StartSnow(), 0u);
  EXPECT_EQ(effects->GetEffectCount(), 1u);
  std::vector<uint8_t> saved = {1, 2, 3};
  EXPECT_TRUE(effects->Save(&saved));
  EXPECT_TRUE(saved.empty());
  EXPECT_FALSE(effects->Load(nullptr, 0));
}

TEST(ParticleFactoryTable, ReadsStatementsAndSkipsWhatItCannotUse) {
  struct Case {
    const char* name;
    const char* text;
    size_t factories;
    uint32_t skipped;
    float gravity;  // of the last factory
  } cases[] = {
      {"one factory", "factorytype A x\n gravity 2 ;\n}\n", 1, 0, 2.0f},
      {"extra value ignored", "factorytype A x\n gravity 2 3 ;\n radius 1 2 ;\n}\n", 1, 0, 2.0f},
      {"missing value skipped", "factorytype A x\n gravity ;\n}\n", 1, 1, 0.0f},
      {"bad number skipped", "factorytype A x\n gravity two ;\n}\n", 1, 1, 0.0f},
      {"unknown keyword skipped", "factorytype A x\n sparkle 1 ;\n gravity 3 ;\n}\n", 1, 1, 3.0f},
      {"text outside a factory", "hello world ;\nfactorytype A x\n}\n", 1, 1, 0.0f},
      {"never closed", "factorytype A x\n gravity 1 ;\n", 0, 0, 0.0f},
      {"stray brace", "}\n", 0, 1, 0.0f},
      {"short factorytype", "factorytype A ;\n", 0, 1, 0.0f},
      {"empty", "", 0, 0, 0.0f},
  };
  for (const Case& c : cases) {
    std::vector<ParticleFactoryDef> factories;
    uint32_t skipped = 99;
    cParticleFactoryTable::Parse(c.text, &factories, &skipped);
    EXPECT_EQ(factories.size(), c.factories) << c.name;
    EXPECT_EQ(skipped, c.skipped) << c.name;
    if (!factories.empty()) {
      EXPECT_FLOAT_EQ(factories.back().params.gravity, c.gravity) << c.name;
    }
  }
}

TEST(ParticleFactoryTable, EveryKeywordAndTheDefaults) {
  const char* text =
      "factorytype \"Default Rain\" w\n"
      " emitter_lifespan 1 2 ; particle_lifespan 3 4 ; number 5 6 ; pulse_count 7 ; sleep_time 0.5 ;\n"
      " cycle 0.1 0.2 ; radius 8 9 ; aperture 0.3 0.4 ; aperture_exclusion 0.05 0.06 ; scale_type xy ;\n"
      " scale_birth 1 1.5 ; scale_death 2 2.5 ; scale_birth_y 3 3.5 ; scale_death_y 4 4.5 ;\n"
      " rotation_birth 0 1 ; rotation_death 1 2 ; gravity -1 ; colors_birth 1 2 3 4 5 6 7 8 ;\n"
      " colors_death 9 10 11 12 13 14 15 16 ; speed 10 20 ; iteration_type random ;\n"
      " drift -1 -2 -3 1 2 3 ; max_particles 321 ; shader a.tga ; shader b.tga ; box 1 2 3 ;\n"
      " weather_type rain ;\n}\n"
      "factorytype \"Default Rain\" w\n scale_type square ; weather_type hail ; iteration_type cycle ;\n}\n";
  std::vector<ParticleFactoryDef> f;
  uint32_t skipped = 0;
  cParticleFactoryTable::Parse(text, &f, &skipped);
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(skipped, 0u);
  const ParticleFactoryParams& p = f[0].params;
  EXPECT_EQ(p.name, "Default Rain");
  EXPECT_FLOAT_EQ(p.emitterLifespan.max, 2.0f);
  EXPECT_EQ(p.number.min, 5);
  EXPECT_EQ(p.pulseCount, 7);
  EXPECT_FLOAT_EQ(p.sleepTime, 0.5f);
  EXPECT_FLOAT_EQ(p.apertureExclusion.max, 0.06f);
  EXPECT_EQ(p.scaleType, 1);
  EXPECT_FLOAT_EQ(p.scaleDeathY.max, 4.5f);
  EXPECT_FLOAT_EQ(p.gravity, -1.0f);
  EXPECT_EQ(p.coloursBirth.max[3], 8);
  EXPECT_EQ(p.coloursDeath.min[0], 9);
  EXPECT_EQ(p.iterationType, 2);
  EXPECT_FLOAT_EQ(p.driftMax.z, 3.0f);
  EXPECT_EQ(p.maxParticles, 321);
  EXPECT_EQ(f[0].materialNames, (std::vector<std::string>{"a.tga", "b.tga"}));
  EXPECT_FLOAT_EQ(p.box.y, 2.0f);
  EXPECT_EQ(p.weatherType, 2);
  // Unknown words give 0; an unset factory keeps 100 particles.
  EXPECT_EQ(f[1].params.scaleType, 0);
  EXPECT_EQ(f[1].params.weatherType, 0);
  EXPECT_EQ(f[1].params.iterationType, 1);
  EXPECT_EQ(f[1].params.maxParticles, 100);

  // Registered after the default factory: the later of two "Default Rain"
  // factories is the default.
  GameWorld w;
  ASSERT_EQ(w.Init(), status::Ok);
  w.dir.Write("t.kvp", text);
  cParticleFactoryTable table;
  FactoryTableResult result;
  cParticleService service(w.table.entityManager);
  ASSERT_EQ(table.Load(w.dir.Root().string() + "/", "t.kvp", &service, &w.renderer, &result), status::Ok);
  EXPECT_EQ(service.GetFactoryCount(), 3);
  EXPECT_EQ(result.defaultRain, 2);
  EXPECT_EQ(result.defaultSnow, -1);
  // A missing table leaves the default factory alone.
  cParticleService alone(w.table.entityManager);
  ASSERT_EQ(table.Load(w.dir.Root().string() + "/", "missing.kvp", &alone, &w.renderer, &result), status::Ok);
  EXPECT_EQ(alone.GetFactoryCount(), 1);
  EXPECT_EQ(table.Load("", "t.kvp", nullptr, &w.renderer, &result), status::Fail);
}

}  // namespace
}  // namespace gametest
