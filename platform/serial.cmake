# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers

# Speeds without a Bxxx constant go through termios2 in a C unit of its own
# (<asm/termbits.h> and <termios.h> cannot meet). Built apart so that it gets
# C warning flags only.
add_library(tarvok_serial_speed OBJECT ${CMAKE_CURRENT_LIST_DIR}/serial_speed_linux.c)
target_compile_options(tarvok_serial_speed PRIVATE -Wall -Wextra)
target_include_directories(tarvok_serial_speed PRIVATE ${CMAKE_SOURCE_DIR})

# The serial line: a tty in raw mode behind the SerialPort interface.
add_library(tarvok_serial STATIC
  ${CMAKE_CURRENT_LIST_DIR}/serial_port.cpp
  $<TARGET_OBJECTS:tarvok_serial_speed>)
target_link_libraries(tarvok_serial PUBLIC Qt6::Core tarvok_warnings)

# The far end of a pseudo-terminal, for tests that play the controller.
add_library(tarvok_serial_pty_peer STATIC
  ${CMAKE_CURRENT_LIST_DIR}/serial_pty_peer.cpp)
target_link_libraries(tarvok_serial_pty_peer PUBLIC Qt6::Core tarvok_warnings)
