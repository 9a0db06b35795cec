#include "platform/forms/PageControl.h"

#include <algorithm>

#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>

namespace forms {

TTabSheet::TTabSheet(TPageControl* Parent) : TControl(nullptr), pageControl_(Parent) {
    pageControl_->AddPage(this);
}

void TTabSheet::SetCaption(const std::string& Value) {
    caption_ = Value;
    pageControl_->CaptionChanged(this);
}

int TTabSheet::PageIndex() const {
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::showEvent(QShowEvent* Event) {
    TControl::showEvent(Event);
    // A window brought back from the task bar shows it again without the sheet having been hidden.
    if (!Event->spontaneous() && OnShow)
        OnShow(this);
}

TPageControl::TPageControl(QWidget* Parent) : TWinControl(Parent), tabs_(new QTabWidget(this)) {
    SetInnerWidget(tabs_);
    QObject::connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        if (!changingByCode_ && OnChange)
            OnChange(this);
    });
}

TTabSheet* TPageControl::Pages(int Index) const {
    return Index >= 0 && Index < PageCount() ? pages_[static_cast<std::size_t>(Index)] : nullptr;
}

int TPageControl::ActivePageIndex() const {
    return tabs_->currentIndex();
}

void TPageControl::SetActivePageIndex(int Value) {
    if (Value < 0 || Value >= PageCount())
        return;
    changingByCode_ = true;
    tabs_->setCurrentIndex(Value);
    changingByCode_ = false;
}

TTabSheet* TPageControl::ActivePage() const {
    return Pages(ActivePageIndex());
}

void TPageControl::AddPage(TTabSheet* Page) {
    pages_.push_back(Page);
    changingByCode_ = true;
    tabs_->addTab(Page, QString());
    changingByCode_ = false;
}

void TPageControl::CaptionChanged(TTabSheet* Page) {
    tabs_->setTabText(Page->PageIndex(), QString::fromStdString(Page->Caption()));
}

} // namespace forms
