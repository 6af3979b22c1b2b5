// The framework's panel with one property for the form designer:
// DesignTimeVisible hides the panel there (an empty window region) without
// removing it. At run time the panel is a plain panel: writes are ignored
// and the property reads true.
#pragma once

#include "platform/Label.h"

class KsPanel : public platform::TPanel {
    PLATFORM_CLASS(KsPanel, platform::TPanel)
public:
    explicit KsPanel(platform::TComponent* AOwner) : TPanel(AOwner) {}

    bool DesignTimeVisible() const { return FDesignTimeVisible; }
    void SetDesignTimeVisible(bool Value);

private:
    bool FDesignTimeVisible = true;
};
