#pragma once
// Where to click on a row of a list widget: its check box, or its text.

#include <QPoint>

class QListWidget;

namespace testing_support {

QPoint CheckBoxOf(const QListWidget* List, int Row);
QPoint TextOf(const QListWidget* List, int Row);

// Clicks there with the left button, as the user does.
void ClickCheckBox(QListWidget* List, int Row);
void ClickText(QListWidget* List, int Row);

} // namespace testing_support
