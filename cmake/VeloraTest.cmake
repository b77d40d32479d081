# velora_add_test(<name> SOURCES <files...> LIBS <targets...>)
# Builds one Qt Test executable into build/tests and registers it with CTest,
# with a pinned locale and the offscreen platform so no test needs a screen.
function(velora_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test velora_testlib ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8"
        TIMEOUT 300)
endfunction()
