#include "app/prediction_date.h"

#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <cmath>
#include <cstdio>

namespace orvela::app {

namespace {

// The map is 512 x 257 at 2, 2 in its panel: the date and its button sit in
// its bottom right corner (Antarctica), clear of the coordinates label in
// the bottom left; the flux's source runs along its top edge (the Arctic).
constexpr int DateLeft = 372, DateTop = 237, DateWidth = 96, ButtonWidth = 44, RowHeight = 20;
constexpr int SourceLeft = 4, SourceTop = 4, SourceWidth = 508;

// A bulletin issued more than this many days before today is stale: NOAA
// issues one every three hours.
constexpr int StaleAfterDays = 2;

QDate LocalDate(std::time_t t)
{
    const CivilDate d = LocalDateOf(t);
    return QDate(d.Year, d.Month, d.Day);
}

CivilDate ToDay(const QDate& d)
{
    return CivilDate{d.year(), d.month(), d.day()};
}

QDate FromDay(const CivilDate& d)
{
    return QDate(d.Year, d.Month, d.Day);
}

// "148", "126.4": the flux as its product gives it.
QString FluxText(double sfu)
{
    const double whole = std::round(sfu);
    return whole == sfu ? QString::number(static_cast<int>(whole)) : QString::number(sfu, 'f', 1);
}

} // namespace

PredictionDate::PredictionDate(QWidget& mapPanel, QDoubleSpinBox& fluxSpin, QGroupBox& solarBox,
                               const Services& services)
    : services_(services)
    , fluxSpin_(fluxSpin)
    , solarBox_(solarBox)
{
    edit_ = new QDateEdit(&mapPanel);
    edit_->setObjectName(QStringLiteral("PredictionDate"));
    edit_->setGeometry(DateLeft, DateTop, DateWidth, RowHeight);
    edit_->setCalendarPopup(true);
    edit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    // The flux was first measured in February 1947.
    edit_->setDateRange(QDate(1947, 2, 14), QDate(2099, 12, 31));
    edit_->setAccessibleName(QStringLiteral("Prediction date"));
    edit_->setToolTip(QStringLiteral("The date the table and the map are for\nAlt+Down opens the calendar"));

    todayButton_ = new QPushButton(QStringLiteral("&Today"), &mapPanel);
    todayButton_->setObjectName(QStringLiteral("TodayButton"));
    todayButton_->setGeometry(DateLeft + DateWidth, DateTop, ButtonWidth, RowHeight);
    todayButton_->setFocusPolicy(Qt::StrongFocus);
    todayButton_->setAccessibleName(QStringLiteral("Back to today"));
    todayButton_->setToolTip(QStringLiteral("Back to today's date and the flux of today's bulletin"));

    source_ = new QLabel(&mapPanel);
    source_->setObjectName(QStringLiteral("FluxSource"));
    source_->setAccessibleName(QStringLiteral("Solar flux source"));
    source_->setWordWrap(true);
    source_->setAttribute(Qt::WA_TransparentForMouseEvents);
    source_->setStyleSheet(QStringLiteral("QLabel { background: rgba(0, 0, 0, 150); color: white; padding: 0 3px; }"));
    source_->setGeometry(SourceLeft, SourceTop, SourceWidth, RowHeight - 4);
    source_->hide();

    for (QWidget* w :
         {static_cast<QWidget*>(edit_), static_cast<QWidget*>(todayButton_), static_cast<QWidget*>(source_)}) {
        w->raise();
    }

    connect(edit_, &QDateEdit::dateChanged, this, &PredictionDate::UserChoseDate);
    connect(todayButton_, &QPushButton::clicked, this, [this] { Choose(today_); });
}

PredictionDate::~PredictionDate()
{
    {
        const std::lock_guard lock(lock_);
        stopping_ = true;
        pending_.reset();
    }
    cancel_.Cancel();
    wakeWorker_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void PredictionDate::Start(std::time_t now, const SolarFlux& bulletin)
{
    today_ = LocalDate(now);
    chosen_ = today_;
    bulletin_ = bulletin;
    {
        const QSignalBlocker block(edit_);
        edit_->setDate(today_);
    }
    NewProducts(bulletin.Ok);
    connect(&fluxSpin_, &QDoubleSpinBox::valueChanged, this, &PredictionDate::FluxEdited);
    started_ = true;
    LookUpFlux();
}

void PredictionDate::Tick(std::time_t now)
{
    if (!started_) {
        return;
    }
    const QDate local = LocalDate(now);
    if (local == today_) {
        return;
    }
    // A new day: the start-up bulletin is yesterday's, and today's is looked
    // for with the other products.
    const bool onToday = chosen_ == today_;
    today_ = local;
    bulletin_.Ok = false;
    NewProducts(false);
    if (onToday) {
        Choose(today_);
    } else {
        // The date stays, but it may have become today.
        LookUpFlux();
        emit DateChanged();
    }
}

CivilDate PredictionDate::Date() const
{
    return ToDay(chosen_);
}

std::time_t PredictionDate::Moment(std::time_t now) const
{
    return now + static_cast<std::time_t>(today_.daysTo(chosen_)) * 86400;
}

void PredictionDate::Choose(const QDate& date)
{
    {
        const QSignalBlocker block(edit_);
        edit_->setDate(date);
    }
    UserChoseDate(edit_->date());
}

void PredictionDate::UserChoseDate(const QDate& date)
{
    if (!started_ || date == chosen_) {
        return;
    }
    chosen_ = date;
    typed_ = false;
    LookUpFlux();
    emit DateChanged();
}

void PredictionDate::NewProducts(bool withBulletin)
{
    if (!services_.FluxProducts) {
        products_.reset();
        return;
    }
    solar::ProductsSettings settings = *services_.FluxProducts;
    settings.Cancel = &cancel_;
    products_ = std::make_shared<solar::SolarProducts>(std::move(settings));
    if (withBulletin) {
        products_->UseBulletin(solar::GeoAlert{true, bulletin_.Issued, bulletin_.Flux, {}});
    }
}

void PredictionDate::LookUpFlux()
{
    // A bulletin issued more than two days before today: a server that
    // stopped updating, or a copy kept somewhere on the way.
    staleText_.clear();
    if (bulletin_.Ok || !bulletin_.Issued.empty()) {
        if (const std::optional<solar::Date> issued = solar::IssueDate(bulletin_.Issued)) {
            const qint64 age = FromDay(*issued).daysTo(today_);
            if (age > StaleAfterDays) {
                staleText_ = QStringLiteral("Stale bulletin: issued %1, %2 days ago")
                                 .arg(QString::fromStdString(bulletin_.Issued))
                                 .arg(age);
            }
        }
    }
    solarBox_.setAccessibleDescription(staleText_.isEmpty() ? QString::fromStdString(bulletin_.Issued) : staleText_);

    ++lastId_;
    if (chosen_ == today_ && bulletin_.Ok) {
        solar::FluxChoice choice;
        choice.Sfu = bulletin_.Flux;
        choice.Source = solar::FluxSource::Bulletin;
        choice.Issued = solar::IssueDate(bulletin_.Issued);
        ShowChoice(choice);
        return;
    }
    if (!products_) {
        ShowSource(QStringLiteral("No flux for %1: no NOAA service to ask. Type one in the flux box.")
                       .arg(chosen_.toString(Qt::ISODate)));
        emit FluxShown();
        return;
    }
    ShowSource(QStringLiteral("Looking for the flux of %1...").arg(chosen_.toString(Qt::ISODate)));
    Ask(fluxSpin_.value());
}

void PredictionDate::Ask(double fallback)
{
    {
        const std::lock_guard lock(lock_);
        pending_ = Request{lastId_, ToDay(chosen_), ToDay(today_), fallback, products_};
        if (!worker_.joinable()) {
            worker_ = std::thread([this] { WorkerLoop(); });
        }
    }
    wakeWorker_.notify_one();
}

void PredictionDate::WorkerLoop()
{
    for (;;) {
        Request request;
        {
            std::unique_lock lock(lock_);
            wakeWorker_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
            if (stopping_) {
                return;
            }
            request = std::move(*pending_);
            pending_.reset();
        }
        solar::FluxChoice choice = solar::FluxForDate(*request.Products, request.Day, request.Today, request.Fallback);
        {
            const std::lock_guard lock(lock_);
            answer_ = Answer{request.Id, std::move(choice)};
        }
        answered_.Raise();
    }
}

void PredictionDate::TakeAnswer()
{
    std::optional<Answer> answer;
    {
        const std::lock_guard lock(lock_);
        answer.swap(answer_);
    }
    // An answer to an older date than the one shown is dropped.
    if (!answer || answer->Id != lastId_) {
        return;
    }
    for (const std::string& line : answer->Choice.Messages) {
        std::fprintf(stderr, "orvela: %s\n", line.c_str());
    }
    ShowChoice(answer->Choice);
}

void PredictionDate::ShowChoice(const solar::FluxChoice& choice)
{
    QStringList why;
    for (const std::string& line : choice.Messages) {
        why << QString::fromStdString(line);
    }
    if (typed_) {
        // The user's own flux stands until the date changes.
        emit FluxShown();
        return;
    }
    if (choice.Source == solar::FluxSource::Default) {
        ShowSource(QStringLiteral("No flux for %1 from NOAA%2. The flux shown is the last one; type one in the "
                                  "flux box.")
                       .arg(chosen_.toString(Qt::ISODate),
                            why.isEmpty() ? QString() : QStringLiteral(": ") + why.constFirst()),
                   why.join(QLatin1Char('\n')));
    } else {
        SetFlux(choice.Sfu);
        ShowSource(FluxText(choice.Sfu) + QStringLiteral(" \u2014 ") +
                       QString::fromStdString(solar::DescribeSource(choice)),
                   why.join(QLatin1Char('\n')));
    }
    emit FluxShown();
}

void PredictionDate::SetFlux(double sfu)
{
    settingFlux_ = true;
    fluxSpin_.setValue(sfu);
    settingFlux_ = false;
}

void PredictionDate::FluxEdited()
{
    if (settingFlux_ || !started_) {
        return;
    }
    typed_ = true;
    ShowSource(FluxText(fluxSpin_.value()) + QStringLiteral(" \u2014 typed"));
}

void PredictionDate::ShowSource(const QString& text, const QString& detail)
{
    sourceText_ = text;
    const QString shown = staleText_.isEmpty() ? text : text + QLatin1Char('\n') + staleText_;
    source_->setText(shown);
    source_->setToolTip(detail);
    source_->resize(SourceWidth, source_->heightForWidth(SourceWidth));
    source_->show();
    fluxSpin_.setAccessibleDescription(shown);
}

} // namespace orvela::app
