// An LED placed on a control.
#pragma once

namespace loom {

class LEDCtrl {
public:
    virtual ~LEDCtrl() = default;
    virtual int StateCount() const = 0;
    virtual int State() const = 0;
    virtual void SetState(int state) = 0;
    virtual void Refresh() = 0;
    virtual void MoveBy(int dx, int dy) = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

} // namespace loom
