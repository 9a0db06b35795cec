#include "ui/CaptureForm.h"

#include "core/FrameCapture.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/WindowMessages.h"
#include "platform/forms/Forms.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Window.h"
#include "ui/SaveOptionForm.h"

using namespace forms;

TCapture_Form* CaptureListForm = nullptr;

namespace {

constexpr int ThumbPitch = 90;

TColor Colour(win32::COLORREF Value) {
    return static_cast<TColor>(Value);
}

void Inform(const std::string& Text) {
    Application().MessageBox(Text, "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

void PaintThumb(TPanel* Thumb, TColor Color) {
    Thumb->SetColor(Color);
    Thumb->Font().SetColor(Color);
}

} // namespace

TCapture_Form::TCapture_Form(QWidget* Owner)
    : TCompanionFrame(Owner, TFrameParams{{10, ThumbPitch, 55, false, true},
                                          67,
                                          3,
                                          150,
                                          false,
                                          &State.CaptureListVisible,
                                          &State.CaptureWindowHandle,
                                          &State.SelectedCaptureIndex}) {
    SetName("Capture_Form");
    Capture_P = ListArea;
    Capture_P->SetName("Capture_P");
    SetBounds(Left(), Top(), 189, 421);
    Capture_xi = AddToolButton("Capture_xi", 14, "Capture", "Capture_Normal_sbtn.bmp",
                               "Capture_Hight_sbtn.bmp", "Capture_Enter_sbtn.bmp");
    Delete_XI = AddToolButton("Delete_XI", 40, "Delete", "Del_Normal_Btn.bmp", "Del_Hight_Btn.bmp",
                              "Del_Enter_Btn.bmp");
    Empty_XI = AddToolButton("Empty_XI", 66, "Empty", "Empty_Normal_Btn.bmp", "Empty_Hight_Btn.bmp",
                             "Empty_Enter_Btn.bmp");
    SaveAll_XI = AddToolButton("SaveAll_XI", 92, "Save all", "SaveAll_Normal_btn.bmp",
                               "SaveAll_Hight_btn.bmp", "SaveAll_Enter_btn.bmp");
    Save_XI = AddToolButton("Save_XI", 118, "Save", "Save_Normal_Btn.bmp", "Save_Hight_Btn.bmp",
                            "Save_Enter_Btn.bmp");
    SaveCurImage_SD = std::make_unique<TSaveDialog>(this);
    Capture_xi->OnClick = [this](TObject* Sender) { Capture_xiClick(Sender); };
    Delete_XI->OnClick = [this](TObject*) { DeleteSelectedThumb(); };
    Empty_XI->OnClick = [this](TObject*) { ClearThumbs(); };
    SaveAll_XI->OnClick = [this](TObject*) { SaveAllCaptures(); };
    Save_XI->OnClick = [this](TObject*) { SaveSelectedCapture(); };
    SetMessageHandler(WM_CAPTURELIST_ADD, [this](TMessage& M) { WMCaptureListAdd(M); });
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    DoCreate();
}

TCapture_Form::~TCapture_Form() {
    if (CaptureListForm == this)
        CaptureListForm = nullptr;
    // Frames posted to this window that it never took are of no use to anyone now.
    CapturedFrames.Clear();
}

void TCapture_Form::FormCreate(TObject*) {
    State.CaptureListVisible = true;
    ResetScrollState();
    LayoutFrameBars();
    EnableDoubleBuffering();
}

void TCapture_Form::FormClose(TObject*, TCloseAction& Action) {
    SaveUnsavedCaptures();
    State.CaptureListVisible = false;
    Action = caFree;
}

// --- Thumbnails. ---

void TCapture_Form::AddThumb(const std::string& Path, const QImage& Picture) {
    AppendRow([&](int Top) {
        auto* thumb = new TPanel(Capture_P);
        thumb->SetBevelOuter(bvNone);
        thumb->SetDoubleBuffered(true);
        thumb->SetBounds(10, Top, 120, 80);
        PaintThumb(thumb, clBlack);
        thumb->SetCaption(Path);
        auto* image = new tximage(thumb);
        image->SetName("Image");
        image->SetBounds(1, 1, 118, 78);
        image->SetStretch(true);
        image->Picture().Assign(Picture);
        image->OnClick = [this](TObject* Sender) { SelectThumbClick(Sender); };
        image->OnMouseEnter = [this](TObject* Sender) { ThumbMouseEnter(Sender); };
        image->OnMouseLeave = [this](TObject* Sender) { ThumbMouseLeave(Sender); };
        thumb->Show();
        return thumb;
    });
}

void TCapture_Form::AppendThumb(const std::string& Path, const QImage& Picture) {
    AddThumb(Path, Picture);
}

std::string TCapture_Form::ThumbPath(const TPanel* Thumb) {
    return Thumb != nullptr ? Thumb->Caption() : std::string();
}

tximage* TCapture_Form::ThumbImage(const TPanel* Thumb) {
    return Thumb != nullptr ? Thumb->findChild<tximage*>("Image", Qt::FindDirectChildrenOnly) : nullptr;
}

bool TCapture_Form::HoldsCapture(const std::string& Path) const {
    for (const TPanel* thumb : Rows())
        if (SameText(ThumbPath(thumb), Path))
            return true;
    return false;
}

int TCapture_Form::DeleteSelectedThumb() {
    const int index = RemoveSelectedRow();
    SelectedCapturePath.clear();
    SelectedThumb = nullptr;
    return index;
}

void TCapture_Form::ClearThumbs() {
    FreeRows();
    ResetScrollState();
    RefitScroll();
    SelectedCapturePath.clear();
    SelectedThumb = nullptr;
}

void TCapture_Form::WMCaptureListAdd(TMessage& Message) {
    // The frame travels with the message; a key that holds none (taken already) adds nothing.
    std::optional<TCapturedFrame> frame = CapturedFrames.Take(Message.LParam);
    if (!frame)
        return;
    AppendThumb(frame->Name, frame->Picture);
    RefitScroll();
}

void TCapture_Form::Capture_xiClick(TObject*) {
    win32::PostMessage(State.MainWindowHandle, WM_CAPTURELIST_CAPTURE, 0, 0);
}

void TCapture_Form::SelectThumbClick(TObject* Sender) {
    const int index = IndexOfRow(qobject_cast<QWidget*>(Sender));
    TPanel* thumb = RowAt(index);
    if (thumb == nullptr)
        return;
    for (TPanel* other : Rows())
        if (other->Color() == Colour(State.SelectedPanelColor))
            PaintThumb(other, clBlack);
    SelectedCapturePath = ThumbPath(thumb);
    State.SelectedCaptureIndex = index;
    SelectedThumb = thumb;
    PaintThumb(thumb, Colour(State.SelectedPanelColor));
}

void TCapture_Form::ThumbMouseEnter(TObject* Sender) {
    const auto selected = Colour(State.SelectedPanelColor);
    for (TPanel* other : Rows())
        if (other->Color() != selected)
            PaintThumb(other, clBlack);
    TPanel* thumb = RowAt(IndexOfRow(qobject_cast<QWidget*>(Sender)));
    if (thumb != nullptr && thumb->Color() != selected)
        PaintThumb(thumb, Colour(State.LightGreyColor));
}

void TCapture_Form::ThumbMouseLeave(TObject* Sender) {
    TPanel* thumb = RowAt(IndexOfRow(qobject_cast<QWidget*>(Sender)));
    if (thumb != nullptr && thumb->Color() != Colour(State.SelectedPanelColor))
        PaintThumb(thumb, clBlack);
}

// --- Saving. ---

void TCapture_Form::SaveCaptureImage(const QImage& Image, const std::string& FileName,
                                     const std::string& ImageType) {
    // A failed write raises the file error naming the file and the reason: no success is shown then.
    const std::string written = SaveCaptureFile(Image, FileName, ImageType);
    Inform(written + " Save successfully.");
}

void TCapture_Form::SaveSelectedCapture() {
    if (RowTotal() == 0)
        return;
    tximage* image = ThumbImage(SelectedThumb.data());
    if (SelectedCapturePath.empty() || image == nullptr) {
        Inform("Please select a image to save.");
        return;
    }
    const int ask = ReadIniInteger("File", "AskSaveOption");
    std::string imageType = ReadIniString("File", "DefaultImageType");
    std::string fileName = SelectedCapturePath;
    if (ask == 1) {
        SetImageSaveFilter(*SaveCurImage_SD, fileName);
        if (!SaveCurImage_SD->Execute())
            return;
        imageType = SaveCurImage_SD->FilterIndex == 2 ? ".jpg" : ".bmp";
        fileName = SaveCurImage_SD->FileName;
    }
    SaveCaptureImage(image->Picture().Image(), fileName, imageType);
    SelectedCapturePath.clear();
}

void TCapture_Form::SaveAllCaptures() {
    if (RowTotal() == 0)
        return;
    const int ask = ReadIniInteger("File", "AskSaveOption");
    if (ask == 1) {
        std::string folder, imageType;
        // The application window is the main window's.
        ShowSaveOptionDialog(State.MainWindowHandle, State.Language, folder, imageType);
        folder = IncludeTrailingSlash(folder);
        if (folder.empty() || imageType.empty())
            return;
        THourGlass busy;
        for (const TPanel* thumb : Rows())
            if (tximage* image = ThumbImage(thumb); !ThumbPath(thumb).empty() && image != nullptr)
                SaveCaptureFile(image->Picture().Image(), folder + ExtractFileName(ThumbPath(thumb)),
                                imageType);
    } else {
        THourGlass busy;
        const std::string imageType = ReadIniString("File", "DefaultImageType");
        for (const TPanel* thumb : Rows())
            if (tximage* image = ThumbImage(thumb); !ThumbPath(thumb).empty() && image != nullptr)
                SaveCaptureFile(image->Picture().Image(), ThumbPath(thumb), imageType);
    }
    Inform("Photo Save the success of!");
}

void TCapture_Form::SaveUnsavedCaptures() {
    std::vector<const TPanel*> unsaved;
    for (const TPanel* thumb : Rows()) {
        const std::string path = ThumbPath(thumb);
        if (!path.empty() &&
            (State.SavedCaptureFiles == nullptr || State.SavedCaptureFiles->IndexOf(path) < 0))
            unsaved.push_back(thumb);
    }
    if (unsaved.empty())
        return;
    if (Application().MessageBox("Interception of the images are not saved, to save?", "Information",
                                 win32::MB_YESNO | win32::MB_ICONINFORMATION) != win32::IDYES)
        return;
    {
        THourGlass busy;
        const std::string imageType = ReadIniString("File", "DefaultImageType");
        for (const TPanel* thumb : unsaved)
            if (tximage* image = ThumbImage(thumb))
                SaveCaptureFile(image->Picture().Image(), ThumbPath(thumb), imageType);
    }
    Inform("Photo Save the success of!");
}
