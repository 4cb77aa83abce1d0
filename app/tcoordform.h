// The station setup dialog: call sign, home position in degrees, minutes and
// seconds (or from a Maidenhead locator), power and lowest take-off angle.
#pragma once

#include "app/platform.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TCoordForm;
}

namespace orvela {
class RegIni;
struct Settings;
} // namespace orvela

namespace orvela::app {

class TCoordForm : public QDialog {
    Q_OBJECT
public:
    // Creates the dialog and fills it from the store (CreateForm). On Accept
    // the values are written to the store, then the home position becomes
    // that of `settings`.
    TCoordForm(RegIni& store, Settings& settings, MessageBoxes& messages, QWidget* parent);
    ~TCoordForm() override;

    Ui::TCoordForm& Widgets() { return *ui_; }

    // Accept commits the values first: a store that cannot be written is
    // reported and the dialog stays open, with nothing changed in memory.
    void done(int result) override;

    // Whether the home longitude (positive west) and latitude (positive
    // north) shown are negative. The degrees spin of a position less than
    // one degree from zero shows 0 and cannot carry the sign.
    bool LongitudeNegative() const { return lonNegative_; }
    bool LatitudeNegative() const { return latNegative_; }

public slots:
    void QTHEditChange();

private:
    void CreateForm();
    bool CloseForm();
    void LngDegChange(int value);
    void LttDegChange(int value);
    void ShowHemispheres();

    std::unique_ptr<Ui::TCoordForm> ui_;
    RegIni& store_;
    Settings& settings_;
    MessageBoxes& messages_;
    bool lonNegative_ = false;
    bool latNegative_ = false;
    // The hemisphere words are shown after a locator conversion, and
    // whenever the degrees are 0.
    bool lonWordShown_ = false;
    bool latWordShown_ = false;
};

} // namespace orvela::app
