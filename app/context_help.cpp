#include "app/context_help.h"

#include <QApplication>
#include <QCursor>
#include <QShortcut>
#include <QWidget>

#include <map>
#include <string>

namespace orvela::app {

namespace {

constexpr const char* KeywordProperty = "helpKeyword";
constexpr const char* ContextProperty = "helpContext";

const std::map<std::string, QString>& Pages()
{
    static const std::map<std::string, QString> pages = {
        {"MAP_ID", QStringLiteral("map.html")},      {"GRAPH_ID", QStringLiteral("table.html")},
        {"REM_ID", QStringLiteral("remote.html")},   {"PNL_ID", QStringLiteral("strips.html")},
        {"SET_STA", QStringLiteral("station.html")},
    };
    return pages;
}

} // namespace

void SetHelpKeyword(QWidget* control, const char* keyword, int context)
{
    control->setProperty(KeywordProperty, QString::fromLatin1(keyword));
    control->setProperty(ContextProperty, context);
}

QString HelpPage(const QWidget* control)
{
    for (const QWidget* w = control; w != nullptr; w = w->parentWidget()) {
        const QVariant keyword = w->property(KeywordProperty);
        if (keyword.isValid()) {
            const auto page = Pages().find(keyword.toString().toStdString());
            if (page != Pages().end()) {
                return page->second;
            }
        }
        if (w->isWindow()) {
            break;
        }
    }
    return QStringLiteral("index.html");
}

void InstallContextHelp(QWidget* window, std::function<void(const QString& page)> open)
{
    auto* f1 = new QShortcut(QKeySequence::HelpContents, window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, [window, open] {
        const QWidget* under = QApplication::widgetAt(QCursor::pos());
        if (under == nullptr || under->window() != window) {
            under = window->focusWidget();
        }
        open(HelpPage(under != nullptr ? under : window));
    });
}

} // namespace orvela::app
