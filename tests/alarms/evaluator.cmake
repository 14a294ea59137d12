# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_alarm_evaluator_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/alarm_evaluator_test.cpp
  LIBS tarvok_alarms_eval)
