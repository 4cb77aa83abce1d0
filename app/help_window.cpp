#include "app/help_window.h"

#include "common/whole_file.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace orvela::app {

namespace {

constexpr const char* IndexPage = "index.html";
constexpr int PageRole = Qt::UserRole; // "map.html" or "map.html#drag"

QString ReadPage(const QString& path)
{
    const WholeFile file = ReadWholeFile(QFile::encodeName(path).toStdString());
    return file.Error == 0 ? QString::fromStdString(file.Bytes) : QString();
}

// The plain text of a bit of HTML: tags dropped, entities decoded.
QString PlainText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// The pages' screenshots are as wide as the main window: shown at their own
// size they would push the text aside, so they are drawn narrower.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource || !resource.isValid()) {
            return resource;
        }
        QImage image = resource.typeId() == QMetaType::QImage ? resource.value<QImage>()
                                                              : QImage::fromData(resource.toByteArray());
        if (image.width() > MaxPictureWidth) {
            image = image.scaledToWidth(MaxPictureWidth, Qt::SmoothTransformation);
        }
        return image.isNull() ? resource : QVariant(image);
    }

private:
    static constexpr int MaxPictureWidth = 560;
};

} // namespace

THelpForm::THelpForm(const QString& folder, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , folder_(folder)
{
    setWindowTitle(QStringLiteral("Orvela Help"));
    setAccessibleName(QStringLiteral("Orvela Help"));
    resize(900, 640);

    back_ = new QPushButton(QStringLiteral("&Back"), this);
    back_->setAccessibleName(QStringLiteral("Back"));
    back_->setToolTip(QStringLiteral("The page shown before (Alt+Left)"));
    forward_ = new QPushButton(QStringLiteral("&Forward"), this);
    forward_->setAccessibleName(QStringLiteral("Forward"));
    forward_->setToolTip(QStringLiteral("The page shown after (Alt+Right)"));
    home_ = new QPushButton(QStringLiteral("C&ontents"), this);
    home_->setAccessibleName(QStringLiteral("Contents page"));
    home_->setToolTip(QStringLiteral("The help's first page"));
    close_ = new QPushButton(QStringLiteral("&Close"), this);
    close_->setAccessibleName(QStringLiteral("Close"));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    contents_ = new QTreeWidget(this);
    contents_->setHeaderHidden(true);
    contents_->setAccessibleName(QStringLiteral("Contents"));
    browser_ = new HelpBrowser(this);
    browser_->setAccessibleName(QStringLiteral("Help page"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({folder_});

    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 660});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    // The order a reader goes through: the buttons, the contents, the page.
    setTabOrder(back_, forward_);
    setTabOrder(forward_, home_);
    setTabOrder(home_, close_);
    setTabOrder(close_, contents_);
    setTabOrder(contents_, browser_);

    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QPushButton::clicked, this, [this] { ShowPage(QString::fromLatin1(IndexPage)); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &THelpForm::PageShown);
    connect(contents_, &QTreeWidget::itemActivated, this, &THelpForm::ContentsChosen);
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { ContentsChosen(item); });

    auto* back = new QShortcut(QKeySequence::Back, this);
    connect(back, &QShortcut::activated, browser_, &QTextBrowser::backward);
    auto* forward = new QShortcut(QKeySequence::Forward, this);
    connect(forward, &QShortcut::activated, browser_, &QTextBrowser::forward);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    FillContents();
}

// The contents: the first page, then the pages in the order the first page
// links to them, then any other; under each page its sections (<h2 id=...>).
void THelpForm::FillContents()
{
    const QDir dir(folder_);
    QStringList pages{QString::fromLatin1(IndexPage)};
    static const QRegularExpression link(QStringLiteral("href=\"([A-Za-z0-9_-]+\\.html)[\"#]"));
    for (auto m = link.globalMatch(ReadPage(dir.filePath(QString::fromLatin1(IndexPage)))); m.hasNext();) {
        const QString page = m.next().captured(1);
        if (!pages.contains(page) && dir.exists(page)) {
            pages << page;
        }
    }
    for (const QString& page : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        if (!pages.contains(page)) {
            pages << page;
        }
    }

    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression section(QStringLiteral("<h2 id=\"([^\"]+)\">(.*?)</h2>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QSignalBlocker quiet(contents_);
    for (const QString& page : pages) {
        const QString html = ReadPage(dir.filePath(page));
        const QRegularExpressionMatch t = title.match(html);
        auto* item = new QTreeWidgetItem(contents_, {t.hasMatch() ? PlainText(t.captured(1)) : page});
        item->setData(0, PageRole, page);
        for (auto m = section.globalMatch(html); m.hasNext();) {
            const QRegularExpressionMatch s = m.next();
            auto* child = new QTreeWidgetItem(item, {PlainText(s.captured(2))});
            child->setData(0, PageRole, page + QLatin1Char('#') + s.captured(1));
        }
    }
}

void THelpForm::SetOwner(QWidget* owner)
{
    if (parentWidget() == owner) {
        return;
    }
    // A widget given a new parent is hidden: it is shown again where it was.
    const bool shown = isVisible();
    const QRect place = geometry();
    setParent(owner, windowFlags());
    setGeometry(place);
    if (shown) {
        show();
    }
}

void THelpForm::ShowPage(const QString& page)
{
    const QString name = QDir(folder_).exists(page) ? page : QString::fromLatin1(IndexPage);
    browser_->setSource(QUrl::fromLocalFile(QDir(folder_).filePath(name)));
}

void THelpForm::ContentsChosen(QTreeWidgetItem* item)
{
    if (item == nullptr) {
        return;
    }
    const QString target = item->data(0, PageRole).toString();
    const qsizetype hash = target.indexOf(QLatin1Char('#'));
    QUrl url = QUrl::fromLocalFile(QDir(folder_).filePath(hash < 0 ? target : target.left(hash)));
    if (hash >= 0) {
        url.setFragment(target.mid(hash + 1));
    }
    if (url != browser_->source()) {
        browser_->setSource(url);
    }
}

// The contents follow the page shown, whichever way it was reached.
void THelpForm::PageShown(const QUrl& url)
{
    QString target = url.fileName();
    if (url.hasFragment()) {
        target += QLatin1Char('#') + url.fragment();
    }
    // The section when the contents list it, else its page.
    for (const QString& wanted : {target, url.fileName()}) {
        for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
            if ((*it)->data(0, PageRole).toString() == wanted) {
                const QSignalBlocker quiet(contents_);
                contents_->setCurrentItem(*it);
                return;
            }
        }
    }
}

} // namespace orvela::app
