# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_archive_recorder_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/archive_recorder_test.cpp
  LIBS tarvok_archive)
