// The shader script compiler and its expression words: statements, operands,
// variables, every arithmetic word and every waveform, run the way the pass
// runs a material when it queues a draw.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "engine/services/C3DResource.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/DX8VertexShader.h"
#include "renderer/shaders/ShaderCompiler.h"

namespace {

class ShaderScriptTest : public ::testing::Test {
 protected:
  DX8MaterialShader* Material(const std::string& script) {
    auto* shader = dynamic_cast<DX8MaterialShader*>(CompileShaderText(&renderer, RF_MATERIAL, "test.jsm", script));
    EXPECT_NE(shader, nullptr);
    return shader;
  }
  float Var(DX8BaseShader* shader, const char* name) {
    const int16_t index = shader->FindVariable(name);
    EXPECT_GE(index, 0) << name;
    return index < 0 ? NAN : shader->GetVariable(static_cast<uint16_t>(index));
  }
  void RunTimes(DX8MaterialShader* shader, int runs) {
    for (int i = 0; i < runs; ++i) shader->PrepareDraw(nullptr);
  }
  Lumetra renderer;
};

TEST_F(ShaderScriptTest, ExpressionWordsComputeEachRun) {
  struct Case {
    const char* name;
    const char* script;
    int runs;
    const char* variable;
    float expected;
  };
  const Case cases[] = {
      {"add grows each run", "float #t 0; add #t 0.5;", 3, "#t", 1.5f},
      {"addto", "float #a 9; float #b 2; addto #a #b 3;", 1, "#a", 5.0f},
      {"sub", "float #a 1; sub #a 0.25;", 2, "#a", 0.5f},
      {"subto", "float #a 0; float #b 2; subto #a 10 #b;", 1, "#a", 8.0f},
      {"mul", "float #a 3; mul #a 2;", 2, "#a", 12.0f},
      {"multo", "float #a 0; multo #a 3 -2;", 1, "#a", -6.0f},
      {"max raises", "float #a 1; max #a 4;", 1, "#a", 4.0f},
      {"max keeps", "float #a 5; max #a 4;", 1, "#a", 5.0f},
      {"maxto", "float #a 0; maxto #a 2 7;", 1, "#a", 7.0f},
      {"maxto first when larger", "float #a 0; maxto #a 8 7;", 1, "#a", 8.0f},
      {"min lowers", "float #a 5; min #a 4;", 1, "#a", 4.0f},
      {"minto", "float #a 0; minto #a 2 7;", 1, "#a", 2.0f},
      {"minto second when smaller", "float #a 0; minto #a 9 7;", 1, "#a", 7.0f},
      {"split integer part keeps sign", "float #i 0; float #f 0; split #i #f -2.5;", 1, "#i", -2.0f},
      {"split fraction keeps sign", "float #i 0; float #f 0; split #i #f -2.5;", 1, "#f", -0.5f},
      {"set", "float #a 0; set #a 3;", 1, "#a", 3.0f},
      {"gate open", "float #a 0; gate #a 6 1;", 1, "#a", 6.0f},
      {"gate closed", "float #a 1; gate #a 6 0;", 1, "#a", 1.0f},
      {"max with NaN unchanged", "float #a 3; float #n nan; max #a #n;", 1, "#a", 3.0f},
      {"min with NaN unchanged", "float #a 3; float #n nan; min #a #n;", 1, "#a", 3.0f},
      {"maxto NaN takes first", "float #a 0; float #n nan; maxto #a 2 #n;", 1, "#a", 2.0f},
      {"minto NaN takes first", "float #a 0; float #n nan; minto #a 2 #n;", 1, "#a", 2.0f},
      {"float overwrites", "float #a 1; float #a 2;", 0, "#a", 2.0f},
      {"dollar defines number-sign name", "float $Speed 1;", 0, "#speed", 1.0f},
      {"variable names fold case", "float #Big 1; add #BIG 1;", 1, "#big", 2.0f},
      {"constant operand is not written", "float #a 0; set 3 #a; add #a 3;", 1, "#a", 3.0f},
      {"last statement needs no semicolon", "float #a 1; add #a 1", 1, "#a", 2.0f},
      {"empty statements skipped", ";; ; float #a 1;;; add #a 1 ;", 1, "#a", 2.0f},
      {"comments and quotes", "/* x */ float \"#a\" 1; // add #a 5;\nadd #a 1;", 1, "#a", 2.0f},
      {"commands after a layer are not run", "float #a 1; layer 0; add #a 1;", 3, "#a", 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8MaterialShader* shader = Material(c.script);
    RunTimes(shader, c.runs);
    EXPECT_FLOAT_EQ(Var(shader, c.variable), c.expected);
  }
}

TEST_F(ShaderScriptTest, MalformedStatementsCompileToNothing) {
  struct Case {
    const char* name;
    const char* script;
    size_t variables;
    size_t commands = 0;
  };
  const Case cases[] = {
      {"unknown variable", "add #x 1;", 0},
      {"number where a variable is required", "float #a 1; set 2 #a;", 1},
      {"too few tokens", "float #a 1; add #a; addto #a 1; sin #a 1 1 1; split #a #a;", 1},
      {"float without value", "float #a;", 0},
      {"float of a bare sign", "float # 3; float $ 3;", 0},
      {"words are case-sensitive", "Float #a 1; ADD #a 1;", 0},
      {"unknown word", "frobnicate 1 2 3;", 0},
      {"empty script", "", 0},
      {"only separators", ";;;", 0},
      {"unterminated comment", "float #a 1; /* add #a 1;", 1},
      // The quote runs to the end and takes the ";" into the token "1;".
      {"unterminated quote", "float #a 1; add #a \"1;", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8MaterialShader* shader = Material(c.script);
    EXPECT_EQ(shader->GetVariableCount(), c.variables);
    EXPECT_EQ(shader->RootCommands().size(), c.commands);
  }
}

TEST_F(ShaderScriptTest, HugeAndNaNNumbersStayFloats) {
  DX8MaterialShader* shader =
      Material("float #a 1e300; float #b nan; float #e 1e999; float #c -1e999; float #d 99999999999999999999999; "
               "float #n 0; noise #n 0 1 1e30 0; sin #d 0 1 #b 0;");
  RunTimes(shader, 2);
  EXPECT_TRUE(std::isinf(Var(shader, "#a")));
  EXPECT_TRUE(std::isnan(Var(shader, "#b")));
  EXPECT_EQ(shader->RootCommands().size(), 2u);
  const float noise = Var(shader, "#n");
  EXPECT_TRUE(noise >= 0.0f && noise <= 1.0f) << noise;
}

// Register 0 is an ordinary register: a constant that lands there is used,
// not mistaken for a failed operand.
TEST_F(ShaderScriptTest, FirstRegisterIsAUsableOperand) {
  auto* shader = dynamic_cast<DX8VertexShader*>(CompileShaderText(&renderer, RF_VERTEX, "t.jsv", "rgbgen 1 0 0;"));
  ASSERT_NE(shader, nullptr);
  ASSERT_EQ(shader->RootCommands().size(), 1u);
  RenderVertex v{0, 0, 0, 0x80000000u, 0, 0, 0, 0};
  MeshGeometry g;
  g.vertices = &v;
  g.vertexCount = 1;
  shader->RunOn(&g);
  EXPECT_EQ(v.diffuse, 0x80FF0000u);
}

TEST_F(ShaderScriptTest, VariableInterfaceAndRegisters) {
  DX8MaterialShader* shader = Material("");
  shader->DefineVariable("#RVal", 0.25f);
  shader->DefineVariable("#rval", 0.5f);
  EXPECT_EQ(shader->GetVariableCount(), 1);
  EXPECT_EQ(shader->GetVariableName(0), "#rval");
  EXPECT_EQ(shader->GetVariableName(7), "");
  EXPECT_EQ(shader->FindVariable(""), -1);
  EXPECT_EQ(shader->FindVariable("#none"), -1);
  EXPECT_FLOAT_EQ(shader->GetVariable(0), 0.5f);
  EXPECT_FLOAT_EQ(shader->GetVariable(3), 1.0f);
  shader->SetVariable(3, 9.0f);  // ignored
  shader->SetVariable(0, 2.0f);
  EXPECT_FLOAT_EQ(shader->GetVariable(0), 2.0f);
  const uint32_t a = shader->AddRegister(4.0f, true);
  EXPECT_EQ(shader->AddRegister(4.0f, true), a);   // constants share
  EXPECT_NE(shader->AddRegister(4.0f, false), a);  // others never do
  shader->PrepareRun();
  EXPECT_FLOAT_EQ(shader->GetPreviousValue(0), 2.0f);
}

// The lattice value computed independently with 64-bit arithmetic.
float Lattice(int32_t value) {
  uint64_t n = static_cast<uint32_t>(value);
  n = ((n << 13) ^ n) & 0xFFFFFFFFu;
  const uint64_t inner = (n * n * 15731u + 789221u) & 0xFFFFFFFFu;
  const uint64_t m = ((n * inner - 771171059u) & 0xFFFFFFFFu) & 0x7FFFFFFFu;
  return 1.0f - static_cast<float>(m) / 1073741824.0f;
}

TEST_F(ShaderScriptTest, WaveformsFollowTheRunningTime) {
  struct Case {
    const char* name;
    const char* script;
    float advance;  // seconds before the run
    float expected;
  };
  const Case cases[] = {
      {"saw rises", "saw #v 2 1 0 0", 0.5f, 0.25f},
      {"saw drops back", "saw #v 2 1 0 0", 2.5f, 0.25f},
      {"saw period 0 holds frac(phase)", "saw #v 0 2 1.25 1", 3.0f, 1.5f},
      {"invsaw", "invsaw #v 1 1 0.25 0", 0.0f, 0.75f},
      {"square first half low", "square #v 1 10 0 5", 0.25f, 5.0f},
      {"square second half high", "square #v 1 10 0 5", 0.75f, 15.0f},
      {"tri rises", "tri #v 1 1 0.25 0", 0.0f, 0.5f},
      {"tri falls", "tri #v 1 1 0.75 0", 0.0f, 0.5f},
      {"sin peak", "sin #v 1 1 0.25 0", 0.0f, 1.0f},
      {"negative phase wraps", "saw #v 0 1 -0.25 0", 0.0f, 0.75f},
      {"noise on a lattice point", "noise #v 0 4 3 1", 1.0f, 1.0f + 4.0f * (Lattice(3) + 1.0f) * 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8MaterialShader* shader = Material(std::string("float #v 0; ") + c.script + ";");
    ASSERT_EQ(shader->RootCommands().size(), 1u);
    renderer.Update(c.advance);
    shader->PrepareDraw(nullptr);
    EXPECT_NEAR(Var(shader, "#v"), c.expected, 1e-3f);
  }
}

TEST_F(ShaderScriptTest, EmptyFlagGivesAnUnregisteredShaderWithoutReadingAFile) {
  DX8BaseShader* shader = CompileShader(&renderer, RF_MATERIAL | RF_EMPTY, "missing.jsm");
  ASSERT_NE(shader, nullptr);
  EXPECT_EQ(shader->GetRegistryIndex(), -1);
  delete shader;
  EXPECT_EQ(CompileShader(&renderer, RF_MATERIAL, "/nonexistent/missing.jsm"), nullptr);
  EXPECT_EQ(CompileShader(nullptr, RF_MATERIAL | RF_EMPTY, "x.jsm"), nullptr);
}

TEST_F(ShaderScriptTest, WordTablesHoldEveryWord) {
  EXPECT_EQ(ExpressionWords().size(), 20u);
  EXPECT_EQ(MaterialWords().size(), 53u);
  EXPECT_EQ(VertexWords().size(), 27u);
}

}  // namespace
