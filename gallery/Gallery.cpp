// The gallery program: one form, read from Gallery.dfm, with every control
// of the skinned package in each of its looks and check states, and the
// sample components. Each skinned control's Tag names the look it shows (0
// raised, 1 sunken, 2 focused, 3 disabled, which the form file also marks
// with Enabled = False); its pictures come from GallerySkins. The bar is
// shown in the middle of a drag, the LEDs show a number, a time and a date,
// and the graph a few points. The bottom row shows the framework's features
// on the package: an action list driving two buttons and a check box (Play
// and Stop take turns, enabled by their OnUpdate), a dock site with
// two dockable panels and a numeric LED aligned to fill a panel.
// scripts/gallery.sh runs it and takes the screenshot.
#include "gallery/GallerySkins.h"
#include "KsPackage/Source/KsBar.h"
#include "KsPackage/Source/KsNumLED.h"
#include "KsPackage/Source/KsRegister.h"
#include "components/PerfGraph.h"
#include "components/Samples.h"

#include "platform/Action.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Label.h"

#include <cmath>

using namespace platform;

namespace {

class TGalleryForm : public TForm {
    PLATFORM_CLASS(TGalleryForm, TForm)
public:
    explicit TGalleryForm(TComponent* AOwner) : TForm(AOwner)
    {
        LoadLayout();
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* control = dynamic_cast<KsCustomControl*>(Components(i)); control && SkinControl(*control))
                ShowLook(*control, control->Tag() % 4);
        LedNumber->SetValue(273.15);
        LedTime->SetValue(EncodeTime(13, 25, 8, 0));
        LedDate->SetValue(EncodeDate(2026, 12, 7));
        LedAligned->SetValue(2026.0);
        PlotGraph();
        DragBar();
    }

    void ActPlayExecute(TObject*)
    {
        FPlaying = true;
        PlayState->SetCaption(ActSound->Checked() ? "Playing aloud." : "Playing quietly.");
    }
    void ActStopExecute(TObject*)
    {
        FPlaying = false;
        PlayState->SetCaption("Stopped.");
    }
    void ActPlayUpdate(TObject*) { ActPlay->SetEnabled(!FPlaying); }
    void ActStopUpdate(TObject*) { ActStop->SetEnabled(FPlaying); }

    // Shows where the drag has taken the indicator.
    void BarDraggedScroll(TObject*, int& Disp, bool Direction)
    {
        BarState->SetCaption("dragged " + std::string(Direction ? "right" : "left") + " to " + std::to_string(Disp));
    }

    KsBar* BarDragged = nullptr;
    TLabel* BarState = nullptr;
    KsNumLed* LedNumber = nullptr;
    KsNumLed* LedTime = nullptr;
    KsNumLed* LedDate = nullptr;
    components::TPerformanceGraph* Graph = nullptr;
    KsNumLed* LedAligned = nullptr;
    TLabel* PlayState = nullptr;
    TAction* ActPlay = nullptr;
    TAction* ActStop = nullptr;
    TAction* ActSound = nullptr;

private:
    bool FPlaying = false;

    static void ShowLook(KsControl& Control, int Look)
    {
        switch (Look) {
        case 1: Control.ShowSunken(); break;
        case 2: Control.ShowFocused(); break;
        case 3: Control.ShowDisabled(); break;
        default: Control.ShowRaised(); break;
        }
    }

    void PlotGraph()
    {
        const int load = Graph->AddSeries(clLime);
        const int memory = Graph->AddSeries(clYellow);
        for (int i = 0; i < 100; ++i) {
            Graph->AddPoint(load, 50 + 35 * std::sin(i / 6.0));
            Graph->AddPoint(memory, 20 + i / 4.0);
            Graph->Advance();
        }
    }

    // The left button goes down on the indicator and the pointer moves on,
    // still held: the picture shows the bar in the middle of its drag. The
    // bar holds the mouse now, so the real pointer is put where the drag
    // ended, or its next move would carry the indicator to it.
    void DragBar()
    {
        const int x = BarDragged->Origin()->X() + BarDragged->ScrollPos(), y = BarDragged->Origin()->Y();
        BarDragged->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        const int steps = 4, stride = 20;
        for (int step = 1; step <= steps; ++step)
            BarDragged->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + stride * step, y));
        const TPoint end = BarDragged->ClientToScreen(Point(x + stride * steps, y));
        SetCursorPos(end.x, end.y);
    }
};

const TClassInfo& TGalleryForm::StaticClassInfo()
{
    using F = TGalleryForm;
    static const TClassInfo& info = TClassBuilder<F, TForm>("TGalleryForm")
        .Field("BarDragged", &F::BarDragged)
        .Field("BarState", &F::BarState)
        .Field("LedNumber", &F::LedNumber)
        .Field("LedTime", &F::LedTime)
        .Field("LedDate", &F::LedDate)
        .Field("Graph", &F::Graph)
        .Field("LedAligned", &F::LedAligned)
        .Field("PlayState", &F::PlayState)
        .Field("ActPlay", &F::ActPlay)
        .Field("ActStop", &F::ActStop)
        .Field("ActSound", &F::ActSound)
        .Method("BarDraggedScroll", &F::BarDraggedScroll)
        .Method("ActPlayExecute", &F::ActPlayExecute)
        .Method("ActStopExecute", &F::ActStopExecute)
        .Method("ActPlayUpdate", &F::ActPlayUpdate)
        .Method("ActStopUpdate", &F::ActStopUpdate)
        .Build();
    return info;
}

TGalleryForm* GalleryForm = nullptr;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        Application->Initialize();
        RegisterKsPackage();
        components::RegisterSamples();
        Application->CreateForm(GalleryForm);
        Application->Run();
    } catch (...) {
        Application->HandleException(Application);
    }
    return 0;
}
