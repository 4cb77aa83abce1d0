#include "app/main_window_style.h"

#include "app/marker_shape.h"
#include "app/prediction_table.h"
#include "app/ui_tpropform.h"

#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QPalette>

namespace orvela::app {

namespace {

constexpr Rgb InactiveCaptionGradient = 0xD7E4F2; // the window's background
constexpr Rgb ButtonFace = 0xF0F0F0;

void SetBackground(QWidget* w, Rgb c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, ToColor(c));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void SetBold(QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

} // namespace

void StyleMainWindow(QWidget& window, Ui::TPROPForm& ui)
{
    window.setFixedSize(856, 614);
    window.setWindowIcon(QIcon(QStringLiteral(":/icons/orvela.svg")));

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStretch(QFont::SemiCondensed); // the substitute is wider than the original face
    window.setFont(font);
    SetBackground(&window, InactiveCaptionGradient);
    for (QWidget* w : {static_cast<QWidget*>(ui.LocalGroupBox), static_cast<QWidget*>(ui.RemoteGroupBox),
                       static_cast<QWidget*>(ui.SolarBox), static_cast<QWidget*>(ui.DisplayGroup)}) {
        SetBackground(w, ButtonFace);
    }
    for (QWidget* w : {static_cast<QWidget*>(ui.LocalGroupBox), static_cast<QWidget*>(ui.RemoteGroupBox)}) {
        SetBold(w);
        for (QWidget* child : w->findChildren<QWidget*>()) {
            if (child != ui.LBL3 && child != ui.LBL4 && child != ui.DESTLong && child != ui.DESTLat) {
                QFont f = child->font();
                f.setBold(false);
                child->setFont(f);
            }
        }
    }

    // Numbers are read and written with a point whatever the user's locale.
    for (QWidget* w :
         {static_cast<QWidget*>(ui.FLXSpin), static_cast<QWidget*>(ui.DESTLong), static_cast<QWidget*>(ui.DESTLat)}) {
        w->setLocale(QLocale::c());
    }
    QPalette green = ui.DESTLong->palette();
    green.setColor(QPalette::Text, ToColor(0x008000));
    ui.DESTLong->setPalette(green);
    ui.DESTLat->setPalette(green);
    QPalette red = ui.FLXSpin->palette();
    red.setColor(QPalette::Text, ToColor(0xCE0000));
    ui.FLXSpin->setPalette(red);

    ui.ClockPanel->setAutoFillBackground(true);
    QPalette clock = ui.ClockPanel->palette();
    clock.setColor(QPalette::Window, Qt::black);
    clock.setColor(QPalette::WindowText, ToColor(0x00FF00));
    ui.ClockPanel->setPalette(clock);

    // The table's hint shows over its cells, which are drawn by the viewport,
    // on a pale yellow ground.
    ui.MUFGrid->viewport()->setToolTip(ui.MUFGrid->toolTip());
    ui.MUFGrid->setStyleSheet(
        ui.MUFGrid->styleSheet() +
        QStringLiteral(" QToolTip { background-color: #FDE48E; color: #000000; border: 1px solid #000000; }"));

    // The markers, and the coordinates drawn over the map, which leave the
    // mouse to the map under them.
    ui.STA->SetKind(MarkerShape::Kind::Circle);
    ui.CC->SetKind(MarkerShape::Kind::Square);
    ui.MAP->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui.LBL->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont lblFont(QStringLiteral("Arial"));
    lblFont.setBold(true);
    lblFont.setPixelSize(11);
    ui.LBL->setFont(lblFont);

    ui.H1->SetSectionWidths({255, 300, 150, 151});
    ui.H2->SetSectionWidths({180, 120, 170, 160, 226});
}

} // namespace orvela::app
