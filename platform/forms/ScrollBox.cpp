#include "platform/forms/ScrollBox.h"

#include <algorithm>

#include <QChildEvent>
#include <QScrollArea>
#include <QScrollBar>

#include "platform/forms/StringList.h"

namespace forms {

TScrollBox::TScrollBox(QWidget* Parent)
    : TControl(Parent), area_(new QScrollArea(this)), content_(new TControl) {
    area_->setWidgetResizable(false);
    area_->setWidget(content_);
    area_->viewport()->setAutoFillBackground(true);
    content_->setAutoFillBackground(true);
    content_->installEventFilter(this);
    area_->viewport()->installEventFilter(this);
    SetInnerWidget(area_);
    FitContent();
}

int TScrollBox::ControlCount() const {
    return static_cast<int>(content_->findChildren<TControl*>(QString(), Qt::FindDirectChildrenOnly).size());
}

TControl* TScrollBox::Controls(int Index) const {
    const auto controls = content_->findChildren<TControl*>(QString(), Qt::FindDirectChildrenOnly);
    if (Index < 0 || Index >= controls.size())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return controls[Index];
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
    area_->setFrameShape(Value == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

int TScrollBox::VertScrollPosition() const {
    return area_->verticalScrollBar()->value();
}

int TScrollBox::VertScrollRange() const {
    return area_->verticalScrollBar()->maximum();
}

void TScrollBox::ColorChanged() {
    for (QWidget* w : {static_cast<QWidget*>(this), area_->viewport(), static_cast<QWidget*>(content_)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, ToQColor(Color()));
        p.setColor(QPalette::Base, ToQColor(Color()));
        w->setPalette(p);
    }
    update();
}

bool TScrollBox::eventFilter(QObject* Watched, QEvent* Event) {
    switch (Event->type()) {
    case QEvent::ChildAdded:
        if (Watched == content_)
            if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(Event)->child()))
                child->installEventFilter(this);
        FitContent();
        break;
    case QEvent::ChildRemoved:
        FitContent();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        // A change of the content itself comes from FitContent.
        if (Watched != content_)
            FitContent();
        break;
    default:
        break;
    }
    return TControl::eventFilter(Watched, Event);
}

void TScrollBox::FitContent() {
    QRect extent;
    for (QWidget* child : content_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isHidden())
            extent = extent.united(child->geometry());
    const QSize view = area_->viewport()->size();
    content_->resize(std::max(view.width(), extent.right() + 1),
                     std::max(view.height(), extent.bottom() + 1));
}

} // namespace forms
