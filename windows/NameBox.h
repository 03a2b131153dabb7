#pragma once

#include <QStringList>
#include <functional>

class QEvent;
class QLineEdit;
class QMimeData;

// The setting windows' text boxes that hold a file's full name.

// The name with the caret after its last character and nothing selected, so that the file name
// at the end of a long path is in view.
void showName(QLineEdit& box, const QString& name);
// A disabled text box, a name box or any other, takes the colour of a button's face, an enabled
// one a text box's.
void enableTextBox(QLineEdit& box, bool enabled);
// The local files among dropped data, in the order of the drop.
QStringList localFiles(const QMimeData& data);
// For a name box's event filter: accepts drags that carry local files, hands a drop's data to
// take, which says whether it took anything, and returns true for every drag and drop event.
// Only files are taken: dragged text would otherwise be typed into the box.
bool filterFileDrop(QEvent& event, const std::function<bool(const QMimeData&)>& take);
