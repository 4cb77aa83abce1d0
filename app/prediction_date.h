// The main window's prediction date: the date control over the map with
// its way back to today, the flux that belongs to the date and the line
// saying where that flux came from.
//
// Today's flux is the start-up bulletin's. Another date's comes from the
// NOAA product that covers it (solar/flux_for_date.h), looked for on a
// worker thread so that a download never stops the window: the worker
// raises a descriptor the window's event loop watches, and the window takes
// the answer of its newest request only. A flux the user types stays until
// the date changes. Left open past local midnight, a window on today moves
// to the new day.
#pragma once

#include "engine/format.h"
#include "app/wake_up_notifier.h"
#include "solar/flux_for_date.h"
#include "solar/transfer_cancel.h"
#include "app/platform.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QDateEdit;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace orvela::app {

class PredictionDate : public QObject {
    Q_OBJECT
public:
    // The controls go on `mapPanel`, over the map's bottom right corner and
    // its top edge; the flux is shown in `fluxSpin`, whose box `solarBox`
    // says when the bulletin is stale.
    PredictionDate(QWidget& mapPanel, QDoubleSpinBox& fluxSpin, QGroupBox& solarBox, const Services& services);
    // Ends a download under way and waits for the worker.
    ~PredictionDate() override;
    PredictionDate(const PredictionDate&) = delete;
    PredictionDate& operator=(const PredictionDate&) = delete;

    // Start-up is done: today is the local date at `now`, and the flux
    // shown is the start-up bulletin's (or the fall-back when it failed).
    void Start(std::time_t now, const SolarFlux& bulletin);
    // The clock's tick: past local midnight, the new day.
    void Tick(std::time_t now);

    CivilDate Date() const;
    bool IsToday() const { return chosen_ == today_; }
    // `now` moved to the chosen date, at the same time of day: the moment
    // the map is shaded for.
    std::time_t Moment(std::time_t now) const;

    QDateEdit& DateEdit() const { return *edit_; }
    QPushButton& TodayButton() const { return *todayButton_; }
    QLabel& SourceLabel() const { return *source_; }

signals:
    // The chosen date changed: the table, the map and what follows them are
    // due again.
    void DateChanged();
    // A flux and its source (or why there is none) are shown for the date.
    void FluxShown();

private:
    struct Request {
        std::uint64_t Id = 0;
        solar::Date Day;
        solar::Date Today;
        double Fallback = 0;
        std::shared_ptr<solar::SolarProducts> Products;
    };
    struct Answer {
        std::uint64_t Id = 0;
        solar::FluxChoice Choice;
    };

    void Choose(const QDate& date);
    void UserChoseDate(const QDate& date);
    // The flux of the chosen date: the bulletin's at once for today, else
    // asked of the worker.
    void LookUpFlux();
    void Ask(double fallback);
    void TakeAnswer();
    void ShowChoice(const solar::FluxChoice& choice);
    void ShowSource(const QString& text, const QString& detail = QString());
    void SetFlux(double sfu);
    void FluxEdited();
    void NewProducts(bool withBulletin);
    void WorkerLoop();

    const Services& services_;
    QDoubleSpinBox& fluxSpin_;
    QGroupBox& solarBox_;
    QDateEdit* edit_ = nullptr;
    QPushButton* todayButton_ = nullptr;
    QLabel* source_ = nullptr;

    QDate today_;
    QDate chosen_;
    bool started_ = false;
    bool settingDate_ = false;
    bool settingFlux_ = false;
    bool typed_ = false;
    SolarFlux bulletin_;
    QString sourceText_;
    QString staleText_;

    std::shared_ptr<solar::SolarProducts> products_;
    std::uint64_t lastId_ = 0;
    // Shared with the worker, under lock_.
    std::mutex lock_;
    std::condition_variable wakeWorker_;
    std::optional<Request> pending_;
    std::optional<Answer> answer_;
    bool stopping_ = false;
    solar::TransferCancel cancel_;
    WakeUpNotifier answered_{*this, [this] { TakeAnswer(); }};
    std::thread worker_;
};

} // namespace orvela::app
