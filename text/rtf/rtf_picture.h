// Pictures for the preview's RTF. Pure text: no Windows headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// An RTF picture group ("{\pict\dibitmap0 ...}") of a device-independent
// bitmap stored as a program's bitmap resources are: a BITMAPINFOHEADER,
// its colour table and the pixels. It is shown at its own size in pixels,
// at 96 pixels an inch. Nothing when the bytes do not start with the
// header of a bitmap of some size.
std::optional<std::string> dib_picture_rtf(std::string_view packed_dib);
