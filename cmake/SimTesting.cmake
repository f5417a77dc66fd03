# sim_add_test(<name> SOURCES <files...> [LIBS <targets...>] [DEPENDS <targets...>]
#              [DEFINES <definitions...>] [TIMEOUT <seconds>] [LABELS <labels...>])
#
# Builds the test executable <name> from SOURCES, linked with LIBS and Qt Test,
# builds the DEPENDS targets (peers, plug-ins, catalogues) before it, and
# registers it with CTest. Every test runs on a private system bus of its own
# (scripts/with-private-bus), under the offscreen platform, so tests may run in
# parallel and never touch the machine's buses or display.
#
# In sanitizer builds (SIM_SANITIZE) the test also runs under
# scripts/with-sanitizer-check, so that a report from the test or from any
# peer it starts fails it, with the one shared list of third-party leaks in
# tests/lsan.supp; and its time limit grows by SIM_SANITIZE_TIMEOUT_FACTOR.

# Instrumented code runs two to three times slower, and more so when the
# tests share two cores.
set(SIM_SANITIZE_TIMEOUT_FACTOR 3)
set(SIM_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/../tests/lsan.supp)
get_filename_component(SIM_LSAN_SUPPRESSIONS ${SIM_LSAN_SUPPRESSIONS} ABSOLUTE)

function(sim_add_test target)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;DEPENDS;DEFINES;LABELS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} Qt::Test)
    if(ARG_DEFINES)
        target_compile_definitions(${target} PRIVATE ${ARG_DEFINES})
    endif()
    if(ARG_DEPENDS)
        add_dependencies(${target} ${ARG_DEPENDS})
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(command ${CMAKE_SOURCE_DIR}/scripts/with-private-bus $<TARGET_FILE:${target}>)
    set(environment
        "QT_QPA_PLATFORM=offscreen"
        "SIM_BUILD_DIR=${CMAKE_BINARY_DIR}"
        "SIM_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
    if(SIM_SANITIZE)
        math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * ${SIM_SANITIZE_TIMEOUT_FACTOR}")
        list(PREPEND command ${CMAKE_SOURCE_DIR}/scripts/with-sanitizer-check)
        # The environment reaches every process the test starts.
        list(APPEND environment
            "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0"
            "LSAN_OPTIONS=suppressions=${SIM_LSAN_SUPPRESSIONS}:print_suppressions=0"
            "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    endif()
    add_test(NAME ${target} COMMAND ${command})
    set_tests_properties(${target} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${environment}")
    if(ARG_LABELS)
        set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()
