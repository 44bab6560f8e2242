// The default cube, the polymesh and the model family's built-in branch and
// fallback, on the record device.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "renderer/models/DX8Model_Def01.h"
#include "renderer/models/DX8Model_PMesh.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/tests/RendererTestUtil.h"

namespace {

using rtest::RecordRenderer;
namespace gfx = platform::gfx;

class Models : public RecordRenderer {
 protected:
  DX8Model_PMesh* Plane(const std::string& name, uint32_t flags = RF_BUILTIN | RF_UNSHARED) {
    return dynamic_cast<DX8Model_PMesh*>(renderer.CreateModel(flags, name));
  }
  C3DBaseShader* Solid() { return renderer.CreateShader(RF_BUILTIN, "solid shader"); }
};

TEST_F(Models, FamilyTable) {
  struct Case {
    const char* what;
    uint32_t flags;
    const char* name;
    const char* gives;  // stored name, or null for no model
  };
  const Case cases[] = {
      {"built-in default", RF_BUILTIN, "Default_Model", "default_model"},
      {"plane", RF_BUILTIN, "polymesh_planeUL_cursor", "polymesh_planeul_cursor"},
      {"empty polymesh", RF_BUILTIN, "polymesh_road", "polymesh_road"},
      {"unknown built-in falls back", RF_BUILTIN, "teapot", "default_model"},
      {"unknown built-in without fallback", RF_BUILTIN | RF_NOFALLBACK, "teapot", nullptr},
      {"missing model file", 0, "Models\\nothing_here.ssm", "default_model"},
      {"missing model file without fallback", RF_NOFALLBACK, "Models\\nothing_here.ssm", nullptr},
      {"picture names make no model", 0, "wall.tga", "default_model"},
      {"picture without fallback", RF_NOFALLBACK, "wall.jpg", nullptr},
      {"find-only miss", RF_BUILTIN | RF_FINDONLY, "polymesh_plane", "default_model"},
      {"other extension", 0, "tower.obj", "default_model"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    C3DModel* model = renderer.CreateModel(c.flags, c.name);
    if (!c.gives) {
      EXPECT_EQ(model, nullptr);
      continue;
    }
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->GetName(), c.gives);
    renderer.ReleaseResource(model);
  }
}

TEST_F(Models, EqualRequestsShareAndUnsharedDoNot) {
  C3DModel* a = renderer.CreateModel(RF_BUILTIN, "default_model");
  C3DModel* b = renderer.CreateModel(RF_BUILTIN, "DEFAULT_MODEL");
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->GetRefCount(), 2);
  C3DModel* c = renderer.CreateModel(RF_BUILTIN | RF_UNSHARED, "default_model");
  EXPECT_NE(c, a);
  for (C3DModel* m : {a, b, c}) renderer.ReleaseResource(m);
  // A model nobody holds leaves the registry at once.
  const int32_t index = a->GetRegistryIndex();
  EXPECT_EQ(renderer.GetModel(uint32_t(index)), nullptr);
}

TEST_F(Models, DefaultCube) {
  C3DModel* cube = renderer.CreateModel(RF_BUILTIN, "default_model");
  auto* def = dynamic_cast<DX8Model_Def01*>(cube);
  ASSERT_NE(def, nullptr);
  float lo[3] = {9, 9, 9}, hi[3] = {9, 9, 9};
  JMatrix m = JMatrix::Zero();
  cube->GetBounds(lo, hi, &m);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(lo[k], -1.0f);
    EXPECT_EQ(hi[k], 1.0f);
  }
  EXPECT_EQ(m.m[0][0], 1.0f);
  EXPECT_EQ(cube->GetVertexCount(), 8);
  EXPECT_EQ(cube->GetFaceCount(), 12);
  EXPECT_EQ(cube->GetPartCount(), 1);
  EXPECT_EQ(cube->GetPartName(0), "Default");
  EXPECT_EQ(cube->GetAnimationName(0), "Default");
  EXPECT_EQ(cube->GetAnchor(), -1);
  EXPECT_FALSE(cube->IsEditable());
  EXPECT_FALSE(cube->BeginEdit());
  // Every index names a corner and every corner's colour has alpha 0.
  const MeshGeometry& g = def->Geometry();
  ASSERT_EQ(g.indexCount, 36u);
  for (uint32_t i = 0; i < g.indexCount; ++i) EXPECT_LT(g.indices[i], 8);
  EXPECT_EQ(g.vertices[5].diffuse, 0x00FFFFFFu);
  EXPECT_EQ(g.vertices[6].x, 1.0f);
  EXPECT_EQ(g.vertices[6].y, -1.0f);

  // Drawn only with a material; a non-material or null leaves it bare.
  C3DPassDX8* pass = ViewedPass();
  cube->Draw(pass, nullptr);
  EXPECT_TRUE(pass->DrawList().empty());
  C3DBaseShader* solid = Solid();
  cube->SetShader(7, solid);
  EXPECT_EQ(cube->GetShader(0), solid);
  EXPECT_EQ(solid->GetRefCount(), 2);
  JMatrix world = JMatrix::Identity();
  world.m[3][0] = 5.0f;
  cube->Draw(pass, &world);
  ASSERT_EQ(pass->DrawList().size(), 1u);
  EXPECT_EQ(pass->DrawList()[0]->geometry->world.m[3][0], 5.0f);
  C3DBaseShader* vertex = renderer.CreateShader(RF_BUILTIN, "empty_vertex");
  cube->SetShader(0, vertex);
  EXPECT_EQ(cube->GetShader(0), nullptr);
  EXPECT_EQ(solid->GetRefCount(), 1);
  for (C3DResource* r : {static_cast<C3DResource*>(solid), static_cast<C3DResource*>(vertex)}) r->Release();
  renderer.ReleaseResource(cube);
}

TEST_F(Models, PlaneAnchorsAndEdits) {
  struct Case {
    const char* name;
    float corners[4][2];       // fresh plane
    float widthThree[4];       // x of vertices 0..3 after SetWidth(3)
    float heightTwo[4];        // y of vertices 0..3 after SetHeight(2)
  };
  const Case cases[] = {
      {"polymesh_plane", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {0, 3, 3, 0}, {0, 0, 2, 2}},
      {"polymesh_plane_marker", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {0, 3, 3, 0}, {0, 0, 2, 2}},
      {"polymesh_planeul_cursor", {{0, -1}, {1, -1}, {1, 0}, {0, 0}}, {0, 3, 3, 0}, {-2, -2, 0, 0}},
      {"polymesh_planeur", {{-1, -1}, {0, -1}, {0, 0}, {-1, 0}}, {-3, 0, 0, -3}, {-2, -2, 0, 0}},
      {"polymesh_planelr", {{-1, 0}, {0, 0}, {0, 1}, {-1, 1}}, {-3, 0, 0, -3}, {0, 0, 2, 2}},
      {"polymesh_planecc7", {{-.5f, -.5f}, {.5f, -.5f}, {.5f, .5f}, {-.5f, .5f}}, {-1.5f, 1.5f, 1.5f, -1.5f},
       {-1, -1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8Model_PMesh* plane = Plane(c.name);
    ASSERT_NE(plane, nullptr);
    ASSERT_EQ(plane->GetPartCount(), 1);
    ASSERT_EQ(plane->GetVertexCount(), 4);
    const RenderVertex* v = plane->Vertices();
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(v[i].x, c.corners[i][0]);
      EXPECT_EQ(v[i].y, c.corners[i][1]);
      EXPECT_EQ(v[i].diffuse, 0xFFFFFFFFu);
    }
    plane->SetWidth(3);
    plane->SetHeight(2);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(v[i].x, c.widthThree[i]) << "vertex " << i;
      EXPECT_EQ(v[i].y, c.heightTwo[i]) << "vertex " << i;
    }
    renderer.ReleaseResource(plane);
  }
}

TEST_F(Models, PlaneTexture) {
  DX8Model_PMesh* plane = Plane("polymesh_plane");
  const RenderVertex* v = plane->Vertices();
  plane->SetTextureExtent(0, 4, 4);
  const float extent[4][2] = {{0, 4}, {4, 4}, {4, 0}, {0, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v[i].u, extent[i][0]);
    EXPECT_EQ(v[i].v, extent[i][1]);
  }
  plane->SetTextureRect(1, 0.25f, 0.75f, 0.1f, 0.9f);
  const float rect[4][2] = {{0.25f, 0.9f}, {0.75f, 0.9f}, {0.75f, 0.1f}, {0.25f, 0.1f}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v[i].u2, rect[i][0]);
    EXPECT_EQ(v[i].v2, rect[i][1]);
    EXPECT_EQ(v[i].u, extent[i][0]);  // set 0 untouched
  }
  plane->SetTextureRect(2, 9, 9, 9, 9);  // no such set
  EXPECT_EQ(v[0].u, 0.0f);
  // A static plane is not edited.
  plane->SetStatic();
  plane->SetWidth(7);
  EXPECT_EQ(v[1].x, 1.0f);
  renderer.ReleaseResource(plane);
}

TEST_F(Models, EditingLifecycle) {
  DX8Model_PMesh* mesh = Plane("polymesh_road");
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(mesh->GetPartCount(), 0);
  EXPECT_TRUE(mesh->IsEditable());
  EXPECT_FALSE(mesh->EndEdit());
  ASSERT_TRUE(mesh->BeginEdit());
  const RenderVertex quad[4] = {{0, 0, 0, 0xFFFFFFFF, 0, 0, 0, 0}, {1, 0, 0, 0xFFFFFFFF, 1, 0, 0, 0},
                                {1, 1, 0, 0xFFFFFFFF, 1, 1, 0, 0}, {0, 1, 0, 0xFFFFFFFF, 0, 1, 0, 0}};
  const uint16_t values[6] = {0, 1, 2, 0, 2, 3};
  const uint16_t parts[6] = {0, 0, 0, 1, 1, 1};
  mesh->SetPartCount(3);
  mesh->SetVertices(quad, 4);
  mesh->SetIndices(values, parts, 6);
  // A second BeginEdit is refused and keeps the pending values.
  EXPECT_FALSE(mesh->BeginEdit());
  EXPECT_EQ(mesh->GetPartCount(), 0);  // nothing reported while editing
  EXPECT_EQ(mesh->GetVertexCount(), 0);
  ASSERT_TRUE(mesh->EndEdit());
  ASSERT_EQ(mesh->GetPartCount(), 3);
  EXPECT_EQ(mesh->PartGeometry(0)->indexCount, 3u);
  EXPECT_EQ(mesh->PartGeometry(1)->indices[2], 3);
  EXPECT_EQ(mesh->PartGeometry(2)->indexCount, 0u);

  // Only visible parts with indices are drawn, each with its own shader.
  C3DBaseShader* solid = Solid();
  for (uint16_t p = 0; p < 3; ++p) mesh->SetShader(p, solid);
  EXPECT_EQ(solid->GetRefCount(), 4);
  mesh->SetShader(3, solid);  // out of range: ignored
  EXPECT_EQ(solid->GetRefCount(), 4);
  C3DPassDX8* pass = ViewedPass();
  mesh->Draw(pass, nullptr);
  EXPECT_EQ(pass->DrawList().size(), 2u);
  mesh->SetPartVisible(1, false);
  EXPECT_FALSE(mesh->IsPartVisible(1));
  pass->ResetForFrame();
  mesh->Draw(pass, nullptr);
  EXPECT_EQ(pass->DrawList().size(), 1u);
  // New vertices of the same size keep the parts and are drawn from.
  RenderVertex moved[4];
  std::copy(quad, quad + 4, moved);
  moved[0].x = -3;
  ASSERT_TRUE(mesh->BeginEdit());
  mesh->SetVertices(moved, 4);
  ASSERT_TRUE(mesh->EndEdit());
  EXPECT_EQ(mesh->GetPartCount(), 3);
  EXPECT_EQ(mesh->PartGeometry(0)->vertices[0].x, -3.0f);
  renderer.ReleaseResource(mesh);
  EXPECT_EQ(solid->GetRefCount(), 4);  // the mesh lives until the next update
  renderer.Update(0.0f);
  EXPECT_EQ(solid->GetRefCount(), 1);
  solid->Release();
}

// A polymesh's bounds are the box around its vertices, with the box's
// centre as the matrix's translation; a mesh without vertices is a point at
// the origin.
TEST_F(Models, PolymeshBoundsCoverItsVertices) {
  struct Case {
    const char* name;
    std::vector<RenderVertex> vertices;
    float lo[3];
    float hi[3];
  } cases[] = {
      {"flat footprint", {{0, 0, 0, 0, 0, 0, 0, 0}, {4, 0, 0, 0, 0, 0, 0, 0}, {4, 0, 6, 0, 0, 0, 0, 0}},
       {0, 0, 0}, {4, 0, 6}},
      {"standing shape", {{-1, -2, 3, 0, 0, 0, 0, 0}, {5, 7, -3, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0, 0, 0}},
       {-1, -2, -3}, {5, 7, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8Model_PMesh* mesh = Plane("polymesh_shape");
    ASSERT_NE(mesh, nullptr);
    const uint16_t values[3] = {0, 1, 2};
    const uint16_t parts[3] = {0, 0, 0};
    ASSERT_TRUE(mesh->BeginEdit());
    mesh->SetPartCount(1);
    mesh->SetVertices(c.vertices.data(), static_cast<uint16_t>(c.vertices.size()));
    mesh->SetIndices(values, parts, 3);
    ASSERT_TRUE(mesh->EndEdit());
    float lo[3] = {99, 99, 99}, hi[3] = {-99, -99, -99};
    JMatrix centre = JMatrix::Identity();
    mesh->GetBounds(lo, hi, &centre);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(lo[k], c.lo[k]) << k;
      EXPECT_EQ(hi[k], c.hi[k]) << k;
      EXPECT_EQ(centre.m[3][k], (c.lo[k] + c.hi[k]) / 2) << k;
    }
    renderer.ReleaseResource(mesh);
  }

  // A centred plane made 4 high spans -2..2.
  DX8Model_PMesh* plane = Plane("polymesh_planeCC_bounds");
  ASSERT_NE(plane, nullptr);
  plane->SetHeight(4);
  float lo[3], hi[3];
  plane->GetBounds(lo, hi, nullptr);
  EXPECT_EQ(lo[1], -2.0f);
  EXPECT_EQ(hi[1], 2.0f);
  renderer.ReleaseResource(plane);

  DX8Model_PMesh* empty = Plane("polymesh_nothing");
  ASSERT_NE(empty, nullptr);
  float emptyLo[3] = {7, 7, 7}, emptyHi[3] = {8, 8, 8};
  empty->GetBounds(emptyLo, emptyHi, nullptr);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(emptyLo[k], 0.0f) << k;
    EXPECT_EQ(emptyHi[k], 0.0f) << k;
  }
  renderer.ReleaseResource(empty);
  renderer.Update(0.0f);
}

TEST_F(Models, InconsistentEditsLeaveAnEmptyPolymesh) {
  const RenderVertex tri[3] = {{0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0, 0, 0}};
  const uint16_t good[3] = {0, 1, 2};
  const uint16_t partZero[3] = {0, 0, 0};
  const uint16_t badVertex[3] = {0, 1, 3};
  const uint16_t badPart[3] = {0, 0, 1};
  struct Case {
    const char* what;
    bool partCount;
    bool vertices;
    uint16_t vertexCount;
    const uint16_t* values;
    const uint16_t* parts;
  };
  const Case cases[] = {
      {"part count without indices", true, true, 3, nullptr, nullptr},
      {"vertices of another size without indices", false, true, 3, nullptr, nullptr},
      {"index past the vertices", true, true, 3, badVertex, partZero},
      {"part number past the parts", true, true, 3, good, badPart},
      {"vertex count without an array", true, false, 3, good, partZero},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DX8Model_PMesh* mesh = Plane("polymesh_plane");  // starts as a four-vertex plane
    ASSERT_TRUE(mesh->BeginEdit());
    if (c.partCount) mesh->SetPartCount(1);
    mesh->SetVertices(c.vertices ? tri : nullptr, c.vertexCount);
    if (c.values) mesh->SetIndices(c.values, c.parts, 3);
    EXPECT_TRUE(mesh->EndEdit());
    EXPECT_EQ(mesh->GetPartCount(), 0);
    EXPECT_EQ(mesh->GetVertexCount(), 0);
    C3DPassDX8* pass = ViewedPass();
    mesh->Draw(pass, nullptr);
    EXPECT_TRUE(pass->DrawList().empty());
    renderer.ReleaseResource(mesh);
  }
}

TEST_F(Models, StaticPolymeshDrawsFromBuffers) {
  DX8Model_PMesh* mesh = Plane("polymesh_static");
  mesh->SetStatic();
  const RenderVertex tri[3] = {{0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0, 0, 0}};
  const uint16_t values[3] = {0, 1, 2}, parts[3] = {0, 0, 0};
  ASSERT_TRUE(mesh->BeginEdit());
  mesh->SetPartCount(1);
  mesh->SetVertices(tri, 3);
  mesh->SetIndices(values, parts, 3);
  ASSERT_TRUE(mesh->EndEdit());
  ASSERT_EQ(mesh->GetPartCount(), 1);
  EXPECT_NE(mesh->PartGeometry(0)->vertexBuffer, nullptr);
  EXPECT_NE(mesh->PartGeometry(0)->indexBuffer, nullptr);

  // A device that refuses the buffers leaves an empty polymesh.
  gfx::SetRefusedBufferCreation(true);
  ASSERT_TRUE(mesh->BeginEdit());
  mesh->SetPartCount(1);
  mesh->SetVertices(tri, 3);
  mesh->SetIndices(values, parts, 3);
  EXPECT_TRUE(mesh->EndEdit());
  gfx::SetRefusedBufferCreation(false);
  EXPECT_EQ(mesh->GetPartCount(), 0);
  renderer.ReleaseResource(mesh);
}

TEST_F(Models, PlaneInstancesDrawOncePerMatrix) {
  DX8Model_PMesh* plane = Plane("polymesh_plane");
  C3DBaseShader* solid = Solid();
  plane->SetShader(0, solid);
  JMatrix a = JMatrix::Identity(), b = JMatrix::Identity();
  plane->AddInstance(&a);
  plane->AddInstance(&b);
  plane->RemoveInstance(&a);
  ASSERT_EQ(plane->Instances().size(), 1u);
  EXPECT_EQ(plane->PartGeometry(0)->instances, &plane->Instances());
  renderer.ReleaseResource(plane);
  solid->Release();
}

}  // namespace
