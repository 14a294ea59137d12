# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_app_settings_file_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
  LIBS tarvok_app)

tarvok_gtest(tarvok_app_language_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/language_test.cpp
  LIBS tarvok_app)

tarvok_gtest(tarvok_app_closing_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/closing_test.cpp
  LIBS tarvok_app)

tarvok_qttest(tarvok_app_main_form_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_form_test.cpp
  LIBS tarvok_app_ui)

tarvok_qttest(tarvok_app_shutdown_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/shutdown_test.cpp
  LIBS Qt6::Core)
# The program itself is what this test stops.
add_dependencies(tarvok_app_shutdown_test tarvok)

tarvok_qttest(tarvok_app_term_signals_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/term_signals_test.cpp
  LIBS tarvok_platform_signals)

# The workstation process against the controller simulator.
tarvok_gtest(tarvok_app_workstation_sim_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/workstation_sim_test.cpp
  LIBS tarvok_tables Qt6::Core)
add_dependencies(tarvok_app_workstation_sim_test tarvok tarvok-sim)

tarvok_qttest(tarvok_app_main_form_link_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_form_link_test.cpp
  LIBS tarvok_app_ui)
add_dependencies(tarvok_app_main_form_link_test tarvok-sim)
