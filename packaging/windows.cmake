# The Windows downloads, made by CPack: a portable zip and a per-user installer, each holding the
# programs, the library with its header and import library, the README and the licence.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .
    COMPONENT programs)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
# One installer section and one zip, whatever the install components.
set(CPACK_MONOLITHIC_INSTALL ON)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME windows-x86)
    set(CPACK_QUILLET_NSIS_TARGET x86-unicode)
else()
    set(CPACK_SYSTEM_NAME windows-x64)
    set(CPACK_QUILLET_NSIS_TARGET amd64-unicode)
endif()
# The installer is written here (windows/NSIS.template.in) rather than taken from CPack, whose
# installer asks for administrator rights.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_QUILLET_ICON ${PROJECT_SOURCE_DIR}/frontend/icons/quillet.ico)
include(CPack)
