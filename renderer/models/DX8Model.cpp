#include "renderer/models/DX8Model.h"

#include <utility>

#include "renderer/Lumetra.h"

DX8Model::DX8Model(Lumetra* owner, uint32_t flags, std::string name)
    : C3DModel(owner, flags, std::move(name)), renderer_(owner) {}

DX8Model::~DX8Model() = default;

void DX8Model::OnUnreferenced() {
  if (renderer_ && GetRegistryIndex() >= 0) renderer_->RemoveModel(static_cast<uint32_t>(GetRegistryIndex()));
}
