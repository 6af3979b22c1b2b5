#include "platform/HintWindow.h"
#include "platform/ClassBuilder.h"
#include "platform/GdiScope.h"

#include <algorithm>

namespace platform {

const TClassInfo& THintWindow::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<THintWindow, TCustomControl>("THintWindow").Build();
    return info;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetVisible(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
}

void THintWindow::WndProc(TMessage& Message)
{
    // The pointer sees through the hint to the control beneath it.
    if (Message.Msg == WM_NCHITTEST) {
        Message.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::WndProc(Message);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& Hint)
{
    RECT r{0, 0, MaxWidth, 0};
    {
        const TScreenDC dc;
        const TSelectedObject font(dc.Get(), Font()->Handle());
        DrawTextA(dc.Get(), Hint.c_str(), static_cast<int>(Hint.size()), &r,
                  DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    const int border = 2 * GetSystemMetrics(SM_CXBORDER);
    return Rect(0, 0, r.right + 2 * Margin + border, r.bottom + 2 * Margin + border);
}

void THintWindow::ActivateHint(TRect Rect, const std::string& Hint)
{
    const int width = Rect.right - Rect.left, height = Rect.bottom - Rect.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int left = std::max(0, std::min<int>(Rect.left, screenWidth - width));
    const int top = std::max(0, std::min<int>(Rect.top, screenHeight - height));
    SetText(Hint);
    SetBounds(left, top, width, height);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetVisible(true);
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    Canvas()->FillRect(r);
    InflateRect(&r, -Margin, -Margin);
    HDC dc = Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    const TSelectedObject font(dc, Font()->Handle());
    DrawTextA(dc, Text().c_str(), static_cast<int>(Text().size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace platform
