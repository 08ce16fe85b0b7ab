# Libraries that are not among Windows' known system DLLs are imported with delay: the
# loader would otherwise look for them in the program's own folder before the program has
# run a line, and a DLL planted beside a downloaded Orvan.exe would run with the rights of
# an elevated start. Delayed, they load at their first call, after WinMain has restricted
# the search to the system folder. Each .def lists the functions the programs call; a new
# one is added there (the link fails until it is).
find_program(ORVAN_DLLTOOL NAMES ${ORVAN_MINGW_PREFIX}-dlltool REQUIRED)

function(orvan_delay_import name dll)
    set(def ${PROJECT_SOURCE_DIR}/cmake/delay/${name}.def)
    set(lib ${CMAKE_BINARY_DIR}/delay/lib${name}_delay.a)
    # dlltool names the library's symbols after the output path it is given: a bare name,
    # from inside the folder, keeps the build folder out of the program.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay)
    add_custom_command(OUTPUT ${lib}
                       COMMAND ${ORVAN_DLLTOOL} --input-def ${def} --dllname ${dll}
                               --output-delaylib lib${name}_delay.a
                       WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/delay
                       DEPENDS ${def} VERBATIM)
    add_custom_target(${name}_delay_lib DEPENDS ${lib})
    add_library(${name}_delay STATIC IMPORTED GLOBAL)
    set_target_properties(${name}_delay PROPERTIES IMPORTED_LOCATION ${lib})
    add_dependencies(${name}_delay ${name}_delay_lib)
endfunction()

orvan_delay_import(uxtheme UxTheme.dll)
orvan_delay_import(oleacc OLEACC.dll)
orvan_delay_import(version VERSION.dll)
orvan_delay_import(comctl32 COMCTL32.dll)
