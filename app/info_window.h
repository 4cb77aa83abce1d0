// The information window: an introduction to HF propagation and to the
// program, read from Info.txt in the current directory.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace orvela::app {

class TInfoForm : public QWidget {
    Q_OBJECT
public:
    // The text shown when Info.txt cannot be read.
    static constexpr const char* MissingText = "Could not find info file (info.txt)";

    explicit TInfoForm(QWidget* owner);

    QPlainTextEdit* Text() const { return text_; }
    QPushButton* CloseButton() const { return close_; }

    // Loads the text box from a file; false (and the line above) when it
    // cannot be read.
    bool LoadText(const QString& path);

private:
    QPlainTextEdit* text_;
    QPushButton* close_;
};

} // namespace orvela::app
