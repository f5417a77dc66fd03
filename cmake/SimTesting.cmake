# sim_add_test(<target> [TIMEOUT <seconds>] [LABELS <labels...>])
#
# Registers a test executable with CTest. Every test runs on a private system
# bus of its own (scripts/with-private-bus), under the offscreen platform, so
# tests may run in parallel and never touch the machine's buses or display.
function(sim_add_test target)
    cmake_parse_arguments(ARG "" "TIMEOUT" "LABELS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_test(NAME ${target}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-private-bus $<TARGET_FILE:${target}>)
    set_tests_properties(${target} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SIM_BUILD_DIR=${CMAKE_BINARY_DIR};SIM_SOURCE_DIR=${CMAKE_SOURCE_DIR};ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    if(ARG_LABELS)
        set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()
