#include "engine/frame/TimeService.h"

#include <cstdio>

#include "engine/entity/EntityBase.h"

namespace {

std::string TimelineName(int32_t eventId, int32_t itemId, int32_t serial) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "Timeline:%d:%d:%d", eventId, itemId, serial);
  return buffer;
}

}  // namespace

TimeEvent* TimeBehavior::FindEvent(int32_t id) {
  for (auto& event : events) {
    if (event->id == id) return event.get();
  }
  return nullptr;
}

// ---- TimeServiceItem ----

TimeServiceItem::~TimeServiceItem() {
  if (owner_) {
    for (auto& behavior : behaviors_) owner_->GetTimer().ReleaseTimeline(behavior->timelineIndex);
    owner_->RemoveItem(this);
  }
  behaviors_.clear();
}

void TimeServiceItem::OnTimeEvent(TimeEvent*) {}

TimeBehavior* TimeServiceItem::GetBehavior(int32_t i) {
  if (i < 0 || i >= GetBehaviorCount()) return nullptr;
  return behaviors_[static_cast<size_t>(i)].get();
}

CoreStatus TimeServiceItem::MarkBehavior(int32_t i) {
  TimeBehavior* behavior = GetBehavior(i);
  if (!behavior) return status::Fail;
  behavior->removalMark = true;
  return status::Ok;
}

CoreStatus TimeServiceItem::RemoveBehavior(int32_t i) {
  TimeBehavior* behavior = GetBehavior(i);
  if (!behavior) return status::Fail;
  if (!behavior->removalMark) return status::Ok;
  behaviors_.erase(behaviors_.begin() + i);
  return status::Ok;
}

TimeBehavior* TimeServiceItem::AddBehavior(const std::string& name, int32_t timelineIndex) {
  behaviors_.push_back(std::make_unique<TimeBehavior>(name, timelineIndex));
  return behaviors_.back().get();
}

TimeBehavior* TimeServiceItem::FindBehavior(const std::string& name) {
  for (auto& behavior : behaviors_) {
    if (behavior->timelineName == name) return behavior.get();
  }
  return nullptr;
}

// ---- TimeService ----

TimeService::TimeService(cEntity_Manager* creator) : cBaseService(creator) {
  SetServiceType(eServiceKind_Time);
  timer_.Init();
  ownTimeline_ = timer_.CreateTimeline(kOwnTimeline, true, Timer::kUnlimitedTime, Timer::kUnlimitedFrames);
  // Un-pausing restarts the measurement: the clock runs from here.
  timer_.SetPaused(ownTimeline_, false);
}

TimeService::~TimeService() {
  timer_.Release();
  for (TimeServiceItem* item : items_) item->owner_ = nullptr;
  items_.clear();
}

CoreStatus TimeService::AddItem(TimeServiceItem* item) {
  if (!item) return status::Fail;
  if (item->owner_) item->owner_->RemoveItem(item);
  item->itemId_ = nextItemId_++;
  for (auto& behavior : item->behaviors_) {
    int32_t index = timer_.FindTimeline(behavior->timelineName);
    if (index == -1) return status::Fail;
    behavior->timelineIndex = index;
  }
  items_.push_back(item);
  item->owner_ = this;
  return status::Ok;
}

CoreStatus TimeService::RemoveItem(TimeServiceItem* item) {
  if (!item) return status::Fail;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] != item) continue;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
    if (visiting_ >= static_cast<int32_t>(i)) --visiting_;
    item->owner_ = nullptr;
    return status::Ok;
  }
  return status::Ok;
}

float TimeService::Update() {
  timer_.TickTimeline(ownTimeline_);
  const float frameMs = timer_.GetTimelineValue(ownTimeline_);

  for (int32_t index = 0; index < timer_.GetCapacity(); ++index) {
    if (index == ownTimeline_ || !timer_.IsInUse(index)) continue;
    timer_.TickTimeline(index);
    const bool outOfTime = timer_.GetRemainingTime(index) <= 0.0f;
    const bool outOfFrames = static_cast<uint32_t>(timer_.GetRemainingFrames(index)) == 0;
    if (!outOfTime && !outOfFrames) continue;
    timer_.ReleaseTimeline(index);
    for (TimeServiceItem* item : items_) {
      for (auto& behavior : item->behaviors_) {
        if (behavior->timelineIndex == index) behavior->removalMark = true;
      }
    }
  }

  const float dt = frameMs * 0.001f;

  // Walked by position: callbacks may add behaviours or detach items.
  for (visiting_ = 0; visiting_ < static_cast<int32_t>(items_.size()); ++visiting_) {
    TimeServiceItem* item = items_[static_cast<size_t>(visiting_)];
    const int32_t itemPosition = visiting_;
    for (size_t b = 0; b < item->behaviors_.size();) {
      TimeBehavior* behavior = item->behaviors_[b].get();
      if (behavior->removalMark) {
        timer_.ReleaseTimeline(behavior->timelineIndex);
        item->behaviors_.erase(item->behaviors_.begin() + static_cast<std::ptrdiff_t>(b));
        continue;
      }
      for (size_t e = 0; e < behavior->events.size(); ++e) {
        TimeEvent* event = behavior->events[e].get();
        event->accumulated += dt;
        if (frameMs > 0.0f) ++event->frameCount;
        bool fire = false;
        if (event->kind == TimeEvent::kByTime) {
          fire = event->accumulated > event->threshold;
        } else if (event->kind == TimeEvent::kByFrames) {
          fire = static_cast<float>(event->frameCount) >= event->threshold;
        }
        if (!fire) continue;
        item->OnTimeEvent(event);
        // The excess over the threshold is dropped.
        event->accumulated = 0.0f;
        event->frameCount = 0;
        if (visiting_ != itemPosition) break;  // the item detached itself
      }
      if (visiting_ != itemPosition) break;
      ++b;
    }
  }
  visiting_ = -1;
  return dt;
}

// ---- free operations ----

CoreStatus TimeService_AddItemTimeline(cEntity_Base* entity, int32_t eventId, uint8_t kind, float threshold,
                                       float duration, bool allowDuplicate) {
  auto* item = dynamic_cast<TimeServiceItem*>(entity);
  if (!item || !item->GetTimeOwner()) return status::Fail;
  if (!allowDuplicate) {
    for (int32_t i = 0; i < item->GetBehaviorCount(); ++i) {
      if (item->GetBehavior(i)->FindEvent(eventId)) return status::Fail;
    }
  }
  Timer& timer = item->GetTimeOwner()->GetTimer();
  std::string name;
  for (int32_t n = 0;; ++n) {
    name = TimelineName(eventId, item->GetTimeItemId(), n);
    if (timer.FindTimeline(name) == -1) break;
  }
  if (duration == Timer::kUnlimitedTime) {
    timer.CreateTimeline(name, false, Timer::kUnlimitedTime, Timer::kUnlimitedFrames);
  } else if (kind == TimeEvent::kByFrames) {
    timer.CreateTimeline(name, false, Timer::kUnlimitedTime, static_cast<int32_t>(duration));
  } else if (kind == TimeEvent::kByTime) {
    timer.CreateTimeline(name, false, duration * 1000.0f, Timer::kUnlimitedFrames);
  }
  const int32_t index = timer.FindTimeline(name);
  if (index == -1) return status::Fail;
  auto event = std::make_unique<TimeEvent>();
  event->id = eventId;
  event->kind = kind;
  event->threshold = threshold;
  item->AddBehavior(name, index);
  item->FindBehavior(name)->AddEvent(std::move(event));
  return status::Ok;
}

CoreStatus TimeService_RemoveItemTimeline(cEntity_Base* entity, int32_t eventId, int32_t serial) {
  auto* item = dynamic_cast<TimeServiceItem*>(entity);
  if (!item || !item->GetTimeOwner()) return status::Fail;
  const std::string name = TimelineName(eventId, item->GetTimeItemId(), serial);
  for (int32_t i = 0; i < item->GetBehaviorCount(); ++i) {
    TimeBehavior* behavior = item->GetBehavior(i);
    if (behavior->timelineName == name && behavior->FindEvent(eventId)) {
      behavior->removalMark = true;
      return status::Ok;
    }
  }
  return status::Fail;
}
