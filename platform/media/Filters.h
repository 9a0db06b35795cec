#pragma once
// The filters a graph is given (IBaseFilter objects) and what the graph needs to know of each: whether it
// renders video, which GStreamer elements it stands for, which file it reads.

#include <memory>
#include <string>
#include <vector>

#include "platform/media/Interfaces.h"
#include "platform/media/VideoRenderer.h"

namespace dshow {

class DvdNavigator;

// What a filter is to a graph that builds the DVD graph from its connections.
enum class FilterKind {
    Other,
    DvdNavigator,   // the disc's source, with outputs "Video", "AC3" and "SubPicture"
    VideoDecoder,   // MPEG video (and the subpicture overlay) to pictures
    AudioDecoder,   // the disc's audio to samples
    AudioProcessor, // samples (or compressed audio, which it decodes) to samples
    AudioRenderer,
    VideoRenderer,
    Mixer, // pictures to pictures
};

// What a pin gives (an output) or takes (an input). Two pins connect when the output gives a kind the input
// takes; Any gives and takes everything.
enum class StreamKind { Any, MpegVideo, DvdAudio, DvdSubpicture, Pictures, Samples, ClosedCaptions };

struct PinShape {
    std::u16string Name;
    PIN_DIRECTION Direction = PINDIR_INPUT;
    std::vector<StreamKind> Kinds; // an output's first kind is what it gives
};

// The side of a filter that the graph reads (found on an IBaseFilter by dynamic_cast).
class FilterRole {
public:
    virtual ~FilterRole() = default;
    // The renderer video is to go to, for a video renderer.
    virtual std::shared_ptr<VideoRenderer> Renderer() const { return nullptr; }
    // Element factories the graph uses before any others when it completes a chain, or that do the filter's
    // job in a graph built from connections.
    virtual std::vector<std::string> Factories() const { return {}; }
    // The file a source filter reads ("" for other filters).
    virtual std::string SourceFile() const { return {}; }
    virtual FilterKind Kind() const { return FilterKind::Other; }
    // The disc a DVD navigator reads, once it has one.
    virtual std::shared_ptr<DvdNavigator> Navigator() const { return nullptr; }
    // The filter's pins, in the order they are enumerated.
    virtual std::vector<PinShape> Pins() const = 0;
};

// A pin of a filter; it keeps its filter alive. Pins are made anew at each enumeration: a pin is told by its
// filter and its place among the filter's pins.
class Pin final : public com::Object<IPin> {
public:
    Pin(IBaseFilter* Owner, int Index, PinShape Shape)
        : owner_(com::ComPtr<IBaseFilter>::Share(Owner)), index_(Index), shape_(std::move(Shape)) {}
    HRESULT QueryDirection(PIN_DIRECTION* Direction) override;
    HRESULT QueryPinInfo(PIN_INFO* Info) override;
    IBaseFilter* Owner() const { return owner_.Get(); }
    int Index() const { return index_; }
    const PinShape& Shape() const { return shape_; }

private:
    com::ComPtr<IBaseFilter> owner_;
    int index_;
    PinShape shape_;
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

// A filter whose pins are made for each enumeration: by default Inputs input pins ("In") and Outputs output
// pins ("Out") that take and give anything.
template <class... Interfaces>
class FilterBase : public com::Object<IBaseFilter, Interfaces...>, public FilterRole {
public:
    HRESULT EnumPins(IEnumPins** Pins) override {
        if (Pins == nullptr)
            return com::E_POINTER;
        std::vector<com::ComPtr<IPin>> pins;
        int index = 0;
        for (PinShape& shape : this->Pins())
            pins.push_back(com::ComPtr<IPin>::Adopt(new Pin(this, index++, std::move(shape))));
        *Pins = new PinEnumerator(std::move(pins));
        return com::S_OK;
    }
    std::vector<PinShape> Pins() const override {
        std::vector<PinShape> pins;
        for (int i = 0; i < InputPins(); ++i)
            pins.push_back({u"In", PINDIR_INPUT, {StreamKind::Any}});
        for (int i = 0; i < OutputPins(); ++i)
            pins.push_back({u"Out", PINDIR_OUTPUT, {StreamKind::Any}});
        return pins;
    }

protected:
    virtual int InputPins() const { return 0; }
    virtual int OutputPins() const { return 0; }
};

// A filter that stands for GStreamer elements doing its job (a demuxer, a decoder, the audio output). Without
// pins of its own it has one input and one output that take and give anything.
class ElementFilter final : public FilterBase<> {
public:
    explicit ElementFilter(std::vector<std::string> Factories, FilterKind Kind = FilterKind::Other,
                           std::vector<PinShape> Pins = {})
        : factories_(std::move(Factories)), kind_(Kind), pins_(std::move(Pins)) {}
    std::vector<std::string> Factories() const override { return factories_; }
    FilterKind Kind() const override { return kind_; }
    std::vector<PinShape> Pins() const override { return pins_.empty() ? FilterBase::Pins() : pins_; }

protected:
    int InputPins() const override { return 1; }
    int OutputPins() const override { return 1; }

private:
    std::vector<std::string> factories_;
    FilterKind kind_;
    std::vector<PinShape> pins_;
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
