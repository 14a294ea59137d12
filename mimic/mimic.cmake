# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
# Transparent drawing, the particle model and the station's pictures (no widgets).
add_library(tarvok_mimic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/gfxutil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bubbles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp)
target_link_libraries(tarvok_mimic PUBLIC tarvok_platform_raster Qt6::Gui tarvok_warnings)

# The mimic diagram window.
add_library(tarvok_mimic_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/mimic_picture.h
  ${CMAKE_CURRENT_LIST_DIR}/mimic_picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mnemo_form.h
  ${CMAKE_CURRENT_LIST_DIR}/mnemo_form.cpp)
target_link_libraries(tarvok_mimic_ui PUBLIC tarvok_mimic tarvok_platform Qt6::Widgets tarvok_warnings)
