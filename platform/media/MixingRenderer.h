#pragma once
// The mixing renderers 7 and 9: a video renderer filter with filter configuration, windowless control and
// mixer control, over the layer's own renderer. Until it is set windowless it renders in window mode.

#include <memory>

#include "platform/media/Filters.h"

namespace dshow {

template <class ConfigI, class WindowlessI, class MixerI>
class MixingRenderer final : public FilterBase<ConfigI, WindowlessI, MixerI> {
public:
    MixingRenderer() : renderer_(std::make_shared<VideoRenderer>(VideoRenderer::Mode::Window)) {}
    std::shared_ptr<VideoRenderer> Renderer() const override { return renderer_; }

    // Filter configuration.
    HRESULT SetRenderingMode(DWORD Mode) override;
    HRESULT GetRenderingMode(DWORD* Mode) override;
    HRESULT SetNumberOfStreams(DWORD Streams) override;
    HRESULT GetNumberOfStreams(DWORD* Streams) override;

    // Windowless control.
    HRESULT GetNativeVideoSize(LONG* Width, LONG* Height, LONG* AspectWidth, LONG* AspectHeight) override;
    HRESULT SetVideoPosition(const RECT* Source, const RECT* Destination) override;
    HRESULT GetVideoPosition(RECT* Source, RECT* Destination) override;
    HRESULT SetVideoClippingWindow(HWND Window) override;
    HRESULT RepaintVideo(HWND Window) override;
    HRESULT SetBorderColor(COLORREF Colour) override;
    HRESULT GetBorderColor(COLORREF* Colour) override;
    HRESULT GetStreamImage(DWORD Stream, LONG* Width, LONG* Height,
                           std::vector<std::uint8_t>* Pixels) override;

    // Mixer control.
    HRESULT SetAlpha(DWORD Stream, float Alpha) override;
    HRESULT GetAlpha(DWORD Stream, float* Alpha) override;
    HRESULT SetZOrder(DWORD Stream, DWORD Z) override;
    HRESULT GetZOrder(DWORD Stream, DWORD* Z) override;
    HRESULT SetOutputRect(DWORD Stream, const NORMALIZEDRECT* Rect) override;
    HRESULT GetOutputRect(DWORD Stream, NORMALIZEDRECT* Rect) override;

protected:
    int InputPins() const override { return renderer_->StreamCount(); }

private:
    bool Windowless() const { return renderer_->GetMode() == VideoRenderer::Mode::Windowless; }

    std::shared_ptr<VideoRenderer> renderer_;
    RECT source_;
};

using MixingRenderer9 = MixingRenderer<IVMRFilterConfig9, IVMRWindowlessControl9, IVMRMixerControl9>;
using MixingRenderer7 = MixingRenderer<IVMRFilterConfig, IVMRWindowlessControl, IVMRMixerControl>;

} // namespace dshow
