# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Settings-dialog rules and the port reopening after it: Qt Core only.
add_library(tarvok_app_options STATIC
  ${CMAKE_CURRENT_LIST_DIR}/options_apply.cpp)
target_link_libraries(tarvok_app_options PUBLIC Qt6::Core tarvok_warnings)

# The settings dialog.
add_library(tarvok_app_options_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/opt_form.cpp)
target_link_libraries(tarvok_app_options_ui PUBLIC tarvok_app_options tarvok_platform Qt6::Widgets tarvok_warnings)

# The reopening's port control on the real controller link and poll thread.
add_library(tarvok_app_options_link STATIC
  ${CMAKE_CURRENT_LIST_DIR}/link_port_control.cpp)
target_link_libraries(tarvok_app_options_link PUBLIC tarvok_app_options tarvok_link tarvok_warnings)
