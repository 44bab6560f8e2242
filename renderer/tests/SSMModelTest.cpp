// The SSM model resource and the renderer's container cache, on the record
// device, with model files written into a scratch folder.
#include <gtest/gtest.h>

#include "platform/tests/ScratchDir.h"
#include "renderer/formats/SSMObject.h"
#include "renderer/formats/tests/SSMFixtures.h"
#include "renderer/models/DX8Model_SSM.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/tests/ImageTestUtil.h"
#include "renderer/tests/RendererTestUtil.h"

namespace {

namespace gfx = platform::gfx;

class SSMModels : public rtest::RecordRenderer {
 protected:
  void SetUp() override {
    RecordRenderer::SetUp();
    WriteModel("models/box.ssm", *SSMBoxModel(2, 3));
    dir.Write("models/brick.tga", rtest::TgaTopDown(2, 2, std::vector<uint32_t>(4, 0xFFAA5500u)));
  }
  void TearDown() override {
    gfx::SetRefusedBufferCreation(false);
    gfx::SetRefusedLocks(0);
    RecordRenderer::TearDown();
  }
  void WriteModel(const std::string& file, const SSMObject& model) {
    std::vector<uint8_t> bytes;
    ASSERT_EQ(model.Save(&bytes), status::Ok);
    dir.Write(file, bytes);
  }
  // The request name of a file in the scratch folder, in the game's form.
  std::string Name(const std::string& folder, const std::string& file) const {
    return dir.Root().string() + "/" + folder + "\\" + file;
  }
  DX8Model_SSM* Box(uint32_t flags = RF_UNSHARED) {
    return dynamic_cast<DX8Model_SSM*>(renderer.CreateModel(flags, Name("models", "box.ssm")));
  }

  ScratchDir dir;
};

TEST_F(SSMModels, ContainerReadOnceForTwoModels) {
  DX8Model_SSM* a = Box();
  DX8Model_SSM* b = Box();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(a->Object(), b->Object());
  EXPECT_EQ(renderer.GetContainerCount(), 1u);
  EXPECT_NE(a->Handle(), b->Handle());
  // Each model draws with a shader instance of its own over the one picture.
  auto* sa = dynamic_cast<DX8MaterialShader*>(a->GetShader(0));
  auto* sb = dynamic_cast<DX8MaterialShader*>(b->GetShader(0));
  ASSERT_NE(sa, nullptr);
  ASSERT_NE(sb, nullptr);
  EXPECT_NE(sa, sb);
  ASSERT_NE(sa->GetLayerImage(0), nullptr);
  EXPECT_EQ(sa->GetLayerImage(0), sb->GetLayerImage(0));
  EXPECT_EQ(a->Object()->resources[0]->name, "brick.tga");
  renderer.ReleaseResource(a);
  renderer.ReleaseResource(b);
}

TEST_F(SSMModels, TextureReferences) {
  struct Case {
    const char* what;
    const char* reference;
    const char* script;   // written beside the model when set
    const char* name;     // the record's name afterwards
    bool shader;
  };
  const Case cases[] = {
      {"picture without script", "file;textures\\Brick.TGA", nullptr, "brick.tga", true},
      {"script beside the model", "brick.tga", "layer 0; image models\\ brick.tga;", "brick.jsm", true},
      {"missing picture", "nothing.bmp", nullptr, "nothing.bmp", false},
      {"not a texture kind", "Brick.DDS", nullptr, "Brick.DDS", false},
      {"shorter than an extension", "tga", nullptr, "tga", false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir local;
    auto model = SSMBoxModel(1, 1);
    model->resources[0]->name = c.reference;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(model->Save(&bytes), status::Ok);
    const std::string file = "case" + std::to_string(n++) + ".ssm";
    local.Write("models/" + file, bytes);
    local.Write("models/brick.tga", rtest::TgaTopDown(2, 2, std::vector<uint32_t>(4, 0xFF112233u)));
    if (c.script) local.Write("models/brick.jsm", std::string(c.script));
    renderer.SetResourcePath(local.Root().string() + "/");
    SSMObject* container = renderer.LoadContainer(local.Root().string() + "/models\\" + file, 0);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->resources[0]->name, c.name);
    EXPECT_EQ(container->resources[0]->shader != nullptr, c.shader);
  }
}

TEST_F(SSMModels, MissingFileCachesNothing) {
  const std::string name = Name("models", "later.ssm");
  C3DModel* fallback = renderer.CreateModel(0, name);
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(fallback->GetName(), "default_model");
  EXPECT_EQ(renderer.CreateModel(RF_NOFALLBACK, name), nullptr);
  EXPECT_EQ(renderer.GetContainerCount(), 0u);
  WriteModel("models/later.ssm", *SSMBoxModel(1, 1));
  C3DModel* model = renderer.CreateModel(RF_NOFALLBACK, name);
  EXPECT_NE(dynamic_cast<DX8Model_SSM*>(model), nullptr);
  renderer.ReleaseResource(fallback);
  renderer.ReleaseResource(model);
}

TEST_F(SSMModels, CorruptFilesAreRefused) {
  std::vector<uint8_t> good;
  ASSERT_EQ(SSMBoxModel(1, 2)->Save(&good), status::Ok);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> badMagic = good;
  badMagic[0] = 'X';
  std::vector<uint8_t> cut(good.begin(), good.begin() + long(good.size() / 2));
  std::vector<uint8_t> faceOut = good;
  faceOut[22] = 0xFF;  // first face's first vertex far out of range
  faceOut[23] = 0x7F;
  const Case cases[] = {{"wrong magic", badMagic}, {"cut short", cut}, {"face past the vertices", faceOut},
                        {"empty", {}}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = "bad" + std::to_string(n++) + ".ssm";
    dir.Write("models/" + file, c.bytes);
    EXPECT_EQ(renderer.CreateModel(RF_NOFALLBACK, Name("models", file)), nullptr);
  }
  EXPECT_EQ(renderer.GetContainerCount(), 0u);
}

TEST_F(SSMModels, TooManyCornersForSixteenBitIndicesIsRefused) {
  SSMObject object;
  for (int i = 0; i < 2; ++i) {
    auto g = std::make_unique<SSMGroup>();
    g->cornerCount = 40000;
    object.groups.push_back(std::move(g));
  }
  EXPECT_EQ(DX8Model_SSM::Create(&renderer, &object, 0, "big.ssm"), nullptr);
  EXPECT_TRUE(object.handles.empty());
}

TEST_F(SSMModels, RefusedBuffersFallBack) {
  gfx::SetRefusedBufferCreation(true);
  C3DModel* model = renderer.CreateModel(0, Name("models", "box.ssm"));
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->GetName(), "default_model");
  EXPECT_EQ(renderer.CreateModel(RF_NOFALLBACK, Name("models", "box.ssm")), nullptr);
  gfx::SetRefusedBufferCreation(false);
  gfx::SetRefusedLocks(gfx::kRefuseBufferLocks);
  EXPECT_EQ(renderer.CreateModel(RF_NOFALLBACK, Name("models", "box.ssm")), nullptr);
  gfx::SetRefusedLocks(0);
  renderer.ReleaseResource(model);
}

TEST_F(SSMModels, BlendsKeyFramesInSystemMemory) {
  DX8Model_SSM* model = Box();
  ASSERT_NE(model, nullptr);
  model->SetDynamic();
  C3DPassDX8* pass = ViewedPass();
  model->Draw(pass, nullptr);
  ASSERT_NE(model->SystemVertices(), nullptr);
  // Frame f lifts every vertex by 0.25 f; keys last 0.5 s each.
  const float restY = model->SystemVertices()[0].y;
  ASSERT_EQ(model->FindAnimation("lift"), 0);
  EXPECT_EQ(model->FindAnimation("LIFT"), -1);
  model->PlayAnimation(0, 1.0f, 1.0f, true, false);
  model->AdvanceAnimation(0, 0.25f);  // half way from frame 0 to frame 1
  model->Draw(pass, nullptr);
  EXPECT_FLOAT_EQ(model->SystemVertices()[0].y, restY + 0.125f);
  model->AdvanceAnimation(0, 0.5f);  // half way from frame 1 to frame 2
  model->Draw(pass, nullptr);
  EXPECT_FLOAT_EQ(model->SystemVertices()[0].y, restY + 0.375f);
  EXPECT_TRUE(model->IsAnimationPlaying(0));
  EXPECT_FLOAT_EQ(model->GetAnimationLength(0), 1.5f);
  renderer.ReleaseResource(model);
}

TEST_F(SSMModels, StaticModelSwitchesBuffersWithTheAnimation) {
  DX8Model_SSM* model = Box();
  C3DPassDX8* pass = ViewedPass();
  model->Draw(pass, nullptr);
  EXPECT_FALSE(model->HasDynamicBuffer());
  EXPECT_EQ(pass->DrawList().size(), 2u);
  // Non-looping: after the last key the animation stops by itself.
  model->PlayAnimation(0, 1.0f, 1.0f, false, false);
  model->PlayAnimation(0, 1.0f, 2.0f, true, true);  // ignored while one runs
  EXPECT_FALSE(model->IsAnimationLooping(0));
  model->Draw(pass, nullptr);
  EXPECT_TRUE(model->HasDynamicBuffer());
  EXPECT_EQ(model->CurrentAnimation(), 0);
  model->AdvanceAnimation(0, 5.0f);
  EXPECT_FALSE(model->IsAnimationPlaying(0));
  model->Draw(pass, nullptr);
  EXPECT_EQ(model->CurrentAnimation(), -1);
  EXPECT_FALSE(model->HasDynamicBuffer());
  renderer.ReleaseResource(model);
}

TEST_F(SSMModels, RunningAnimationSurvivesAReset) {
  DX8Model_SSM* model = Box();
  C3DPassDX8* pass = ViewedPass();
  model->PlayAnimation(0, 1.0f, 1.0f, true, false);
  model->Draw(pass, nullptr);
  ASSERT_TRUE(model->HasDynamicBuffer());
  gfx::SimulateDeviceLoss(gfx::DeviceLoss::NotReset);
  EXPECT_EQ(renderer.RenderFrame(), 1);  // reset, nothing drawn
  EXPECT_EQ(gfx::GetSimulatedDeviceLoss(), gfx::DeviceLoss::None);
  EXPECT_EQ(model->VertexBuffer(), nullptr);
  pass->ResetForFrame();
  model->AdvanceAnimation(0, 0.1f);
  model->Draw(pass, nullptr);
  EXPECT_NE(model->VertexBuffer(), nullptr);
  EXPECT_TRUE(model->HasDynamicBuffer());
  EXPECT_EQ(pass->DrawList().size(), 2u);
  EXPECT_EQ(pass->DrawList()[0]->geometry->vertexBuffer, model->VertexBuffer());
  // A buffer that cannot be made again skips the draw, and the next draw
  // tries again.
  model->ReleaseDeviceBuffers();
  gfx::SetRefusedBufferCreation(true);
  pass->ResetForFrame();
  model->Draw(pass, nullptr);
  EXPECT_TRUE(pass->DrawList().empty());
  gfx::SetRefusedBufferCreation(false);
  model->Draw(pass, nullptr);
  EXPECT_EQ(pass->DrawList().size(), 2u);
  EXPECT_EQ(renderer.RenderFrame(), 0);
  renderer.ReleaseResource(model);
}

TEST_F(SSMModels, PartsShadersAndInstances) {
  DX8Model_SSM* model = Box();
  ASSERT_EQ(model->GetPartCount(), 2);
  EXPECT_EQ(model->GetPartName(1), "box1");
  EXPECT_EQ(model->GetPartName(2), "");
  // A hidden part is not drawn.
  model->SetPartVisible(1, false);
  EXPECT_FALSE(model->IsPartVisible(1));
  C3DPassDX8* pass = ViewedPass();
  model->Draw(pass, nullptr);
  EXPECT_EQ(pass->DrawList().size(), 1u);
  // The model holds its own reference on a shader it is given.
  C3DBaseShader* solid = renderer.CreateShader(RF_BUILTIN, "solid shader");
  model->SetShader(0, solid);
  EXPECT_EQ(solid->GetRefCount(), 2);
  solid->Release();
  EXPECT_EQ(model->GetShader(0), solid);
  EXPECT_EQ(renderer.GetShader(uint32_t(solid->GetRegistryIndex())), solid);
  // Every part draws once per instance through the one shared list.
  JMatrix a = JMatrix::Identity(), b = JMatrix::Identity();
  model->AddInstance(&a);
  model->AddInstance(&b);
  EXPECT_EQ(model->GroupGeometry(0)->instances, model->GroupGeometry(1)->instances);
  EXPECT_EQ(model->GroupGeometry(1)->instances->size(), 2u);
  model->RemoveInstance(&a);
  EXPECT_EQ(model->GroupGeometry(0)->instances->size(), 1u);
  // Anchor queries on a model without anchors.
  model->SetAnchor(0);
  EXPECT_EQ(model->GetAnchor(), -1);
  EXPECT_FALSE(model->GetAnchorMatrix(0, &a));
  EXPECT_EQ(model->GetVertexCount(), 16);
  EXPECT_EQ(model->GetFaceCount(), 24);
  renderer.ReleaseResource(model);
  renderer.Update(0.0f);
}

TEST_F(SSMModels, BoundsFollowVisiblePartsAndFrames) {
  DX8Model_SSM* model = Box();
  float lo[3], hi[3];
  JMatrix centre;
  model->GetBounds(lo, hi, &centre);
  EXPECT_FLOAT_EQ(lo[0], 0.3f);
  EXPECT_FLOAT_EQ(hi[0], 3.3f);
  EXPECT_FLOAT_EQ(lo[1], 0.0f);  // the last animation's frame 0 when none plays
  EXPECT_FLOAT_EQ(centre.m[3][0], 1.8f);
  model->SetPartVisible(1, false);
  model->GetBounds(lo, hi, &centre);
  EXPECT_FLOAT_EQ(hi[0], 1.3f);
  model->PlayAnimation(0, 1.0f, 1.0f, true, false);
  model->AdvanceAnimation(0, 0.75f);  // half way from frame 1 to frame 2
  model->GetBounds(lo, hi, &centre);
  EXPECT_FLOAT_EQ(lo[1], 0.375f);
  renderer.ReleaseResource(model);
}

}  // namespace
