// The animated actions: moving, turning and sliding texture coordinates
// over time, and their "Other" forms that name the entity to animate.
#include <algorithm>
#include <cmath>

#include "base/StringUtil.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/actions/ActionText.h"
#include "gui/core/actions/GUIActions.h"

using guiaction::Number;
using guiaction::Words;

namespace {

// The named GUI entity and the rest of the text, for the "Other" actions.
template <typename Action>
CoreStatus ForwardToNamed(cEntity_Base* entity, uintptr_t sender, const std::string& params) {
  const std::vector<std::string> words = Words(params);
  const std::string rest = guiaction::Rest(params, 1);
  if (words.empty() || rest.empty()) return kActionNotDone;
  auto* other = dynamic_cast<GUIEntity*>(guiaction::FindNamed(entity, words[0]));
  Action* action = Action::GetInstance();
  if (!other || !action) return kActionNotDone;
  return action->Execute(other, sender, rest);
}

}  // namespace

GA_MoveWidget::GA_MoveWidget() : cAction_Base("MoveWidget") { updated = 1; }
GA_MoveWidget::~GA_MoveWidget() = default;

CoreStatus GA_MoveWidget::Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) {
  auto* target = dynamic_cast<GUIEntity*>(entity);
  const std::vector<std::string> words = Words(params);
  if (!target || words.size() < 4) return kActionNotDone;
  const float d[3] = {Number(words[0]), Number(words[1]), Number(words[2])};
  // A move at no speed would never arrive.
  const float speed = std::fabs(Number(words[3]));
  if (!(speed > 0.0f) || !std::isfinite(speed)) return kActionNotDone;
  for (auto it = moves_.rbegin(); it != moves_.rend(); ++it) {
    if (it->entity != target) continue;
    for (int a = 0; a < 3; ++a) it->target[a] += d[a];
    it->speed = speed;
    return status::Ok;
  }
  Move move{};
  move.entity = target;
  move.sender = guiaction::SenderEntity(entity, sender);
  if (move.sender == target) move.sender = nullptr;
  const float now[3] = {target->GetPositionX(), target->GetPositionY(), target->GetPositionZ()};
  for (int a = 0; a < 3; ++a) {
    move.target[a] = now[a] + d[a];
    move.start[a] = now[a];
  }
  move.speed = speed;
  moves_.push_back(move);
  return status::Ok;
}

void GA_MoveWidget::Update(float seconds) {
  std::vector<Move> arrived;
  for (size_t i = 0; i < moves_.size();) {
    Move& m = moves_[i];
    const float now[3] = {m.entity->GetPositionX(), m.entity->GetPositionY(), m.entity->GetPositionZ()};
    const float step = m.speed * seconds;
    float d[3];
    int done = 0;
    for (int a = 0; a < 3; ++a) {
      const float left = m.target[a] - now[a];
      if (left == 0.0f) {
        d[a] = 0.0f;
        ++done;
      } else if (std::fabs(left) <= step) {
        d[a] = left;
        ++done;
      } else {
        d[a] = left > 0.0f ? step : -step;
      }
    }
    m.entity->MoveByV(JVector{d[0], d[1], d[2]});
    if (done == 3) {
      arrived.push_back(m);
      moves_.erase(moves_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  for (size_t i = 0; i < arrived.size(); ++i) {
    const Move& m = arrived[i];
    if (!m.entity->RunPendingMultiAction() && m.sender) m.sender->RunPendingMultiAction();
  }
}

void GA_MoveWidget::Forget(GUIEntity* entity) {
  moves_.erase(std::remove_if(moves_.begin(), moves_.end(), [entity](const Move& m) { return m.entity == entity; }),
               moves_.end());
  for (Move& m : moves_) {
    if (m.sender == entity) m.sender = nullptr;
  }
}

bool GA_MoveWidget::IsMoving(GUIEntity* entity) const {
  return std::any_of(moves_.begin(), moves_.end(), [entity](const Move& m) { return m.entity == entity; });
}

CoreStatus GA_MoveOtherWidget::Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) {
  return ForwardToNamed<GA_MoveWidget>(entity, sender, params);
}

GA_RotateWidget::GA_RotateWidget() : cAction_Base("RotateWidget") { updated = 1; }
GA_RotateWidget::~GA_RotateWidget() = default;

CoreStatus GA_RotateWidget::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  auto* target = dynamic_cast<GUIEntity*>(entity);
  const std::vector<std::string> words = Words(params);
  if (!target || words.size() < 6) return kActionNotDone;
  float angle[3];
  float speed[3];
  for (int a = 0; a < 3; ++a) {
    angle[a] = Number(words[static_cast<size_t>(2 * a)]);
    speed[a] = Number(words[static_cast<size_t>(2 * a + 1)]);
  }
  for (Turn& t : turns_) {
    if (t.entity != target) continue;
    for (int a = 0; a < 3; ++a) {
      const float left = t.remaining[a];
      const bool sameSign = (t.speed[a] < 0.0f) == (speed[a] < 0.0f);
      if (left < angle[a]) t.speed[a] = speed[a];
      t.remaining[a] = sameSign ? angle[a] + left : std::fabs(angle[a] - left);
    }
    return status::Ok;
  }
  Turn turn{};
  turn.entity = target;
  for (int a = 0; a < 3; ++a) {
    turn.remaining[a] = angle[a];
    turn.speed[a] = speed[a];
  }
  turns_.push_back(turn);
  target->SetRotating(true);
  return status::Ok;
}

void GA_RotateWidget::Update(float seconds) {
  std::vector<GUIEntity*> finished;
  for (size_t i = 0; i < turns_.size();) {
    Turn& t = turns_[i];
    float step[3];
    for (int a = 0; a < 3; ++a) {
      step[a] = t.speed[a] * seconds;
      // With nothing left to turn the axis turns without end.
      if (t.remaining[a] == 0.0f) continue;
      if (t.remaining[a] < std::fabs(step[a])) {
        t.speed[a] = 0.0f;
        step[a] = step[a] < 0.0f ? -t.remaining[a] : t.remaining[a];
      } else {
        t.remaining[a] -= std::fabs(step[a]);
      }
    }
    t.entity->RotateBy(step[0], step[1], step[2], true);
    if (t.speed[0] == 0.0f && t.speed[1] == 0.0f && t.speed[2] == 0.0f) {
      finished.push_back(t.entity);
      t.entity->SetRotating(false);
      turns_.erase(turns_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  for (GUIEntity* entity : finished) entity->RunPendingMultiAction();
}

bool GA_RotateWidget::Stop(GUIEntity* entity) {
  const auto it = std::find_if(turns_.begin(), turns_.end(), [entity](const Turn& t) { return t.entity == entity; });
  if (it == turns_.end()) return false;
  turns_.erase(it);
  entity->SetRotating(false);
  return true;
}

bool GA_RotateWidget::GetAxis(GUIEntity* entity, int axis, float* remaining, float* speed) const {
  for (const Turn& t : turns_) {
    if (t.entity != entity || axis < 0 || axis > 2) continue;
    *remaining = t.remaining[axis];
    *speed = t.speed[axis];
    return true;
  }
  return false;
}

CoreStatus GA_RotateOtherWidget::Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) {
  return ForwardToNamed<GA_RotateWidget>(entity, sender, params);
}

GA_MoveUVCoords::GA_MoveUVCoords() : cAction_Base("MoveUVCoords") { updated = 1; }
GA_MoveUVCoords::~GA_MoveUVCoords() = default;

namespace {

// The four values in the order SetUVCoords takes them: u0, v0, u1, v1.
void CurrentUV(GUIEntity* entity, float out[4]) {
  float u[2];
  float v[2];
  entity->GetUV0(u);
  entity->GetUV1(v);
  out[0] = u[0];
  out[1] = v[0];
  out[2] = u[1];
  out[3] = v[1];
}

}  // namespace

CoreStatus GA_MoveUVCoords::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  auto* target = dynamic_cast<GUIEntity*>(entity);
  const std::vector<std::string> words = Words(params);
  if (!target || words.empty()) return kActionNotDone;
  const std::string verb = str::ToUpper(words[0]);
  const auto value = [&](size_t i) { return Number(words[i]); };
  if (verb == "UV_SET") {
    if (words.size() < 5) return kActionNotDone;
    target->SetUVCoords(value(1), value(2), value(3), value(4));
  } else if (verb == "U_SET" || verb == "V_SET") {
    if (words.size() < 3) return kActionNotDone;
    if (verb == "U_SET") target->SetUV0(value(1), value(2));
    else target->SetUV1(value(1), value(2));
  } else if (verb == "UV_MOVE") {
    if (words.size() < 9) return kActionNotDone;
    Slide slide{};
    slide.entity = target;
    float now[4];
    CurrentUV(target, now);
    for (size_t i = 0; i < 4; ++i) {
      const float rate = value(2 + 2 * i);
      if (rate < 0.0f) return kActionNotDone;
      slide.target[i] = value(1 + 2 * i);
      slide.change[i] = slide.target[i] - now[i];
      // A value already at its target has arrived.
      slide.rate[i] = slide.change[i] == 0.0f ? 0.0f : rate;
    }
    slides_.push_back(slide);
  }
  return status::Ok;
}

void GA_MoveUVCoords::Update(float seconds) {
  std::vector<GUIEntity*> finished;
  for (size_t i = 0; i < slides_.size();) {
    Slide& s = slides_[i];
    float now[4];
    CurrentUV(s.entity, now);
    for (int k = 0; k < 4; ++k) {
      if (s.rate[k] == 0.0f) continue;
      const float step = s.change[k] * s.rate[k] * seconds;
      const float next = now[k] + step;
      if ((step > 0.0f && next >= s.target[k]) || (step < 0.0f && next <= s.target[k])) {
        now[k] = s.target[k];
        s.rate[k] = 0.0f;
      } else {
        now[k] = next;
      }
    }
    s.entity->SetUVCoords(now[0], now[1], now[2], now[3]);
    if (s.rate[0] == 0.0f && s.rate[1] == 0.0f && s.rate[2] == 0.0f && s.rate[3] == 0.0f) {
      finished.push_back(s.entity);
      slides_.erase(slides_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  for (GUIEntity* entity : finished) entity->RunPendingMultiAction();
}

void GA_MoveUVCoords::Forget(GUIEntity* entity) {
  slides_.erase(
      std::remove_if(slides_.begin(), slides_.end(), [entity](const Slide& s) { return s.entity == entity; }),
      slides_.end());
}

CoreStatus GA_MoveOtherUVCoords::Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) {
  return ForwardToNamed<GA_MoveUVCoords>(entity, sender, params);
}
