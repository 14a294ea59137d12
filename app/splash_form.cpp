// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/splash_form.h"

#include "app/splash_picture.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace tarvok::app {

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(478, 206);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(rect());
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(0xA7, 0xA7, 0xD4));
    panel->setPalette(pal);

    addNamePlate(panel, QPoint(32, 114));

    auto* bevel1 = new QFrame(panel);
    bevel1->setObjectName(QStringLiteral("Bevel1"));
    bevel1->setFrameStyle(QFrame::HLine | QFrame::Raised);
    bevel1->setGeometry(8, 179, 457, 2);

    auto* label1 = new QLabel(QStringLiteral("Загружается..."), panel);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(8, 184, 457, 16);
    label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    colourText(label1, QColor(0x36, 0x36, 0x70));

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplashForm::showAndPaint()
{
    show();
    raise();
    repaint();
    QCoreApplication::processEvents();
}

void TSplashForm::holdFor(int milliseconds)
{
    // Events keep being handled meanwhile: the splash repaints when exposed
    // and a stop request is noted for when the main window exists.
    QEventLoop wait;
    QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
    wait.exec();
}

int splashMilliseconds()
{
    bool ok = false;
    const int fromEnv = qEnvironmentVariableIntValue("TARVOK_SPLASH_MS", &ok);
    return ok && fromEnv >= 0 ? fromEnv : 3000;
}

} // namespace tarvok::app
