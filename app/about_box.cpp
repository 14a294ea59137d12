// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/about_box.h"

#include "app/language.h"
#include "app/splash_picture.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <qdrawutil.h>

namespace tarvok::app {
namespace {

// Raised inner and lowered outer bevel around the picture and the texts.
class BevelPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        QPainter p(this);
        qDrawShadePanel(&p, rect(), palette(), true, 1);
        qDrawShadePanel(&p, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
    , labVersion_(nullptr)
    , label2_(nullptr)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    setFixedSize(490, 231);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x66, 0x66, 0x9A));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto* panel = new BevelPanel(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(6, 8, 477, 191);
    panel->setAutoFillBackground(true);
    QPalette panelPal = panel->palette();
    panelPal.setColor(QPalette::Window, QColor(0xA7, 0xA7, 0xD4));
    panel->setPalette(panelPal);

    addNamePlate(panel, QPoint(34, 110));

    labVersion_ = new QLabel(panel);
    labVersion_->setObjectName(QStringLiteral("labVersion"));
    labVersion_->setGeometry(106, 153, 129, 16);
    labVersion_->setAlignment(Qt::AlignCenter);
    colourText(labVersion_, Qt::blue);

    label2_ = new QLabel(panel);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(122, 170, 99, 16);
    label2_->setAlignment(Qt::AlignCenter);
    colourText(label2_, Qt::white);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(214, 203, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TAboutBox::FormCreate()
{
    labVersion_->setText(QStringLiteral("Version ") + programVersion());
    label2_->setText(QStringLiteral("21.08.2012"));
}

} // namespace tarvok::app
