# utf8proc, Unicode normalisation and character properties, compiled from
# Debian's source package (tools/setup.sh unpacks it) into both builds of
# the text logic, so that the program and the host tests read the same
# Unicode data. Its licence (MIT, with the Unicode data licence) goes into
# the release zip.

set(FORUM_UTF8PROC_SOURCE_DIR /usr/src/utf8proc CACHE PATH "utf8proc's unpacked source package")
if(NOT EXISTS ${FORUM_UTF8PROC_SOURCE_DIR}/utf8proc.c)
    message(FATAL_ERROR "utf8proc's source is not in ${FORUM_UTF8PROC_SOURCE_DIR}: run tools/setup.sh")
endif()
# utf8proc.c includes its generated tables, utf8proc_data.c.
add_library(utf8proc STATIC ${FORUM_UTF8PROC_SOURCE_DIR}/utf8proc.c)
target_compile_definitions(utf8proc PUBLIC UTF8PROC_STATIC)
target_include_directories(utf8proc SYSTEM PUBLIC ${FORUM_UTF8PROC_SOURCE_DIR})
target_compile_options(utf8proc PRIVATE -w)
set(FORUM_UTF8PROC_LICENSE ${FORUM_UTF8PROC_SOURCE_DIR}/LICENSE.md=utf8proc-license.txt)
