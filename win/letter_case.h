// Letter case as the user's locale sees it, for searches that ignore it.
#pragma once

#include <string>
#include <string_view>

// The text in lower case as Windows maps it in the user's locale ("KŮŇ"
// becomes "kůň"), unit for unit, so that positions in it are positions in
// the text. Text the mapping would lengthen or shorten comes back as it is.
std::u16string fold_letter_case(std::u16string_view text);
