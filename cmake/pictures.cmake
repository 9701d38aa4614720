# The pictures, from their sources in res/ to the files the resource script
# names: the icon from SVG through rsvg-convert and icotool, the toolbar and
# the smileys from PNG through ImageMagick. They land in FORUM_PICTURES_DIR,
# which windres searches beside res/.

set(FORUM_PICTURES_DIR ${CMAKE_BINARY_DIR}/res)

include(${CMAKE_CURRENT_LIST_DIR}/picture_tools.cmake)

set(FORUM_PICTURE_FILES)

# The icon: 16 pixels from its own small drawing, 32 and 48 from the big one.
set(icon_sizes)
foreach(size 16 32 48)
    if(size EQUAL 16)
        set(source ${CMAKE_CURRENT_SOURCE_DIR}/res/icon/forum-editor-16.svg)
    else()
        set(source ${CMAKE_CURRENT_SOURCE_DIR}/res/icon/forum-editor.svg)
    endif()
    set(png ${FORUM_PICTURES_DIR}/icon/forum-editor-${size}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${FORUM_PICTURES_DIR}/icon
        COMMAND ${FORUM_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${source}
        DEPENDS ${source}
        COMMENT "Drawing the ${size}-pixel icon"
        VERBATIM)
    list(APPEND icon_sizes ${png})
endforeach()
# Only wholly transparent pixels go into the mask that alpha-blind systems
# draw by, so that the edges' half-covered pixels still show there.
add_custom_command(OUTPUT ${FORUM_PICTURES_DIR}/forum-editor.ico
    COMMAND ${FORUM_ICOTOOL} --create --alpha-threshold=0 --output=${FORUM_PICTURES_DIR}/forum-editor.ico
            ${icon_sizes}
    DEPENDS ${icon_sizes}
    COMMENT "Packing the icon"
    VERBATIM)
list(APPEND FORUM_PICTURE_FILES ${FORUM_PICTURES_DIR}/forum-editor.ico)

# The toolbar keeps a colour table, because the common controls map its grey
# to the button face through it; BMP3 is the plain BITMAPINFOHEADER form.
# What a paint program left transparent becomes that grey.
add_custom_command(OUTPUT ${FORUM_PICTURES_DIR}/toolbar.bmp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORUM_PICTURES_DIR}
    COMMAND ${FORUM_MAGICK} ${CMAKE_CURRENT_SOURCE_DIR}/res/toolbar.png -background "#c0c0c0" -alpha remove
            -type Palette -compress None BMP3:${FORUM_PICTURES_DIR}/toolbar.bmp
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/toolbar.png
    COMMENT "Converting the toolbar"
    VERBATIM)
list(APPEND FORUM_PICTURE_FILES ${FORUM_PICTURES_DIR}/toolbar.bmp)

# The smileys in true colour, so that any colours a paint program leaves in
# them come through unchanged; what it left transparent becomes the menu's
# white.
file(GLOB smiley_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/smileys/*.png)
foreach(source IN LISTS smiley_sources)
    get_filename_component(name ${source} NAME_WE)
    set(bitmap ${FORUM_PICTURES_DIR}/smileys/${name}.bmp)
    add_custom_command(OUTPUT ${bitmap}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${FORUM_PICTURES_DIR}/smileys
        COMMAND ${FORUM_MAGICK} ${source} -background white -alpha remove -type TrueColor -compress None
                BMP3:${bitmap}
        DEPENDS ${source}
        COMMENT "Converting smiley ${name}"
        VERBATIM)
    list(APPEND FORUM_PICTURE_FILES ${bitmap})
endforeach()

add_custom_target(pictures ALL DEPENDS ${FORUM_PICTURE_FILES})
