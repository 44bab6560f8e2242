#pragma once
// The fixed-function pipeline on GLSL: the state that changes the shader
// code is packed into a key, and one program is generated, compiled and
// cached per key. Values that only parameterise the code (matrices,
// colours, fog distances, alpha reference) travel in one uniform array of
// sixteen vectors, of which each program is sent only the rows that differ
// from what it last received.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace platform::gfx {

struct ProgramKey {
  // Per drawn stage: colour op (5 bits), arg1, arg2 (6 bits each), alpha op
  // (5), alpha arg1, arg2 (6 each), texture bound (1). Stages after the
  // first disabled colour op are zero.
  uint64_t stages[4] = {};
  // Lighting 1, colour vertex 1, diffuse/ambient/emissive sources 2 each,
  // fog mode 2 (0 none, 1 exp, 2 exp2, 3 linear), fog from table 1,
  // alpha-test function 4 (0: no test), flat shading 1.
  uint64_t global = 0;

  bool operator==(const ProgramKey& o) const {
    return global == o.global && stages[0] == o.stages[0] && stages[1] == o.stages[1] &&
           stages[2] == o.stages[2] && stages[3] == o.stages[3];
  }
};

struct ProgramKeyHash {
  size_t operator()(const ProgramKey& k) const {
    uint64_t h = k.global * 0x9E3779B97F4A7C15ull;
    for (uint64_t s : k.stages) h = (h ^ s) * 0x100000001B3ull + (h >> 29);
    return static_cast<size_t>(h);
  }
};

// Field packing shared by the key builder and the code generator.
struct StageFields {
  uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
  bool textured;
};
uint64_t PackStage(const StageFields& s);
StageFields UnpackStage(uint64_t bits);

struct GlobalFields {
  bool lighting, colorVertex;
  uint32_t diffuseSource, ambientSource, emissiveSource;
  uint32_t fogMode;   // D3DFOG_*
  bool fogTable;      // per pixel from the depth, else from the eye distance
  uint32_t alphaFunc; // D3DCMP_*, 0 when the test is off
  bool flat;
};
uint64_t PackGlobal(const GlobalFields& g);
GlobalFields UnpackGlobal(uint64_t bits);

// The uniform values as the rows of the array: two matrices (four rows
// each, one row per matrix row) then eight vectors.
struct FixedUniforms {
  float wvp[16];        // world * view * projection (row vectors)
  float worldView[16];
  float target[4];      // 1/viewport width, 1/viewport height, depth bias, fog uses w
  float matDiffuse[4];
  float matAmbient[4];
  float matEmissive[4];
  float ambient[4];
  float textureFactor[4];
  float fogColor[4];
  float fog[4];         // start, end, density, alpha reference (0..255)
};
static_assert(sizeof(FixedUniforms) == 256);
constexpr uint32_t kFixedRows = sizeof(FixedUniforms) / 16;

std::string VertexShaderSource(const ProgramKey& key);
std::string FragmentShaderSource(const ProgramKey& key);

// A linked program and the uniform values it holds.
struct GlProgram {
  uint32_t name = 0;
  int32_t rowLocation[kFixedRows] = {};  // -1 past the last row the program reads
  uint32_t activeRows = 0;
  FixedUniforms held{};
  uint64_t heldVersion = 0;  // the version `held` was sent at; 0: none yet
};

// Sends the rows of `values` that differ from what `program` holds; nothing
// when it already holds `version`. The program must be in use.
void UploadUniforms(GlProgram* program, const FixedUniforms& values, uint64_t version);

// Compiled programs by key. Needs the GL context current.
class ProgramCache {
 public:
  ~ProgramCache();
  // nullptr when compiling or linking fails (reported on the debugger
  // channel). The program stays valid until Clear.
  GlProgram* Get(const ProgramKey& key);
  size_t size() const { return programs_.size(); }
  void Clear();
  // Drops every program without a GL call: for a context that is already
  // gone, whose objects went with it.
  void Forget() { programs_.clear(); }

 private:
  std::unordered_map<ProgramKey, GlProgram, ProgramKeyHash> programs_;
};

}  // namespace platform::gfx
