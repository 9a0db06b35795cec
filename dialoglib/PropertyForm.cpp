#include "dialoglib/PropertyForm.h"

#include "dialoglib/FormParts.h"

#include <QApplication>
#include <QStyle>

using namespace forms;

namespace {

// The column in the group box where every caption ends.
constexpr int CaptionRight = 90;

} // namespace

TProperty_Form::TProperty_Form(QWidget* Owner) : TForm(Owner) {
    SetName("Property_Form");
    MakeFixedDialog(*this, 524, 310);

    GroupBox1 = NewComponent<TGroupBox>(this, "GroupBox1");
    GroupBox1->SetBounds(8, 4, 508, 264);
    Image1 = NewComponent<TImage>(GroupBox1, "Image1");
    Image1->SetBounds(18, 20, 32, 32);
    Image1->SetAutoSize(true);
    Image1->Picture().Assign(QApplication::style()->standardIcon(QStyle::SP_FileIcon).pixmap(32).toImage());
    MediaFileName_L = NewComponent<TLabel>(GroupBox1, "MediaFileName_L");
    MediaFileName_L->SetBounds(CaptionRight + 10, 30, 0, 0);
    Panel1 = NewComponent<TPanel>(GroupBox1, "Panel1");
    Panel1->SetBounds(12, 62, 484, 2);
    Panel1->SetBevelOuter(bvLowered);

    struct Row {
        TLabel** caption;
        const char* captionName;
        TLabel** value;
        const char* valueName;
    };
    const Row rows[] = {{&Type_L, "Type_L", &TypeValue_L, "TypeValue_L"},
                        {&Size_L, "Size_L", &SizeValue_L, "SizeValue_L"},
                        {&FrameSpeed_L, "FrameSpeed_L", &FrameSpeedValue_L, "FrameSpeedValue_L"},
                        {&MediaTime_L, "MediaTime_L", &MediaTimeValue_L, "MediaTimeValue_L"},
                        {&Resolution_L, "Resolution_L", &ResolutionValue_L, "ResolutionValue_L"},
                        {&Path_L, "Path_L", nullptr, nullptr}};
    int top = 76;
    for (const Row& row : rows) {
        *row.caption = NewComponent<TLabel>(GroupBox1, row.captionName);
        (*row.caption)->SetBounds(CaptionRight, top, 0, 0);
        if (row.value != nullptr) {
            *row.value = NewComponent<TLabel>(GroupBox1, row.valueName);
            (*row.value)->SetBounds(CaptionRight + 10, top, 0, 0);
        }
        top += 26;
    }
    Path_Memo = NewComponent<TMemo>(GroupBox1, "Path_Memo");
    Path_Memo->SetBounds(CaptionRight + 10, Path_L->Top(), 394, 264 - Path_L->Top() - 10);
    Path_Memo->SetReadOnly(true);
    Path_Memo->SetBorderStyle(bsNone);
    Path_Memo->SetColor(clBtnFace);

    OK_Btn = NewComponent<TButton>(this, "OK_Btn");
    OK_Btn->SetBounds(441, 277, 75, 25);
    OK_Btn->OnClick = [this](TObject* Sender) { OK_BtnClick(Sender); };

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

void TProperty_Form::ApplyTexts() {
    SetCaption(texts_.Caption);
    Type_L->SetCaption(texts_.Type);
    Size_L->SetCaption(texts_.Size);
    FrameSpeed_L->SetCaption(texts_.FrameSpeed);
    MediaTime_L->SetCaption(texts_.MediaTime);
    Resolution_L->SetCaption(texts_.Resolution);
    Path_L->SetCaption(texts_.Path);
    OK_Btn->SetCaption(texts_.OK);
}

void TProperty_Form::ShowFrameRate(double FrameRate) {
    FrameSpeedValue_L->SetCaption(FrameRateText(FrameRate));
}

void TProperty_Form::ShowResolution(int Width, int Height) {
    ResolutionValue_L->SetCaption(ResolutionText(Width, Height));
}

void TProperty_Form::ShowMedia(const std::string& FileName, const std::string& MediaTime) {
    FilePath = FileName;
    MediaTimeValue_L->SetCaption(MediaTime);
    const TMediaFacts facts = DescribeMedia(PlayType_, FilePath, texts_);
    TypeValue_L->SetCaption(facts.TypeValue);
    MediaFileName_L->SetCaption(facts.MediaFileName);
    Path_Memo->Lines().Add(FilePath);
    SizeValue_L->SetCaption(SizeText(facts.Size, texts_));
}

void TProperty_Form::FormShow(TObject*) {
    AlignCaptions();
}

void TProperty_Form::AlignCaptions() {
    for (TLabel* caption : {Type_L, Size_L, FrameSpeed_L, MediaTime_L, Resolution_L, Path_L})
        caption->SetLeft(CaptionRight - caption->Width());
}

void TProperty_Form::OK_BtnClick(TObject*) {
    Close();
}
