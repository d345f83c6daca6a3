# qx_layer(<target> RANK <n> DIR <dir> [DEPS <libs...>] [EXCLUDE <regex>]
#          [INCLUDE_AS <prefix>] [USERS <layers...>])
# One static library per source folder; every .cpp/.h under the folder belongs to it
# (sub-folders included, less what EXCLUDE matches), so adding a file needs no edit here.
#
# The folder is the layer's only include root, so a layer sees its own headers and
# those of the layers it links, never a higher layer's. RANK places the layer in the
# order of src/CMakeLists.txt: a layer may link (and include) only layers of a lower
# rank. INCLUDE_AS makes the headers reachable as "<prefix>/Name.h" only (through a
# folder of links in the build tree). USERS names the only layers that may include or
# link this one (the platform backends: the application alone).
#
# Every layer is written to the layer table ${QX_LAYER_TABLE}, which the include-graph
# test reads; qx_check_layers() checks the links against the ranks.
function(qx_layer target)
    cmake_parse_arguments(ARG "" "DIR;RANK;EXCLUDE;INCLUDE_AS" "DEPS;USERS" ${ARGN})
    if(NOT ARG_DIR)
        set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    if(ARG_RANK STREQUAL "")
        message(FATAL_ERROR "qx_layer(${target}): RANK is required")
    endif()
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
         ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
    list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
    if(ARG_EXCLUDE)
        list(FILTER srcs EXCLUDE REGEX "${ARG_EXCLUDE}")
    endif()
    if(NOT srcs)
        # An empty layer still exists so that links can name it.
        set(stub ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
        # Written only when it changes, so a configure rebuilds nothing.
        file(CONFIGURE OUTPUT ${stub} CONTENT "// this layer has no code yet\n")
        set(srcs ${stub})
    endif()
    add_library(${target} STATIC ${srcs})
    if(ARG_INCLUDE_AS)
        # A folder of links to the layer's headers, so that "<prefix>/Name.h" is the
        # only spelling that finds them and nothing beside them is reachable.
        set(root ${CMAKE_BINARY_DIR}/qx_include/${target})
        file(REMOVE_RECURSE ${root})
        foreach(src ${srcs})
            if(src MATCHES "\\.h$")
                file(RELATIVE_PATH rel ${ARG_DIR} ${src})
                get_filename_component(rel_dir ${root}/${ARG_INCLUDE_AS}/${rel} DIRECTORY)
                file(MAKE_DIRECTORY ${rel_dir})
                file(CREATE_LINK ${src} ${root}/${ARG_INCLUDE_AS}/${rel} SYMBOLIC)
            endif()
        endforeach()
        target_include_directories(${target} PUBLIC ${root})
    else()
        target_include_directories(${target} PUBLIC ${ARG_DIR})
    endif()
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    # Warnings are errors in our own code (the tests and tools keep them as warnings).
    target_compile_options(${target} PRIVATE $<$<BOOL:${QX_WERROR}>:-Werror>)

    file(RELATIVE_PATH rel_dir ${PROJECT_SOURCE_DIR}/src ${ARG_DIR})
    set(prefix "${ARG_INCLUDE_AS}")
    if(NOT prefix)
        set(prefix "-")
    endif()
    set(users "${ARG_USERS}")
    if(NOT users)
        set(users "-")
    endif()
    string(REPLACE ";" "," users "${users}")
    set_property(GLOBAL APPEND PROPERTY QX_LAYERS ${target})
    set_property(GLOBAL PROPERTY QX_LAYER_${target} "${ARG_RANK}\t${target}\t${rel_dir}\t${prefix}\t${users}")
    set_property(GLOBAL PROPERTY QX_LAYER_RANK_${target} ${ARG_RANK})
    set_property(GLOBAL PROPERTY QX_LAYER_USERS_${target} "${ARG_USERS}")
    set_property(GLOBAL PROPERTY QX_LAYER_DEPS_${target} "${ARG_DEPS}")
endfunction()

# qx_check_layers()
# After the last qx_layer: every layer links only layers of a lower rank (and a layer
# with USERS only from those), and the layer table is written for the include-graph test.
function(qx_check_layers)
    get_property(layers GLOBAL PROPERTY QX_LAYERS)
    set(table "# rank\tlayer\tfolder under src\tinclude prefix\tthe only layers that may use it\n")
    foreach(layer ${layers})
        get_property(line GLOBAL PROPERTY QX_LAYER_${layer})
        string(APPEND table "${line}\n")
        get_property(rank GLOBAL PROPERTY QX_LAYER_RANK_${layer})
        get_property(deps GLOBAL PROPERTY QX_LAYER_DEPS_${layer})
        foreach(dep ${deps})
            if(NOT dep IN_LIST layers)
                continue()
            endif()
            get_property(dep_rank GLOBAL PROPERTY QX_LAYER_RANK_${dep})
            get_property(dep_users GLOBAL PROPERTY QX_LAYER_USERS_${dep})
            if(NOT dep_rank LESS rank)
                message(FATAL_ERROR "layer ${layer} (rank ${rank}) links ${dep} (rank ${dep_rank}): "
                                    "a layer links only lower layers")
            endif()
            if(dep_users AND NOT layer IN_LIST dep_users)
                message(FATAL_ERROR "layer ${layer} links ${dep}, which only ${dep_users} may use")
            endif()
        endforeach()
    endforeach()
    file(WRITE ${QX_LAYER_TABLE} "${table}")
endfunction()

# qx_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [ENV ...])
# A GoogleTest executable run through ctest. Labels: none (headless, offscreen),
# x11 (run under Xvfb), pulse (private PulseAudio daemon), uhid (needs /dev/uhid);
# memcheck besides, for the suites of QX_MEMCHECK_SUITES (tests/CMakeLists.txt).
include(GoogleTest)

function(qx_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE qx_test_support ${ARG_LIBS})
    target_precompile_headers(${name} REUSE_FROM qx_test_pch)
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
    if(name IN_LIST QX_MEMCHECK_SUITES)
        # gtest_discover_tests flattens a list of labels too, so the memory checker's label
        # joins the others in a script ctest runs after the discovered tests are added
        # (the discovery names them in <name>_TESTS; a target not built adds none).
        set(labels ${ARG_LABELS} memcheck)
        set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_memcheck_labels.cmake)
        file(CONFIGURE OUTPUT ${script} @ONLY CONTENT "foreach(test IN LISTS ${name}_TESTS)
    set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${labels}\")
endforeach()
")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
    endif()
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
