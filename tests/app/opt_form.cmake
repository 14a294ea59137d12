# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_gtest(tarvok_options_apply_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/options_apply_test.cpp
  LIBS tarvok_app_options)
tarvok_qttest(tarvok_opt_form_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/opt_form_test.cpp
  LIBS tarvok_app_options_ui)
