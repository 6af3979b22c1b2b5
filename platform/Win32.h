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
