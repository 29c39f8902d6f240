// QFS decoder and a hash-chain encoder. The encoder finds, at each position, the longest
// earlier match the format can express (3 bytes within 1 KiB, 4 within 16 KiB, 5 within
// 128 KiB), looks one byte ahead before taking it, and packs up to three pending
// literals into the copy's own code.
#include "package/qfs.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace mw {

namespace {

constexpr std::size_t kMaxOffset = 131072;
constexpr std::size_t kMaxCopy = 1028;
constexpr std::size_t kMaxLiteralRun = 112;

std::uint32_t read_u32_le(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

const unsigned char* bytes_of(std::string_view s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

} // namespace

bool looksLikeQfs(std::string_view stored)
{
    return stored.size() >= kQfsHeaderSize && static_cast<unsigned char>(stored[4]) == 0x10 &&
           static_cast<unsigned char>(stored[5]) == 0xFB;
}

std::uint32_t qfsStatedSize(std::string_view stored)
{
    const unsigned char* p = bytes_of(stored);
    return (static_cast<std::uint32_t>(p[6]) << 16) | (static_cast<std::uint32_t>(p[7]) << 8) | p[8];
}

bool qfsDecompress(std::string_view stored, std::string& out, std::string& error)
{
    if (!looksLikeQfs(stored)) {
        error = "it does not start with a QFS header (10 FB at byte 4)";
        return false;
    }
    const std::uint32_t storedField = read_u32_le(bytes_of(stored));
    if (storedField > stored.size()) {
        error = "its compressed stream claims " + std::to_string(storedField) + " bytes but only " +
                std::to_string(stored.size()) + " are stored";
        return false;
    }
    const std::size_t size = qfsStatedSize(stored);
    out.assign(size, '\0');
    const unsigned char* in = bytes_of(stored) + kQfsHeaderSize;
    const unsigned char* const end = bytes_of(stored) + stored.size();
    char* const o = out.data();
    std::size_t produced = 0;
    auto fail = [&](const std::string& what) {
        error = what;
        out.clear();
        return false;
    };
    while (in < end) {
        const unsigned b0 = *in++;
        std::size_t plain = 0, length = 0, offset = 0;
        bool stop = false;
        if (b0 < 0x80) {
            if (end - in < 1)
                break;
            plain = b0 & 3;
            length = ((b0 >> 2) & 7) + 3;
            offset = ((b0 & 0x60u) << 3) + in[0] + 1;
            in += 1;
        } else if (b0 < 0xC0) {
            if (end - in < 2)
                break;
            plain = in[0] >> 6;
            length = (b0 & 0x3F) + 4;
            offset = ((in[0] & 0x3Fu) << 8) + in[1] + 1;
            in += 2;
        } else if (b0 < 0xE0) {
            if (end - in < 3)
                break;
            plain = b0 & 3;
            length = ((b0 & 0x0Cu) << 6) + in[2] + 5;
            offset = ((b0 & 0x10u) << 12) + (static_cast<std::size_t>(in[0]) << 8) + in[1] + 1;
            in += 3;
        } else if (b0 < 0xFC) {
            plain = ((b0 & 0x1Fu) << 2) + 4;
        } else {
            plain = b0 & 3;
            stop = true;
        }
        if (static_cast<std::size_t>(end - in) < plain)
            return fail("its compressed stream ends in the middle of a literal run");
        if (size - produced < plain + length)
            return fail("its compressed stream yields more than the " + std::to_string(size) +
                        " bytes its header states");
        std::memcpy(o + produced, in, plain);
        in += plain;
        produced += plain;
        if (length != 0) {
            if (offset > produced)
                return fail("its compressed stream refers " + std::to_string(offset) + " bytes back at byte " +
                            std::to_string(produced) + " of its output");
            char* dst = o + produced;
            const char* src = dst - offset;
            if (offset >= length) {
                std::memcpy(dst, src, length);
            } else {
                for (std::size_t i = 0; i < length; ++i)
                    dst[i] = src[i];
            }
            produced += length;
        }
        if (stop)
            break;
    }
    if (produced != size)
        return fail("its compressed stream yields " + std::to_string(produced) + " bytes but its header states " +
                    std::to_string(size));
    return true;
}

namespace {

constexpr unsigned kHashBits = 16;
constexpr std::size_t kWindowMask = kMaxOffset - 1;
constexpr int kMaxChain = 32;
constexpr std::size_t kGoodEnough = 258;

std::uint32_t hash3(const unsigned char* p)
{
    const std::uint32_t v = p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

bool expressible(std::size_t length, std::size_t offset)
{
    return (length >= 3 && offset <= 1024) || (length >= 4 && offset <= 16384) || (length >= 5 && offset <= kMaxOffset);
}

class Encoder {
  public:
    explicit Encoder(std::string_view data)
        : data_(bytes_of(data)), size_(data.size()), head_(std::size_t{1} << kHashBits, kNone), prev_(kMaxOffset, kNone)
    {
    }

    std::string run()
    {
        out_.reserve(size_ / 2 + 64);
        out_.append(4, '\0');
        out_.push_back(static_cast<char>(0x10));
        out_.push_back(static_cast<char>(0xFB));
        out_.push_back(static_cast<char>((size_ >> 16) & 0xFF));
        out_.push_back(static_cast<char>((size_ >> 8) & 0xFF));
        out_.push_back(static_cast<char>(size_ & 0xFF));

        std::size_t pos = 0, literalStart = 0;
        while (pos + 3 <= size_) {
            std::size_t offset = 0;
            std::size_t length = find(pos, offset);
            if (length == 0) {
                insert(pos++);
                continue;
            }
            // One byte of look-ahead: a longer match starting at the next byte wins.
            insert(pos);
            if (length < kGoodEnough && pos + 4 <= size_) {
                std::size_t nextOffset = 0;
                const std::size_t next = find(pos + 1, nextOffset);
                if (next > length + 1) {
                    ++pos;
                    continue;
                }
            }
            emit_copy(literalStart, pos, length, offset);
            for (std::size_t p = pos + 1; p < pos + length; ++p)
                insert(p);
            pos += length;
            literalStart = pos;
        }
        emit_end(literalStart);
        const auto stored = static_cast<std::uint32_t>(out_.size());
        for (int i = 0; i < 4; ++i)
            out_[static_cast<std::size_t>(i)] = static_cast<char>((stored >> (8 * i)) & 0xFF);
        return std::move(out_);
    }

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    void insert(std::size_t pos)
    {
        if (pos + 3 > size_)
            return;
        const std::uint32_t h = hash3(data_ + pos);
        prev_[pos & kWindowMask] = head_[h];
        head_[h] = static_cast<std::uint32_t>(pos);
    }

    // The longest expressible match for `pos` among earlier positions (0 when none).
    std::size_t find(std::size_t pos, std::size_t& bestOffset) const
    {
        const std::size_t limit = std::min(kMaxCopy, size_ - pos);
        if (limit < 3)
            return 0;
        const unsigned char* here = data_ + pos;
        std::size_t best = 2;
        std::uint32_t candidate = head_[hash3(here)];
        for (int chain = 0; chain < kMaxChain && candidate != kNone; ++chain) {
            if (candidate >= pos)
                break;
            const std::size_t offset = pos - candidate;
            if (offset > kMaxOffset)
                break;
            const unsigned char* there = data_ + candidate;
            if (best < limit && there[best] == here[best] && there[0] == here[0]) {
                std::size_t length = 0;
                while (length < limit && there[length] == here[length])
                    ++length;
                if (length > best && expressible(length, offset)) {
                    best = length;
                    bestOffset = offset;
                    if (length >= kGoodEnough || length == limit)
                        break;
                }
            }
            const std::uint32_t next = prev_[candidate & kWindowMask];
            if (next != kNone && next >= candidate)
                break; // the slot was reused by a newer position: the chain ends here
            candidate = next;
        }
        return best >= 3 ? best : 0;
    }

    void emit_literals(std::size_t& from, std::size_t to)
    {
        while (to - from >= 4) {
            const std::size_t n = std::min(kMaxLiteralRun, (to - from) & ~std::size_t{3});
            out_.push_back(static_cast<char>(0xE0 | ((n - 4) >> 2)));
            out_.append(reinterpret_cast<const char*>(data_ + from), n);
            from += n;
        }
    }

    void emit_copy(std::size_t literalStart, std::size_t pos, std::size_t length, std::size_t offset)
    {
        emit_literals(literalStart, pos);
        const std::size_t plain = pos - literalStart;
        const std::size_t o = offset - 1;
        if (length <= 10 && offset <= 1024) {
            out_.push_back(static_cast<char>(((o >> 3) & 0x60) | ((length - 3) << 2) | plain));
            out_.push_back(static_cast<char>(o & 0xFF));
        } else if (length <= 67 && offset <= 16384) {
            out_.push_back(static_cast<char>(0x80 | (length - 4)));
            out_.push_back(static_cast<char>((plain << 6) | (o >> 8)));
            out_.push_back(static_cast<char>(o & 0xFF));
        } else {
            const std::size_t l = length - 5;
            out_.push_back(static_cast<char>(0xC0 | ((o >> 16) << 4) | ((l >> 8) << 2) | plain));
            out_.push_back(static_cast<char>((o >> 8) & 0xFF));
            out_.push_back(static_cast<char>(o & 0xFF));
            out_.push_back(static_cast<char>(l & 0xFF));
        }
        out_.append(reinterpret_cast<const char*>(data_ + literalStart), plain);
    }

    void emit_end(std::size_t literalStart)
    {
        emit_literals(literalStart, size_);
        const std::size_t plain = size_ - literalStart;
        out_.push_back(static_cast<char>(0xFC | plain));
        out_.append(reinterpret_cast<const char*>(data_ + literalStart), plain);
    }

    const unsigned char* data_;
    std::size_t size_;
    std::vector<std::uint32_t> head_;
    std::vector<std::uint32_t> prev_;
    std::string out_;
};

} // namespace

std::string qfsCompress(std::string_view data)
{
    return Encoder(data).run();
}

} // namespace mw
