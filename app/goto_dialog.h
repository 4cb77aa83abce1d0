// "Go to": the remote point asked for as a Maidenhead locator of four or
// six characters, or as a call sign or prefix, whose DXCC entity the
// country file gives.
#pragma once

#include "country/call_lookup.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class GoToDialog;
}

namespace orvela::app {

class CountryFiles;
class MessageBoxes;

class GoToDialog : public QDialog {
    Q_OBJECT
public:
    // A wrong entry is named in a warning box of `messages`. Without
    // `countries`, or when it has no file, locators alone are taken and the
    // dialog says why call signs are not.
    GoToDialog(MessageBoxes& messages, CountryFiles* countries, QWidget* parent);
    ~GoToDialog() override;

    Ui::GoToDialog& Widgets() { return *ui_; }

    // OK takes a valid locator, or a call sign or prefix of an entity: a
    // wrong entry is named, and the dialog stays open on the text typed,
    // selected, so that it can be mended or typed over.
    void done(int result) override;

    // Once accepted: the centre of the square or sub-square, or the
    // entity's position (the matching prefix's own where it has one), in
    // degrees, the longitude positive west and the latitude positive north.
    double LonWestDeg() const { return lonWestDeg_; }
    double Latitude() const { return lat_; }
    // Once accepted: the entity of a call sign or prefix; none for a locator.
    const std::optional<country::CallEntity>& Entity() const { return entity_; }

private:
    bool TakeEntry();

    std::unique_ptr<Ui::GoToDialog> ui_;
    MessageBoxes& messages_;
    const country::CountryFile* countryFile_ = nullptr;
    QString noCalls_; // why call signs are not looked up; empty when they are
    double lonWestDeg_ = 0;
    double lat_ = 0;
    std::optional<country::CallEntity> entity_;
};

// "Japan (JA), CQ 25, AS": the entity where the window names the remote point.
QString EntityLabel(const country::CallEntity& entity);

} // namespace orvela::app
