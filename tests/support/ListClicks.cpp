#include "tests/support/ListClicks.h"

#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

namespace testing_support {

QPoint CheckBoxOf(const QListWidget* List, int Row) {
    QStyleOptionViewItem option;
    option.initFrom(List);
    option.rect = List->visualItemRect(List->item(Row));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    return List->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, List).center();
}

QPoint TextOf(const QListWidget* List, int Row) {
    const QRect row = List->visualItemRect(List->item(Row));
    return {CheckBoxOf(List, Row).x() + 30, row.center().y()};
}

void ClickCheckBox(QListWidget* List, int Row) {
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, CheckBoxOf(List, Row));
}

void ClickText(QListWidget* List, int Row) {
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, TextOf(List, Row));
}

} // namespace testing_support
