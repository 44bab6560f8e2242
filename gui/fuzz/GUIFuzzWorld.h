#pragma once
// The GUI fuzz targets' service: the tests' rig with the GUI actions.
// Checks abort with the failed condition.
#include <cstdio>
#include <cstdlib>

#include "gui/core/GUIEntity.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/tests/GUIRig.h"

#define GUI_FUZZ_CHECK(ok)                                                       \
  do {                                                                           \
    if (!(ok)) {                                                                 \
      std::fprintf(stderr, "check failed: %s line %d\n", #ok, __LINE__);         \
      std::abort();                                                              \
    }                                                                            \
  } while (0)

struct GUIFuzzWorld : guitest::GUIRig {
  GUIFuzzWorld() { AddGUIActions(); }

  // Every child names its parent, and nothing is its own ancestor.
  static void CheckTree(GUIEntity* entity, int depth = 0) {
    GUI_FUZZ_CHECK(depth < 10000);
    for (GUIEntity* child : entity->Children()) {
      GUI_FUZZ_CHECK(child->GetParent() == entity);
      CheckTree(child, depth + 1);
    }
  }
};
