#pragma once

// The Windows API as this program includes it: without the min and max macros, which break
// std::min, std::max and Qt's qMin, and without the rarely used parts. Nothing elsewhere.
#include <QtGlobal>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
