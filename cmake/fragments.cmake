# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
# Each unit of a folder declares its targets in a <unit>.cmake file of its own.
file(GLOB tarvok_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
list(SORT tarvok_fragments)
foreach(fragment ${tarvok_fragments})
  include(${fragment})
endforeach()
