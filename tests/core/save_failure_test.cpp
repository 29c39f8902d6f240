// Every writer of the program, made to fail: a folder it may not write in, a folder that
// does not exist, a "folder" that is a regular file, a write-protected target, and a save
// cut off half-way as a full disk would. Each failure must leave an existing target
// byte-identical, leave no temporary file behind and tell the user what happened. Then the
// targets a plain rename would damage: links, pipes, devices, other owners, long names.
#include "core/message_sink.h"
#include "core/save_file.h"
#include "gmdc/gmdc_writer.h"
#include "merge/body_save.h"
#include "merge/merge_test_util.h"
#include "mesh/gmdc_to_obj.h"
#include "mesh/obj_writer.h"
#include "package/package.h"
#include "smd_export/smd_writer.h"
#include "support/gmdc_builders.h"
#include "support/package_builder.h"
#include "support/test_support.h"
#include "wizard/shape_writer.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace mw;

namespace {

// Saves one record, built once when the writer's `make` is called, to the given path.
using SaveFn = std::function<bool(const std::string& path, MessageSink& sink)>;

struct SaveWriter {
    std::string name;
    std::string extension;
    // Builds the record a writer saves; `large` asks for an output of several chunks.
    std::function<SaveFn(bool large)> make;
    // The largest file the writer can make fits in one chunk of the atomic save, so an
    // interruption can only come before its first byte.
    bool oneChunkOnly = false;
};

void PrintTo(const SaveWriter& writer, std::ostream* os)
{
    *os << writer.name;
}

std::vector<SaveWriter> all_save_writers()
{
    std::vector<SaveWriter> writers;
    writers.push_back({"save_file", ".bin", [](bool large) -> SaveFn {
                           const std::string bytes(large ? 3u << 20 : 1000u, 'x');
                           return [bytes](const std::string& path, MessageSink& sink) {
                               return save_file(path, bytes, sink);
                           };
                       }});
    writers.push_back(
        {"writeGmdc", ".5gd", [](bool large) -> SaveFn {
             auto gmdc =
                 std::make_shared<GmdcFile>(large ? test::make_body_mesh(32767, 20000) : test::make_body_mesh());
             return [gmdc](const std::string& path, MessageSink& sink) { return writeGmdc(*gmdc, path, sink); };
         }});
    writers.push_back({"writePackage", ".package", [](bool large) -> SaveFn {
                           auto package = std::make_shared<Package>();
                           std::string bytes(large ? 3u << 20 : 1000u, 'p');
                           std::uint64_t state = 1;
                           for (char& c : bytes) { // hardly compressible
                               state = state * 6364136223846793005u + 1442695040888963407u;
                               c = static_cast<char>(state >> 56);
                           }
                           std::string error;
                           parsePackage(test::build_package({{kTypeGmdc, 1, 2, 3, bytes, true}}, true), *package, error,
                                        "save.package");
                           return [package, bytes](const std::string& path, MessageSink& sink) {
                               std::string message;
                               std::string notice;
                               if (!writePackage(*package, {{0, bytes + "!"}}, path, message, &notice)) {
                                   sink.error(message);
                                   return false;
                               }
                               if (!notice.empty())
                                   sink.warning(notice);
                               return true;
                           };
                       }});
    writers.push_back({"writeShape", ".simpe",
                       [](bool) -> SaveFn {
                           auto shape = std::make_shared<ShpeFile>();
                           initShape(*shape);
                           setShapeParts(*shape, {"chair", "seat", "legs"});
                           return [shape](const std::string& path, MessageSink& sink) {
                               return writeShape(*shape, path, sink);
                           };
                       },
                       true});
    writers.push_back({"save_body_gmdc", ".5gd", [](bool large) -> SaveFn {
                           auto state = std::make_shared<State>();
                           state->gmdc = large ? test::make_body_mesh_30(32767, 20000) : test::make_body_mesh_30();
                           return [state](const std::string& path, MessageSink& sink) {
                               return save_body_gmdc(*state, path, sink);
                           };
                       }});
    writers.push_back({"write_obj", ".obj", [](bool large) -> SaveFn {
                           auto state = std::make_shared<State>();
                           state->models.models.push_back(large ? test::make_obj_model("big", 32767, 32765)
                                                                : test::make_obj_model("small", 12, 6));
                           return [state](const std::string& path, MessageSink& sink) {
                               return write_obj(*state, path, 1, sink);
                           };
                       }});
    writers.push_back({"write_smd", ".smd", [](bool large) -> SaveFn {
                           auto state = std::make_shared<State>();
                           state->gmdc = large ? test::make_body_mesh(32767, 20000) : test::make_body_mesh();
                           return [state](const std::string& path, MessageSink& sink) {
                               return write_smd(*state, path, 1, kSmdMultipleBones, sink);
                           };
                       }});
    writers.push_back({"write_gmdc_as_obj", ".obj", [](bool large) -> SaveFn {
                           auto gmdc = std::make_shared<GmdcFile>(large ? test::make_body_mesh(32767, 20000)
                                                                        : test::make_body_mesh());
                           return [gmdc](const std::string& path, MessageSink& sink) {
                               return write_gmdc_as_obj(*gmdc, path, 100, sink);
                           };
                       }});
    return writers;
}

const std::string kOriginal = "the user's original file\r\n\x00\x01\x02 kept byte for byte";

std::vector<std::string> folder_entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool is_superuser()
{
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

class SaveFailure : public ::testing::TestWithParam<SaveWriter> {
  protected:
    void TearDown() override { testing_hooks::beforeChunkWrite = nullptr; }

    // A failed save names the target and says something went wrong.
    void expect_failure_reported(const RecordingSink& sink, const std::string& target)
    {
        EXPECT_TRUE(sink.has(MessageKind::Error)) << GetParam().name;
        EXPECT_TRUE(sink.contains(target)) << GetParam().name << ": " << sink.last();
        EXPECT_FALSE(sink.contains("Save Complete")) << GetParam().name;
    }

    test::TempDir dir;
};

} // namespace

TEST_P(SaveFailure, SavesWhenNothingStandsInTheWay)
{
    // The control case: the same save succeeds and replaces the old contents, so the
    // failures below fail for the reason each one sets up.
    const std::string target = dir.file("out" + GetParam().extension);
    test::write_file(target, kOriginal);
    RecordingSink sink;
    ASSERT_TRUE(GetParam().make(false)(target, sink)) << sink.last();
    const std::string written = test::read_file(target);
    EXPECT_FALSE(written.empty());
    EXPECT_NE(written, kOriginal);
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"out" + GetParam().extension});
}

TEST_P(SaveFailure, UnwritableFolderLeavesTheTargetAsItWas)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows ignores a folder's read-only attribute; folder rights are ACLs";
#endif
    if (is_superuser())
        GTEST_SKIP() << "permission bits do not stop the superuser";
    const std::string folder = dir.file("locked");
    std::filesystem::create_directory(folder);
    const std::string target = folder + "/out" + GetParam().extension;
    test::write_file(target, kOriginal);
    namespace fs = std::filesystem;
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    RecordingSink sink;
    const bool saved = GetParam().make(false)(target, sink);
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);

    EXPECT_FALSE(saved);
    expect_failure_reported(sink, target);
    EXPECT_EQ(test::read_file(target), kOriginal);
    EXPECT_EQ(folder_entries(folder), std::vector<std::string>{"out" + GetParam().extension});
}

TEST_P(SaveFailure, MissingFolderIsReported)
{
    const std::string target = dir.file("no such folder/out" + GetParam().extension);
    RecordingSink sink;
    EXPECT_FALSE(GetParam().make(false)(target, sink));
    expect_failure_reported(sink, target);
    EXPECT_TRUE(folder_entries(dir.path()).empty());
}

TEST_P(SaveFailure, FolderThatIsAFileIsReported)
{
    // Fails for every user, the superuser included.
    const std::string notAFolder = dir.file("plain file");
    test::write_file(notAFolder, kOriginal);
    const std::string target = notAFolder + "/out" + GetParam().extension;
    RecordingSink sink;
    EXPECT_FALSE(GetParam().make(false)(target, sink));
    expect_failure_reported(sink, target);
    EXPECT_EQ(test::read_file(notAFolder), kOriginal);
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"plain file"});
}

TEST_P(SaveFailure, InterruptedSaveLeavesTheTargetAsItWas)
{
    const std::string target = dir.file("out" + GetParam().extension);
    test::write_file(target, kOriginal);
    // The writers' large outputs span several chunks: the write fails after the first
    // chunk reached the temporary file, as when the disk fills up half-way.
    std::size_t writtenWhenCut = 0;
    testing_hooks::beforeChunkWrite = [&](std::size_t written) {
        writtenWhenCut = written;
        return written == 0 && !GetParam().oneChunkOnly;
    };
    RecordingSink sink;
    EXPECT_FALSE(GetParam().make(true)(target, sink));
    testing_hooks::beforeChunkWrite = nullptr;

    if (!GetParam().oneChunkOnly) {
        EXPECT_GT(writtenWhenCut, 0u) << GetParam().name << " wrote less than one chunk";
    }
    expect_failure_reported(sink, target);
    EXPECT_EQ(test::read_file(target), kOriginal);
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"out" + GetParam().extension});
}

TEST_P(SaveFailure, FailedSaveLeavesNoTraceInTheRecord)
{
    // The GMDC writers pad the record before writing and must undo that when the save
    // fails: a retry then writes what a first attempt would have.
    const std::string ext = GetParam().extension;
    RecordingSink sink;
    const SaveFn retried = GetParam().make(false);
    testing_hooks::beforeChunkWrite = [](std::size_t) { return false; };
    EXPECT_FALSE(retried(dir.file("failed" + ext), sink));
    testing_hooks::beforeChunkWrite = nullptr;
    ASSERT_TRUE(retried(dir.file("retried" + ext), sink)) << sink.last();
    ASSERT_TRUE(GetParam().make(false)(dir.file("first" + ext), sink)) << sink.last();
    EXPECT_EQ(test::read_file(dir.file("retried" + ext)), test::read_file(dir.file("first" + ext)));
}

TEST_P(SaveFailure, ReadOnlyTargetIsRefused)
{
    // Mode 444 (on Windows the read-only attribute) in a folder the user may write: refused
    // as an editor would, even for the superuser, who could otherwise rename over it.
    namespace fs = std::filesystem;
    const std::string name = "out" + GetParam().extension;
    const std::string target = dir.file(name);
    test::write_file(target, kOriginal);
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    RecordingSink sink;
    const bool saved = GetParam().make(false)(target, sink);
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);

    EXPECT_FALSE(saved);
    expect_failure_reported(sink, target);
    EXPECT_TRUE(sink.contains("is write-protected")) << sink.last();
    EXPECT_EQ(test::read_file(target), kOriginal);
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{name});
}

TEST_P(SaveFailure, SymbolicLinkStaysALink)
{
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows that users rarely have";
#endif
    // out -> chain (absolute) -> sub/real (relative to chain's folder), and a link to a file
    // not there yet: each save replaces the file at the end and leaves the links be.
    namespace fs = std::filesystem;
    const std::string ext = GetParam().extension;
    RecordingSink sink;
    ASSERT_TRUE(GetParam().make(false)(dir.file("plain" + ext), sink)) << sink.last();
    const std::string expected = test::read_file(dir.file("plain" + ext));
    fs::create_directory(dir.file("sub"));
    test::write_file(dir.file("sub/real"), kOriginal);
    fs::create_symlink("sub/real", dir.file("chain"));
    fs::create_symlink(dir.file("chain"), dir.file("out" + ext));
    fs::create_symlink("sub/new", dir.file("dangling" + ext));

    for (const auto& [link, file] : {std::pair{"out" + ext, "sub/real"}, std::pair{"dangling" + ext, "sub/new"}}) {
        ASSERT_TRUE(GetParam().make(false)(dir.file(link), sink)) << sink.last();
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
        EXPECT_EQ(test::read_file(dir.file(file)), expected) << link;
    }
    EXPECT_EQ(folder_entries(dir.file("sub")), (std::vector<std::string>{"new", "real"}));
    EXPECT_TRUE(fs::is_symlink(dir.file("chain")));
}

TEST_P(SaveFailure, SpecialFileIsWrittenInPlace)
{
#ifdef _WIN32
    GTEST_SKIP() << "no FIFOs or /dev on Windows";
#else
    const std::string ext = GetParam().extension;
    RecordingSink sink;
    ASSERT_TRUE(GetParam().make(false)(dir.file("plain" + ext), sink)) << sink.last();
    const std::string expected = test::read_file(dir.file("plain" + ext));

    // Our reading end is open, so the writer does not wait; the pipe holds the small output.
    const std::string fifo = dir.file("pipe" + ext);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int in = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(in, 0);
    ::fcntl(in, F_SETPIPE_SZ, 1 << 20);
    EXPECT_TRUE(GetParam().make(false)(fifo, sink)) << sink.last();
    std::string received;
    char buffer[4096];
    for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) > 0;)
        received.append(buffer, static_cast<std::size_t>(n));
    ::close(in);
    EXPECT_EQ(received, expected);

    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(GetParam().make(false)("/dev/null", sink)) << sink.last();
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(folder_entries(dir.path()), (std::vector<std::string>{"pipe" + ext, "plain" + ext}));
#endif
}

TEST_P(SaveFailure, ReplacedFileKeepsOwnerGroupAndMode)
{
#ifdef _WIN32
    GTEST_SKIP() << "owner and mode bits are POSIX; ReplaceFileW keeps Windows' attributes";
#else
    // Only the superuser may give the file to someone else; anyone keeps the mode.
    const std::string target = dir.file("out" + GetParam().extension);
    test::write_file(target, kOriginal);
    ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    const uid_t owner = is_superuser() ? 12345 : ::geteuid();
    const gid_t group = is_superuser() ? 23456 : ::getegid();
    ASSERT_EQ(::chown(target.c_str(), owner, group), 0);
    RecordingSink sink;
    ASSERT_TRUE(GetParam().make(false)(target, sink)) << sink.last();
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
#endif
}

TEST_P(SaveFailure, HardLinkGetsAFileOfItsOwnAndAWarning)
{
    namespace fs = std::filesystem;
    const std::string target = dir.file("out" + GetParam().extension);
    test::write_file(target, kOriginal);
    std::error_code ec;
    fs::create_hard_link(target, dir.file("other name"), ec);
    if (ec)
        GTEST_SKIP() << "this file system has no hard links: " << ec.message();
    RecordingSink sink;
    ASSERT_TRUE(GetParam().make(false)(target, sink)) << sink.last();
    EXPECT_NE(test::read_file(target), kOriginal);
    EXPECT_EQ(test::read_file(dir.file("other name")), kOriginal);
    EXPECT_TRUE(sink.has(MessageKind::Warning));
    EXPECT_TRUE(sink.contains("hard links")) << sink.last();
}

TEST_P(SaveFailure, NameAtTheFileNameLimitSaves)
{
    // 255 bytes, the usual limit: the temporary name must be shorter than the target's,
    // and its cut must not split the two-byte letter that straddles it.
    const std::string ext = GetParam().extension;
#ifdef _WIN32
    const std::string letter = "e"; // narrow paths are not UTF-8 there
#else
    const std::string letter = "\xC3\xA9";
#endif
    // A long extension (".package") is cut at the limit rather than the letter moved.
    std::string name = std::string(247, 'n') + letter;
    name += std::string(255 - std::min<std::size_t>(255, name.size() + ext.size()), 'n') + ext;
    name.resize(255);
    RecordingSink sink;
    ASSERT_TRUE(GetParam().make(false)(dir.file(name), sink)) << sink.last();
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{name});
}

INSTANTIATE_TEST_SUITE_P(AllWriters, SaveFailure, ::testing::ValuesIn(all_save_writers()),
                         [](const ::testing::TestParamInfo<SaveWriter>& writer) { return writer.param.name; });
