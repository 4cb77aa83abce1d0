// The main window's option radio groups, the display format and the
// antenna: their items numbered from 0, and the stored choice shown checked.
#pragma once

#include <initializer_list>

class QAbstractButton;
class QButtonGroup;
class QObject;

namespace orvela::app {

// A group of the items, numbered from 0 in order.
QButtonGroup* NumberedGroup(std::initializer_list<QAbstractButton*> items, QObject* parent);

// Checks item `id`; with no such item (a choice the settings could not
// give), none is shown checked.
void CheckItem(QButtonGroup& group, int id);

} // namespace orvela::app
