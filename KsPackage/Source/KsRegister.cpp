#include "KsPackage/Source/KsRegister.h"
#include "KsPackage/Source/KsBar.h"
#include "KsPackage/Source/KsBrickTx.h"
#include "KsPackage/Source/KsButtonTx.h"
#include "KsPackage/Source/KsCheckBoxTx.h"
#include "KsPackage/Source/KsNumLED.h"
#include "KsPackage/Source/KsPanel.h"
#include "KsPackage/Source/KsRadioButton.h"

void RegisterKsPackage()
{
    platform::RegisterComponents("KsComponents",
                                 {&KsButton::StaticClassInfo(), &KsCheckBox::StaticClassInfo(),
                                  &KsRadioButton::StaticClassInfo(), &KsBrick::StaticClassInfo(),
                                  &KsPanel::StaticClassInfo(), &KsBar::StaticClassInfo(),
                                  &KsNumLed::StaticClassInfo()});
    platform::RegisterComponents("KsComponentsTx", {&KsButtonTx::StaticClassInfo(), &KsCheckBoxTx::StaticClassInfo(),
                                                    &KsBrickTx::StaticClassInfo()});
}
