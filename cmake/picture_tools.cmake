# The programs that convert the pictures. Runs in script mode too, so that a
# test can see what a machine without them is told.

# forum_picture_tool(VARIABLE PACKAGE NAMES...): the tool, or a stop that
# names the Debian package it comes in.
function(forum_picture_tool variable package)
    find_program(${variable} NAMES ${ARGN})
    if(NOT ${variable})
        list(JOIN ARGN " or " names)
        message(FATAL_ERROR "The pictures need ${names}: install the Debian package ${package} "
                            "(tools/setup.sh installs it).")
    endif()
endfunction()
forum_picture_tool(FORUM_RSVG_CONVERT librsvg2-bin rsvg-convert)
forum_picture_tool(FORUM_ICOTOOL icoutils icotool)
forum_picture_tool(FORUM_MAGICK imagemagick magick convert-im6.q16 convert)
