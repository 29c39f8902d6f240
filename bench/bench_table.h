// The one table every benchmark figure goes into, printed once at the end. A suite adds
// rows (and ratio lines); the final line is reserved for the figure scripts look for.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace mw::bench {

struct BenchRow {
    std::string task;     // "read_obj", "tinyobjloader LoadObj", ...
    std::string input;    // which file or case
    double megabytes = 0; // input size; 0 when throughput means nothing
    double seconds = 0;
    std::string note;
    double peakMiB = 0; // peak resident memory of a whole process; 0 when not measured
};

class BenchTable {
  public:
    void add(BenchRow row) { rows_.push_back(std::move(row)); }
    // A line printed below the table, such as a ratio.
    void addLine(std::string line) { lines_.push_back(std::move(line)); }
    // Prints the table as Markdown, then the lines, then `lastLine`.
    void print(const std::string& title, const std::string& lastLine) const;

  private:
    std::vector<BenchRow> rows_;
    std::vector<std::string> lines_;
};

// The shortest CPU time of `runs` calls of `f`, in seconds. CPU time rather than wall
// time, so that other work on a shared machine does not blur the comparison.
double best_time(int runs, const std::function<void()>& f);

std::string fixed(double value, int decimals);

} // namespace mw::bench
