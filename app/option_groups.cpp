#include "app/option_groups.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace orvela::app {

QButtonGroup* NumberedGroup(std::initializer_list<QAbstractButton*> items, QObject* parent)
{
    auto* group = new QButtonGroup(parent);
    int id = 0;
    for (QAbstractButton* item : items) {
        group->addButton(item, id++);
    }
    return group;
}

void CheckItem(QButtonGroup& group, int id)
{
    if (QAbstractButton* item = group.button(id)) {
        item->setChecked(true);
        return;
    }
    group.setExclusive(false);
    for (QAbstractButton* item : group.buttons()) {
        item->setChecked(false);
    }
    group.setExclusive(true);
}

} // namespace orvela::app
