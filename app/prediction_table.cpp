#include "prediction_table.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace orvela::app {

namespace {

// Draws a cell's background and text only: no selection or focus marks.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty()) {
            return;
        }
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->drawText(option.rect.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
};

} // namespace

PredictionModel::PredictionModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int PredictionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TableRows;
}

int PredictionModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TableCols;
}

QVariant PredictionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const Cell& c = table_.At(index.column(), index.row());
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(c.Text);
    case Qt::BackgroundRole:
        return ToColor(c.Bg);
    case Qt::ForegroundRole:
        return ToColor(c.Fg);
    case Qt::FontRole:
        return c.Bold ? bold_ : normal_;
    default:
        return {};
    }
}

void PredictionModel::SetPrediction(const Prediction& p)
{
    table_ = p;
    emit dataChanged(index(0, 0), index(TableRows - 1, TableCols - 1));
}

void PredictionModel::SetFont(const QFont& f)
{
    normal_ = f;
    bold_ = f;
    bold_.setBold(true);
}

PredictionTable::PredictionTable(QWidget* parent)
    : QTableView(parent)
    , model_(new PredictionModel(this))
{
    // "Small Fonts" is a narrow bitmap face; the substitute fontconfig picks is
    // usually wider, so it is narrowed to keep texts such as "-12x3s" whole.
    QFont f(QStringLiteral("Small Fonts"));
    f.setPixelSize(9);
    f.setStretch(QFont::Condensed);
    model_->SetFont(f);
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(34);
    verticalHeader()->setDefaultSectionSize(15);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setShowGrid(true);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: #5C5C5C; background-color: #000000; border: none; }"));
}

void PredictionTable::Show(const Prediction& p)
{
    model_->SetPrediction(p);
    setColumnWidth(0, 36);
}

QString PredictionTable::CellText(int col, int row) const
{
    return QString::fromStdString(model_->Current().At(col, row).Text);
}

void PredictionTable::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid()) {
        emit CellSelected(current.column(), current.row());
    }
}

} // namespace orvela::app
