# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Dosing protocol recording, "doz_" daily tables.
add_library(tarvok_dosing STATIC ${CMAKE_CURRENT_LIST_DIR}/dose_recorder.cpp)
target_link_libraries(tarvok_dosing PUBLIC Qt6::Core tarvok_tables tarvok_platform tarvok_warnings)
