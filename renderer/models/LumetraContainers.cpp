// The renderer's cache of loaded model files: each ".ssm" file is read and
// prepared once, its texture references turned into material shaders (the
// script beside the model when there is one, else a material over the
// picture), and kept until Shutdown for every model made from it.
#include <memory>
#include <new>

#include "base/StringUtil.h"
#include "renderer/Lumetra.h"
#include "renderer/formats/SSMObject.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace {

bool EndsWith(const std::string& s, const char* suffix) {
  const std::string tail(suffix);
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

SSMObject* Lumetra::LoadContainer(std::string name, uint32_t flags) {
  for (SSMObject* cached : containers_)
    if (cached->name == name) return cached;

  auto object = std::make_unique<SSMObject>();
  if (status::Failed(object->LoadFile(name))) return nullptr;
  object->BuildAnchors();
  object->BuildDrawData();
  object->name = name;

  // Texture references resolve beside the model file. A name without any
  // folder looks in the current one.
  const size_t slash = name.rfind('\\');
  const std::string prefix = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  for (auto& resource : object->resources) {
    std::string reference = resource->name;
    if (reference.compare(0, 5, "file;") == 0) reference.erase(0, 5);
    const size_t cut = reference.rfind('\\');
    if (cut != std::string::npos) reference.erase(0, cut + 1);
    str::ToLowerInPlace(reference);
    if (!(EndsWith(reference, ".stx") || EndsWith(reference, ".tga") || EndsWith(reference, ".bmp") ||
          EndsWith(reference, ".jpg")))
      continue;
    const std::string script = reference.substr(0, reference.size() - 3) + "jsm";
    resource->name = script;
    C3DBaseShader* shader = CreateShader(flags | RF_NOFALLBACK, prefix + script);
    if (!shader) {
      resource->name = reference;
      shader = CreateShader(flags | RF_NOFALLBACK, prefix + reference);
    }
    // The record keeps the creation's one reference; the shader registry
    // deletes the shader at Shutdown.
    auto* material = dynamic_cast<DX8MaterialShader*>(shader);
    if (!material && shader) shader->Release();
    resource->shader = material;
  }
  containers_.push_back(object.get());
  return object.release();
}

void Lumetra::DeleteContainers() {
  for (SSMObject* container : containers_) delete container;
  containers_.clear();
}
