// The resource factories of the renderer: names are lower-cased, equal
// requests share one resource, each family makes its resources by its own
// rules and answers a fallback resource when a request finds or makes
// nothing.
#include <algorithm>
#include <cstring>
#include <new>

#include "base/StringUtil.h"
#include "platform/graphics/GfxConstants.h"
#include "renderer/Lumetra.h"
#include "renderer/resources/DX8Image.h"
#include "renderer/resources/DX8_DynaMesh.h"
#include "renderer/fonts/DX8Font_Def01.h"
#include "renderer/fonts/DX8Font_JFN.h"
#include "renderer/models/DX8Model_Def01.h"
#include "renderer/models/DX8Model_PMesh.h"
#include "renderer/models/DX8Model_SSM.h"
#include "renderer/resources/GlyphTable.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/DX8VertexShader.h"
#include "renderer/shaders/ShaderCompiler.h"

namespace gfx = platform::gfx;

namespace {

bool HasSuffix(const std::string& name, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return name.size() >= n && name.compare(name.size() - n, n, suffix) == 0;
}

bool HasPrefix(const std::string& name, const char* prefix) { return name.rfind(prefix, 0) == 0; }

// A blank image's size: a decimal integer from the token's leading digits,
// 0 without any, saturating far beyond any texture side.
uint32_t LeadingNumber(std::string_view token) {
  uint32_t value = 0;
  for (char c : token) {
    if (c < '0' || c > '9') break;
    value = std::min<uint32_t>(value * 10 + uint32_t(c - '0'), 1u << 24);
  }
  return value;
}

// The glyph table a built-in font name uses, 0 for none.
int FontTable(const std::string& name) {
  if (name == "metric font" || name == "dos font") return 1;
  if (name == "future font") return 2;
  if (name == "block font") return 3;
  if (name == "pelvon font") return 4;
  return 0;
}

template <typename T>
T* Shared(ResourceRegistry& registry, uint32_t flags, const std::string& name) {
  if (flags & RF_UNSHARED) return nullptr;
  C3DResource* found = registry.Find(flags, C3DResource::HashResourceName(name), name);
  auto* typed = dynamic_cast<T*>(found);
  if (typed) typed->AddRef();
  return typed;
}

}  // namespace

// --- models -----------------------------------------------------------------

C3DModel* Lumetra::CreateModel(uint32_t flags, std::string name) { return RequestModel(flags, std::move(name), false); }

C3DModel* Lumetra::RequestModel(uint32_t flags, std::string name, bool fallback) {
  str::ToLowerInPlace(name);
  if (C3DModel* found = Shared<C3DModel>(models_, flags, name)) return found;
  if (!(flags & RF_FINDONLY)) {
    if (C3DModel* made = MakeModel(flags, name)) {
      AddModel(made);
      return made;
    }
  }
  if ((flags & RF_NOFALLBACK) || fallback) return nullptr;
  return RequestModel(RF_BUILTIN, "default_model", true);
}

C3DModel* Lumetra::MakeModel(uint32_t flags, const std::string& name) {
  if (flags & RF_BUILTIN) {
    if (HasPrefix(name, "polymesh")) return DX8Model_PMesh::Create(this, flags, name);
    if (HasPrefix(name, DX8Model_Def01::kName)) return new (std::nothrow) DX8Model_Def01(this, flags, name);
    return nullptr;
  }
  // Picture names (".tga", ".jpg", ".bmp") make no model of their own and
  // end in the fallback like any other unknown name.
  if (HasSuffix(name, ".ssm")) {
    if (SSMObject* container = LoadContainer(name, flags)) return DX8Model_SSM::Create(this, container, flags, name);
  }
  return nullptr;
}

// --- meshes -----------------------------------------------------------------

C3DMesh* Lumetra::CreateMesh(uint32_t flags, std::string name) {
  str::ToLowerInPlace(name);
  if (!HasPrefix(name, "dynamicmesh")) return nullptr;
  auto* mesh = new (std::nothrow) DX8_DynaMesh(this, flags, name);
  if (mesh) AddMesh(mesh);
  return mesh;
}

// --- fonts ------------------------------------------------------------------

C3DFont* Lumetra::CreateFont(uint32_t flags, std::string name) { return RequestFont(flags, std::move(name), false); }

C3DFont* Lumetra::RequestFont(uint32_t flags, std::string name, bool fallback) {
  str::ToLowerInPlace(name);
  if (C3DFont* found = Shared<C3DFont>(fonts_, flags, name)) return found;
  C3DFont* made = nullptr;
  if (!(flags & RF_FINDONLY)) {
    if (flags & RF_BUILTIN) {
      if (const int table = FontTable(name)) made = CreateBuiltinFont(name, flags, BuiltinGlyphTable(table));
    } else if (HasSuffix(name, ".jfn")) {
      if (DX8Font_JFN* font = DX8Font_JFN::Create(this, flags, name)) {
        AddFont(font);
        made = font;
      }
    }
  }
  if (made) return made;
  if ((flags & RF_NOFALLBACK) || fallback) return nullptr;
  // A miss under RF_FINDONLY asks for "default_font", which is no built-in
  // name and so ends in the same "dos font" as a failure.
  return RequestFont(RF_BUILTIN, "dos font", true);
}

C3DFont* Lumetra::CreateBuiltinFont(const std::string& name, uint32_t flags, const GlyphTable* table) {
  if (!table) return nullptr;
  DX8Font_Def01* font = DX8Font_Def01::Create(this, name, flags, *table, RequestShader(flags, name, false));
  if (font) AddFont(font);
  return font;
}

// --- shaders ----------------------------------------------------------------

C3DBaseShader* Lumetra::CreateShader(uint32_t flags, std::string name) {
  return RequestShader(flags, std::move(name), false);
}

C3DBaseShader* Lumetra::RequestShader(uint32_t flags, std::string name, bool fallback) {
  str::ToLowerInPlace(name);
  if (C3DBaseShader* found = Shared<C3DBaseShader>(shaders_, flags, name)) return found;
  if (!(flags & RF_FINDONLY)) {
    C3DBaseShader* made = (flags & RF_BUILTIN) ? MakeBuiltinShader(flags, name) : MakeShader(flags, name);
    if (made) return made;
  }
  if ((flags & RF_NOFALLBACK) || fallback) return nullptr;
  const bool vertex = flags & RF_VERTEX;
  const char* fallbackName = (flags & RF_DEFAULT) ? (vertex ? "default_vertex" : "default_material")
                                                  : (vertex ? "empty_vertex" : "empty_material");
  return RequestShader(RF_BUILTIN, fallbackName, true);
}

DX8MaterialShader* Lumetra::OneLayerMaterial(const std::string& name, C3DImage* image) {
  auto* shader = dynamic_cast<DX8MaterialShader*>(CompileShader(this, RF_MATERIAL | RF_EMPTY, name));
  DX8SHADER_Layer* layer = shader ? shader->AddLayer() : nullptr;
  if (!layer || !image) {
    delete shader;
    if (image) image->Release();
    return nullptr;
  }
  layer->image = image;  // the layer takes the request's reference
  AddShader(shader);
  return shader;
}

C3DBaseShader* Lumetra::MakeShader(uint32_t flags, const std::string& name) {
  if (HasSuffix(name, ".jsm")) return CompileShader(this, flags | RF_MATERIAL, name);
  if (HasSuffix(name, ".jsv")) return CompileShader(this, flags | RF_VERTEX, name);
  // Any other name is an image drawn by a one-layer material. A shader of
  // its own (RF_UNSHARED) still draws the one shared picture: only its
  // variables are its own.
  C3DImage* image = RequestImage((flags | RF_NOFALLBACK) & ~uint32_t(RF_UNSHARED), name, false);
  if (!image) return nullptr;
  return OneLayerMaterial(name, image);
}

C3DBaseShader* Lumetra::MakeBuiltinShader(uint32_t flags, const std::string& name) {
  auto registered = [this](DX8BaseShader* shader) -> C3DBaseShader* {
    if (shader) AddShader(shader);
    return shader;
  };
  constexpr uint32_t kMaterial = RF_MATERIAL | RF_EMPTY;
  constexpr uint32_t kVertex = RF_VERTEX | RF_EMPTY;
  if (name == "default_material") return registered(CompileShader(this, kMaterial, name));
  if (name == "default_vertex") return registered(CompileShader(this, kVertex, name));
  if (name == "empty_material") return registered(CompileShader(this, kMaterial, name));
  if ((flags & kMaterial) == kMaterial) return registered(CompileShader(this, kMaterial, name));
  if (name == "empty_vertex") return registered(CompileShader(this, kVertex, name));
  const bool solid = name == "solid shader";
  const bool font = FontTable(name) != 0 || name == "default font";
  if (!solid && !font) return nullptr;
  DX8MaterialShader* m = OneLayerMaterial(name, RequestImage(flags, name, false));
  if (!m) return nullptr;
  if (solid || name == "metric font") {
    m->SetState(kZEnable, 0);
    m->SetState(kZWriteEnable, 0);
    DX8SHADER_Layer& layer = *m->Layer(0);
    layer.request.values[kMagFilter] = gfx::D3DTEXF_POINT;
    layer.request.values[kMinFilter] = gfx::D3DTEXF_POINT;
    layer.request.values[kMipFilter] = gfx::D3DTEXF_NONE;
  }
  m->SetState(kLighting, 0);
  m->SetState(kCullMode, gfx::D3DCULL_NONE);
  if (solid) {
    m->SetState(kAlphaBlendEnable, 0);
    // Its picture is plain white: what it draws takes the vertex colours
    // (the metrics bar is coloured by its share).
    DX8SHADER_Layer& layer = *m->Layer(0);
    layer.request.values[kColorOp] = gfx::D3DTOP_MODULATE;
    layer.request.values[kColorArg2] = gfx::D3DTA_DIFFUSE;
  } else {
    m->SetState(kAlphaBlendEnable, 1);
    m->SetState(kSrcBlend, gfx::D3DBLEND_ONE);
    m->SetState(kDestBlend, gfx::D3DBLEND_ZERO);
    m->SetState(kAlphaRef, 128);
    m->SetState(kAlphaTestEnable, 1);
    m->SetState(kAlphaFunc, gfx::D3DCMP_GREATER);
  }
  return m;
}

// --- images -----------------------------------------------------------------

C3DImage* Lumetra::CreateImage(uint32_t flags, std::string name) { return RequestImage(flags, std::move(name), false); }

C3DImage* Lumetra::RequestImage(uint32_t flags, std::string name, bool fallback) {
  str::ToLowerInPlace(name);
  if (C3DImage* found = Shared<C3DImage>(images_, flags, name)) return found;
  if (!(flags & RF_FINDONLY)) {
    if (C3DImage* made = MakeImage(flags, name)) return made;
  }
  if ((flags & RF_NOFALLBACK) || fallback) return nullptr;
  if (flags & RF_DEFAULT) return RequestImage(RF_BUILTIN, "default_image", true);
  return RequestImage(RF_BUILTIN | RF_EMPTY, "", true);
}

C3DImage* Lumetra::MakeImage(uint32_t flags, const std::string& name) {
  if (!(flags & RF_BUILTIN)) {
    for (const char* ext : {".stx", ".tga", ".jpg", ".bmp", ".dds"}) {
      if (!HasSuffix(name, ext)) continue;
      DX8Image* image = CreateImageFromName(this, flags, name);
      if (image) AddImage(image);
      return image;
    }
    return nullptr;
  }
  if (flags & RF_EMPTY) {
    auto* image = new (std::nothrow) DX8Image(this, flags, name);
    if (!image) return nullptr;
    if (!name.empty()) {
      const std::vector<std::string> tokens = str::Split(str::Trim(name), " \t");
      std::vector<std::string> sizes;
      for (const std::string& t : tokens)
        if (!t.empty()) sizes.push_back(t);
      // Sizes beyond the device's largest texture side are cut to it; a
      // side of 0 gives no texture.
      const uint32_t largest = ComputeCapability(0);
      const uint32_t width = std::min(sizes.size() > 0 ? LeadingNumber(sizes[0]) : 0u, largest);
      const uint32_t height = std::min(sizes.size() > 1 ? LeadingNumber(sizes[1]) : 0u, largest);
      if (width > 0 && height > 0) image->BuildSolidImage(width, height, 0xFFFFFFFFu);
    }
    AddImage(image);
    return image;
  }
  if (name == "solid shader" || name == "default_image") return RequestImage(RF_BUILTIN | RF_EMPTY, "8 8", false);
  if (const int table = FontTable(name)) return CreateGlyphImage(name, flags, BuiltinGlyphTable(table));
  return nullptr;
}

C3DImage* Lumetra::CreateGlyphImage(const std::string& name, uint32_t flags, const GlyphTable* table) {
  if (table) {
    if (auto* image = new (std::nothrow) DX8Image(this, flags | RF_EMPTY, name)) {
      if (status::Succeeded(image->BuildGlyphImage(*table, (flags & RF_MIPCHAIN) != 0))) {
        AddImage(image);
        return image;
      }
      delete image;
    }
  }
  if (flags & RF_NOFALLBACK) return nullptr;
  if (flags & RF_DEFAULT) return RequestImage(RF_BUILTIN, "default_image", false);
  return RequestImage(RF_BUILTIN, "empty_image", false);
}
