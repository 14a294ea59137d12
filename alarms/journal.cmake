# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# The event journal, "jur_" daily tables.
add_library(tarvok_journal STATIC ${CMAKE_CURRENT_LIST_DIR}/journal.cpp)
target_link_libraries(tarvok_journal PUBLIC Qt6::Core tarvok_tables tarvok_platform tarvok_warnings)
