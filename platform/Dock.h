// Docking: a control whose DragKind is dkDock is dragged (with the drag
// machinery of DragDrop.cpp) onto any windowed control whose DockSite is
// true, or out into a floating tool window of its own. While it moves, a
// frame on the screen shows where it would land; Escape cancels.
//
// The events, in order: OnStartDock on the control; OnDockOver on each site
// the pointer enters, crosses and leaves (a site may refuse); at the drop
// OnUnDock on the site the control leaves (which may keep it), OnDockDrop on
// the site it was put on, and OnEndDock on the control with that site, or
// null when it floated or the drag was cancelled or refused.
#pragma once

#include "platform/Form.h"

namespace platform {

class TDockFrame;

// One dock drag: the control, where the pointer holds it and where it
// would land. OnStartDock may hand out one of its own (and keeps it).
class TDragDockObject : public TDragObject {
    PLATFORM_CLASS(TDragDockObject, TDragObject)
public:
    explicit TDragDockObject(TControl* AControl) : FControl(AControl) {}
    ~TDragDockObject() override;

    // The control dragged; null once it has been freed.
    TControl* Control() const { return FControl; }
    // Where the control would land, in screen coordinates: its side of the
    // dock site under the pointer, else its own size under the pointer.
    TRect DockRect() const { return FDockRect; }

private:
    friend class TControl;
    // The drag machinery's steps (DragDrop.cpp).
    void Begin(TPoint ScreenPos);
    TWinControl* SiteAt(TPoint ScreenPos) const;
    void MovedTo(TPoint ScreenPos, TWinControl* AcceptingSite);
    void Finish(TPoint ScreenPos, TWinControl* AcceptingSite, bool Drop);
    void Dock(TWinControl* Site, TPoint ScreenPos);
    void Float();

    TControl* FControl;
    TPoint FGrab{}; // the pointer on the control, in its client coordinates
    TRect FDockRect{};
    TDockFrame* FFrame = nullptr;
};

// The floating window of an undocked control: a small sizeable tool window
// titled with the control's caption, which the control fills. It never frees
// the control (the control's owner does), and goes once the control leaves it.
class TToolDockForm : public TForm {
    PLATFORM_CLASS(TToolDockForm, TForm)
public:
    explicit TToolDockForm(TComponent* AOwner);
    ~TToolDockForm() override;

    // Takes Control in; the window goes when the control is freed.
    void Hold(TControl* Control);
    void AlignControls() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

} // namespace platform
