// QFS (RefPack) compression as The Sims 2 stores it in packages: a 4-byte stored size,
// the signature 0x10 0xFB, a 3-byte big-endian uncompressed size, then control codes
// that mix literal runs with back references of up to 1028 bytes from up to 131072
// bytes back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mw {

// The largest size the 3-byte header field can state (16 MiB - 1).
constexpr std::size_t kQfsMaxSize = 0xFFFFFF;
// Stored size field + signature + uncompressed size.
constexpr std::size_t kQfsHeaderSize = 9;

// True when `stored` starts like a QFS resource (the signature at byte 4).
bool looksLikeQfs(std::string_view stored);

// The uncompressed size stated in the header of `stored` (at least kQfsHeaderSize bytes).
std::uint32_t qfsStatedSize(std::string_view stored);

// Decompresses a whole stored resource (header included) into `out`. Refuses, with a
// sentence in `error`, a header that does not fit, a stored size field larger than
// `stored`, a stream that ends early, reaches back before its start, or yields another
// size than its header states. Never writes past the stated size.
bool qfsDecompress(std::string_view stored, std::string& out, std::string& error);

// Compresses `data` (at most kQfsMaxSize bytes) into a stored resource, header
// included, that qfsDecompress turns back into `data`.
std::string qfsCompress(std::string_view data);

} // namespace mw
