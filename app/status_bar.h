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
    // The text as the panel shows it: whole when it fits beside the icon,
    // else cut short with an ellipsis. The whole text is the panel's tooltip
    // and part of the bar's accessible description.
    QString ShownText(int panel) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawStatusPanel(QPainter& p, int panel, const QRect& r);
    // Where a panel's text is drawn: right of its icon, a little down.
    static QRect TextRect(const QRect& panel);
    int PanelAt(const QPoint& pos) const;

    std::array<QString, PanelCount> texts_;
    std::array<QPixmap, PanelCount> icons_;
};

} // namespace orvela::app
