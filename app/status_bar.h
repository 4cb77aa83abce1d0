// The status bar: four owner-drawn panels, each an icon and a text.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>

namespace orvela::app {

class InfoStatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int PanelCount = 4;
    static constexpr std::array<int, PanelCount> PanelWidths = {250, 180, 180, 100};

    explicit InfoStatusBar(QWidget* parent = nullptr);
    void SetPanelText(int panel, const QString& text);
    QString PanelText(int panel) const;
    // The panel's 20 x 20 icon.
    void SetPanelIcon(int panel, const QPixmap& icon);
    QRect PanelRect(int panel) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawStatusPanel(QPainter& p, int panel, const QRect& r);

    std::array<QString, PanelCount> texts_;
    std::array<QPixmap, PanelCount> icons_;
};

} // namespace orvela::app
