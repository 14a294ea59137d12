# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Code page 866, the code page of text in table files.
add_library(tarvok_cp866 STATIC ${CMAKE_CURRENT_LIST_DIR}/cp866.cpp)
target_link_libraries(tarvok_cp866 PUBLIC Qt6::Core tarvok_warnings)
