#include "bench_table.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace mw::bench {

std::string fixed(double value, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

namespace {

double cpu_seconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace

double best_time(int runs, const std::function<void()>& f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = cpu_seconds();
        f();
        best = std::min(best, cpu_seconds() - start);
    }
    return best;
}

void BenchTable::print(const std::string& title, const std::string& lastLine) const
{
    std::vector<std::vector<std::string>> cells = {{"task", "input", "MB", "CPU seconds", "MB/s", "peak MiB", "note"}};
    for (const BenchRow& r : rows_)
        cells.push_back({r.task, r.input, r.megabytes > 0 ? fixed(r.megabytes, 1) : "", fixed(r.seconds, 4),
                         r.megabytes > 0 && r.seconds > 0 ? fixed(r.megabytes / r.seconds, 1) : "",
                         r.peakMiB > 0 ? fixed(r.peakMiB, 1) : "", r.note});
    std::vector<std::size_t> width(cells[0].size(), 0);
    for (const auto& row : cells)
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    auto print_row = [&](const std::vector<std::string>& row) {
        std::printf("|");
        for (std::size_t c = 0; c < row.size(); ++c)
            std::printf(" %-*s |", static_cast<int>(width[c]), row[c].c_str());
        std::printf("\n");
    };
    std::printf("%s\n\n", title.c_str());
    print_row(cells[0]);
    std::printf("|");
    for (std::size_t w : width)
        std::printf("%s|", std::string(w + 2, '-').c_str());
    std::printf("\n");
    for (std::size_t i = 1; i < cells.size(); ++i)
        print_row(cells[i]);
    std::printf("\n");
    for (const std::string& line : lines_)
        std::printf("%s\n", line.c_str());
    std::printf("%s\n", lastLine.c_str());
    std::fflush(stdout);
}

} // namespace mw::bench
