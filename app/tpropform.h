// The main window: station, options, map, the prediction table and its
// header strips, the clock and the status bar.
#pragma once

#include "engine/bands.h"
#include "app/help_window.h"
#include "app/platform.h"
#include "map/picture.h"
#include "engine/prediction.h"
#include "app/version.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>

class QIODevice;
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QMenu;

namespace Ui {
class TPROPForm;
}

namespace orvela {
class RegIni;
}

namespace orvela::app {

class CoverageWindow;
class PathOverlay;

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

    Ui::TPROPForm& Widgets() { return *ui_; }
    const Settings& Station() const { return settings_; }
    Settings& Station() { return settings_; }
    RegIni& Store() { return *regIni_; }
    bool ProgramReady() const { return programReady_; }
    int Month() const { return month_; }
    int Day() const { return day_; }
    const QString& RemoteLabel() const { return remoteLabel_; }
    // Number of prediction runs made so far.
    int RunCount() const { return runCount_; }
    // Number of times the map was composed and shown.
    int MapUpdateCount() const { return mapUpdateCount_; }

    // The prediction run for the current inputs; nothing before start-up ends.
    void ComputeMUF();
    // Station display: degrees, minutes and seconds of the home position,
    // power and take-off angle.
    void ShowLongitude();
    void ShowLatitude();
    void PlaceHomeMarker();
    void PlaceRemoteMarker();
    // Shades the world map for a moment in UTC and shows it. A picture that
    // is missing or cannot be decoded is reported, and the map keeps what it
    // showed.
    void UpdateMap(std::time_t utc);
    // Decodes the map picture of that name; throws PictureError.
    Picture24 LoadJpegImage(const std::string& mapName);
    // The station setup dialog under a title; true when it was accepted, and
    // the station then shown, stored and used.
    bool OpenSetupDialog(const QString& title);

    // The table's context menu: "Copy as text", "Save as CSV…", "Save as PNG…".
    QMenu* TableMenu() const { return tableMenu_; }
    void CopyTableAsText();
    // Ask for a file, then write it beside its final name and rename it into
    // place; a failure says which file and why.
    void SaveTableAsCsv();
    void SaveTableAsPng();
    // The two lines over the table saved as a picture: the station and the
    // remote point with their positions; the date and time in UTC, the flux,
    // the power, the antenna and the display format.
    QStringList ExportCaption() const;
    // The table's rows: the fixed 2-30 MHz, or the amateur bands; chosen in
    // the table's menu and kept in the settings file.
    BandSet Rows() const { return bandSet_; }
    void SetRows(BandSet set);
    QAction* RowsAction(BandSet set) const;
    // The great circle over the map, and the map menu's "Show the path".
    PathOverlay* PathLine() const { return pathOverlay_; }
    QAction* ShowPathAction() const { return showPath_; }
    // The map's context menu: "Go to locator…", "Coverage map…", "Show the path".
    QMenu* MapMenu() const { return mapMenu_; }
    // Asks for a 4- or 6-character locator (GoToDialog, which names a wrong
    // character and stays open) and moves the remote point to its centre as
    // a click there would.
    void GoToLocator();
    // The coverage window for band 1..15 at an hour, made when first asked
    // for; it then follows the window's inputs.
    void OpenCoverage(int band, int utcHour);
    CoverageWindow* Coverage() const;
    // The band the coverage window showed last: 14 MHz before.
    int CoverageBand() const;
    // The remote point moved to whole degrees (longitude positive west), as a
    // click on the map moves it.
    void SetRemotePoint(int latDeg, int lonWestDeg);
    // The directory the program started in, where its help is looked for.
    const QString& StartDir() const { return startDir_; }
    // The program's own help window, once the help has been shown in it.
    THelpForm* HelpWindow() const { return helpWindow_; }

public slots:
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

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InitProgram();
    // A choice of the menus kept at once under Divers; a store that cannot
    // be written is said in a warning, and the choice still holds.
    void StoreChoice(const char* name, int value);
    // Whether the program was told to end during start-up.
    bool Abandoned() const;
    void ReadSettings();
    void FetchSolarFlux();
    void MouseIsDownOnMap(int x, int y);
    void MouseIsMovingOnMap(int x, int y);
    void FormClose();
    // A message box; `why`, when known, becomes its detailed text and goes
    // to the standard error too.
    void Report(MessageIcon icon, const QString& caption, const QString& text, const QString& why);
    void OpenHelpPage(const QString& page);
    // The help: the desktop's viewer for the compiled help (the whole help)
    // or for the page (F1) when it has one, else our own help window.
    void ShowHelp(const QString& page, bool whole);
    // Where the data files are looked for: `first`, then the data folder.
    QStringList DataFolders(const QString& first) const;
    void SaveTable(const QString& caption, const QString& suggestion, const QString& filter,
                   const std::function<bool(QIODevice&)>& write, QWidget* parent = nullptr);

    Services services_;
    std::unique_ptr<Ui::TPROPForm> ui_;
    std::unique_ptr<RegIni> regIni_;
    QButtonGroup* displayGroup_ = nullptr;
    QButtonGroup* agtGroup_ = nullptr;
    QTimer timer_;
    QMenu* tableMenu_ = nullptr;
    QMenu* mapMenu_ = nullptr;

    // Values before the settings are read, kept when the read fails early.
    Settings settings_{"", 0, 0, 0, false, static_cast<DisplayFormat>(0), Antenna::Isotropic, 0};
    Workspace workspace_;
    Prediction prediction_;
    bool programReady_ = false;
    int month_ = 1;
    int day_ = 1;
    QString remoteLabel_;
    QString startDir_;
    QPointer<THelpForm> helpWindow_;
    QPointer<CoverageWindow> coverage_;
    PathOverlay* pathOverlay_ = nullptr;
    BandSet bandSet_ = BandSet::Fixed;
    QAction* fixedRows_ = nullptr;
    QAction* amateurRows_ = nullptr;
    QAction* showPath_ = nullptr;
    // The inputs of the last run, which the coverage window follows.
    RunInput lastInput_;
    // The table cell the context menu was opened on (column, row).
    QPoint menuCell_{-1, -1};
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
