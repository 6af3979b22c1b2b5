// Popup menus and their items.
//
// Ownership: items belong to their Owner (on a form, the form), not to the
// menu or item they are shown in. An item without an owner belongs to the
// item it was added to and is freed with it; an item with an owner is only
// detached. A menu owns its root item (Items) and nothing else. An item that
// is freed takes itself out of the item it is in.
#pragma once

#include "platform/Component.h"
#include "platform/Win32.h"

#include <string>
#include <vector>

namespace platform {

// How a menu level gets keyboard accelerators (the underlined letters):
// maAutomatic gives every caption without one the first free letter,
// maManual leaves captions as written, maParent asks the enclosing level.
enum TMenuAutoFlag { maAutomatic, maManual, maParent };

class TPopupMenu;

class TMenuItem : public TComponent {
    PLATFORM_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // "-" makes the item a separator line.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value) { FChecked = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    // For the sub-items of this item; maParent (the default) follows the menu.
    TMenuAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag Value) { FAutoHotkeys = Value; }
    const TNotifyEvent& OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const;
    // Raises EInvalidOperation for an item that is already in a menu or that
    // would contain itself.
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    int IndexOf(const TMenuItem* Item) const;
    // The item this one is in; nullptr for a root item or a detached one.
    TMenuItem* Parent() const { return FParent; }

    // Raises OnClick when the item is enabled.
    virtual void Click();

    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    // An item read inside a menu or another item is added to it.
    void SetParentComponent(TComponent* Value) override;

private:
    friend class TPopupMenu;

    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuAutoFlag FAutoHotkeys = maParent;
    TNotifyEvent FOnClick;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TPopupMenu* FMenu = nullptr; // set on a menu's root item only
    UINT FCommand = 0;           // the command of the menu last built
};

class TPopupMenu : public TComponent {
    PLATFORM_CLASS(TPopupMenu, TComponent)
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem* Items() const { return FItems.get(); }
    // Whether a control opens the menu on a right click by itself.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TMenuAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag Value) { FAutoHotkeys = Value; }
    const TNotifyEvent& OnPopup() const { return FOnPopup; }
    void SetOnPopup(TNotifyEvent Value) { FOnPopup = std::move(Value); }
    // The component the menu was last opened for; cleared when it goes away.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    // The hidden window that owns the menu while it is open.
    HWND WindowHandle() const { return FWindowHandle; }

    // Raises OnPopup, shows the items as they are then at screen position
    // (X, Y) and returns when the menu has closed; the chosen item's OnClick
    // runs after that, before Popup returns.
    virtual void Popup(int X, int Y);

    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    virtual void DoPopup(TObject* Sender);

private:
    HMENU BuildMenu(TMenuItem* Level, TMenuAutoFlag Inherited, UINT& NextCommand);
    TMenuItem* FindCommand(TMenuItem* Level, UINT Command) const;

    TOwned<TMenuItem> FItems;
    bool FAutoPopup = true;
    TMenuAutoFlag FAutoHotkeys = maAutomatic;
    TNotifyEvent FOnPopup;
    TComponent* FPopupComponent = nullptr;
    HWND FWindowHandle = nullptr;
};

// The captions of one menu level with accelerators added as maAutomatic
// adds them: a caption that has none gets one before its first letter or
// digit that no other caption of the level uses yet. Separators stay as they are.
std::vector<std::string> AddHotkeys(const std::vector<std::string>& Captions);

} // namespace platform
