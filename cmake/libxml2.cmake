# libxml2, whose HTML parser reads the web pages and word processors' HTML
# that Paste finds on the clipboard, compiled from Debian's source package
# (tools/setup.sh unpacks it) with its own CMake build, the way googletest
# is built from /usr/src. Only the parser is wanted: every optional part
# that could reach the network, the file system or other libraries is off.

set(FORUM_LIBXML2_SOURCE_DIR /usr/src/libxml2 CACHE PATH "libxml2's unpacked source package")
if(NOT EXISTS ${FORUM_LIBXML2_SOURCE_DIR}/HTMLparser.c)
    message(FATAL_ERROR "libxml2's source is not in ${FORUM_LIBXML2_SOURCE_DIR}: run tools/setup.sh")
endif()

set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
foreach(part C14N CATALOG DEBUG DOCB FTP HTTP ICONV ICU ISO8859X LEGACY LZMA MODULES OUTPUT PATTERN PROGRAMS
             PYTHON READER REGEXPS SCHEMAS SCHEMATRON TESTS VALID WRITER XINCLUDE XPATH XPTR ZLIB)
    set(LIBXML2_WITH_${part} OFF CACHE BOOL "" FORCE)
endforeach()
add_subdirectory(${FORUM_LIBXML2_SOURCE_DIR} ${CMAKE_BINARY_DIR}/libxml2 EXCLUDE_FROM_ALL)
# Its own warnings are not ours to mend.
target_compile_options(LibXml2 PRIVATE -w)

# What the release zip says about it.
set(FORUM_PASTE_LICENSES ${FORUM_LIBXML2_SOURCE_DIR}/Copyright=libxml2-license.txt)
