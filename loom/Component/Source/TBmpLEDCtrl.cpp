#include "loom/Component/TBmpLEDCtrl.h"

#include <memory>

namespace loom {

TBmpLEDCtrl::TBmpLEDCtrl(platform::TComponent* owner, platform::TWinControl* parent, int stateCount)
    : m_layer(nullptr), m_painter(nullptr), m_led(nullptr)
{
    PLATFORM_ASSERT(stateCount > 0, "loom/Component/Source/TBmpLEDCtrl");
    const BitmapLEDType::BitmapSequence empty(static_cast<size_t>(stateCount), nullptr);
    auto layer = std::make_unique<LayerType>(owner, parent);
    auto painter = std::make_unique<PainterType>(layer.get());
    m_led = new BitmapLEDType(0, 0, empty, painter.get());
    m_layer = layer.release();
    m_painter = painter.release();
    for (int i = 0; i < stateCount; ++i)
        m_led->Bitmap(i)->OnChange = [this](platform::TObject* sender) { BitmapChanged(sender); };
}

TBmpLEDCtrl::~TBmpLEDCtrl()
{
    delete m_layer;
    delete m_painter;
    delete m_led;
}

void TBmpLEDCtrl::SetState(int s)
{
    if (s == State())
        return;
    m_led->SetState(s);
    m_led->GetFigure()->Draw();
}

void TBmpLEDCtrl::Refresh()
{
    m_led->Update();
    m_led->GetFigure()->Draw();
    m_layer->Repaint();
}

void TBmpLEDCtrl::BitmapChanged(platform::TObject* sender)
{
    int index = 0;
    const int count = StateCount();
    while (index < count && Bitmap(index) != sender)
        ++index;
    if (index == State())
        Refresh();
}

} // namespace loom
