// Dynamic meshes on the record device: creation by name, counts in use,
// arrays owned or borrowed, device buffers that only grow, line mode, the
// shader's images, drawing through the frame, and the refusals.
#include <gtest/gtest.h>

#include <vector>

#include "RendererTestUtil.h"
#include "renderer/resources/DX8_DynaMesh.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace {

using namespace rtest;

// Draws the mesh into the pass from the pass's prepare hook.
class MeshDrawer : public C3DEntity {
 public:
  MeshDrawer(Core3D* renderer, C3DMesh* mesh) : renderer_(renderer), mesh_(mesh) {}
  void OnPassPrepare(C3DPass* pass) override { renderer_->DrawResource(pass, mesh_, &world); }
  JMatrix world = JMatrix::Identity();

 private:
  Core3D* renderer_;
  C3DMesh* mesh_;
};

class DynaMeshTest : public RecordRenderer {
 protected:
  void TearDown() override {
    gfx::SetRefusedBufferCreation(false);
    gfx::SetRefusedLocks(0);
    RecordRenderer::TearDown();
  }
  DX8_DynaMesh* Mesh() { return dynamic_cast<DX8_DynaMesh*>(renderer.CreateMesh(0, "DynamicMesh")); }
  DX8MaterialShader* Material() {
    auto* m = dynamic_cast<DX8MaterialShader*>(renderer.CreateShader(RF_BUILTIN, "solid shader"));
    return m;
  }
  // One frame with the mesh drawn into a viewed pass; the draw calls it made.
  std::vector<gfx::Call> DrawFrame(C3DMesh* mesh) {
    C3DPassDX8* pass = ViewedPass();
    MeshDrawer drawer(&renderer, mesh);
    pass->SetPrepareHook(&drawer);
    Log().Clear();
    EXPECT_EQ(renderer.RenderFrame(), 0);
    renderer.RemovePass(pass->GetIndex());
    std::vector<gfx::Call> draws;
    for (const gfx::Call& call : Log().Calls()) {
      if (call.op == gfx::CallOp::DrawPrimitive || call.op == gfx::CallOp::DrawPrimitiveUP ||
          call.op == gfx::CallOp::DrawIndexedPrimitive || call.op == gfx::CallOp::DrawIndexedPrimitiveUP)
        draws.push_back(call);
    }
    return draws;
  }
  std::vector<RenderVertex> vertices = std::vector<RenderVertex>(8, RenderVertex{0, 0, 0.5f, ~0u, 0, 0, 0, 0});
  std::vector<uint16_t> indices = {0, 1, 2, 2, 1, 3, 4, 5};
};

TEST_F(DynaMeshTest, CreatedOnlyForDynamicMeshNamesEachTimeAnew) {
  C3DMesh* a = renderer.CreateMesh(7, "DynamicMesh_terrain");
  C3DMesh* b = renderer.CreateMesh(7, "dynamicmesh_terrain");
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(a->GetName(), "dynamicmesh_terrain");
  EXPECT_EQ(a->GetFlags(), 7u);
  EXPECT_EQ(renderer.CreateMesh(0, "mesh"), nullptr);
  EXPECT_EQ(renderer.CreateMesh(0, "dynamicmes"), nullptr);
  // An unreferenced mesh stays registered until shutdown.
  const int32_t index = a->GetRegistryIndex();
  renderer.ReleaseResource(a);
  renderer.Update(0.0f);
  EXPECT_EQ(renderer.GetMesh(uint32_t(index)), a);
}

TEST_F(DynaMeshTest, DrawsWhatItsModeAndCountsSay) {
  struct Case {
    const char* name;
    bool lines;
    uint32_t vertexCount, indexCount;
    gfx::CallOp op;
    uint32_t primitives;  // 0: nothing drawn
  };
  const Case cases[] = {
      {"7 line vertices draw 3 lines", true, 7, 0, gfx::CallOp::DrawPrimitiveUP, 3},
      {"8 indices draw 2 triangles", false, 8, 8, gfx::CallOp::DrawIndexedPrimitiveUP, 2},
      {"vertices without indices draw nothing", false, 8, 0, gfx::CallOp::DrawIndexedPrimitiveUP, 0},
      {"an empty line mesh draws nothing", true, 0, 6, gfx::CallOp::DrawPrimitiveUP, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8_DynaMesh* mesh = Mesh();
    mesh->SetShader(Material());
    mesh->SetLineMode(c.lines);
    ASSERT_TRUE(mesh->SetVertices(vertices.data(), c.vertexCount, false, false));
    ASSERT_TRUE(mesh->SetIndices(indices.data(), c.indexCount, false, false));
    const std::vector<gfx::Call> draws = DrawFrame(mesh);
    if (c.primitives == 0) {
      EXPECT_TRUE(draws.empty());
      continue;
    }
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].op, c.op);
    const uint32_t primitives = c.op == gfx::CallOp::DrawPrimitiveUP ? draws[0].b : draws[0].c;
    EXPECT_EQ(primitives, c.primitives);
  }
}

TEST_F(DynaMeshTest, CountsInUseClampToTheArraysGiven) {
  DX8_DynaMesh* mesh = Mesh();
  std::vector<RenderVertex> many(600);
  ASSERT_TRUE(mesh->SetVertices(many.data(), 600, false, false));
  EXPECT_EQ(mesh->SetVertexCount(1000), 600);
  EXPECT_EQ(mesh->SetVertexCount(-5), 0);
  EXPECT_EQ(mesh->SetVertexCount(17), 17);
  EXPECT_EQ(mesh->Geometry().vertexCount, 17);
  EXPECT_EQ(mesh->SetIndexCount(3), 0);
  // More vertices than the geometry can count are refused; nothing changes.
  std::vector<RenderVertex> huge(70000);
  EXPECT_FALSE(mesh->SetVertices(huge.data(), 70000, false, false));
  EXPECT_EQ(mesh->Geometry().vertices, many.data());
  EXPECT_EQ(mesh->Geometry().vertexCount, 17);
}

TEST_F(DynaMeshTest, OwnedArraysAreFreedOnceAndKeptWhenGivenAgain) {
  DX8_DynaMesh* mesh = Mesh();
  mesh->SetShader(Material());
  auto* owned = new RenderVertex[3]{{0, 0, 0.5f, ~0u, 0, 0, 0, 0}, {1, 0, 0.5f, ~0u, 0, 0, 0, 0},
                                    {0, 1, 0.5f, ~0u, 0, 0, 0, 0}};
  auto* ownedIndices = new uint16_t[3]{0, 1, 2};
  ASSERT_TRUE(mesh->SetVertices(owned, 3, true, false));
  ASSERT_TRUE(mesh->SetIndices(ownedIndices, 3, true, false));
  // Given again: still the mesh's, still drawn (the sanitizer sees any read
  // of freed memory).
  ASSERT_TRUE(mesh->SetVertices(owned, 3, true, false));
  ASSERT_TRUE(mesh->SetIndices(ownedIndices, 3, true, false));
  EXPECT_EQ(DrawFrame(mesh).size(), 1u);
  // Replaced by a borrowed array: the owned one is freed (the leak checker
  // sees it otherwise) and the borrowed one is never freed.
  ASSERT_TRUE(mesh->SetVertices(vertices.data(), 3, false, false));
  EXPECT_EQ(DrawFrame(mesh).size(), 1u);
}

TEST_F(DynaMeshTest, DeviceBuffersOnlyGrowUnlessForced) {
  DX8_DynaMesh* mesh = Mesh();
  mesh->SetShader(Material());
  mesh->SetUseBuffers(1);
  ASSERT_TRUE(mesh->SetVertices(vertices.data(), 8, false, false));
  ASSERT_TRUE(mesh->SetIndices(indices.data(), 6, false, false));
  EXPECT_EQ(mesh->VertexBufferCapacity(), 8u);
  std::vector<gfx::Call> draws = DrawFrame(mesh);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].op, gfx::CallOp::DrawIndexedPrimitive);
  ASSERT_TRUE(mesh->SetVertices(vertices.data(), 4, false, false));
  EXPECT_EQ(mesh->VertexBufferCapacity(), 8u);
  ASSERT_TRUE(mesh->SetVertices(vertices.data(), 4, false, true));
  EXPECT_EQ(mesh->VertexBufferCapacity(), 4u);
  mesh->Reserve(100, 300);
  EXPECT_EQ(mesh->VertexBufferCapacity(), 100u);
  EXPECT_EQ(mesh->IndexBufferCapacity(), 300u);

  struct Case {
    const char* name;
    bool refuseCreation;
    uint32_t refuseLocks;
  };
  for (const Case& c : {Case{"buffer creation refused", true, 0}, Case{"lock refused", false, gfx::kRefuseBufferLocks}}) {
    SCOPED_TRACE(c.name);
    gfx::SetRefusedBufferCreation(c.refuseCreation);
    gfx::SetRefusedLocks(c.refuseLocks);
    EXPECT_FALSE(mesh->SetVertices(vertices.data(), 8, false, true));
    EXPECT_FALSE(mesh->SetIndices(indices.data(), 6, false, true));
    EXPECT_EQ(mesh->Geometry().vertexCount, 0);
    EXPECT_EQ(mesh->Geometry().indexCount, 0u);
    EXPECT_TRUE(DrawFrame(mesh).empty());
    gfx::SetRefusedBufferCreation(false);
    gfx::SetRefusedLocks(0);
  }
}

TEST_F(DynaMeshTest, ShaderReferencesAndLayerImages) {
  DX8_DynaMesh* mesh = Mesh();
  DX8MaterialShader* shader = Material();
  const uint16_t count = shader->GetRefCount();
  mesh->SetShader(shader);
  mesh->SetShader(shader);
  EXPECT_EQ(shader->GetRefCount(), count + 1);
  EXPECT_EQ(mesh->Item().images[0], shader->GetLayerImage(0));
  EXPECT_NE(mesh->Item().images[0], nullptr);
  mesh->SetShader(nullptr);
  EXPECT_EQ(shader->GetRefCount(), count);
  for (C3DImage* image : mesh->Item().images) EXPECT_EQ(image, nullptr);
}

}  // namespace
