# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# tarvok_gtest(NAME source... LIBS lib...) — one GoogleTest executable under CTest.
function(tarvok_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock tarvok_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVOK_BUILD_DIR=${CMAKE_BINARY_DIR};TARVOK_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    TIMEOUT 300)
endfunction()

# tarvok_qttest(NAME source... LIBS lib...) — one QtTest executable (windows), offscreen.
function(tarvok_qttest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets tarvok_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVOK_BUILD_DIR=${CMAKE_BINARY_DIR};TARVOK_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    TIMEOUT 300)
endfunction()
