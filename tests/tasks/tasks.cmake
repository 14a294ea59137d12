# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_task_transfer_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/task_transfer_test.cpp
  LIBS tarvok_tasks)
tarvok_qttest(tarvok_table_form_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/table_form_test.cpp
  LIBS tarvok_tasks_ui)
