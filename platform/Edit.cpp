#include "platform/Edit.h"

#include <algorithm>

namespace platform {

const TClassInfo& TCustomEdit::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TCustomEdit, TWinControl>("TCustomEdit")
        .Protected()
        .Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
        .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Str("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
        .Event("OnChange", &TCustomEdit::OnChange)
        .Build();
    return info;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner), FBrush(new TBrush)
{
    // The system control captures the mouse itself while text is selected with it.
    FControlStyle.Exclude(csCaptureMouse);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, 21);
}

TCustomEdit::~TCustomEdit()
{
    // The window goes before the brush it may still be painting with.
    Destroying();
    DestroyHandle();
    delete FBrush;
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClassName = "EDIT";
    Params.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (FReadOnly)
        Params.Style |= ES_READONLY;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandle()
{
    TWinControl::CreateHandle();
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
        // The system control paints itself.
        DefaultHandler(Message);
        return;
    case WM_GETDLGCODE:
        DefaultHandler(Message);
        // Tab moves the focus on, as in any dialog.
        Message.Result &= ~DLGC_WANTTAB;
        return;
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE)
            TextChanged();
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
        SetBkColor(dc, ColorToRGB(Color()));
        FBrush->SetColor(Color());
        Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
        return;
    }
    }
    TWinControl::Dispatch(Message);
}

void TCustomEdit::FontChanged(TObject* Sender)
{
    TWinControl::FontChanged(Sender);
    if (HandleAllocated())
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
}

void TCustomEdit::DoEnter()
{
    // A click places the caret where it falls; arriving by keyboard selects everything.
    if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::SetText(const std::string& Value)
{
    if (Value == Text())
        return;
    if (!HandleAllocated()) {
        TWinControl::SetText(Value);
        if (!ComponentState().Contains(csLoading))
            Change();
        return;
    }
    SetWindowTextA(Handle(), Value.c_str());
    // The window reports the change itself; the text may also have been cut to MaxLength.
    TextChanged();
}

void TCustomEdit::TextChanged()
{
    const int length = GetWindowTextLengthA(Handle());
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(Handle(), text.data(), length + 1)));
    if (text == Text())
        return;
    // Only the copy kept here changes; the window already has the text.
    TControl::SetText(text);
    Change();
}

void TCustomEdit::Change()
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::SetMaxLength(int Value)
{
    if (Value < 0)
        throw ERangeError(Format("MaxLength cannot be negative (%d)", Value));
    FMaxLength = Value;
    if (HandleAllocated())
        Perform(EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated())
        Perform(EM_SETREADONLY, Value, 0);
}

int TCustomEdit::SelStart()
{
    HandleNeeded();
    DWORD start = 0;
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

int TCustomEdit::SelLength()
{
    HandleNeeded();
    DWORD start = 0, end = 0;
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::Select(int Start, int Length)
{
    HandleNeeded();
    Perform(EM_SETSEL, static_cast<WPARAM>(Start), static_cast<LPARAM>(Start + Length));
}

void TCustomEdit::SetSelStart(int Value)
{
    Select(Value, 0);
}

void TCustomEdit::SetSelLength(int Value)
{
    Select(SelStart(), Value);
}

std::string TCustomEdit::SelText()
{
    const size_t start = static_cast<size_t>(SelStart());
    return Text().substr(std::min(start, Text().size()), static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const std::string& Value)
{
    HandleNeeded();
    Perform(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::SelectAll()
{
    HandleNeeded();
    Perform(EM_SETSEL, 0, -1);
}

// ---------------------------------------------------------------- TEdit

const TClassInfo& TEdit::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TEdit, TCustomEdit>("TEdit")
        .Publish({"Anchors", "AutoSelect", "Color", "Enabled", "ParentFont", "Font", "MaxLength", "ParentShowHint",
                  "ReadOnly", "ShowHint", "TabOrder", "TabStop", "Text", "Visible", "OnChange", "OnClick",
                  "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                  "OnMouseMove", "OnMouseUp"})
        .Build();
    return info;
}

} // namespace platform
