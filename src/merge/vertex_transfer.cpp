#include "merge/vertex_transfer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace mw {

namespace {

// Positions closer than this count as the same position: the text formats keep six
// decimals, so a vertex read back from SMD sits a few millionths from where it was.
constexpr float kSamePosition = 1e-4f;
constexpr float kFar = std::numeric_limits<float>::infinity();

float distance2(const float* a, const float* b, int width)
{
    float d = 0;
    for (int k = 0; k < width; ++k)
        d += (a[k] - b[k]) * (a[k] - b[k]);
    return d;
}

// Old vertices sorted into cubic cells, about one vertex a cell.
class Grid {
  public:
    explicit Grid(const std::vector<float>& positions)
    {
        const std::size_t count = positions.size() / 3;
        for (int k = 0; k < 3; ++k) {
            lo_[k] = count ? positions[static_cast<std::size_t>(k)] : 0.0f;
            float hi = lo_[k];
            for (std::size_t i = 0; i < count; ++i) {
                const float v = positions[3 * i + static_cast<std::size_t>(k)];
                if (std::isfinite(v)) {
                    lo_[k] = std::min(lo_[k], v);
                    hi = std::max(hi, v);
                }
            }
            extent_[k] = std::isfinite(hi - lo_[k]) ? hi - lo_[k] : 0.0f;
        }
        const float largest = std::max({extent_[0], extent_[1], extent_[2]});
        cell_ = largest > 0 ? largest / std::cbrt(static_cast<float>(std::max<std::size_t>(count, 1))) : 1.0f;
        for (int k = 0; k < 3; ++k)
            dims_[k] = std::clamp(static_cast<int>(extent_[k] / cell_) + 1, 1, 256);
        std::vector<std::int32_t> cellOf(count);
        starts_.assign(static_cast<std::size_t>(dims_[0] * dims_[1] * dims_[2]) + 1, 0);
        for (std::size_t i = 0; i < count; ++i) {
            cellOf[i] = cell_number(&positions[3 * i]);
            ++starts_[static_cast<std::size_t>(cellOf[i]) + 1];
        }
        for (std::size_t c = 1; c < starts_.size(); ++c)
            starts_[c] += starts_[c - 1];
        order_.resize(count);
        std::vector<std::int32_t> next(starts_.begin(), starts_.end() - 1);
        for (std::size_t i = 0; i < count; ++i)
            order_[static_cast<std::size_t>(next[static_cast<std::size_t>(cellOf[i])]++)] =
                static_cast<std::int32_t>(i);
    }

    // Calls visit(i) for every old vertex i in the cells at Chebyshev distance `ring`
    // from the cell of `p`; returns false once the ring lies wholly outside the grid.
    template <typename Visit> bool ring(const float* p, int ring, Visit&& visit) const
    {
        int c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = coordinate(p[k], k);
        bool any = false;
        for (int x = c[0] - ring; x <= c[0] + ring; ++x) {
            if (x < 0 || x >= dims_[0])
                continue;
            for (int y = c[1] - ring; y <= c[1] + ring; ++y) {
                if (y < 0 || y >= dims_[1])
                    continue;
                const bool edge = std::abs(x - c[0]) == ring || std::abs(y - c[1]) == ring;
                for (int z = c[2] - ring; z <= c[2] + ring; z += (edge || ring == 0) ? 1 : 2 * ring) {
                    if (z < 0 || z >= dims_[2])
                        continue;
                    any = true;
                    const std::size_t cell = static_cast<std::size_t>((x * dims_[1] + y) * dims_[2] + z);
                    for (std::int32_t s = starts_[cell]; s < starts_[cell + 1]; ++s)
                        visit(order_[static_cast<std::size_t>(s)]);
                }
            }
        }
        return any || ring <= std::max({dims_[0], dims_[1], dims_[2]});
    }

    float cell() const { return cell_; }

    // How far `p` lies inside the box of the cells up to `ring` around its own: every
    // vertex not yet visited is at least this far away.
    float margin(const float* p, int ring) const
    {
        float m = kFar;
        for (int k = 0; k < 3; ++k) {
            const int c = coordinate(p[k], k);
            const float low = c - ring <= 0 ? kFar : p[k] - (lo_[k] + static_cast<float>(c - ring) * cell_);
            const float high =
                c + ring + 1 >= dims_[k] ? kFar : lo_[k] + static_cast<float>(c + ring + 1) * cell_ - p[k];
            m = std::min({m, low, high});
        }
        return m;
    }

  private:
    int coordinate(float v, int k) const
    {
        const float f = (v - lo_[k]) / cell_;
        if (!(f >= 0))
            return 0;
        return std::min(static_cast<int>(std::min(f, 1e6f)), dims_[k] - 1);
    }
    std::int32_t cell_number(const float* p) const
    {
        return (coordinate(p[0], 0) * dims_[1] + coordinate(p[1], 1)) * dims_[2] + coordinate(p[2], 2);
    }

    float lo_[3] = {0, 0, 0};
    float extent_[3] = {0, 0, 0};
    float cell_ = 1;
    int dims_[3] = {1, 1, 1};
    std::vector<std::int32_t> starts_;
    std::vector<std::int32_t> order_;
};

// A per-vertex list of a group: dense (one record per vertex) or indexed (items name the
// vertices that carry a record).
struct GroupList {
    std::size_t number; // 0-based P1 number
    bool indexed;
};

std::string list_label(const GmdcFile& gmdc, std::size_t number)
{
    const std::string name = identity_short_name(gmdc.dataLists[number].identity);
    return "Datalist #" + std::to_string(number + 1) + (name.empty() ? "" : " (" + name + ")");
}

std::size_t records_held(const DataList& list, int width)
{
    return width > 0 ? list.valueCount() / static_cast<std::size_t>(width) : 0;
}

// Floats (or integers) per record of a list that holds `records` records.
int record_width(const DataList& list, std::size_t records)
{
    if (records == 0 || list.valueCount() % records != 0)
        return 0;
    return static_cast<int>(list.valueCount() / records);
}

template <typename T>
std::vector<T> pick_dense(const std::vector<T>& values, int width, const std::vector<std::int32_t>& nearest)
{
    std::vector<T> out;
    out.reserve(nearest.size() * static_cast<std::size_t>(width));
    for (std::int32_t o : nearest)
        out.insert(out.end(), values.begin() + o * width, values.begin() + (o + 1) * width);
    return out;
}

template <typename T>
void pick_indexed(DataList& list, std::vector<T>& values, int width, std::size_t oldCount,
                  const std::vector<std::int32_t>& nearest)
{
    std::vector<std::int32_t> recordOf(oldCount, -1);
    for (std::size_t p = 0; p < list.items.size(); ++p) {
        const std::int16_t v = list.items[p];
        if (v >= 0 && static_cast<std::size_t>(v) < oldCount && recordOf[static_cast<std::size_t>(v)] < 0)
            recordOf[static_cast<std::size_t>(v)] = static_cast<std::int32_t>(p);
    }
    std::vector<T> out;
    std::vector<std::int16_t> items;
    for (std::size_t j = 0; j < nearest.size(); ++j) {
        const std::int32_t p = recordOf[static_cast<std::size_t>(nearest[j])];
        if (p < 0)
            continue;
        const auto first = values.begin() + p * width;
        if (std::all_of(first, first + width, [](T v) { return v == T(0); }))
            continue;
        out.insert(out.end(), first, first + width);
        items.push_back(static_cast<std::int16_t>(j));
    }
    values = std::move(out);
    list.items = std::move(items);
}

// The lists of `group` (in `gmdc`) that hold a record per old vertex and were not rewritten.
std::vector<GroupList> stale_lists(const GmdcFile& gmdc, const ObjectGroup& group, std::int32_t oldCount,
                                   std::int32_t newCount)
{
    std::vector<GroupList> out;
    for (std::size_t k = 0; k < group.dataListIndices.size(); ++k) {
        const std::int16_t n = group.dataListIndices[k];
        if (n < 0 || static_cast<std::size_t>(n) >= gmdc.dataLists.size())
            continue;
        const auto number = static_cast<std::size_t>(n);
        if (std::any_of(out.begin(), out.end(), [&](const GroupList& g) { return g.number == number; }))
            continue;
        const DataList& d = gmdc.dataLists[number];
        if (d.recordCount != oldCount || d.recordCount == newCount)
            continue;
        if (!d.items.empty() ? record_width(d, d.items.size()) > 0 : record_width(d, d.recordCount) > 0)
            out.push_back({number, !d.items.empty()});
    }
    return out;
}

void append_floats(std::vector<float>& out, const DataList* list, std::size_t count, int width)
{
    if (!list || list->holdsLongValues() || records_held(*list, width) < count ||
        static_cast<std::size_t>(list->recordCount) < count)
        return;
    out.assign(list->floatValues.begin(), list->floatValues.begin() + static_cast<std::ptrdiff_t>(count * width));
}

const DataList* list_at(const GmdcFile& gmdc, const ObjectGroup& group, std::size_t position)
{
    if (position >= group.dataListIndices.size())
        return nullptr;
    const std::int16_t n = group.dataListIndices[position];
    return n >= 0 && static_cast<std::size_t>(n) < gmdc.dataLists.size() ? &gmdc.dataLists[static_cast<std::size_t>(n)]
                                                                         : nullptr;
}

} // namespace

std::vector<std::int32_t> nearest_vertices(const VertexSet& from, const VertexSet& to)
{
    const Grid grid(from.positions);
    const bool normals = from.normals.size() == 3 * from.size() && to.normals.size() == 3 * to.size();
    const bool uvs = from.uvs.size() == 2 * from.size() && to.uvs.size() == 2 * to.size();
    std::vector<std::int32_t> nearest(to.size(), 0);
    std::vector<std::int32_t> close;
    for (std::size_t j = 0; j < to.size(); ++j) {
        const float* p = &to.positions[3 * j];
        float best = kFar;
        close.clear();
        for (int r = 0;; ++r) {
            const bool more = grid.ring(p, r, [&](std::int32_t i) {
                const float d = std::sqrt(distance2(p, &from.positions[3 * static_cast<std::size_t>(i)], 3));
                if (d <= best + kSamePosition)
                    close.push_back(i);
                best = std::min(best, d);
            });
            // Every vertex beyond this ring lies at least r cells away, and at least the
            // margin of the box visited so far.
            const float reach = best + kSamePosition;
            if (!more || (best < kFar && (static_cast<float>(r) * grid.cell() > reach || grid.margin(p, r) > reach)))
                break;
        }
        std::int32_t pick = -1;
        float pickKey[3] = {0, 0, 0};
        for (std::int32_t i : close) {
            const auto o = static_cast<std::size_t>(i);
            const float d = std::sqrt(distance2(p, &from.positions[3 * o], 3));
            if (d > best + kSamePosition)
                continue;
            const float key[3] = {normals ? distance2(&to.normals[3 * j], &from.normals[3 * o], 3) : 0.0f,
                                  uvs ? distance2(&to.uvs[2 * j], &from.uvs[2 * o], 2) : 0.0f, d};
            if (pick < 0 || std::lexicographical_compare(key, key + 3, pickKey, pickKey + 3)) {
                pick = i;
                std::copy(key, key + 3, pickKey);
            }
        }
        if (pick < 0)
            pick = close.empty() ? 0 : close.front();
        nearest[j] = pick;
    }
    return nearest;
}

VertexSet group_vertices(const GmdcFile& gmdc, std::size_t group)
{
    VertexSet set;
    const ObjectGroup& g = gmdc.objectGroups[group];
    const auto count = static_cast<std::size_t>(std::max(g.vertexCount, 0));
    append_floats(set.positions, list_at(gmdc, g, 0), count, 3);
    append_floats(set.normals, list_at(gmdc, g, 1), count, 3);
    append_floats(set.uvs, list_at(gmdc, g, 2), count, 2);
    return set;
}

void follow_new_vertices(const GmdcFile& before, GmdcFile& after, bool keepLists, MessageSink& sink)
{
    const std::size_t groups = std::min(before.objectGroups.size(), after.objectGroups.size());
    for (std::size_t g = 0; g < groups; ++g) {
        const std::int32_t oldCount = before.objectGroups[g].vertexCount;
        const std::int32_t newCount = after.objectGroups[g].vertexCount;
        if (oldCount == newCount || oldCount <= 0 || newCount < 0)
            continue;
        const std::vector<GroupList> lists = stale_lists(after, after.objectGroups[g], oldCount, newCount);
        if (lists.empty())
            continue;
        std::string names;
        for (const GroupList& l : lists)
            names += (names.empty() ? "" : ", ") + list_label(after, l.number);
        const std::string group = "object group #" + std::to_string(g + 1);

        const VertexSet from = group_vertices(before, g);
        const VertexSet to = group_vertices(after, g);
        if (keepLists || from.size() != static_cast<std::size_t>(oldCount) ||
            to.size() != static_cast<std::size_t>(newCount)) {
            sink.warning("These lists of " + group + " still hold " + std::to_string(oldCount) +
                         " records, out of step with its " + std::to_string(newCount) + " vertices: " + names +
                         (keepLists ? "." : " (its vertex lists are incomplete)."));
            continue;
        }
        const std::vector<std::int32_t> nearest = nearest_vertices(from, to);
        for (const GroupList& l : lists) {
            DataList& d = after.dataLists[l.number];
            const std::size_t records = l.indexed ? d.items.size() : static_cast<std::size_t>(oldCount);
            const int width = record_width(d, records);
            if (l.indexed) {
                if (d.holdsLongValues())
                    pick_indexed(d, d.longValues, width, static_cast<std::size_t>(oldCount), nearest);
                else
                    pick_indexed(d, d.floatValues, width, static_cast<std::size_t>(oldCount), nearest);
            } else if (d.holdsLongValues()) {
                d.longValues = pick_dense(d.longValues, width, nearest);
            } else {
                d.floatValues = pick_dense(d.floatValues, width, nearest);
            }
            d.recordCount = newCount;
        }
        sink.info("Rebuilt for the " + std::to_string(newCount) + " vertices of " + group +
                  " from its nearest old vertices: " + names + ".");
    }
}

} // namespace mw
