// A header strip: a row of raised sections, each holding one text.
#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

namespace orvela::app {

class HeaderStrip : public QWidget {
    Q_OBJECT
public:
    explicit HeaderStrip(QWidget* parent = nullptr);
    void SetSectionWidths(const QVector<int>& widths);
    void SetText(int section, const QString& text);
    QString Text(int section) const;
    int SectionCount() const { return static_cast<int>(texts_.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<int> widths_;
    QStringList texts_;
};

} // namespace orvela::app
