#pragma once
// The filters of the DVD graph that are more than GStreamer elements: the DVD navigator (the disc's source,
// with the navigator's control and information interfaces over our DvdNavigator), the graph's own video
// renderer and the sample grabber. The decoders, the overlay mixer and the closed-caption filters are
// ElementFilters with named pins (Classes.cpp).

#include <functional>
#include <memory>
#include <mutex>

#include "platform/media/DvdNavigator.h"
#include "platform/media/Filters.h"

namespace dshow {

class DvdNavigatorFilter final : public FilterBase<IDvdControl2, IDvdInfo2> {
public:
    FilterKind Kind() const override { return FilterKind::DvdNavigator; }
    std::shared_ptr<DvdNavigator> Navigator() const override;
    std::vector<PinShape> Pins() const override;

    // Maps a point of the window the picture is shown in (client pixels of the video window's owner) to the
    // picture's own pixels; set by the graph that plays the disc. Without it points are the picture's.
    using PointMapper = std::function<bool(win32::POINT Point, int& X, int& Y)>;
    void SetPointMapper(PointMapper Mapper);

    // IDvdControl2
    HRESULT SetDVDDirectory(LPCWSTR Path) override;
    HRESULT PlayTitle(ULONG Title, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT PlayChapterInTitle(ULONG Title, ULONG Chapter, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT PlayAtTime(DVD_HMSF_TIMECODE* Time, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT PlayNextChapter(DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT PlayPrevChapter(DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT ShowMenu(DVD_MENU_ID Menu, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT SelectButton(ULONG Button) override;
    HRESULT ActivateButton() override;
    HRESULT SelectAtPosition(win32::POINT Point) override;
    HRESULT ActivateAtPosition(win32::POINT Point) override;
    HRESULT PlayForwards(double Speed, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT SelectAudioStream(ULONG Stream, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT SelectSubpictureStream(ULONG Stream, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT SetSubpictureState(BOOL On, DWORD Flags, IDvdCmd** Cmd) override;
    HRESULT SelectDefaultSubpictureLanguage(LCID Language, DVD_SUBPICTURE_LANG_EXT Extension) override;
    HRESULT SelectAngle(ULONG Angle, DWORD Flags, IDvdCmd** Cmd) override;

    // IDvdInfo2
    HRESULT GetCurrentDomain(DVD_DOMAIN* Domain) override;
    HRESULT GetCurrentLocation(DVD_PLAYBACK_LOCATION2* Location) override;
    HRESULT GetTotalTitleTime(DVD_HMSF_TIMECODE* Time, ULONG* TimeCodeFlags) override;
    HRESULT GetCurrentButton(ULONG* Available, ULONG* Current) override;
    HRESULT GetButtonAtPosition(win32::POINT Point, ULONG* Button) override;
    HRESULT GetNumberOfChapters(ULONG Title, ULONG* Chapters) override;
    HRESULT GetDVDVolumeInfo(ULONG* Volumes, ULONG* Volume, DVD_DISC_SIDE* Side, ULONG* Titles) override;
    HRESULT GetTitleAttributes(ULONG Title, DVD_MenuAttributes* Menu,
                               DVD_TitleAttributes* TitleAttributes) override;
    HRESULT GetCurrentAudio(ULONG* Available, ULONG* Current) override;
    HRESULT GetAudioLanguage(ULONG Stream, LCID* Language) override;
    HRESULT GetCurrentSubpicture(ULONG* Available, ULONG* Current, BOOL* Disabled) override;
    HRESULT GetSubpictureLanguage(ULONG Stream, LCID* Language) override;
    HRESULT GetCurrentAngle(ULONG* Available, ULONG* Current) override;

private:
    // The button under a point, 0 when none.
    int ButtonAt(win32::POINT Point) const;

    mutable std::mutex mutex_;
    std::shared_ptr<DvdNavigator> navigator_;
    PointMapper mapper_;
};

// The graph's own video renderer: a child window of the owner the graph is given.
class VideoRendererFilter final : public FilterBase<> {
public:
    VideoRendererFilter() : renderer_(std::make_shared<VideoRenderer>(VideoRenderer::Mode::Window)) {}
    std::shared_ptr<VideoRenderer> Renderer() const override { return renderer_; }
    FilterKind Kind() const override { return FilterKind::VideoRenderer; }
    std::vector<PinShape> Pins() const override { return {{u"Input", PINDIR_INPUT, {StreamKind::Pictures}}}; }

private:
    std::shared_ptr<VideoRenderer> renderer_;
};

// Passes on what it is given; it keeps the media type it was told to take.
class SampleGrabberFilter final : public FilterBase<ISampleGrabber> {
public:
    HRESULT SetMediaType(const AM_MEDIA_TYPE* Type) override;
    HRESULT SetBufferSamples(BOOL Buffer) override;
    std::vector<PinShape> Pins() const override {
        return {{u"Input", PINDIR_INPUT, {StreamKind::Any}}, {u"Output", PINDIR_OUTPUT, {StreamKind::Any}}};
    }

private:
    AM_MEDIA_TYPE type_;
    bool buffer_ = false;
};

} // namespace dshow
