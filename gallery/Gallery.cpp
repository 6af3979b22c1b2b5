// The gallery program: one form, read from Gallery.dfm, with every control
// of the skinned package in each of its looks. Each control's Tag names the
// look it shows (0 raised, 1 sunken, 2 focused, 3 disabled, which the form
// file also marks with Enabled = False); its pictures come from
// GallerySkins. scripts/gallery.sh runs it and takes the screenshot.
#include "gallery/GallerySkins.h"
#include "KsPackage/Source/KsRegister.h"

#include "platform/Application.h"
#include "platform/Form.h"

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
    }

private:
    static void ShowLook(KsControl& Control, int Look)
    {
        switch (Look) {
        case 1: Control.ShowSunken(); break;
        case 2: Control.ShowFocused(); break;
        case 3: Control.ShowDisabled(); break;
        default: Control.ShowRaised(); break;
        }
    }
};

const TClassInfo& TGalleryForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TGalleryForm, TForm>("TGalleryForm").Build();
    return info;
}

TGalleryForm* GalleryForm = nullptr;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        Application->Initialize();
        RegisterKsPackage();
        Application->CreateForm(GalleryForm);
        Application->Run();
    } catch (...) {
        Application->HandleException(Application);
    }
    return 0;
}
