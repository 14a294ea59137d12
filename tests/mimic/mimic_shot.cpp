// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
// Shows the mimic window at its design size inside an MDI area, lets the
// animation run for a moment and saves a picture of it.
#include "mimic/mnemo_form.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("mimic.png");
    const QString language = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    QMdiArea area;
    area.resize(tarvok::mimic::TMnemoForm::DesignWidth + 8,
                tarvok::mimic::TMnemoForm::DesignHeight + 30);
    auto* form = new tarvok::mimic::TMnemoForm(language);
    QMdiSubWindow* sub = area.addSubWindow(form);
    area.show();
    sub->showMaximized();

    QTimer::singleShot(600, &app, [&] {
        form->grab().save(out);
        app.quit();
    });
    return app.exec();
}
