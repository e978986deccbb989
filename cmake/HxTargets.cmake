# Each source folder holds foo.cpp, foo.h and foo_test.cpp side by side.
# These helpers split a folder into its library sources and its tests.

function(hx_folder_sources out_var folder)
    file(GLOB _all CONFIGURE_DEPENDS "${folder}/*.cpp")
    list(FILTER _all EXCLUDE REGEX "_test\\.cpp$")
    list(FILTER _all EXCLUDE REGEX "/main\\.cpp$")
    set(${out_var} ${_all} PARENT_SCOPE)
endfunction()

function(hx_folder_tests out_var folder)
    file(GLOB _tests CONFIGURE_DEPENDS "${folder}/*_test.cpp")
    set(${out_var} ${_tests} PARENT_SCOPE)
endfunction()

# One GoogleTest executable per folder; every test runs through CTest and may
# use the shared test helpers.
function(hx_add_test_executable name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} HxTestSupport GTest::gtest GTest::gtest_main
        GTest::gmock Threads::Threads)
    target_compile_definitions(${name} PRIVATE HX_BINARY_DIR="${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# A fuzz target fuzz/<name>_fuzz.cpp defines LLVMFuzzerTestOneInput. With
# libFuzzer (the "fuzz" preset) it becomes a fuzzer; in every other build it is
# linked with a replay driver and CTest runs it over fuzz/corpus/<name>.
function(hx_add_fuzz_target source)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    get_filename_component(_file "${source}" NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" _name "${_file}")
    set(_target fuzz_${_name})
    if(HX_LIBFUZZER)
        add_executable(${_target} ${source})
        target_compile_options(${_target} PRIVATE -fsanitize=fuzzer)
        target_link_options(${_target} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${_target} ${source} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    endif()
    target_link_libraries(${_target} PRIVATE ${ARG_LIBS} Threads::Threads)
    set(_corpus "${PROJECT_SOURCE_DIR}/fuzz/corpus/${_name}")
    if(NOT HX_LIBFUZZER AND EXISTS "${_corpus}")
        add_test(NAME fuzz_corpus.${_name} COMMAND ${_target} "${_corpus}")
    endif()
endfunction()
