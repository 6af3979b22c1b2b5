#include "KsPackage/Source/KsRegister.h"
#include "KsPackage/Source/KsButtonTx.h"

void RegisterKsPackage()
{
    platform::RegisterComponents("KsComponents", {&KsButton::StaticClassInfo()});
    platform::RegisterComponents("KsComponentsTx", {&KsButtonTx::StaticClassInfo()});
}
