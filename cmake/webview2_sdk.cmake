# Chooses the WebView2 declarations: ours (webview/webview2.h) or, with
# VELOTIDE_WEBVIEW2_SDK, the official header from Microsoft's SDK.
add_library(velotide_webview2_headers INTERFACE)
if(VELOTIDE_WEBVIEW2_SDK)
    if(NOT EXISTS "${VELOTIDE_WEBVIEW2_SDK}/WebView2.h")
        message(FATAL_ERROR "VELOTIDE_WEBVIEW2_SDK: no WebView2.h in ${VELOTIDE_WEBVIEW2_SDK}")
    endif()
    # The SDK header says #include "EventToken.h"; mingw-w64 ships eventtoken.h,
    # which a case-sensitive file system does not find under that name.
    set(fix_dir ${CMAKE_BINARY_DIR}/webview2-sdk-fix)
    file(WRITE ${fix_dir}/EventToken.h "#include <eventtoken.h>\n")
    target_include_directories(velotide_webview2_headers INTERFACE ${VELOTIDE_WEBVIEW2_SDK} ${fix_dir})
    target_compile_definitions(velotide_webview2_headers INTERFACE VELOTIDE_WEBVIEW2_SDK)
    # The SDK keeps the interface IDs in a library of their own beside the
    # header's package (build/native/x64); link it when it is there.
    find_file(VELOTIDE_WEBVIEW2_GUID_LIB WebView2Guid.lib
        PATHS ${VELOTIDE_WEBVIEW2_SDK} ${VELOTIDE_WEBVIEW2_SDK}/../x64 NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(VELOTIDE_WEBVIEW2_GUID_LIB)
        target_link_libraries(velotide_webview2_headers INTERFACE ${VELOTIDE_WEBVIEW2_GUID_LIB})
    endif()
endif()

# Whatever builds with these declarations first checks that the program and
# the tests reach them only through webview/engine.h, so that the build holds
# against the SDK's header too.
file(GLOB_RECURSE VELOTIDE_CHECKED_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/app/*.h ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/settings/*.h
    ${CMAKE_SOURCE_DIR}/settings/*.cpp ${CMAKE_SOURCE_DIR}/webview/*.h ${CMAKE_SOURCE_DIR}/webview/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/*.h ${CMAKE_SOURCE_DIR}/tests/*.cpp ${CMAKE_SOURCE_DIR}/tests/*.c)
set(VELOTIDE_INCLUDE_STAMP ${CMAKE_BINARY_DIR}/webview2-includes.checked)
add_custom_command(OUTPUT ${VELOTIDE_INCLUDE_STAMP}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DSTAMP=${VELOTIDE_INCLUDE_STAMP}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_webview2_includes.cmake
    DEPENDS ${VELOTIDE_CHECKED_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/check_webview2_includes.cmake
    COMMENT "Checking that the program reaches the WebView2 declarations only through webview/engine.h")
add_custom_target(velotide_webview2_include_check DEPENDS ${VELOTIDE_INCLUDE_STAMP})
add_dependencies(velotide_webview2_headers velotide_webview2_include_check)
