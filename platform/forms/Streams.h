#pragma once
// The class library's memory stream: bytes in memory with a read / write position. Reading stops at the end;
// writing past the end makes the stream longer.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace forms {

class TMemoryStream {
public:
    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return position_; }
    // A position past the end is allowed; a write there fills the gap with zero bytes.
    void SetPosition(std::size_t Value) { position_ = Value; }
    void SetSize(std::size_t Value) {
        data_.resize(Value);
        position_ = std::min(position_, Value);
    }
    void Clear() {
        data_.clear();
        position_ = 0;
    }

    // Copies up to Count bytes from the position into Buffer; returns how many it copied.
    std::size_t Read(void* Buffer, std::size_t Count) {
        if (position_ >= data_.size())
            return 0;
        const std::size_t n = std::min(Count, data_.size() - position_);
        std::memcpy(Buffer, data_.data() + position_, n);
        position_ += n;
        return n;
    }
    void Write(const void* Buffer, std::size_t Count) {
        if (position_ > data_.size())
            data_.resize(position_);
        data_.replace(position_, std::min(Count, data_.size() - position_), static_cast<const char*>(Buffer),
                      Count);
        position_ += Count;
    }
    void Write(std::string_view Bytes) { Write(Bytes.data(), Bytes.size()); }

    // The whole content, and the part from the position to the end.
    const std::string& Bytes() const { return data_; }
    std::string_view Remaining() const {
        return position_ >= data_.size() ? std::string_view() : std::string_view(data_).substr(position_);
    }

private:
    std::string data_;
    std::size_t position_ = 0;
};

} // namespace forms
