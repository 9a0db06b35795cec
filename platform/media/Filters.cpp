#include "platform/media/Filters.h"

#include <algorithm>
#include <iterator>

#include <gst/gst.h>

namespace dshow {

HRESULT Pin::QueryDirection(PIN_DIRECTION* Direction) {
    if (Direction == nullptr)
        return com::E_POINTER;
    *Direction = shape_.Direction;
    return com::S_OK;
}

HRESULT Pin::QueryPinInfo(PIN_INFO* Info) {
    if (Info == nullptr)
        return com::E_POINTER;
    *Info = PIN_INFO{};
    Info->pFilter = owner_.Get();
    Info->pFilter->AddRef();
    Info->dir = shape_.Direction;
    const std::size_t length = std::min<std::size_t>(shape_.Name.size(), std::size(Info->achName) - 1);
    std::copy_n(shape_.Name.begin(), length, Info->achName);
    return com::S_OK;
}

HRESULT PinEnumerator::Next(std::uint32_t Count, IPin** Pins, std::uint32_t* Fetched) {
    if (Pins == nullptr)
        return com::E_POINTER;
    std::uint32_t given = 0;
    while (given < Count && next_ < pins_.size()) {
        Pins[given] = pins_[next_].Get();
        Pins[given]->AddRef();
        ++given;
        ++next_;
    }
    if (Fetched)
        *Fetched = given;
    return given == Count ? com::S_OK : com::S_FALSE;
}

HRESULT PinEnumerator::Reset() {
    next_ = 0;
    return com::S_OK;
}

std::vector<std::string> AvailableFactories(const std::vector<std::string>& Candidates) {
    std::vector<std::string> found;
    for (const std::string& name : Candidates) {
        if (GstElementFactory* factory = gst_element_factory_find(name.c_str())) {
            found.push_back(name);
            gst_object_unref(factory);
        }
    }
    return found;
}

} // namespace dshow
