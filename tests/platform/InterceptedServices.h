// Installs a system-services double for its lifetime: message boxes and
// exit requests are recorded instead of shown or performed, and the cursor
// is where the test says (posted mouse messages do not move the real one).
#pragma once

#include "platform/SystemServices.h"

#include <string>
#include <vector>

class TInterceptedServices : public platform::TSystemServices {
public:
    TInterceptedServices() : FPrevious(platform::SetSystemServices(this)) {}
    ~TInterceptedServices() override { platform::SetSystemServices(FPrevious); }

    int ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags) override
    {
        Boxes.push_back({Owner, Text, Caption, Flags});
        return IDOK;
    }
    void ExitProcess(UINT ExitCode) override { ExitCodes.push_back(ExitCode); }
    POINT CursorPos() override { return Cursor; }

    struct TBox {
        HWND Owner;
        std::string Text, Caption;
        UINT Flags;
    };
    std::vector<TBox> Boxes;
    std::vector<UINT> ExitCodes;
    POINT Cursor{};

private:
    platform::TSystemServices* FPrevious;
};
