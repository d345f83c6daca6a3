# qx_layer(<target> DIR <dir> [DEPS <libs...>])
# One static library per source folder; every .cpp/.h under the folder belongs to it
# (sub-folders included), so adding a file needs no edit here.
function(qx_layer target)
    cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
    if(NOT ARG_DIR)
        set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
         ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
    list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
    if(NOT srcs)
        # An empty layer still exists so that links can name it.
        set(stub ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
        # Written only when it changes, so a configure rebuilds nothing.
        file(CONFIGURE OUTPUT ${stub} CONTENT "// this layer has no code yet\n")
        set(srcs ${stub})
    endif()
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${ARG_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# qx_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [ENV ...])
# A GoogleTest executable run through ctest. Labels: none (headless, offscreen),
# x11 (run under Xvfb), pulse (private PulseAudio daemon), uhid (needs /dev/uhid).
include(GoogleTest)

function(qx_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE qx_test_support ${ARG_LIBS})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(env QT_QPA_PLATFORM=offscreen ${ARG_ENV})
    if("x11" IN_LIST ARG_LABELS)
        set(env ${ARG_ENV})
    endif()
    set(props TIMEOUT ${ARG_TIMEOUT})
    if(ARG_LABELS)
        list(APPEND props LABELS "${ARG_LABELS}")
    endif()
    if(env)
        # gtest_discover_tests flattens a multi-value ENVIRONMENT property, so the
        # variables are set by running the program through env(1), for discovery too.
        set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR env ${env})
    endif()
    if("x11" IN_LIST ARG_LABELS)
        # One shared display: x11 tests take turns.
        list(APPEND props RESOURCE_LOCK x11display)
    endif()
    # Each test case is its own ctest test; listing happens at build time, headless.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# qx_umockdev_preload(<out-var>)
# The LD_PRELOAD value that runs a program inside umockdev's simulated device tree.
# A sanitizer runtime must come first in that list, so sanitizer builds put it there.
function(qx_umockdev_preload out)
    set(preload libumockdev-preload.so.0)
    if(QX_SANITIZE STREQUAL "address" OR QX_SANITIZE STREQUAL "thread")
        if(QX_SANITIZE STREQUAL "address")
            set(san_lib libasan.so)
        else()
            set(san_lib libtsan.so)
        endif()
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${san_lib}
                        OUTPUT_VARIABLE san_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        set(preload "${san_path}:${preload}")
    endif()
    set(${out} "${preload}" PARENT_SCOPE)
endfunction()
