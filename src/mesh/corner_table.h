// The distinct-corner numbering of an OBJ model: every (position, texture coordinate,
// normal) combination the model's faces use gets one vertex number, in order of first
// appearance. A hash table keeps it linear in the number of corners; models reach the
// 32767-corner limit of 16-bit GMDC vertex numbers, where a linear search would take
// about 10^9 comparisons.
#pragma once

#include <cstdint>
#include <utility>
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

    CornerTable() { reset(); }

    // Empties the table for the next model. It starts small and grows with the model, so
    // a file of many small models costs no more than one of a few large ones.
    void reset()
    {
        slots_.assign(kInitialSlots, 0);
        mask_ = kInitialSlots - 1;
        entries_.clear();
    }

    // The 1-based number of `c`, a new one when it is first seen; 0 when the model would
    // need more than kMaxEntries numbers.
    std::int32_t number(const Corner& c)
    {
        std::uint32_t i = hash(c) & mask_;
        while (const std::uint16_t slot = slots_[i]) {
            if (entries_[slot - 1u] == c)
                return slot;
            i = (i + 1) & mask_;
        }
        if (entries_.size() >= static_cast<std::size_t>(kMaxEntries))
            return 0;
        entries_.push_back(c);
        const auto n = static_cast<std::uint16_t>(entries_.size());
        if (2 * entries_.size() > slots_.size()) // keep it at most half full
            grow();
        else
            slots_[i] = n;
        return n;
    }

    // The distinct corners, entry i - 1 holding number i.
    const std::vector<Corner>& entries() const { return entries_; }
    // Hands the entries over and empties the table.
    std::vector<Corner> take_entries()
    {
        std::vector<Corner> out = std::move(entries_);
        reset();
        return out;
    }

  private:
    static constexpr std::uint32_t kInitialSlots = 64;

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

    void grow()
    {
        slots_.assign(slots_.size() * 2, 0);
        mask_ = static_cast<std::uint32_t>(slots_.size() - 1);
        for (std::size_t e = 0; e < entries_.size(); ++e) {
            std::uint32_t i = hash(entries_[e]) & mask_;
            while (slots_[i] != 0)
                i = (i + 1) & mask_;
            slots_[i] = static_cast<std::uint16_t>(e + 1);
        }
    }

    std::vector<std::uint16_t> slots_; // 0 = empty, else an entry number
    std::uint32_t mask_ = 0;
    std::vector<Corner> entries_;
};

} // namespace mw
