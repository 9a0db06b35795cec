#include "dialoglib/ShutdownDelayForm.h"

#include "dialoglib/FormParts.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

using namespace forms;

TShutdownDelay_Form::TShutdownDelay_Form(QWidget* Owner) : TForm(Owner) {
    SetName("ShutdownDelay_Form");
    MakeFixedDialog(*this, 393, 105);

    Panel1 = NewComponent<TPanel>(this, "Panel1");
    Panel1->SetBounds(0, 0, 393, 62);
    Panel1->SetAlign(alTop);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetColor(clWhite);
    Image1 = NewComponent<TImage>(Panel1, "Image1");
    Image1->SetBounds(14, 14, 32, 32);
    Image1->SetAutoSize(true);
    Image1->Picture().Assign(
        QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage());
    ShowDelay_L = NewComponent<TLabel>(Panel1, "ShowDelay_L");
    ShowDelay_L->SetColor(clWhite);
    TFont labelFont;
    labelFont.SetName("MS Sans Serif");
    labelFont.SetSize(8);
    ShowDelay_L->SetFont(labelFont);
    ShowDelay_L->SetWordWrap(true);
    ShowDelay_L->SetBounds(60, 12, 320, 40);

    OK_Btn = NewComponent<TButton>(this, "OK_Btn");
    OK_Btn->SetBounds(224, 72, 75, 25);
    OK_Btn->OnClick = [this](TObject* Sender) { OK_BtnClick(Sender); };
    Cancel_Btn = NewComponent<TButton>(this, "Cancel_Btn");
    Cancel_Btn->SetBounds(310, 72, 75, 25);
    Cancel_Btn->OnClick = [this](TObject* Sender) { Cancel_BtnClick(Sender); };

    // Running from creation: the first tick comes a second after the form was made.
    Delay_Timer = NewComponent<TTimer>(this, "Delay_Timer");
    Delay_Timer->SetInterval(1000);
    Delay_Timer->SetOnTimer([this](TObject* Sender) { Delay_TimerTimer(Sender); });
    DoCreate();
}

// The label breaks lines at LF only; the text keeps its carriage returns.
void TShutdownDelay_Form::ShowCountdown(const std::string& Text) {
    std::string shown = Text;
    std::replace(shown.begin(), shown.end(), '\r', '\n');
    ShowDelay_L->SetCaption(shown);
    FitCountdown();
}

// A host name may be up to 64 characters, in one word: more lines than the panel holds, or a word wider than
// the label. The label grows to the widest word and to its wrapped lines, the panel to the label and the
// dialog with them (the buttons keep their place below the panel and at its right), so that the whole name
// and the countdown show. The designed sizes are the least, and nothing shrinks while the count goes on,
// so that the dialog does not jump as the number changes.
void TShutdownDelay_Form::FitCountdown() {
    const QFontMetrics metrics(ShowDelay_L->font());
    const QRect needed = metrics.boundingRect(QRect(0, 0, ShowDelay_L->Width(), 100000), Qt::TextWordWrap,
                                              QString::fromStdString(ShowDelay_L->Caption()));
    if (needed.width() > ShowDelay_L->Width()) {
        ShowDelay_L->SetWidth(needed.width());
        ShowDelay_L->SetAutoSize(true); // the wrapped height for the new width
    }
    const int width = std::max(ClientWidth(), ShowDelay_L->Left() + ShowDelay_L->Width() + LabelRightMargin);
    const int panelHeight =
        std::max(Panel1->Height(), ShowDelay_L->Top() + ShowDelay_L->Height() + LabelBottomMargin);
    const int dx = width - ClientWidth();
    const int dy = panelHeight - Panel1->Height();
    if (dx == 0 && dy == 0)
        return;
    SetFixedClientSize(*this, width, ClientHeight() + dy);
    Panel1->SetHeight(panelHeight);
    for (TButton* button : {OK_Btn, Cancel_Btn})
        button->SetBounds(button->Left() + dx, button->Top() + dy, button->Width(), button->Height());
}

void TShutdownDelay_Form::ApplyTexts() {
    SetCaption(texts_.Caption);
    ShowCountdown(texts_.Countdown);
    OK_Btn->SetCaption(texts_.OK);
    Cancel_Btn->SetCaption(texts_.Cancel);
}

void TShutdownDelay_Form::Delay_TimerTimer(TObject*) {
    if (CountdownTick(CountDown)) {
        Delay_Timer->SetEnabled(false);
        Close();
        ShutDownComputer(Language_);
        return;
    }
    texts_.Countdown = CountdownText(Language_, ComputerName, CountDown);
    ShowCountdown(texts_.Countdown);
}

void TShutdownDelay_Form::OK_BtnClick(TObject*) {
    Delay_Timer->SetEnabled(false);
    Close();
    ShutDownComputer(Language_);
}

void TShutdownDelay_Form::Cancel_BtnClick(TObject*) {
    Delay_Timer->SetEnabled(false);
    Close();
}
