#include "KsPackage/Source/KsCtrlAppearance.h"

#include <memory>

using namespace platform;

const TClassInfo& KsCtrlAppearance::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCtrlAppearance, TPersistent>("KsCtrlAppearance").Build();
    return info;
}

void KsCtrlAppearance::LoadBitmapFiles(std::string Directory, const std::string* Names, int Count, int BaseIndex)
{
    constexpr int MaxFiles = 5;
    if (Count > MaxFiles)
        Count = MaxFiles;
    if (Directory.empty())
        throw ERangeError("Range check error: empty directory");
    if (Directory.back() != '\\' && Directory.back() != ':')
        Directory += '\\';
    std::unique_ptr<TBitmap> loaded[MaxFiles];
    for (int i = 0; i < Count; ++i)
        if (!Names[i].empty()) {
            loaded[i] = std::make_unique<TBitmap>();
            loaded[i]->LoadFromFile(Directory + Names[i]);
        }
    for (int i = 0; i < Count; ++i)
        if (loaded[i])
            SetBitmap(loaded[i].get(), BaseIndex + i);
}

const TClassInfo& KsFourStateAppearance::StaticClassInfo()
{
    using A = KsFourStateAppearance;
    static const TClassInfo& info = TClassBuilder<A, KsCtrlAppearance>("KsFourStateAppearance")
        .Object("RaisedBmp", &A::RaisedBmp, &A::SetRaisedBmp)
        .Object("SunkenBmp", &A::SunkenBmp, &A::SetSunkenBmp)
        .Object("FocusedBmp", &A::FocusedBmp, &A::SetFocusedBmp)
        .Object("DisabledBmp", &A::DisabledBmp, &A::SetDisabledBmp)
        .Build();
    return info;
}

bool KsFourStateAppearance::LoadFromFiles(const std::string& Directory, const std::string& Raised,
                                          const std::string& Sunken, const std::string& Focused,
                                          const std::string& Disabled)
{
    const std::string names[4] = {Raised, Sunken, Focused, Disabled};
    LoadBitmapFiles(Directory, names, 4, FBaseIndex);
    return true;
}

void KsFourStateAppearance::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsFourStateAppearance*>(Dest);
    if (!dest) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->SetRaisedBmp(RaisedBmp());
    dest->SetSunkenBmp(SunkenBmp());
    dest->SetFocusedBmp(FocusedBmp());
    dest->SetDisabledBmp(DisabledBmp());
}

