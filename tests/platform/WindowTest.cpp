#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/SystemServices.h"

#include "MessagePump.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr UINT WM_FAIL = WM_APP + 7;

// A message box that fails after it has been recorded.
struct TFailingDisplay : TSystemServices {
    TFailingDisplay() : Previous(SetSystemServices(this)) {}
    ~TFailingDisplay() override { SetSystemServices(Previous); }
    int ShowMessageBox(HWND, const std::string& Text, const std::string&, UINT) override
    {
        Boxes.push_back(Text);
        throw std::runtime_error("no display");
    }
    TSystemServices* Previous;
    std::vector<std::string> Boxes;
};

// A windowed control that fails on WM_FAIL and counts what it is told.
class TProbeBox : public TCustomControl {
    PLATFORM_CLASS(TProbeBox, TCustomControl)
public:
    using TCustomControl::TCustomControl;
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == WM_FAIL)
            throw EInvalidOperation("Control failed");
        TCustomControl::Dispatch(Message);
    }
    void EnabledChanged() override
    {
        TCustomControl::EnabledChanged();
        Told.push_back(EffectivelyEnabled());
    }
    std::vector<bool> Told;
};

const TClassInfo& TProbeBox::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TProbeBox, TCustomControl>("TProbeBox").Build();
    return info;
}

class TProbeSpot : public TGraphicControl {
    PLATFORM_CLASS(TProbeSpot, TGraphicControl)
public:
    using TGraphicControl::TGraphicControl;
    void EnabledChanged() override
    {
        TGraphicControl::EnabledChanged();
        Told.push_back(EffectivelyEnabled());
    }
    std::vector<bool> Told;
};

const TClassInfo& TProbeSpot::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TProbeSpot, TGraphicControl>("TProbeSpot").Build();
    return info;
}

TForm* NewForm(int Left)
{
    Application->Initialize();
    auto* form = New<TForm>(nullptr);
    form->SetBounds(Left, 40, 320, 240);
    return form;
}

template <class T>
T* Child(TWinControl* Parent, int Left, int Top, int Width, int Height)
{
    auto* control = new T(Parent->Owner() ? Parent->Owner() : Parent);
    control->SetBounds(Left, Top, Width, Height);
    control->SetParent(Parent);
    return control;
}

bool ShowsColor(HWND Wnd, const RECT& Area, COLORREF Color)
{
    UpdateWindow(Wnd);
    HDC dc = GetDC(Wnd);
    bool found = false;
    for (int y = Area.top; y < Area.bottom && !found; ++y)
        for (int x = Area.left; x < Area.right && !found; ++x)
            found = GetPixel(dc, x, y) == Color;
    ReleaseDC(Wnd, dc);
    return found;
}

} // namespace

TEST(Windows, ExceptionsLeaveNoWindowProcedureEvenWhenTheDisplayFails)
{
    TFailingDisplay display;
    TForm* form = NewForm(20);
    auto* box = Child<TProbeBox>(form, 10, 10, 50, 50);
    Application->HookMainWindow(&display, [](TMessage& m) {
        if (m.Msg == WM_FAIL)
            throw EInvalidOperation("Application failed");
        return false;
    });
    EXPECT_EQ(SendMessageA(box->Handle(), WM_FAIL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(Application->Handle(), WM_FAIL, 0, 0), 0);
    Application->UnhookMainWindow(&display);
    EXPECT_EQ(display.Boxes, (std::vector<std::string>{"Control failed.", "Application failed."}));
    form->Free();
}

TEST(Windows, ControlForgetsAWindowThatWindowsDestroyedAndMakesANewOne)
{
    TForm* form = NewForm(20);
    auto* panel = Child<TPanel>(form, 10, 10, 100, 80);
    auto* inner = Child<TProbeBox>(panel, 5, 5, 20, 20);
    const HWND old = inner->Handle();
    DestroyWindow(form->Handle());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_FALSE(inner->HandleAllocated());

    const HWND again = form->Handle();
    EXPECT_TRUE(IsWindow(again));
    EXPECT_TRUE(IsWindow(inner->Handle()));
    EXPECT_TRUE(IsChild(again, inner->Handle()));
    RECT r;
    GetWindowRect(inner->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 20);
    form->Free();
}

TEST(Windows, ModalFormReleasedOrFreedWhileModalEndsTheLoop)
{
    TForm* owner = NewForm(20);
    owner->Show();
    auto* modal = New<TForm>(nullptr);
    int destroyed = 0;
    modal->OnDestroy = [&](TObject*) { ++destroyed; };
    modal->OnShow = [&](TObject*) { modal->Release(); };
    EXPECT_EQ(modal->ShowModal(), mrCancel);
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));

    // Freed at once by a handler elsewhere, after setting its result.
    modal = New<TForm>(nullptr);
    Application->HookMainWindow(owner, [&](TMessage& m) {
        if (m.Msg != WM_FAIL)
            return false;
        modal->SetModalResult(mrAbort);
        modal->Free();
        return true;
    });
    modal->OnShow = [&](TObject*) { PostMessageA(Application->Handle(), WM_FAIL, 0, 0); };
    EXPECT_EQ(modal->ShowModal(), mrAbort);
    Application->UnhookMainWindow(owner);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    owner->Free();
}

TEST(Windows, ModalFormClosedWithCaFreeIsReleasedAndTheFocusGoesBack)
{
    TForm* owner = NewForm(20);
    auto* first = Child<TProbeBox>(owner, 10, 10, 40, 40);
    auto* second = Child<TProbeBox>(owner, 60, 10, 40, 40);
    owner->Show();
    second->SetFocus();
    (void)first;
    ASSERT_EQ(GetFocus(), second->Handle());

    auto* modal = New<TForm>(nullptr);
    modal->SetBounds(200, 200, 200, 150);
    int destroyed = 0;
    modal->OnDestroy = [&](TObject*) { ++destroyed; };
    modal->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    modal->OnShow = [&](TObject*) { PostMessageA(modal->Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(modal->ShowModal(), mrCancel);
    EXPECT_EQ(GetActiveWindow(), owner->Handle());
    EXPECT_EQ(GetFocus(), second->Handle());
    EXPECT_EQ(destroyed, 0); // released: freed once the waiting messages are handled
    EXPECT_TRUE(PumpUntil([&] { return destroyed == 1; }, 2000));
    owner->Free();
}

TEST(Windows, DisablingAParentDisablesItsChildrenInEffectAndTellsThem)
{
    TForm* form = NewForm(20);
    auto* panel = Child<TPanel>(form, 10, 10, 200, 120);
    auto* box = Child<TProbeBox>(panel, 5, 5, 30, 30);
    auto* spot = Child<TProbeSpot>(panel, 40, 5, 30, 30);
    auto* off = Child<TProbeSpot>(panel, 75, 5, 30, 30);
    auto* label = Child<TLabel>(panel, 10, 60, 150, 40);
    label->Font()->SetColor(clRed);
    label->Font()->SetHeight(-28);
    label->SetCaption("WWW");
    off->SetEnabled(false);
    off->Told.clear();
    form->Show();
    const RECT labelArea = label->BoundsRect();
    EXPECT_TRUE(ShowsColor(panel->Handle(), labelArea, RGB(255, 0, 0)));

    panel->SetEnabled(false);
    EXPECT_TRUE(box->Enabled());
    EXPECT_FALSE(box->EffectivelyEnabled());
    EXPECT_FALSE(spot->EffectivelyEnabled());
    EXPECT_EQ(box->Told, std::vector<bool>{false});
    EXPECT_EQ(spot->Told, std::vector<bool>{false});
    EXPECT_TRUE(off->Told.empty()); // disabled by itself all along
    // The label inside shows itself disabled.
    EXPECT_FALSE(ShowsColor(panel->Handle(), labelArea, RGB(255, 0, 0)));
    EXPECT_TRUE(ShowsColor(panel->Handle(), labelArea, ColorToRGB(clGrayText)));

    // Moved onto the enabled form, a child is enabled again, and told.
    spot->SetParent(form);
    EXPECT_EQ(spot->Told, (std::vector<bool>{false, true}));
    panel->SetEnabled(true);
    EXPECT_EQ(box->Told, (std::vector<bool>{false, true}));
    EXPECT_TRUE(off->Told.empty());
    EXPECT_FALSE(off->EffectivelyEnabled());
    EXPECT_TRUE(ShowsColor(panel->Handle(), labelArea, RGB(255, 0, 0)));
    form->Free();
}
