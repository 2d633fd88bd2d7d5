# Writes the Windows window's control table from Form1.ui, the one stored window of both
# toolkits: each control's kind, frame, geometry, text, start states, colour and control array,
# then the tab order.
# Usage: cmake -DUI=Form1.ui -DOUTPUT=Form1_controls.h -P form_table.cmake

file(READ ${UI} content)
# Semicolons and brackets would split or bind CMake list items: they travel as XML references.
string(REPLACE ";" "&#59;" content "${content}")
string(REPLACE "[" "&#91;" content "${content}")
string(REPLACE "]" "&#93;" content "${content}")
# Each item is one tag and the text after it.
string(REGEX MATCHALL "<[^>]*>[^<]*" tokens "${content}")

set(stack "")
set(widgets "")
set(tabstops "")
set(property "")
foreach(token IN LISTS tokens)
    if(token MATCHES "^<widget class=\"([A-Za-z]+)\" name=\"([A-Za-z0-9_]+)\"")
        set(name ${CMAKE_MATCH_2})
        set(class_${name} ${CMAKE_MATCH_1})
        list(LENGTH stack depth)
        if(depth GREATER 0)
            list(GET stack -1 parent_${name})
        endif()
        list(APPEND stack ${name})
        list(APPEND widgets ${name})
        set(property "")
    elseif(token MATCHES "^</widget>")
        list(POP_BACK stack)
    elseif(token MATCHES "^<(property|attribute) name=\"([A-Za-z]+)\"")
        set(property ${CMAKE_MATCH_2})
    elseif(property STREQUAL "geometry" AND token MATCHES "^<(x|y|width|height)>([0-9]+)")
        list(GET stack -1 name)
        set(${CMAKE_MATCH_1}_${name} ${CMAKE_MATCH_2})
    elseif(token MATCHES "^<(string|bool)[^>/]*>(.*)$")
        list(GET stack -1 name)
        set(${property}_${name} "${CMAKE_MATCH_2}")
    elseif(token MATCHES "^<tabstop>([A-Za-z0-9_]+)")
        list(APPEND tabstops ${CMAKE_MATCH_1})
    endif()
endforeach()

# The first widget is the form itself; the controls follow it.
list(POP_FRONT widgets form)
if(NOT class_${form} STREQUAL "QWidget")
    message(FATAL_ERROR "${UI}: the form must be a QWidget, not ${class_${form}}")
endif()
set(kind_QLineEdit Box)
set(kind_QPushButton Button)
set(kind_QRadioButton Option)
set(kind_QFrame Frame)

# Text as a wide string literal: the XML references undone, then the C escapes.
function(wide_literal text variable)
    foreach(reference "&#59;=;" "&#91;=[" "&#93;=]" "&lt;=<" "&gt;=>" "&quot;=\"" "&apos;='")
        string(REGEX MATCH "^([^=]+)=(.*)$" _ "${reference}")
        string(REPLACE "${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}" text "${text}")
    endforeach()
    string(REPLACE "&amp;" "&" text "${text}")
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    set(${variable} "L\"${text}\"" PARENT_SCOPE)
endfunction()

set(rows "")
foreach(name IN LISTS widgets)
    set(kind ${kind_${class_${name}}})
    if(NOT kind)
        message(FATAL_ERROR "${UI}: ${name} is a ${class_${name}}, which the window has no kind for")
    endif()
    set(frame -1)
    if(NOT parent_${name} STREQUAL form)
        list(FIND widgets ${parent_${name}} frame)
    endif()
    wide_literal("${text_${name}}" text)
    set(enabled true)
    if(enabled_${name} STREQUAL "false")
        set(enabled false)
    endif()
    set(checked false)
    if(checked_${name} STREQUAL "true")
        set(checked true)
    endif()
    set(color kNoBackColor)
    if(backColor_${name} MATCHES "^0x[0-9A-Fa-f]+$")
        set(color ${backColor_${name}}u)
    endif()
    set(array "")
    set(index 0)
    if(DEFINED buttonGroup_${name})
        set(array ${buttonGroup_${name}})
        if(NOT name MATCHES "^${array}_([0-9]+)$")
            message(FATAL_ERROR "${UI}: ${name} in the array ${array} is not named ${array}_index")
        endif()
        set(index ${CMAKE_MATCH_1})
    endif()
    string(APPEND rows "    {\"${name}\", ControlKind::${kind}, ${frame}, "
        "{${x_${name}}, ${y_${name}}, ${width_${name}}, ${height_${name}}}, ${text}, ${enabled}, "
        "${checked}, ${color}, \"${array}\", ${index}},\n")
endforeach()

set(order "")
foreach(name IN LISTS tabstops)
    list(FIND widgets ${name} position)
    if(position LESS 0)
        message(FATAL_ERROR "${UI}: the tab stop ${name} is no control")
    endif()
    string(APPEND order "    ${position},  // ${name}\n")
endforeach()

set(form_width ${width_${form}})
set(form_height ${height_${form}})
wide_literal("${windowTitle_${form}}" caption)
file(CONFIGURE OUTPUT ${OUTPUT} @ONLY CONTENT [[
// Made from Form1.ui by form_table.cmake.
#pragma once

#include "stored_control.h"

namespace quillet {

inline constexpr StoredRect kFormClientArea = {0, 0, @form_width@, @form_height@};
inline constexpr const wchar_t* kFormCaption = @caption@;

inline constexpr StoredControl kStoredControls[] = {
@rows@};

// Indexes into kStoredControls.
inline constexpr int kTabOrder[] = {
@order@};

}  // namespace quillet
]])
