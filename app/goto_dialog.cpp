#include "app/goto_dialog.h"

#include "app/platform.h"
#include "station/locator.h"
#include "app/ui_goto_dialog.h"

#include <string>

namespace orvela::app {

GoToDialog::GoToDialog(MessageBoxes& messages, QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::GoToDialog>())
    , messages_(messages)
{
    ui_->setupUi(this);
    ui_->LocatorEdit->setFocus();
}

GoToDialog::~GoToDialog() = default;

void GoToDialog::done(int result)
{
    if (result == QDialog::Accepted && !TakeLocator()) {
        return;
    }
    QDialog::done(result);
}

bool GoToDialog::TakeLocator()
{
    // One byte per character, so that the wrong place counts characters.
    const std::string upper = LocatorCharacters(ui_->LocatorEdit->text().trimmed().toUpper().toStdString());
    // A square needs no sub-square letters: valid ones stand in for the check.
    int bad = FirstBadLocatorCharacter(upper.size() == 4 ? upper + "AA" : upper);
    if (bad == 0 && upper.size() > 6) {
        bad = 7;
    }
    if (bad != 0) {
        messages_.Show(
            this, MessageIcon::Warning, QStringLiteral("Attention"),
            QString::fromStdString(LocatorCharacterMessage(bad)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        ui_->LocatorEdit->selectAll();
        ui_->LocatorEdit->setFocus();
        return false;
    }
    // The centre of the square or sub-square; locators count east positive.
    lat_ = static_cast<double>(upper.size() == 4 ? SquareCentre(upper, "Lat") : LocatorCentre(upper, "Lat"));
    lonWestDeg_ = -static_cast<double>(upper.size() == 4 ? SquareCentre(upper, "Lon") : LocatorCentre(upper, "Lon"));
    return true;
}

} // namespace orvela::app
