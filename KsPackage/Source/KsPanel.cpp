#include "KsPackage/Source/KsPanel.h"

using namespace platform;

const TClassInfo& KsPanel::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsPanel, TPanel>("KsPanel")
        .Bool("DesignTimeVisible", &KsPanel::DesignTimeVisible, &KsPanel::SetDesignTimeVisible, true)
        .Build();
    return info;
}

void KsPanel::SetDesignTimeVisible(bool Value)
{
    if (!ComponentState().Contains(csDesigning) || Value == FDesignTimeVisible)
        return;
    FDesignTimeVisible = Value;
    // The window owns the region it is given.
    SetWindowRgn(Handle(), Value ? nullptr : CreateRectRgn(0, 0, 0, 0), TRUE);
}
