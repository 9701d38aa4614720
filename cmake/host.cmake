# Native build of the text logic: unit tests with sanitizers, fuzzers and
# benchmarks.

include(GoogleTest)
find_package(GTest REQUIRED)

set(FORUM_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The same text sources, built with the sanitizers for the tests.
add_library(forum_text_checked STATIC ${FORUM_TEXT_SOURCES})
target_include_directories(forum_text_checked PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(forum_text_checked PUBLIC ${FORUM_SANITIZERS} -g)
target_link_options(forum_text_checked PUBLIC ${FORUM_SANITIZERS})
target_link_libraries(forum_text_checked PUBLIC LibXml2::LibXml2)
target_link_libraries(forum_text_checked PUBLIC utf8proc)

file(GLOB_RECURSE FORUM_HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/host/*.cpp)
add_executable(forum-host-tests ${FORUM_HOST_TEST_SOURCES})
target_link_libraries(forum-host-tests PRIVATE forum_text_checked GTest::gtest_main)
target_include_directories(forum-host-tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/host)
gtest_discover_tests(forum-host-tests TEST_PREFIX "host." PROPERTIES LABELS host)

# The pictures the build converts must show what their sources show.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
include(cmake/pictures.cmake)
set(FORUM_PICTURE_TEST_ENV "FORUM_PICTURES_DIR=${FORUM_PICTURES_DIR};FORUM_MAGICK=${FORUM_MAGICK};FORUM_RSVG_CONVERT=${FORUM_RSVG_CONVERT}")
add_test(NAME host.pictures
         COMMAND ${Python3_EXECUTABLE} -m unittest tests/tools/test_pictures.py
         WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
set_tests_properties(host.pictures PROPERTIES LABELS host ENVIRONMENT "${FORUM_PICTURE_TEST_ENV}")

# Every menu, dialog and text in Czech and in English, as windres compiles them.
find_program(FORUM_WINDRES x86_64-w64-mingw32-windres REQUIRED)
add_test(NAME host.resource_languages
         COMMAND ${Python3_EXECUTABLE} -m unittest tests/tools/test_resource_languages.py
         WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
set_tests_properties(host.resource_languages PROPERTIES LABELS host
                     ENVIRONMENT "FORUM_WINDRES=${FORUM_WINDRES};FORUM_PICTURES_DIR=${FORUM_PICTURES_DIR}")

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/CMakeLists.txt)
    add_subdirectory(fuzz)
endif()
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/bench/CMakeLists.txt)
    add_subdirectory(bench)
endif()
