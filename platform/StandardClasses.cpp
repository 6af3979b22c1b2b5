// The framework's own components, known to every form file by class name.
#include "platform/Action.h"
#include "platform/Application.h"
#include "platform/Edit.h"
#include "platform/ImageList.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Menu.h"
#include "platform/Timer.h"

namespace platform {

std::vector<const TClassInfo*> StandardClasses()
{
    return {&TImage::StaticClassInfo(),    &TLabel::StaticClassInfo(),     &TPanel::StaticClassInfo(),
            &TTimer::StaticClassInfo(),    &TPopupMenu::StaticClassInfo(), &TMenuItem::StaticClassInfo(),
            &TImageList::StaticClassInfo(), &TEdit::StaticClassInfo(),  &TActionList::StaticClassInfo(),
            &TAction::StaticClassInfo()};
}

} // namespace platform
