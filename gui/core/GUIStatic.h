#pragma once
// A plain picture: a widget with its plane model and shader and no
// behaviour of its own (highlights, thumbs, carets, fill bars).
#include "gui/core/Widget.h"

class GUIStatic : public Widget {
 public:
  explicit GUIStatic(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_STATIC); }
};
