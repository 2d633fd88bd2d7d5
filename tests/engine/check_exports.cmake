# Fails unless the library's dynamic symbol table defines exactly RemoveIntroAuto and AddIntroAuto.
execute_process(COMMAND nm -D --defined-only "${LIBRARY}"
    OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" names "${symbols}")
list(TRANSFORM names STRIP)
list(SORT names)
if(NOT names STREQUAL "AddIntroAuto;RemoveIntroAuto")
    message(FATAL_ERROR "exported symbols: ${names}")
endif()
