// The planner's table drawn whole, every row kept and not only those on the
// screen, under the lines that say what it shows: a picture passed around
// alone keeps its station, date and band.
#pragma once

#include <QImage>
#include <QStringList>

class QAbstractItemModel;
class QFont;

namespace orvela::app {

// The model's header and rows with their texts and colours, under
// `caption`; the caption's lines are also the PNG's description.
QImage PlanPicture(const QAbstractItemModel& model, const QStringList& caption, const QFont& font);

} // namespace orvela::app
