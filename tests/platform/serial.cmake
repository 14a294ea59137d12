# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_platform_serial_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/serial_port_test.cpp
  LIBS tarvok_serial tarvok_serial_pty_peer)
