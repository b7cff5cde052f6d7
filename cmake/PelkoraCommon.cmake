# Language level, warnings and sanitizers shared by every target.
add_library(pelkora_options INTERFACE)
target_compile_features(pelkora_options INTERFACE cxx_std_20)
target_compile_options(pelkora_options INTERFACE -Wall -Wextra -Wpedantic)
if(PELKORA_WERROR)
    target_compile_options(pelkora_options INTERFACE -Werror)
endif()
if(PELKORA_SANITIZE)
    target_compile_options(pelkora_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(pelkora_options INTERFACE -fsanitize=address,undefined)
    # Tests that measure memory allow for the sanitizers' own.
    target_compile_definitions(pelkora_options INTERFACE PELKORA_SANITIZED=1)
endif()

set(PELKORA_SANITIZER_ENV
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# pelkora_add_test(NAME SOURCES a.cpp b.cpp LIBS x y [GUI|CORE] [LABELS l] [TIMEOUT s])
# GUI tests get a QApplication from a shared main and run on the offscreen platform; CORE
# tests get a QCoreApplication and nothing of Qt's GUI modules.
function(pelkora_add_test name)
    cmake_parse_arguments(T "GUI;CORE" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE pelkora_options GTest::gtest ${T_LIBS})
    if(T_GUI)
        target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common/gui_test_main.cpp)
        target_link_libraries(${name} PRIVATE Qt6::Widgets)
    elseif(T_CORE)
        target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common/core_test_main.cpp)
        target_link_libraries(${name} PRIVATE Qt6::Core)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        PELKORA_PROGRAM_DIR="${PELKORA_PROGRAM_DIR}"
        PELKORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        PELKORA_TEST_BIN_DIR="${CMAKE_CURRENT_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    if(PELKORA_SANITIZE)
        # Instrumented code runs several times slower; a limit is for hangs, not for speed.
        math(EXPR T_TIMEOUT "${T_TIMEOUT} * 4")
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${PELKORA_SANITIZER_ENV}")
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()
