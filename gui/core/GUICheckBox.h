#pragma once
// A two-state box with a caption; inside a group the boxes act as radio
// buttons.
#include <cstdint>
#include <string>

#include "gui/core/Widget.h"

class GUIStaticText;

enum GUICheckState : int32_t { GUICHECK_UNCHECKED = 0, GUICHECK_CHECKED = 1, GUICHECK_DISABLED = 2 };
inline constexpr int kCheckStates = 3;

class GUICheckBox : public Widget {
 public:
  explicit GUICheckBox(cEntity_Manager* owner);
  ~GUICheckBox() override;

  // The widget's completion, the state looks, the caption's bounds; no
  // state is applied.
  CoreStatus Initialize() override;
  CoreStatus Exit() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  void SetEnabled(uint8_t on) override;

  virtual void ApplyStateModel(int32_t state);
  virtual void ApplyStateShader(int32_t state);
  // Flips the box (a checked box in a group stays checked) and raises
  // "cb_checked" or "cb_unchecked"; answers the new value.
  virtual bool Toggle();
  // Stores the value and shows it; raises nothing.
  virtual void SetChecked(bool checked);
  virtual bool IsChecked() { return checked_ != 0; }
  virtual void SetStateModel(int32_t state, C3DModel* model);
  virtual void SetStateShader(int32_t state, C3DBaseShader* shader);
  virtual bool CreateCaption();
  virtual void SetCaption(const std::string& text, bool update);
  // The caption's widget scale.
  virtual void SetCaptionScale(float x, float y, float z, bool update);
  virtual void SetCaptionPosition(float x, float y, float z, bool update);
  // Centres the caption vertically on the box.
  virtual void LayoutCaption();
  virtual GUIStaticText* GetCaption() { return caption_; }

  void ApplyState(int32_t state);
  // The caption layout switch the description files set.
  void SetCaptionLayout(uint8_t on) { captionLayout_ = on; }
  uint8_t GetCaptionLayout() const { return captionLayout_; }

 protected:
  void ChildLeft(GUIEntity* child) override;

 private:
  static bool Valid(int32_t state) { return state >= 0 && state < kCheckStates; }

  ResourceRef<C3DModel> stateModels_[kCheckStates];
  ResourceRef<C3DBaseShader> stateShaders_[kCheckStates];
  uint8_t checked_ = 0;
  GUIStaticText* caption_ = nullptr;
  uint8_t captionLayout_ = 1;
};

// An invisible container that makes the check boxes inside it a radio
// group. Not solid: the pointer passes through it.
class GUIGroup : public Widget {
 public:
  explicit GUIGroup(cEntity_Manager* owner);
  // A group gets no bounds and no plane model.
  CoreStatus Initialize() override { return status::Ok; }
  // Unchecks every enabled check box of the group silently.
  virtual void UncheckAll();
  virtual uint8_t GetFlag() { return flag_; }
  virtual void SetFlag(uint8_t flag) { flag_ = flag; }

 private:
  uint8_t flag_ = 0;
};
