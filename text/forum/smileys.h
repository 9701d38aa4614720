// The smileys of the Smajlici menu: the address of each picture and the
// markup that inserts it. Pure text: no Windows headers, so that a paste can
// recognise the editor's own smileys too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "res/resource_ids.h"

// The address of the picture that smiley `index` (0 for IDM_SMILEY_FIRST)
// writes between [img] and [/img]; empty past the last smiley.
std::string smiley_address(std::size_t index);

// What the menu item writes: the picture's [img] tag and, for all but one,
// a space behind it; empty past the last smiley.
std::string smiley_markup(std::size_t index);

// The smiley whose picture is at `address`, or SMILEY_COUNT for none.
std::size_t smiley_at_address(std::string_view address);
