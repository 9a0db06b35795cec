#pragma once
// The compression library of the history file: MyCompression / MyDeCompression over zlib.
//
// Both read their source from its position to its end and leave the whole result as the destination's content
// (the destination is emptied first, its position left at its end). The status is 0 on success and negative
// on failure (zlib's codes); on failure the destination's content is unspecified. The compressed form is a
// zlib stream; an empty source decompresses to an empty result, so that a file created empty reads as an
// empty list.

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/forms/Streams.h"

namespace compression {

// Level: 0 (stored) .. 9 (smallest); any other level fails with Z_STREAM_ERROR (-2).
int MyCompression(forms::TMemoryStream& Source, forms::TMemoryStream& Destination, int Level);
// Fails (negative) for anything that is not one whole zlib stream: corrupt or truncated data, bytes after
// the end of the stream, or a result larger than MaxDecompressedSize (which no history file comes near).
int MyDeCompression(forms::TMemoryStream& Source, forms::TMemoryStream& Destination);

inline constexpr std::size_t MaxDecompressedSize = std::size_t{256} << 20;
// MyDeCompression with a limit of its own.
int DecompressAtMost(forms::TMemoryStream& Source, forms::TMemoryStream& Destination, std::size_t Limit);
// Decompresses Source from its position to its end as MyDeCompression does, handing the result to Take piece
// by piece as it comes instead of keeping it: a reader that can tell damage early stops there. When Take
// returns false the decompression stops at once and fails with Z_MEM_ERROR (-4), as for a result over the
// limit.
int DecompressInPieces(forms::TMemoryStream& Source, const std::function<bool(std::string_view Piece)>& Take);

// The error a failure status becomes; it carries the status.
class ECompressionError : public std::runtime_error {
public:
    explicit ECompressionError(int Status);
    int ErrorCode() const { return status_; }

private:
    int status_;
};

// Raises ECompressionError for a negative status.
void CheckCompressionStatus(int Status);

} // namespace compression
