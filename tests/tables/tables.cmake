# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(dbf_table_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/dbf_table_test.cpp LIBS tarvok_tables)
