#pragma once
// A push button: one look (model and shader) per state and a caption.
#include <cstdint>
#include <string>

#include "gui/core/Widget.h"

class C3DFont;
class GUIStaticText;

// Button states, the indexes of the state looks.
enum GUIButtonState : int32_t {
  GUIBUTTON_NORMAL = 0,
  GUIBUTTON_MOUSEOVER = 1,
  GUIBUTTON_ACTIVE = 2,
  GUIBUTTON_DEFAULT = 3,
  GUIBUTTON_DISABLED = 4,
};
inline constexpr int kButtonStates = 5;

// Plays a widget sound once at the master volume; nothing without one.
void PlayWidgetSound(Panelis* gui, SoundHandle* sound);

class GUIButton : public Widget {
 public:
  explicit GUIButton(cEntity_Manager* owner);
  ~GUIButton() override;

  // The widget's own completion, then the state looks.
  CoreStatus Initialize() override;
  CoreStatus Exit() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  void SetEnabled(uint8_t on) override;
  // Always updates, then lays the caption out.
  void SetScale(float x, float y, float z, bool update) override;

  virtual void CreateStateModels();
  virtual void ApplyStateModel(int32_t state);
  virtual void ApplyStateShader(int32_t state);
  virtual void SetStateModel(int32_t state, C3DModel* model);
  virtual C3DModel* GetStateModel(int32_t state);
  virtual void SetStateShader(int32_t state, C3DBaseShader* shader);
  virtual bool CreateCaption();
  virtual void SetCaption(const std::string& text, bool update);
  // The caption's text scale.
  virtual void SetCaptionScale(float x, float y, float z, bool update);
  virtual void SetCaptionPosition(float x, float y, float z, bool update);
  // A button never moves its caption.
  virtual void LayoutCaption() {}
  virtual GUIStaticText* GetCaption() { return caption_; }

  void ApplyState(int32_t state);
  // The caption layout switch the description files set.
  void SetCaptionLayout(uint8_t on) { captionLayout_ = on; }
  uint8_t GetCaptionLayout() const { return captionLayout_; }
  C3DBaseShader* GetStateShader(int32_t state);

 protected:
  void ChildLeft(GUIEntity* child) override;

 private:
  static bool Valid(int32_t state) { return state >= 0 && state < kButtonStates; }
  void CaptionFont(C3DFont* font);

  ResourceRef<C3DModel> stateModels_[kButtonStates];
  ResourceRef<C3DBaseShader> stateShaders_[kButtonStates];
  GUIStaticText* caption_ = nullptr;
  uint8_t captionLayout_ = 1;
};
