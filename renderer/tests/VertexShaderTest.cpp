// Vertex scripts: each vertex word on a small geometry, run as often as the
// case says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/services/C3DResource.h"
#include "renderer/DrawItem.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8VertexShader.h"
#include "renderer/shaders/ShaderCompiler.h"

namespace {

TEST(VertexShaderTest, VertexWordsRewriteColoursAndCoordinates) {
  struct Case {
    const char* name;
    const char* script;
    int runs;
    RenderVertex expected;
  };
  // Input vertex: position (2, 3, 4), colour 0x80102030, uv (0.5, 0.25).
  const RenderVertex in{2, 3, 4, 0x80102030u, 0.5f, 0.25f, 7, 8};
  const Case cases[] = {
      {"rgbgen clamps and keeps alpha", "rgbgen 1 0.5 -2;", 1, {2, 3, 4, 0x80FF7F00u, 0.5f, 0.25f, 7, 8}},
      {"alphagen clamps", "alphagen 2;", 1, {2, 3, 4, 0xFF102030u, 0.5f, 0.25f, 7, 8}},
      {"rgbalphagen", "rgbalphagen 0 0 1 0.5;", 1, {2, 3, 4, 0x7F0000FFu, 0.5f, 0.25f, 7, 8}},
      {"rgbalphagen with three values", "rgbalphagen 1 1 1;", 1, in},
      {"rgbgen from variables", "float #r 1; rgbgen #r 0 0;", 1, {2, 3, 4, 0x80FF0000u, 0.5f, 0.25f, 7, 8}},
      {"rgbmul has no effect", "rgbmul 0 0 0; alphamul 0;", 1, in},
      {"uvwset var", "uvwset var 0.75 0.5 0;", 1, {2, 3, 4, 0x80102030u, 0.75f, 0.5f, 7, 8}},
      {"uvwset xyz", "uvwset xyz 1 1 0;", 1, {2, 3, 4, 0x80102030u, 2, 3, 7, 8}},
      {"uvwset xyz only u", "uvwset xyz 1 0 0;", 1, {2, 3, 4, 0x80102030u, 2, 0.25f, 7, 8}},
      {"uvwset yyy copies y into u", "uvwset yyy 1 0 0;", 1, {2, 3, 4, 0x80102030u, 3, 0.25f, 7, 8}},
      {"uvwset z into both", "uvwset z 1 1 0;", 1, {2, 3, 4, 0x80102030u, 4, 4, 7, 8}},
      {"uvwset unknown source", "uvwset w 1 1 0;", 1, in},
      {"uvwdef scale compounds", "uvwdef scale 2 2 0;", 2, {2, 3, 4, 0x80102030u, 2, 1, 7, 8}},
      {"uvwdef offset", "uvwdef offset 1 -1 0;", 1, {2, 3, 4, 0x80102030u, 1.5f, -0.75f, 7, 8}},
      {"uvwdef other mode", "uvwdef spin 1 1 0;", 1, in},
      {"uvwdef too short", "uvwdef scale 2 2;", 1, in},
      {"unknown variable", "rgbgen #r 0 0;", 1, in},
      {"material words are unknown here", "layer 0; alphagen 0;", 1, {2, 3, 4, 0x00102030u, 0.5f, 0.25f, 7, 8}},
  };
  Lumetra renderer;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* shader = dynamic_cast<DX8VertexShader*>(CompileShaderText(&renderer, RF_VERTEX, "v.jsv", c.script));
    ASSERT_NE(shader, nullptr);
    std::vector<RenderVertex> vertices(3, in);
    MeshGeometry g;
    g.vertices = vertices.data();
    g.vertexCount = 3;
    for (int i = 0; i < c.runs; ++i) shader->RunOn(&g);
    for (const RenderVertex& v : vertices) {
      EXPECT_EQ(v.diffuse, c.expected.diffuse);
      EXPECT_FLOAT_EQ(v.u, c.expected.u);
      EXPECT_FLOAT_EQ(v.v, c.expected.v);
      EXPECT_FLOAT_EQ(v.u2, c.expected.u2);
      EXPECT_FLOAT_EQ(v.x, c.expected.x);
    }
  }
}

}  // namespace
