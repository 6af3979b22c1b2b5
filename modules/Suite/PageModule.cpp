#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "platform/Exceptions.h"

#include <cstdio>
#include <cstring>

using namespace platform;
using namespace tessel;

namespace tessel {

// The page this module is, named by its build.
extern const TPageDefinition TESSEL_PAGE;

namespace {

const TPageDefinition& ThisPage = TESSEL_PAGE;
TPageView* View = nullptr;

void CopyText(char* Field, size_t Size, const std::string& Text)
{
    std::snprintf(Field, Size, "%s", Text.c_str());
}

} // namespace

} // namespace tessel

extern "C" void __stdcall Command(int32_t Code, void* Data)
{
    if (!Data)
        return;
    TPageRecord& page = *static_cast<TPageRecord*>(Data);
    if (Code == cmdPageStart) {
        TPageInfo& info = PageInfo(page);
        std::memset(&info, 0, sizeof info);
        CopyText(info.Caption, sizeof info.Caption, Tr(ThisPage.Caption));
        CopyText(info.ShortCaption, sizeof info.ShortCaption, Tr(ThisPage.ShortCaption));
        std::memset(&PageTip(page), 0, sizeof(TPageTip));
    } else if (Code == cmdTips) {
        TPageTip& tip = PageTip(page);
        tip.Tip[0] = tip.Badge[0] = '\0';
        if (ThisPage.WriteTip)
            ThisPage.WriteTip(tip);
    }
}

extern "C" HWND __stdcall PageCreate(HWND Parent)
{
    if (View || !Parent)
        return View ? View->Handle() : nullptr;
    try {
        View = ThisPage.CreateView();
        RECT area{};
        GetClientRect(Parent, &area);
        View->SetParentWindow(Parent);
        View->SetBounds(0, 0, area.right, area.bottom);
        return View->Handle();
    } catch (const Exception&) {
        FreeAndNil(View);
        return nullptr;
    }
}

extern "C" void __stdcall PageDestroy()
{
    FreeAndNil(View);
}

extern "C" void __stdcall PageMessage(const TForwardedMessage* Message)
{
    if (View && Message)
        View->PageMessage(*Message);
}
