# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Trend archive recording, "arh_" daily tables.
add_library(tarvok_archive STATIC ${CMAKE_CURRENT_LIST_DIR}/archive_recorder.cpp)
target_link_libraries(tarvok_archive PUBLIC Qt6::Core tarvok_tables tarvok_platform tarvok_warnings)
