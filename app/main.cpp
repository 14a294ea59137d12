// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/fonts.h"
#include "app/main_form.h"
#include "app/pictures.h"
#include "app/splash_form.h"
#include "app/tdm.h"
#include "platform/clock.h"
#include "platform/term_signals.h"

#include <QApplication>
#include <QScreen>

#include <memory>

using namespace tarvok;

int main(int argc, char* argv[])
{
    platform::settleLocalTimeZone();
    QApplication application(argc, argv);
    app::installFontSubstitutions();
    // Our own picture in title bars and task lists, not the toolkit's logo.
    QApplication::setWindowIcon(app::pictureIcon(app::Picture::Mimic));
    // The attention window may still be open when the main window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    // Installed first, so that a stop during the splash is not lost either:
    // it is carried out as soon as the main window exists.
    platform::TermSignals termSignals;
    app::TMainFormAlb* mainForm = nullptr;
    bool stopRequested = false;
    QObject::connect(&termSignals, &platform::TermSignals::terminationRequested, &application,
                     [&](int) {
                         stopRequested = true;
                         if (mainForm)
                             mainForm->close();
                     });

    auto splash = std::make_unique<app::TSplashForm>();
    splash->showAndPaint();
    splash->holdFor(app::splashMilliseconds());

    app::TDM dm;
    dm.enableControllerLink();
    app::TMainFormAlb form(dm);
    mainForm = &form;
    form.registerWorkstationWindows();
    QObject::connect(&form, &app::TMainFormAlb::closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (form.hasChildFactory(app::Command::Mnemo))
        form.runCommand(app::Command::Mnemo);
    splash.reset();

    if (stopRequested && form.close())
        return 0;
    // Without a window manager (a bare X server, a kiosk) a maximise request
    // is ignored; the screen's free area is what it would have given.
    if (const QScreen* screen = form.screen())
        form.setGeometry(screen->availableGeometry());
    form.showMaximized();
    QApplication::exec();
    return 0;
}
