# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_platform_cp866_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/cp866_test.cpp LIBS tarvok_cp866)
