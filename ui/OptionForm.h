#pragma once
// The options dialog TOption_Form: nine page buttons on the left choose the page shown on the right, each
// page built in code when chosen and torn down when another is chosen. Most controls change an edited copy of
// a setting, and OK writes every setting whose edited copy differs from the value read when the dialog
// opened; the Video page, the File link page and the boss-key test of the Shortcut key page act at once. Its
// launcher ShowOptionDialog. The unit spreads over a few files by concern:
//   OptionForm.cpp            the frame, its texts, the page mechanism and control builders, reading and
//                             saving the settings, OK and Cancel, and the launcher
//   OptionForm_Pages.cpp      the Player, Video, Audio, Sub picture, Renderer, Capture and System pages
//   OptionForm_Shortcuts.cpp  the Shortcut key page
//   OptionForm_FileLink.cpp   the File link page

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ColorBox.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/RadioButton.h"
#include "platform/forms/Registry.h"
#include "platform/forms/ScrollBox.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/StringList.h"
#include "platform/forms/TrackBar.h"
#include "platform/forms/UpDown.h"
#include "platform/forms/WinControls.h"
#include "platform/media/Interfaces.h"
#include "platform/win32/Fonts.h"
#include "platform/win32/Types.h"

// A setting the dialog edits: the value read when it opened, and the value its controls give it.
template <class T> struct TEditedSetting {
    T LoadedValue{};
    T EditedValue{};
    bool Changed() const { return EditedValue != LoadedValue; }
};

// The ids of the pages (there is no page 9).
namespace OptionPages {
inline constexpr int None = 0, Player = 1, Video = 2, Audio = 3, SubPicture = 4, FileLink = 5, Shortcut = 6,
                     Decoder = 7, Capture = 8, System = 10;
}

inline constexpr int OptionTextCount = 81;
inline constexpr int ExtensionGroupCount = 8;
// Every box of the File link page: each group's header and its extensions.
inline constexpr int ExtensionBoxCount = 85;

class TOption_Form : public forms::TForm {
public:
    explicit TOption_Form(QWidget* Owner = nullptr);
    ~TOption_Form() override;

    // --- Components (the form description). ---
    forms::TPanel* Panel2 = nullptr;
    forms::TButton* OK_Btn = nullptr;
    forms::TButton* Cancel_Btn = nullptr;
    forms::TPanel* Panel3 = nullptr;
    forms::TPanel* Panel1 = nullptr;
    forms::TPanel* Btn_P = nullptr;
    forms::TSpeedButton* Player_SB = nullptr;
    forms::TSpeedButton* Video_SB = nullptr;
    forms::TSpeedButton* Audio_SB = nullptr;
    forms::TSpeedButton* Decoder_SB = nullptr;
    forms::TSpeedButton* SubPicture_SB = nullptr;
    forms::TSpeedButton* Capture_SB = nullptr;
    forms::TSpeedButton* ShortcutKey_SB = nullptr;
    forms::TSpeedButton* FileType_SB = nullptr;
    forms::TSpeedButton* System_SB = nullptr;
    forms::TPanel* Panel4 = nullptr;
    forms::TPanel* Component_P = nullptr;
    std::unique_ptr<forms::TOpenDialog> SpFile_OD;

    // --- Set-up by the launcher, in this order. ---
    void SetLanguage(int Code) { LanguageCode = Code; }
    void LoadTexts();
    void ApplyTexts();
    void LoadSettings();

    // --- Event handlers. ---
    void FormCreate(forms::TObject* Sender);
    void FormShow(forms::TObject* Sender);
    void Player_SBClick(forms::TObject* Sender);
    void Video_SBClick(forms::TObject* Sender);
    void Audio_SBClick(forms::TObject* Sender);
    void Decoder_SBClick(forms::TObject* Sender);
    void SubPicture_SBClick(forms::TObject* Sender);
    void Capture_SBClick(forms::TObject* Sender);
    void ShortcutKey_SBClick(forms::TObject* Sender);
    void FileType_SBClick(forms::TObject* Sender);
    void System_SBClick(forms::TObject* Sender);
    void OK_BtnClick(forms::TObject* Sender);
    void Cancel_BtnClick(forms::TObject* Sender);

    // --- The frame (OptionForm.cpp). ---
    void CreateLists();
    // Every page button takes the UI font, and a caption narrower than 18 columns (a wide character counts
    // 2) is filled with blanks to 18.
    void PadPageButtons();
    // Frees every control of the page panel, last first.
    void ClearPage();
    void SaveSettings();

    // --- Page builders. ---
    void BuildPlayerPage();
    void BuildVideoPage();
    void BuildAudioPage();
    void BuildSubPicturePage();
    void BuildFileLinkPage();
    void BuildShortcutPage();
    void BuildDecoderPage();
    void BuildCapturePage();
    void BuildSystemPage();

    // --- Control builders: each makes one control owned by and placed on Parent. ---
    forms::TLabel* AddCaption(QWidget* Parent, const std::string& Text, int Top, int Left);
    forms::TPanel* AddLine(QWidget* Parent, int Left, int Top);
    forms::TLabel* AddLabel(QWidget* Parent, const std::string& Text, int Top, int Left);
    void AddLabelRef(forms::TLabel*& Label, QWidget* Parent, int Top, int Left, const std::string& Text);
    void AddReadOnlyEdit(forms::TEdit*& Edit, QWidget* Parent, int Width, int Top, int Left);
    void AddUpDown(forms::TEdit* Edit, forms::TUpDown*& UpDown, int Max, int Min,
                   const forms::TUDClickEvent& OnClick, QWidget* Owner);
    void AddRadioButton(forms::TRadioButton*& Radio, QWidget* Parent, int Width, int Top, int Left,
                        const forms::TNotifyEvent& OnClick, const std::string& Text);
    void AddCheckBox(forms::TCheckBox*& Box, QWidget* Parent, int Width, int Top, int Left,
                     const forms::TNotifyEvent& OnClick, const std::string& Text);
    void AddSpeedButton(forms::TSpeedButton*& Button, QWidget* Parent, int Top, int Left,
                        const forms::TNotifyEvent& OnClick, const std::string& Text);
    forms::TSpeedButton* AddGlyphButton(QWidget* Parent, const std::string& Text, bool Flat, int Width,
                                        int Top, int Left, const forms::TNotifyEvent& OnClick,
                                        const std::string& GlyphFile);
    void AddButton(forms::TButton*& Button, QWidget* Parent, int Width, int Height, int Top, int Left,
                   const forms::TNotifyEvent& OnClick, const std::string& Text);
    void AddTrackBar(forms::TTrackBar*& Bar, QWidget* Parent, int Width, int Height, int Top, int Left,
                     const forms::TNotifyEvent& OnChange);
    void AddComboBox(forms::TComboBox*& Combo, QWidget* Parent, int Width, int Top, int Left,
                     const forms::TNotifyEvent& Handler);
    void AddColorBox(forms::TColorBox*& Box, QWidget* Parent, int Width, int Top, int Left,
                     const forms::TNotifyEvent& Handler);
    void AddSunkenPanel(forms::TPanel*& Panel, QWidget* Parent, int Height, int Top, int Left);
    void AddScrollPanel(forms::TPanel*& Panel, forms::TScrollBox*& ScrollBox, int Height, int Top, int Left,
                        QWidget* Parent);

    // --- Player page (OptionForm_Pages.cpp). ---
    void FillDriveCombo();
    void CheckDefaultDrive();
    void FillResumeCombo();
    void ShowPlayerValues();
    void DriveComboChange(forms::TObject* Sender);
    void ResumeComboChange(forms::TObject* Sender);
    void WhileOpenMediaClick(forms::TObject* Sender);
    void MemoryLastPosClick(forms::TObject* Sender);
    void ReloadLastClick(forms::TObject* Sender);
    void AddAlliedMediaClick(forms::TObject* Sender);
    void FullScreenAtonceClick(forms::TObject* Sender);
    void ForwardUpDownClick(forms::TObject* Sender, forms::TUDBtnType Button);
    void BackwardUpDownClick(forms::TObject* Sender, forms::TUDBtnType Button);

    // --- Video page. ---
    void SaveVideoRect();
    void SavePanelSize();
    // 1 up, 2 down; 3 left, 4 right: 5 pixels.
    void MoveVideoVertical(int Direction);
    void MoveVideoHorizontal(int Direction);
    // 6: 105 percent, 7: 95 percent, centred in the panel.
    void ZoomVideo(int Mode);
    void ResetPositionClick(forms::TObject* Sender);
    void FlipVerticalClick(forms::TObject* Sender);
    void FlipHorizontalClick(forms::TObject* Sender);
    void ResetFlipClick(forms::TObject* Sender);

    // --- Audio page. ---
    void SpeakerDefaultClick(forms::TObject* Sender);

    // --- Sub picture page. ---
    void BrowseSubtitleFile(forms::TObject* Sender);
    void FillFontSizes(const std::string& Face);
    // One font of the enumeration of FillFontSizes; 0 stops it.
    int FontSizeEnumProc(const win32::TEXTMETRIC& Metric, win32::DWORD FontType);
    // Puts Size into the size combo before the first item with a greater number (at the end when none is).
    void InsertSizeSorted(int Size);

    // --- Renderer page. ---
    void SelectBySystemClick(forms::TObject* Sender);
    void SelectYourselfClick(forms::TObject* Sender);
    void RendererRadioClick(forms::TObject* Sender);
    void UseGpuClick(forms::TObject* Sender);

    // --- Capture page. ---
    void BrowseCapturePath(forms::TObject* Sender);
    void ImageTypeComboChange(forms::TObject* Sender);
    void AskSaveOptionClick(forms::TObject* Sender);

    // --- System page. ---
    void MinimizeToTrayClick(forms::TObject* Sender);

    // --- Shortcut key page (OptionForm_Shortcuts.cpp). ---
    void HookHeader();
    void HeaderWndProc(forms::TMessage& Message);
    void SaveColumnWidths();
    void RestoreColumnWidths();
    void LoadShortcutRows();
    void AddShortcutRow(const std::string& Caption, const std::string& Keys);
    void BuildShortcutLines();
    void ShortcutListMouseDown(forms::TObject* Sender, forms::TMouseButton Button, forms::TShiftState Shift,
                               int X, int Y);
    void MouseComboDone(forms::TObject* Sender);
    void ModifierComboDone(forms::TObject* Sender);
    void KeyComboDone(forms::TObject* Sender);
    void RestoreDefaultShortcuts(forms::TObject* Sender);
    void SaveShortcuts();
    void RegisterNewBossKey();

    // --- File link page (OptionForm_FileLink.cpp). ---
    void BuildExtensionGroups();
    void AddAllExtensionBoxes();
    void AddExtensionBoxes(const forms::TStringList& Group, int& Top, forms::TRegistry& Registry);
    void ExtensionBoxClick(forms::TObject* Sender);
    void SelectAllExtensions(forms::TObject* Sender);
    void SelectNoExtensions(forms::TObject* Sender);
    void DefaultExtensions(forms::TObject* Sender);

    // --- Fields. ---
    int LanguageCode = 0;
    int CurrentPage = OptionPages::None;
    std::array<std::string, OptionTextCount> OptionTexts;

    // The settings the dialog edits, in the order it reads them.
    TEditedSetting<std::string> DefDriver;
    TEditedSetting<int> AutoResumePlay, WhileOpenMedia, MemoryLastPos, ReloadLast, AddAlliedMedia,
        FullScreenAtonce, MinimizeToTray;
    TEditedSetting<std::string> CaptureImagePath, DefaultImageType;
    TEditedSetting<int> AskSaveOption, QuickOnce, SlowOnce;
    // Read, never used further.
    TEditedSetting<std::string> BossKey;
    TEditedSetting<int> SelKernelType;
    int LoadedRenderType = 0;
    TEditedSetting<int> UseGPU;

    // Results read by the launcher.
    int ResultCode = 0;
    bool RendererChanged = false;
    int EditedRenderType = 0;

    // The video's place when the dialog opened, and now: the panel's size, the old renderer's window
    // rectangle (Left, Top, Width, Height), and the mixing renderers' source and destination (Left, Top,
    // Right, Bottom).
    struct TPanelSize {
        int Width = 0;
        int Height = 0;
    };
    TPanelSize VideoPanelSize;
    struct TRendererRect {
        int Left = 0, Top = 0, Width = 0, Height = 0;
    };
    struct {
        TRendererRect Loaded, Current;
    } OldRendererRect;
    win32::RECT VmrSourceRect;
    struct {
        win32::RECT Loaded, Current;
    } VmrDestRect;

    // The controls of the page shown that handlers read; all nullptr when the page is torn down.
    struct TPageControls {
        forms::TComboBox* DriveCombo = nullptr;
        forms::TLabel* WarningLabel = nullptr;
        forms::TComboBox* ResumeCombo = nullptr;
        std::array<forms::TRadioButton*, 3> WhileOpenMediaRadios{};
        forms::TCheckBox* MemoryLastPosBox = nullptr;
        forms::TCheckBox* ReloadLastBox = nullptr;
        forms::TCheckBox* AddAlliedMediaBox = nullptr;
        forms::TCheckBox* FullScreenAtonceBox = nullptr;
        forms::TEdit* ForwardEdit = nullptr;
        forms::TUpDown* ForwardUpDown = nullptr;
        forms::TEdit* BackwardEdit = nullptr;
        forms::TUpDown* BackwardUpDown = nullptr;

        std::array<forms::TTrackBar*, 4> PictureBars{};
        std::array<forms::TButton*, 4> PictureResetButtons{};

        std::array<forms::TRadioButton*, 8> SpeakerRadios{};

        forms::TEdit* SubPictureFileEdit = nullptr;
        forms::TSpeedButton* SubPictureBrowseButton = nullptr;
        forms::TComboBox* FontNameCombo = nullptr;
        forms::TComboBox* FontSizeCombo = nullptr;
        forms::TColorBox* FontColorBox = nullptr;
        forms::TComboBox* PositionCombo = nullptr;
        forms::TTrackBar* PositionBar = nullptr;

        forms::TCheckBox* BySystemBox = nullptr;
        forms::TCheckBox* YourselfBox = nullptr;
        forms::TRadioButton* Vmr9Radio = nullptr;
        forms::TRadioButton* Vmr7Radio = nullptr;
        forms::TRadioButton* OldRendererRadio = nullptr;
        forms::TCheckBox* UseGpuBox = nullptr;

        forms::TEdit* CapturePathEdit = nullptr;
        forms::TSpeedButton* CaptureBrowseButton = nullptr;
        forms::TComboBox* ImageTypeCombo = nullptr;
        forms::TCheckBox* AskSaveOptionBox = nullptr;

        forms::TCheckBox* MinimizeToTrayBox = nullptr;

        forms::TPanel* ShortcutPanel = nullptr;
        forms::TListView* ShortcutList = nullptr;
        forms::TButton* DefaultModeButton = nullptr;

        forms::TPanel* ExtensionPanel = nullptr;
        forms::TScrollBox* ExtensionScrollBox = nullptr;
        std::array<forms::TButton*, 3> ExtensionButtons{};
    };
    TPageControls Page;

    // The Shortcut key page.
    forms::TStringList CommandKeyNames;
    forms::TStringList ShortcutRowTexts;
    forms::TStringList LoadedShortcutLines;
    forms::TStringList EditedShortcutLines;
    forms::TComboBox* InPlaceCombo = nullptr;
    std::array<int, 4> HeaderWidths{};
    bool HeaderPressed = false;
    bool BossKeyChanged = false;
    int NewBossModifiers = 0;
    int NewBossKey = 0;

    // The File link page.
    std::array<forms::TStringList, ExtensionGroupCount> ExtensionGroups;
    std::array<int, 4> BoxColumns{};
    bool BuildingFileLinkPage = false;

private:
    // A click of a page button: its page is built unless shown already.
    void ChoosePage(void (TOption_Form::*Builder)());
    void DestroyInPlaceCombo();
    // The shortcut text of a row from its modifier and key cells.
    static std::string RowKeys(forms::TListItem* Row);
    // Common to ModifierComboDone and KeyComboDone: Cell 2 (modifier) or 3 (key).
    void ComboDone(int Cell);
    // The registry the File link page reads and changes: the user's, rooted at HKEY_CLASSES_ROOT.
    static std::unique_ptr<forms::TRegistry> ClassesRegistry();
    // Links or unlinks the extension of Box (a box of the File link page) as the box is ticked or not.
    void ApplyExtensionBox(forms::TCheckBox* Box, forms::TRegistry& Registry);
    // A header box clicked: every box of its group takes its state, and is linked or unlinked to match.
    void ApplyHeaderBox(forms::TCheckBox* Header, forms::TRegistry& Registry);
    // The three buttons of the File link page: box k (page order) is ticked when Ticked(k), then every
    // extension is linked or unlinked to match its box, as one write of the registry.
    void SetExtensionBoxes(const std::function<bool(std::size_t)>& Ticked);
    int fontLogPixelsY_ = 96;
};

// Runs the options dialog over AppHandle's window in Language. After OK the shortcuts are bound again, and
// when another renderer was chosen RenderType takes it, the user is told that the player restarts, and
// RestartNeeded is set (it is never cleared). Nothing happens for an AppHandle of 0.
void ShowOptionDialog(win32::HWND AppHandle, int Language, bool& RestartNeeded);
