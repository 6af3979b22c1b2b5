#include "platform/Component.h"
#include "platform/ClassBuilder.h"

#include <algorithm>
#include <cctype>

namespace platform {

const TClassInfo& TObject::StaticClassInfo()
{
    static const TClassInfo& info = [] () -> const TClassInfo& {
        auto* root = new TClassInfo;
        root->Name = "TObject";
        return *root;
    }();
    return info;
}

const TClassInfo& TPersistent::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPersistent, TObject>("TPersistent").Build();
    return info;
}

void TPersistent::Assign(TPersistent* Source)
{
    if (!Source)
        AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source)
{
    const std::string sourceName = Source ? Source->ClassName() : std::string("nil");
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

const TClassInfo& TComponent::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TComponent, TPersistent>("TComponent")
        .Str("Name", &TComponent::Name, &TComponent::SetName, std::nullopt)
        .NotStored()
        .Int("Tag", &TComponent::Tag, &TComponent::SetTag, 0)
        .Build();
    return info;
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Subscribers forget this component before it goes.
    while (!FFreeNotifies.empty()) {
        TComponent* subscriber = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = subscriber->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        subscriber->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction()
{
    Destroying();
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* component : FComponents)
        component->Destroying();
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        RemoveComponent(last);
        last->Free();
    }
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FComponents[Index];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    const auto& siblings = FOwner->FComponents;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    if (AName.empty())
        return nullptr;
    for (TComponent* component : FComponents)
        if (SameText(component->FName, AName))
            return component;
    return nullptr;
}

static bool IsIdentifier(const std::string& name)
{
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

void TComponent::SetName(const std::string& NewName)
{
    if (NewName == FName)
        return;
    if (!NewName.empty() && !IsIdentifier(NewName))
        throw EComponentError("'" + NewName + "' is not a valid component name");
    if (FOwner) {
        TComponent* other = FOwner->FindComponent(NewName);
        if (other && other != this)
            throw EComponentError("A component named " + NewName + " already exists");
    }
    SetReference(false);
    FName = NewName;
    SetReference(true);
}

// Keeps the owner's published field of this name pointing at this component.
void TComponent::SetReference(bool Enable)
{
    if (!FOwner || FName.empty() || FOwner->FComponentState.Contains(csDestroying))
        return;
    const TFieldInfo* field = FOwner->ClassInfo().FindField(FName);
    if (!field)
        return;
    if (Enable)
        field->Set(*FOwner, this);
    else if (field->Get(*FOwner) == this)
        field->Set(*FOwner, nullptr);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
        throw EComponentError("A component named " + AComponent->FName + " already exists");
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    AComponent->SetReference(true);
    if (FComponentState.Contains(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    Notification(AComponent, opRemove);
    AComponent->SetReference(false);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
    AComponent->FOwner = nullptr;
}

void TComponent::SetDesigning(bool Value)
{
    SetComponentFlag(csDesigning, Value);
    for (TComponent* component : FComponents)
        component->SetDesigning(Value);
}

void TComponent::SetComponentFlag(TComponentStateFlag Flag, bool Value)
{
    if (Value)
        FComponentState.Include(Flag);
    else
        FComponentState.Exclude(Flag);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    auto subscribe = [](std::vector<TComponent*>& list, TComponent* c) {
        if (std::find(list.begin(), list.end(), c) == list.end())
            list.push_back(c);
    };
    subscribe(FFreeNotifies, AComponent);
    subscribe(AComponent->FFreeNotifies, this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    auto unsubscribe = [](std::vector<TComponent*>& list, TComponent* c) {
        list.erase(std::remove(list.begin(), list.end(), c), list.end());
    };
    unsubscribe(FFreeNotifies, AComponent);
    unsubscribe(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Walk down by index: a component may remove others while being told.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        FComponents[i]->Notification(AComponent, Operation);
        if (i > ComponentCount())
            i = ComponentCount();
    }
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*)
{
}

void TComponent::SetParentComponent(TComponent*)
{
}

} // namespace platform
