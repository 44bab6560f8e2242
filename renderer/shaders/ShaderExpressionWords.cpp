// The expression words shared by material and vertex scripts: arithmetic on
// named float variables, and six waveforms driven by the running time. Each
// statement compiles into one command; the command runs every time the
// shader is used.
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/StringUtil.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8BaseShader.h"
#include "renderer/shaders/ShaderCompiler.h"
#include "renderer/shaders/ShaderWaveforms.h"

namespace {

using Op = uint32_t;
constexpr Op kNo = DX8BaseShader::kNoOperand;

// Parses the operands after the word; false (and nothing added) when a
// token is missing or any operand fails. `variableMask` bit i set: operand
// i must be a variable.
template <size_t N>
bool ParseOperands(DX8BaseShader* shader, ShaderTokens tokens, uint32_t variableMask, Op (&out)[N]) {
  if (tokens.size() < N + 1) return false;
  for (size_t i = 0; i < N; ++i) {
    out[i] = shader->ParseOperand(tokens[i + 1], (variableMask >> i) & 1u);
    if (out[i] == kNo) return false;
  }
  return true;
}

template <size_t N>
void Compile(DX8BaseShader* shader, ShaderTokens tokens, uint32_t variableMask, ShaderExecutor executor) {
  Op ops[N];
  if (ParseOperands(shader, tokens, variableMask, ops)) shader->AddCommand(executor, ops, N);
}

float R(DX8BaseShader* s, const DX8ShaderCommand& c, size_t i) { return s->Read(c.operands[i]); }
void W(DX8BaseShader* s, const DX8ShaderCommand& c, size_t i, float v) { s->Write(c.operands[i], v); }

void ExecAdd(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) { W(s, c, 0, R(s, c, 0) + R(s, c, 1)); }
void ExecAddTo(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) { W(s, c, 0, R(s, c, 1) + R(s, c, 2)); }
void ExecSub(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) { W(s, c, 0, R(s, c, 0) - R(s, c, 1)); }
void ExecSubTo(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) { W(s, c, 0, R(s, c, 1) - R(s, c, 2)); }
void ExecMul(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) { W(s, c, 0, R(s, c, 0) * R(s, c, 1)); }
void ExecMulTo(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) { W(s, c, 0, R(s, c, 1) * R(s, c, 2)); }
void ExecMax(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) {
  if (R(s, c, 0) < R(s, c, 1)) W(s, c, 0, R(s, c, 1));
}
void ExecMaxTo(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) {
  const float a = R(s, c, 1), b = R(s, c, 2);
  W(s, c, 0, a < b ? b : a);
}
void ExecMin(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) {
  if (R(s, c, 0) > R(s, c, 1)) W(s, c, 0, R(s, c, 1));
}
void ExecMinTo(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) {
  const float a = R(s, c, 1), b = R(s, c, 2);
  // A NaN on either side takes the first value.
  W(s, c, 0, (a <= b || std::isnan(a) || std::isnan(b)) ? a : b);
}
void ExecSplit(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) {
  float whole = 0.0f;
  const float fraction = std::modf(R(s, c, 2), &whole);
  W(s, c, 0, whole);
  W(s, c, 1, fraction);
}
void ExecSet(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) { W(s, c, 0, R(s, c, 1)); }
void ExecGate(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) {
  if (R(s, c, 2) > 0.0f) W(s, c, 0, R(s, c, 1));
}

// Waveform operands: V, period, amplitude, phase, base, then the hidden
// last-time and cycles registers.
template <Waveform kWave>
void ExecWave(DX8BaseShader* s, const DX8ShaderCommand& c, MeshGeometry*) {
  const float now = Lumetra::GetRunningTime();
  const float delta = now - R(s, c, 5);
  W(s, c, 5, now);
  const float period = R(s, c, 1);
  const float step = period != 0.0f ? delta / period : 0.0f;
  const float cycles = R(s, c, 6) + step;
  W(s, c, 6, cycles);
  W(s, c, 0, R(s, c, 4) + R(s, c, 2) * WaveValue(kWave, R(s, c, 3), cycles));
}

void WordAdd(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<2>(s, t, 0b1, ExecAdd); }
void WordAddTo(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<3>(s, t, 0b1, ExecAddTo); }
void WordSub(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<2>(s, t, 0b1, ExecSub); }
void WordSubTo(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<3>(s, t, 0b1, ExecSubTo); }
void WordMul(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<2>(s, t, 0b1, ExecMul); }
void WordMulTo(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<3>(s, t, 0b1, ExecMulTo); }
void WordMax(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<2>(s, t, 0b1, ExecMax); }
void WordMaxTo(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<3>(s, t, 0b1, ExecMaxTo); }
void WordMin(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<2>(s, t, 0b1, ExecMin); }
void WordMinTo(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<3>(s, t, 0b1, ExecMinTo); }
void WordSplit(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<3>(s, t, 0b11, ExecSplit); }
void WordSet(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<2>(s, t, 0b1, ExecSet); }
void WordGate(Lumetra*, DX8BaseShader* s, ShaderTokens t) { Compile<3>(s, t, 0b1, ExecGate); }

void WordWave(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  Op ops[7];
  Op* const given = ops;
  Op parsed[5];
  if (!ParseOperands(s, t, 0b1, parsed)) return;
  for (size_t i = 0; i < 5; ++i) given[i] = parsed[i];
  ops[5] = s->AddRegister(Lumetra::GetRunningTime(), false);
  ops[6] = s->AddRegister(0.0f, false);
  if (ops[5] == kNo || ops[6] == kNo) return;
  ShaderExecutor executor = nullptr;
  const std::string& word = t[0];
  if (word == "sin") executor = ExecWave<Waveform::Sin>;
  else if (word == "saw") executor = ExecWave<Waveform::Saw>;
  else if (word == "invsaw") executor = ExecWave<Waveform::InvSaw>;
  else if (word == "square") executor = ExecWave<Waveform::Square>;
  else if (word == "tri") executor = ExecWave<Waveform::Tri>;
  else if (word == "noise") executor = ExecWave<Waveform::Noise>;
  if (executor) s->AddCommand(executor, ops, 7);
}

// "float name value": defines or sets a variable once, at compile time.
void WordFloat(Lumetra*, DX8BaseShader* s, ShaderTokens t) {
  if (t.size() < 3) return;
  std::string rest = t[1];
  if (!rest.empty() && (rest[0] == '#' || rest[0] == '$')) rest.erase(0, 1);
  if (rest.empty()) return;
  // Built in two steps: GCC 12 warns falsely on a literal + temporary here.
  std::string name = "#";
  name += str::ToLower(rest);
  const float value = ScriptNumber(t[2]);
  const int16_t found = s->FindVariable(name);
  if (found >= 0) {
    s->SetVariable(static_cast<uint16_t>(found), value);
  } else {
    s->DefineVariable(name, value);
  }
}

}  // namespace

void AddExpressionWords(ShaderWordTable* table) {
  ShaderWordTable& t = *table;
  t["add"] = WordAdd;
  t["addto"] = WordAddTo;
  t["sub"] = WordSub;
  t["subto"] = WordSubTo;
  t["mul"] = WordMul;
  t["multo"] = WordMulTo;
  t["max"] = WordMax;
  t["maxto"] = WordMaxTo;
  t["min"] = WordMin;
  t["minto"] = WordMinTo;
  t["split"] = WordSplit;
  t["set"] = WordSet;
  t["gate"] = WordGate;
  for (const char* wave : {"sin", "saw", "invsaw", "square", "tri", "noise"}) t[wave] = WordWave;
  t["float"] = WordFloat;
}
