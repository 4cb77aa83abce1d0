#include "app/planner_window.h"

#include "app/plan_picture.h"
#include "app/plan_table_model.h"
#include "app/ui_planner_window.h"
#include "common/civil_time.h"
#include "planner/plan_export.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QIODevice>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace orvela::app {

namespace {

// "Japan (JA), CQ 25, AS": an entity where the main window names the
// remote point, as "Go to…" names it.
QString TargetLabel(const planner::Target& t)
{
    if (t.Kind == planner::TargetKind::Locator) {
        return {};
    }
    return QString::fromStdString(t.Name) + QStringLiteral(" (") + QString::fromStdString(t.Prefix) +
           QStringLiteral("), CQ ") + QString::number(t.CqZone) + QStringLiteral(", ") +
           QString::fromStdString(t.Continent);
}

} // namespace

PlannerWindow::PlannerWindow(CountryFiles* countries, SaveFile save, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ui_(std::make_unique<Ui::PlannerWindow>())
    , countries_(countries)
    , save_(std::move(save))
{
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);

    // The amateur bands, the highest first as in the table, then all of them.
    const std::vector<TableBand>& bands = BandsOf(BandSet::Amateur);
    for (auto b = bands.rbegin(); b != bands.rend(); ++b) {
        ui_->PlannerBand->addItem(QString::fromStdString(b->Name), static_cast<double>(b->Mhz));
    }
    ui_->PlannerBand->addItem(QStringLiteral("All bands"), 0.0);
    ui_->PlannerBand->setCurrentIndex(ui_->PlannerBand->count() - 1);
    ui_->PlannerTargets->addItem(QStringLiteral("All DXCC entities"));
    ui_->PlannerTargets->addItem(QStringLiteral("My list"));
    static const char* const SortNames[] = {"Continent", "CQ zone", "Distance", "Bearing", "Name"};
    for (const char* name : SortNames) {
        ui_->PlannerSort->addItem(QString::fromLatin1(name));
    }
    ui_->PlannerSort->setCurrentIndex(static_cast<int>(planner::SortKey::Distance));

    model_ = new PlanTableModel(this);
    ui_->PlannerTable->setModel(model_);
    ui_->PlannerTable->verticalHeader()->hide();
    ui_->PlannerTable->horizontalHeader()->setSectionsClickable(true);
    ui_->PlannerTable->horizontalHeader()->setMinimumSectionSize(18);
    ui_->PlannerTable->horizontalHeader()->setDefaultSectionSize(30);
    ui_->PlannerTable->setColumnWidth(PlanTableModel::NameColumn, 170);
    ui_->PlannerTable->setColumnWidth(PlanTableModel::PrefixColumn, 60);
    ui_->PlannerTable->setColumnWidth(PlanTableModel::DistanceColumn, 55);
    ui_->PlannerTable->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 4);

    connect(ui_->PlannerBand, &QComboBox::currentIndexChanged, this, &PlannerWindow::Ask);
    connect(ui_->PlannerTargets, &QComboBox::currentIndexChanged, this, &PlannerWindow::Ask);
    connect(ui_->PlannerSort, &QComboBox::currentIndexChanged, this, &PlannerWindow::Arrange);
    connect(ui_->PlannerOpenNow, &QCheckBox::toggled, this, &PlannerWindow::Arrange);
    connect(ui_->PlannerSearch, &QLineEdit::textChanged, this, &PlannerWindow::Arrange);
    connect(ui_->PlannerEntries, &QLineEdit::returnPressed, this, [this] {
        emit EntriesChanged(Entries());
        if (ui_->PlannerTargets->currentIndex() != static_cast<int>(Targets::MyList)) {
            ui_->PlannerTargets->setCurrentIndex(static_cast<int>(Targets::MyList)); // asks
        } else {
            Ask();
        }
    });
    connect(ui_->PlannerTable->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (const std::optional<planner::SortKey> key = PlanTableModel::KeyOfColumn(column)) {
            ui_->PlannerSort->setCurrentIndex(static_cast<int>(*key));
        }
    });
    // A double click, or Return on the row.
    connect(ui_->PlannerTable, &QAbstractItemView::activated, this, &PlannerWindow::RowChosen);
    connect(ui_->PlannerSaveCsv, &QPushButton::clicked, this, &PlannerWindow::SaveAsCsv);
    connect(ui_->PlannerSavePng, &QPushButton::clicked, this, &PlannerWindow::SaveAsPng);

    // The worker only wakes this thread; the answer is taken here.
    worker_ = std::make_unique<planner::PlanWorker>(wake_.Raiser());
    UpdateTitle();
    UpdateStatus();
}

// The worker, the last member, stops before what it wakes goes.
PlannerWindow::~PlannerWindow() = default;

QTableView* PlannerWindow::Table() const
{
    return ui_->PlannerTable;
}
QComboBox* PlannerWindow::BandBox() const
{
    return ui_->PlannerBand;
}
QComboBox* PlannerWindow::TargetsBox() const
{
    return ui_->PlannerTargets;
}
QComboBox* PlannerWindow::SortBox() const
{
    return ui_->PlannerSort;
}
QCheckBox* PlannerWindow::OpenNowBox() const
{
    return ui_->PlannerOpenNow;
}
QLineEdit* PlannerWindow::SearchBox() const
{
    return ui_->PlannerSearch;
}
QLineEdit* PlannerWindow::EntriesEdit() const
{
    return ui_->PlannerEntries;
}
QLabel* PlannerWindow::StatusLine() const
{
    return ui_->PlannerStatus;
}

const planner::Plan* PlannerWindow::Plan() const
{
    return model_->Plan();
}

bool PlannerWindow::Computing() const
{
    return worker_->Busy();
}

void PlannerWindow::SetEntries(const QString& text)
{
    ui_->PlannerEntries->setText(text);
}

QString PlannerWindow::Entries() const
{
    return ui_->PlannerEntries->text().trimmed();
}

const country::CountryFile* PlannerWindow::CountryFile()
{
    // Read once, the first time a target needs it.
    if (!countryAsked_) {
        countryAsked_ = true;
        if (countries_ == nullptr) {
            countryProblem_ = QStringLiteral("this program looks up no country file");
        } else {
            countryFile_ = countries_->Get(countryProblem_);
        }
    }
    return countryFile_;
}

std::vector<planner::Target> PlannerWindow::CurrentTargets()
{
    const country::CountryFile* file = CountryFile();
    if (ui_->PlannerTargets->currentIndex() == static_cast<int>(Targets::Entities)) {
        return file ? planner::EntityTargets(*file) : std::vector<planner::Target>{};
    }
    return planner::EntryTargets(file, planner::SplitEntries(Entries().toStdString()));
}

void PlannerWindow::Follow(const RunInput& in, int year)
{
    input_ = in;
    year_ = year;
    UpdateTitle();
    Ask();
}

void PlannerWindow::Ask()
{
    if (!input_) {
        return;
    }
    if (!isVisible()) {
        askWhenShown_ = true;
        return;
    }
    askWhenShown_ = false;
    planner::PlanRequest request;
    planner::PlanInputs& p = request.In;
    p.HomeLatDeg = input_->Station.Latitude;
    p.HomeLonWestDeg = input_->Station.Longitude;
    p.Power = input_->Station.Power;
    p.GainTable = input_->Station.GainTable;
    p.MinAngle = input_->Station.MinAngle;
    p.Flux = input_->Flux;
    p.LongPath = input_->Station.Path;
    p.Date = CivilDate{year_, input_->Month, input_->Day};
    const double mhz = ui_->PlannerBand->currentData().toDouble();
    if (mhz > 0) {
        for (const TableBand& b : BandsOf(BandSet::Amateur)) {
            if (static_cast<double>(b.Mhz) == mhz) {
                p.Band = b;
            }
        }
    }
    request.Targets = CurrentTargets();
    // The same plan is not computed twice: a change of the remote point or
    // of the table's format leaves it as it is.
    if (asked_ && asked_->In == request.In && asked_->Targets == request.Targets) {
        if (model_->CurrentHour() != HighlightedHour(*input_) && model_->Plan() != nullptr) {
            Arrange();
        }
        UpdateStatus();
        return;
    }
    asked_ = request;
    problem_.clear();
    request_ = worker_->Ask(std::move(request));
    UpdateStatus();
}

void PlannerWindow::TakeAnswers()
{
    while (std::optional<planner::PlanAnswer> a = worker_->Take()) {
        if (a->Id != request_) {
            continue;
        }
        if (!a->Problem.empty()) {
            problem_ = QString::fromStdString(a->Problem);
        } else {
            const planner::RowFilter filter{
                ui_->PlannerSearch->text().toStdString(),
                ui_->PlannerOpenNow->isChecked() && input_ ? std::optional<int>(input_->UtcHour) : std::nullopt};
            model_->Show(a->Result, input_ ? HighlightedHour(*input_) : NoHourHighlighted,
                         static_cast<planner::SortKey>(ui_->PlannerSort->currentIndex()), filter);
        }
        UpdateStatus();
    }
}

void PlannerWindow::Arrange()
{
    const planner::RowFilter filter{ui_->PlannerSearch->text().toStdString(), ui_->PlannerOpenNow->isChecked() && input_
                                                                                  ? std::optional<int>(input_->UtcHour)
                                                                                  : std::nullopt};
    const auto key = static_cast<planner::SortKey>(ui_->PlannerSort->currentIndex());
    if (input_ && model_->CurrentHour() != HighlightedHour(*input_) && model_->Plan() != nullptr) {
        // The hour has turned: the mark moves with it.
        model_->Show(model_->SharedPlan(), HighlightedHour(*input_), key, filter);
    } else {
        model_->Arrange(key, filter);
    }
    UpdateStatus();
}

void PlannerWindow::UpdateTitle()
{
    QString what = QStringLiteral("\u2026");
    if (input_) {
        const QString call = QString::fromStdString(input_->Station.CallSign);
        what = (call.isEmpty() ? QString() : call + QStringLiteral(", ")) +
               QString::fromStdString(IsoDate(CivilDate{year_, input_->Month, input_->Day}));
    }
    setWindowTitle(QStringLiteral("Planner \u2014 ") + what);
}

void PlannerWindow::UpdateStatus()
{
    QString text;
    if (!problem_.isEmpty()) {
        text = QStringLiteral("The plan could not be computed: ") + problem_;
    } else if (worker_->Busy()) {
        text = QStringLiteral("Computing\u2026");
    } else if (const planner::Plan* plan = model_->Plan()) {
        text = QStringLiteral("%1 of %2 targets shown").arg(model_->rowCount()).arg(plan->Targets.size());
        text += QStringLiteral("; green: open (at or above the receiver's sensitivity), red: below it, black: no mode");
    }
    if (countryAsked_ && countryFile_ == nullptr) {
        text = QStringLiteral("No country file: %1. Call signs and prefixes cannot be looked up; the locators of your "
                              "list still work. ")
                   .arg(countryProblem_) +
               text;
    }
    ui_->PlannerStatus->setText(text);
}

void PlannerWindow::RowChosen(const QModelIndex& index)
{
    const planner::Plan* plan = model_->Plan();
    if (plan == nullptr || !index.isValid()) {
        return;
    }
    const planner::Target& t = plan->Targets[model_->PlanRowAt(index.row())];
    if (!t.Resolved) {
        return;
    }
    emit RemotePointPicked(t.LatDeg, t.LonWestDeg, TargetLabel(t));
}

void PlannerWindow::SaveAsCsv()
{
    const planner::Plan* plan = model_->Plan();
    if (plan == nullptr) {
        return;
    }
    const std::string csv = planner::PlanCsv(*plan, model_->Visible(), {input_ ? input_->Station.CallSign : ""});
    save_(this, QStringLiteral("Save the plan as CSV"),
          QStringLiteral("planner-%1.csv").arg(QString::fromStdString(IsoDate(plan->In.Date))),
          QStringLiteral("CSV files (*.csv)"), [csv](QIODevice& file) {
              return file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
          });
}

void PlannerWindow::SaveAsPng()
{
    const planner::Plan* plan = model_->Plan();
    if (plan == nullptr) {
        return;
    }
    // The chart's own caption: station, position, date, band, flux, path.
    const std::string chart = planner::PlanChart(*plan, {}, {input_ ? input_->Station.CallSign : ""});
    QStringList caption{QString::fromStdString(chart.substr(0, chart.find('\n'))),
                        QStringLiteral("Green: open (at or above the receiver's sensitivity); red: below it; black: "
                                       "no mode")};
    const QImage picture = PlanPicture(*model_, caption, font());
    save_(this, QStringLiteral("Save the plan as PNG"),
          QStringLiteral("planner-%1.png").arg(QString::fromStdString(IsoDate(plan->In.Date))),
          QStringLiteral("PNG pictures (*.png)"), [picture](QIODevice& out) { return picture.save(&out, "PNG"); });
}

void PlannerWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (askWhenShown_) {
        Ask();
    }
}

void PlannerWindow::closeEvent(QCloseEvent* event)
{
    // A closed window computes nothing: what is under way is given up, and
    // asked again when the window shows.
    if (worker_->Busy()) {
        worker_->Stop();
        asked_.reset();
        askWhenShown_ = true;
    }
    QWidget::closeEvent(event);
}

} // namespace orvela::app
