# Remakes quillet.dll's import library under the names that __stdcall callers refer to
# (RemoveIntroAuto@16), while the DLL keeps exporting the undecorated names of quillet.def: an
# import library made from quillet.def lacks the __imp__RemoveIntroAuto@16 of a dllimport call.
# The argument sizes are read from the compiled objects, so they follow the header.
execute_process(COMMAND ${NM} --defined-only ${OBJECTS}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
file(STRINGS ${DEF} lines REGEX "@[0-9]+")
set(decorated "LIBRARY ${DLL}\nEXPORTS\n")
foreach(line IN LISTS lines)
    string(REGEX MATCH "^[ \t]*([A-Za-z_]+)[ \t]+(@[0-9]+)" _ "${line}")
    set(name ${CMAKE_MATCH_1})
    set(ordinal ${CMAKE_MATCH_2})
    if(NOT symbols MATCHES " T _${name}(@[0-9]+)\n")
        message(FATAL_ERROR "no __stdcall definition of ${name} in ${OBJECTS}")
    endif()
    string(APPEND decorated "    ${name}${CMAKE_MATCH_1} ${ordinal}\n")
endforeach()
file(WRITE ${IMPORT_LIBRARY}.def "${decorated}")
# dlltool leaves empty files behind in the temporary folder: it gets one of its own here.
set(temporary ${IMPORT_LIBRARY}.tmp)
file(MAKE_DIRECTORY ${temporary})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${temporary}
    ${DLLTOOL} --kill-at --input-def ${IMPORT_LIBRARY}.def --dllname ${DLL}
    --output-lib ${IMPORT_LIBRARY} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${temporary})
