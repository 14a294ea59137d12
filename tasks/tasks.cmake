# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# The transfer sequence over a small link interface: Qt Core only.
add_library(tarvok_tasks STATIC
  ${CMAKE_CURRENT_LIST_DIR}/task_transfer.cpp)
target_link_libraries(tarvok_tasks PUBLIC Qt6::Core tarvok_warnings)

# The task table window.
add_library(tarvok_tasks_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/table_form.cpp)
target_link_libraries(tarvok_tasks_ui PUBLIC tarvok_tasks tarvok_platform Qt6::Widgets tarvok_warnings)

# The transfer's port on the real controller link and poll thread.
add_library(tarvok_tasks_link STATIC
  ${CMAKE_CURRENT_LIST_DIR}/link_task_port.cpp)
target_link_libraries(tarvok_tasks_link PUBLIC tarvok_tasks tarvok_link tarvok_warnings)
