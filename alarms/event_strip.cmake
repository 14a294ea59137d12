# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
# The main window's event strip: a capped line model and its drawing.
add_library(tarvok_alarms_strip STATIC
  ${CMAKE_CURRENT_LIST_DIR}/event_strip.h
  ${CMAKE_CURRENT_LIST_DIR}/event_strip.cpp)
target_link_libraries(tarvok_alarms_strip PUBLIC Qt6::Widgets tarvok_platform tarvok_warnings)
