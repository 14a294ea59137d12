# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_platform_raster_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raster_test.cpp
  LIBS tarvok_platform_raster)
