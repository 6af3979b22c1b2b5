// The skinned bar: a brick (normal, focused and disabled background
// pictures) carrying an indicator picture that moves along one axis. At
// scroll position p the indicator's centre sits at Origin + p along the
// axis, unless OnIndicate moves it. A left-button drag from the bar or from
// the indicator moves the position within 0..Length and reports each step
// (OnScroll may change it); every drag has one OnStartScroll and one
// OnEndScroll, also when another window takes the mouse away. Positions the
// program writes are taken as they are.
#pragma once

#include "KsPackage/Source/KsBrick.h"
#include "platform/Image.h"

#include <cstdint>
#include <memory>

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

class KsBar;

// Where the indicator's centre sits at scroll position 0, in the bar's client
// coordinates. Every change places the bar's indicator again.
class KsBarOrigin : public platform::TPersistent {
    PLATFORM_CLASS(KsBarOrigin, platform::TPersistent)
public:
    explicit KsBarOrigin(KsBar* Bar) : FBar(Bar) {}

    int X() const { return FX; }
    void SetX(int Value);
    int Y() const { return FY; }
    void SetY(int Value);

protected:
    // Copies X and Y together and places the indicator once.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    KsBar* FBar;
    int FX = 0;
    int FY = 0;
};

// Disp is the new scroll position, which the handler may change; Direction
// is true when it does not go back.
using KsScrollEvent = platform::TEvent<platform::TObject*, int&, bool>;
// Disp is the indicator's left (horizontal bar) or top (vertical bar), which
// the handler may change.
using KsIndicateEvent = platform::TEvent<platform::TObject*, int&>;

class KsBar : public KsBrick {
    PLATFORM_CLASS(KsBar, KsBrick)
public:
    explicit KsBar(platform::TComponent* AOwner);
    ~KsBar() override;

    void Repaint() override;
    void WMCaptureChanged(platform::TMessage& Message) override;
    virtual void StartScroll();
    virtual void Scroll(int& Disp, bool Direction);
    virtual void EndScroll();
    virtual void Indicate(int& Disp);

    void LocateIndicator();
    bool IsDraging() const { return FDragging; }
    // The indicator's live bitmap; setting copies into it. Any change of
    // it places the indicator again.
    platform::TBitmap* GetIndicator() const { return FIndicator->Picture()->Bitmap(); }
    void SetIndicator(platform::TBitmap* Value);
    int Length() const { return FLength; }
    void SetLength(int Value);
    int ScrollPos() const { return FScrollPos; }
    void SetScrollPos(int Value);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    KsBarOrigin* Origin() const { return FOrigin.get(); }
    // Copies X and Y.
    void SetOrigin(KsBarOrigin* Value) { FOrigin->Assign(Value); }

    KsIndicateEvent OnIndicate;
    KsScrollEvent OnScroll;
    platform::TNotifyEvent OnStartScroll;
    platform::TNotifyEvent OnEndScroll;

    // The indicator's mouse events, turned into the bar's own.
    void OnImgMouseDown(platform::TObject* Sender, platform::TMouseButton Button, platform::TShiftState Shift,
                        int X, int Y);
    void OnImgMouseMove(platform::TObject* Sender, platform::TShiftState Shift, int X, int Y);
    void OnImgMouseUp(platform::TObject* Sender, platform::TMouseButton Button, platform::TShiftState Shift, int X,
                      int Y);

protected:
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

private:
    void StopDragging();

    platform::TImage* FIndicator;
    int FLength = 20;
    int FScrollPos = 0;
    bool FDragging = false;
    int FLastX = 0;
    int FLastY = 0;
    TScrollBarKind FKind = sbHorizontal;
    std::unique_ptr<KsBarOrigin> FOrigin;
};
