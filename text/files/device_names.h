// Paths that name a device rather than a file, from their spelling alone:
// Windows takes "NUL", "CON", "COM1" and their like for devices in any
// folder and with any extension, and "\\.\" opens the device namespace.
// Pure text: no Windows headers.
#pragma once

#include <string_view>

// Whether the path (UTF-8) names a device.
bool names_a_device(std::string_view path);
