// The prediction table: 25 columns by 19 rows drawn exactly as the engine
// coloured them, with no selection highlight.
#pragma once

#include "engine/prediction.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QTableView>

namespace orvela::app {

// An engine colour (0xRRGGBB) for the toolkit.
inline QColor ToColor(Rgb c)
{
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

class PredictionModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PredictionModel(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The table and the display format it was run for (1..4), which the
    // cells' spoken descriptions need.
    void SetPrediction(const Prediction& p, DisplayFormat display);
    const Prediction& Current() const { return table_; }
    void SetFont(const QFont& f);

private:
    QString Description(int col, int row) const;

    Prediction table_;
    DisplayFormat display_ = DisplayFormat::SignalLevel;
    QFont normal_;
    QFont bold_;
};

class PredictionTable : public QTableView {
    Q_OBJECT
public:
    explicit PredictionTable(QWidget* parent = nullptr);
    void Show(const Prediction& p, DisplayFormat display);
    const Prediction& Current() const { return model_->Current(); }
    // Text of the cell at column col and row row.
    QString CellText(int col, int row) const;
    // Why no cell reached the receiver: shown over the band rows, where the
    // cells would be, and given as the table's accessible description. An
    // empty text takes it away.
    void SetEmptyNotice(const QString& text);
    // The notice shown over the cells, or nothing.
    const QLabel* EmptyNotice() const { return notice_; }

signals:
    // A cell was clicked with the left button (every click, also on the
    // current cell), or became the current one by the keyboard. One click
    // is one signal.
    void CellSelected(int col, int row);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceNotice();

    PredictionModel* model_;
    QLabel* notice_;
    bool pressing_ = false;
};

} // namespace orvela::app
