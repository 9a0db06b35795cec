#pragma once
// Counts the paint events a widget gets while the counter lives.

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace testing_support {

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* Widget) { Widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

} // namespace testing_support
