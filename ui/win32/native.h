// The Win32 binding's common ground: the Windows headers as the binding uses them, twips
// at the window's DPI, UTF-16 text as wide strings, colours and fonts.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
// The handlers' RGB is the run-time helper's, not this macro.
#undef RGB

#include "ui/form_description.h"

#include <cmath>
#include <string>

namespace ui::win32 {

// Twips to device pixels at a DPI: 15 twips a pixel at 96 dots per inch.
inline int toPixels(double twips, UINT dpi) {
    return int(std::floor(twips * dpi / 1440.0 + 0.5));
}
inline double toTwips(int pixels, UINT dpi) {
    return pixels * 1440.0 / dpi;
}

// Both hold text as UTF-16: a wide string is the same code units.
inline const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string fromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline COLORREF colorRef(Colour colour) {
    return COLORREF(colour.red | (colour.green << 8) | (colour.blue << 16));
}

// The form's font at a DPI, with the character set it names.
HFONT createFont(const Font& font, UINT dpi);

// A control's rectangle in device pixels, inside its container.
RECT pixelRect(const ControlDescription& control, UINT dpi);

// A solid brush kept until the binding ends, one per colour.
HBRUSH solidBrush(COLORREF colour);

// The window's DPI, or the system's where the call is missing.
UINT dpiOf(HWND window);

// Messages the binding posts to its own form window.
constexpr UINT kTickMessage = WM_APP + 1;

} // namespace ui::win32
