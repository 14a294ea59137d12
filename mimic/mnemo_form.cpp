// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/mnemo_form.h"

#include "mimic/gfxutil.h"
#include "mimic/mimic_picture.h"
#include "mimic/pictures.h"
#include "platform/clock.h"
#include "platform/profile.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

#include <chrono>

namespace tarvok::mimic {

namespace {

const QColor WindowColour(0xDF, 0xDF, 0xDE);
const QColor Lime(0x00, 0xFF, 0x00);
const QColor Red(0xFF, 0x00, 0x00);
const QColor Water(0x00, 0x93, 0xDD);
const QColor LightWater(0x79, 0xD3, 0xFF);
const QColor Grey(0x80, 0x80, 0x80);
const QColor UnitBlue(0x71, 0xD0, 0xFF);
const QColor CurrentYellow(0xFF, 0xFF, 0xB7);

constexpr Color TealRef = platform::rgb(0x00, 0x80, 0x80);

struct PumpUnit {
    const char16_t* name;
    bool lampOn;
    const char16_t* current;
    const char16_t* alarm1;
    const char16_t* alarm2;
    bool running;
};

// The station as the picture shows it; nothing changes it at run time.
constexpr std::array<PumpUnit, TMnemoForm::PumpCount> Pumps = {{
    {u"Н13", true, u"60", nullptr, nullptr, true},
    {u"Н12", false, u"55", u"Повышение", u"напряжения", false},
    {u"Н11", false, u"50", u"Понижение", u"напряжения", false},
    {u"Н10", true, u"50", nullptr, nullptr, true},
    {u"Н09", false, u"40", u"Перекос", u"фаз", false},
    {u"Н08", false, u"70", u"Повышение", u"тока", false},
    {u"Н07", true, u"50", nullptr, nullptr, true},
    {u"Н06", false, u"70", u"Замыкание", u"на корпус", false},
    {u"Н05", false, u"35", u"Понижение ", u"тока", false},
    {u"Н04", false, u"60", u"Нет датчика", u"\"сухого хода\"", false},
    {u"Н03", true, u"55", nullptr, nullptr, true},
    {u"Н02", true, u"50", nullptr, nullptr, true},
    {u"Н01", true, u"60", nullptr, nullptr, true},
}};

// Link-check lamps: the thirteen pumps and the coordinator; false is red.
constexpr std::array<bool, 14> LinkGood = {true, true, true,  true, true,  false, true,
                                           true, false, true, true, true, true,  false};

QString text(const char16_t* s)
{
    return QString::fromUtf16(s);
}

QFont arial(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void setColours(QWidget* w, const QColor& background, const QColor& foreground)
{
    QPalette pal = w->palette();
    if (background.isValid()) {
        pal.setColor(QPalette::Window, background);
        pal.setColor(QPalette::Base, background);
        w->setAutoFillBackground(true);
    }
    pal.setColor(QPalette::WindowText, foreground);
    pal.setColor(QPalette::Text, foreground);
    w->setPalette(pal);
}

QLabel* label(QWidget* parent, const QString& caption, int x, int y, const QFont& font,
              const QColor& colour = Qt::black)
{
    auto* l = new QLabel(caption, parent);
    l->setFont(font);
    setColours(l, QColor(), colour);
    l->adjustSize();
    l->move(x, y);
    return l;
}

QLabel* panel(QWidget* parent, int x, int y, int w, int h, const QColor& background,
              const QString& caption = QString(), const QFont& font = QFont(),
              const QColor& colour = Qt::black)
{
    auto* p = new QLabel(caption, parent);
    p->setGeometry(x, y, w, h);
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p->setLineWidth(1);
    p->setAlignment(Qt::AlignCenter);
    p->setFont(font);
    setColours(p, background, colour);
    return p;
}

QLineEdit* readOnlyBox(QWidget* parent, int x, int y, int w, int h, const QString& value,
                       const QFont& font, const QColor& background = Qt::white)
{
    auto* e = new QLineEdit(value, parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setFont(font);
    e->setAlignment(Qt::AlignCenter);
    e->setTextMargins(0, 0, 0, 0);
    e->setContentsMargins(0, 0, 0, 0);
    e->setGeometry(x, y, w, h);
    setColours(e, background, Qt::black);
    return e;
}

// A round lamp in a box; the circle takes the box's smaller side.
class Lamp : public QWidget {
public:
    Lamp(const QColor& colour, QWidget* parent) : QWidget(parent), m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const int d = std::min(width(), height()) - 1;
        p.setPen(Qt::black);
        p.setBrush(m_colour);
        p.drawEllipse(QRectF((width() - 1 - d) / 2.0, (height() - 1 - d) / 2.0, d, d));
    }

private:
    QColor m_colour;
};

} // namespace

struct TMnemoForm::Offscreen {
    platform::Raster raster;
    QPainter painter; // kept open for the window's life: no set-up per frame

    Offscreen(int w, int h) : raster(platform::Raster::colour(w, h)), painter(&raster.image()) {}
};

TMnemoForm::TMnemoForm(const QString& languageFilePath, QWidget* parent) : QWidget(parent)
{
    FormCreate(languageFilePath);
}

TMnemoForm::~TMnemoForm() = default;

bool TMnemoForm::pumpRunning(int unit)
{
    return Pumps[std::size_t(unit)].running;
}

void TMnemoForm::FormCreate(const QString& languageFilePath)
{
    setObjectName(QStringLiteral("MnemoForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(arial(11, false));
    setColours(this, WindowColour, Qt::black);
    resize(DesignWidth, DesignHeight);
    setMinimumSize(DesignWidth, DesignHeight);

    buildLayout();
    LoadLanguage(languageFilePath);

    // The main pipe sprite goes on with Teal see-through, like the others.
    m_mainOff = std::make_unique<Offscreen>(976, 48);
    m_riserOff = std::make_unique<Offscreen>(47, 447);
    m_shortOff = std::make_unique<Offscreen>(207, 70);
    m_towerOff = std::make_unique<Offscreen>(170, 365);
    m_tube1Painter = std::make_unique<QPainter>(&Tube1->raster().image());

    const auto seed = std::uint32_t(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    m_bubbles = std::make_unique<BubbleField>(seed);
    m_motorFrame = false;

    m_lightBluePen = QPen(LightWater, 1);
    m_bluePen = QPen(Water, 1);
    m_greyPen = QPen(Grey, 1);
    m_blueBrush = QBrush(Water);
    m_greyBrush = QBrush(Grey);

    DrawTimer = new QTimer(this);
    DrawTimer->setObjectName(QStringLiteral("DrawTimer"));
    DrawTimer->setInterval(50);
    connect(DrawTimer, &QTimer::timeout, this, &TMnemoForm::DrawTimerTimer);
    DrawTimer->start();
}

void TMnemoForm::LoadLanguage(const QString& languageFilePath)
{
    const platform::ProfileFile file(languageFilePath);
    const QString section = QStringLiteral("Mnemo");
    setWindowTitle(file.value(section, QStringLiteral("MnemoForm"), text(u"Мнемосхема")));
    btnClose->setText(file.value(section, QStringLiteral("btnClose"), text(u"Закрыть")));
}

void TMnemoForm::buildLayout()
{
    const QFont bold = arial(11, true);

    // Hidden sources of every picture drawn.
    imgMainTube = new MimicPicture(QStringLiteral("imgMainTube"), mainTubePicture(), this);
    imgHiTube = new MimicPicture(QStringLiteral("imgHiTube"), hiTubePicture(), this);
    imgShortTube = new MimicPicture(QStringLiteral("imgShortTube"), shortTubePicture(), this);
    imgTower = new MimicPicture(QStringLiteral("imgTower"), towerPicture(), this);
    imgMot1 = new MimicPicture(QStringLiteral("imgMot1"), motorPicture(0), this);
    imgMot2 = new MimicPicture(QStringLiteral("imgMot2"), motorPicture(1), this);
    for (QWidget* w : {static_cast<QWidget*>(imgMainTube), static_cast<QWidget*>(imgHiTube),
                       static_cast<QWidget*>(imgShortTube), static_cast<QWidget*>(imgTower),
                       static_cast<QWidget*>(imgMot1), static_cast<QWidget*>(imgMot2)})
        w->hide();

    // Date and time.
    QLabel* clockPanel = panel(this, 2, 2, 77, 37, Qt::black);
    clockPanel->setFrameStyle(QFrame::NoFrame);
    LblDate = new QLabel(clockPanel);
    LblDate->setObjectName(QStringLiteral("LblDate"));
    LblDate->setGeometry(2, 4, 71, 14);
    LblTime = new QLabel(clockPanel);
    LblTime->setObjectName(QStringLiteral("LblTime"));
    LblTime->setGeometry(3, 20, 71, 14);
    for (QLabel* l : {LblDate, LblTime}) {
        l->setFont(bold);
        l->setAlignment(Qt::AlignCenter);
        setColours(l, QColor(), Lime);
    }

    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(2, 42, 77, 25);
    connect(btnClose, &QPushButton::clicked, this, &TMnemoForm::btnCloseClick);

    label(this, text(u"Водозабор №4"), 220, 20, arial(24, true), QColor(0x00, 0x00, 0xFF));

    // Link-check row.
    label(this, text(u"Контроль связи"), 256, 104, arial(13, true));
    for (int k = 0; k < 14; ++k) {
        const QString caption = k < PumpCount ? text(Pumps[std::size_t(k)].name) : text(u"Коор");
        panel(this, 20 + 42 * k, 124, 39, 31, LinkGood[std::size_t(k)] ? Lime : Red, caption, bold);
    }

    // Water flow.
    label(this, text(u"Расход воды"), 846, 96, font());
    readOnlyBox(this, 857, 122, 38, 17, QStringLiteral("30"), font());
    label(this, text(u"м"), 898, 124, font());
    label(this, QStringLiteral("3"), 906, 118, arial(8, false));

    // Pipes; the main pipe's picture also carries the branches to the pumps.
    Tube1 = new MimicPicture(QStringLiteral("Tube1"), 976, 59, this);
    Tube1->move(12, 452);
    HiTube = new MimicPicture(QStringLiteral("HiTube"), 47, 447, this);
    HiTube->move(926, 6);
    ShortTube = new MimicPicture(QStringLiteral("ShortTube"), 207, 68, this);
    ShortTube->move(720, 5);
    Tower = new MimicPicture(QStringLiteral("Tower"), 170, 364, this);
    Tower->move(666, 72);
    for (MimicPicture* pic : {Tube1, HiTube, ShortTube, Tower})
        pic->raster().fill(platform::rgb(0xDF, 0xDF, 0xDE));

    // Pump units.
    for (int k = 0; k < PumpCount; ++k) {
        const PumpUnit& unit = Pumps[std::size_t(k)];
        const int X = 16 + 76 * k;
        panel(this, X, 510, 52, 83, UnitBlue);
        QLabel* inner = panel(this, X + 5, 514, 43, 57, WindowColour);
        inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        auto* motor = new MimicPicture(text(unit.name).replace(u'Н', u'H'), imgMot1->image(), this);
        motor->move(X + 9, 516);
        m_motors[std::size_t(k)] = motor;
        auto* lamp = new Lamp(unit.lampOn ? Lime : Red, this);
        lamp->setGeometry(X + 4, 572, 17, 19);
        label(this, text(unit.name), X + 24, 576, bold);

        label(this, text(k <= 5 ? u"Ф5" : u"Ф6"), X + 54, 510, bold);
        label(this, text(u"Ток (А)"), X - 6, 598, font());
        readOnlyBox(this, X + 31, 596, 28, 17, text(unit.current), bold, CurrentYellow);
        label(this, text(u"Авария"), X + 8, 614, font());
        if (unit.alarm1)
            panel(this, X - 6, 628, 69, 31, Red,
                  text(unit.alarm1) + u'\n' + text(unit.alarm2), font(), Qt::white);
        else
            panel(this, X - 6, 628, 69, 31, WindowColour);
    }
}

void TMnemoForm::DrawTimerTimer()
{
    if (!m_mainOff)
        return;
    const QDateTime now = platform::systemClock().now();
    LblDate->setText(platform::shownDate(now.date()));
    LblTime->setText(platform::shownTime(now.time()));
    DrawMnemo();
}

void TMnemoForm::drawBubbles(QPainter& p, const BubbleArea& area, const QPen& outline)
{
    const AreaRule& r = area.rule();
    p.setPen(outline);
    p.setBrush(m_blueBrush);
    for (int i = 0; i < r.count; ++i)
        for (int s = 0; s < 3; ++s) {
            const Particle& q = area.set(s)[std::size_t(i)];
            // An aliased one-pixel outline covers its rectangle's right and
            // bottom edge too: one less keeps the shape inside its box.
            p.drawEllipse(QRect(q.x + r.drawOffsetX, q.y, r.shapeW[std::size_t(s)] - 1,
                                r.shapeH[std::size_t(s)] - 1));
        }
}

void TMnemoForm::pipeFrame(BubbleArea& area, Offscreen& off, const platform::Raster& sprite,
                           MimicPicture* shown)
{
    area.move();
    off.painter.fillRect(QRect(0, 0, off.raster.width(), off.raster.height()), Water);
    drawBubbles(off.painter, area, m_lightBluePen);
    platform::Surface offDC(off.raster);
    DrawWholeBitmapKeyed(offDC, 0, 0, sprite, TealRef);
    if (shown) {
        platform::Surface shownDC(shown->raster());
        platform::bitBlt(shownDC, 0, 0, shown->raster().width(), shown->raster().height(), offDC, 0,
                         0, platform::RasterOp::SrcCopy);
        shown->update();
    }
}

void TMnemoForm::DrawMnemo()
{
    if (!m_mainOff)
        return;
    ++m_frames;
    BubbleField& b = *m_bubbles;

    // Main pipe, then the picture that shows it with the pump branches.
    pipeFrame(b.mainPipe, *m_mainOff, imgMainTube->raster(), nullptr);
    {
        QPainter& p = *m_tube1Painter;
        platform::Raster& tube = Tube1->raster();
        p.fillRect(QRect(0, 0, tube.width(), tube.height()), WindowColour);
        platform::Surface tubeDC(tube);
        const platform::Surface mainDC(m_mainOff->raster);
        platform::bitBlt(tubeDC, 0, 0, m_mainOff->raster.width(), m_mainOff->raster.height(),
                         mainDC, 0, 0, platform::RasterOp::SrcCopy);
        p.setPen(m_greyPen);
        for (int k = 0; k < PumpCount; ++k) {
            p.setBrush(Pumps[std::size_t(k)].running ? m_blueBrush : m_greyBrush);
            // Corners (23 + 76k, 43) and (36 + 76k, 60), both on the outline.
            p.drawRect(QRect(23 + 76 * k, 43, 13, 17));
        }
        Tube1->update();
    }

    pipeFrame(b.riser, *m_riserOff, imgHiTube->raster(), HiTube);
    pipeFrame(b.shortPipe, *m_shortOff, imgShortTube->raster(), ShortTube);

    // Tower: water in the tank above, drops falling through the dark below.
    {
        Offscreen& off = *m_towerOff;
        off.painter.fillRect(QRect(0, 0, off.raster.width(), off.raster.height()), Qt::black);
        b.towerUpper.move();
        b.towerLower.move();
        off.painter.fillRect(QRect(0, 0, off.raster.width(), 141), Water);
        drawBubbles(off.painter, b.towerUpper, m_lightBluePen);
        drawBubbles(off.painter, b.towerLower, m_bluePen);
        platform::Surface offDC(off.raster);
        DrawWholeBitmapKeyed(offDC, 0, -1, imgTower->raster(), TealRef);
        platform::Surface shownDC(Tower->raster());
        platform::bitBlt(shownDC, 0, 0, Tower->raster().width(), Tower->raster().height(), offDC,
                         0, 0, platform::RasterOp::SrcCopy);
        Tower->update();
    }

    // Motors: running ones alternate their two frames, stopped ones stand.
    m_motorFrame = !m_motorFrame;
    for (int k = 0; k < PumpCount; ++k) {
        const bool turned = Pumps[std::size_t(k)].running && m_motorFrame;
        const platform::Surface src((turned ? imgMot2 : imgMot1)->raster());
        platform::Surface dst(m_motors[std::size_t(k)]->raster());
        platform::bitBlt(dst, 0, 0, 34, 51, src, 0, 0, platform::RasterOp::SrcCopy);
        m_motors[std::size_t(k)]->update();
    }
}

void TMnemoForm::btnCloseClick()
{
    close();
    // Inside the MDI area the frame around the window goes with it.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
}

void TMnemoForm::FormClose()
{
    DrawTimer->stop();
    m_tube1Painter.reset();
    m_mainOff.reset();
    m_riserOff.reset();
    m_shortOff.reset();
    m_towerOff.reset();
}

void TMnemoForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

const QImage* TMnemoForm::offscreenMainTube() const
{
    return m_mainOff ? &m_mainOff->raster.image() : nullptr;
}
const QImage* TMnemoForm::offscreenHiTube() const
{
    return m_riserOff ? &m_riserOff->raster.image() : nullptr;
}
const QImage* TMnemoForm::offscreenShortTube() const
{
    return m_shortOff ? &m_shortOff->raster.image() : nullptr;
}
const QImage* TMnemoForm::offscreenTower() const
{
    return m_towerOff ? &m_towerOff->raster.image() : nullptr;
}

} // namespace tarvok::mimic
