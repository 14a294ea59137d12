// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

/* Line speeds through termios2/BOTHER. Kept in a C unit of its own because
 * <asm/termbits.h> cannot be included together with <termios.h>. */

#ifdef __cplusplus
extern "C" {
#endif

/* Sets input and output speed to any value in bit/s; 0 on success, -1 on
 * failure. Leaves every other line setting as it is. */
int tarvok_serial_set_any_speed(int fd, int speed);

/* The output speed in bit/s, or -1. */
int tarvok_serial_get_speed(int fd);

#ifdef __cplusplus
}
#endif
