// The Main window's title for the current document. Pure text: no Windows
// headers, so it is also built and tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The title buffer of the window, its terminating zero included.
inline constexpr std::size_t TITLE_BUFFER_SIZE = 260;

// "Editor [" + file name + "]", in UTF-8. A name too long for the title
// buffer (counted in characters) keeps
// its beginning and its end, joined by "...", so that the drive and the
// file's own name stay visible.
std::string document_title(std::string_view file_name);
