#pragma once
// The base of every entity: name, removal mark, update flag, type and kind
// words, the entity manager that made it, and the event machinery that binds
// event names to actions of the action factory (from the "On" object of its
// definition) and fires them by name.
//
// Sender words and message parameters are pointer-sized: they often carry
// the address of the sending object or of a packet.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "engine/entity/HandleBase.h"
#include "engine/math/JVector.h"
#include "base/Status.h"

class cAction_Base;
class cAction_Factory;
class cEntity_Manager;
class ObjectDef;

// Bit of cEntity_Base flags: the entity is marked for removal.
inline constexpr uint32_t kEntityFlag_Remove = 2;
// The type word every entity class of the system passes.
inline constexpr uint32_t kEntityType_Base = 2;

class cEntity_Base : public HandleBase {
 public:
  cEntity_Base(cEntity_Manager* manager, uint32_t typeWord);
  // Runs the base Exit (an entity destroyed without a prior Exit fires its
  // "EntExit" binding here), then releases everything.
  ~cEntity_Base() override;

  // Entities come from the entity pool, so those made one after another lie
  // together in memory for the manager's per-frame walk. The size given to
  // delete is the dynamic type's (the destructor is virtual).
  static void* operator new(size_t bytes);
  // Null instead of std::bad_alloc, for the spawns that create with nothrow.
  static void* operator new(size_t bytes, const std::nothrow_t&) noexcept;
  static void operator delete(void* block, size_t bytes) noexcept;

  // Not supported by the base (0x80004005); widgets and some services
  // override it.
  virtual CoreStatus Initialize();
  // Fires "EntExit", gives every bound action back to the factory and
  // empties the maps. 0.
  virtual CoreStatus Exit();
  // Sets the removal mark; the manager's next Update exits and destroys it.
  virtual void MarkForRemoval();
  // (0, 0, 0, 0) for the base; positioned entities give their position.
  virtual JVector GetPosition();
  // Takes the definition's name, binds each setting of its "On" object
  // (value "action arguments...") and fires "EntInit". False for null.
  virtual bool Init(ObjectDef* definition);
  // Init with the root of the file read into a temporary store.
  virtual bool InitFromFile(const std::string& fileName);
  // A numbered message; the base handles none (false).
  virtual bool OnMessage(uintptr_t sender, uint32_t messageId, uintptr_t parameter);
  // Fires the named event: `eventName` is lower-cased in place, the bound
  // action runs with the bound argument text, a "|" and `params` (either
  // alone without the bar). True when an action is bound and answers 0.
  virtual bool SendMessage(uintptr_t sender, std::string& eventName, const std::string& params);
  // Per-frame work while the update flag is set; nothing in the base.
  virtual void Update(float seconds);

  std::string GetName() const { return details_->name; }
  const std::string& NameRef() const { return details_->name; }
  // The name lower-cased, kept with it so lookups by name compare plainly.
  const std::string& LowerNameRef() const { return details_->lowerName; }
  void SetName(std::string name);

  // SendMessage with a copy of the event name (the caller's text stays).
  bool FireEvent(uintptr_t sender, std::string_view eventName, const std::string& params = std::string());

  uint32_t GetKind() const { return kind_; }
  void SetKind(uint32_t kind) { kind_ = kind; }
  uint32_t GetFlags() const { return flags_; }
  bool IsMarkedForRemoval() const { return (flags_ & kEntityFlag_Remove) != 0; }
  bool GetUpdateFlag() const { return updateFlag_ != 0; }
  uint32_t GetType() const { return type_; }
  cEntity_Manager* GetManager() const { return manager_; }
  cAction_Factory* GetActionFactory() const { return actionFactory_; }

  // The bound action and argument text of an event (lower-case name), for
  // those that look at the bindings.
  cAction_Base* GetBoundAction(const std::string& eventName) const;
  const std::map<std::string, std::string>& GetEventArguments() const { return details_->eventArguments; }
  std::map<std::string, void*>& GetPointerMap() { return details_->pointers; }

 protected:
  // Binds the event (a lower-case name) to an action the caller took from
  // the action factory: the entity now holds that reference and gives it
  // back when the binding is replaced or at exit.
  void BindEvent(const std::string& eventName, cAction_Base* action, std::string arguments);
  // Derived entities that want per-frame updates set this.
  void SetUpdateFlag(bool on) { updateFlag_ = on ? 1 : 0; }
  uintptr_t SelfWord() { return reinterpret_cast<uintptr_t>(this); }

 private:
  // The base's own Exit, also run by the destructor.
  CoreStatus ExitBase();

  // What the per-frame walk never reads lives apart, so an entity stays a
  // few words long and a large world's walk touches little memory; the
  // fields the walk reads (the marks, then a derived class's own) come
  // right after the table pointer.
  struct Details {
    std::map<std::string, cAction_Base*> eventActions;
    std::map<std::string, void*> pointers;
    std::map<std::string, std::string> eventArguments;
    std::string name;
    std::string lowerName;
  };

  uint32_t kind_ = 0;
  uint32_t flags_ = 0;
  uint8_t updateFlag_ = 0;
  uint32_t type_ = 0;
  cEntity_Manager* manager_ = nullptr;
  cAction_Factory* actionFactory_ = nullptr;
  std::unique_ptr<Details> details_;
};
