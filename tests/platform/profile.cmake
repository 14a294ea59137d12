# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_platform_profile_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/profile_test.cpp
  LIBS tarvok_platform)

tarvok_gtest(tarvok_platform_clock_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/clock_test.cpp
  LIBS tarvok_platform)

tarvok_gtest(tarvok_platform_jpeg_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/jpeg_test.cpp
  LIBS tarvok_platform_jpeg)
