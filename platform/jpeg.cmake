# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
# JPEG decoding through IJG libjpeg (the splash and about picture).
add_library(tarvok_platform_jpeg STATIC ${CMAKE_CURRENT_LIST_DIR}/jpeg_image.cpp)
target_link_libraries(tarvok_platform_jpeg PUBLIC Qt6::Gui tarvok_warnings PRIVATE PkgConfig::LIBJPEG)
