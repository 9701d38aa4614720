# The print spooler and the common dialogs load at their first call, not
# with the program: Wine's spooler asks CUPS about every printer as it
# loads (and the common dialogs load the spooler), which cost each start
# about a third of a bare window's whole start-up. dlltool makes a
# delay-import library of each from the functions listed in cmake/delayed/.
find_program(FORUM_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)

function(forum_delayed_import name)
    set(definition ${CMAKE_CURRENT_SOURCE_DIR}/cmake/delayed/${name}.def)
    set(library ${CMAKE_CURRENT_BINARY_DIR}/delayed/lib${name}_delayed.a)
    add_custom_command(OUTPUT ${library}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/delayed
                       COMMAND ${FORUM_DLLTOOL} --input-def ${definition} --output-delaylib ${library}
                       DEPENDS ${definition} VERBATIM)
    add_custom_target(${name}_delayed_library DEPENDS ${library})
    add_library(${name}_delayed STATIC IMPORTED GLOBAL)
    set_target_properties(${name}_delayed PROPERTIES IMPORTED_LOCATION ${library})
    add_dependencies(${name}_delayed ${name}_delayed_library)
endfunction()

forum_delayed_import(winspool)
forum_delayed_import(comdlg32)
# The helper that loads a delayed DLL at the first call into it.
set(FORUM_DELAYED_LIBS winspool_delayed comdlg32_delayed delayimp)
