# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_alarms_journal_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/journal_test.cpp LIBS tarvok_journal)
