// The classes this layer offers to com::CoCreateInstance, registered while the process starts (the library
// is linked whole for that). A class whose GStreamer elements this machine lacks reports itself as not
// registered when it is asked for, as an uninstalled filter would be.

#include <string>
#include <vector>

#include "platform/com/Guids.h"
#include "platform/media/DvdFilters.h"
#include "platform/media/FilterGraph.h"
#include "platform/media/MediaDet.h"
#include "platform/media/MixingRenderer.h"

#include "platform/gst/Gst.h"

namespace dshow {

namespace {

// The factory of a class that needs the named elements; it fails unless at least one of them exists.
template <class T, class... Args>
com::ClassFactory NeedingElements(std::vector<std::string> Candidates, Args... args) {
    return [Candidates = std::move(Candidates), args...](const com::IID& Iid, void** Object) -> HRESULT {
        gst::EnsureInitialised();
        if (AvailableFactories(Candidates).empty())
            return com::REGDB_E_CLASSNOTREG;
        return com::CreateAndQuery<T>(Iid, Object, args...);
    };
}

// A filter that stands for whichever of Candidates this machine has.
com::ClassFactory ElementFilterClass(std::vector<std::string> Candidates, FilterKind Kind = FilterKind::Other,
                                     std::vector<PinShape> Pins = {}) {
    return [Candidates = std::move(Candidates), Kind, Pins = std::move(Pins)](const com::IID& Iid,
                                                                              void** Object) -> HRESULT {
        gst::EnsureInitialised();
        std::vector<std::string> found = AvailableFactories(Candidates);
        if (found.empty())
            return com::REGDB_E_CLASSNOTREG;
        return com::CreateAndQuery<ElementFilter>(Iid, Object, std::move(found), Kind, Pins);
    };
}

const std::vector<std::string> GraphElements = {"filesrc", "decodebin"};
const std::vector<std::string> RendererElements = {"appsink"};

const bool registered = [] {
    com::RegisterClassFactory(com::CLSID_FilterGraph, NeedingElements<FilterGraph>(GraphElements));
    com::RegisterClassFactory(com::CLSID_MediaDet, [](const com::IID& Iid, void** Object) {
        gst::EnsureInitialised();
        return com::CreateAndQuery<MediaDet>(Iid, Object);
    });
    com::RegisterClassFactory(com::CLSID_VideoMixingRenderer9,
                              NeedingElements<MixingRenderer9>(RendererElements));
    com::RegisterClassFactory(com::CLSID_VideoMixingRenderer,
                              NeedingElements<MixingRenderer7>(RendererElements));
    com::RegisterClassFactory(com::CLSID_RealMediaSplitter, ElementFilterClass({"rmdemux"}));
    com::RegisterClassFactory(
        com::CLSID_RealAudioDecoder,
        ElementFilterClass({"avdec_cook", "avdec_real_288", "avdec_real_144", "avdec_sipr", "avdec_ralf"}));
    com::RegisterClassFactory(
        com::CLSID_AC3Filter,
        ElementFilterClass({"a52dec", "avdec_ac3"}, FilterKind::AudioProcessor,
                           {{u"In", PINDIR_INPUT, {StreamKind::DvdAudio, StreamKind::Samples}},
                            {u"Out", PINDIR_OUTPUT, {StreamKind::Samples}}}));
    com::RegisterClassFactory(com::CLSID_RealVideoDecoder,
                              ElementFilterClass({"avdec_rv40", "avdec_rv30", "avdec_rv20", "avdec_rv10"}));
    // The audio output: the graph plays through the desktop's default output (or the clocked fake one).
    com::RegisterClassFactory(com::CLSID_DSoundRender, [](const com::IID& Iid, void** Object) {
        gst::EnsureInitialised();
        return com::CreateAndQuery<ElementFilter>(
            Iid, Object, std::vector<std::string>{}, FilterKind::AudioRenderer,
            std::vector<PinShape>{{u"Audio Input pin (rendered)", PINDIR_INPUT, {StreamKind::Samples}}});
    });
    // The DVD graph's filters: the navigator (the disc through our own navigator into the program-stream
    // demuxer), the MPEG decoders, the renderer, and the filters of the closed-caption path, which carry
    // nothing here (no decoder of line-21 captions is at hand).
    com::RegisterClassFactory(com::CLSID_DVDNavigator, NeedingElements<DvdNavigatorFilter>({"mpegpsdemux"}));
    com::RegisterClassFactory(com::CLSID_MpegVideoDecoder,
                              ElementFilterClass({"mpeg2dec", "avdec_mpeg2video"}, FilterKind::VideoDecoder,
                                                 {{u"Video", PINDIR_INPUT, {StreamKind::MpegVideo}},
                                                  {u"SubPicture", PINDIR_INPUT, {StreamKind::DvdSubpicture}},
                                                  {u"Output", PINDIR_OUTPUT, {StreamKind::Pictures}},
                                                  {u"~CC", PINDIR_OUTPUT, {StreamKind::ClosedCaptions}}}));
    com::RegisterClassFactory(
        com::CLSID_MpegAudioDecoder,
        ElementFilterClass(
            {"a52dec", "avdec_ac3", "mpg123audiodec", "avdec_mp2float", "dvdlpcmdec", "dtsdec", "avdec_dca"},
            FilterKind::AudioDecoder,
            {{u"In", PINDIR_INPUT, {StreamKind::DvdAudio}}, {u"Out", PINDIR_OUTPUT, {StreamKind::Samples}}}));
    com::RegisterClassFactory(com::CLSID_VideoRenderer,
                              NeedingElements<VideoRendererFilter>(RendererElements));
    com::RegisterClassFactory(com::CLSID_OverlayMixer,
                              ElementFilterClass({"videoconvert"}, FilterKind::Mixer,
                                                 {{u"Input2", PINDIR_INPUT, {StreamKind::Any}},
                                                  {u"Input0", PINDIR_INPUT, {StreamKind::Pictures}},
                                                  {u"Output", PINDIR_OUTPUT, {StreamKind::Pictures}}}));
    com::RegisterClassFactory(com::CLSID_Line21Decoder,
                              ElementFilterClass({"identity"}, FilterKind::Other,
                                                 {{u"In", PINDIR_INPUT, {StreamKind::ClosedCaptions}},
                                                  {u"Out", PINDIR_OUTPUT, {StreamKind::Any}}}));
    com::RegisterClassFactory(com::CLSID_RgbConverter, ElementFilterClass({"videoconvert"}));
    com::RegisterClassFactory(com::CLSID_SampleGrabber, NeedingElements<SampleGrabberFilter>({"identity"}));
    return true;
}();

} // namespace

} // namespace dshow
