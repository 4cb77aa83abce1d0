#include "app/splash.h"
#include "app/version.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

static void InitSplashResources()
{
    Q_INIT_RESOURCE(orvela);
}

namespace orvela::app {

namespace {

QLabel* MakeLabel(QWidget* parent, const QRect& g, int pixelSize, bool bold, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(g);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    l->setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    return l;
}

} // namespace

TSplashForm::TSplashForm(const QString& buildStr, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    InitSplashResources();
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(500, 330);
    picture_ = QPixmap(QStringLiteral(":/map-night.jpg"));

    dateLabel_ = MakeLabel(this, QRect(0, 313, 500, 17), 13, true,
                           QStringLiteral("Version " ORVELA_RELEASE_NAME " (January 2011)  "));
    dateLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dateLabel_->setObjectName(QStringLiteral("DateLabel"));
    infoLabel_ = MakeLabel(
        this, QRect(6, 168, 492, 147), 11, false,
        QStringLiteral("Orvela forecasts short-wave sky-wave propagation from your station to any point on the Earth, "
                       "hour by hour, with the MINIMUF 3.5 model. Its figures are estimates from a simple model of the "
                       "ionosphere and the sun's activity: use them to plan your listening and your contacts, never "
                       "where safety or life depends on a radio link. The program is given as it is, without any "
                       "warranty. You may use it and give copies of it freely, unchanged and without charge."));
    infoLabel_->setWordWrap(true);
    infoLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infoLabel_->setObjectName(QStringLiteral("InfoLabel"));
    buildLabel_ = MakeLabel(this, QRect(363, 143, 127, 17), 16, true, buildStr);
    buildLabel_->setObjectName(QStringLiteral("BuildLabel"));

    tmMainTimer_.setSingleShot(true);
    tmMainTimer_.setInterval(ShowMs);
    tmMainTimer_.start();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TSplashForm::ShowAndWait()
{
    show();
    repaint();
    if (!tmMainTimer_.isActive()) {
        return;
    }
    // The event loop keeps the window painted; the timer's tick ends the wait.
    QEventLoop loop;
    connect(&tmMainTimer_, &QTimer::timeout, &loop, &QEventLoop::quit);
    loop.exec();
}

void TSplashForm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(rect(), picture_);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0.0, QColor(0, 10, 40, 90));
    shade.setColorAt(0.45, QColor(0, 10, 40, 150));
    shade.setColorAt(1.0, QColor(0, 10, 40, 235));
    p.fillRect(rect(), shade);

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(64);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0xF7, 0xC5, 0x51));
    p.drawText(QRect(24, 30, 460, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORVELA"));
    QFont sub(QStringLiteral("Arial"));
    sub.setPixelSize(16);
    p.setFont(sub);
    p.setPen(Qt::white);
    p.drawText(QRect(28, 104, 460, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("HF sky-wave propagation forecast"));
    p.setPen(QPen(QColor(0xF7, 0xC5, 0x51), 2));
    p.drawLine(28, 134, 340, 134);
}

} // namespace orvela::app
