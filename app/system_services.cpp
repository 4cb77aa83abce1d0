#include "system_services.h"

#include "tpropform.h"
#include "ui_tpropform.h"

#include <QMessageBox>

namespace orvela::app {

void QtMessageBoxes::Show(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text)
{
    QMessageBox::Icon i = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::Information:
        i = QMessageBox::Information;
        break;
    case MessageIcon::Warning:
        i = QMessageBox::Warning;
        break;
    case MessageIcon::Error:
        i = QMessageBox::Critical;
        break;
    case MessageIcon::None:
        break;
    }
    QMessageBox box(i, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

std::time_t SystemClock::Now() const
{
    return std::time(nullptr);
}

QString NoSolarFlux::ServiceAddress() const
{
    return QStringLiteral("https://services.swpc.noaa.gov");
}

QString NoSolarFlux::FileAddress() const
{
    return QStringLiteral("https://services.swpc.noaa.gov/text/wwv.txt");
}

void DayMapPainter::UpdateMap(TPROPForm& form, std::time_t)
{
    form.Widgets().MAP->setPixmap(QPixmap(QStringLiteral(":/map-day.jpg")));
}

} // namespace orvela::app
