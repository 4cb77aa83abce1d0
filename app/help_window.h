// The program's own help window: the help's HTML pages in a browser pane,
// with their contents beside it and Back and Forward. It stands in for the
// compiled help when the desktop has no program for that.
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace orvela::app {

class THelpForm : public QWidget {
    Q_OBJECT
public:
    // `folder` holds the pages, index.html among them.
    THelpForm(const QString& folder, QWidget* owner);

    // The window it belongs to from now on: the window keeps its place and,
    // when open, stays open.
    void SetOwner(QWidget* owner);

    // Shows a page of the folder ("map.html"); the contents page when it has
    // no such page.
    void ShowPage(const QString& page);

    // The folder of the pages.
    const QString& Folder() const { return folder_; }
    QTreeWidget* Contents() const { return contents_; }
    QTextBrowser* Browser() const { return browser_; }
    QPushButton* BackButton() const { return back_; }
    QPushButton* ForwardButton() const { return forward_; }
    QPushButton* HomeButton() const { return home_; }
    QPushButton* CloseButton() const { return close_; }

private:
    void FillContents();
    void ContentsChosen(QTreeWidgetItem* item);
    void PageShown(const QUrl& url);

    QString folder_;
    QTreeWidget* contents_;
    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* forward_;
    QPushButton* home_;
    QPushButton* close_;
};

} // namespace orvela::app
