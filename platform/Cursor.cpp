#include "platform/Cursor.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

namespace platform {

const TIdentMap& CursorIdents()
{
    static const TIdentMap& idents = *new TIdentMap{
        {crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"}, {crCross, "crCross"},
        {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"}, {crSizeNWSE, "crSizeNWSE"},
        {crSizeWE, "crSizeWE"}, {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
        {crNoDrop, "crNoDrop"}, {crNo, "crNo"},
        {crAppStart, "crAppStart"}, {crHelp, "crHelp"}, {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"}};
    return idents;
}

namespace {

LPCSTR SystemCursor(TCursor Cursor)
{
    switch (Cursor) {
    case crArrow: return IDC_ARROW;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: return IDC_WAIT;
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return nullptr;
    }
}

// The pointer's arrow, as the drag cursors show it: '#' black, '.' white.
constexpr const char* ArrowRows[] = {
    "#",           "##",          "#.#",         "#..#",        "#...#",       "#....#",
    "#.....#",     "#......#",    "#.......#",   "#........#",  "#.....#####", "#..#..#",
    "#.# #..#",    "##  #..#",    "#    #..#",   "     #..#",   "      ##",
};

// The drag cursors are drawn here: the arrow over a sheet (crDrag) or over a
// barred circle (crNoDrop).
HCURSOR DrawDragCursor(bool NoDrop)
{
    constexpr int Size = 32;
    char pixels[Size][Size];
    std::memset(pixels, ' ', sizeof pixels);
    for (int y = 0; y < static_cast<int>(std::size(ArrowRows)); ++y)
        for (int x = 0; ArrowRows[y][x]; ++x)
            pixels[y][x] = ArrowRows[y][x];
    for (int y = 16; y < Size - 2; ++y)
        for (int x = 9; x < Size - 3; ++x) {
            if (NoDrop) {
                const int dx = x - 20, dy = y - 23, d2 = dx * dx + dy * dy;
                if (d2 > 64)
                    continue;
                pixels[y][x] = (d2 >= 30 || std::abs(dx - dy) <= 1) ? '#' : '.';
            } else if (y >= 19 && x >= 11 && x <= 24) {
                const bool edge = y == 19 || y == Size - 3 || x == 11 || x == 24;
                pixels[y][x] = edge ? '#' : '.';
            }
        }
    BYTE andMask[Size * Size / 8], xorMask[Size * Size / 8];
    std::memset(andMask, 0xFF, sizeof andMask);
    std::memset(xorMask, 0, sizeof xorMask);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const int byte = y * Size / 8 + x / 8;
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            if (pixels[y][x] == ' ')
                continue;
            andMask[byte] &= static_cast<BYTE>(~bit);
            if (pixels[y][x] == '.')
                xorMask[byte] |= bit;
        }
    return CreateCursor(GetModuleHandleA(nullptr), 0, 0, Size, Size, andMask, xorMask);
}

} // namespace

HCURSOR CursorHandle(TCursor Cursor)
{
    // Made once and kept for the program's life.
    static const HCURSOR drag = DrawDragCursor(false), noDrop = DrawDragCursor(true);
    if (Cursor == crDrag)
        return drag;
    if (Cursor == crNoDrop)
        return noDrop;
    LPCSTR name = SystemCursor(Cursor);
    return name ? LoadCursorA(nullptr, name) : nullptr;
}

} // namespace platform
