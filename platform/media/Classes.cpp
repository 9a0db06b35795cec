// The classes this layer offers to com::CoCreateInstance, registered while the process starts (the library
// is linked whole for that). A class whose GStreamer elements this machine lacks reports itself as not
// registered when it is asked for, as an uninstalled filter would be.

#include <string>
#include <vector>

#include "platform/com/Guids.h"
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
com::ClassFactory ElementFilterClass(std::vector<std::string> Candidates) {
    return [Candidates = std::move(Candidates)](const com::IID& Iid, void** Object) -> HRESULT {
        gst::EnsureInitialised();
        std::vector<std::string> found = AvailableFactories(Candidates);
        if (found.empty())
            return com::REGDB_E_CLASSNOTREG;
        return com::CreateAndQuery<ElementFilter>(Iid, Object, std::move(found));
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
    com::RegisterClassFactory(com::CLSID_VideoMixingRenderer9, NeedingElements<MixingRenderer9>(RendererElements));
    com::RegisterClassFactory(com::CLSID_VideoMixingRenderer, NeedingElements<MixingRenderer7>(RendererElements));
    com::RegisterClassFactory(com::CLSID_RealMediaSplitter, ElementFilterClass({"rmdemux"}));
    com::RegisterClassFactory(com::CLSID_RealAudioDecoder,
                              ElementFilterClass({"avdec_cook", "avdec_real_288", "avdec_real_144", "avdec_sipr",
                                                  "avdec_ralf"}));
    com::RegisterClassFactory(com::CLSID_AC3Filter, ElementFilterClass({"a52dec", "avdec_ac3"}));
    com::RegisterClassFactory(com::CLSID_RealVideoDecoder,
                              ElementFilterClass({"avdec_rv40", "avdec_rv30", "avdec_rv20", "avdec_rv10"}));
    // The audio output: the graph plays through the desktop's default output (or the clocked fake one).
    com::RegisterClassFactory(com::CLSID_DSoundRender, [](const com::IID& Iid, void** Object) {
        gst::EnsureInitialised();
        return com::CreateAndQuery<ElementFilter>(Iid, Object, std::vector<std::string>{});
    });
    return true;
}();

} // namespace

} // namespace dshow
