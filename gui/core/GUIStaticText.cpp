#include "gui/core/GUIStaticText.h"

#include <algorithm>

#include "engine/services/C3DBaseShader.h"
#include "engine/services/Core3D.h"
#include "gui/core/GUIWorld.h"

float MeasureTextWidth(C3DFont* font, const std::string& text) {
  if (!font) return 0.0f;
  float minX = 0.0f, minY = 0.0f, minZ = 0.0f, maxX = 0.0f, maxY = 0.0f, maxZ = 0.0f;
  font->Measure(text, &minX, &minY, &minZ, &maxX, &maxY, &maxZ);
  return maxX - minX;
}

GUIStaticText::GUIStaticText(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_STATICTEXT); }

GUIStaticText::~GUIStaticText() { GUIStaticText::Exit(); }

CoreStatus GUIStaticText::Exit() {
  if (bound_) StringHolder::Release(bound_);
  font_.Reset();
  return Widget::Exit();
}

CoreStatus GUIStaticText::Initialize() {
  SetOriginY(-height_, false);
  if (!font_) {
    GUIWorld* world = gui_ ? gui_->GetWorld() : nullptr;
    SetFont(world ? world->GetDefaultFont() : nullptr);
  }
  return status::Ok;
}

float GUIStaticText::MeasureWidth(const std::string& text) { return MeasureTextWidth(font_.Get(), text); }

void GUIStaticText::UpdateBounds() {
  SetOrigin(0.0f, font_ ? -font_.Get()->GetLineHeight() : -1.0f, 0.0f, false);
}

void GUIStaticText::SetFont(C3DFont* font) {
  font_.Set(font);
  UpdateBounds();
  RebuildText(true);
}

void GUIStaticText::SetText(const std::string& text, bool update) {
  text_ = text;
  RebuildText(update);
}

std::string GUIStaticText::GetText() {
  if (bound_) return bound_->text ? *bound_->text : std::string();
  return text_;
}

void GUIStaticText::SetTextScale(float x, float y, float z, bool update) {
  textScale_[0] = x;
  textScale_[1] = y;
  textScale_[2] = z;
  if (update) UpdateTransform();
}

void GUIStaticText::SetTextAlign(uint8_t alignment, bool update) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  RebuildText(update);
}

void GUIStaticText::RebuildText(bool update) {
  if (!font_) return;
  const float w = MeasureWidth(GetText());
  float x = 0.0f;
  if (alignment_ == GUIALIGN_RIGHT) x = -w;
  if (alignment_ == GUIALIGN_CENTRE) x = -w * 0.5f;
  SetOriginX(x, false);
  if (update) UpdateTransform();
}

void GUIStaticText::BindText(StringHolder* holder) {
  if (holder == bound_) return;
  if (bound_) StringHolder::Release(bound_);
  bound_ = holder;
  if (bound_) ++bound_->uses;
  RebuildText(true);
}

void GUIStaticText::UnbindText() {
  if (!bound_) return;
  StringHolder::Release(bound_);
  bound_ = nullptr;
  RebuildText(true);
}

void GUIStaticText::UpdateTransform() {
  Widget::UpdateTransform();
  // The widget's own scale stays out: a text is sized by its text scale.
  JMath_MatrixTranslation(textMatrix_, origin_[0], origin_[1], origin_[2]);
  JMath_MatrixScale(textMatrix_, textScale_[0], textScale_[1], textScale_[2]);
  if (parent_) JMath_MatrixMultiply(textMatrix_, textMatrix_, *parent_->GetRotationMatrixPtrConst());
  JMath_MatrixMultiply(textMatrix_, textMatrix_, rotation_);
  JMath_MatrixMultiply(textMatrix_, textMatrix_, accumulated_);
}

void GUIStaticText::Render(Core3D* renderer, C3DPass* pass) {
  if (!gui_ || !gui_->IsTextRenderEnabled() || !visible_ || !active_) return;
  const std::string shown = GetText();
  if (renderer && font_) {
    renderer->DrawText(pass, font_.Get(), shown, &textMatrix_);
    if (selectionLength_ > 0) DrawSelection(renderer, pass, shown);
  }
  GUIEntity::Render(renderer, pass);
}

void GUIStaticText::DrawSelection(Core3D* renderer, C3DPass* pass, const std::string& shown) {
  C3DFont* font = font_.Get();
  const size_t start = std::min<size_t>(static_cast<size_t>(std::max(selectionStart_, 0)), shown.size());
  const std::string before = shown.substr(0, start);
  const int row = static_cast<int>(std::count(before.begin(), before.end(), '\n'));
  const size_t lineStart = before.rfind('\n');
  const std::string lineBefore = lineStart == std::string::npos ? before : before.substr(lineStart + 1);
  const float offsetX = MeasureWidth(lineBefore) * textScale_[0] * width_;
  const float offsetY = -(font->GetLineHeight() * textScale_[1] * static_cast<float>(row));
  JMatrix matrix = textMatrix_;
  matrix.m[3][0] += offsetX;
  matrix.m[3][1] += offsetY;
  matrix.m[3][2] += 0.01f;
  // The selected characters again, in black, with every page colour put back.
  struct Saved {
    C3DBaseShader* shader;
    int16_t index;
    float value;
  };
  std::vector<Saved> saved;
  for (int32_t page = 0; page < font->GetPageCount(); ++page) {
    auto* shader = dynamic_cast<C3DBaseShader*>(font->GetPageShader(static_cast<uint16_t>(page)));
    if (!shader) continue;
    for (const char* name : {"#rval", "#gval", "#bval"}) {
      const int16_t index = shader->FindVariable(name);
      if (index < 0) continue;
      saved.push_back({shader, index, shader->GetVariable(static_cast<uint16_t>(index))});
      shader->SetVariable(static_cast<uint16_t>(index), 0.0f);
    }
  }
  renderer->DrawText(pass, font, shown.substr(start, static_cast<size_t>(selectionLength_)), &matrix);
  for (const Saved& s : saved) s.shader->SetVariable(static_cast<uint16_t>(s.index), s.value);
}
