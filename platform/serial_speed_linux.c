// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/serial_speed_linux.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

int tarvok_serial_set_any_speed(int fd, int speed)
{
    struct termios2 tio;
    if (speed <= 0 || ioctl(fd, TCGETS2, &tio) != 0)
        return -1;
    tio.c_cflag &= ~(tcflag_t)CBAUD;
    tio.c_cflag |= BOTHER;
    tio.c_cflag &= ~(tcflag_t)(CBAUD << IBSHIFT);
    tio.c_cflag |= (tcflag_t)(BOTHER << IBSHIFT);
    tio.c_ospeed = (speed_t)speed;
    tio.c_ispeed = (speed_t)speed;
    return ioctl(fd, TCSETS2, &tio) == 0 ? 0 : -1;
}

int tarvok_serial_get_speed(int fd)
{
    struct termios2 tio;
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return -1;
    return (int)tio.c_ospeed;
}
