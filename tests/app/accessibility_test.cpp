// What a screen reader is given on the main window: a name for every
// control, and for every cell of the table its text and a description.
#include "app/prediction_table.h"
#include "tests/app/window_fixture.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class Accessibility : public StationWindow {};

TEST_F(Accessibility, EveryControlHasANameAndEveryCellADescription)
{
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    const auto name = [](QObject* o) { return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name); };
    EXPECT_EQ(name(ui.LongDeg), QStringLiteral("Home longitude, degrees"));
    EXPECT_EQ(name(ui.DESTLat), QStringLiteral("Remote latitude, degrees, positive north"));
    EXPECT_EQ(name(ui.FLXSpin), QStringLiteral("Solar flux"));
    QStringList names;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) != nullptr && qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr) {
            continue; // a spin box's own line edit
        }
        if (qobject_cast<QLineEdit*>(w) != nullptr || qobject_cast<QAbstractSpinBox*>(w) != nullptr ||
            qobject_cast<QRadioButton*>(w) != nullptr) {
            const QString n = name(w);
            EXPECT_FALSE(n.isEmpty()) << w->objectName().toStdString();
            names << n;
        }
    }
    EXPECT_EQ(names.size(), 8 + 3 + 4 + 3 + 1); // the edits, the spins, the radio buttons, the date
    EXPECT_EQ(names.removeDuplicates(), 0) << names.join(QStringLiteral(" | ")).toStdString();

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(ui.MUFGrid);
    ASSERT_NE(table->tableInterface(), nullptr);
    const QModelIndex cell = ResultCell(*ui.MUFGrid);
    QAccessibleInterface* spoken = table->tableInterface()->cellAt(cell.row(), cell.column());
    ASSERT_NE(spoken, nullptr);
    const Prediction& p = ui.MUFGrid->Current();
    EXPECT_EQ(spoken->text(QAccessible::Name), QString::fromStdString(p.At(cell.column(), cell.row()).Text));
    const QString description = spoken->text(QAccessible::Description);
    const QString where = QString::fromStdString(p.At(0, cell.row()).Text) + QStringLiteral(", ") +
                          QString::fromStdString(p.At(cell.column(), RowUtc).Text) + QStringLiteral(" UTC. ");
    EXPECT_TRUE(description.startsWith(where)) << description.toStdString();
    EXPECT_GT(description.size(), where.size() + 20);
    EXPECT_FALSE(description.contains(QLatin1Char('\n')));
}

} // namespace
} // namespace orvela::app
