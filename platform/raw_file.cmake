# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Offset-addressed file calls for the table engine (POSIX here).
add_library(tarvok_raw_file STATIC ${CMAKE_CURRENT_LIST_DIR}/raw_file.cpp)
target_link_libraries(tarvok_raw_file PUBLIC Qt6::Core tarvok_warnings)
