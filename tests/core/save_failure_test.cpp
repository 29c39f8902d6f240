// Every writer of the program saves through the one atomic save: failing as on a full disk,
// each leaves the target byte-identical, no temporary file, a message naming the target
// and its record as it was. Then the save itself, on the targets it must refuse and on
// those a plain rename would damage: links, pipes, devices, owners, attributes, long names.
#include "core/save_file.h"
#include "merge/body_save.h"
#include "merge/merge_test_util.h"
#include "mesh/gmdc_to_obj.h"
#include "mesh/obj_writer.h"
#include "smd_export/smd_writer.h"
#include "support/package_builder.h"
#include "support/test_support.h"
#include "wizard/shape_writer.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace mw;
namespace fs = std::filesystem;

namespace {

// The records the writers save.
struct Records {
    Records()
    {
        body.gmdc = test::make_body_mesh();
        body.models.models.push_back(test::make_obj_model("m", 12, 6));
        body30.gmdc = test::make_body_mesh_30();
        initShape(shape);
        setShapeParts(shape, {"chair", "seat", "legs"});
        std::string error;
        parsePackage(test::build_package({{kTypeGmdc, 1, 2, 3, "resource"}}, true), package, error, "p.package");
    }
    State body, body30; // make_body_mesh and an OBJ model; make_body_mesh_30
    ShpeFile shape;
    Package package;
};

using Sink = MessageSink;
using Path = const std::string&;
struct SaveWriter {
    const char* name;
    const char* extension;
    bool (*save)(Records& r, Path path, Sink& sink);
};

const SaveWriter kWriters[] = {
    {"writeGmdc", ".5gd", [](Records& r, Path p, Sink& k) { return writeGmdc(r.body.gmdc, p, k); }},
    {"save_body_gmdc", ".5gd", [](Records& r, Path p, Sink& k) { return save_body_gmdc(r.body30, p, k); }},
    {"write_obj", ".obj", [](Records& r, Path p, Sink& k) { return write_obj(r.body, p, 1, k); }},
    {"write_smd", ".smd", [](Records& r, Path p, Sink& k) { return write_smd(r.body, p, 1, kSmdMultipleBones, k); }},
    {"write_gmdc_as_obj", ".obj",
     [](Records& r, Path p, Sink& k) { return write_gmdc_as_obj(r.body.gmdc, p, 100, k); }},
    {"writeShape", ".simpe", [](Records& r, Path p, Sink& k) { return writeShape(r.shape, p, k); }},
    {"writePackage", ".package",
     [](Records& r, Path p, Sink& k) {
         std::string error;
         return writePackage(r.package, {{0, "new resource"}}, p, error) || (k.error(error), false);
     }},
};

const std::string kOriginal = "the user's original file\r\n\x00\x01\x02 kept byte for byte";

// Every file under `folder` with its bytes, folders as "/".
std::map<std::string, std::string> tree(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[fs::relative(entry.path(), folder).generic_string()] =
            entry.is_directory() ? "/" : test::read_file(entry.path().string());
    return files;
}

#ifdef _WIN32
constexpr bool kWindows = true, kSuperuser = false;
#else
constexpr bool kWindows = false;
const bool kSuperuser = ::geteuid() == 0;
#endif

class SaveFailure : public ::testing::TestWithParam<SaveWriter> {};

} // namespace

TEST_P(SaveFailure, FailedSaveLeavesTheTargetAndTheRecordAsTheyWere)
{
    // The target stays byte-identical with no temporary file beside it, and the GMDC
    // writers' padding of the record is undone, so a retry writes what a first attempt would.
    test::TempDir dir;
    const std::string target = dir.file(std::string("out") + GetParam().extension);
    test::write_file(target, kOriginal);
    const auto before = tree(dir.path());
    RecordingSink sink;
    Records retried, fresh;
    testing_hooks::beforeChunkWrite = [](std::size_t) { return false; }; // as a full disk
    EXPECT_FALSE(GetParam().save(retried, target, sink));
    testing_hooks::beforeChunkWrite = nullptr;
    EXPECT_TRUE(sink.has(MessageKind::Error) && sink.contains(target)) << sink.last();
    EXPECT_EQ(tree(dir.path()), before);
    ASSERT_TRUE(GetParam().save(retried, target, sink)) << sink.last();
    ASSERT_TRUE(GetParam().save(fresh, dir.file("first"), sink)) << sink.last();
    EXPECT_EQ(test::read_file(target), test::read_file(dir.file("first")));
}

INSTANTIATE_TEST_SUITE_P(AllWriters, SaveFailure, ::testing::ValuesIn(kWriters),
                         [](const ::testing::TestParamInfo<SaveWriter>& writer) { return writer.param.name; });

TEST(AtomicSave, UnwritableOrReadOnlyTargetIsRefusedAndLeftAsItWas)
{
    // "locked": the target's first folder or the file itself made unwritable first (mode 444,
    // or the read-only attribute); "cut": the write fails after the first of three chunks.
    const struct {
        const char *target, *setUp, *says;
    } cases[] = {{"no such folder/out", "", "cannot create a file"},
                 {"plain/out", "", "cannot create a file"},
                 {"folder", "", "it is a folder"},
                 {"plain", "locked", "is write-protected"},
                 {"folder/out", "locked", "cannot create a file"},
                 {"plain", "cut", "writing failed"}};
    for (const auto& c : cases) {
        const std::string setUp = c.setUp, first = fs::path(c.target).begin()->string();
        if (setUp == "locked" && first == "folder" && (kSuperuser || kWindows))
            continue; // permission bits do not stop the superuser; Windows keeps folder rights in ACLs
        test::TempDir dir;
        test::write_file(dir.file("plain"), kOriginal);
        fs::create_directories(dir.file("folder"));
        if (setUp == "locked")
            fs::permissions(dir.file(first), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        if (setUp == "cut")
            testing_hooks::beforeChunkWrite = [](std::size_t written) { return written == 0; };
        const auto before = tree(dir.path());
        RecordingSink sink;
        EXPECT_FALSE(save_file(dir.file(c.target), std::string(3u << 20, 'x'), sink)) << c.target;
        testing_hooks::beforeChunkWrite = nullptr;
        std::error_code ignored;
        fs::permissions(dir.file(first), fs::perms::owner_write, fs::perm_options::add, ignored);
        EXPECT_TRUE(sink.contains(dir.file(c.target)) && sink.contains(c.says)) << c.target << ": " << sink.last();
        EXPECT_EQ(tree(dir.path()), before) << c.target;
    }
}

TEST(AtomicSave, ReplacedFileKeepsOwnerModeAndAttributes)
{
    // Its other name (hard link) keeps the old contents, which a warning says. A new file
    // gets the usual permissions, not the private ones of a temporary, even at the 255-byte
    // name limit, where the temporary's name must be cut without splitting the two-byte
    // letter that straddles the cut (narrow paths are not UTF-8 on Windows).
    test::TempDir dir;
    const std::string target = dir.file("out");
    test::write_file(target, kOriginal);
    std::error_code noLinks;
    fs::create_hard_link(target, dir.file("other name"), noLinks);
#ifdef _WIN32
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(fs::path(target).c_str(), kept));
#else
    // Only the superuser may give the file to someone else; anyone keeps the mode.
    const uid_t owner = kSuperuser ? 12345 : ::geteuid();
    const gid_t group = kSuperuser ? 23456 : ::getegid();
    ASSERT_TRUE(::chmod(target.c_str(), 0604) == 0 && ::chown(target.c_str(), owner, group) == 0);
#endif
    const std::string letter = kWindows ? "e" : "\xC3\xA9";
    const std::string name = std::string(247, 'n') + letter + std::string(255 - 247 - letter.size(), 'n');
    RecordingSink sink;
    ASSERT_TRUE(save_file(target, "new", sink) && save_file(dir.file(name), "new", sink)) << sink.last();
    auto expected = std::map<std::string, std::string>{{"out", "new"}, {name, "new"}};
    if (!noLinks)
        expected["other name"] = kOriginal;
    EXPECT_EQ(tree(dir.path()), expected);
    EXPECT_EQ(sink.has(MessageKind::Warning) && sink.contains("2 names (hard links)"), !noLinks) << sink.last();
#ifdef _WIN32
    EXPECT_EQ(GetFileAttributesW(fs::path(target).c_str()) & kept, kept);
#else
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    ASSERT_EQ(::stat(dir.file(name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
#endif
}

TEST(AtomicSave, LinksStayLinksAndSpecialFilesAreWrittenInPlace)
{
#ifdef _WIN32
    GTEST_SKIP() << "no FIFOs or /dev on Windows, and symbolic links need a privilege users rarely have";
#else
    // out -> chain (absolute) -> sub/real (relative to chain's folder), and a link to a file
    // not there yet: each save replaces the file at the end and leaves the links be.
    test::TempDir dir;
    fs::create_directory(dir.file("sub"));
    test::write_file(dir.file("sub/real"), kOriginal);
    fs::create_symlink("sub/real", dir.file("chain"));
    fs::create_symlink(dir.file("chain"), dir.file("out"));
    fs::create_symlink("sub/new", dir.file("dangling"));
    RecordingSink sink;
    ASSERT_TRUE(save_file(dir.file("out"), "new", sink) && save_file(dir.file("dangling"), "new", sink)) << sink.last();
    EXPECT_TRUE(fs::is_symlink(dir.file("out")) && fs::is_symlink(dir.file("chain")) &&
                fs::is_symlink(dir.file("dangling")));
    EXPECT_EQ(tree(dir.file("sub")), (std::map<std::string, std::string>{{"new", "new"}, {"real", "new"}}));

    // A pipe whose reading end is open, so the writer does not wait, receives the output.
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int in = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    EXPECT_TRUE(save_file(fifo, kOriginal, sink)) << sink.last();
    char received[256];
    const ssize_t n = ::read(in, received, sizeof received);
    ::close(in);
    EXPECT_EQ(std::string(received, static_cast<std::size_t>(std::max<ssize_t>(n, 0))), kOriginal);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(save_file("/dev/null", kOriginal, sink) && fs::is_character_file("/dev/null")) << sink.last();
    EXPECT_FALSE(save_file("/dev/full", kOriginal, sink)); // a device that fails says so
    EXPECT_TRUE(sink.contains("Cannot save \"/dev/full\"")) << sink.last();
#endif
}
