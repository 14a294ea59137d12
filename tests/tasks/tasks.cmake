# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_task_transfer_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/task_transfer_test.cpp
  LIBS tarvok_tasks)
tarvok_qttest(tarvok_table_form_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/table_form_test.cpp
  LIBS tarvok_tasks_ui)
tarvok_qttest(tarvok_tasks_sim_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/link_sim_test.cpp
  LIBS tarvok_tasks_ui tarvok_tasks_link tarvok_app_options_link)
add_dependencies(tarvok_tasks_sim_test tarvok-sim)
