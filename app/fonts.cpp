// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/fonts.h"

#include <QApplication>
#include <QFont>

namespace tarvok::app {

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont layoutFont(QStringLiteral("MS Sans Serif"));
    layoutFont.setPointSize(8);
    QApplication::setFont(layoutFont);
}

} // namespace tarvok::app
