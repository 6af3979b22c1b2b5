// Bar.dll: the suite's quick bar (see QuickBar.h). The shell registers with
// code 1, shows it with code 3 and a data block, asks it to refresh its tips
// with code 3 and no data (after each tips poll), and hides it with 4.
#include "modules/Bar/QuickBar.h"

using namespace tessel;

namespace {

TFormBar* Bar = nullptr;

} // namespace

extern "C" void __stdcall Command(int32_t Code, void* Data)
{
    try {
        switch (Code) {
        case cmdRegister:
            if (!Bar && Data)
                Bar = platform::New<TFormBar>(nullptr, *static_cast<TModuleRegistration*>(Data));
            break;
        case cmdShow:
            if (Bar && Data)
                Bar->ShowBar();
            else if (Bar)
                Bar->RefreshTips();
            break;
        case cmdHide:
            if (Bar)
                Bar->Hide();
            break;
        }
    } catch (...) {
        // A failure inside the bar must not reach the shell's stack frame.
    }
}
