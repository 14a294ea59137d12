// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QByteArrayView>
#include <QImage>

namespace tarvok::platform {

// Decodes a baseline or progressive JPEG with IJG libjpeg (not Qt's image
// plugins, which may be absent on a stripped installation). Grey and colour
// sources both come back as Format_RGB32. A damaged or truncated stream gives
// a null image instead of ending the process, as libjpeg's default error
// handler would.
QImage decodeJpeg(QByteArrayView bytes);

} // namespace tarvok::platform
