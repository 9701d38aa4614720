# The Windows program, its Wine-side tests and its end-to-end tests.

enable_language(RC)
include(cmake/hunspell.cmake)

# The layers above the text logic, bottom up; an include never runs back up.
set(FORUM_WIN_SOURCES
    # win/: Windows basics: handle owners, the program's texts and message boxes, the user's folders.
    win/letter_case.cpp
    win/messages.cpp
    win/system_utf8.cpp
    win/dpi.cpp
    win/user_folders.cpp
    win/caught_failure.cpp
    # editor/: What talks to the rich-edit control: its text, the subclass, the undo history, the markup commands.
    editor/char_format.cpp
    editor/clipboard.cpp
    editor/color_tag.cpp
    editor/edit_recorder.cpp
    editor/edit_recorder_restore.cpp
    editor/editor_keys.cpp
    editor/editor_subclass.cpp
    editor/editor_text.cpp
    editor/find_replace.cpp
    editor/insert_format.cpp
    editor/markup_commands.cpp
    editor/paste_markup.cpp
    editor/post_link.cpp
    editor/range_pieces.cpp
    editor/reflow.cpp
    editor/selection_drag.cpp
    editor/spell_underline.cpp
    editor/wrap_selection.cpp
    # document/: Files, encodings, recovery copies and printing of the document.
    document/document_stream.cpp
    document/draft_store.cpp
    document/file_io.cpp
    document/hunspell_dictionary.cpp
    document/personal_dictionary.cpp
    document/printing.cpp
    document/spell_checker.cpp
    document/spell_worker.cpp
    # ui/: Dialogs, menus, toolbar, status bar and the preview pane; the sentences made from what text/ found.
    ui/file_dialogs.cpp
    ui/find_dialog.cpp
    ui/format_dialogs.cpp
    ui/board_dialog.cpp
    ui/board_dialog_tags.cpp
    ui/board_files.cpp
    ui/forum_texts.cpp
    ui/limit_dialog.cpp
    ui/menus.cpp
    ui/post_status.cpp
    ui/preview_pane.cpp
    ui/recent_menu.cpp
    ui/refusal_texts.cpp
    ui/spell_menu.cpp
    ui/status_bar.cpp
    ui/toolbar.cpp
    ui/window_title.cpp
    # app/: The Main window, command dispatch, the file commands, settings, recovery and the interface's language.
    app/command_dispatch.cpp
    app/board_store.cpp
    app/editor_control.cpp
    app/file_commands.cpp
    app/files_from_outside.cpp
    app/find_commands.cpp
    app/long_operation.cpp
    app/interface_language.cpp
    app/main_window.cpp
    app/splitter_drag.cpp
    app/window_ending.cpp
    app/paste_commands.cpp
    app/post_review.cpp
    app/recent_files.cpp
    app/recovery.cpp
    app/settings.cpp
    app/spelling.cpp
    app/startup.cpp
    app/window_memory.cpp
)

include(cmake/delayed_imports.cmake)
set(FORUM_WIN_LIBS comctl32 ${FORUM_DELAYED_LIBS} gdi32 shell32 user32 advapi32 kernel32)

# Everything but the entry point, so that the Wine tests drive the same code.
add_library(forum_core STATIC ${FORUM_WIN_SOURCES})
target_include_directories(forum_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(forum_core PUBLIC NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_compile_options(forum_core PRIVATE -Wall -Wextra)
target_link_libraries(forum_core PUBLIC forum_text hunspell ${FORUM_WIN_LIBS})
add_dependencies(forum_core dictionaries)

# Resources are linked into the test programs too, so that they load the
# same menus, accelerators and bitmaps as the program.
include(cmake/pictures.cmake)
add_library(forum_resources OBJECT res/forum-editor.rc)
target_include_directories(forum_resources PRIVATE ${FORUM_PICTURES_DIR})
set_property(SOURCE res/forum-editor.rc APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_CURRENT_SOURCE_DIR}/res/resource_ids.h
             ${CMAKE_CURRENT_SOURCE_DIR}/res/forum-editor.manifest
             ${CMAKE_CURRENT_SOURCE_DIR}/text/forum/forum_urls.h
             ${FORUM_PICTURE_FILES})

add_executable(forum-editor WIN32 app/main.cpp)
target_link_libraries(forum-editor PRIVATE forum_core forum_resources)
# The C and C++ runtimes are linked in, so the program runs on a bare Windows.
target_link_options(forum-editor PRIVATE -static -static-libgcc -static-libstdc++)


# Latency of the markup commands in the real control (run by make bench).
add_executable(forum-command-bench bench/command_latency.cpp)
target_link_libraries(forum-command-bench PRIVATE forum_core forum_resources psapi)
target_link_options(forum-command-bench PRIVATE -static -static-libgcc -static-libstdc++)

# The live preview's refresh and the typing latency beside it (run by make bench).
add_executable(forum-preview-bench bench/preview_latency.cpp)
target_link_libraries(forum-preview-bench PRIVATE forum_core forum_resources)
target_link_options(forum-preview-bench PRIVATE -static -static-libgcc -static-libstdc++)

# Latency of a typed key in a long post, the key's messages and the paint (run by make bench).
add_executable(forum-typing-bench bench/typing_latency.cpp)
target_link_libraries(forum-typing-bench PRIVATE forum_core forum_resources)
target_link_options(forum-typing-bench PRIVATE -static -static-libgcc -static-libstdc++)

# Spell checking: loading, memory, a whole post on the worker, typing with
# it on and off (run by make bench).
add_executable(forum-spelling-bench bench/spelling_bench.cpp)
target_link_libraries(forum-spelling-bench PRIVATE forum_core forum_resources psapi)
target_link_options(forum-spelling-bench PRIVATE -static -static-libgcc -static-libstdc++)

# Replace All of 5,000 matches in a long post, and its undo (run by make bench).
add_executable(forum-replace-bench bench/replace_bench.cpp)
target_link_libraries(forum-replace-bench PRIVATE forum_core forum_resources)
target_link_options(forum-replace-bench PRIVATE -static -static-libgcc -static-libstdc++)

# Undo of a 10 MB paste against the paste itself (run by make bench).
add_executable(forum-paste-undo-bench bench/paste_undo_bench.cpp)
target_link_libraries(forum-paste-undo-bench PRIVATE forum_core forum_resources)
target_link_options(forum-paste-undo-bench PRIVATE -static -static-libgcc -static-libstdc++)

# A web page pasted as markup against the plain-text paste of it (run by make bench).
add_executable(forum-paste-bench bench/paste_bench.cpp)
target_link_libraries(forum-paste-bench PRIVATE forum_core forum_resources)
target_link_options(forum-paste-bench PRIVATE -static -static-libgcc -static-libstdc++)

# The bare RICHEDIT window that start-up is measured against (run by make bench).
add_executable(forum-bare-window WIN32 bench/bare_window.cpp)
target_include_directories(forum-bare-window PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(forum-bare-window PRIVATE NOMINMAX)
target_link_options(forum-bare-window PRIVATE -static -static-libgcc -static-libstdc++)

# The same with the editor's manifest, the common controls and their bars:
# what those alone cost a start (run by make bench).
add_executable(forum-bare-window-bars WIN32 bench/bare_window.cpp bench/bare_window.rc)
target_include_directories(forum-bare-window-bars PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(forum-bare-window-bars PRIVATE NOMINMAX FORUM_BENCH_BARS)
target_link_libraries(forum-bare-window-bars PRIVATE comctl32)
target_link_options(forum-bare-window-bars PRIVATE -static -static-libgcc -static-libstdc++)

# The same again with the editor's resources, its frame carrying the
# editor's menu bar and icon: what those alone cost a start (run by make bench).
add_executable(forum-bare-window-frame WIN32 bench/bare_window.cpp)
target_include_directories(forum-bare-window-frame PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(forum-bare-window-frame PRIVATE NOMINMAX FORUM_BENCH_BARS FORUM_BENCH_FRAME)
target_link_libraries(forum-bare-window-frame PRIVATE forum_resources comctl32)
target_link_options(forum-bare-window-frame PRIVATE -static -static-libgcc -static-libstdc++)

# Start-up time against a bare window and Wine's WordPad (run by make bench).
add_executable(forum-startup-bench bench/startup_bench.cpp)
target_link_options(forum-startup-bench PRIVATE -static -static-libgcc -static-libstdc++)

# The zip for Windows users: the program, the user guide, the smileys that
# the forum must host, and the dictionaries with their licences (make dist).
set(FORUM_DIST_NAME forum-editor-${FORUM_VERSION}-win64)
set(FORUM_DIST_DIR ${CMAKE_BINARY_DIR}/dist/${FORUM_DIST_NAME})
file(GLOB FORUM_SMILEY_IMAGES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/smileys/*.png)
set(FORUM_LICENSE_COPIES)
set(FORUM_LICENSE_SOURCES)
foreach(pair IN LISTS FORUM_SPELLING_LICENSES FORUM_PASTE_LICENSES FORUM_UTF8PROC_LICENSE)
    string(REPLACE "=" ";" pair ${pair})
    list(GET pair 0 source)
    list(GET pair 1 target)
    list(APPEND FORUM_LICENSE_SOURCES ${source})
    list(APPEND FORUM_LICENSE_COPIES COMMAND ${CMAKE_COMMAND} -E copy ${source} ${FORUM_DIST_DIR}/licenses/${target})
endforeach()
# The user guide in English and in Czech, each named in its own language.
set(FORUM_USER_GUIDES ${CMAKE_CURRENT_SOURCE_DIR}/docs/user-guide-en.txt ${CMAKE_CURRENT_SOURCE_DIR}/docs/navod-cs.txt)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/dist/${FORUM_DIST_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${FORUM_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FORUM_DIST_DIR}/smileys ${FORUM_DIST_DIR}/dictionaries
            ${FORUM_DIST_DIR}/licenses
    COMMAND ${CMAKE_STRIP} -o ${FORUM_DIST_DIR}/forum-editor.exe $<TARGET_FILE:forum-editor>
    COMMAND ${CMAKE_COMMAND} -E copy ${FORUM_USER_GUIDES} ${FORUM_DIST_DIR}/
    COMMAND ${CMAKE_COMMAND} -E copy ${FORUM_SMILEY_IMAGES} ${FORUM_DIST_DIR}/smileys/
    COMMAND ${CMAKE_COMMAND} -E copy ${FORUM_DICTIONARY_FILES} ${FORUM_DIST_DIR}/dictionaries/
    ${FORUM_LICENSE_COPIES}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${FORUM_DIST_NAME}.zip --format=zip ${FORUM_DIST_NAME}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/dist
    DEPENDS forum-editor ${FORUM_USER_GUIDES} ${FORUM_SMILEY_IMAGES}
            ${FORUM_DICTIONARY_FILES} ${FORUM_LICENSE_SOURCES}
    COMMENT "Packing ${FORUM_DIST_NAME}.zip")
add_custom_target(dist DEPENDS ${CMAKE_BINARY_DIR}/dist/${FORUM_DIST_NAME}.zip)

option(FORUM_BUILD_TESTS "Build the Wine-side and end-to-end tests" ON)
if(FORUM_BUILD_TESTS)
    include(cmake/windows-tests.cmake)
endif()
