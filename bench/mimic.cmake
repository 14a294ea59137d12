# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
add_executable(tarvok_mimic_bench ${CMAKE_CURRENT_LIST_DIR}/mimic_bench.cpp)
target_link_libraries(tarvok_mimic_bench PRIVATE tarvok_mimic_ui benchmark::benchmark tarvok_warnings)
