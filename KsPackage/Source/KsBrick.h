// The skinned brick: normal, focused and disabled pictures and no pressed
// look (clicks are not shown, space and return press nothing), though
// clicks and double clicks are still delivered. It shows the focused
// picture while the pointer is over it or it has the focus. A missing
// picture shows the normal one.
#pragma once

#include "KsPackage/Source/KsCtrlAppearance.h"

// The brick's states, in the order of its pictures.
enum KsBrickState { ksBrickNormal, ksBrickFocused, ksBrickDisabled, ksBrickStateCount };

// Three pictures from a first state on; it stores none of them.
class KsThreeStateAppearance : public KsCtrlAppearance {
    PLATFORM_CLASS(KsThreeStateAppearance, KsCtrlAppearance)
public:
    KsThreeStateAppearance(KsCustomControl* Control, int BaseIndex) : KsCtrlAppearance(Control), FBaseIndex(BaseIndex) {}

    platform::TBitmap* NormalBmp() const { return GetBitmap(FBaseIndex + ksBrickNormal); }
    platform::TBitmap* FocusedBmp() const { return GetBitmap(FBaseIndex + ksBrickFocused); }
    platform::TBitmap* DisabledBmp() const { return GetBitmap(FBaseIndex + ksBrickDisabled); }
    void SetNormalBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + ksBrickNormal); }
    void SetFocusedBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + ksBrickFocused); }
    void SetDisabledBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + ksBrickDisabled); }

    // Loads the named files into this group's pictures (LoadBitmapFiles);
    // true once they are in, as a file that cannot be read raises instead.
    bool LoadFromFiles(const std::string& Directory, const std::string& Normal, const std::string& Focused,
                       const std::string& Disabled);

protected:
    // Copies the normal, focused, then disabled picture.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    int FBaseIndex;
};

class KsBrick : public KsCustomControl {
    PLATFORM_CLASS(KsBrick, KsCustomControl)
public:
    explicit KsBrick(platform::TComponent* AOwner);
    ~KsBrick() override;

    void ShowRaised() override;
    void ShowFocused() override;
    void ShowDisabled() override;

    KsThreeStateAppearance* Appearance() const { return FAppearance; }
    // Copies the three pictures.
    void SetAppearance(KsThreeStateAppearance* Value) { FAppearance->Assign(Value); }
    // Loads the three pictures from files in Folder; empty names keep their
    // picture, and a file that cannot be read raises the loading error with
    // every picture kept.
    bool LoadBitmap(const std::string& Folder, const std::string& Normal, const std::string& Focused,
                     const std::string& Disabled);

private:
    KsThreeStateAppearance* FAppearance;
};
