#pragma once
// The game's package of script commands: one command, "ImageListCommand",
// which the keyword "imagelist" of the GUI's common language runs.
#include "engine/services/Core_OCPack.h"

class KV9_OCPack : public Core_OCPack {
 public:
  KV9_OCPack();
  ~KV9_OCPack() override;

  static CoreStatus ImageListCommand(CStringArray& tokens, CoreParser* parser);
};
