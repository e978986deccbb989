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

# A library sees the source tree only through the folders of its own layer and
# the layers before it: each folder is offered under its own include root, so
# an include from a later layer does not compile. Test programs, benchmarks
# and fuzz targets that drive whole programs take the source tree itself.
function(hx_expose_folders target)
    foreach(_folder IN LISTS ARGN)
        string(REPLACE "/" "_" _name "${_folder}")
        set(_root "${CMAKE_BINARY_DIR}/include/${_name}")
        get_filename_component(_parent "${_root}/${_folder}" DIRECTORY)
        file(MAKE_DIRECTORY "${_parent}")
        if(NOT EXISTS "${_root}/${_folder}")
            file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${_folder}" "${_root}/${_folder}" SYMBOLIC)
        endif()
        target_include_directories(${target} PUBLIC "${_root}")
    endforeach()
endfunction()
