# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Table engine speed: appends, whole-file reads; also writes sample files for
# bench/tarvok_dbf_vs_ogr.sh.
add_executable(tarvok_tables_bench ${CMAKE_CURRENT_LIST_DIR}/tables_bench.cpp)
target_link_libraries(tarvok_tables_bench PRIVATE tarvok_tables benchmark::benchmark tarvok_warnings)
