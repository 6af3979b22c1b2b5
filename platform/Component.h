// Persistent objects and components: assignment, ownership, names, the
// component state, removal notification and the form-file nesting hooks.
#pragma once

#include "platform/Object.h"
#include "platform/Set.h"

#include <functional>
#include <string>
#include <vector>

namespace platform {

class TPersistent : public TObject {
    PLATFORM_CLASS(TPersistent, TObject)
public:
    // Copies Source into this object; by default the source decides (AssignTo).
    virtual void Assign(TPersistent* Source);

protected:
    // Copies this object into Dest; raises EConvertError for unrelated kinds.
    virtual void AssignTo(TPersistent* Dest);
    [[noreturn]] void AssignError(TPersistent* Source);
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateFlag>;

class TFormReader;

class TComponent : public TPersistent {
    PLATFORM_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    // Marks this component and everything it owns as being destroyed.
    void BeforeDestruction() override;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises EComponentError for an invalid identifier or a name taken by a sibling.
    virtual void SetName(const std::string& NewName);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& AName) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees the owned components, the last created first.
    void DestroyComponents();
    void Destroying();

    TComponentState ComponentState() const { return FComponentState; }
    // Puts the component and what it owns into designing state (the form designer, and tests).
    void SetDesigning(bool Value);

    // Asks to be told (Notification with opRemove) when AComponent goes away,
    // also when it belongs to another owner.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);
    // Delivered for every component inserted into or removed from the owner,
    // and to free-notification subscribers; passed on to the owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Runs once a form file has been read completely.
    virtual void Loaded();

    // Form-file nesting: the components written inside this one, and the
    // component a nested one is read into (a control's parent, a menu item's menu).
    virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* Value);

protected:
    void SetComponentFlag(TComponentStateFlag Flag, bool Value);

private:
    friend class TFormReader;
    void SetReference(bool Enable);
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::string FName;
    int FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
};

} // namespace platform
