# The Windows downloads, made by CPack: a portable zip and a per-user installer, each holding the
# programs, the library with its header, import library and definition file, and what a Windows
# user reads: README.txt and the licence, with Windows' line endings and names that open with a
# double click.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QUILLET_BITS 32)
    set(QUILLET_MACHINE x86)
    set(CPACK_QUILLET_NSIS_TARGET x86-unicode)
else()
    set(QUILLET_BITS 64)
    set(QUILLET_MACHINE x64)
    set(CPACK_QUILLET_NSIS_TARGET amd64-unicode)
endif()
set(CPACK_SYSTEM_NAME windows-${QUILLET_MACHINE})
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/README.txt README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .
    COMPONENT programs)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
# One installer section and one zip, whatever the install components.
set(CPACK_MONOLITHIC_INSTALL ON)
# The installer is written here (windows/NSIS.template.in) rather than taken from CPack, whose
# installer asks for administrator rights.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_QUILLET_ICON ${PROJECT_SOURCE_DIR}/frontend/icons/quillet.ico)
include(CPack)
