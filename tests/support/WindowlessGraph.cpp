#include "tests/support/WindowlessGraph.h"

#include "platform/com/Guids.h"
#include "platform/win32/Window.h"
#include "tests/support/QtApp.h"

namespace testing_support {

namespace {

template <class T> com::ComPtr<T> Create(const com::CLSID& Clsid) {
    void* raw = nullptr;
    if (com::FAILED(com::CoCreateInstance(Clsid, nullptr, 3, T::Iid, &raw)))
        return nullptr;
    return com::ComPtr<T>::Adopt(static_cast<T*>(raw));
}

} // namespace

WindowlessGraph::WindowlessGraph(dshow::COLORREF Border) {
    using namespace dshow;
    EnsureQApplication();
    panel = std::make_unique<QWidget>();
    panel->resize(500, 300);
    panel->show();
    graph = Create<IGraphBuilder>(com::CLSID_FilterGraph);
    vmr = Create<IBaseFilter>(com::CLSID_VideoMixingRenderer9);
    graph->AddFilter(vmr.Get(), u"Video Mixing Renderer 9");
    auto config = com::QueryInterfaceOf<IVMRFilterConfig9>(vmr.Get());
    config->SetRenderingMode(VMR9Mode_Windowless);
    config->SetNumberOfStreams(2);
    windowless = com::QueryInterfaceOf<IVMRWindowlessControl9>(vmr.Get());
    mixer = com::QueryInterfaceOf<IVMRMixerControl9>(vmr.Get());
    windowless->SetVideoClippingWindow(win32::HandleOf(panel.get()));
    windowless->SetBorderColor(Border);
    control = com::QueryInterfaceOf<IMediaControl>(graph.Get());
    seeking = com::QueryInterfaceOf<IMediaSeeking>(graph.Get());
    step = com::QueryInterfaceOf<IVideoFrameStep>(graph.Get());
    audio = com::QueryInterfaceOf<IBasicAudio>(graph.Get());
}

dshow::HRESULT WindowlessGraph::Render(MediaFixture Fixture) {
    const dshow::HRESULT hr = graph->RenderFile(com::WideString(MediaFile(Fixture)).c_str(), nullptr);
    dshow::RECT destination{50, 0, 450, 300};
    windowless->SetVideoPosition(nullptr, &destination);
    return hr;
}

} // namespace testing_support
