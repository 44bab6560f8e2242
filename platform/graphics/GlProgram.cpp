#include "platform/graphics/GlProgram.h"

#include <epoxy/gl.h>

#include <cstring>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/graphics/GfxConstants.h"

namespace platform::gfx {

uint64_t PackStage(const StageFields& s) {
  return uint64_t(s.colorOp & 31) | uint64_t(s.colorArg1 & 63) << 5 | uint64_t(s.colorArg2 & 63) << 11 |
         uint64_t(s.alphaOp & 31) << 17 | uint64_t(s.alphaArg1 & 63) << 22 | uint64_t(s.alphaArg2 & 63) << 28 |
         uint64_t(s.textured) << 34;
}

StageFields UnpackStage(uint64_t b) {
  return StageFields{uint32_t(b & 31),         uint32_t((b >> 5) & 63),  uint32_t((b >> 11) & 63),
                     uint32_t((b >> 17) & 31), uint32_t((b >> 22) & 63), uint32_t((b >> 28) & 63),
                     ((b >> 34) & 1) != 0};
}

uint64_t PackGlobal(const GlobalFields& g) {
  return uint64_t(g.lighting) | uint64_t(g.colorVertex) << 1 | uint64_t(g.diffuseSource & 3) << 2 |
         uint64_t(g.ambientSource & 3) << 4 | uint64_t(g.emissiveSource & 3) << 6 | uint64_t(g.fogMode & 3) << 8 |
         uint64_t(g.fogTable) << 10 | uint64_t(g.alphaFunc & 15) << 11 | uint64_t(g.flat) << 15;
}

GlobalFields UnpackGlobal(uint64_t b) {
  return GlobalFields{(b & 1) != 0,           ((b >> 1) & 1) != 0,       uint32_t((b >> 2) & 3),
                      uint32_t((b >> 4) & 3), uint32_t((b >> 6) & 3),    uint32_t((b >> 8) & 3),
                      ((b >> 10) & 1) != 0,   uint32_t((b >> 11) & 15), ((b >> 15) & 1) != 0};
}

namespace {

// The rows of FixedUniforms. A matrix's rows in memory are the columns of
// the GLSL matrix, so `M * v` applies the row-vector matrix.
const char* kBlock = R"(uniform vec4 uFixed[16];
#define uWvp mat4(uFixed[0], uFixed[1], uFixed[2], uFixed[3])
#define uWorldView mat4(uFixed[4], uFixed[5], uFixed[6], uFixed[7])
#define uTarget uFixed[8]
#define uMatDiffuse uFixed[9]
#define uMatAmbient uFixed[10]
#define uMatEmissive uFixed[11]
#define uAmbient uFixed[12]
#define uTextureFactor uFixed[13]
#define uFogColor uFixed[14]
#define uFog uFixed[15]
)";

// The vertex colour when `source` is the first vertex colour and colour
// vertex is on, else the material colour. The layout has no second colour,
// so that source falls back to the material too.
std::string Source(uint32_t source, bool colorVertex, const char* material) {
  if (colorVertex && source == D3DMCS_COLOR1) return "aColor";
  return material;
}

std::string Arg(uint32_t arg, int stage, const char* swz) {
  std::string v;
  switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: v = "diffuse"; break;
    case D3DTA_CURRENT: v = "prev"; break;
    case D3DTA_TEXTURE: v = "tex" + std::to_string(stage); break;
    case D3DTA_TFACTOR: v = "uTextureFactor"; break;
    default: v = "vec4(0.0)"; break;  // no specular colour in the vertex layout
  }
  if (arg & D3DTA_ALPHAREPLICATE) v = "vec4((" + v + ").a)";
  if (arg & D3DTA_COMPLEMENT) v = "(vec4(1.0) - " + v + ")";
  return "(" + v + ")." + swz;
}

std::string Op(uint32_t op, const std::string& a1, const std::string& a2, int stage) {
  const std::string t = "tex" + std::to_string(stage);
  switch (op) {
    case D3DTOP_SELECTARG2: return a2;
    case D3DTOP_MODULATE: return a1 + " * " + a2;
    case D3DTOP_MODULATE2X: return "2.0 * " + a1 + " * " + a2;
    case D3DTOP_MODULATE4X: return "4.0 * " + a1 + " * " + a2;
    case D3DTOP_ADD: return a1 + " + " + a2;
    case D3DTOP_ADDSIGNED: return a1 + " + " + a2 + " - 0.5";
    case D3DTOP_ADDSIGNED2X: return "2.0 * (" + a1 + " + " + a2 + " - 0.5)";
    case D3DTOP_SUBTRACT: return a1 + " - " + a2;
    case D3DTOP_ADDSMOOTH: return a1 + " + " + a2 + " - " + a1 + " * " + a2;
    case D3DTOP_BLENDDIFFUSEALPHA: return "mix(" + a2 + ", " + a1 + ", diffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA: return "mix(" + a2 + ", " + a1 + ", " + t + ".a)";
    case D3DTOP_BLENDFACTORALPHA: return "mix(" + a2 + ", " + a1 + ", uTextureFactor.a)";
    case D3DTOP_BLENDCURRENTALPHA: return "mix(" + a2 + ", " + a1 + ", prev.a)";
    default: return a1;  // select argument 1, and any operation the pipeline lacks
  }
}

const char* Compare(uint32_t func) {
  switch (func) {
    case D3DCMP_NEVER: return "false";
    case D3DCMP_LESS: return "a < ref";
    case D3DCMP_EQUAL: return "a == ref";
    case D3DCMP_LESSEQUAL: return "a <= ref";
    case D3DCMP_GREATER: return "a > ref";
    case D3DCMP_NOTEQUAL: return "a != ref";
    case D3DCMP_GREATEREQUAL: return "a >= ref";
    default: return "true";
  }
}

uint32_t CompileShader(GLenum type, const std::string& source) {
  const GLuint s = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(s, 1, &text, nullptr);
  glCompileShader(s);
  GLint ok = 0;
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetShaderInfoLog(s, sizeof log, nullptr, log);
    DebugPrintf("graphics: shader does not compile: %s\n%s\n", log, source.c_str());
    glDeleteShader(s);
    return 0;
  }
  return s;
}

}  // namespace

std::string VertexShaderSource(const ProgramKey& key) {
  const GlobalFields g = UnpackGlobal(key.global);
  std::string s = "#version 330 core\n";
  s += kBlock;
  s += "layout(location = 0) in vec3 aPos;\nlayout(location = 1) in vec4 aColor;\n";
  s += "layout(location = 2) in vec2 aTex0;\nlayout(location = 3) in vec2 aTex1;\n";
  s += g.flat ? "flat out vec4 vColor;\n" : "out vec4 vColor;\n";
  s += "out vec2 vTex0;\nout vec2 vTex1;\nout float vFogZ;\n";
  s += "void main() {\n";
  if (g.lighting) {
    // Only ambient and emissive light reach a vertex without a normal.
    s += "  vec4 dif = " + Source(g.diffuseSource, g.colorVertex, "uMatDiffuse") + ";\n";
    s += "  vec4 amb = " + Source(g.ambientSource, g.colorVertex, "uMatAmbient") + ";\n";
    s += "  vec4 emi = " + Source(g.emissiveSource, g.colorVertex, "uMatEmissive") + ";\n";
    s += "  vColor = vec4(clamp(uAmbient.rgb * amb.rgb + emi.rgb, 0.0, 1.0), dif.a);\n";
  } else {
    s += "  vColor = aColor;\n";
  }
  s += R"(  vTex0 = aTex0;
  vTex1 = aTex1;
  vec4 p = uWvp * vec4(aPos, 1.0);
)";
  if (g.fogMode != D3DFOG_NONE) {
    s += g.fogTable ? "  vFogZ = uTarget.w > 0.5 ? p.w : p.z / p.w;\n"
                    : "  vFogZ = (uWorldView * vec4(aPos, 1.0)).z;\n";
  } else {
    s += "  vFogZ = 0.0;\n";
  }
  // Depth bias toward the viewer, the half-pixel shift that puts pixel
  // centres on integers, rows top-down, and depth 0..1 mapped to GL's -1..1.
  s += R"(  p.z -= uTarget.z * p.w;
  p.x += p.w * uTarget.x;
  p.y = -p.y + p.w * uTarget.y;
  p.z = 2.0 * p.z - p.w;
  gl_Position = p;
}
)";
  return s;
}

std::string FragmentShaderSource(const ProgramKey& key) {
  const GlobalFields g = UnpackGlobal(key.global);
  std::string s = "#version 330 core\n";
  s += kBlock;
  s += g.flat ? "flat in vec4 vColor;\n" : "in vec4 vColor;\n";
  s += "in vec2 vTex0;\nin vec2 vTex1;\nin float vFogZ;\nout vec4 oColor;\n";
  s += "uniform sampler2D uTex0;\nuniform sampler2D uTex1;\nuniform sampler2D uTex2;\nuniform sampler2D uTex3;\n";
  s += "void main() {\n  vec4 diffuse = vColor;\n  vec4 current = diffuse;\n  vec4 prev;\n";
  for (int k = 0; k < 4; ++k) {
    const StageFields st = UnpackStage(key.stages[k]);
    if (st.colorOp == 0 || st.colorOp == D3DTOP_DISABLE) break;
    const std::string tex = "tex" + std::to_string(k);
    // Stage k reads texture-coordinate set k; the layout has two sets.
    const std::string uv = k == 0 ? "vTex0" : "vTex1";
    if (st.textured)
      s += "  vec4 " + tex + " = texture(uTex" + std::to_string(k) + ", " + uv + ");\n";
    else
      s += "  vec4 " + tex + " = vec4(1.0);\n";  // no texture bound: opaque white
    s += "  prev = current;\n";
    s += "  current.rgb = clamp(" +
         Op(st.colorOp, Arg(st.colorArg1, k, "rgb"), Arg(st.colorArg2, k, "rgb"), k) + ", 0.0, 1.0);\n";
    if (st.alphaOp != 0 && st.alphaOp != D3DTOP_DISABLE)
      s += "  current.a = clamp(" + Op(st.alphaOp, Arg(st.alphaArg1, k, "a"), Arg(st.alphaArg2, k, "a"), k) +
           ", 0.0, 1.0);\n";
  }
  switch (g.fogMode) {
    case D3DFOG_EXP: s += "  float f = exp(-uFog.z * vFogZ);\n"; break;
    case D3DFOG_EXP2: s += "  float f = exp(-(uFog.z * vFogZ) * (uFog.z * vFogZ));\n"; break;
    case D3DFOG_LINEAR:
      s += "  float f = uFog.y != uFog.x ? (uFog.y - vFogZ) / (uFog.y - uFog.x) : 1.0;\n";
      break;
    default: break;
  }
  if (g.fogMode != D3DFOG_NONE) s += "  current.rgb = mix(uFogColor.rgb, current.rgb, clamp(f, 0.0, 1.0));\n";
  if (g.alphaFunc != 0) {
    s += "  float a = floor(current.a * 255.0 + 0.5);\n  float ref = uFog.w;\n";
    s += std::string("  if (!(") + Compare(g.alphaFunc) + ")) discard;\n";
  }
  s += "  oColor = current;\n}\n";
  return s;
}

void UploadUniforms(GlProgram* program, const FixedUniforms& values, uint64_t version) {
  if (program->heldVersion == version) return;
  const auto* want = reinterpret_cast<const float*>(&values);
  auto* held = reinterpret_cast<float*>(&program->held);
  const bool known = program->heldVersion != 0;
  uint32_t first = 0, last = program->activeRows;
  if (known) {
    while (first < last && std::memcmp(want + first * 4, held + first * 4, 16) == 0) ++first;
    while (last > first && std::memcmp(want + (last - 1) * 4, held + (last - 1) * 4, 16) == 0) --last;
  }
  if (first < last) {
    glUniform4fv(program->rowLocation[first], GLsizei(last - first), want + first * 4);
    std::memcpy(held + first * 4, want + first * 4, size_t(last - first) * 16);
  }
  program->heldVersion = version;
}

ProgramCache::~ProgramCache() { Clear(); }

void ProgramCache::Clear() {
  for (auto& [key, program] : programs_) glDeleteProgram(program.name);
  programs_.clear();
}

GlProgram* ProgramCache::Get(const ProgramKey& key) {
  auto it = programs_.find(key);
  if (it != programs_.end()) return &it->second;
  const GLuint vs = CompileShader(GL_VERTEX_SHADER, VertexShaderSource(key));
  const GLuint fs = vs ? CompileShader(GL_FRAGMENT_SHADER, FragmentShaderSource(key)) : 0;
  if (!vs || !fs) {
    if (vs) glDeleteShader(vs);
    return nullptr;
  }
  const GLuint p = glCreateProgram();
  glAttachShader(p, vs);
  glAttachShader(p, fs);
  glLinkProgram(p);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetProgramInfoLog(p, sizeof log, nullptr, log);
    DebugPrintf("graphics: program does not link: %s\n", log);
    glDeleteProgram(p);
    return nullptr;
  }
  GlProgram program;
  program.name = p;
  // Rows after the last one the code reads are not active and have no location.
  for (uint32_t row = 0; row < kFixedRows; ++row) {
    const std::string name = "uFixed[" + std::to_string(row) + "]";
    program.rowLocation[row] = glGetUniformLocation(p, name.c_str());
    if (program.rowLocation[row] < 0) break;
    program.activeRows = row + 1;
  }
  // Sampler bindings are set once here, with the program in use; the caller
  // binds the program it draws with afterwards.
  GLint previous = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
  glUseProgram(p);
  for (int k = 0; k < 4; ++k) {
    const std::string name = "uTex" + std::to_string(k);
    const GLint loc = glGetUniformLocation(p, name.c_str());
    if (loc >= 0) glUniform1i(loc, k);
  }
  glUseProgram(GLuint(previous));
  return &programs_.emplace(key, program).first->second;
}

}  // namespace platform::gfx
