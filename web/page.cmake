# Makes the one-file page from quillet.html: the stylesheet, the script and the icon inlined, and
# the WebAssembly module in the script as base64. A page opened from a file may fetch nothing
# beside it, so it must carry everything.
#   cmake -DSOURCE=web -DMODULE=quillet_module.wasm -DICON=quillet.svg -DPAGE=out.html -P page.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND base64 -w0 ${MODULE} OUTPUT_VARIABLE MODULE_BASE64 COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND base64 -w0 ${ICON} OUTPUT_VARIABLE icon COMMAND_ERROR_IS_FATAL ANY)
file(READ ${SOURCE}/quillet.html page)
file(READ ${SOURCE}/quillet.css style)
file(READ ${SOURCE}/quillet.js script)
string(CONFIGURE "${script}" script @ONLY)
string(REPLACE "<link rel=\"stylesheet\" href=\"quillet.css\">" "<style>\n${style}</style>" page
    "${page}")
string(REPLACE "<script src=\"quillet.js\"></script>" "<script>\n${script}</script>" page
    "${page}")
string(REPLACE "\"quillet.svg\"" "\"data:image/svg+xml;base64,${icon}\"" page "${page}")
foreach(unresolved "quillet.css\"" "quillet.js\"" "quillet.svg\"" "@MODULE_BASE64@")
    string(FIND "${page}" "${unresolved}" found)
    if(NOT found EQUAL -1)
        message(FATAL_ERROR "page.cmake: ${unresolved} is left in the page")
    endif()
endforeach()
file(WRITE ${PAGE} "${page}")
