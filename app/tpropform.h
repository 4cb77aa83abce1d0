// The main window: station, options, map, the prediction table and its
// header strips, the clock and the status bar. Its handlers tie the
// controls to the prediction run and hand everything else to a
// collaborator of one concern each: the remote point, the mouse over the
// map, the two context menus, table export, the help files and the
// coverage and planner windows.
#pragma once

#include "engine/bands.h"
#include "app/platform.h"
#include "map/picture.h"
#include "engine/prediction.h"
#include "station/settings_schema.h"
#include "app/version.h"

#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <ctime>
#include <memory>

class QAction;
class QButtonGroup;

namespace Ui {
class TPROPForm;
}

namespace orvela {
class RegIni;
}

namespace orvela::app {

class CoverageLink;
class HelpFiles;
class MapMenu;
class PathOverlay;
class PlannerLink;
class PredictionDate;
class RemotePoint;
class TableExporter;
class TableMenu;

class TPROPForm : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* TitleText = "Orvela v" ORVELA_RELEASE_NAME;
    static constexpr const char* Credit = "  HF propagation forecast by Talvik Software";
    static constexpr const char* WebAddress = "orvela.example";
    // The application's title, the caption of its plain message boxes.
    static constexpr const char* ApplicationTitle = "ORVELA v" ORVELA_RELEASE_NAME;
    // The width of the composed map, and the map image's size.
    static constexpr int MapWidth = 512;
    static constexpr int MapImageHeight = 257;
    // The day/night map is composed again at least this often, so that the
    // terminator and the sun follow the clock.
    static constexpr int MapRefreshSeconds = 300;

    // Creates the window and runs the whole start-up sequence; the window is
    // shown by the caller.
    explicit TPROPForm(const Services& services, QWidget* parent = nullptr);
    ~TPROPForm() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void ChangeBtnClick();
    void HelpBtnClick();
    void InfoBtnClick();
    void AboutBtnClick();
    void CellWasSelected(int col, int row);
    void AGTGroupClick(int index);
    void DisplayGroupClick(int index);
    void LongPathBoxClick(bool checked);
    void FLXSpinChange();
    void PWRSpinChange();
    void ANGSpinChange();
    void DESTLongChange();
    void DESTLatChange();
    // Once a second: the clock panel; when the UTC hour has turned, the
    // prediction again; every MapRefreshSeconds, the map again.
    void TimerClick();

private:
    // The tests reach the window's state through this class alone
    // (tests/app/window_probe.h).
    friend class TPROPFormProbe;

    // The collaborators, the option groups, the menus and the connections.
    void BuildWindow();
    void InitProgram();
    // A choice of the menus kept at once; a store that cannot be written is
    // said in a warning, and the choice still holds.
    void StoreChoice(SettingId choice);
    // The settings as the window holds them now, as the settings file keeps
    // them.
    StoredSettings Kept() const;
    // Whether the program was told to end during start-up.
    bool Abandoned() const;
    void ReadSettings();
    // The start-up bulletin's flux in the flux box, or the fall-back and a
    // report; the bulletin as downloaded.
    SolarFlux FetchSolarFlux();
    // Station display: degrees, minutes and seconds of the home position.
    void ShowLongitude();
    void ShowLatitude();
    void PlaceHomeMarker();
    // Shades the world map for a moment in UTC, moved to the prediction
    // date, and shows it. A picture that
    // is missing or cannot be decoded is reported, and the map keeps what it
    // showed.
    void UpdateMap(std::time_t utc);
    // Decodes the map picture of that name; throws PictureError.
    Picture24 LoadJpegImage(const std::string& mapName);
    // The prediction run for the current inputs; nothing before start-up ends.
    void ComputeMUF();
    // The station setup dialog under a title; true when it was accepted, and
    // the station then shown, stored and used.
    bool OpenSetupDialog(const QString& title);
    void MouseIsDownOnMap(int x, int y);
    void MouseIsMovingOnMap(int x, int y);
    // Every way of moving the remote point moves it as a click on the map
    // does: both spin edits to whole degrees (each change runs its handler),
    // the marker around `markerPixel`, the remote label, and a last run.
    // `label` names the remote point at the head of its header section;
    // empty: "Remote station", as a click gives it.
    void MoveRemotePoint(int lonWestDeg, int latDeg, QPoint markerPixel, const QString& label = QString());
    // Asks for a 4- or 6-character locator or a call sign or prefix
    // (GoToDialog, which names a wrong entry and stays open) and moves the
    // remote point to the locator's centre or the entity's position.
    void GoToLocator();
    // The remote point's label back to "Remote station" once it was moved
    // by hand off the entity a call sign gave.
    void ForgetRemoteEntity();
    // The coverage window for band 1..15 of the rows in use at an hour; it
    // then follows the window's inputs.
    void OpenCoverage(int band, int utcHour);
    // The planner window; it then follows the window's inputs.
    void OpenPlanner();
    // The table's rows, chosen in the table's menu and kept in the settings
    // file.
    void SetRows(BandSet set);
    // The two lines over the table saved as a picture, for what the window
    // shows now.
    QStringList ExportCaption() const;
    void FormClose();
    // A message box; `why`, when known, becomes its detailed text and goes
    // to the standard error too.
    void Report(MessageIcon icon, const QString& caption, const QString& text, const QString& why);

    Services services_;
    std::unique_ptr<Ui::TPROPForm> ui_;
    std::unique_ptr<RegIni> regIni_;
    std::unique_ptr<RemotePoint> remote_;
    std::unique_ptr<HelpFiles> help_;
    std::unique_ptr<TableExporter> exporter_;
    std::unique_ptr<CoverageLink> coverage_;
    std::unique_ptr<PlannerLink> planner_;
    // The prediction date and its flux; every start is on today.
    std::unique_ptr<PredictionDate> date_;
    QButtonGroup* displayGroup_ = nullptr;
    QButtonGroup* agtGroup_ = nullptr;
    QTimer timer_;
    TableMenu* tableMenu_ = nullptr;
    MapMenu* mapMenu_ = nullptr;

    // Values before the settings are read, kept when the read fails early.
    Settings settings_{"", 0, 0, 0, false, static_cast<DisplayFormat>(0), Antenna::Isotropic, 0};
    Workspace workspace_;
    Prediction prediction_;
    bool programReady_ = false;
    QString remoteLabel_;
    PathOverlay* pathOverlay_ = nullptr;
    BandSet bandSet_ = BandSet::Fixed;
    // The menus' choices that the settings file keeps.
    QAction* showPath_ = nullptr;
    // The planner's own targets, as the settings file keeps them.
    QString plannerTargets_;
    // The inputs of the last run, which the coverage window follows.
    RunInput lastInput_;
    int runCount_ = 0;
    int mapUpdateCount_ = 0;
    // The UTC hour the table was last computed for, and the moment the map
    // was last composed for (-1 when never): the clock's tick runs them
    // again when the hour turns and every few minutes.
    int tableHour_ = -1;
    std::time_t mapMoment_ = -1;
    // A map picture the program lacks was reported once; the map is then
    // not composed again.
    bool mapPictureMissing_ = false;
};

} // namespace orvela::app
