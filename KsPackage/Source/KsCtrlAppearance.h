// The appearances give a skinned control's state bitmaps readable property
// names; they store nothing themselves and hand out the control's live
// bitmaps, so a form file's Appearance.RaisedBmp.Data is read straight into
// the control's state.
#pragma once

#include "KsPackage/Source/KsControl.h"

#include <string>

class KsCtrlAppearance : public platform::TPersistent {
    PLATFORM_CLASS(KsCtrlAppearance, platform::TPersistent)
public:
    explicit KsCtrlAppearance(KsCustomControl* Control) : FControl(Control) {}

    void SetBitmap(platform::TBitmap* Bitmap, int Index) { FControl->SetBitmap(Bitmap, Index); }
    platform::TBitmap* GetBitmap(int Index) const { return FControl->GetBitmap(Index); }
    // Loads the non-empty names (at most five) from Directory into the states
    // BaseIndex + i. Every file is read before any state changes, so a file
    // that fails to load raises its error with all pictures as they were.
    void LoadBitmapFiles(std::string Directory, const std::string* Names, int Count, int BaseIndex);

private:
    KsCustomControl* FControl;
};

class KsFourStateAppearance : public KsCtrlAppearance {
    PLATFORM_CLASS(KsFourStateAppearance, KsCtrlAppearance)
public:
    KsFourStateAppearance(KsCustomControl* Control, int BaseIndex) : KsCtrlAppearance(Control), FBaseIndex(BaseIndex) {}

    platform::TBitmap* RaisedBmp() const { return GetBitmap(FBaseIndex); }
    platform::TBitmap* SunkenBmp() const { return GetBitmap(FBaseIndex + 1); }
    platform::TBitmap* FocusedBmp() const { return GetBitmap(FBaseIndex + 2); }
    platform::TBitmap* DisabledBmp() const { return GetBitmap(FBaseIndex + 3); }
    void SetRaisedBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex); }
    void SetSunkenBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + 1); }
    void SetFocusedBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + 2); }
    void SetDisabledBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + 3); }

    // Loads the named files into this group's pictures (LoadBitmapFiles);
    // true once they are in, as a file that cannot be read raises instead.
    bool LoadFromFiles(const std::string& Directory, const std::string& Raised, const std::string& Sunken,
                       const std::string& Focused, const std::string& Disabled);

protected:
    void AssignTo(platform::TPersistent* Dest) override;

private:
    int FBaseIndex;
};
