#pragma once
// The text label: a text (or a caller-owned shared string) drawn with a
// font, text scale and alignment, with an optional selected range drawn
// again in black over it.
#include <cstdint>
#include <string>

#include "engine/files/StringHolder.h"
#include "engine/services/C3DFont.h"
#include "gui/core/Widget.h"

enum GUITextAlign : uint8_t { GUIALIGN_LEFT = 0, GUIALIGN_RIGHT = 1, GUIALIGN_CENTRE = 2 };

class GUIStaticText : public Widget {
 public:
  explicit GUIStaticText(cEntity_Manager* owner);
  ~GUIStaticText() override;

  // Origin below the top edge; the world's default font when none is set.
  CoreStatus Initialize() override;
  CoreStatus Exit() override;
  void Render(Core3D* renderer, C3DPass* pass) override;
  // The base transform, then the text matrix.
  void UpdateTransform() override;
  // Origin (0, -line height, 0), or -1 without a font.
  void UpdateBounds() override;

  virtual void SetFont(C3DFont* font);
  virtual C3DFont* GetFont() { return font_.Get(); }
  virtual float* GetTextScaleXPtr() { return &textScale_[0]; }
  virtual float* GetTextScaleYPtr() { return &textScale_[1]; }
  virtual float* GetTextScaleZPtr() { return &textScale_[2]; }
  virtual void SetText(const std::string& text, bool update);
  // The bound string when bound, else the own text.
  virtual std::string GetText();
  virtual void SetTextScale(float x, float y, float z, bool update);
  virtual void SetTextPosition(float x, float y, float z, bool update) { SetPosition(x, y, z, update); }
  virtual void SetTextAlign(uint8_t alignment, bool update);
  // Moves the origin by the alignment of the measured text.
  virtual void RebuildText(bool update);
  virtual void BindText(StringHolder* holder);
  virtual void UnbindText();
  virtual void SetSelectionStart(int32_t index) { selectionStart_ = index; }
  virtual int32_t GetSelectionStart() { return selectionStart_; }
  virtual void SetSelectionLength(int32_t count) { selectionLength_ = count; }
  virtual int32_t GetSelectionLength() { return selectionLength_; }

  uint8_t GetTextAlign() const { return alignment_; }
  const JMatrix& GetTextMatrix() const { return textMatrix_; }
  float TextScaleX() const { return textScale_[0]; }
  float TextScaleY() const { return textScale_[1]; }
  // Width of a text in this label's font (0 without a font).
  float MeasureWidth(const std::string& text);

 private:
  void DrawSelection(Core3D* renderer, C3DPass* pass, const std::string& shown);

  ResourceRef<C3DFont> font_;
  std::string text_ = "Test";
  int32_t selectionStart_ = 0;
  int32_t selectionLength_ = 0;
  uint8_t alignment_ = GUIALIGN_LEFT;
  float textScale_[3] = {1.0f, 1.0f, 1.0f};
  JMatrix textMatrix_ = JMatrix::Identity();
  StringHolder* bound_ = nullptr;
};

// Width of a text measured with a font (its extent's max x - min x).
float MeasureTextWidth(C3DFont* font, const std::string& text);
