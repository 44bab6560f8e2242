#pragma once
// A frame whose fill control grows with a progress value, with a status text.
#include <cstdint>
#include <string>

#include "engine/files/StringHolder.h"
#include "gui/core/Widget.h"

class GUIStatic;
class GUIStaticText;

class GUIProgressBar : public Widget {
 public:
  explicit GUIProgressBar(cEntity_Manager* owner);
  ~GUIProgressBar() override;

  // Its model, then the fill control sized by the progress, then the children.
  void Render(Core3D* renderer, C3DPass* pass) override;

  virtual bool CreateStatusText();
  virtual bool CreateFillControl();
  virtual void SetFlag(int32_t flag) { flag_ = flag; }
  virtual int32_t GetFlag() { return flag_; }
  // Index 0 left, 1 right, 2 bottom, 3 top; others change nothing.
  virtual int32_t SetBorderGap(int32_t index, float value);
  virtual void SetBorderGaps(float left, float right, float bottom, float top);
  virtual void SetBorderGapsV(const float gaps[4]) { SetBorderGaps(gaps[0], gaps[1], gaps[2], gaps[3]); }
  virtual void SetProgress(float value) { *progress_ = value; }
  // The progress is read through the caller's float from now on (null: its own).
  virtual void BindProgress(float* progress) { progress_ = progress ? progress : &ownProgress_; }
  // True once the progress reached 1.
  virtual bool AddProgress(float amount);
  virtual bool Step() { return AddProgress(step_); }
  virtual void SetStep(float step) { step_ = step; }
  virtual float GetStep() { return step_; }
  virtual void SetStatusText(const std::string& text);
  virtual std::string GetStatusText();
  virtual void SetStatusScale(float x, float y, float z);
  virtual void SetStatusOffset(float x, float y, float z);
  virtual void BindStatusText(StringHolder* holder);
  virtual void UnbindStatusText();
  virtual GUIStatic* GetFillControl() { return fill_; }

  float GetProgress() const { return *progress_; }
  const float* GetBorderGaps() const { return gaps_; }
  GUIStaticText* GetStatus() const { return status_; }

 protected:
  void ChildLeft(GUIEntity* child) override;

 private:
  int32_t flag_ = 0;
  float gaps_[4] = {0.05f, 0.05f, 0.05f, 0.05f};
  float ownProgress_ = 0.0f;
  float* progress_ = &ownProgress_;
  float step_ = 0.001f;
  GUIStaticText* status_ = nullptr;
  GUIStatic* fill_ = nullptr;
};
