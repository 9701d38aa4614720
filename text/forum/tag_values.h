// Which values a forum's tags take, each as the forum's own code tests it:
// the colours of [color=], the words of [list=], what [img=] and [url=]
// hold. Pure text.
#pragma once

#include <string_view>

#include "text/forum/forum_profile.h"

// s9e's SimpletextFilter (phpBB's [list=] styles): /^[- +,.0-9A-Za-z_]+$/.
bool is_simple_text(std::string_view value);

// Whether a [color=] value is a colour in the form's sense: s9e's
// ColorFilter, MyBB's cache_mycode() pattern, SMF's parse_bbc() 'test'.
bool color_taken(ColorForm form, std::string_view value);

// Whether "[img=value]" is a picture: phpBB's address, MyBB's
// "[1-9][0-9]*x[1-9][0-9]*" (inc/class_parser.php, parse_mycode()).
bool img_value_taken(ImgValue form, std::string_view value);

// Whether "[url=value]" is a link: with web_or_relative, an address with a
// scheme must be http, https or ftp (phpBB's allowed_schemes_links).
bool url_value_taken(UrlValue form, std::string_view value);
