# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_mimic_gfxutil_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/gfxutil_test.cpp
  LIBS tarvok_mimic)
tarvok_gtest(tarvok_mimic_bubbles_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bubbles_test.cpp
  LIBS tarvok_mimic)
tarvok_qttest(tarvok_mimic_form_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mnemo_form_test.cpp
  LIBS tarvok_mimic_ui)

# Shows the window for a moment and saves what it looks like; not a test.
#   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/mimic-shot out.png
add_executable(mimic-shot ${CMAKE_CURRENT_LIST_DIR}/mimic_shot.cpp)
target_link_libraries(mimic-shot PRIVATE tarvok_mimic_ui tarvok_warnings)
set_target_properties(mimic-shot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
