// The one place where the Win32 API enters Tessel. Every layer above the
// framework reaches the operating system through this header.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

// Method names of the framework and the skinned controls; the API's own
// functions of these names are called by their full ANSI names.
#undef DrawText
#undef LoadBitmap
