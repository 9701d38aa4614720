// Turns a selected forum post address into a link to that one post.
#pragma once

#include <windows.h>

#include <string_view>

void convert_post_link(HWND editor, std::string_view open_tag, std::string_view close_tag);
