// The planner window: every DXCC entity, or the user's own call signs,
// prefixes and locators, against the 24 UTC hours of the prediction date,
// on one amateur band or on all of them, in the prediction table's colours.
// It follows the main window's inputs and computes on worker threads below
// the user interface; a row chosen becomes the main window's remote point.
#pragma once

#include "app/platform.h"
#include "app/wake_up_notifier.h"
#include "engine/prediction.h"
#include "planner/plan_worker.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QIODevice;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace Ui {
class PlannerWindow;
}

namespace orvela::app {

class PlanTableModel;

class PlannerWindow : public QWidget {
    Q_OBJECT
public:
    // Saves a file: the window's caption, the suggested name, the filter and
    // what writes the file.
    using SaveFile = std::function<void(QWidget* parent, const QString& caption, const QString& suggestion,
                                        const QString& filter, const std::function<bool(QIODevice&)>& write)>;
    // The targets' choices, in the chooser's order.
    enum class Targets { Entities, MyList };

    // `countries` may be null: only locators are then understood.
    PlannerWindow(CountryFiles* countries, SaveFile save, QWidget* parent = nullptr);
    ~PlannerWindow() override;

    // The main window's inputs (station, options, date); `year` completes
    // the date. A change of what the plan depends on computes it again.
    void Follow(const RunInput& in, int year);
    // The user's list as the settings file keeps it, shown without being
    // stored again.
    void SetEntries(const QString& text);
    QString Entries() const;

    // The newest plan shown; null before the first answer.
    const planner::Plan* Plan() const;
    bool Computing() const;
    std::uint64_t Request() const { return request_; }
    // The inputs of the plan asked last.
    const std::optional<planner::PlanRequest>& Asked() const { return asked_; }

    PlanTableModel* Model() const { return model_; }
    QTableView* Table() const;
    QComboBox* BandBox() const;
    QComboBox* TargetsBox() const;
    QComboBox* SortBox() const;
    QCheckBox* OpenNowBox() const;
    QLineEdit* SearchBox() const;
    QLineEdit* EntriesEdit() const;
    QLabel* StatusLine() const;

    // The plan's rows shown, as CSV and as a captioned picture.
    void SaveAsCsv();
    void SaveAsPng();

signals:
    // A row chosen: the target's position and, for an entity, its name as
    // "Go to…" gives it (empty for a locator).
    void RemotePointPicked(double latDeg, double lonWestDeg, const QString& label);
    // The user's list edited and taken into use.
    void EntriesChanged(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Ask();
    void TakeAnswers();
    void Arrange();
    void UpdateTitle();
    void UpdateStatus();
    void RowChosen(const QModelIndex& index);
    std::vector<planner::Target> CurrentTargets();
    const country::CountryFile* CountryFile();

    std::unique_ptr<Ui::PlannerWindow> ui_;
    CountryFiles* countries_;
    SaveFile save_;
    PlanTableModel* model_ = nullptr;

    std::optional<RunInput> input_;
    int year_ = 2000;
    std::optional<planner::PlanRequest> asked_;
    std::uint64_t request_ = 0;
    QString problem_;
    // Why there is no country file, once asked for; empty while there is one.
    QString countryProblem_;
    bool countryAsked_ = false;
    const country::CountryFile* countryFile_ = nullptr;
    bool askWhenShown_ = false;

    WakeUpNotifier wake_{*this, [this] { TakeAnswers(); }};
    // Last, so that it stops before what it wakes goes.
    std::unique_ptr<planner::PlanWorker> worker_;
};

} // namespace orvela::app
