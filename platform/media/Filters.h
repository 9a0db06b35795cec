#pragma once
// The filters a graph is given (IBaseFilter objects) and what the graph needs to know of each: whether it
// renders video, which GStreamer elements it stands for, which file it reads.

#include <memory>
#include <string>
#include <vector>

#include "platform/media/Interfaces.h"
#include "platform/media/VideoRenderer.h"

namespace dshow {

// The side of a filter that the graph reads (found on an IBaseFilter by dynamic_cast).
class FilterRole {
public:
    virtual ~FilterRole() = default;
    // The renderer video is to go to, for a video renderer.
    virtual std::shared_ptr<VideoRenderer> Renderer() const { return nullptr; }
    // Element factories the graph uses before any others when it completes a chain.
    virtual std::vector<std::string> Factories() const { return {}; }
    // The file a source filter reads ("" for other filters).
    virtual std::string SourceFile() const { return {}; }
};

// A pin of a filter; it keeps its filter alive.
class Pin final : public com::Object<IPin> {
public:
    Pin(IBaseFilter* Owner, PIN_DIRECTION Direction) : owner_(com::ComPtr<IBaseFilter>::Share(Owner)), direction_(Direction) {}
    HRESULT QueryDirection(PIN_DIRECTION* Direction) override;
    IBaseFilter* Owner() const { return owner_.Get(); }

private:
    com::ComPtr<IBaseFilter> owner_;
    PIN_DIRECTION direction_;
};

// Gives a filter's pins one after the other.
class PinEnumerator final : public com::Object<IEnumPins> {
public:
    explicit PinEnumerator(std::vector<com::ComPtr<IPin>> Pins) : pins_(std::move(Pins)) {}
    HRESULT Next(std::uint32_t Count, IPin** Pins, std::uint32_t* Fetched) override;
    HRESULT Reset() override;

private:
    std::vector<com::ComPtr<IPin>> pins_;
    std::size_t next_ = 0;
};

// A filter whose pins are made for each enumeration: Inputs input pins and Outputs output pins.
template <class... Interfaces> class FilterBase : public com::Object<IBaseFilter, Interfaces...>, public FilterRole {
public:
    HRESULT EnumPins(IEnumPins** Pins) override {
        if (Pins == nullptr)
            return com::E_POINTER;
        std::vector<com::ComPtr<IPin>> pins;
        for (int i = 0; i < InputPins(); ++i)
            pins.push_back(com::ComPtr<IPin>::Adopt(new Pin(this, PINDIR_INPUT)));
        for (int i = 0; i < OutputPins(); ++i)
            pins.push_back(com::ComPtr<IPin>::Adopt(new Pin(this, PINDIR_OUTPUT)));
        *Pins = new PinEnumerator(std::move(pins));
        return com::S_OK;
    }

protected:
    virtual int InputPins() const { return 0; }
    virtual int OutputPins() const { return 0; }
};

// A filter that stands for GStreamer elements doing its job (a demuxer, a decoder, the audio output).
class ElementFilter final : public FilterBase<> {
public:
    explicit ElementFilter(std::vector<std::string> Factories) : factories_(std::move(Factories)) {}
    std::vector<std::string> Factories() const override { return factories_; }

protected:
    int InputPins() const override { return 1; }
    int OutputPins() const override { return 1; }

private:
    std::vector<std::string> factories_;
};

// The source filter of one file in a graph: one output pin.
class SourceFilter final : public FilterBase<> {
public:
    explicit SourceFilter(std::string File) : file_(std::move(File)) {}
    std::string SourceFile() const override { return file_; }

protected:
    int OutputPins() const override { return 1; }

private:
    std::string file_;
};

// The factories of Candidates that this machine has (the class is not available when there are none).
std::vector<std::string> AvailableFactories(const std::vector<std::string>& Candidates);

} // namespace dshow
