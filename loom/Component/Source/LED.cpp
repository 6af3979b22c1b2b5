#include "loom/Component/LED.h"

#include <cstdint>
#include <memory>

namespace loom {

Figure* LED::GetFigure()
{
    loom::Figure* figure = RawFigure();
    if (figure->Left() != m_x || figure->Top() != m_y)
        figure->Offset(m_x - figure->Left(), m_y - figure->Top());
    return figure;
}

int LED::Width()
{
    return RawFigure()->Width();
}

int LED::Height()
{
    return RawFigure()->Height();
}

ScalableFigure* ScalableLED::GetFigure()
{
    LED::GetFigure();
    return RawFigure();
}

int ScalableLED::Width()
{
    return RawFigure()->OriginalWidth();
}

int ScalableLED::Height()
{
    return RawFigure()->OriginalHeight();
}

namespace {

// Rows: blank, the digits 0 to 9, everything lit; columns a to g.
constexpr uint8_t SevenSegRows[12][7] = {
    {0, 0, 0, 0, 0, 0, 0}, // blank
    {1, 1, 1, 1, 1, 1, 0}, // 0
    {0, 1, 1, 0, 0, 0, 0}, // 1
    {1, 1, 0, 1, 1, 0, 1}, // 2
    {1, 1, 1, 1, 0, 0, 1}, // 3
    {0, 1, 1, 0, 0, 1, 1}, // 4
    {1, 0, 1, 1, 0, 1, 1}, // 5
    {1, 0, 1, 1, 1, 1, 1}, // 6
    {1, 1, 1, 0, 0, 0, 0}, // 7
    {1, 1, 1, 1, 1, 1, 1}, // 8
    {1, 1, 1, 1, 0, 1, 1}, // 9
    {1, 1, 1, 1, 1, 1, 1}, // all segments
};

// A state or column outside a table answers 0 (off).
int BinaryState(int state, int index, int columns)
{
    return (state == 1 && index >= 0 && index < columns) ? 1 : 0;
}

// Made at program start, destroyed at exit; they hold no state.
const SevenSegTbl sevenSegTbl;
const SingleSegTbl singleSegTbl;
const FourSegBinStateTbl fourSegBinStateTbl;
const SixteenSegBinStateTbl sixteenSegBinStateTbl;

} // namespace

int SevenSegTbl::SegmentState(int state, int index) const
{
    if (state < 0 || state >= 12 || index < 0 || index >= 7)
        return 0;
    return SevenSegRows[state][index];
}

const SevenSegTbl& SevenSegTbl::Instance()
{
    return sevenSegTbl;
}

int SingleSegTbl::SegmentState(int state, int index) const
{
    return BinaryState(state, index, 1);
}

const SingleSegTbl& SingleSegTbl::Instance()
{
    return singleSegTbl;
}

int FourSegBinStateTbl::SegmentState(int state, int index) const
{
    return BinaryState(state, index, 4);
}

const FourSegBinStateTbl& FourSegBinStateTbl::Instance()
{
    return fourSegBinStateTbl;
}

int SixteenSegBinStateTbl::SegmentState(int state, int index) const
{
    return BinaryState(state, index, 16);
}

const SixteenSegBinStateTbl& SixteenSegBinStateTbl::Instance()
{
    return sixteenSegBinStateTbl;
}

CompositeScalableLED::CompositeScalableLED(int left, int top, int right, int bottom, const LED_Director* director)
    : ScalableLED(left, top), m_state(-1), m_figure(MakeRect(0, 0, right - left, bottom - top)), m_director(director)
{
}

CompositeScalableLED::~CompositeScalableLED()
{
    for (auto it = m_LEDs.rbegin(); it != m_LEDs.rend(); ++it)
        delete *it;
}

void CompositeScalableLED::SetState(int state)
{
    PLATFORM_ASSERT(state >= 0 && state < StateCount(), "loom/Component/Source/LED");
    if (state == m_state)
        return;
    m_state = state;
    for (size_t i = 0; i < m_LEDs.size(); ++i)
        m_LEDs[i]->SetState(m_director->SegmentState(state, static_cast<int>(i)));
}

void CompositeScalableLED::Update()
{
    for (ScalableLED* led : m_LEDs)
        led->Update();
}

void CompositeScalableLED::AddLED(ScalableLED* led)
{
    // Owned from the call on, even when the list cannot grow.
    std::unique_ptr<ScalableLED> owned(led);
    m_LEDs.push_back(led);
    owned.release();
    m_figure.AddFigure(led->GetFigure());
}

template class TLED_Collector<ScalableLED_Collector, CompositeScalableFig>;

} // namespace loom
