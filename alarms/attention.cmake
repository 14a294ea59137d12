# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# The attention window and the rule that at most one exists.
add_library(tarvok_alarms_attention_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/attention_form.cpp)
target_link_libraries(tarvok_alarms_attention_ui PUBLIC tarvok_platform Qt6::Widgets tarvok_warnings)
