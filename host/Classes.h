#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/SysUtils.h"
#include "host/TypInfo.h"
#include "host/Types.h"

// Declares a class's published face; the .cpp defines StaticClassInfo() with a TPublisher.
#define HOST_PUBLISHED_CLASS                             \
 public:                                                 \
  static const ::host::TClassInfo& StaticClassInfo();    \
  const ::host::TClassInfo& ClassInfo() const override { \
    return StaticClassInfo();                            \
  }                                                      \
                                                         \
 private:

namespace host {

// Objects that can copy each other and publish properties.
class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  virtual std::string ClassName() const { return ClassInfo().Name(); }

  // Copies source into this object; fails with EConvertError when neither side knows how.
  virtual void Assign(const TPersistent& source);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

using TObject = TPersistent;
using TNotifyEvent = std::function<void(TObject* sender)>;

// An event any number of listeners take, each told in the order it was added. A listener may
// add or remove listeners while it is told; those it removes are not told after it.
template <class... Args>
class TEvent {
 public:
  using TListener = std::function<void(Args...)>;
  // Returns what Remove takes.
  int Add(TListener listener) {
    FListeners.push_back({++FLast, std::move(listener)});
    return FLast;
  }
  void Remove(int id) {
    std::erase_if(FListeners, [id](const auto& l) { return l.first == id; });
  }
  void operator()(Args... args) const {
    for (const auto& [id, listener] : std::vector(FListeners)) {
      bool still = std::any_of(FListeners.begin(), FListeners.end(),
                               [id = id](const auto& l) { return l.first == id; });
      if (still) listener(args...);
    }
  }
  explicit operator bool() const { return !FListeners.empty(); }

 private:
  std::vector<std::pair<int, TListener>> FListeners;
  int FLast = 0;
};

enum TComponentStateFlag { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

// The unit of ownership: an owner deletes the components it owns, last created first.
class TComponent : public TPersistent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // A valid identifier, unique (ignoring case) among the owner's components; empty is allowed.
  // The owner (or, without one, the component itself) checks the new name first.
  virtual void SetName(const std::string& name);
  // Fails when component (null: this one itself) may not change its name from curName to
  // newName; here, when another component of this one's has that name.
  virtual void ValidateRename(TComponent* component, const std::string& curName,
                              const std::string& newName);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }
  // Where the designer shows a component that has no bounds of its own (a wave player): stored
  // as Left and Top. Controls publish their real bounds under the same names instead.
  int DesignLeft() const { return FDesignLeft; }
  void SetDesignLeft(int value) { FDesignLeft = value; }
  int DesignTop() const { return FDesignTop; }
  void SetDesignTop(int value) { FDesignTop = value; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;
  const std::vector<TComponent*>& ComponentList() const { return FComponents; }
  int ComponentIndex() const;
  TComponent* FindComponent(std::string_view name) const;

  TComponentState ComponentState() const { return FComponentState; }
  bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
  bool IsLoading() const { return FComponentState.Contains(csLoading); }
  // Marks this component and everything it owns as being designed (or not).
  void SetDesigning(bool value);
  // Told by the form designer once, right after it made this component from the palette (not
  // when a form file, the clipboard or an undo made it): the moment a component may take a first
  // look of the designer's choosing.
  virtual void DroppedFromPalette() {}
  // The form reader brackets reading a component with these.
  void BeginLoading() { FComponentState.Include(csLoading); }
  // Called once the whole form has been read; clears csLoading.
  virtual void Loaded();

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Told when a component is inserted into or removed from this one's owner tree. The owner
  // passes it on to everything it owns, so that a component holding a reference to a sibling
  // can drop it when the sibling goes.
  virtual void Notification(TComponent* component, TOperation operation);

  // Nesting in form files: a control's parent, or nothing for a non-visual component.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent) {}
  // Calls proc for each component written inside this one's block of a form file.
  virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const;

  // The class name a form file gives a root component. Forms adopt it (a form named Form2 is a
  // TForm2); other components accept only their own class name, ignoring case.
  virtual bool AcceptClassName(const std::string& className) {
    return SameText(className, ClassName());
  }

  static bool IsValidIdent(std::string_view name);

 private:
  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  int FDesignLeft = 0;
  int FDesignTop = 0;
  std::vector<TComponent*> FComponents;
  TComponentState FComponentState;
};

// Registers the classes of the host core with the class registry.
void RegisterCoreClasses();

}  // namespace host
