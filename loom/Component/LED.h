// LEDs: display elements with numbered states, a position and a figure that
// shows the current state; composites that drive segment LEDs through a
// state table (a director); and collections of LEDs laid out in one figure.
#pragma once

#include "loom/Graphics/FigureBase.h"
#include "platform/Assert.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace loom {

class LED {
public:
    LED(int x, int y) : m_x(x), m_y(y) {}
    virtual ~LED() = default;
    LED(const LED&) = delete;
    LED& operator=(const LED&) = delete;

    virtual int StateCount() const = 0;
    // -1 until a state is set.
    virtual int State() const = 0;
    virtual void SetState(int state) = 0;
    // Pushes the current state into the figure's colours or picture.
    virtual void Update() = 0;
    // The figure moved to the LED's position.
    virtual loom::Figure* GetFigure();
    virtual int Width();
    virtual int Height();
    // The owned figure, where it happens to be.
    virtual loom::Figure* RawFigure() = 0;

    int X() const { return m_x; }
    int Y() const { return m_y; }
    void SetX(int x) { m_x = x; }
    void SetY(int y) { m_y = y; }

private:
    int m_x;
    int m_y;
};

// An LED whose figure scales; it reports its design size whatever size it
// is drawn at.
class ScalableLED : public LED {
public:
    using LED::LED;
    ScalableFigure* GetFigure() override;
    int Width() override;
    int Height() override;
    ScalableFigure* RawFigure() override = 0;
};

// Maps a composite's state to the state of each of its children.
class LED_Director {
public:
    constexpr LED_Director() = default;
    virtual ~LED_Director() = default;
    virtual int StateCount() const = 0;
    virtual int SegmentState(int state, int index) const = 0;
};

// Seven segments a to g (top, upper right, lower right, bottom, lower left,
// upper left, middle): state 0 blank, state digit + 1 the digit, state 11
// every segment.
class SevenSegTbl : public LED_Director {
public:
    constexpr SevenSegTbl() = default;
    int StateCount() const override { return 12; }
    int SegmentState(int state, int index) const override;
    static const SevenSegTbl& Instance();
};

// One child that follows the composite's state.
class SingleSegTbl : public LED_Director {
public:
    constexpr SingleSegTbl() = default;
    int StateCount() const override { return 2; }
    int SegmentState(int state, int index) const override;
    static const SingleSegTbl& Instance();
};

// Four children, all off in state 0 and all on in state 1.
class FourSegBinStateTbl : public LED_Director {
public:
    constexpr FourSegBinStateTbl() = default;
    int StateCount() const override { return 2; }
    int SegmentState(int state, int index) const override;
    static const FourSegBinStateTbl& Instance();
};

// Sixteen children, all off in state 0 and all on in state 1.
class SixteenSegBinStateTbl : public LED_Director {
public:
    constexpr SixteenSegBinStateTbl() = default;
    int StateCount() const override { return 2; }
    int SegmentState(int state, int index) const override;
    static const SixteenSegBinStateTbl& Instance();
};

// A character made of segment LEDs, which it owns. Its own state selects a
// row of the director; each child gets the state of its column.
class CompositeScalableLED : public ScalableLED {
public:
    // Positioned at (left, top), with a design size of the rectangle's
    // extent and its figure at (0, 0).
    CompositeScalableLED(int left, int top, int right, int bottom, const LED_Director* director);
    ~CompositeScalableLED() override;

    int StateCount() const override { return m_director->StateCount(); }
    int State() const override { return m_state; }
    // Setting the current state again does nothing; children whose state
    // does not change do nothing either.
    void SetState(int state) override;
    void Update() override;
    CompositeScalableFig* RawFigure() override { return &m_figure; }

    // Takes ownership; the child's positioned figure must lie inside.
    void AddLED(ScalableLED* led);
    int LEDCount() const { return static_cast<int>(m_LEDs.size()); }
    ScalableLED* GetLED(int index) const { return m_LEDs[static_cast<size_t>(index)]; }

private:
    int m_state;
    std::vector<ScalableLED*> m_LEDs;
    CompositeScalableFig m_figure;
    const LED_Director* m_director;
};

// An ordered collection of LEDs sharing one figure. The LEDs are not owned:
// whoever detaches one deletes it.
class LED_Collector {
public:
    LED_Collector() = default;
    virtual ~LED_Collector() = default;
    LED_Collector(const LED_Collector&) = delete;
    LED_Collector& operator=(const LED_Collector&) = delete;

    virtual void Add(LED* led) = 0;
    virtual void Remove(LED* led) = 0;
    virtual void Insert(int index, LED* led) = 0;
    virtual LED* Detach(int index) = 0;
    virtual int Width() { return RawFigure()->Width(); }
    virtual int Height() { return RawFigure()->Height(); }
    // The collection's figure; this program keeps collectors at (0, 0), where
    // it is the raw figure unmoved.
    virtual loom::Figure* Figure() { return RawFigure(); }
    virtual loom::Figure* RawFigure() = 0;

    int LEDCount() const { return static_cast<int>(m_LEDs.size()); }
    int StateCount(size_t indexOfLED) const
    {
        PLATFORM_ASSERT(indexOfLED < m_LEDs.size(), "loom/Component/LED");
        return m_LEDs[indexOfLED]->StateCount();
    }
    void SetState(size_t indexOfLED, int state)
    {
        PLATFORM_ASSERT(indexOfLED < m_LEDs.size(), "loom/Component/LED");
        m_LEDs[indexOfLED]->SetState(state);
    }
    LED* GetLED(size_t indexOfLED) const
    {
        PLATFORM_ASSERT(indexOfLED < m_LEDs.size(), "loom/Component/LED");
        return m_LEDs[indexOfLED];
    }
    void UpdateAll()
    {
        for (LED* led : m_LEDs)
            led->Update();
    }
    int X() const { return m_x; }
    int Y() const { return m_y; }

protected:
    int m_x = 0;
    int m_y = 0;
    std::vector<LED*> m_LEDs;
};

class ScalableLED_Collector : public LED_Collector {
public:
    // The design size.
    int Width() override { return RawFigure()->OriginalWidth(); }
    int Height() override { return RawFigure()->OriginalHeight(); }
    ScalableFigure* Figure() override { return RawFigure(); }
    ScalableFigure* RawFigure() override = 0;
};

// A collector whose LEDs' figures are children of one composite figure of
// type Fig. Every change of the children happens at design scale, so the
// composite's normalisation loses nothing; the current size is put back
// afterwards.
template <class Base, class Fig>
class TLED_Collector : public Base {
public:
    TLED_Collector() : m_figure(MakeRect(0, 0, 0, 0)) {}

    void Add(LED* led) override
    {
        this->m_LEDs.push_back(led);
        AtDesignScale([&] { m_figure.AddFigure(ScalableOf(led)); });
    }
    void Remove(LED* led) override
    {
        auto& leds = this->m_LEDs;
        const auto found = std::find(leds.begin(), leds.end(), led);
        if (found == leds.end())
            return;
        leds.erase(found);
        AtDesignScale([&] { m_figure.RemoveFigure(ScalableOf(led)); });
    }
    void Insert(int index, LED* led) override
    {
        PLATFORM_ASSERT(index >= 0, "loom/Component/LED");
        PLATFORM_ASSERT(index <= LEDCount(), "loom/Component/LED");
        auto& leds = this->m_LEDs;
        leds.insert(leds.begin() + index, led);
        AtDesignScale([&] { m_figure.AddFigure(ScalableOf(led)); });
    }
    LED* Detach(int index) override
    {
        PLATFORM_ASSERT(index >= 0, "loom/Component/LED");
        PLATFORM_ASSERT(index < LEDCount(), "loom/Component/LED");
        auto& leds = this->m_LEDs;
        LED* led = leds[static_cast<size_t>(index)];
        leds.erase(leds.begin() + index);
        AtDesignScale([&] { m_figure.RemoveFigure(ScalableOf(led)); });
        return led;
    }
    Fig* Figure() override { return &m_figure; }
    Fig* RawFigure() override { return &m_figure; }

    // New design width or height, at the collector's position.
    virtual void SetWidth(int width)
    {
        m_figure.SetDesignRect(MakeRect(this->m_x, this->m_y, this->m_x + width, this->m_y + m_figure.OriginalHeight()));
    }
    virtual void SetHeight(int height)
    {
        m_figure.SetDesignRect(MakeRect(this->m_x, this->m_y, this->m_x + m_figure.OriginalWidth(), this->m_y + height));
    }

    using Base::LEDCount;

private:
    static ScalableFigure* ScalableOf(LED* led)
    {
        ScalableFigure* figurePtr = dynamic_cast<ScalableFigure*>(led->GetFigure());
        PLATFORM_ASSERT(figurePtr != NULL, "loom/Component/LED");
        return figurePtr;
    }
    template <class Change>
    void AtDesignScale(Change change)
    {
        const int width = m_figure.Width();
        const int height = m_figure.Height();
        m_figure.Resize(m_figure.OriginalWidth(), m_figure.OriginalHeight());
        change();
        m_figure.Resize(width, height);
    }

    Fig m_figure;
};

typedef TLED_Collector<ScalableLED_Collector, CompositeScalableFig> BasicLED_Collector;
extern template class TLED_Collector<ScalableLED_Collector, CompositeScalableFig>;

} // namespace loom
