#include "platform/compress/Compression.h"

#include <random>

#include <zlib.h>

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"

namespace {

using compression::MyCompression;
using compression::MyDeCompression;
using forms::TMemoryStream;

TMemoryStream StreamOf(std::string_view Bytes) {
    TMemoryStream stream;
    stream.Write(Bytes);
    stream.SetPosition(0);
    return stream;
}

std::string Packed(std::string_view Text, int Level = 3) {
    TMemoryStream source = StreamOf(Text), destination;
    EXPECT_EQ(MyCompression(source, destination, Level), 0);
    return destination.Bytes();
}

std::string RandomBytes(std::size_t Size) {
    std::mt19937 generator(7);
    std::string bytes(Size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    return bytes;
}

struct RoundTripCase {
    const char* name;
    std::string text;
};
class CompressionRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(CompressionRoundTrip, DecompressingGivesBackExactlyWhatWasCompressed) {
    const std::string& text = GetParam().text;
    for (const int level : {0, 3, 9}) {
        TMemoryStream source = StreamOf(text), packed;
        ASSERT_EQ(MyCompression(source, packed, level), 0) << level;
        EXPECT_EQ(source.Position(), source.Size()) << "the source is read to its end";
        packed.SetPosition(0);
        TMemoryStream unpacked;
        ASSERT_EQ(MyDeCompression(packed, unpacked), 0) << level;
        EXPECT_EQ(unpacked.Bytes(), text) << level;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CompressionRoundTrip,
                         ::testing::Values(RoundTripCase{"Empty", ""},
                                           RoundTripCase{"OneLine", "/m/a.avi\r\n"},
                                           RoundTripCase{"NonAscii", "/音乐/歌.mp3\r\n/m/caf\xe9.wav\r\n"},
                                           RoundTripCase{"ZeroBytes", std::string("a\0b\0\0c", 6)},
                                           RoundTripCase{"Random", RandomBytes(200'000)},
                                           RoundTripCase{"LongAndRepetitive", std::string(3'000'000, 'x')}),
                         testing_support::CaseName());

TEST(Compression, ReadsTheSourceFromItsPositionAndReplacesTheDestination) {
    TMemoryStream source = StreamOf("skipped|kept");
    source.SetPosition(8);
    TMemoryStream packed = StreamOf("old content of the destination");
    ASSERT_EQ(MyCompression(source, packed, 3), 0);
    packed.SetPosition(0);
    TMemoryStream unpacked = StreamOf("old");
    ASSERT_EQ(MyDeCompression(packed, unpacked), 0);
    EXPECT_EQ(unpacked.Bytes(), "kept");
}

TEST(Compression, AnEmptySourceDecompressesToNothingWithoutFailing) {
    TMemoryStream empty, unpacked = StreamOf("left over");
    EXPECT_EQ(MyDeCompression(empty, unpacked), 0);
    EXPECT_EQ(unpacked.Size(), 0u);
}

struct BadInputCase {
    const char* name;
    std::string bytes;
};
class DecompressionFailure : public ::testing::TestWithParam<BadInputCase> {};

TEST_P(DecompressionFailure, ReportsANegativeStatusForWhatNoCompressionWrote) {
    TMemoryStream source = StreamOf(GetParam().bytes), unpacked;
    EXPECT_LT(MyDeCompression(source, unpacked), 0);
}

const std::string kPackedLines = Packed("/m/a.avi\r\n/m/b.avi\r\n");

INSTANTIATE_TEST_SUITE_P(
    Cases, DecompressionFailure,
    ::testing::Values(BadInputCase{"PlainText", "/m/a.avi\r\n"},
                      BadInputCase{"Truncated", kPackedLines.substr(0, kPackedLines.size() - 3)},
                      BadInputCase{"HeaderOnly", kPackedLines.substr(0, 2)},
                      BadInputCase{"TrailingBytes", kPackedLines + "x"},
                      BadInputCase{"TwoStreams", kPackedLines + kPackedLines},
                      BadInputCase{"CorruptChecksum", kPackedLines.substr(0, kPackedLines.size() - 1) +
                                                          static_cast<char>(kPackedLines.back() ^ 1)},
                      BadInputCase{"Random", RandomBytes(1000)}),
    testing_support::CaseName());

TEST(Compression, AResultLargerThanTheLimitIsRefused) {
    // A few hundred bytes that would unpack to 4 MiB: with a limit of 1 MiB the unpacking stops there.
    const std::string packed = Packed(std::string(4 << 20, '\0'), 9);
    ASSERT_LT(packed.size(), 10'000u);
    TMemoryStream source = StreamOf(packed), unpacked;
    EXPECT_EQ(compression::DecompressAtMost(source, unpacked, 1 << 20), Z_MEM_ERROR);
    EXPECT_LE(unpacked.Size(), std::size_t{1} << 20);
    source.SetPosition(0);
    EXPECT_EQ(compression::DecompressAtMost(source, unpacked, 4 << 20), 0);
    EXPECT_EQ(unpacked.Size(), std::size_t{4} << 20);
    EXPECT_GT(compression::MaxDecompressedSize, std::size_t{64} << 20) << "far above any history file";
}

TEST(Compression, ALevelOutsideZeroToNineFails) {
    for (const int level : {-1, 10}) {
        TMemoryStream source = StreamOf("x"), packed;
        EXPECT_EQ(MyCompression(source, packed, level), Z_STREAM_ERROR) << level;
    }
}

TEST(Compression, ANegativeStatusBecomesAnErrorThatCarriesIt) {
    EXPECT_NO_THROW(compression::CheckCompressionStatus(0));
    EXPECT_NO_THROW(compression::CheckCompressionStatus(1));
    try {
        compression::CheckCompressionStatus(Z_DATA_ERROR);
        ADD_FAILURE() << "no error";
    } catch (const compression::ECompressionError& e) {
        EXPECT_EQ(e.ErrorCode(), Z_DATA_ERROR);
        EXPECT_NE(std::string(e.what()).find("-3"), std::string::npos) << e.what();
    }
}

} // namespace
