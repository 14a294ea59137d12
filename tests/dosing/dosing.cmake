# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_dose_recorder_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/dose_recorder_test.cpp
  LIBS tarvok_dosing)

# With the simulator on a pseudo-terminal, read back by tarvok-dbf.
tarvok_gtest(tarvok_recording_sim_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/recording_sim_test.cpp
  LIBS tarvok_dosing tarvok_archive tarvok_link)
add_dependencies(tarvok_recording_sim_test tarvok-sim tarvok-dbf)
