// The distinct-corner numbering of an OBJ model: every (position, texture coordinate,
// normal) combination the model's faces use gets one vertex number, in order of first
// appearance. A hash table keeps it linear in the number of corners; models reach the
// 32767-corner limit of 16-bit GMDC vertex numbers, where a linear search would take
// about 10^9 comparisons.
#pragma once

#include <cstdint>
#include <vector>

namespace mw {

// One corner of a face as the file numbers it; 0 means "none" for uv and normal.
struct Corner {
    std::int32_t position = 0;
    std::int32_t uv = 0;
    std::int32_t normal = 0;

    bool operator==(const Corner&) const = default;
};

class CornerTable {
  public:
    static constexpr std::int32_t kMaxEntries = 32767;

    // Empties the table for a model with `cornerCount` corners (three per face).
    void reset(std::size_t cornerCount)
    {
        const std::size_t expected = cornerCount < kMaxEntries ? cornerCount : kMaxEntries;
        std::size_t size = 16;
        while (size < 2 * expected) // at most half full
            size *= 2;
        slots_.assign(size, 0);
        mask_ = static_cast<std::uint32_t>(size - 1);
        entries_.clear();
    }

    // The 1-based number of `c`, a new one when it is first seen; 0 when the model would
    // need more than kMaxEntries numbers.
    std::int32_t number(const Corner& c)
    {
        std::uint32_t i = hash(c) & mask_;
        while (true) {
            const std::uint16_t slot = slots_[i];
            if (slot == 0)
                break;
            if (entries_[slot - 1u] == c)
                return slot;
            i = (i + 1) & mask_;
        }
        if (entries_.size() >= static_cast<std::size_t>(kMaxEntries))
            return 0;
        entries_.push_back(c);
        slots_[i] = static_cast<std::uint16_t>(entries_.size());
        return static_cast<std::int32_t>(entries_.size());
    }

    // The distinct corners, entry i - 1 holding number i.
    const std::vector<Corner>& entries() const { return entries_; }

  private:
    static std::uint32_t hash(const Corner& c)
    {
        std::uint32_t h = static_cast<std::uint32_t>(c.position) * 0x9E3779B1u;
        h ^= static_cast<std::uint32_t>(c.uv) * 0x85EBCA77u;
        h ^= static_cast<std::uint32_t>(c.normal) * 0xC2B2AE3Du;
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        h ^= h >> 13;
        return h;
    }

    std::vector<std::uint16_t> slots_; // 0 = empty, else an entry number
    std::uint32_t mask_ = 0;
    std::vector<Corner> entries_;
};

} // namespace mw
