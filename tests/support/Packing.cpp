#include "tests/support/Packing.h"

#include <gtest/gtest.h>

#include "platform/compress/Compression.h"

namespace testing_support {

std::string PackedText(const std::string& Text) {
    forms::TMemoryStream text, packed;
    text.Write(Text);
    text.SetPosition(0);
    EXPECT_EQ(compression::MyCompression(text, packed, 3), 0);
    return packed.Bytes();
}

std::string UnpackedText(const std::string& Bytes) {
    forms::TMemoryStream packed, text;
    packed.Write(Bytes);
    packed.SetPosition(0);
    EXPECT_EQ(compression::MyDeCompression(packed, text), 0);
    return text.Bytes();
}

} // namespace testing_support
