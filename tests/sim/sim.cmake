# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_sim_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sim_test.cpp
  LIBS tarvok_link)
add_dependencies(tarvok_sim_test tarvok-sim)
