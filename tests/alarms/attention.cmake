# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
tarvok_qttest(tarvok_attention_form_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/attention_form_test.cpp
  LIBS tarvok_alarms_attention_ui)
