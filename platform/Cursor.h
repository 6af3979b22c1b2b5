// Cursors: the system's shapes by their framework names, and the two drag
// cursors, drawn here from text art.
#pragma once

#include "platform/ClassBuilder.h"
#include "platform/Win32.h"

namespace platform {

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
const TIdentMap& CursorIdents();
// The cursor shown for Cursor; null for crDefault (the window class's own).
HCURSOR CursorHandle(TCursor Cursor);

} // namespace platform
