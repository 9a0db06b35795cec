#pragma once
// The class library's page control: tabs over a stack of tab sheets, one shown at a time.
//
// As the player's code relies on it:
// - a tab sheet made with a page control as its parent becomes that control's last page, its caption the
//   tab's text;
// - a sheet's OnShow runs each time it becomes visible: when the user picks its tab, when code makes it the
//   active page, and when the window holding the active page is shown;
// - OnChange runs after the user picked another tab; setting the active page from code runs only the sheets'
//   OnShow.

#include <string>
#include <vector>

#include "platform/forms/WinControls.h"

class QTabWidget;

namespace forms {

class TPageControl;

class TTabSheet : public TControl {
public:
    // Parent is the page control the sheet joins.
    explicit TTabSheet(TPageControl* Parent);

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    TPageControl* PageControl() const { return pageControl_; }
    int PageIndex() const;

    TNotifyEvent OnShow;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    TPageControl* pageControl_;
    std::string caption_;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(QWidget* Parent = nullptr);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int Index) const;
    int ActivePageIndex() const;
    // An index outside the pages changes nothing.
    void SetActivePageIndex(int Value);
    TTabSheet* ActivePage() const;

    // The Qt tabs inside (tests pick a tab as a user would).
    QTabWidget* Tabs() const { return tabs_; }

    TNotifyEvent OnChange;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* Page);
    void CaptionChanged(TTabSheet* Page);

    QTabWidget* tabs_;
    std::vector<TTabSheet*> pages_;
    bool changingByCode_ = false;
};

} // namespace forms
