# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Alarm bit changes into events; no widgets, so the poll follow-up and the
# tests use it directly.
add_library(tarvok_alarms_eval STATIC
  ${CMAKE_CURRENT_LIST_DIR}/alarm_evaluator.cpp)
target_link_libraries(tarvok_alarms_eval PUBLIC Qt6::Core tarvok_warnings)
