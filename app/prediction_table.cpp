#include "app/prediction_table.h"

#include "engine/report.h"

#include <QHeaderView>
#include <QResizeEvent>

#include <algorithm>
#include <QMouseEvent>
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
    case Qt::DisplayRole: return QString::fromStdString(c.Text);
    case Qt::BackgroundRole: return ToColor(c.Bg);
    case Qt::ForegroundRole: return ToColor(c.Fg);
    case Qt::FontRole: return c.Bold ? bold_ : normal_;
    case Qt::AccessibleTextRole: return QString::fromStdString(c.Text);
    case Qt::AccessibleDescriptionRole: return Description(index.column(), index.row());
    default: return {};
    }
}

// A result cell for a screen reader: its frequency and hour, then the words
// of its report on one line ("14 Mhz, 12h UTC. Signal level: ...").
QString PredictionModel::Description(int col, int row) const
{
    if (col < 1 || row >= RowUtc) {
        return {};
    }
    // A fixed row is named by its label ("14 Mhz"); an amateur band's label
    // ("40 m 7.1") gives its name: "40 m band".
    QString row0 = QString::fromStdString(table_.At(0, row).Text);
    if (!row0.endsWith(QStringLiteral(" Mhz")) && row0.count(QLatin1Char(' ')) == 2) {
        row0 = row0.section(QLatin1Char(' '), 0, 1) + QStringLiteral(" band");
    }
    QString text =
        row0 + QStringLiteral(", ") + QString::fromStdString(table_.At(col, RowUtc).Text) + QStringLiteral(" UTC");
    if (const std::optional<std::string> report = CellReport(display_, col, row, table_.At(col, row).Text)) {
        QString words = QString::fromStdString(*report);
        words.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text += QStringLiteral(". ") + words.simplified();
    }
    return text;
}

void PredictionModel::SetPrediction(const Prediction& p, DisplayFormat display)
{
    table_ = p;
    display_ = display;
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
    , notice_(new QLabel(viewport()))
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
    // Tab leaves the table for the next control, as in every dialog; the
    // arrow keys move from cell to cell.
    setTabKeyNavigation(false);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: #5C5C5C; background-color: #000000; border: none; }"));

    // The notice lies over the empty cells in the table's amber, and lets
    // every click through to them: the context menu still works.
    notice_->setObjectName(QStringLiteral("EmptyNotice"));
    notice_->setAccessibleName(QStringLiteral("Why the table is empty"));
    notice_->setWordWrap(true);
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setTextFormat(Qt::PlainText);
    notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice_->setFocusPolicy(Qt::NoFocus);
    notice_->setStyleSheet(QStringLiteral(
        "QLabel { background-color: #202020; color: #F7C551; border: 1px solid #5C5C5C; padding: 6px; }"));
    notice_->hide();
}

void PredictionTable::SetEmptyNotice(const QString& text)
{
    notice_->setText(text);
    setAccessibleDescription(text);
    notice_->setVisible(!text.isEmpty());
    PlaceNotice();
}

void PredictionTable::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    PlaceNotice();
}

// Centred on the band rows, at most 600 pixels wide, as high as its
// wrapped text needs.
void PredictionTable::PlaceNotice()
{
    constexpr int MaxWidth = 600;
    constexpr int Margin = 12;
    const QSize area = viewport()->size();
    // The band rows end where the UTC row begins; scrolled out of sight,
    // the whole viewport is taken.
    const int utcRow = rowViewportPosition(RowUtc);
    const int bandRows = utcRow > 0 ? std::min(utcRow, area.height()) : area.height();
    const int width = std::max(0, std::min(MaxWidth, area.width() - 2 * Margin));
    const int height = std::min(notice_->heightForWidth(width), bandRows);
    notice_->setGeometry((area.width() - width) / 2, (bandRows - height) / 2, width, height);
}

void PredictionTable::Show(const Prediction& p, DisplayFormat display)
{
    model_->SetPrediction(p, display);
    setColumnWidth(0, 36);
}

QString PredictionTable::CellText(int col, int row) const
{
    return QString::fromStdString(model_->Current().At(col, row).Text);
}

void PredictionTable::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid() && !pressing_) {
        emit CellSelected(current.column(), current.row());
    }
}

void PredictionTable::mousePressEvent(QMouseEvent* event)
{
    // Only the left button picks a cell. A right click is left to the
    // context menu, which acts on the cells as they are, and the middle
    // button does nothing.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // The click reports its cell itself, whether or not it was current.
    pressing_ = true;
    QTableView::mousePressEvent(event);
    pressing_ = false;
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
        emit CellSelected(at.column(), at.row());
    }
}

} // namespace orvela::app
