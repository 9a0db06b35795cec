#pragma once
// The capture-list window TCapture_Form: a 120 x 80 thumbnail per captured frame, each keeping its picture in
// memory, with the name it is to be saved under as its caption; its tool buttons capture, delete, empty, save
// all and save the selected capture, as bitmaps or JPEG files; a close request asks about unsaved captures.

#include <memory>
#include <string>

#include <QImage>
#include <QPointer>

#include "platform/forms/Dialogs.h"
#include "ui/CompanionFrame.h"

class TCapture_Form : public TCompanionFrame {
public:
    explicit TCapture_Form(QWidget* Owner = nullptr);
    ~TCapture_Form() override;

    forms::TPanel* Capture_P = nullptr;
    tximage* Capture_xi = nullptr;
    tximage* Delete_XI = nullptr;
    tximage* Empty_XI = nullptr;
    tximage* SaveAll_XI = nullptr;
    tximage* Save_XI = nullptr;
    std::unique_ptr<forms::TSaveDialog> SaveCurImage_SD;

    // The caption of the selected thumbnail; empty when none is selected.
    std::string SelectedCapturePath;
    QPointer<forms::TPanel> SelectedThumb;

    void FormCreate(forms::TObject* Sender);
    void FormClose(forms::TObject* Sender, forms::TCloseAction& Action);

    // One thumbnail for the capture Path with its picture.
    void AddThumb(const std::string& Path, const QImage& Picture);
    void AppendThumb(const std::string& Path, const QImage& Picture);
    int DeleteSelectedThumb();
    void ClearThumbs();
    // The caption (save path) and the picture of a thumbnail.
    static std::string ThumbPath(const forms::TPanel* Thumb);
    static tximage* ThumbImage(const forms::TPanel* Thumb);
    // Whether a thumbnail holds the capture name Path.
    bool HoldsCapture(const std::string& Path) const;

    void WMCaptureListAdd(forms::TMessage& Message);
    void Capture_xiClick(forms::TObject* Sender);
    void SelectThumbClick(forms::TObject* Sender);
    void ThumbMouseEnter(forms::TObject* Sender);
    void ThumbMouseLeave(forms::TObject* Sender);
    void SaveSelectedCapture();
    void SaveAllCaptures();
    void SaveCaptureImage(const QImage& Image, const std::string& FileName, const std::string& ImageType);
    // Asks whether the captures not saved yet are to be saved, and saves them on Yes.
    void SaveUnsavedCaptures();
};

// The capture-list window while it exists; nullptr before the first use and after it was freed.
extern TCapture_Form* CaptureListForm;
