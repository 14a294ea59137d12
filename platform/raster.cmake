# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
# Memory drawing surfaces, monochrome and colour rasters and raster-operation
# copies over QImage.
add_library(tarvok_platform_raster STATIC
  ${CMAKE_CURRENT_LIST_DIR}/raster.cpp)
target_link_libraries(tarvok_platform_raster PUBLIC Qt6::Gui tarvok_warnings)
