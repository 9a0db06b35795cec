#pragma once
// A DVD navigator that answers at once with what the test sets and records the commands it is given: it
// stands where a DVD open leaves the navigator's control and information interfaces.

#include <string>
#include <vector>

#include "platform/com/Unknown.h"
#include "platform/media/Interfaces.h"

namespace testing_support {

class FakeDvd final : public com::Object<dshow::IDvdControl2, dshow::IDvdInfo2> {
public:
    using HRESULT = com::HRESULT;
    using ULONG = dshow::ULONG;

    // --- What it answers.
    HRESULT result = com::S_OK; // of every query
    HRESULT commandResult = com::S_OK;
    dshow::DVD_DOMAIN domain = dshow::DVD_DOMAIN_Title;
    ULONG title = 1, chapter = 1;
    dshow::DVD_HMSF_TIMECODE position, length;
    std::vector<ULONG> chaptersOfTitle{3, 1};
    ULONG button = 0; // under any point; 0: none
    ULONG subpictures = 0, subpicture = 0, audios = 0, audio = 0, angles = 1, angle = 1;
    bool subpictureDisabled = false;
    std::vector<dshow::LCID> languages; // of every stream, by number

    // --- What it was told, one line per command ("ShowMenu 3", "PlayForwards 2", "SelectButton 2", ...).
    std::vector<std::string> calls;
    std::vector<dshow::DWORD> playTitleFlags; // of each PlayTitle, in order

    HRESULT SetDVDDirectory(dshow::LPCWSTR) override { return Record("SetDVDDirectory"); }
    HRESULT PlayTitle(ULONG Title, dshow::DWORD Flags, dshow::IDvdCmd**) override {
        playTitleFlags.push_back(Flags);
        return Record("PlayTitle", Title);
    }
    HRESULT PlayChapterInTitle(ULONG Title, ULONG Chapter, dshow::DWORD, dshow::IDvdCmd**) override {
        return Record("PlayChapterInTitle " + std::to_string(Title), Chapter);
    }
    HRESULT PlayAtTime(dshow::DVD_HMSF_TIMECODE* Time, dshow::DWORD, dshow::IDvdCmd**) override {
        return Record("PlayAtTime", Time->bHours * 3600 + Time->bMinutes * 60 + Time->bSeconds);
    }
    HRESULT PlayNextChapter(dshow::DWORD, dshow::IDvdCmd**) override { return Record("PlayNextChapter"); }
    HRESULT PlayPrevChapter(dshow::DWORD, dshow::IDvdCmd**) override { return Record("PlayPrevChapter"); }
    HRESULT ShowMenu(dshow::DVD_MENU_ID Menu, dshow::DWORD, dshow::IDvdCmd**) override {
        return Record("ShowMenu", static_cast<ULONG>(Menu));
    }
    HRESULT SelectButton(ULONG Button) override { return Record("SelectButton", Button); }
    HRESULT ActivateButton() override { return Record("ActivateButton"); }
    HRESULT SelectAtPosition(win32::POINT) override { return Record("SelectAtPosition"); }
    HRESULT ActivateAtPosition(win32::POINT Point) override {
        return Record("ActivateAtPosition " + std::to_string(Point.x), static_cast<ULONG>(Point.y));
    }
    HRESULT PlayForwards(double Speed, dshow::DWORD, dshow::IDvdCmd**) override {
        calls.push_back("PlayForwards " + std::to_string(Speed));
        return commandResult;
    }
    HRESULT SelectAudioStream(ULONG Stream, dshow::DWORD, dshow::IDvdCmd**) override {
        return Record("SelectAudioStream", Stream);
    }
    HRESULT SelectSubpictureStream(ULONG Stream, dshow::DWORD, dshow::IDvdCmd**) override {
        return Record("SelectSubpictureStream", Stream);
    }
    HRESULT SetSubpictureState(win32::BOOL On, dshow::DWORD, dshow::IDvdCmd**) override {
        return Record("SetSubpictureState", static_cast<ULONG>(On));
    }
    HRESULT SelectDefaultSubpictureLanguage(dshow::LCID Language, dshow::DVD_SUBPICTURE_LANG_EXT) override {
        return Record("SelectDefaultSubpictureLanguage", Language);
    }
    HRESULT SelectAngle(ULONG Angle, dshow::DWORD, dshow::IDvdCmd**) override {
        return Record("SelectAngle", Angle);
    }

    HRESULT GetCurrentDomain(dshow::DVD_DOMAIN* Domain) override {
        *Domain = domain;
        return result;
    }
    HRESULT GetCurrentLocation(dshow::DVD_PLAYBACK_LOCATION2* Location) override {
        if (result != com::S_OK)
            return result;
        Location->TitleNum = title;
        Location->ChapterNum = chapter;
        Location->TimeCode = position;
        return com::S_OK;
    }
    HRESULT GetTotalTitleTime(dshow::DVD_HMSF_TIMECODE* Time, ULONG*) override {
        if (result != com::S_OK)
            return result;
        *Time = length;
        return com::S_OK;
    }
    HRESULT GetCurrentButton(ULONG* Available, ULONG* Current) override {
        *Available = button > 0 ? 1 : 0;
        *Current = button;
        return result;
    }
    HRESULT GetButtonAtPosition(win32::POINT, ULONG* Button) override {
        if (button == 0)
            return dshow::VFW_E_DVD_NO_BUTTON;
        *Button = button;
        return result;
    }
    HRESULT GetNumberOfChapters(ULONG Title, ULONG* Chapters) override {
        if (result != com::S_OK || Title < 1 || Title > chaptersOfTitle.size())
            return com::E_INVALIDARG;
        *Chapters = chaptersOfTitle[Title - 1];
        return com::S_OK;
    }
    HRESULT GetDVDVolumeInfo(ULONG* Volumes, ULONG* Volume, dshow::DVD_DISC_SIDE* Side,
                             ULONG* Titles) override {
        *Volumes = *Volume = 1;
        *Side = dshow::DVD_SIDE_A;
        *Titles = static_cast<ULONG>(chaptersOfTitle.size());
        return result;
    }
    HRESULT GetTitleAttributes(ULONG, dshow::DVD_MenuAttributes*, dshow::DVD_TitleAttributes*) override {
        return com::E_NOTIMPL;
    }
    HRESULT GetCurrentAudio(ULONG* Available, ULONG* Current) override {
        *Available = audios;
        *Current = audio;
        return result;
    }
    HRESULT GetAudioLanguage(ULONG Stream, dshow::LCID* Language) override {
        return LanguageOf(Stream, Language);
    }
    HRESULT GetCurrentSubpicture(ULONG* Available, ULONG* Current, win32::BOOL* Disabled) override {
        *Available = subpictures;
        *Current = subpicture;
        *Disabled = subpictureDisabled ? 1 : 0;
        return result;
    }
    HRESULT GetSubpictureLanguage(ULONG Stream, dshow::LCID* Language) override {
        return LanguageOf(Stream, Language);
    }
    HRESULT GetCurrentAngle(ULONG* Available, ULONG* Current) override {
        *Available = angles;
        *Current = angle;
        return result;
    }

private:
    HRESULT Record(const std::string& Call) {
        calls.push_back(Call);
        return commandResult;
    }
    HRESULT Record(const std::string& Call, ULONG Value) {
        return Record(Call + " " + std::to_string(Value));
    }
    HRESULT LanguageOf(ULONG Stream, dshow::LCID* Language) const {
        if (Stream >= languages.size())
            return com::E_INVALIDARG;
        *Language = languages[Stream];
        return com::S_OK;
    }
};

} // namespace testing_support
