# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# The controller link: frame protocol, the serial exchange that fills the
# controller image, link supervision and the poll thread.
add_library(tarvok_link STATIC
  ${CMAKE_CURRENT_LIST_DIR}/controller_image.h
  ${CMAKE_CURRENT_LIST_DIR}/frame_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controller_link.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_supervisor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/poll_thread.cpp)
target_link_libraries(tarvok_link PUBLIC tarvok_serial tarvok_platform Qt6::Core tarvok_warnings)
