# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
# SIGTERM/SIGINT delivered to the window thread as a Qt signal.
add_library(tarvok_platform_signals STATIC
  ${CMAKE_CURRENT_LIST_DIR}/term_signals.h
  ${CMAKE_CURRENT_LIST_DIR}/term_signals.cpp)
target_link_libraries(tarvok_platform_signals PUBLIC Qt6::Core tarvok_warnings)
