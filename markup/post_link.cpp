#include "markup/post_link.h"

// Placeholder until post links land.
void convert_post_link(HWND, std::string_view, std::string_view) {}
