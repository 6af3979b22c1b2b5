#include "platform/Align.h"
#include "platform/ClassBuilder.h"

#include <algorithm>

namespace platform {

const TClassInfo& TSizeConstraints::StaticClassInfo()
{
    using C = TSizeConstraints;
    static const TClassInfo& info = TClassBuilder<C, TPersistent>("TSizeConstraints")
        .Int("MinWidth", &C::MinWidth, &C::SetMinWidth, 0)
        .Int("MinHeight", &C::MinHeight, &C::SetMinHeight, 0)
        .Int("MaxWidth", &C::MaxWidth, &C::SetMaxWidth, 0)
        .Int("MaxHeight", &C::MaxHeight, &C::SetMaxHeight, 0)
        .Build();
    return info;
}

namespace {

// A limit is a size or nothing: a negative one means nothing.
void SetLimits(int Value, int& Limit, int& Other, bool IsMinimum)
{
    Limit = std::max(0, Value);
    if (Limit > 0 && Other > 0 && (IsMinimum ? Other < Limit : Other > Limit))
        Other = Limit;
}

} // namespace

void TSizeConstraints::SetMinWidth(int Value)
{
    if (std::max(0, Value) == FMinWidth)
        return;
    SetLimits(Value, FMinWidth, FMaxWidth, true);
    Change();
}

void TSizeConstraints::SetMinHeight(int Value)
{
    if (std::max(0, Value) == FMinHeight)
        return;
    SetLimits(Value, FMinHeight, FMaxHeight, true);
    Change();
}

void TSizeConstraints::SetMaxWidth(int Value)
{
    if (std::max(0, Value) == FMaxWidth)
        return;
    SetLimits(Value, FMaxWidth, FMinWidth, false);
    Change();
}

void TSizeConstraints::SetMaxHeight(int Value)
{
    if (std::max(0, Value) == FMaxHeight)
        return;
    SetLimits(Value, FMaxHeight, FMinHeight, false);
    Change();
}

void TSizeConstraints::Constrain(int& Width, int& Height) const
{
    if (FMaxWidth > 0)
        Width = std::min(Width, FMaxWidth);
    if (FMaxHeight > 0)
        Height = std::min(Height, FMaxHeight);
    Width = std::max(Width, FMinWidth);
    Height = std::max(Height, FMinHeight);
}

void TSizeConstraints::AssignTo(TPersistent* Dest)
{
    auto* target = dynamic_cast<TSizeConstraints*>(Dest);
    if (!target) {
        TPersistent::AssignTo(Dest);
        return;
    }
    target->FMinWidth = FMinWidth;
    target->FMinHeight = FMinHeight;
    target->FMaxWidth = FMaxWidth;
    target->FMaxHeight = FMaxHeight;
    target->Change();
}

void TSizeConstraints::Change()
{
    FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
}

// ---------------------------------------------------------------- TControl

void TControl::SetAlign(TAlign Value)
{
    if (Value == FAlign)
        return;
    FAlign = Value;
    // Aligned siblings take the room this one gives up, or make room for it.
    if (FParent)
        FParent->AlignControls();
}

void TControl::RequestAlign()
{
    if (FParent && FAlign != alNone)
        FParent->AlignControls();
}

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight)
{
    if (!CanResize(NewWidth, NewHeight))
        return false;
    FConstraints->Constrain(NewWidth, NewHeight);
    return true;
}

// ---------------------------------------------------------------- TWinControl

namespace {

// The order of a group: nearest to its edge first; equal ones keep the order
// in which they were put on the parent.
int AlignPosition(const TControl* Control, TAlign Align)
{
    switch (Align) {
    case alTop: return Control->Top();
    case alBottom: return -(Control->Top() + Control->Height());
    case alLeft: return Control->Left();
    case alRight: return -(Control->Left() + Control->Width());
    default: return 0;
    }
}

// Puts Control against its edge of Area and takes the room it now fills
// out of Area. The control may end up another size than asked (its
// constraints, a fixed picture): a bottom or right one moves back onto the edge.
void PlaceAligned(TControl* Control, TAlign Align, TRect& Area)
{
    const int width = std::max(0L, Area.right - Area.left), height = std::max(0L, Area.bottom - Area.top);
    switch (Align) {
    case alTop:
        Control->SetBounds(Area.left, Area.top, width, Control->Height());
        Area.top = std::min(Area.bottom, Area.top + Control->Height());
        break;
    case alBottom:
        Control->SetBounds(Area.left, Area.bottom - Control->Height(), width, Control->Height());
        Control->SetTop(Area.bottom - Control->Height());
        Area.bottom = std::max(Area.top, Area.bottom - Control->Height());
        break;
    case alLeft:
        Control->SetBounds(Area.left, Area.top, Control->Width(), height);
        Area.left = std::min(Area.right, Area.left + Control->Width());
        break;
    case alRight:
        Control->SetBounds(Area.right - Control->Width(), Area.top, Control->Width(), height);
        Control->SetLeft(Area.right - Control->Width());
        Area.right = std::max(Area.left, Area.right - Control->Width());
        break;
    case alClient:
        Control->SetBounds(Area.left, Area.top, width, height);
        break;
    case alNone:
        break;
    }
}

} // namespace

void TWinControl::AlignControls()
{
    // A control being read lays its children out once it has been read whole (Loaded).
    if (FAligning || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
        return;
    TRect area = ClientRect();
    AdjustClientRect(area);
    FAligning = true;
    try {
        for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
            std::vector<TControl*> group;
            for (TControl* child : FControls)
                if (child->FAlign == align && child->Visible())
                    group.push_back(child);
            std::stable_sort(group.begin(), group.end(), [align](const TControl* a, const TControl* b) {
                return AlignPosition(a, align) < AlignPosition(b, align);
            });
            for (TControl* child : group)
                PlaceAligned(child, align, area);
        }
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AdjustClientRect(TRect&) const
{
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    AlignControls();
}

} // namespace platform
