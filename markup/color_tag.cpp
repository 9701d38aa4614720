#include "markup/color_tag.h"

// Placeholder until the colour tag lands.
bool tag_color_dialog(HWND, HWND, std::string_view, std::string_view) { return false; }
