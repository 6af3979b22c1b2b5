// Tool functions the shell's dialogs and checks share.
#pragma once

#include "platform/Win32.h"

#include <string>

class KsButtonTx;

namespace platform {
class TControl;
class TImage;
}

namespace tessel {

// Loads a bitmap file into the image's picture. A missing file, or one that
// is not a readable bitmap, leaves the picture as it was.
void LoadImageFile(platform::TImage* Image, const std::string& FileName);
// Sets left, top, width and height, each through the control's own setter;
// a label sits 3 pixels lower when the language is exactly "Japanese".
void PlaceControl(platform::TControl* Control, int Left, int Top, int Width, int Height);
// The region of every pixel whose colour lies outside the key range (each of
// red, green and blue from the key's channel to that plus the tolerance's,
// at most 255); null when the bitmap is null or the region cannot be built.
// The caller owns the region.
HRGN BitmapToRegion(HBITMAP Bitmap, COLORREF Key, COLORREF Tolerance);
// Loads the button's raised, sunken, focused and disabled pictures from
// Folder (ending in a backslash) + Base + "_n.bmp", "_d.bmp", "_o.bmp" and
// "_un.bmp"; a state whose file is missing is passed to the button as an
// empty name, which leaves that picture as it was. A damaged file leaves all
// four as they were.
void LoadButtonSkin(KsButtonTx* Button, const std::string& Folder, const std::string& Base);

// Switch a privilege of the process's own token on or off; true exactly when
// the change was made (a privilege the account does not hold gives false).
bool EnablePrivilege(const std::string& Name);
bool DisablePrivilege(const std::string& Name);
// Asks Windows to restart at once (forced) when the shutdown privilege can be
// had; returns without waiting for it.
void RebootSystem();

} // namespace tessel
