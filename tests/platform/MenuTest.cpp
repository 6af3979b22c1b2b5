#include "platform/ClassBuilder.h"
#include "platform/FormFile.h"
#include "platform/Menu.h"
#include "MenuDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

// Stands in for a form: owns the menu and its items and writes the
// components without a parent at its own level.
class TMenuRoot : public TComponent {
    PLATFORM_CLASS(TMenuRoot, TComponent)
public:
    explicit TMenuRoot(TComponent* AOwner) : TComponent(AOwner) {}
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent())
                Proc(Components(i));
    }
    void ItemClick(TObject* Sender) { Clicked.push_back(Sender); }
    std::vector<TObject*> Clicked;
};

const TClassInfo& TMenuRoot::StaticClassInfo()
{
    static const TClassInfo& info =
        TClassBuilder<TMenuRoot, TComponent>("TMenuRoot").Method("ItemClick", &TMenuRoot::ItemClick).Build();
    return info;
}

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const std::string& caption)
{
    TMenuItem* item = New<TMenuItem>(owner);
    item->SetCaption(caption);
    if (parent)
        parent->Add(item);
    return item;
}

std::string ItemText(HMENU menu, int position)
{
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

} // namespace

TEST(Menu, PopupShowsTheItemsAndClicksTheChosenOne)
{
    const TOwned<TComponent> form(new TComponent(nullptr));
    TPopupMenu* menu = New<TPopupMenu>(form.get());
    std::vector<std::string> log;
    TMenuItem* open = NewItem(form.get(), menu->Items(), "Open");
    NewItem(form.get(), menu->Items(), "-");
    NewItem(form.get(), menu->Items(), "Disabled")->SetEnabled(false);
    NewItem(form.get(), menu->Items(), "Hidden")->SetVisible(false);
    TMenuItem* start = NewItem(form.get(), menu->Items(), "Start at Quick Bar");
    start->SetChecked(true);
    TMenuItem* sub = NewItem(form.get(), menu->Items(), "Sub");
    NewItem(form.get(), sub, "Alpha");
    NewItem(form.get(), sub, "Beta");
    NewItem(form.get(), menu->Items(), "Exit");
    for (int i = 0; i < menu->Items()->Count(); ++i)
        menu->Items()->Items(i)->SetOnClick([&log](TObject* sender) {
            log.push_back("click " + static_cast<TMenuItem*>(sender)->Caption() + (OpenMenuWindow() ? " (open)" : ""));
        });
    menu->SetOnPopup([&](TObject* sender) {
        log.push_back(sender == menu ? "popup" : "popup from elsewhere");
    });

    // "Exit" lies past a separator, a disabled item and a submenu.
    TMenuDriver driver{.Target = 5, .Log = &log};
    driver.Inspect = [&](HMENU shown) {
        ASSERT_EQ(GetMenuItemCount(shown), 6) << "the hidden item is left out";
        EXPECT_EQ(ItemText(shown, 0), "&Open");
        EXPECT_FALSE(GetMenuState(shown, 0, MF_BYPOSITION) & MF_CHECKED);
        EXPECT_TRUE(GetMenuState(shown, 1, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_TRUE(GetMenuState(shown, 2, MF_BYPOSITION) & MF_GRAYED);
        EXPECT_EQ(ItemText(shown, 3), "&Start at Quick Bar");
        EXPECT_TRUE(GetMenuState(shown, 3, MF_BYPOSITION) & MF_CHECKED);
        EXPECT_EQ(ItemText(shown, 4), "S&ub") << "S is taken by the item above";
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(shown, 4)), 2);
        EXPECT_EQ(ItemText(shown, 5), "&Exit");
    };
    driver.Run([&] { menu->Popup(100, 100); });
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "shown", "click Exit"}));
    EXPECT_EQ(open->Caption(), "Open") << "accelerators go to the shown menu only";

    // The menu shows what OnPopup left; manual accelerators leave captions as
    // written; closing without a choice clicks nothing.
    log.clear();
    menu->SetAutoHotkeys(maManual);
    menu->SetOnPopup([&](TObject*) {
        log.push_back("popup");
        open->SetVisible(false);
        start->SetChecked(false);
    });
    driver = TMenuDriver{.Target = -1, .Log = &log};
    driver.Inspect = [&](HMENU shown) {
        ASSERT_EQ(GetMenuItemCount(shown), 5);
        EXPECT_EQ(ItemText(shown, 2), "Start at Quick Bar");
        EXPECT_FALSE(GetMenuState(shown, 2, MF_BYPOSITION) & MF_CHECKED);
    };
    driver.Run([&] { menu->Popup(100, 100); });
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "shown"}));
}

TEST(Menu, ItemsAndOwnership)
{
    TComponent* form = new TComponent(nullptr);
    TPopupMenu* menu = New<TPopupMenu>(form);
    TMenuItem* root = menu->Items();
    TMenuItem* a = NewItem(form, root, "A");
    TMenuItem* b = NewItem(form, nullptr, "B");
    root->Insert(0, b);
    EXPECT_EQ(root->IndexOf(a), 1);
    EXPECT_EQ(a->GetParentComponent(), menu);
    EXPECT_THROW(root->Items(2), EListError);
    EXPECT_THROW(root->Add(a), EInvalidOperation) << "already in a menu";
    TMenuItem* child = NewItem(form, a, "Child");
    EXPECT_EQ(child->GetParentComponent(), a);
    root->Remove(a);
    EXPECT_THROW(child->Add(a), EInvalidOperation) << "an item cannot contain itself";
    root->Add(a);
    root->Delete(0);
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_EQ(b->Owner(), form) << "deleted, not freed";

    int clicks = 0;
    b->SetOnClick([&](TObject*) { ++clicks; });
    b->Click();
    b->SetEnabled(false);
    b->Click();
    EXPECT_EQ(clicks, 1) << "a disabled item does not click";

    // Items without an owner go with the item they are in; owned ones stay.
    struct TWatcher : TComponent {
        int Freed = 0;
        TWatcher() : TComponent(nullptr) {}
        void Notification(TComponent*, TOperation op) override { Freed += op == opRemove; }
    } watcher;
    TMenuItem* loose = NewItem(nullptr, child, "Loose");
    watcher.FreeNotification(loose);
    watcher.FreeNotification(NewItem(nullptr, loose, "Loose child"));
    TMenuItem* kept = NewItem(form, child, "Kept");
    child->Free();
    EXPECT_EQ(watcher.Freed, 2);
    EXPECT_EQ(kept->Parent(), nullptr);
    EXPECT_EQ(a->Count(), 0) << "a freed item leaves the item it was in";

    TComponent* button = new TComponent(form);
    menu->SetPopupComponent(button);
    button->Free();
    EXPECT_EQ(menu->PopupComponent(), nullptr);

    // A menu freed before its items detaches them and frees none.
    menu->Free();
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(form->ComponentCount(), 3);
    form->Free();
}

TEST(Menu, AutomaticHotkeys)
{
    EXPECT_EQ(AddHotkeys({"Save", "save As", "E&xit", "Xray", "-", "&&Print", "123", "", "!?", "as"}),
              (std::vector<std::string>{"&Save", "s&ave As", "E&xit", "X&ray", "-", "&&&Print", "&123", "", "!?",
                                        "as"}));
}

TEST(Menu, FormTextRoundTrip)
{
    const std::string text = "object MenuRoot: TMenuRoot\r\n"
                             "  object TrayMenu: TPopupMenu\r\n"
                             "    AutoHotkeys = maManual\r\n"
                             "    AutoPopup = False\r\n"
                             "    object ToolBar1: TMenuItem\r\n"
                             "      Caption = 'Switch to Quick Bar'\r\n"
                             "      OnClick = ItemClick\r\n"
                             "    end\r\n"
                             "    object N1: TMenuItem\r\n"
                             "      Caption = '-'\r\n"
                             "    end\r\n"
                             "    object Options1: TMenuItem\r\n"
                             "      Caption = 'Options'\r\n"
                             "      Checked = True\r\n"
                             "      object Sub1: TMenuItem\r\n"
                             "        Caption = 'Sub one'\r\n"
                             "        Enabled = False\r\n"
                             "        Visible = False\r\n"
                             "      end\r\n"
                             "    end\r\n"
                             "  end\r\n"
                             "end\r\n";
    const TOwned<TMenuRoot> root(New<TMenuRoot>(nullptr));
    ReadComponentText(root.get(), text);
    EXPECT_EQ(WriteComponentText(root.get()), text);

    auto* menu = dynamic_cast<TPopupMenu*>(root->FindComponent("TrayMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(root->ComponentCount(), 5) << "the form owns the items";
    EXPECT_EQ(menu->AutoHotkeys(), maManual);
    ASSERT_EQ(menu->Items()->Count(), 3);
    TMenuItem* options = menu->Items()->Items(2);
    EXPECT_TRUE(options->Checked());
    ASSERT_EQ(options->Count(), 1);
    EXPECT_FALSE(options->Items(0)->Visible());
    EXPECT_EQ(options->Items(0)->GetParentComponent(), options);
    menu->Items()->Items(0)->Click();
    EXPECT_EQ(root->Clicked, std::vector<TObject*>{menu->Items()->Items(0)});

    options->Items(0)->Free();
    EXPECT_EQ(WriteComponentText(root.get()).find("Sub1"), std::string::npos);
}
