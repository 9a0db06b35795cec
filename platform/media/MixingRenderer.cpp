#include "platform/media/MixingRenderer.h"

#include <cstring>

#include "platform/win32/Window.h"

namespace dshow {

using com::E_INVALIDARG;
using com::E_POINTER;
using com::S_OK;

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::SetRenderingMode(DWORD Mode) {
    if (Mode == VMRMode_Windowless)
        renderer_->SetMode(VideoRenderer::Mode::Windowless);
    else if (Mode == VMRMode_Windowed)
        renderer_->SetMode(VideoRenderer::Mode::Window);
    else
        return E_INVALIDARG; // renderless drawing is not offered
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::GetRenderingMode(DWORD* Mode) {
    if (Mode == nullptr)
        return E_POINTER;
    *Mode = Windowless() ? VMRMode_Windowless : VMRMode_Windowed;
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::SetNumberOfStreams(DWORD Streams) {
    if (Streams < 1 || Streams > 16)
        return E_INVALIDARG;
    return renderer_->SetStreamCount(static_cast<int>(Streams)) ? S_OK : VFW_E_WRONG_STATE;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::GetNumberOfStreams(DWORD* Streams) {
    if (Streams == nullptr)
        return E_POINTER;
    *Streams = static_cast<DWORD>(renderer_->StreamCount());
    return S_OK;
}

template <class C, class W, class M>
HRESULT MixingRenderer<C, W, M>::GetNativeVideoSize(LONG* Width, LONG* Height, LONG* AspectWidth,
                                                    LONG* AspectHeight) {
    if (!Windowless())
        return VFW_E_WRONG_STATE;
    const QSize size = renderer_->NativeSize(0);
    if (size.isEmpty())
        return VFW_E_NOT_CONNECTED;
    if (Width)
        *Width = size.width();
    if (Height)
        *Height = size.height();
    if (AspectWidth)
        *AspectWidth = size.width();
    if (AspectHeight)
        *AspectHeight = size.height();
    return S_OK;
}

template <class C, class W, class M>
HRESULT MixingRenderer<C, W, M>::SetVideoPosition(const RECT* Source, const RECT* Destination) {
    if (!Windowless())
        return VFW_E_WRONG_STATE;
    if (Source == nullptr && Destination == nullptr)
        return E_POINTER;
    if (Source)
        source_ = *Source;
    if (Destination) {
        if (Destination->right < Destination->left || Destination->bottom < Destination->top)
            return E_INVALIDARG;
        renderer_->SetDestination(QRect(Destination->left, Destination->top,
                                        Destination->right - Destination->left,
                                        Destination->bottom - Destination->top));
    }
    return S_OK;
}

template <class C, class W, class M>
HRESULT MixingRenderer<C, W, M>::GetVideoPosition(RECT* Source, RECT* Destination) {
    if (!Windowless())
        return VFW_E_WRONG_STATE;
    if (Source)
        *Source = source_;
    if (Destination) {
        const QRect d = renderer_->Destination();
        *Destination = RECT{d.left(), d.top(), d.left() + d.width(), d.top() + d.height()};
    }
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::SetVideoClippingWindow(HWND Window) {
    if (!Windowless())
        return VFW_E_WRONG_STATE;
    if (!win32::IsWindow(Window))
        return E_INVALIDARG;
    renderer_->SetClippingWindow(Window);
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::RepaintVideo(HWND Window) {
    if (!Windowless())
        return VFW_E_WRONG_STATE;
    if (Window != renderer_->ClippingWindow())
        return E_INVALIDARG;
    renderer_->Repaint();
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::SetBorderColor(COLORREF Colour) {
    if (!Windowless())
        return VFW_E_WRONG_STATE;
    renderer_->SetBorderColour(Colour);
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::GetBorderColor(COLORREF* Colour) {
    if (Colour == nullptr)
        return E_POINTER;
    *Colour = renderer_->BorderColour();
    return S_OK;
}

template <class C, class W, class M>
HRESULT MixingRenderer<C, W, M>::GetStreamImage(DWORD Stream, LONG* Width, LONG* Height,
                                                std::vector<std::uint8_t>* Pixels) {
    if (Width == nullptr || Height == nullptr || Pixels == nullptr)
        return E_POINTER;
    if (static_cast<int>(Stream) >= renderer_->StreamCount())
        return E_INVALIDARG;
    const QImage frame = renderer_->LastFrame(static_cast<int>(Stream));
    if (frame.isNull())
        return VFW_E_NOT_CONNECTED;
    *Width = frame.width();
    *Height = frame.height();
    const auto rowBytes = static_cast<std::size_t>(frame.width()) * 4;
    Pixels->resize(rowBytes * static_cast<std::size_t>(frame.height()));
    for (int y = 0; y < frame.height(); ++y)
        std::memcpy(Pixels->data() + rowBytes * static_cast<std::size_t>(y), frame.constScanLine(y),
                    rowBytes);
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::SetAlpha(DWORD Stream, float Alpha) {
    return renderer_->SetAlpha(static_cast<int>(Stream), Alpha) ? S_OK : E_INVALIDARG;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::GetAlpha(DWORD Stream, float* Alpha) {
    if (Alpha == nullptr)
        return E_POINTER;
    if (static_cast<int>(Stream) >= renderer_->StreamCount())
        return E_INVALIDARG;
    *Alpha = renderer_->Alpha(static_cast<int>(Stream));
    return S_OK;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::SetZOrder(DWORD Stream, DWORD Z) {
    return renderer_->SetZOrder(static_cast<int>(Stream), Z) ? S_OK : E_INVALIDARG;
}

template <class C, class W, class M> HRESULT MixingRenderer<C, W, M>::GetZOrder(DWORD Stream, DWORD* Z) {
    if (Z == nullptr)
        return E_POINTER;
    if (static_cast<int>(Stream) >= renderer_->StreamCount())
        return E_INVALIDARG;
    *Z = renderer_->ZOrder(static_cast<int>(Stream));
    return S_OK;
}

template <class C, class W, class M>
HRESULT MixingRenderer<C, W, M>::SetOutputRect(DWORD Stream, const NORMALIZEDRECT* Rect) {
    if (Rect == nullptr)
        return E_POINTER;
    return renderer_->SetOutputRect(static_cast<int>(Stream), *Rect) ? S_OK : E_INVALIDARG;
}

template <class C, class W, class M>
HRESULT MixingRenderer<C, W, M>::GetOutputRect(DWORD Stream, NORMALIZEDRECT* Rect) {
    if (Rect == nullptr)
        return E_POINTER;
    if (static_cast<int>(Stream) >= renderer_->StreamCount())
        return E_INVALIDARG;
    *Rect = renderer_->OutputRect(static_cast<int>(Stream));
    return S_OK;
}

template class MixingRenderer<IVMRFilterConfig9, IVMRWindowlessControl9, IVMRMixerControl9>;
template class MixingRenderer<IVMRFilterConfig, IVMRWindowlessControl, IVMRMixerControl>;

} // namespace dshow
