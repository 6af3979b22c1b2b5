// Bar.dll's window: the suite's quick bar. A small always-on-top strip cut
// to a rounded card, dragged by its body, with one skinned button per page
// (which opens that page in the main window), then buttons to the main
// window, to the tray and to Exit. A page's tip stands on its button as a
// badge, and whole as the button's hint. Its position is kept in Tessel.ini,
// section "Bar". It is as tall as its buttons need and as wide as the
// longest caption (a badge included) needs.
#pragma once

#include "modules/Suite/SuitePage.h"
#include "modules/Suite/SuiteSkin.h"

#include "KsPackage/Source/KsButtonTx.h"
#include "platform/Form.h"
#include "platform/Image.h"

#include <vector>

namespace tessel {

class TFormBar : public platform::TForm {
    PLATFORM_CLASS(TFormBar, platform::TForm)
public:
    TFormBar(platform::TComponent* AOwner, const TModuleRegistration& Registration);

    void ShowBar();
    // Puts every page's current tip on its button.
    void RefreshTips();

protected:
    void WndProc(platform::TMessage& Message) override;

private:
    struct TPageButton {
        TSkinButton* Button;
        TPageRecord* Record;
        int32_t Pair[2]; // 1-based group and page, as the main window reads it
    };
    void Ask(int32_t Code, int32_t Target, void* Data);
    void DrawCard(int Width, int Height);
    // Every button as wide as the widest caption needs, the bar around them.
    void Fit();

    TModuleRegistration FRegistration;
    std::vector<TPageButton> FPages;
    TSkinButton* FMain;
    TSkinButton* FTray;
    TSkinButton* FExit;
    platform::TImage* FCard;
    int FButtonWidth = 0;
    bool FMoving = false;
};

} // namespace tessel
