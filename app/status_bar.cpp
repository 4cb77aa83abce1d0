#include "app/status_bar.h"

#include <QHelpEvent>
#include <QIcon>
#include <QPainter>
#include <QStringList>
#include <QToolTip>

namespace orvela::app {

InfoStatusBar::InfoStatusBar(QWidget* parent)
    : QWidget(parent)
{
    static const char* const files[PanelCount] = {":/icons/status-info.svg", ":/icons/status-transceiver.svg",
                                                  ":/icons/status-antenna.svg", ":/icons/status-globe.svg"};
    for (int i = 0; i < PanelCount; ++i) {
        icons_[i] = QIcon(QString::fromLatin1(files[i])).pixmap(20, 20);
    }
    setAccessibleName(QStringLiteral("Status bar"));
}

void InfoStatusBar::SetPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= PanelCount) {
        return;
    }
    texts_[panel] = text;
    QStringList shown;
    for (const QString& t : texts_) {
        if (!t.isEmpty()) {
            shown << t;
        }
    }
    setAccessibleDescription(shown.join(QStringLiteral("; ")));
    update(PanelRect(panel));
}

void InfoStatusBar::SetPanelIcon(int panel, const QPixmap& icon)
{
    if (panel < 0 || panel >= PanelCount) {
        return;
    }
    icons_[panel] = icon;
    update();
}

QString InfoStatusBar::PanelText(int panel) const
{
    return panel >= 0 && panel < PanelCount ? texts_[panel] : QString();
}

QRect InfoStatusBar::PanelRect(int panel) const
{
    int x = 0;
    for (int i = 0; i < panel; ++i) {
        x += PanelWidths[i];
    }
    // The panels sit inside a two-pixel border, as a status bar's do.
    return QRect(x + 2, 2, PanelWidths[panel] - 4, height() - 4);
}

QRect InfoStatusBar::TextRect(const QRect& panel)
{
    return QRect(QPoint(panel.left() + 23, panel.top() + 3), panel.bottomRight());
}

QString InfoStatusBar::ShownText(int panel) const
{
    if (panel < 0 || panel >= PanelCount) {
        return {};
    }
    return fontMetrics().elidedText(texts_[panel], Qt::ElideRight, TextRect(PanelRect(panel)).width(),
                                    Qt::TextShowMnemonic);
}

int InfoStatusBar::PanelAt(const QPoint& pos) const
{
    for (int i = 0; i < PanelCount; ++i) {
        if (PanelRect(i).contains(pos)) {
            return i;
        }
    }
    return -1;
}

bool InfoStatusBar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int panel = PanelAt(help->pos());
        if (panel >= 0 && !texts_[panel].isEmpty()) {
            QToolTip::showText(help->globalPos(), texts_[panel], this, PanelRect(panel));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void InfoStatusBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    for (int i = 0; i < PanelCount; ++i) {
        const QRect outer = PanelRect(i).adjusted(-1, -1, 1, 1);
        p.setPen(palette().dark().color());
        p.drawLine(outer.topLeft(), outer.topRight());
        p.drawLine(outer.topLeft(), outer.bottomLeft());
        p.setPen(palette().light().color());
        p.drawLine(outer.bottomLeft(), outer.bottomRight());
        p.drawLine(outer.topRight(), outer.bottomRight());
        DrawStatusPanel(p, i, PanelRect(i));
    }
}

void InfoStatusBar::DrawStatusPanel(QPainter& p, int panel, const QRect& r)
{
    p.save();
    // The information icon sits one pixel higher than the others, drawn
    // whole: its clip reaches that pixel up.
    const int top = panel == 0 ? r.top() - 1 : r.top();
    p.setClipRect(r.adjusted(0, top - r.top(), 0, 0));
    p.fillRect(r, palette().window());
    p.drawPixmap(r.left() + 2, top, icons_[panel]);
    p.setPen(palette().windowText().color());
    p.drawText(TextRect(r), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, ShownText(panel));
    p.restore();
}

} // namespace orvela::app
