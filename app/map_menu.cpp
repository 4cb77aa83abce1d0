#include "app/map_menu.h"

#include <QAction>

namespace orvela::app {

MapMenu::MapMenu(QWidget& window, std::initializer_list<QWidget*> over)
    : QMenu(&window)
{
    // The remote point from a Maidenhead locator.
    auto* goToLocator = new QAction(QStringLiteral("Go to\u2026"), &window);
    goToLocator->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    goToLocator->setShortcutContext(Qt::WindowShortcut);
    window.addAction(goToLocator);
    connect(goToLocator, &QAction::triggered, this, &MapMenu::GoToLocatorChosen);
    addAction(goToLocator);
    addAction(QStringLiteral("&Coverage map\u2026"), this, &MapMenu::CoverageChosen);
    // Every DXCC entity, or the user's own targets, against the day's hours.
    auto* planner = new QAction(QStringLiteral("&Planner\u2026"), &window);
    planner->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    planner->setShortcutContext(Qt::WindowShortcut);
    window.addAction(planner);
    connect(planner, &QAction::triggered, this, &MapMenu::PlannerChosen);
    addAction(planner);
    showPath_ = new QAction(QStringLiteral("Show the path"), &window);
    showPath_->setCheckable(true);
    showPath_->setChecked(true);
    addAction(showPath_);
    for (QWidget* w : over) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { exec(w->mapToGlobal(at)); });
    }
}

} // namespace orvela::app
