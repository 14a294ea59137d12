# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_qttest(tarvok_alarms_event_strip_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/event_strip_test.cpp
  LIBS tarvok_alarms_strip)
