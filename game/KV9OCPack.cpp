#include "game/KV9OCPack.h"

#include "platform/DebugOutput.h"

KV9_OCPack::KV9_OCPack() : Core_OCPack(107) { (*GetCommandMap())["ImageListCommand"] = &ImageListCommand; }

KV9_OCPack::~KV9_OCPack() = default;

CoreStatus KV9_OCPack::ImageListCommand(CStringArray&, CoreParser*) {
  platform::OutputDebugString("********** IMAGELISTCOMMAND**************\n");
  return status::Ok;
}
