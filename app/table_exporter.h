// The prediction table taken away: copied as tab-separated text, saved as
// a CSV file, or saved as a picture under two lines that say what it shows.
// A file is written beside its final name and then renamed into place, so
// that a failed save leaves no half-written file; the failure says which
// file and why.
#pragma once

#include "engine/prediction.h"

#include <QStringList>

#include <ctime>
#include <functional>

class QIODevice;
class QWidget;

namespace orvela::app {

struct Services;

// The two lines over the table saved as a picture: the station and the
// remote point with their positions; the date and time in UTC, the flux,
// the power, the antenna and the display format of `table`.
QStringList TableCaption(const Settings& station, int remoteLatDeg, int remoteLonWestDeg, double flux, std::time_t now,
                         const Prediction& table);

class TableExporter {
public:
    // Asks for files and reports failures through the services, in
    // dialogs that belong to `window`.
    TableExporter(QWidget& window, const Services& services);

    void CopyAsText(const Prediction& table) const;
    // `in` is the run that filled `table`; it names the file offered.
    void SaveAsCsv(const RunInput& in, const Prediction& table) const;
    // The table as drawn, under the caption's lines.
    void SaveAsPng(const RunInput& in, QWidget& table, const QStringList& caption) const;

    // Asks for a file under `caption`, offering `suggestion` in the home
    // folder, has `write` fill it beside its final name and renames it into
    // place. The dialogs belong to `parent`, or to the window when none.
    void Save(QWidget* parent, const QString& caption, const QString& suggestion, const QString& filter,
              const std::function<bool(QIODevice&)>& write) const;

private:
    QWidget& window_;
    const Services& services_;
};

} // namespace orvela::app
