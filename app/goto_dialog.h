// "Go to locator": the remote point asked for as a Maidenhead locator of
// four or six characters.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class GoToDialog;
}

namespace orvela::app {

class MessageBoxes;

class GoToDialog : public QDialog {
    Q_OBJECT
public:
    // A wrong locator is named in a warning box of `messages`.
    GoToDialog(MessageBoxes& messages, QWidget* parent);
    ~GoToDialog() override;

    Ui::GoToDialog& Widgets() { return *ui_; }

    // OK takes a valid locator only: a wrong character is named, and the
    // dialog stays open on the text typed, selected, so that it can be
    // mended or typed over.
    void done(int result) override;

    // Once accepted: the centre of the square or sub-square, in degrees,
    // the longitude positive west and the latitude positive north.
    double LonWestDeg() const { return lonWestDeg_; }
    double Latitude() const { return lat_; }

private:
    bool TakeLocator();

    std::unique_ptr<Ui::GoToDialog> ui_;
    MessageBoxes& messages_;
    double lonWestDeg_ = 0;
    double lat_ = 0;
};

} // namespace orvela::app
