#include "engine/services/Panelis.h"

Panelis::Panelis() = default;

Panelis::~Panelis() {
  for (auto& entry : options_) delete entry.second;
}

bool Panelis::Init() { return false; }

void Panelis::ForgetEntity(GUIEntity*) {}
