#include "platform/compress/Compression.h"

#include <algorithm>

#include <zlib.h>

namespace compression {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

} // namespace

int MyCompression(forms::TMemoryStream& Source, forms::TMemoryStream& Destination, int Level) {
    Destination.Clear();
    if (Level < 0 || Level > 9)
        return Z_STREAM_ERROR;
    z_stream z{};
    if (const int status = deflateInit(&z, Level); status != Z_OK)
        return status;
    const std::string_view input = Source.Remaining();
    Source.SetPosition(Source.Size());
    unsigned char out[kChunk];
    std::size_t offset = 0;
    int status = Z_OK;
    do {
        // zlib counts in 32 bits: the input goes in slices.
        const std::size_t slice = std::min<std::size_t>(input.size() - offset, 1u << 30);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + offset));
        z.avail_in = static_cast<uInt>(slice);
        offset += slice;
        const int flush = offset == input.size() ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = out;
            z.avail_out = sizeof out;
            status = deflate(&z, flush);
            if (status == Z_STREAM_ERROR) {
                deflateEnd(&z);
                return status;
            }
            Destination.Write(out, sizeof out - z.avail_out);
        } while (z.avail_out == 0);
    } while (offset < input.size());
    deflateEnd(&z);
    return status == Z_STREAM_END ? Z_OK : Z_BUF_ERROR;
}

int MyDeCompression(forms::TMemoryStream& Source, forms::TMemoryStream& Destination) {
    return DecompressAtMost(Source, Destination, MaxDecompressedSize);
}

int DecompressAtMost(forms::TMemoryStream& Source, forms::TMemoryStream& Destination, std::size_t Limit) {
    Destination.Clear();
    return DecompressInPieces(Source, [&](std::string_view Piece) {
        if (Destination.Size() + Piece.size() > Limit)
            return false;
        Destination.Write(Piece);
        return true;
    });
}

int DecompressInPieces(forms::TMemoryStream& Source,
                       const std::function<bool(std::string_view Piece)>& Take) {
    const std::string_view input = Source.Remaining();
    Source.SetPosition(Source.Size());
    if (input.empty())
        return Z_OK;
    z_stream z{};
    if (const int status = inflateInit(&z); status != Z_OK)
        return status;
    unsigned char out[kChunk];
    std::size_t offset = 0;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (z.avail_in == 0) {
            if (offset == input.size()) {
                status = Z_BUF_ERROR; // the stream stops before its end
                break;
            }
            const std::size_t slice = std::min<std::size_t>(input.size() - offset, 1u << 30);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + offset));
            z.avail_in = static_cast<uInt>(slice);
            offset += slice;
        }
        z.next_out = out;
        z.avail_out = sizeof out;
        status = inflate(&z, Z_NO_FLUSH);
        if (status == Z_NEED_DICT)
            status = Z_DATA_ERROR;
        if (status < 0 && status != Z_BUF_ERROR)
            break;
        const std::size_t produced = sizeof out - z.avail_out;
        if (produced > 0 && !Take(std::string_view(reinterpret_cast<const char*>(out), produced))) {
            status = Z_MEM_ERROR;
            break;
        }
        if (status == Z_BUF_ERROR)
            status = Z_OK; // no progress possible with this output: more input comes next round
    }
    // Bytes after the end of the stream are no part of a file this library wrote.
    if (status == Z_STREAM_END && (z.avail_in != 0 || offset != input.size()))
        status = Z_DATA_ERROR;
    inflateEnd(&z);
    return status == Z_STREAM_END ? Z_OK : status;
}

ECompressionError::ECompressionError(int Status)
    : std::runtime_error("Compression error (status " + std::to_string(Status) + ")"), status_(Status) {}

void CheckCompressionStatus(int Status) {
    if (Status < 0)
        throw ECompressionError(Status);
}

} // namespace compression
