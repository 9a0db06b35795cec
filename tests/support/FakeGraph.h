#pragma once
// A media graph that answers at once with what the test sets: the position, the stop position, and the
// seeks and stops asked for. It stands where an open leaves the graph's seeking and control interfaces.

#include <cstdint>
#include <vector>

#include "platform/com/Unknown.h"
#include "platform/media/Interfaces.h"

namespace testing_support {

class FakeGraph final : public com::Object<dshow::IMediaSeeking, dshow::IMediaControl> {
public:
    dshow::HRESULT GetDuration(dshow::LONGLONG* Duration) override {
        if (lengthUntold)
            return com::E_FAIL;
        *Duration = stop;
        return com::S_OK;
    }
    dshow::HRESULT GetStopPosition(dshow::LONGLONG* Stop) override {
        if (lengthUntold)
            return com::E_FAIL;
        *Stop = stop;
        return com::S_OK;
    }
    dshow::HRESULT GetCurrentPosition(dshow::LONGLONG* Current) override {
        *Current = current;
        return com::S_OK;
    }
    dshow::HRESULT SetPositions(dshow::LONGLONG* Current, dshow::DWORD CurrentFlags, dshow::LONGLONG*,
                                dshow::DWORD) override {
        if (Current != nullptr && CurrentFlags != dshow::AM_SEEKING_NoPositioning)
            seeks.push_back(*Current);
        return com::S_OK;
    }
    dshow::HRESULT SetRate(double Rate) override {
        rates.push_back(Rate);
        return com::S_OK;
    }
    dshow::HRESULT GetRate(double* Rate) override {
        *Rate = 1.0;
        return com::S_OK;
    }
    dshow::HRESULT Run() override { return com::S_OK; }
    dshow::HRESULT Pause() override { return com::S_OK; }
    dshow::HRESULT Stop() override {
        ++stops;
        return com::S_OK;
    }
    dshow::HRESULT GetState(dshow::LONG, dshow::OAFilterState* State) override {
        *State = dshow::State_Running;
        return com::S_OK;
    }

    std::int64_t current = 0;
    std::int64_t stop = 0;
    bool lengthUntold = false; // the stream has not told its length (yet): the length calls fail
    std::vector<std::int64_t> seeks;
    std::vector<double> rates;
    int stops = 0;
};

// Puts a new FakeGraph with Stop into the shared state as the playing graph and gives it.
com::ComPtr<FakeGraph> PlayFakeGraph(std::int64_t Stop);

} // namespace testing_support
