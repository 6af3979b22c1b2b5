#include "KsPackage/Source/KsBar.h"

using namespace platform;

namespace {

// The bar's indicator: every new picture, also one drawn on the live bitmap
// or read from a form file, has the bar place the indicator again once the
// image has taken its size. It streams and names itself as the image it is.
class TIndicatorImage : public TImage {
public:
    using TImage::TImage;

    // From now on the pictures place the indicator on Bar.
    void Follow(KsBar* Bar) { FBar = Bar; }

protected:
    void PictureChanged(TObject* Sender) override
    {
        TImage::PictureChanged(Sender);
        if (FBar)
            FBar->LocateIndicator();
    }

private:
    KsBar* FBar = nullptr;
};

} // namespace

// ---------------------------------------------------------------- KsBarOrigin

const TClassInfo& KsBarOrigin::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsBarOrigin, TPersistent>("KsBarOrigin")
        .Int("X", &KsBarOrigin::X, &KsBarOrigin::SetX, 0)
        .Int("Y", &KsBarOrigin::Y, &KsBarOrigin::SetY, 0)
        .Build();
    return info;
}

void KsBarOrigin::SetX(int Value)
{
    FX = Value;
    FBar->LocateIndicator();
}

void KsBarOrigin::SetY(int Value)
{
    FY = Value;
    FBar->LocateIndicator();
}

void KsBarOrigin::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsBarOrigin*>(Dest);
    if (!dest) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->FX = FX;
    dest->FY = FY;
    dest->FBar->LocateIndicator();
}

// ---------------------------------------------------------------- KsBar

const TClassInfo& KsBar::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsBar, KsBrick>("KsBar")
        .Object("Indicator", &KsBar::GetIndicator, &KsBar::SetIndicator)
        .Int("Length", &KsBar::Length, &KsBar::SetLength, 20)
        .Object("Origin", &KsBar::Origin, &KsBar::SetOrigin)
        .Int("ScrollPos", &KsBar::ScrollPos, &KsBar::SetScrollPos, 0)
        .Enum("Kind", {"sbHorizontal", "sbVertical"}, &KsBar::Kind, &KsBar::SetKind, sbHorizontal)
        .Event("OnStartScroll", &KsBar::OnStartScroll)
        .Event("OnEndScroll", &KsBar::OnEndScroll)
        .Event("OnScroll", &KsBar::OnScroll)
        .Event("OnIndicate", &KsBar::OnIndicate)
        .Build();
    return info;
}

// The origin is made before the indicator is given a place.
KsBar::KsBar(TComponent* AOwner)
    : KsBrick(AOwner), FIndicator(new TIndicatorImage(this)), FOrigin(new KsBarOrigin(this))
{
    FIndicator->SetParent(this);
    FIndicator->SetAutoSize(true);
    FIndicator->BringToFront();
    FIndicator->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        OnImgMouseDown(Sender, Button, Shift, X, Y);
    };
    FIndicator->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        OnImgMouseMove(Sender, Shift, X, Y);
    };
    FIndicator->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        OnImgMouseUp(Sender, Button, Shift, X, Y);
    };
    static_cast<TIndicatorImage*>(FIndicator)->Follow(this);
}

KsBar::~KsBar()
{
    static_cast<TIndicatorImage*>(FIndicator)->Follow(nullptr);
}

void KsBar::StartScroll()
{
    if (OnStartScroll)
        OnStartScroll(this);
}

void KsBar::Scroll(int& Disp, bool Direction)
{
    if (OnScroll)
        OnScroll(this, Disp, Direction);
}

void KsBar::EndScroll()
{
    if (OnEndScroll)
        OnEndScroll(this);
}

void KsBar::Indicate(int& Disp)
{
    if (OnIndicate)
        OnIndicate(this, Disp);
}

void KsBar::LocateIndicator()
{
    int left = FOrigin->X() - FIndicator->Width() / 2;
    int top = FOrigin->Y() - FIndicator->Height() / 2;
    if (FKind == sbHorizontal) {
        left += FScrollPos;
        Indicate(left);
    } else {
        top += FScrollPos;
        Indicate(top);
    }
    FIndicator->SetBounds(left, top, FIndicator->Width(), FIndicator->Height());
}

void KsBar::SetIndicator(TBitmap* Value)
{
    GetIndicator()->Assign(Value);
}

void KsBar::SetLength(int Value)
{
    FLength = Value;
    LocateIndicator();
}

void KsBar::SetScrollPos(int Value)
{
    FScrollPos = Value;
    LocateIndicator();
}

void KsBar::SetKind(TScrollBarKind Value)
{
    FKind = Value;
    LocateIndicator();
}

void KsBar::Repaint()
{
    FIndicator->Repaint();
    inherited::Repaint();
}

void KsBar::StopDragging()
{
    if (!FDragging)
        return;
    FDragging = false;
    EndScroll();
}

void KsBar::WMCaptureChanged(TMessage& Message)
{
    StopDragging();
    inherited::WMCaptureChanged(Message);
}

void KsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (IsInside(X, Y) && Button == mbLeft) {
        FLastX = X;
        FLastY = Y;
        FDragging = true;
        StartScroll();
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

// The last position is the raw mouse position also when the step was
// clamped, so a mouse coming back from beyond an end moves the indicator
// back at once.
void KsBar::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDragging) {
        int position = FScrollPos + (FKind == sbHorizontal ? X - FLastX : Y - FLastY);
        if (position > FLength)
            position = FLength;
        if (position < 0)
            position = 0;
        Scroll(position, position >= FScrollPos);
        FScrollPos = position;
        LocateIndicator();
        FLastX = X;
        FLastY = Y;
    }
    inherited::MouseMove(Shift, X, Y);
}

void KsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    StopDragging();
    inherited::MouseUp(Button, Shift, X, Y);
}

void KsBar::OnImgMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    MouseDown(Button, Shift, X + FIndicator->Left(), Y + FIndicator->Top());
}

void KsBar::OnImgMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
    MouseMove(Shift, X + FIndicator->Left(), Y + FIndicator->Top());
}

void KsBar::OnImgMouseUp(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    MouseUp(Button, Shift, X + FIndicator->Left(), Y + FIndicator->Top());
}
