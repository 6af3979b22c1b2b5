#include "platform/Menu.h"
#include "platform/ClassBuilder.h"
#include "platform/Control.h"
#include "platform/UtilWindow.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace platform {

const TClassInfo& TMenuItem::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TMenuItem, TComponent>("TMenuItem")
        .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
        .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
        .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
        .Event("OnClick", &TMenuItem::OnClick, &TMenuItem::SetOnClick)
        .Build();
    return info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner)
{
}

TMenuItem::~TMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        FItems.pop_back();
        item->FParent = nullptr;
        if (!item->Owner())
            item->Free();
    }
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format("Menu index out of bounds (%d)", Index));
    return FItems[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item)
        throw EInvalidOperation("Cannot insert a missing menu item");
    if (Item->FParent || Item->FMenu)
        throw EInvalidOperation("Menu item inserted twice");
    for (const TMenuItem* level = this; level; level = level->FParent)
        if (level == Item)
            throw EInvalidOperation("A menu item cannot contain itself");
    if (Index < 0 || Index > Count())
        throw EListError(Format("Menu index out of bounds (%d)", Index));
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int index = IndexOf(Item);
    if (index < 0)
        throw EListError("Menu item not found");
    Delete(index);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    const auto found = std::find(FItems.begin(), FItems.end(), Item);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TMenuItem::Click()
{
    if (FEnabled && FOnClick)
        FOnClick(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root)
{
    for (TMenuItem* item : std::vector<TMenuItem*>(FItems))
        if (item->Owner() == Root)
            Proc(item);
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value)
{
    if (FParent)
        FParent->Remove(this);
    if (auto* menu = dynamic_cast<TPopupMenu*>(Value))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
}

const TClassInfo& TPopupMenu::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPopupMenu, TComponent>("TPopupMenu")
        .Enum("AutoHotkeys", {"maAutomatic", "maManual", "maParent"}, &TPopupMenu::AutoHotkeys,
              &TPopupMenu::SetAutoHotkeys, maAutomatic)
        .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
        .Event("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::SetOnPopup)
        .Build();
    return info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr))
{
    FItems->FMenu = this;
    FWindowHandle = AllocateHWnd([this](TMessage& Message) {
        Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
    });
}

TPopupMenu::~TPopupMenu()
{
    // The root item frees only the items nobody else owns.
    FItems->FMenu = nullptr;
    FItems.reset();
    DeallocateHWnd(FWindowHandle);
}

void TPopupMenu::SetPopupComponent(TComponent* Value)
{
    if (Value == FPopupComponent)
        return;
    // A control whose PopupMenu this is still needs to hear when the menu goes.
    if (auto* control = dynamic_cast<TControl*>(FPopupComponent); FPopupComponent && !(control && control->PopupMenu() == this))
        RemoveFreeNotification(FPopupComponent);
    FPopupComponent = Value;
    if (Value)
        FreeNotification(Value);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root)
{
    FItems->GetChildren(Proc, Root);
}

void TPopupMenu::DoPopup(TObject* Sender)
{
    if (FOnPopup)
        FOnPopup(Sender);
}

namespace {

struct TMenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using TMenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDeleter>;

bool IsHotkeyChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// The character after a single '&' ("&&" is a literal ampersand), or 0.
char HotkeyOf(const std::string& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&') {
            if (caption[i + 1] != '&')
                return caption[i + 1];
            ++i;
        }
    return 0;
}

char Folded(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

} // namespace

std::vector<std::string> AddHotkeys(const std::vector<std::string>& Captions)
{
    std::string used;
    for (const std::string& caption : Captions)
        if (caption != "-")
            if (const char key = HotkeyOf(caption))
                used += Folded(key);
    std::vector<std::string> result = Captions;
    for (std::string& caption : result) {
        if (caption == "-" || HotkeyOf(caption))
            continue;
        for (size_t i = 0; i < caption.size(); ++i) {
            if (caption[i] == '&') { // a literal "&&" pair
                ++i;
                continue;
            }
            if (IsHotkeyChar(caption[i]) && used.find(Folded(caption[i])) == std::string::npos) {
                used += Folded(caption[i]);
                caption.insert(i, 1, '&');
                break;
            }
        }
    }
    return result;
}

// Builds one level; every visible item that can be chosen gets the next
// command number, so the number TrackPopupMenu returns leads back to it.
HMENU TPopupMenu::BuildMenu(TMenuItem* Level, TMenuAutoFlag Inherited, UINT& NextCommand)
{
    const TMenuAutoFlag flag = Level->FAutoHotkeys == maParent ? Inherited : Level->FAutoHotkeys;
    std::vector<TMenuItem*> shown;
    std::vector<std::string> captions;
    for (TMenuItem* item : Level->FItems) {
        item->FCommand = 0;
        if (item->Visible()) {
            shown.push_back(item);
            captions.push_back(item->Caption());
        }
    }
    if (flag != maManual)
        captions = AddHotkeys(captions);

    TMenuHandle menu(CreatePopupMenu());
    if (!menu)
        throw EOutOfResources("Cannot create a menu");
    for (size_t i = 0; i < shown.size(); ++i) {
        TMenuItem* item = shown[i];
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        TMenuHandle subMenu;
        if (item->IsLine()) {
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
            info.fType = MFT_STRING;
            info.dwTypeData = captions[i].data();
            info.wID = item->FCommand = NextCommand++;
            info.fState = (item->Checked() ? MFS_CHECKED : MFS_UNCHECKED) |
                          (item->Enabled() ? MFS_ENABLED : MFS_DISABLED);
            if (item->Count() > 0) {
                subMenu.reset(BuildMenu(item, flag, NextCommand));
                info.fMask |= MIIM_SUBMENU;
                info.hSubMenu = subMenu.get();
            }
        }
        if (!InsertMenuItemA(menu.get(), static_cast<UINT>(i), TRUE, &info))
            throw EOutOfResources("Cannot build the menu");
        subMenu.release(); // destroyed with its parent menu from now on
    }
    return menu.release();
}

TMenuItem* TPopupMenu::FindCommand(TMenuItem* Level, UINT Command) const
{
    for (TMenuItem* item : Level->FItems) {
        if (item->FCommand == Command)
            return item;
        if (TMenuItem* found = FindCommand(item, Command))
            return found;
    }
    return nullptr;
}

void TPopupMenu::Popup(int X, int Y)
{
    DoPopup(this);
    UINT nextCommand = 1;
    const TMenuAutoFlag flag = FAutoHotkeys == maParent ? maAutomatic : FAutoHotkeys;
    TMenuHandle menu(BuildMenu(FItems.get(), flag, nextCommand));
    // A menu owned by a window that is not in the foreground does not close
    // when the user clicks elsewhere; the WM_NULL afterwards lets the next
    // click on a notification icon open it again at once.
    SetForegroundWindow(FWindowHandle);
    const UINT command = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                          X, Y, 0, FWindowHandle, nullptr));
    PostMessageA(FWindowHandle, WM_NULL, 0, 0);
    menu.reset();
    // Looked up in the items as they are now: a handler that ran while the
    // menu was open may have freed some of them.
    if (command != 0)
        if (TMenuItem* item = FindCommand(FItems.get(), command))
            item->Click();
}

} // namespace platform
