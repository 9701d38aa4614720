// Turns a selected forum post address into a link to that one post.
#pragma once

#include <windows.h>

#include <string_view>

// Returns false, after showing the address form expected, when the selection
// is not a post address; the document is then unchanged.
bool convert_post_link(HWND editor, std::string_view open_tag, std::string_view close_tag);
