// QFS figures: compression and decompression speed on one core, and the compressed size,
// on the fixture body mesh (a real GMDC) when the fixtures are present.
#include "bench_suites.h"
#include "core/save_file.h"
#include "package/qfs.h"

#include <cstdio>
#include <cstdlib>

namespace mw::bench {

void run_package_suite(BenchTable& table, int runs)
{
    const std::string path = std::string(MESHWRIGHT_SOURCE_DIR) + "/../shared/fixtures/gmdc/adult_body.5gd";
    std::string body, error;
    if (!read_whole_file(path, body, error)) {
        table.addLine("QFS: no fixture body mesh (" + error + "); figures left out");
        return;
    }
    // Several passes per timing, so that one timing is long enough to measure.
    constexpr int kPasses = 20;
    const double mb = static_cast<double>(body.size()) * kPasses / 1e6;
    std::string packed;
    const double compress = best_time(runs, [&] {
        for (int i = 0; i < kPasses; ++i)
            packed = qfsCompress(body);
    });
    std::string unpacked;
    const double decompress = best_time(runs, [&] {
        for (int i = 0; i < kPasses; ++i)
            if (!qfsDecompress(packed, unpacked, error) || unpacked != body) {
                std::fprintf(stderr, "meshwright-bench: the QFS round trip failed: %s\n", error.c_str());
                std::exit(1);
            }
    });
    const double ratio = 100.0 * static_cast<double>(packed.size()) / static_cast<double>(body.size());
    const std::string input = "adult_body.5gd x " + std::to_string(kPasses);
    table.add({"qfsCompress", input, mb, compress, "target: at least 30 MB/s"});
    table.add({"qfsDecompress", input, mb, decompress, "target: at least 300 MB/s"});
    table.addLine("QFS compressed size of adult_body.5gd: " + std::to_string(packed.size()) + " of " +
                  std::to_string(body.size()) + " bytes, " + fixed(ratio, 1) + "% (target: at most 38%)");
}

} // namespace mw::bench
