# Wine-side GoogleTest suite and end-to-end tests, all run by ctest.
# They need the environment that tools/test-env.sh sets up: a private X
# display, a Wine prefix made for the run and a wineserver kept alive.

include(GoogleTest)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Fixtures and helpers shared by the Wine test programs.
file(GLOB FORUM_WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/*.cpp)
list(FILTER FORUM_WIN_TEST_SUPPORT EXCLUDE REGEX "(_test|/main)\\.cpp$")
add_library(forum_win_test_support STATIC ${FORUM_WIN_TEST_SUPPORT})
target_link_libraries(forum_win_test_support PUBLIC forum_core gtest)

# Wine's desktop process is kept up for the whole run by a small program of
# its own, so that no test's output is held open by it (see
# tests/win/desktop/keep_desktop.cpp). Every test that opens windows in the
# run's Wine prefix requires this fixture.
add_executable(fe-desktop-keeper WIN32 tests/win/desktop/keep_desktop.cpp)
target_link_options(fe-desktop-keeper PRIVATE -static -static-libgcc -static-libstdc++)
add_test(NAME wine.desktop.keep
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/desktop-keeper.sh start $<TARGET_FILE:fe-desktop-keeper>)
add_test(NAME wine.desktop.release COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/desktop-keeper.sh stop)
set_tests_properties(wine.desktop.keep PROPERTIES FIXTURES_SETUP wine_desktop LABELS wine)
set_tests_properties(wine.desktop.release PROPERTIES FIXTURES_CLEANUP wine_desktop LABELS wine)

# Tests that open windows take turns on the one test display: Wine moves the
# keyboard focus between the windows of different processes, so two such
# tests side by side would take the focus from each other. Native tests and
# fuzzers run alongside them.
set(FORUM_DISPLAY_LOCK RESOURCE_LOCK wine_display)

# Each test program runs under Wine; discovery waits for the test run, where
# the display and the wineserver are up.
function(forum_wine_tests name prefix)
    add_executable(${name} tests/win/main.cpp ${ARGN})
    target_link_libraries(${name} PRIVATE forum_win_test_support forum_resources)
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        TEST_PREFIX "${prefix}"
        PROPERTIES TIMEOUT 120 LABELS wine FIXTURES_REQUIRED wine_desktop ${FORUM_DISPLAY_LOCK}
                   ${FORUM_WINE_TEST_PROPERTIES})
endfunction()

file(GLOB FORUM_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/*_test.cpp)
forum_wine_tests(forum-win-tests "wine." ${FORUM_WIN_TESTS})

# Tests that press real keys need the keyboard and the foreground to
# themselves.
file(GLOB FORUM_WIN_INPUT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/input/*.cpp)
set(FORUM_WINE_TEST_PROPERTIES RUN_SERIAL TRUE)
forum_wine_tests(forum-win-input-tests "wine.input." ${FORUM_WIN_INPUT_TEST_SOURCES})
unset(FORUM_WINE_TEST_PROPERTIES)

# A second Windows program that the end-to-end tests use to look into the
# running editor from outside, as a screen reader would.
add_executable(fe-probe tests/e2e/probe.cpp)
target_link_libraries(fe-probe PRIVATE user32 kernel32 comctl32 shell32)
target_link_options(fe-probe PRIVATE -static -static-libgcc -static-libstdc++)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB FORUM_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(test_file IN LISTS FORUM_E2E_TESTS)
    get_filename_component(test_name ${test_file} NAME_WE)
    add_test(NAME e2e.${test_name}
             COMMAND ${Python3_EXECUTABLE} ${test_file} -v)
    set_tests_properties(e2e.${test_name} PROPERTIES
        ${FORUM_DISPLAY_LOCK}
        TIMEOUT 300
        LABELS e2e
        FIXTURES_REQUIRED wine_desktop
        ENVIRONMENT "FORUM_EDITOR_EXE=$<TARGET_FILE:forum-editor>;FORUM_PROBE_EXE=$<TARGET_FILE:fe-probe>;FORUM_SOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}")
endforeach()

# The release zip is packed before its test unpacks and starts it.
add_test(NAME dist.pack COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target dist)
set_tests_properties(dist.pack PROPERTIES FIXTURES_SETUP dist_zip LABELS e2e)
set_property(TEST e2e.test_dist APPEND PROPERTY FIXTURES_REQUIRED dist_zip)
set_property(TEST e2e.test_dist APPEND PROPERTY ENVIRONMENT
             "FORUM_DIST_ZIP=${CMAKE_BINARY_DIR}/dist/${FORUM_DIST_NAME}.zip")

# Bring the native tests into the same run, so that one ctest summary covers all.
if(FORUM_HOST_BUILD_DIR)
    file(WRITE ${CMAKE_BINARY_DIR}/host-tests.cmake "subdirs(\"${FORUM_HOST_BUILD_DIR}\")\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/host-tests.cmake)
endif()

# Cases that need a Wine process of their own kind. In the discovered run
# above (Czech, as tools/test-env.sh sets it) those that cannot hold skip
# themselves; here each runs where its condition holds, and insists on it.
set(FORUM_SKIP_REGEX "\\[  SKIPPED \\]")

# Czech letters in plain text: Wine in a Czech locale, code page 1250.
add_test(NAME wine.cp1250.CzechTextRoundTripsByteExact
         COMMAND forum-win-tests --gtest_filter=FileCommandsTest.CzechTextRoundTripsByteExactInCodePage1250)
set_tests_properties(wine.cp1250.CzechTextRoundTripsByteExact PROPERTIES
    ${FORUM_DISPLAY_LOCK}
    ENVIRONMENT "LANG=cs_CZ.UTF-8;LC_ALL=cs_CZ.UTF-8;FORUM_EXPECT_CP1250=1"
    FIXTURES_REQUIRED wine_desktop
    TIMEOUT 120 LABELS wine)

# The English interface: Wine in an American English locale.
add_test(NAME wine.english.Interface COMMAND forum-win-tests --gtest_filter=EnglishInterfaceTest.*)
set_tests_properties(wine.english.Interface PROPERTIES
    ${FORUM_DISPLAY_LOCK}
    ENVIRONMENT "LANG=en_US.UTF-8;LC_ALL=en_US.UTF-8;FORUM_EXPECT_ENGLISH=1"
    FIXTURES_REQUIRED wine_desktop
    TIMEOUT 120 LABELS wine)

# A save that fails part-way: a 32 KiB tmpfs, mounted before and always
# unmounted after, even when the test fails.
add_test(NAME small_disk.mount COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/small-disk.sh mount)
add_test(NAME small_disk.unmount COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/small-disk.sh unmount)
add_test(NAME wine.small_disk.WriteThatFailsPartWay
         COMMAND forum-win-tests
                 --gtest_filter=FileCommandsTest.WriteThatFailsPartWayLeavesTheOldFileAndTheModifiedFlag)
set_tests_properties(small_disk.mount PROPERTIES FIXTURES_SETUP small_disk LABELS wine)
set_tests_properties(small_disk.unmount PROPERTIES FIXTURES_CLEANUP small_disk LABELS wine)
set_tests_properties(wine.small_disk.WriteThatFailsPartWay PROPERTIES
    ${FORUM_DISPLAY_LOCK}
    FIXTURES_REQUIRED "small_disk;wine_desktop"
    ENVIRONMENT "FORUM_SMALL_DISK=1"
    SKIP_REGULAR_EXPRESSION "${FORUM_SKIP_REGEX}"
    TIMEOUT 120 LABELS wine)

# Printer set-ups of their own, each in a copy of the Wine prefix: no printer
# at all, and a default printer with a very long name (from tools/test-env.sh).
set(FORUM_OWN_PREFIX ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/run-in-own-prefix.sh)
add_test(NAME wine.no_printer
         COMMAND ${FORUM_OWN_PREFIX} no-printer $<TARGET_FILE:forum-win-tests> --gtest_filter=NoPrinterTest.*)
add_test(NAME wine.long_printer_name
         COMMAND ${FORUM_OWN_PREFIX} long-printer-name $<TARGET_FILE:forum-win-tests>
                 --gtest_filter=LongPrinterNameTest.*)
set_tests_properties(wine.no_printer wine.long_printer_name PROPERTIES
    ${FORUM_DISPLAY_LOCK} TIMEOUT 180 LABELS wine)
set_tests_properties(wine.long_printer_name PROPERTIES SKIP_RETURN_CODE 77)
# The layout at 144 DPI, in a copy of the prefix whose screen is set to it.
add_test(NAME wine.dpi_144
         COMMAND ${FORUM_OWN_PREFIX} dpi-144 $<TARGET_FILE:forum-win-tests> --gtest_filter=HighDpiTest.*:DpiChangeTest.*)
set_tests_properties(wine.dpi_144 PROPERTIES ${FORUM_DISPLAY_LOCK} TIMEOUT 180 LABELS wine)
