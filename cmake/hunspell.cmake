# Hunspell, the spelling engine, compiled from Debian's source package
# (tools/setup.sh unpacks it) into a static library of the program, the way
# googletest is built from /usr/src. The dictionaries come from Debian's
# hunspell-cs and hunspell-en-us and go beside the program.

set(FORUM_HUNSPELL_SOURCE_DIR /usr/src/hunspell CACHE PATH "Hunspell's unpacked source package")
set(FORUM_DICTIONARY_SOURCE_DIR /usr/share/hunspell CACHE PATH "Where Debian installs the Hunspell dictionaries")

file(GLOB FORUM_HUNSPELL_SOURCES ${FORUM_HUNSPELL_SOURCE_DIR}/src/hunspell/*.cxx)
if(NOT FORUM_HUNSPELL_SOURCES)
    message(FATAL_ERROR "Hunspell's source is not in ${FORUM_HUNSPELL_SOURCE_DIR}: run tools/setup.sh")
endif()
add_library(hunspell STATIC ${FORUM_HUNSPELL_SOURCES})
target_compile_definitions(hunspell PUBLIC HUNSPELL_STATIC)
# Included as <hunspell/hunspell.hxx>; its own warnings are not ours to mend.
target_include_directories(hunspell SYSTEM PUBLIC ${FORUM_HUNSPELL_SOURCE_DIR}/src)
target_compile_options(hunspell PRIVATE -w)

# The dictionaries the program looks for in "dictionaries" beside it.
set(FORUM_DICTIONARIES cs_CZ en_US)
set(FORUM_DICTIONARY_FILES)
foreach(name IN LISTS FORUM_DICTIONARIES)
    foreach(extension aff dic)
        list(APPEND FORUM_DICTIONARY_FILES ${FORUM_DICTIONARY_SOURCE_DIR}/${name}.${extension})
    endforeach()
endforeach()
set(FORUM_DICTIONARY_DIR ${CMAKE_BINARY_DIR}/dictionaries)
add_custom_command(
    OUTPUT ${FORUM_DICTIONARY_DIR}/stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORUM_DICTIONARY_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${FORUM_DICTIONARY_FILES} ${FORUM_DICTIONARY_DIR}/
    COMMAND ${CMAKE_COMMAND} -E touch ${FORUM_DICTIONARY_DIR}/stamp
    DEPENDS ${FORUM_DICTIONARY_FILES}
    COMMENT "Copying the Hunspell dictionaries beside the program")
add_custom_target(dictionaries ALL DEPENDS ${FORUM_DICTIONARY_DIR}/stamp)

# What the release zip says about them: Hunspell's licence (MPL 1.1, GPL 2.0,
# LGPL 2.1) and the dictionaries' copyright files, with the GPL they name.
set(FORUM_SPELLING_LICENSES
    ${FORUM_HUNSPELL_SOURCE_DIR}/license.hunspell=hunspell-license.txt
    ${FORUM_HUNSPELL_SOURCE_DIR}/COPYING.MPL=hunspell-MPL-1.1.txt
    /usr/share/doc/hunspell-cs/copyright=cs_CZ-copyright.txt
    /usr/share/doc/hunspell-en-us/copyright=en_US-copyright.txt
    /usr/share/common-licenses/GPL-2=GPL-2.txt)
