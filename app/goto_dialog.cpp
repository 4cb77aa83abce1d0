#include "app/goto_dialog.h"

#include "app/platform.h"
#include "station/locator.h"
#include "app/ui_goto_dialog.h"

#include <string>

namespace orvela::app {

GoToDialog::GoToDialog(MessageBoxes& messages, CountryFiles* countries, QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::GoToDialog>())
    , messages_(messages)
{
    ui_->setupUi(this);
    ui_->LocatorEdit->setMaxLength(static_cast<int>(country::MaxCallLength));
    if (countries == nullptr) {
        noCalls_ = QStringLiteral("Call signs cannot be looked up: there is no country file.");
    } else if (QString problem; (countryFile_ = countries->Get(problem)) == nullptr) {
        noCalls_ = QStringLiteral("Call signs cannot be looked up: ") + problem;
    }
    ui_->CallsProblemLabel->setText(noCalls_);
    ui_->CallsProblemLabel->setVisible(!noCalls_.isEmpty());
    ui_->LocatorEdit->setFocus();
}

GoToDialog::~GoToDialog() = default;

void GoToDialog::done(int result)
{
    if (result == QDialog::Accepted && !TakeEntry()) {
        return;
    }
    QDialog::done(result);
}

bool GoToDialog::TakeEntry()
{
    const QString typed = ui_->LocatorEdit->text().trimmed();
    // One byte per character, so that the wrong place counts characters.
    const std::string upper = LocatorCharacters(typed.toUpper().toStdString());
    // A square needs no sub-square letters: valid ones stand in for the check.
    int bad = FirstBadLocatorCharacter(upper.size() == 4 ? upper + "AA" : upper);
    if (bad == 0 && upper.size() > 6) {
        bad = 7;
    }
    entity_.reset();
    if (bad == 0) {
        // The centre of the square or sub-square.
        const LocatorPoint centre = LocatorCentreWest(upper);
        lat_ = static_cast<double>(centre.LatDeg);
        lonWestDeg_ = static_cast<double>(centre.LonWestDeg);
        return true;
    }
    QString callProblem = noCalls_;
    if (countryFile_ != nullptr) {
        const country::CallLookup found = country::LookUpCall(*countryFile_, typed.toStdString());
        if (found.Found) {
            entity_ = found.Found;
            lat_ = found.Found->LatDeg;
            lonWestDeg_ = found.Found->LonWestDeg;
            return true;
        }
        callProblem = QString::fromStdString(found.Problem);
    }
    // Neither a locator nor a call sign: the locator's fault, then, for
    // anything typed, why it is no call sign.
    QString text =
        QString::fromStdString(LocatorCharacterMessage(bad)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!typed.isEmpty()) {
        text += QStringLiteral("\n") + callProblem;
    }
    messages_.Show(this, MessageIcon::Warning, QStringLiteral("Attention"), text);
    ui_->LocatorEdit->selectAll();
    ui_->LocatorEdit->setFocus();
    return false;
}

QString EntityLabel(const country::CallEntity& entity)
{
    return QString::fromStdString(entity.Name) + QStringLiteral(" (") + QString::fromStdString(entity.PrimaryPrefix) +
           QStringLiteral("), CQ ") + QString::number(entity.CqZone) + QStringLiteral(", ") +
           QString::fromStdString(entity.Continent);
}

} // namespace orvela::app
