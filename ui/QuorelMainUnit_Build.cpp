// The main window's form description: every component with its design bounds, pictures and captions. The
// handlers the description binds are bound here too; the frame pictures are drawn by the skin's own art.

#include "ui/QuorelMainUnit.h"

#include "assets/SkinArt.h"
#include "core/PlaybackState.h"
#include "core/Transport.h"

using namespace forms;

namespace {

template <class T> T* Make(QWidget* Parent, const char* Name, int Left, int Top, int Width, int Height) {
    auto* control = new T(Parent);
    control->SetName(Name);
    control->SetBounds(Left, Top, Width, Height);
    return control;
}

TPanel* MakePanel(QWidget* Parent, const char* Name, TAlign Align, QRect Bounds) {
    auto* panel = Make<TPanel>(Parent, Name, Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height());
    panel->SetBevelOuter(bvNone);
    panel->SetAlign(Align);
    return panel;
}

// A frame picture stored with the window, drawn at its design size.
template <class T>
T* MakePicture(QWidget* Parent, const char* Name, QRect Bounds, TAlign Align = alNone, bool Stretch = false) {
    auto* image = Make<T>(Parent, Name, Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height());
    image->SetAlign(Align);
    image->SetStretch(Stretch);
    image->Picture().Assign(skinart::DrawFramePicture(Name, Bounds.width(), Bounds.height()));
    return image;
}

// A skin button sized by its picture; until the skin folder is read it shows the built-in Normal picture.
tximage* MakeButton(QWidget* Parent, const char* Name, int Left, int Top, const char* Picture, const char* Hint) {
    auto* button = new tximage(Parent);
    button->SetName(Name);
    button->SetLeft(Left);
    button->SetTop(Top);
    button->SetAutoSize(true);
    button->Picture().Assign(skinart::DrawSkinFile(Picture));
    button->SetHint(Hint);
    return button;
}

TLabel* MakeLabel(QWidget* Parent, const char* Name, int Left, int Top, const char* Caption = "") {
    auto* label = Make<TLabel>(Parent, Name, Left, Top, 0, 13);
    label->SetTransparent(true);
    label->SetCaption(Caption);
    return label;
}

} // namespace

void TQuorelMain_Form::BuildComponents() {
    SetName("QuorelMain_Form");
    SetBorderStyle(bsNone);
    SetPosition(poDesktopCenter);
    SetBounds(0, 0, 688, 442);
    DisableAlign();

    // Panels: their design positions decide the order of the two at the bottom (Bottom_P above Ctrl_P).
    Top_P = MakePanel(this, "Top_P", alTop, {0, 0, 688, 51});
    Left_P = MakePanel(this, "Left_P", alLeft, {0, 51, 6, 295});
    Right_P = MakePanel(this, "Right_P", alRight, {682, 51, 6, 295});
    Bottom_P = MakePanel(this, "Bottom_P", alBottom, {0, 346, 688, 19});
    Ctrl_P = MakePanel(this, "Ctrl_P", alBottom, {0, 365, 688, 77});
    Video_P = MakePanel(this, "Video_P", alClient, {6, 51, 676, 295});

    // Title strip.
    Top_P->DisableAlign();
    Topleft_I = MakePicture<TImage>(Top_P, "Topleft_I", {0, 0, 126, 51}, alLeft);
    Topright_I = MakePicture<TImage>(Top_P, "Topright_I", {562, 0, 126, 51}, alRight, true);
    Topcenter_I = MakePicture<TImage>(Top_P, "Topcenter_I", {126, 0, 436, 51}, alClient, true);
    Top_P->EnableAlign();
    SmallLogo_I = MakePicture<TImage>(Top_P, "SmallLogo_I", {4, 4, 90, 17});
    CurMedia_L = MakeLabel(Top_P, "CurMedia_L", 110, 6);
    CurMedia_L->SetAutoSize(false);
    CurMedia_L->SetHeight(13);
    TopBar_xi = MakePicture<tximage>(Top_P, "TopBar_xi", {2, 1, 569, 2}, alNone, true);
    TopBar_xi->SetCursor(crSizeNS);
    Menu_xi = MakeButton(Top_P, "Menu_xi", 572, 0, "Menu_Normal_Menu.bmp", "main menu");
    Ontop_xi = MakeButton(Top_P, "Ontop_xi", 595, 0, "Ontop_Normal_btn.bmp", "change main windows on top");
    Min_xi = MakeButton(Top_P, "Min_xi", 618, 0, "Min_Normal_Btn.bmp", "minimize");
    Max_xi = MakeButton(Top_P, "Max_xi", 641, 0, "Max_Normal_Btn.bmp", "maximize or windows");
    Close_xi = MakeButton(Top_P, "Close_xi", 664, 0, "Close_Normal_Btn.bmp", "close");
    PL_L = MakeLabel(Top_P, "PL_L", 558, 32);
    CL_L = MakeLabel(Top_P, "CL_L", 618, 32);
    PL_L->SetCursor(crHandPoint);
    CL_L->SetCursor(crHandPoint);

    // Side strips: the left and right resize bars.
    Left_I = MakePicture<TImage>(Left_P, "Left_I", {0, 0, 6, 295}, alClient, true);
    Left_I->SetCursor(crSizeWE);
    Right_I = MakePicture<TImage>(Right_P, "Right_I", {0, 0, 6, 295}, alClient, true);
    Right_I->SetCursor(crSizeWE);

    // Status strip.
    Bottom_P->DisableAlign();
    Bottom_I = MakePicture<TImage>(Bottom_P, "Bottom_I", {0, 0, 120, 19}, alLeft, true);
    Bottomright_I = MakePicture<TImage>(Bottom_P, "Bottomright_I", {562, 0, 126, 19}, alRight, true);
    Bottomcenter_I = MakePicture<TImage>(Bottom_P, "Bottomcenter_I", {120, 0, 442, 19}, alClient, true);
    Bottom_P->EnableAlign();
    Status_L = MakeLabel(Bottom_P, "Status_L", 9, 3);
    Time_L = MakeLabel(Bottom_P, "Time_L", 600, 3);

    // Control panel.
    Ctrl_P->DisableAlign();
    Ctrlleft_I = MakePicture<TImage>(Ctrl_P, "Ctrlleft_I", {0, 0, 148, 77}, alLeft, true);
    Ctrlright_I = MakePicture<TImage>(Ctrl_P, "Ctrlright_I", {547, 0, 141, 77}, alRight, true);
    Ctrlcenter_I = MakePicture<TImage>(Ctrl_P, "Ctrlcenter_I", {148, 0, 399, 77}, alClient, true);
    Ctrl_P->EnableAlign();
    VideoPro_XI = MakePicture<tximage>(Ctrl_P, "VideoPro_XI", {40, 9, 604, 4}, alNone, true);
    VideoGo_XI = MakePicture<tximage>(Ctrl_P, "VideoGo_XI", {40, 9, 0, 4}, alNone, true);
    VideoGo_XI->Picture().Assign(skinart::DrawFramePicture("VideoGo_XI", 16, 4));
    VideoBar_XI = MakeButton(Ctrl_P, "VideoBar_XI", 38, 6, "VideoBar_Normal.bmp", "");
    Backward_XI = MakeButton(Ctrl_P, "Backward_XI", 13, 4, "BackWard_Normal_Btn.bmp", "Backward");
    Forward_XI = MakeButton(Ctrl_P, "Forward_XI", 648, 4, "ForWard_Normal_Btn.bmp", "Forward");
    Previous_XI = MakeButton(Ctrl_P, "Previous_XI", 16, 29, "Prev_Normal_Btn.bmp", "Previous");
    PlayPause_XI = MakeButton(Ctrl_P, "PlayPause_XI", 50, 24, "Play_Normal_Btn.bmp", "Play/Pause");
    Stop_XI = MakeButton(Ctrl_P, "Stop_XI", 94, 29, "Stop_Normal_Btn.bmp", "Stop");
    Next_XI = MakeButton(Ctrl_P, "Next_XI", 129, 29, "Next_Normal_Btn.bmp", "Next");
    Volume_XI = MakeButton(Ctrl_P, "Volume_XI", 162, 29, "Sound_Normal_btn.bmp", "Volume/Slience");
    SoundPro_XI = MakePicture<tximage>(Ctrl_P, "SoundPro_XI", {198, 42, 98, 4}, alNone, true);
    SoundGo_XI = MakePicture<tximage>(Ctrl_P, "SoundGo_XI", {198, 42, 0, 4}, alNone, true);
    SoundGo_XI->Picture().Assign(skinart::DrawFramePicture("SoundGo_XI", 16, 4));
    SoundBar_XI = MakeButton(Ctrl_P, "SoundBar_XI", 198, 39, "SoundBar_Normal.bmp", "");
    Volume_L = MakeLabel(Ctrl_P, "Volume_L", 302, 37);
    Open_xi = MakeButton(Ctrl_P, "Open_xi", 536, 29, "Open_Normal_btn.bmp", "Open");
    Opendvd_xi = MakeButton(Ctrl_P, "Opendvd_xi", 565, 29, "Opendvd_Normal_btn.bmp", "Open dvd");
    Capture_XI = MakeButton(Ctrl_P, "Capture_XI", 594, 29, "Capture_Normal_btn.bmp", "Capture screen");
    maxmin_xi = MakeButton(Ctrl_P, "maxmin_xi", 622, 29, "Maxmin_Normal_btn.bmp", "Full screen/Window");
    Option_XI = MakeButton(Ctrl_P, "Option_XI", 650, 29, "Option_Normal_btn.bmp", "Option");
    BottomBar_xi = MakePicture<tximage>(Ctrl_P, "BottomBar_xi", {2, 74, 684, 2}, alNone, true);
    BottomBar_xi->SetCursor(crSizeNS);

    // Video panel: the logo while nothing plays, the ID3 text and the lyrics.
    Video_P->SetColor(clBlack);
    Mainlogo_I = Make<tximage>(Video_P, "Mainlogo_I", 0, 0, 676, 295);
    Mainlogo_I->SetAlign(alClient);
    Mainlogo_I->SetCenter(true);
    Mainlogo_I->SetTransparent(true);
    Mainlogo_I->Picture().Assign(skinart::DrawFramePicture("Mainlogo_I", 260, 160));
    FFTBox = Make<TPaintBox>(Video_P, "FFTBox", 506, 251, 160, 40);
    mp3Info_L = MakeLabel(Video_P, "mp3Info_L", 10, 10);
    mp3Info_L->Hide();
    Lrc_p = MakePanel(Video_P, "Lrc_p", alNone, {0, 70, 676, 155});
    Lrc_p->Hide();
    Lrc_L = MakeLabel(Lrc_p, "Lrc_L", 0, 97);
    LightLrc_L = MakeLabel(Lrc_p, "LightLrc_L", 0, 60);
    lTime_L = MakeLabel(Lrc_p, "lTime_L", 4, 4);
    rTime_L = MakeLabel(Lrc_p, "rTime_L", 630, 4);
    // The tag's five lines reach below the lyrics panel's top: they lie over it, on the video's black, so
    // that the panel never hides them.
    mp3Info_L->SetTransparent(false);
    mp3Info_L->SetColor(clBlack);
    mp3Info_L->BringToFront();

    Ctrl_T = new TTimer(this);
    Ctrl_T->SetName("Ctrl_T");
    RePaint_T = new TTimer(this);
    RePaint_T->SetName("RePaint_T");
    ShowLrc_T = new TTimer(this);
    ShowLrc_T->SetName("ShowLrc_T");
    ShowLrc_T->SetEnabled(false);

    MediaType_OD = std::make_unique<TOpenDialog>(this);

    BuildMenus();
    BuildActions();
    Video_P->SetPopupMenu(Main_Pop);
    EnableAlign();
}

namespace {

TMenuItem* AddItem(TMenuItem* Parent, TMenuItem*& Field, const char* Name, const char* Caption) {
    Field = new TMenuItem;
    Field->SetName(Name);
    Field->SetCaption(Caption);
    Parent->Add(Field);
    return Field;
}

void AddSeparator(TMenuItem* Parent) {
    auto* line = new TMenuItem;
    line->SetCaption("-");
    Parent->Add(line);
}

} // namespace

void TQuorelMain_Form::BuildMenus() {
    Main_Pop = new TPopupMenu(this);
    Main_Pop->SetName("Main_Pop");
    TMenuItem* root = Main_Pop->Items();

    AddItem(root, pFile, "pFile", "文件");
    AddItem(pFile, pOpenFile, "pOpenFile", "打开文件...");
    AddItem(pFile, pOpendvd, "pOpendvd", "打开dvd");
    AddItem(pFile, pOpendvddirectory, "pOpendvddirectory", "打开dvd目录...");
    AddItem(pFile, pOpenpictureinpicture, "pOpenpictureinpicture", "打开画中画...");
    AddItem(pFile, pClose, "pClose", "关闭");
    AddSeparator(pFile);
    AddItem(pFile, pHistory, "pHistory", "历史记录");
    AddItem(pHistory, pManageHistory, "pManageHistory", "管理历史记录...");
    AddItem(pHistory, pClearHistory, "pClearHistory", "清空历史记录列表");
    AddItem(pHistory, pClearHistoryExit, "pClearHistoryExit", "退出时清空历史记录列表");
    AddSeparator(pHistory);
    AddSeparator(pFile);
    AddItem(pFile, pCapturescreen, "pCapturescreen", "截屏...");
    AddItem(pFile, pProperty, "pProperty", "属性...");
    AddSeparator(pFile);
    AddItem(pFile, pExit, "pExit", "退出播放器");

    AddItem(root, pPlay, "pPlay", "播放");
    AddItem(pPlay, pPlayPause, "pPlayPause", "播放/暂停");
    AddItem(pPlay, pStop, "pStop", "停止");
    AddItem(pPlay, pSingleframestep, "pSingleframestep", "单帧步进");
    AddItem(pPlay, pPlayPrevious, "pPlayPrevious", "上一个");
    AddItem(pPlay, pPlayNext, "pPlayNext", "下一个");
    AddItem(pPlay, pPlaycontrol, "pPlaycontrol", "播放控制");
    AddItem(pPlaycontrol, pGoto, "pGoto", "转到...");
    AddItem(pPlaycontrol, pForward, "pForward", "快进");
    AddItem(pPlaycontrol, pBackward, "pBackward", "快退");
    AddItem(pPlaycontrol, pAccelerateplay, "pAccelerateplay", "加速播放");
    AddItem(pPlaycontrol, pDecelerateplay, "pDecelerateplay", "减速播放");
    AddItem(pPlaycontrol, pNormalplay, "pNormalplay", "正常播放");
    AddItem(pPlaycontrol, pPreviousframe, "pPreviousframe", "前一帧");
    AddItem(pPlaycontrol, pNextframe, "pNextframe", "后一帧");
    AddItem(pPlay, pAdjustvolumn, "pAdjustvolumn", "调节音量");
    AddItem(pAdjustvolumn, pHoistvolume, "pHoistvolume", "提升音量");
    AddItem(pAdjustvolumn, pDebasevolume, "pDebasevolume", "降低音量");
    AddItem(pAdjustvolumn, pSlience, "pSlience", "静音");
    AddItem(pPlay, pSoundtrack, "pSoundtrack", "调节声道");
    AddItem(pSoundtrack, pStereo, "pStereo", "立体声");
    AddItem(pSoundtrack, pLefttrack, "pLefttrack", "左声道");
    AddItem(pSoundtrack, pRighttrack, "pRighttrack", "右声道");
    AddItem(pPlay, pStayontop, "pStayontop", "画面前置");
    AddItem(pStayontop, pNonever, "pNonever", "从来没有");
    AddItem(pStayontop, pAlways, "pAlways", "一直");
    AddItem(pStayontop, pOnlyplaying, "pOnlyplaying", "仅在播放时");
    AddItem(pPlay, pAfterplay, "pAfterplay", "播放完成后");
    AddItem(pAfterplay, pShutdown, "pShutdown", "关闭系统");
    AddItem(pAfterplay, pDormant, "pDormant", "进入休眠");
    AddItem(pAfterplay, pAfterExit, "pAfterExit", "退出播放器");
    AddItem(pAfterplay, pDonothing, "pDonothing", "什么也不做");
    AddSeparator(pPlay);
    AddItem(pPlay, pBosskey, "pBosskey", "老板键");
    AddItem(pPlay, pOption, "pOption", "选项...");

    AddItem(root, pDvdnavigate, "pDvdnavigate", "DVD导航");
    AddItem(pDvdnavigate, pPreviouschapter, "pPreviouschapter", "前一段");
    AddItem(pDvdnavigate, pNextchapter, "pNextchapter", "后一段");
    AddItem(pDvdnavigate, pSubpicture, "pSubpicture", "字幕");
    AddItem(pDvdnavigate, pDublanguage, "pDublanguage", "配音");
    AddItem(pDvdnavigate, pAngle, "pAngle", "视角");
    AddSeparator(pDvdnavigate);
    AddItem(pDvdnavigate, pMainmenu, "pMainmenu", "主菜单");
    AddItem(pDvdnavigate, pTitlemenu, "pTitlemenu", "标题菜单");
    AddItem(pDvdnavigate, pChaptermenu, "pChaptermenu", "段落菜单");
    AddItem(pDvdnavigate, pSubpictureMenu, "pSubpictureMenu", "字幕菜单");
    AddItem(pDvdnavigate, pDubmenu, "pDubmenu", "配音菜单");
    AddItem(pDvdnavigate, pAnglemenu, "pAnglemenu", "视角菜单");

    AddItem(root, pPip, "pPip", "画中画");
    AddItem(pPip, pPipsetup, "pPipsetup", "画面设置...");
    AddItem(pPip, pPipstandardpos, "pPipstandardpos", "画面标准位置");
    AddItem(pPipstandardpos, pLefttop, "pLefttop", "左上角");
    AddItem(pPipstandardpos, pRighttop, "pRighttop", "右上角");
    AddItem(pPipstandardpos, pLeftbottom, "pLeftbottom", "左下角");
    AddItem(pPipstandardpos, pRightbottom, "pRightbottom", "右下角");
    AddItem(pPipstandardpos, pCenter, "pCenter", "居中");
    AddItem(pPip, pPicalpha, "pPicalpha", "画面透明度");
    AddItem(pPip, pPicswap, "pPicswap", "画面切换");
    AddItem(pPip, pPicreverse, "pPicreverse", "画面倒置");
    AddItem(pPicreverse, pNoreverse, "pNoreverse", "无倒置");
    AddItem(pPicreverse, pUpdownreverse, "pUpdownreverse", "上下倒置");
    AddItem(pPicreverse, pLeftrightreverse, "pLeftrightreverse", "左右倒置");
    AddItem(pPicreverse, pCompletereverse, "pCompletereverse", "完全倒置");
    AddItem(pPip, pPicRestore, "pPicRestore", "恢复默认画面");

    AddItem(root, pView, "pView", "视图");
    AddItem(pView, pFullscreen, "pFullscreen", "全屏");
    AddItem(pView, pCapturelistview, "pCapturelistview", "截屏列表");
    AddItem(pView, pPlaylistView, "pPlaylistView", "播放列表");
    AddItem(pView, pScale, "pScale", "显示比例");
    AddItem(pScale, pKeeporiginal, "pKeeporiginal", "保持原始比例");
    AddItem(pScale, pFillWholeWindow, "pFillWholeWindow", "填充整个窗口");
    AddItem(pScale, pScale43, "pScale43", "4:3");
    AddItem(pScale, pScale54, "pScale54", "5:4");
    AddItem(pScale, pScale169, "pScale169", "16:9");
    AddItem(pView, pRoom, "pRoom", "缩放");
    AddItem(pRoom, p50, "p50", "50%");
    AddItem(pRoom, p100, "p100", "100%");
    AddItem(pRoom, p200, "p200", "200%");

    AddItem(root, pPlaylist, "pPlaylist", "播放列表");
    AddItem(pPlaylist, pPlaymode, "pPlaymode", "播放模式");
    AddItem(pPlaymode, pNone, "pNone", "无");
    AddItem(pPlaymode, pCircleplay, "pCircleplay", "顺序播放");
    AddItem(pPlaymode, pRandomplay, "pRandomplay", "随机播放");
    AddItem(pPlaymode, pCirclesingleplay, "pCirclesingleplay", "单个循环播放");
    AddItem(pPlaylist, pLoadfromfile, "pLoadfromfile", "加载播放列表...");
    AddItem(pPlaylist, pSaveto, "pSaveto", "另存为...");
    AddItem(pPlaylist, pAdd, "pAdd", "添加...");
    AddItem(pPlaylist, pClear, "pClear", "清空");

    AddItem(root, pHelp, "pHelp", "关于我们");
    AddItem(pHelp, pMainweb, "pMainweb", "官方网站...");
    AddSeparator(pHelp);
    AddItem(pHelp, pAbout, "pAbout", "关于...");

    TrayPop = new TPopupMenu(this);
    TrayPop->SetName("TrayPop");
    AddItem(TrayPop->Items(), tShowmainface, "tShowmainface", "Show main face");
    AddItem(TrayPop->Items(), tPlayPause, "tPlayPause", "play/pause")->SetShortCut(TextToShortCut("Space"));
    AddItem(TrayPop->Items(), tOption, "tOption", "Option...")->SetShortCut(TextToShortCut("Ctrl+Alt+O"));
    AddSeparator(TrayPop->Items());
    AddItem(TrayPop->Items(), tExit, "tExit", "Exit");
}

void TQuorelMain_Form::BuildActions() {
    Short_AL = new TActionList(this);
    Short_AL->SetName("Short_AL");
    struct Entry {
        TAction*& Field;
        const char* Name;
    };
    // The 28 shortcut commands, in the order of their [ShortCut] keys. Their keys and handlers come from
    // LoadShortCuts at start-up.
    const Entry entries[] = {
        {aOpenFile, "aOpenFile"},         {aOpenDvdDirectory, "aOpenDvdDirectory"},
        {aClose, "aClose"},               {aCaptureScreen, "aCaptureScreen"},
        {aProperty, "aProperty"},         {aPlayPause, "aPlayPause"},
        {aStop, "aStop"},                 {aSingleFrameStep, "aSingleFrameStep"},
        {aPlayPrevious, "aPlayPrevious"}, {aPlayNext, "aPlayNext"},
        {aGoto, "aGoto"},                 {aForward, "aForward"},
        {aBackward, "aBackward"},         {aAcceleratePlay, "aAcceleratePlay"},
        {aDeceleratePlay, "aDeceleratePlay"}, {aNormalPlay, "aNormalPlay"},
        {aPreviousFrame, "aPreviousFrame"}, {aNextFrame, "aNextFrame"},
        {aHoistVolume, "aHoistVolume"},   {aDebaseVolume, "aDebaseVolume"},
        {aSlience, "aSlience"},           {aStereo, "aStereo"},
        {aLeftTrack, "aLeftTrack"},       {aRightTrack, "aRightTrack"},
        {aBossKey, "aBossKey"},           {aOption, "aOption"},
        {aPlayList, "aPlayList"},         {aFullScreen, "aFullScreen"},
    };
    for (const Entry& e : entries) {
        e.Field = new TAction(this);
        e.Field->SetName(e.Name);
        e.Field->SetCaption(e.Name); // the channel handler tells the three channel actions by their captions
        e.Field->SetActionList(Short_AL);
    }
}
