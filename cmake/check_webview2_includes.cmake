# Keeps the program and its tests on one set of WebView2 declarations:
# webview/engine.h chooses ours (webview/webview2.h) or the SDK's WebView2.h,
# and every other file of app/, settings/, webview/ and tests/ reaches them
# through it. A file that reached webview/webview2.h another way as well
# would see both against the SDK, which defines the same names again. (The
# engines, built apart, include ours directly; a test of engine code alone,
# which never reaches webview/engine.h, may too.)
# Usage: cmake -DSOURCE_DIR=<source> -DSTAMP=<file touched when it holds> -P check_webview2_includes.cmake

cmake_minimum_required(VERSION 3.25)

set(engine_header webview/engine.h)
set(own_header webview/webview2.h)

# The project files that file includes ("..." only), transitively, without
# following webview/engine.h, whose choice is the point.
function(reached file out)
    get_property(known GLOBAL PROPERTY "reached:${file}" SET)
    if(known)
        get_property(found GLOBAL PROPERTY "reached:${file}")
        set(${out} "${found}" PARENT_SCOPE)
        return()
    endif()
    set_property(GLOBAL PROPERTY "reached:${file}" "")  # an include cycle ends here
    get_filename_component(folder "${file}" DIRECTORY)
    file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    set(found "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" name "${line}")
        if(EXISTS "${SOURCE_DIR}/${name}")
            set(path "${name}")
        elseif(folder AND EXISTS "${SOURCE_DIR}/${folder}/${name}")
            set(path "${folder}/${name}")
        else()
            continue()  # made by the build, or not the project's
        endif()
        list(APPEND found "${path}")
        if(NOT path STREQUAL engine_header)
            reached("${path}" deeper)
            list(APPEND found ${deeper})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES found)
    set_property(GLOBAL PROPERTY "reached:${file}" "${found}")
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/app/*" "${SOURCE_DIR}/settings/*"
     "${SOURCE_DIR}/webview/*" "${SOURCE_DIR}/tests/*")
set(faults "")
foreach(file IN LISTS files)
    if(NOT file MATCHES "\\.(h|c|cpp)$" OR file STREQUAL engine_header OR file STREQUAL own_header)
        continue()
    endif()
    reached("${file}" found)
    if(NOT own_header IN_LIST found)
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${file}" direct REGEX "^[ \t]*#[ \t]*include[ \t]*\"${own_header}\"")
    if(direct OR file MATCHES "^(app|settings|webview)/" OR engine_header IN_LIST found)
        string(APPEND faults "\n  ${file}")
    endif()
endforeach()
if(faults)
    message(FATAL_ERROR "These files reach ${own_header} other than through ${engine_header}, which alone chooses "
                        "between it and the WebView2 SDK's header (VELOTIDE_WEBVIEW2_SDK):${faults}")
endif()
file(TOUCH "${STAMP}")
