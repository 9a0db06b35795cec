#include "ui/AboutForm.h"

#include "assets/SkinArt.h"
#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Shortcuts.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;

namespace {

const std::string CR = "\r";

std::string Repeat(const std::string& Text, int Times) {
    std::string out;
    for (int i = 0; i < Times; ++i)
        out += Text;
    return out;
}

TPanel* TabLine(QWidget* Parent, const char* Name, int Left) {
    auto* line = new TPanel(Parent);
    line->SetName(Name);
    line->SetBounds(Left, 16, 2, 34);
    line->SetBevelOuter(bvLowered);
    return line;
}

TLabel* TabLabel(QWidget* Parent, const char* Name, int Left) {
    auto* label = new TLabel(Parent);
    label->SetName(Name);
    label->SetBounds(Left, 26, 0, 0);
    label->SetCursor(crHandPoint);
    label->SetTransparent(true);
    label->Font().SetSize(10);
    label->Font().SetStyle(fsBold);
    label->Font().SetColor(clBlack);
    return label;
}

} // namespace

TAbout_Form::TAbout_Form(QWidget* Owner) : TForm(Owner) {
    SetName("About_Form");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(496);
    SetClientHeight(302);
    DisableAlign();
    Title_P = new TPanel(this);
    Title_P->SetName("Title_P");
    Title_P->SetBounds(0, 0, 496, 66);
    Title_P->SetBevelOuter(bvNone);
    Title_P->SetAlign(alTop);
    Image1 = new TImage(Title_P);
    Image1->SetName("Image1");
    Image1->SetBounds(12, 9, 48, 48);
    Image1->Picture().Assign(skinart::DrawLogoIcon(48));
    ThanksLine_P = TabLine(Title_P, "ThanksLine_P", 250);
    Thanks_L = TabLabel(Title_P, "Thanks_L", 262);
    ShortcutKeyLine_P = TabLine(Title_P, "ShortcutKeyLine_P", 330);
    ShortcutKey_L = TabLabel(Title_P, "ShortcutKey_L", 342);
    HistoryLine_P = TabLine(Title_P, "HistoryLine_P", 418);
    History_L = TabLabel(Title_P, "History_L", 430);
    Content_SB = new TScrollBox(this);
    Content_SB->SetName("Content_SB");
    Content_SB->SetBounds(0, 66, 496, 236);
    Content_SB->SetAlign(alClient);
    Content_SB->SetColor(clBlack);
    Content_SB->SetBorderStyle(bsNone);
    EnableAlign();
    Thanks_L->OnClick = [this](TObject*) { ShowThanksTab(); };
    ShortcutKey_L->OnClick = [this](TObject*) { ShowShortcutTab(); };
    History_L->OnClick = [this](TObject*) { ShowHistoryTab(); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

void TAbout_Form::FormCreate(TObject*) {
    HookTabHover();
    ShowThanksTab();
}

void TAbout_Form::FormShow(TObject*) {
    // Each tab label centred between its separator and the next one (the last: the title's right edge).
    const std::pair<TPanel*, TLabel*> tabs[] = {
        {ThanksLine_P, Thanks_L}, {ShortcutKeyLine_P, ShortcutKey_L}, {HistoryLine_P, History_L}};
    for (std::size_t i = 0; i < std::size(tabs); ++i) {
        const auto& [line, label] = tabs[i];
        const int right = i + 1 < std::size(tabs) ? tabs[i + 1].first->Left() : Title_P->Width();
        label->SetLeft(line->Left() + (right - line->Left() - label->Width()) / 2);
    }
    ShowThanksTab();
}

void TAbout_Form::HookTabHover() {
    for (TLabel* tab : {Thanks_L, ShortcutKey_L, History_L}) {
        tab->OnMouseEnter = [this](TObject* Sender) { TabMouseEnter(Sender); };
        tab->OnMouseLeave = [this](TObject* Sender) { TabMouseLeave(Sender); };
    }
}

void TAbout_Form::TabMouseEnter(TObject* Sender) {
    auto* tab = dynamic_cast<TLabel*>(Sender);
    if (tab != nullptr && tab->Font().Color() != clBlue)
        tab->Font().SetColor(clLime);
}

void TAbout_Form::TabMouseLeave(TObject* Sender) {
    auto* tab = dynamic_cast<TLabel*>(Sender);
    if (tab != nullptr && tab->Font().Color() == clLime)
        tab->Font().SetColor(clBlack);
}

void TAbout_Form::ClearContent() {
    while (Content_SB->ControlCount() > 0)
        delete Content_SB->Controls(0);
}

void TAbout_Form::ChooseTab(TLabel* Tab) {
    ClearContent();
    for (TLabel* tab : {Thanks_L, ShortcutKey_L, History_L})
        tab->Font().SetColor(tab == Tab ? clBlue : clBlack);
}

TLabel* TAbout_Form::AddContentLabel(int Left, const std::string& Text) {
    auto* label = new TLabel(Content_SB->Content());
    if (State.UiFont)
        label->Font().Assign(*State.UiFont);
    label->Font().SetColor(clWhite);
    label->SetLeft(Left);
    label->SetTop(16);
    label->SetTransparent(true);
    label->SetCaption(Text);
    return label;
}

void TAbout_Form::ShowThanksTab() {
    ChooseTab(Thanks_L);
    AddContentLabel(80, thanksText_);
}

void TAbout_Form::ShowHistoryTab() {
    ChooseTab(History_L);
    AddContentLabel(80, historyText_);
}

void TAbout_Form::ShowShortcutTab() {
    ChooseTab(ShortcutKey_L);
    std::string captions, keys;
    for (int i = 0; i < ShortCutCommandCount; ++i) {
        // The captions of the main window's command items; none without the main window.
        const auto index = static_cast<std::size_t>(i);
        if (QuorelMain_Form != nullptr && index < QuorelMain_Form->CommandMenuItems.size())
            captions += QuorelMain_Form->CommandMenuItems[index]->Caption();
        keys += ReadIniString("ShortCut", ShortCutKeys[index]);
        if (i + 1 < ShortCutCommandCount) {
            captions += CR;
            keys += CR;
        }
    }
    AddContentLabel(80, captions);
    AddContentLabel(308, keys);
}

void TAbout_Form::LoadTexts() {
    captionText_ = thanksTabText_ = shortcutTabText_ = historyTabText_ = thanksText_ = historyText_ = "";
    if (Language == Languages::English) {
        captionText_ = "About";
        thanksTabText_ = "Thanks";
        historyTabText_ = "History";
        shortcutTabText_ = "Shortcut key";
        thanksText_ = "Thanks for you download and use TarvexDVD!" + Repeat(CR, 4) +
                      "Tnanks all the friends thay attent TarvexDVD " + Repeat(CR, 2) +
                      "and Pay toil sweat for TarvexDVD. " + Repeat(CR, 2) +
                      "TarvexDVD will give you then new taste of " + Repeat(CR, 2) +
                      "supper clear, supper formidable, supper usability";
        historyText_ = "TarvexDVD V1.2" + Repeat(CR, 4) + "All is begin from here, Let us support TarvexDVD" +
                       Repeat(CR, 2) + "and concerned about TarvexDVD together.";
    } else if (Language == Languages::Chinese) {
        captionText_ = "关于";
        thanksTabText_ = "感谢";
        historyTabText_ = "历史";
        shortcutTabText_ = "快捷键";
        thanksText_ = "感谢您下载和使用<Quorel播放>" + Repeat(CR, 4) +
                      "感谢所有关注<Quorel播放>,并为<Quorel播放>的诞生付出了辛" + Repeat(CR, 2) +
                      "劳和汗水的朋友!" + Repeat(CR, 2) +
                      "<Quorel播放>将为您带来超级清晰,超级强大,超级好用的全新" + Repeat(CR, 2) + "体验!" +
                      Repeat(CR, 2) + "<Quorel播放>集视频,音频,CD,DVD等超强功能于一身,并且完" +
                      Repeat(CR, 2) + "全免费,终身免费!";
        historyText_ = "Quorel播放 V2.05" + Repeat(CR, 4) + "一切由此开始,让我们共同关心和支持<Quorel播放>!" +
                       Repeat(CR, 2) + "我们一直在努力!";
    }
}

void TAbout_Form::ApplyTexts() {
    SetCaption(captionText_);
    Thanks_L->SetCaption(thanksTabText_);
    History_L->SetCaption(historyTabText_);
    ShortcutKey_L->SetCaption(shortcutTabText_);
    if (!State.UiFont)
        return;
    Font().Assign(*State.UiFont);
    for (TLabel* tab : {Thanks_L, ShortcutKey_L, History_L})
        tab->Font().Assign(*State.UiFont);
}

void ShowAboutDialog(win32::HWND AppHandle, int Language) {
    RunDialog<TAbout_Form>(AppHandle, LanguageAndTexts<TAbout_Form>(Language), [](TAbout_Form&) {});
}
