// PageContainer.dll: the suite's main window (see Container.h). The shell
// registers with code 1 (once more when the message tables changed), shows
// it with 3, hides it with 4, ends it with 6 and hands it the window
// messages that pages asked for with 7.
#include "modules/PageContainer/Container.h"

using namespace tessel;

namespace {

TFormContainer* Container = nullptr;

} // namespace

extern "C" void __stdcall Command(int32_t Code, void* Data)
{
    try {
        switch (Code) {
        case cmdRegister:
            if (Container)
                Container->LoadRoutes();
            else if (Data)
                Container = platform::New<TFormContainer>(nullptr, *static_cast<TModuleRegistration*>(Data));
            break;
        case cmdShow:
            if (Container)
                Container->ShowPage(static_cast<const int32_t*>(Data));
            break;
        case cmdHide:
            if (Container)
                Container->Hide();
            break;
        case cmdExit:
            if (Container)
                Container->Shutdown();
            break;
        case cmdForward:
            if (Container && Data)
                Container->Forward(*static_cast<const TForwardedMessage*>(Data));
            break;
        }
    } catch (...) {
        // A failure inside the window must not reach the shell's stack frame.
    }
}
