# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# dBASE table engine, daily file names and retention.
add_library(tarvok_tables STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dbf_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/daily_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/daily_writer.cpp)
target_link_libraries(tarvok_tables PUBLIC Qt6::Core tarvok_platform tarvok_cp866 tarvok_raw_file tarvok_warnings)

# build/tarvok-dbf FILE...: tables as CSV on standard output.
add_executable(tarvok-dbf ${CMAKE_CURRENT_LIST_DIR}/tarvok_dbf_main.cpp)
target_link_libraries(tarvok-dbf PRIVATE tarvok_tables tarvok_warnings)
