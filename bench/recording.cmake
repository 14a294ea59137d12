# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# One poll's follow-up (alarms, dose check, archive append) on an empty and
# on a full day's archive.
add_executable(tarvok_recording_bench ${CMAKE_CURRENT_LIST_DIR}/recording_bench.cpp)
target_link_libraries(tarvok_recording_bench PRIVATE tarvok_dosing tarvok_archive tarvok_alarms_eval
  benchmark::benchmark tarvok_warnings)
