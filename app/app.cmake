# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Shell logic without windows: settings file, language texts, closing order,
# the data module.
add_library(tarvok_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/settings.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.h
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language.h
  ${CMAKE_CURRENT_LIST_DIR}/language.cpp
  ${CMAKE_CURRENT_LIST_DIR}/closing.h
  ${CMAKE_CURRENT_LIST_DIR}/closing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tdm.h
  ${CMAKE_CURRENT_LIST_DIR}/tdm.cpp)
target_link_libraries(tarvok_app PUBLIC
  Qt6::Core tarvok_platform tarvok_journal tarvok_link tarvok_dosing tarvok_archive tarvok_warnings)

# The shell's windows.
add_library(tarvok_app_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/pictures.h
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fonts.h
  ${CMAKE_CURRENT_LIST_DIR}/fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_panel.h
  ${CMAKE_CURRENT_LIST_DIR}/status_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/attention_button.h
  ${CMAKE_CURRENT_LIST_DIR}/attention_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/child_windows.h
  ${CMAKE_CURRENT_LIST_DIR}/child_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_picture.h
  ${CMAKE_CURRENT_LIST_DIR}/splash_picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_form.h
  ${CMAKE_CURRENT_LIST_DIR}/splash_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_box.h
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desk_form.h
  ${CMAKE_CURRENT_LIST_DIR}/desk_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_form.h
  ${CMAKE_CURRENT_LIST_DIR}/main_form.cpp)
target_link_libraries(tarvok_app_ui PUBLIC
  Qt6::Widgets tarvok_app tarvok_alarms_strip tarvok_alarms_eval tarvok_alarms_attention_ui
  tarvok_app_options_ui tarvok_app_options_link tarvok_mimic_ui tarvok_tasks_ui tarvok_tasks_link
  tarvok_platform_jpeg tarvok_warnings)
# The picture is kept as a JPEG and decoded by libjpeg at run time.
qt_add_resources(tarvok_app_ui tarvok_app_pictures
  PREFIX /tarvok
  BASE ${CMAKE_SOURCE_DIR}/resources
  FILES ${CMAKE_SOURCE_DIR}/resources/splash.jpg)

add_executable(tarvok ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(tarvok PRIVATE tarvok_app_ui tarvok_platform_signals tarvok_warnings)
