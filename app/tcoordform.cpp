#include "app/tcoordform.h"

#include "station/call_sign.h"
#include "station/locator.h"
#include "engine/model.h"
#include "station/settings_schema.h"
#include "station/settings_store.h"
#include "station/station_display.h"
#include "app/ui_tcoordform.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>

namespace orvela::app {

namespace {

QFont ArialFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A stored number as a spin edit shows it: clamped to the spin's limits,
// then rounded to the nearest whole number (halves to even).
void SetSpin(QSpinBox* spin, long double v)
{
    if (std::isnan(v)) {
        v = 0;
    }
    v = std::clamp(v, static_cast<long double>(spin->minimum()), static_cast<long double>(spin->maximum()));
    spin->setValue(static_cast<int>(std::nearbyint(v)));
}

// The hemisphere of a degrees spin typed as zero follows the typed sign:
// "-0" is east of Greenwich or south of the equator, "0" west or north.
// The typed text decides, not the spin's value: the spin takes "-0" over a
// stored 5 only later, once the text is final, and its value has no sign.
void OnTypedZero(QSpinBox* spin, QObject* context, std::function<void(bool)> setNegative)
{
    if (auto* edit = spin->findChild<QLineEdit*>()) {
        QObject::connect(edit, &QLineEdit::textEdited, context, [spin, setNegative](const QString& text) {
            QString typed = text.trimmed();
            if (typed.startsWith(spin->prefix()) && typed.endsWith(spin->suffix())) {
                typed = typed.mid(spin->prefix().size(), typed.size() - spin->prefix().size() - spin->suffix().size())
                            .trimmed();
            }
            bool number = false;
            if (typed.toInt(&number) == 0 && number) {
                setNegative(typed.startsWith(QLatin1Char('-')));
            }
        });
    }
}

} // namespace

TCoordForm::TCoordForm(RegIni& store, Settings& settings, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
    , ui_(std::make_unique<Ui::TCoordForm>())
    , store_(store)
    , settings_(settings)
    , messages_(messages)
{
    ui_->setupUi(this);
    setFixedSize(422, 209);
    QFont font = ArialFont(11, false);
    setFont(font);
    ui_->LocalGroupBox->setFont(ArialFont(12, true));
    for (QWidget* child : ui_->LocalGroupBox->findChildren<QWidget*>()) {
        child->setFont(font);
    }
    ui_->INDEdit->setFont(ArialFont(13, true));
    for (QSpinBox* spin : {ui_->LngDeg, ui_->LngMin, ui_->LngSec, ui_->LttDeg, ui_->LttMin, ui_->LttSec}) {
        spin->setFont(ArialFont(11, true));
    }
    for (QSpinBox* spin : findChildren<QSpinBox*>()) {
        spin->setLocale(QLocale::c()); // whole numbers, no group separators
    }
    // The degrees, the power and the angle take what the settings allow.
    const auto allow = [](QSpinBox* spin, SettingId id) {
        spin->setRange(SettingRowOf(id).WholeMin(), SettingRowOf(id).WholeMax());
    };
    allow(ui_->LngDeg, SettingId::Longitude);
    allow(ui_->LttDeg, SettingId::Latitude);
    allow(ui_->PWRSpin, SettingId::Power);
    allow(ui_->ANGSpin, SettingId::MinAngle);
    QFont accept = ui_->OkBtn->font();
    accept.setBold(true);
    ui_->OkBtn->setFont(accept);
    ui_->CancelBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    ui_->OkBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));

    connect(ui_->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->QTHEdit, &QLineEdit::textChanged, this, &TCoordForm::QTHEditChange);

    CreateForm();

    // What the power in dBW means in watts, kept up to date under the spin.
    ui_->PWRWatts->setFont(ArialFont(10, false));
    const auto showWatts = [this](int dBW) {
        ui_->PWRWatts->setText(QStringLiteral("= ") + QString::fromStdString(PowerInWatts(dBW)));
    };
    showWatts(ui_->PWRSpin->value());
    connect(ui_->PWRSpin, &QSpinBox::valueChanged, this, showWatts);

    connect(ui_->LngDeg, &QSpinBox::valueChanged, this, &TCoordForm::LngDegChange);
    connect(ui_->LttDeg, &QSpinBox::valueChanged, this, &TCoordForm::LttDegChange);
    OnTypedZero(ui_->LngDeg, this, [this](bool negative) {
        lonNegative_ = negative;
        ShowHemispheres();
    });
    OnTypedZero(ui_->LttDeg, this, [this](bool negative) {
        latNegative_ = negative;
        ShowHemispheres();
    });
}

TCoordForm::~TCoordForm() = default;

void TCoordForm::CreateForm()
{
    // As the store holds the station, each value whatever its range (the
    // spins clamp it); a value of the wrong type in the store was reported
    // at start-up, and the dialog then offers the default.
    StoredSettings stored = StoredDefaults();
    for (const SettingId id : StationSetup) {
        LoadStoredValue(store_, id, stored);
    }
    // Shown as the main window uses it: a stored call sign with a control
    // character in it is offered without, so that accepting mends the file.
    ui_->INDEdit->setText(QString::fromStdString(PrintableCallSign(stored.Station.CallSign)));
    const long double longitude = stored.Station.Longitude;
    const long double latitude = stored.Station.Latitude;
    ui_->PWRSpin->setValue(stored.Station.Power);
    ui_->ANGSpin->setValue(stored.Station.MinAngle);

    const Dms lonWestDms = SplitDMS(longitude);
    SetSpin(ui_->LngDeg, lonWestDms.Degrees);
    SetSpin(ui_->LngMin, lonWestDms.Minutes);
    SetSpin(ui_->LngSec, lonWestDms.Seconds);
    const Dms lat = SplitDMS(latitude);
    SetSpin(ui_->LttDeg, lat.Degrees);
    SetSpin(ui_->LttMin, lat.Minutes);
    SetSpin(ui_->LttSec, lat.Seconds);
    lonNegative_ = std::signbit(longitude);
    latNegative_ = std::signbit(latitude);
    ShowHemispheres();
}

void TCoordForm::ShowHemispheres()
{
    const bool lonShown = lonWordShown_ || ui_->LngDeg->value() == 0;
    const bool latShown = latWordShown_ || ui_->LttDeg->value() == 0;
    ui_->LngLbl->setText(lonShown ? (lonNegative_ ? QStringLiteral("East") : QStringLiteral("West")) : QString());
    ui_->LttLbl->setText(latShown ? (latNegative_ ? QStringLiteral("South") : QStringLiteral("North")) : QString());
}

void TCoordForm::LngDegChange(int value)
{
    if (value != 0) {
        lonNegative_ = value < 0;
    }
    ShowHemispheres();
}

void TCoordForm::LttDegChange(int value)
{
    if (value != 0) {
        latNegative_ = value < 0;
    }
    ShowHemispheres();
}

void TCoordForm::QTHEditChange()
{
    // Positions count characters, not the bytes of an accented letter.
    const std::string upper = LocatorCharacters(ui_->QTHEdit->text().toUpper().toStdString());
    if (upper.size() != 6) {
        return;
    }
    if (const int bad = FirstBadLocatorCharacter(upper); bad != 0) {
        messages_.Show(
            this, MessageIcon::Warning, QStringLiteral("Attention"),
            QString::fromStdString(LocatorCharacterMessage(bad)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return;
    }
    const TLoc lat = LocatorToLoc(upper, "Lat");
    const TLoc lonEastDms = LocatorToLoc(upper, "Lon");
    // The degrees' own change handlers see the new sign first; a 0-degree
    // value takes its hemisphere from the conversion just after.
    SetSpin(ui_->LttDeg, lat.Deg);
    SetSpin(ui_->LttMin, std::fabs(lat.Min));
    SetSpin(ui_->LttSec, std::fabs(lat.Sec));
    SetSpin(ui_->LngDeg, -lonEastDms.Deg);
    SetSpin(ui_->LngMin, std::fabs(lonEastDms.Min));
    SetSpin(ui_->LngSec, std::fabs(lonEastDms.Sec));
    latNegative_ = lat.Sens == "South";
    lonNegative_ = lonEastDms.Sens == "East";
    latWordShown_ = true;
    lonWordShown_ = true;
    ShowHemispheres();
}

void TCoordForm::done(int result)
{
    if (result == QDialog::Accepted && !CloseForm()) {
        return;
    }
    QDialog::done(result);
}

bool TCoordForm::CloseForm()
{
    // A call sign with a control character in it is refused before
    // anything is written: the dialog stays open on what was typed.
    const std::string callSign = ui_->INDEdit->text().toStdString();
    if (TrimmedCallSign(callSign).empty()) {
        messages_.Show(this, MessageIcon::Warning, QStringLiteral("Warning"),
                       QStringLiteral("The call sign is empty: type the station's call sign."));
        ui_->INDEdit->setFocus();
        return false;
    }
    if (const std::optional<std::string> why = CallSignProblem(callSign)) {
        QString text = QString::fromStdString(*why) + QLatin1Char('.');
        text[0] = text[0].toUpper();
        messages_.Show(this, MessageIcon::Warning, QStringLiteral("Warning"), text);
        ui_->INDEdit->setFocus();
        return false;
    }
    const long double longitude =
        ComposeDMS(ui_->LngDeg->value(), ui_->LngMin->value(), ui_->LngSec->value(), lonNegative_);
    const long double latitude =
        ComposeDMS(ui_->LttDeg->value(), ui_->LttMin->value(), ui_->LttSec->value(), latNegative_);
    // One update of the file: a failure leaves the whole station as it was,
    // never a new call sign with the old position.
    StoredSettings accepted;
    accepted.Station.CallSign = callSign; // as typed
    accepted.Station.Longitude = longitude;
    accepted.Station.Latitude = latitude;
    accepted.Station.Power = ui_->PWRSpin->value();
    accepted.Station.MinAngle = ui_->ANGSpin->value();
    try {
        SaveSettings(store_, accepted, StationSetup);
    } catch (const StoreError& e) {
        messages_.Show(this, MessageIcon::Warning, QStringLiteral("Warning"), QString::fromUtf8(e.what()));
        return false;
    }
    settings_.Longitude = longitude;
    settings_.Latitude = latitude;
    return true;
}

} // namespace orvela::app
