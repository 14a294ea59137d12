# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_link_codec_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_codec_test.cpp
  LIBS tarvok_link tarvok_sim_core)

tarvok_gtest(tarvok_link_exchange_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/controller_link_test.cpp
  LIBS tarvok_link tarvok_sim_core tarvok_serial_pty_peer)

tarvok_gtest(tarvok_link_supervisor_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/link_supervisor_test.cpp
  LIBS tarvok_link)

tarvok_gtest(tarvok_link_poll_thread_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/poll_thread_test.cpp
  LIBS tarvok_link tarvok_sim_core)
