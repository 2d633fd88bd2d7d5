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
set(QUILLET_README_TITLE "Quillet ${PROJECT_VERSION} for Windows (${QUILLET_BITS}-bit)")
string(LENGTH "${QUILLET_README_TITLE}" title_length)
string(REPEAT "=" ${title_length} QUILLET_README_UNDERLINE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/README.txt README.txt @ONLY NEWLINE_STYLE CRLF)
# quillet-cli.exe carries libgcrypt and libgpg-error, linked in: the licence names them and gives
# the text of theirs, the LGPL.
find_file(gcrypt_header gcrypt.h REQUIRED)
find_file(gpg_error_header gpg-error.h REQUIRED)
file(STRINGS ${gcrypt_header} gcrypt_version REGEX "^#define GCRYPT_VERSION ")
file(STRINGS ${gpg_error_header} gpg_error_version REGEX "^#define GPG_ERROR_VERSION ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" gcrypt_version "${gcrypt_version}")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" gpg_error_version "${gpg_error_version}")
file(READ ${PROJECT_SOURCE_DIR}/LICENSE quillet_licence)
file(READ /usr/share/common-licenses/LGPL-2.1 lgpl)
file(READ ${CMAKE_CURRENT_LIST_DIR}/windows/LICENSE.txt.in licence)
file(CONFIGURE OUTPUT LICENSE.txt CONTENT "${licence}" @ONLY NEWLINE_STYLE CRLF)
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
