#include "components/Spin.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

using namespace platform;

namespace components {

// ---------------------------------------------------------------- TSpinButton

const TClassInfo& TSpinButton::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TSpinButton, TCustomControl>("TSpinButton")
        .Publish({"Anchors", "Enabled", "ParentShowHint", "ShowHint", "Visible", "TabOrder", "TabStop",
                  "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"})
        .Enum("Orientation", {"soVertical", "soHorizontal"}, &TSpinButton::Orientation, &TSpinButton::SetOrientation,
              soVertical)
        .Ref<TWinControl>("FocusControl", &TSpinButton::FocusControl, &TSpinButton::SetFocusControl)
        .Event("OnUpClick", &TSpinButton::OnUpClick)
        .Event("OnDownClick", &TSpinButton::OnDownClick)
        .Build();
    return info;
}

TSpinButton::TSpinButton(TComponent* AOwner) : TCustomControl(AOwner), FRepeatTimer(new TTimer(nullptr))
{
    FControlStyle.Include(csOpaque);
    FControlStyle.Exclude(csDoubleClicks);
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetOnTimer([this](TObject* Sender) { RepeatTimer(Sender); });
    SetBounds(Left(), Top(), 20, 25);
}

void TSpinButton::SetOrientation(TSpinOrientation Value)
{
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    Invalidate();
}

void TSpinButton::SetFocusControl(TWinControl* Value)
{
    if (Value == this)
        throw EInvalidOperation("Spin buttons cannot be their own focus control");
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TSpinButton::EnabledChanged()
{
    if (!EffectivelyEnabled())
        Release();
    TCustomControl::EnabledChanged();
}

TRect TSpinButton::PartRect(TPart Part) const
{
    const TRect client = ClientRect();
    TRect r = client;
    if (FOrientation == soVertical) {
        const int middle = client.bottom / 2;
        (Part == spUp ? r.bottom : r.top) = middle;
    } else {
        const int middle = client.right / 2;
        (Part == spUp ? r.left : r.right) = middle;
    }
    return r;
}

TSpinButton::TPart TSpinButton::PartAt(int X, int Y) const
{
    const POINT p{X, Y};
    for (TPart part : {spUp, spDown}) {
        const TRect r = PartRect(part);
        if (PtInRect(&r, p))
            return part;
    }
    return spNone;
}

void TSpinButton::UpClick()
{
    if (OnUpClick)
        OnUpClick(this);
}

void TSpinButton::DownClick()
{
    if (OnDownClick)
        OnDownClick(this);
}

void TSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (FFocusControl && FFocusControl->CanFocus())
            FFocusControl->SetFocus();
        else if (TabStop() && CanFocus())
            SetFocus();
        FPressed = PartAt(X, Y);
        FOverPressed = FPressed != spNone;
        if (FPressed != spNone) {
            InvalidateArea(PartRect(FPressed));
            FRepeatTimer->SetInterval(InitialRepeatPause);
            FRepeatTimer->SetEnabled(true);
            FPressed == spUp ? UpClick() : DownClick();
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TSpinButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FPressed != spNone) {
        const bool over = PartAt(X, Y) == FPressed;
        if (over != FOverPressed) {
            FOverPressed = over;
            InvalidateArea(PartRect(FPressed));
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TSpinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        Release();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TSpinButton::Release()
{
    FRepeatTimer->SetEnabled(false);
    if (FPressed == spNone)
        return;
    InvalidateArea(PartRect(FPressed));
    FPressed = spNone;
    FOverPressed = false;
}

// While the pointer is off the held button the repeat pauses; it goes on
// when the pointer comes back.
void TSpinButton::RepeatTimer(TObject*)
{
    if (FRepeatTimer->Interval() != RepeatPause)
        FRepeatTimer->SetInterval(RepeatPause);
    if (FPressed == spNone || !FOverPressed)
        return;
    FPressed == spUp ? UpClick() : DownClick();
}

void TSpinButton::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_UP || Key == VK_RIGHT) {
        UpClick();
        Key = 0;
    } else if (Key == VK_DOWN || Key == VK_LEFT) {
        DownClick();
        Key = 0;
    }
}

void TSpinButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_CAPTURECHANGED:
        Release();
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TSpinButton::Paint()
{
    PaintPart(spUp);
    PaintPart(spDown);
}

// A button face with a raised or pressed edge and a triangle pointing the
// way the button counts.
void TSpinButton::PaintPart(TPart Part)
{
    TCanvas* canvas = Canvas();
    const TRect r = PartRect(Part);
    const bool down = Part == FPressed && FOverPressed;
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    auto line = [canvas](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    line(down ? clBtnShadow : clBtnHighlight, r.left, r.bottom - 1, r.left, r.top);
    line(down ? clBtnShadow : clBtnHighlight, r.left, r.top, r.right - 1, r.top);
    line(down ? clBtnFace : cl3DDkShadow, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    line(down ? clBtnFace : cl3DDkShadow, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1);
    if (!down) {
        line(clBtnShadow, r.right - 2, r.top + 1, r.right - 2, r.bottom - 2);
        line(clBtnShadow, r.right - 2, r.bottom - 2, r.left, r.bottom - 2);
    }
    const int shift = down ? 1 : 0;
    const int cx = (r.left + r.right - 1) / 2 + shift, cy = (r.top + r.bottom - 1) / 2 + shift;
    const int size = std::max(1, static_cast<int>(std::min(r.right - r.left, r.bottom - r.top)) / 4);
    TPoint glyph[3];
    const bool vertical = FOrientation == soVertical;
    const int sign = Part == spUp ? -1 : 1; // up and right point towards smaller y / larger x
    if (vertical) {
        glyph[0] = Point(cx - 2 * size, cy - sign * size);
        glyph[1] = Point(cx + 2 * size, cy - sign * size);
        glyph[2] = Point(cx, cy + sign * size);
    } else {
        glyph[0] = Point(cx + sign * size, cy - 2 * size);
        glyph[1] = Point(cx + sign * size, cy + 2 * size);
        glyph[2] = Point(cx - sign * size, cy);
    }
    const TColor ink = EffectivelyEnabled() ? clBtnText : clGrayText;
    canvas->Pen()->SetColor(ink);
    canvas->Brush()->SetColor(ink);
    canvas->Polygon(glyph, 3);
}

// ---------------------------------------------------------------- TSpinEdit

namespace {

const int ButtonWidth = 15;

// A whole number and nothing else (an optional minus sign, then digits).
bool ParseInteger(const std::string& Text, int& Value)
{
    if (Text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(Text.c_str(), &end, 10);
    if (*end || errno == ERANGE || Text[0] == ' ' || Text[0] == '+' || value < INT_MIN || value > INT_MAX)
        return false;
    Value = static_cast<int>(value);
    return true;
}

} // namespace

const TClassInfo& TSpinEdit::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TSpinEdit, TCustomEdit>("TSpinEdit")
        .Publish({"Anchors", "AutoSelect", "Color", "Enabled", "ParentFont", "Font", "MaxLength", "ParentShowHint",
                  "ReadOnly", "ShowHint", "TabOrder", "TabStop", "Visible", "OnChange", "OnClick", "OnDblClick",
                  "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                  "OnMouseUp"})
        .Bool("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled, true)
        .Int("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement, 1)
        .Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue, 0)
        .Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue, 100)
        .Int("Value", &TSpinEdit::Value, &TSpinEdit::SetValue, 0)
        .Build();
    return info;
}

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner), FButton(new TSpinButton(this))
{
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject*) { Step(FIncrement); };
    FButton->OnDownClick = [this](TObject*) { Step(-FIncrement); };
    ShowValue();
}

void TSpinEdit::CreateHandle()
{
    TCustomEdit::CreateHandle();
    ApplyReadOnly();
    PlaceButton();
}

void TSpinEdit::Resize()
{
    PlaceButton();
    TCustomEdit::Resize();
}

// The buttons stand inside the box on the right; the text keeps clear of them.
void TSpinEdit::PlaceButton()
{
    if (!HandleAllocated())
        return;
    const TRect client = ClientRect();
    FButton->SetBounds(client.right - ButtonWidth, 0, ButtonWidth, client.bottom);
    Perform(EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, ButtonWidth + 1));
}

void TSpinEdit::SetRange(int Min, int Max)
{
    if (Min > Max)
        throw ERangeError(Format("Spin edit minimum (%d) must not exceed its maximum (%d)", Min, Max));
    FMinValue = Min;
    FMaxValue = Max;
    SetValue(FValue);
}

// While a form file is read the range may pass through a state where the
// minimum exceeds the maximum; Loaded checks the final one.
void TSpinEdit::SetMinValue(int Value)
{
    if (ComponentState().Contains(csLoading))
        FMinValue = Value;
    else
        SetRange(Value, FMaxValue);
}

void TSpinEdit::SetMaxValue(int Value)
{
    if (ComponentState().Contains(csLoading))
        FMaxValue = Value;
    else
        SetRange(FMinValue, Value);
}

void TSpinEdit::Loaded()
{
    TCustomEdit::Loaded();
    // As in SetRange from the defaults: a bad range read is refused.
    const int min = FMinValue, max = FMaxValue;
    FMinValue = 0;
    FMaxValue = 100;
    SetRange(min, max);
    ShowValue();
}

void TSpinEdit::SetIncrement(int Value)
{
    if (Value <= 0)
        throw ERangeError(Format("Spin edit increment must be above 0 (%d)", Value));
    FIncrement = Value;
}

void TSpinEdit::SetValue(int Value)
{
    if (ComponentState().Contains(csLoading)) {
        FValue = Value;
        return;
    }
    const int old = FValue;
    FValue = std::clamp(Value, FMinValue, FMaxValue);
    ShowValue();
    if (FValue != old)
        ValueChanged();
}

void TSpinEdit::ValueChanged()
{
    SetModified(true);
    if (OnChange)
        OnChange(this);
}

void TSpinEdit::ShowValue()
{
    TCustomEdit::SetText(std::to_string(FValue));
}

void TSpinEdit::Change()
{
    int typed = 0;
    // The text stays as typed ("007" is 7) until the edit loses the focus.
    if (ParseInteger(Text(), typed) && typed >= FMinValue && typed <= FMaxValue && typed != FValue) {
        FValue = typed;
        ValueChanged();
    }
}

void TSpinEdit::Step(int64_t Delta)
{
    if (ReadOnly())
        return;
    SetValue(static_cast<int>(std::clamp<int64_t>(FValue + Delta, INT_MIN, INT_MAX)));
}

void TSpinEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    // Ten steps of a large increment go past the range of an int.
    int64_t delta = 0;
    switch (Key) {
    case VK_UP: delta = FIncrement; break;
    case VK_DOWN: delta = -FIncrement; break;
    case VK_PRIOR: delta = 10 * int64_t(FIncrement); break;
    case VK_NEXT: delta = -10 * int64_t(FIncrement); break;
    default: return;
    }
    Step(delta);
    SelectAll();
    Key = 0;
}

// Only what can make a whole number reaches the text.
void TSpinEdit::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (static_cast<unsigned char>(Key) >= ' ' && !(Key >= '0' && Key <= '9') && Key != '-')
        Key = 0;
}

void TSpinEdit::DoExit()
{
    int typed = 0;
    if (ParseInteger(Text(), typed))
        SetValue(typed);
    else
        ShowValue();
    TCustomEdit::DoExit();
}

void TSpinEdit::SetEditorEnabled(bool Value)
{
    FEditorEnabled = Value;
    ApplyReadOnly();
}

void TSpinEdit::SetReadOnly(bool Value)
{
    TCustomEdit::SetReadOnly(Value);
    ApplyReadOnly();
}

void TSpinEdit::ApplyReadOnly()
{
    if (HandleAllocated())
        Perform(EM_SETREADONLY, ReadOnly() || !FEditorEnabled, 0);
}

} // namespace components
