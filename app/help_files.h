// The program's help and its introduction to propagation, looked for in the
// folder the program started in (Info.txt: the current folder), then in
// its data folder. The compiled help, or a page of it for F1, opens in the
// desktop's viewer when it has one, else in the program's own help window.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace orvela::app {

struct Services;
class THelpForm;

class HelpFiles {
public:
    // Opens the help for `window`, which owns the windows opened.
    HelpFiles(QWidget& window, const Services& services);

    // The folder the program started in, where the help is looked for first.
    void SetStartDir(const QString& folder) { startDir_ = folder; }

    // The whole help: its contents page.
    void ShowContents();
    // A page of the help ("map.html").
    void ShowPage(const QString& page);
    // F1 in `window` (the main window or a dialog) shows the page of the
    // control under the mouse, else of the one with the focus.
    void InstallContextHelp(QWidget& window);

    // A new information window showing Info.txt; when none can be read, it
    // says so, and a warning names the folders looked in.
    void ShowInfo();

private:
    void Show(const QString& page, bool whole);
    // Where the data files are looked for: `first`, then the data folder.
    QStringList DataFolders(const QString& first) const;

    QWidget& window_;
    const Services& services_;
    QString startDir_;
    // The program's own help window, once the help has been shown in it.
    QPointer<THelpForm> helpWindow_;
};

} // namespace orvela::app
