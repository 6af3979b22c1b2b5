#include "modules/Suite/PageView.h"
#include "modules/Suite/SuiteText.h"

#include "platform/ClassBuilder.h"

using namespace platform;

namespace tessel {

const TClassInfo& TPageView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPageView, TPanel>("TPageView").Build();
    return info;
}

TPageView::TPageView(TComponent* AOwner) : TPanel(AOwner)
{
    SetBounds(0, 0, DesignWidth, DesignHeight);
    SetBevelOuter(bvNone);
    SetColor(RGB(246, 247, 249));
    ApplyLanguageFont(Font());
}

TLabel* TPageView::AddLabel(int Left, int Top, const std::string& Text)
{
    auto* label = New<TLabel>(this);
    label->SetParent(this);
    label->SetTransparent(true);
    label->SetBounds(Left, Top, label->Width(), label->Height());
    label->SetText(Text);
    return label;
}

} // namespace tessel
