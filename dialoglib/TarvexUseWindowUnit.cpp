// The exports of the dialog library and the frame each of them runs around its dialog.

#include "dialoglib/TarvexUseWindow.h"

#include <memory>

#include <QCoreApplication>
#include <QPointer>
#include <QScopeGuard>

#include "dialoglib/GotoForm.h"
#include "dialoglib/ManageHistoryForm.h"
#include "dialoglib/PropertyForm.h"
#include "dialoglib/ShutdownDelayForm.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Window.h"

namespace {

// The common frame: nothing for a handle of 0; otherwise the handle becomes the owner of this library's
// dialogs, the form is made, given the dialog font, set up, shown modally, its results copied out, and freed.
// An error shows in the library's error box and goes no further: no exception leaves an export.
template <class TDialog, class SetUp, class CopyResults>
void RunDialog(win32::HWND AppHandle, SetUp&& SetUpCalls, CopyResults&& CopyResultsOut) {
    if (AppHandle == nullptr)
        return;
    try {
        forms::Application().SetHandle(AppHandle);
        // The library's error boxes carry the program's title, as the program's own do.
        if (forms::Application().Title().empty())
            forms::Application().SetTitle(QCoreApplication::applicationName().toStdString());
        auto form = std::make_unique<TDialog>(win32::WidgetOf(forms::Application().Handle()));
        // A form freed with its owner window during the modal run is not freed again.
        const QPointer<TDialog> alive(form.get());
        const auto forgetFreedForm = qScopeGuard([&] {
            if (!alive)
                (void)form.release();
        });
        form->Font().SetName("MS Serf");
        form->Font().SetSize(9);
        SetUpCalls(*form);
        form->ShowModal();
        if (alive)
            CopyResultsOut(*form);
    } catch (...) {
        forms::Application().HandleException(std::current_exception());
    }
}

} // namespace

extern "C" {

void CreateShutDownDelayForm(win32::HWND AppHandle, std::int32_t Language) {
    RunDialog<TShutdownDelay_Form>(
        AppHandle,
        [&](TShutdownDelay_Form& Form) {
            Form.CountDown = ShutdownCountDownStart;
            Form.ComputerName = GetLocalComputerName();
            Form.SetLanguage(Language);
            Form.LoadTexts();
            Form.ApplyTexts();
        },
        [](TShutdownDelay_Form&) {});
}

void CreateManageHistoryForm(win32::HWND AppHandle, const forms::TStringList* History,
                             std::int32_t* ResultCode, std::int32_t Language) {
    RunDialog<TManageHistory_Form>(
        AppHandle,
        [&](TManageHistory_Form& Form) {
            if (History != nullptr)
                for (int i = 0; i < History->Count(); ++i)
                    Form.AddHistoryEntry((*History)[i]);
            Form.History_CL->SetScrollWidth(2 * Form.History_CL->Width());
            Form.SetLanguage(Language);
            Form.LoadTexts();
            Form.ApplyTexts();
        },
        [&](TManageHistory_Form& Form) {
            if (ResultCode != nullptr)
                *ResultCode = Form.ResultCode();
        });
}

void CreateMediaPropertyForm(win32::HWND AppHandle, std::int32_t PlayType, const char* FileName,
                             const char* MediaTime, std::int32_t Width, std::int32_t Height, double FrameRate,
                             std::int32_t Language) {
    RunDialog<TProperty_Form>(
        AppHandle,
        [&](TProperty_Form& Form) {
            Form.SetLanguage(Language);
            Form.SetPlayType(PlayType);
            Form.LoadTexts();
            Form.ApplyTexts();
            Form.ShowFrameRate(FrameRate);
            Form.ShowMedia(FileName != nullptr ? FileName : "", MediaTime != nullptr ? MediaTime : "");
            Form.ShowResolution(Width, Height);
        },
        [](TProperty_Form&) {});
}

void CreateGotoMediaForm(win32::HWND AppHandle, std::int32_t Language, std::int64_t Length,
                         std::int32_t PlayType, std::int64_t* Seconds, std::uint8_t* Cancelled) {
    RunDialog<TGoto_Form>(
        AppHandle,
        [&](TGoto_Form& Form) {
            Form.SetLength(PlayType, Length);
            Form.SetLanguage(Language);
            Form.LoadTexts();
            Form.ApplyTexts();
        },
        [&](TGoto_Form& Form) {
            if (Seconds != nullptr)
                *Seconds = Form.ChosenSeconds();
            if (Cancelled != nullptr)
                *Cancelled = Form.Cancelled() ? 1 : 0;
        });
}
}
