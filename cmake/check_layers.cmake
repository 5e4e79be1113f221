cmake_minimum_required(VERSION 3.22)
# Fails when a source file includes a header of a layer it may not use: the
# folders below are the program's layers and window families, each with the
# folders it may include from. A window never includes another window's
# header; what windows offer each other lives in contracts/.
#   cmake -DSOURCE_DIR=<src> -P check_layers.cmake
set(base platform i18n)
set(allowed_platform platform)
set(allowed_i18n platform i18n)
set(allowed_rtf platform rtf)
set(allowed_formats platform rtf formats)
set(allowed_pictures pictures)
set(allowed_spelling ${base} spelling)
set(allowed_session ${base} session)
set(allowed_waveform ${base} waveform)
set(allowed_recovery ${base} rtf recovery)
set(allowed_contracts contracts)
set(allowed_about ${base} about)
set(allowed_dialogs ${base} dialogs)
set(allowed_player ${base} session contracts about waveform player)
set(allowed_editor ${base} rtf formats session contracts dialogs pictures spelling editor)
set(allowed_bookmarks ${base} session contracts bookmarks)
set(allowed_find ${base} contracts find)
set(allowed_video ${base} contracts video)
set(allowed_desktop ${base} session contracts desktop)
# The composition root builds everything.
set(families platform i18n spelling rtf formats pictures session waveform recovery contracts about dialogs player
    editor bookmarks find video desktop)

# The family a path below src/ belongs to.
function(family_of path out)
    set(found "")
    foreach(f ${families})
        if(path MATCHES "^${f}/" AND found STREQUAL "")
            set(found ${f})
        endif()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(violations "")
foreach(family ${families})
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${family}/*.cpp
         ${SOURCE_DIR}/${family}/*.h)
    foreach(file ${files})
        file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"[^\"]+/[^\"]+\"")
        foreach(line ${includes})
            string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
            family_of(${header} target)
            if(target STREQUAL "" OR target IN_LIST allowed_${family})
                continue()
            endif()
            string(APPEND violations "  ${file} includes ${header} (${family} may not use ${target})\n")
        endforeach()
    endforeach()
endforeach()
if(violations)
    message(FATAL_ERROR "Includes across layers:\n${violations}")
endif()
