// The splash window shown for two seconds before the main window.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace orvela::app {

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ShowMs = 2000;

    explicit TSplashForm(const QString& buildStr, QWidget* parent = nullptr);
    // Shows the window and keeps it painted until its timer has run out.
    void ShowAndWait();
    bool Running() const { return tmMainTimer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer tmMainTimer_;
    QLabel* dateLabel_;
    QLabel* infoLabel_;
    QLabel* buildLabel_;
    QPixmap picture_;
};

} // namespace orvela::app
