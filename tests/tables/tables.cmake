# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_tables_dbf_table_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/dbf_table_test.cpp LIBS tarvok_tables)
tarvok_gtest(tarvok_tables_daily_files_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/daily_files_test.cpp LIBS tarvok_tables)
tarvok_gtest(tarvok_tables_interop_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/interop_test.cpp LIBS tarvok_tables)
tarvok_gtest(tarvok_dbf_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tarvok_dbf_test.cpp LIBS Qt6::Core)
add_dependencies(tarvok_dbf_test tarvok-dbf)
