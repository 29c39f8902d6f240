#include "obj_files.h"

#include <charconv>
#include <cstdint>

namespace mw::bench {

namespace {

struct Writer {
    std::string text;
    const char* lineEnd = "\n";

    void number(double value)
    {
        char buf[48];
        const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
        text += ' ';
        text.append(buf, r.ptr);
    }
    void integer(std::int64_t value)
    {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, value);
        text.append(buf, r.ptr);
    }
    void corner(std::int64_t i)
    {
        text += ' ';
        integer(i);
        text += '/';
        integer(i);
        text += '/';
        integer(i);
    }
    void end() { text += lineEnd; }
};

// A fixed pseudo-random value in [-1, 1] for (model, index, salt), without libm.
double noise(std::uint32_t model, std::uint32_t index, std::uint32_t salt)
{
    std::uint32_t h = model * 0x9E3779B1u ^ index * 0x85EBCA77u ^ salt * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return static_cast<double>(h % 2000001u) / 1000000.0 - 1.0;
}

// One grid model whose vertices follow `first` (the number of vertices written before).
void grid_model(Writer& w, int model, int rows, int cols, std::int64_t first)
{
    w.text += "g model";
    w.integer(model);
    w.end();
    const auto m = static_cast<std::uint32_t>(model);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const auto i = static_cast<std::uint32_t>(r * cols + c);
            w.text += 'v';
            w.number(c * 0.01 + model);
            w.number(r * 0.01);
            w.number(0.05 * noise(m, i, 1));
            w.end();
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            w.text += "vt";
            w.number(static_cast<double>(c) / (cols - 1));
            w.number(static_cast<double>(r) / (rows - 1));
            w.end();
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const auto i = static_cast<std::uint32_t>(r * cols + c);
            w.text += "vn";
            w.number(0.1 * noise(m, i, 2));
            w.number(0.1 * noise(m, i, 3));
            w.number(0.99);
            w.end();
        }
    w.text += "usemtl skin";
    w.end();
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < cols; ++c) {
            const std::int64_t v00 = first + r * cols + c + 1, v01 = v00 + 1, v10 = v00 + cols, v11 = v10 + 1;
            w.text += 'f';
            w.corner(v00);
            w.corner(v10);
            w.corner(v11);
            w.end();
            w.text += 'f';
            w.corner(v00);
            w.corner(v11);
            w.corner(v01);
            w.end();
        }
}

std::string forty_models(const char* lineEnd)
{
    Writer w;
    w.lineEnd = lineEnd;
    w.text.reserve(150u << 20);
    w.text += "# 40 grid models of 126 x 126 vertices";
    w.end();
    std::int64_t first = 0;
    for (int m = 1; m <= 40; ++m) {
        grid_model(w, m, 126, 126, first);
        first += 126 * 126;
    }
    return w.text;
}

} // namespace

const std::vector<ObjBenchFile>& obj_bench_files()
{
    static const std::vector<ObjBenchFile> files = {
        {"a", "a_one_model_32767_corners.obj", "(a) 1 model, 32767 corners"},
        {"b", "b_40_models.obj", "(b) 40 models x 15876 corners"},
        {"c", "c_40_models_crlf.obj", "(c) = (b), CR LF"},
    };
    return files;
}

std::string obj_bench_text(const std::string& key)
{
    if (key == "a") {
        // 181 x 181 = 32761 grid corners and two triangles of six more: the limit exactly.
        Writer w;
        grid_model(w, 1, 181, 181, 0);
        for (int i = 0; i < 6; ++i) {
            w.text += "v";
            w.number(-1 - i);
            w.number(i);
            w.number(0);
            w.end();
            w.text += "vt 0 0";
            w.end();
            w.text += "vn 0 0 1";
            w.end();
        }
        for (int t = 0; t < 2; ++t) {
            w.text += 'f';
            for (int k = 0; k < 3; ++k)
                w.corner(181 * 181 + 3 * t + k + 1);
            w.end();
        }
        return w.text;
    }
    return forty_models(key == "c" ? "\r\n" : "\n");
}

const ObjBenchFile& materials_bench_file()
{
    static const ObjBenchFile file = {"d", "d_32000_groups.obj", "(d) 32000 groups, MTL of 256000 lines"};
    return file;
}

std::string materials_mtl_file_name()
{
    return "d_32000_groups.mtl";
}

std::string materials_obj_text()
{
    Writer w;
    w.text += "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\n";
    w.text += "mtllib " + materials_mtl_file_name() + "\n";
    for (int g = 1; g <= kMaterialGroups; ++g) {
        w.text += "g group";
        w.integer(g);
        w.text += "\nusemtl material";
        w.integer(g);
        w.text += "\nf 1/1/1 2/2/2 3/3/3\n";
    }
    return w.text;
}

std::string materials_mtl_text()
{
    // Eight lines per material, as exporters write them.
    Writer w;
    for (int g = 1; g <= kMaterialGroups; ++g) {
        w.text += "newmtl material";
        w.integer(g);
        w.text += "\nKa 0.2 0.2 0.2\nKd 0.8 0.8 0.8\nKs 0 0 0\nNs 10\nd 1\nillum 2\nmap_Kd .\\texture";
        w.integer(g);
        w.text += ".bmp\n";
    }
    return w.text;
}

std::vector<Corner> grid_corners(int rows, int cols)
{
    std::vector<Corner> corners;
    corners.reserve(static_cast<std::size_t>(rows) * cols * 6);
    auto add = [&](int i) { corners.push_back({i, i, i}); };
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < cols; ++c) {
            const int v00 = r * cols + c + 1, v01 = v00 + 1, v10 = v00 + cols, v11 = v10 + 1;
            for (int i : {v00, v10, v11, v00, v11, v01})
                add(i);
        }
    return corners;
}

} // namespace mw::bench
