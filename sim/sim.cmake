# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# The controller simulator: a separate Linux tool on a pseudo-terminal, with
# frame code of its own so that it catches the workstation's mistakes.
add_library(tarvok_sim_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sim_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plant.cpp)
target_link_libraries(tarvok_sim_core PUBLIC tarvok_warnings)

add_executable(tarvok-sim ${CMAKE_CURRENT_LIST_DIR}/sim_main.cpp)
target_link_libraries(tarvok-sim PRIVATE tarvok_sim_core tarvok_warnings)
