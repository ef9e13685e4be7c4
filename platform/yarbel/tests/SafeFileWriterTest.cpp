#include "common/exception/FileOpenException.h"
#include "common/exception/RuntimeException.h"
#include "common/io/SafeFileWriter.h"
#include "common/test/FileSizeLimit.h"
#include "common/test/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>

using common::io::SafeFileWriter;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A folder of its own per test, holding one earlier file "saved.bin".
fs::path folderWithEarlierFile(const std::string& name, const std::string& earlier) {
    const fs::path dir = common::test::scratchDir() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "saved.bin", std::ios::binary) << earlier;
    return dir;
}

SafeFileWriter::Body writes(const std::string& bytes) {
    return [bytes](std::ostream& out) { out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())); };
}

} // namespace

TEST(SafeFileWriterTest, FailedSaveKeepsTheEarlierFileAndLeavesNoTemporaryFile) {
    const std::string earlier = "last week's file";
    const fs::path dir = folderWithEarlierFile("failed", earlier);
    const std::string target = (dir / "saved.bin").string();

    // A write that fails part way, as on a full disk.
    {
        common::test::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        try {
            SafeFileWriter::writeBinary(target, writes(std::string(64 * 1024, 'x')));
            FAIL() << "a write past the file-size limit was reported as success";
        } catch (const common::exception::RuntimeException& e) {
            EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
        }
    }
    // A body that gives up after writing.
    EXPECT_THROW(SafeFileWriter::writeAscii(target,
                                            [](std::ostream& out) {
                                                out << "half";
                                                throw std::runtime_error("no more data");
                                            }),
                 std::runtime_error);

    EXPECT_EQ(readAll(target), earlier);
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"saved.bin"});
}

TEST(SafeFileWriterTest, SuccessfulSaveReplacesTheFileAndKeepsItsPermissions) {
    const fs::path dir = folderWithEarlierFile("replace", "a longer earlier content");
    const fs::path target = dir / "saved.bin";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    SafeFileWriter::writeBinary(target.string(), writes("new"));
    EXPECT_EQ(readAll(target), "new");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"saved.bin"});

    SafeFileWriter::writeAscii((dir / "fresh.txt").string(), writes("made"));
    EXPECT_EQ(readAll(dir / "fresh.txt"), "made");
}

TEST(SafeFileWriterTest, SaveThroughASymbolicLinkReplacesTheFileItLeadsTo) {
    const fs::path realDir = folderWithEarlierFile("link_target", "old");
    const fs::path linkDir = common::test::scratchDir() / "link_place";
    fs::remove_all(linkDir);
    fs::create_directories(linkDir);
    // A relative link, resolved against the folder that holds it.
    fs::create_symlink(fs::path("..") / "link_target" / "saved.bin", linkDir / "link.bin");

    std::set<std::string> besideTheFile;
    std::set<std::string> besideTheLink;
    SafeFileWriter::writeBinary((linkDir / "link.bin").string(), [&](std::ostream& out) {
        besideTheFile = namesIn(realDir);
        besideTheLink = namesIn(linkDir);
        out << "new";
    });

    EXPECT_TRUE(fs::is_symlink(linkDir / "link.bin"));
    EXPECT_EQ(readAll(realDir / "saved.bin"), "new");
    EXPECT_EQ(besideTheFile.size(), 2u) << "the temporary file lies beside the file the link leads to";
    EXPECT_EQ(besideTheLink, std::set<std::string>{"link.bin"});
    EXPECT_EQ(namesIn(realDir), std::set<std::string>{"saved.bin"});
}

// A target that already holds the bytes is left as it is, down to its inode and times;
// any other, or a missing one, is written as writeBinary() writes it, and a failing body
// leaves the target as it was.
TEST(SafeFileWriterTest, WriteIfChangedLeavesAFileOfTheSameBytesAsItIs) {
    const std::string earlier(100000, 'e');
    const fs::path dir = folderWithEarlierFile("if_changed", earlier);
    const fs::path saved = dir / "saved.bin";
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(saved, old);
    const auto inode = [](const fs::path& path) {
        struct stat status {};
        EXPECT_EQ(::stat(path.c_str(), &status), 0);
        return status.st_ino;
    };
    const ino_t before = inode(saved);

    SafeFileWriter::writeBinaryIfChanged(saved.string(), writes(earlier));
    SafeFileWriter::writeBinaryIfChanged(saved.string(), earlier);
    EXPECT_EQ(inode(saved), before);
    EXPECT_EQ(fs::last_write_time(saved), old);

    // Through a link, to the file it leads to.
    fs::create_symlink("saved.bin", dir / "link.bin");
    SafeFileWriter::writeBinaryIfChanged((dir / "link.bin").string(), earlier);
    EXPECT_EQ(inode(saved), before);

    std::string sameSize = earlier;
    sameSize[77777] = 'x';
    for (const std::string& bytes : {sameSize, earlier.substr(1), earlier + "e", std::string()}) {
        SafeFileWriter::writeBinaryIfChanged((dir / "link.bin").string(), writes(bytes));
        EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
        EXPECT_EQ(readAll(saved), bytes);
    }
    SafeFileWriter::writeBinaryIfChanged((dir / "new.bin").string(), writes("fresh"));
    EXPECT_EQ(readAll(dir / "new.bin"), "fresh");

    EXPECT_THROW(SafeFileWriter::writeBinaryIfChanged(saved.string(),
                                                      [](std::ostream& out) {
                                                          out << "half";
                                                          throw std::runtime_error("body");
                                                      }),
                 std::runtime_error);
    EXPECT_EQ(readAll(saved), "");
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"saved.bin", "link.bin", "new.bin"}));
}

TEST(SafeFileWriterTest, DeviceIsWrittenInPlaceAndBadTargetsAreRefused) {
    SafeFileWriter::writeBinary("/dev/null", writes("discarded"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    if (fs::exists("/dev/full")) {
        EXPECT_THROW(SafeFileWriter::writeBinary("/dev/full", writes(std::string(1 << 16, 'x'))),
                     common::exception::RuntimeException);
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
    const fs::path dir = common::test::scratchDir() / "refused";
    fs::create_directories(dir);
    EXPECT_THROW(SafeFileWriter::writeBinary(dir.string(), writes("x")), common::exception::FileOpenException);
    EXPECT_THROW(SafeFileWriter::writeBinary((dir / "no" / "such" / "f").string(), writes("x")),
                 common::exception::FileOpenException);
    EXPECT_THROW(SafeFileWriter::writeBinary("", writes("x")), common::exception::FileOpenException);
    EXPECT_TRUE(fs::is_empty(dir));
}

namespace {

// A folder of its own holding the earlier "a.csv" and "b.csv"; "c.csv" is not there yet.
struct EarlierSet {
    explicit EarlierSet(const std::string& name) : dir(common::test::scratchDir() / name) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "a.csv", std::ios::binary) << "earlier a";
        std::ofstream(dir / "b.csv", std::ios::binary) << "earlier b";
    }

    std::string path(const char* name) const { return (dir / name).string(); }

    std::vector<SafeFileWriter::Member> members(const SafeFileWriter::Body& third) const {
        return {{path("a.csv"), writes("new a")}, {path("b.csv"), writes("new b")},
                {path("c.csv"), third}};
    }

    // Both earlier files with their bytes, nothing else beside them but `also`.
    void expectUntouched(const std::set<std::string>& also = {}) const {
        EXPECT_EQ(readAll(dir / "a.csv"), "earlier a");
        EXPECT_EQ(readAll(dir / "b.csv"), "earlier b");
        std::set<std::string> names{"a.csv", "b.csv"};
        names.insert(also.begin(), also.end());
        EXPECT_EQ(namesIn(dir), names);
    }

    fs::path dir;
};

// The message names the member that failed, as the caller gave it.
template <class Exception>
void expectFailureNaming(const std::vector<SafeFileWriter::Member>& members, const std::string& path) {
    try {
        SafeFileWriter::writeBinarySet(members);
        ADD_FAILURE() << "a failed set was reported as written";
    } catch (const Exception& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.substr(message.size() - std::min(message.size(), path.size())), path) << message;
    }
}

} // namespace

TEST(SafeFileWriterTest, SetIsReplacedWholeAndKeepsPermissions) {
    const EarlierSet set("set_whole");
    fs::permissions(set.dir / "b.csv", fs::perms::owner_read | fs::perms::owner_write);
    SafeFileWriter::writeBinarySet(set.members(writes("new c")));
    EXPECT_EQ(readAll(set.dir / "a.csv"), "new a");
    EXPECT_EQ(readAll(set.dir / "b.csv"), "new b");
    EXPECT_EQ(readAll(set.dir / "c.csv"), "new c");
    EXPECT_EQ(fs::status(set.dir / "b.csv").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(namesIn(set.dir), (std::set<std::string>{"a.csv", "b.csv", "c.csv"}));
}

// The last member failing while it is written (a full disk), giving up, or failing when it is
// put in place (a folder made at its name meanwhile) leaves the set as it was.
TEST(SafeFileWriterTest, SetWhoseLastMemberFailsLeavesEveryFileAsItWas) {
    {
        const EarlierSet set("set_full_disk");
        common::test::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        expectFailureNaming<common::exception::RuntimeException>(
            set.members(writes(std::string(64 * 1024, 'c'))), set.path("c.csv"));
        set.expectUntouched();
    }
    {
        const EarlierSet set("set_body_throws");
        EXPECT_THROW(SafeFileWriter::writeBinarySet(set.members([](std::ostream& out) {
                         out << "half";
                         throw std::runtime_error("no more data");
                     })),
                     std::runtime_error);
        set.expectUntouched();
    }
    {
        const EarlierSet set("set_rename_fails");
        const fs::path blocked = set.dir / "c.csv";
        expectFailureNaming<common::exception::RuntimeException>(set.members([&](std::ostream& out) {
                                                                     fs::create_directory(blocked);
                                                                     out << "new c";
                                                                 }),
                                                                 set.path("c.csv"));
        set.expectUntouched({"c.csv"});
        EXPECT_TRUE(fs::is_directory(blocked));
    }
    {
        const EarlierSet set("set_folder_in_the_way");
        fs::create_directory(set.dir / "c.csv");
        expectFailureNaming<common::exception::FileOpenException>(set.members(writes("new c")),
                                                                  set.path("c.csv"));
        set.expectUntouched({"c.csv"});
    }
}

namespace {

// Files finished by a writer of their own in a folder "work" inside the set's folder.
std::vector<SafeFileWriter::Finished> finishedSet(const EarlierSet& set, const std::string& third) {
    const fs::path work = set.dir / "work";
    fs::create_directories(work);
    std::vector<SafeFileWriter::Finished> files;
    for (const char* name : {"a.csv", "b.csv", "c.csv"}) {
        const std::string bytes = name == std::string("c.csv") ? third : "new " + std::string(1, name[0]);
        std::ofstream(work / name, std::ios::binary) << bytes;
        files.push_back({(work / name).string(), set.path(name)});
    }
    return files;
}

template <class Exception>
void expectPlacingFailsNaming(const std::vector<SafeFileWriter::Finished>& files, const std::string& path) {
    try {
        SafeFileWriter::placeSet(files);
        ADD_FAILURE() << "a failed set was reported as put in place";
    } catch (const Exception& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.substr(message.size() - std::min(message.size(), path.size())), path) << message;
    }
}

} // namespace

TEST(SafeFileWriterTest, FinishedSetIsPutInPlaceWholeAndTheFilesAreGone) {
    const EarlierSet set("placed_whole");
    fs::permissions(set.dir / "b.csv", fs::perms::owner_read | fs::perms::owner_write);
    SafeFileWriter::placeSet(finishedSet(set, "new c"));
    EXPECT_EQ(readAll(set.dir / "a.csv"), "new a");
    EXPECT_EQ(readAll(set.dir / "b.csv"), "new b");
    EXPECT_EQ(readAll(set.dir / "c.csv"), "new c");
    EXPECT_EQ(fs::status(set.dir / "b.csv").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(namesIn(set.dir), (std::set<std::string>{"a.csv", "b.csv", "c.csv", "work"}));
    EXPECT_TRUE(fs::is_empty(set.dir / "work"));

    // From another file system the files are copied, and a device is written in place.
    const fs::path elsewhere = "/dev/shm";
    if (fs::is_directory(elsewhere)) {
        const fs::path file = elsewhere / ("movarin_placed_" + std::to_string(::getpid()));
        std::ofstream(file, std::ios::binary) << "from afar";
        std::ofstream(set.dir / "null.bin", std::ios::binary) << "to nowhere";
        SafeFileWriter::placeSet({{file.string(), set.path("a.csv")},
                                  {(set.dir / "null.bin").string(), "/dev/null"}});
        EXPECT_EQ(readAll(set.dir / "a.csv"), "from afar");
        EXPECT_FALSE(fs::exists(file));
        EXPECT_FALSE(fs::exists(set.dir / "null.bin"));
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
}

// A third member that cannot be put in place (a folder in its way, a finished file missing)
// leaves the earlier set as it was and no finished or temporary file behind; a finished file
// that is its own target is refused and kept.
TEST(SafeFileWriterTest, FinishedSetWhoseThirdMemberFailsLeavesEveryFileAsItWas) {
    {
        const EarlierSet set("placed_folder_in_the_way");
        fs::create_directory(set.dir / "c.csv");
        expectPlacingFailsNaming<common::exception::FileOpenException>(finishedSet(set, "new c"), set.path("c.csv"));
        set.expectUntouched({"c.csv", "work"});
        EXPECT_TRUE(fs::is_empty(set.dir / "work"));
    }
    {
        const EarlierSet set("placed_file_missing");
        std::vector<SafeFileWriter::Finished> files = finishedSet(set, "new c");
        fs::remove(files[2].file);
        expectPlacingFailsNaming<common::exception::RuntimeException>(files, set.path("c.csv"));
        set.expectUntouched({"work"});
        EXPECT_TRUE(fs::is_empty(set.dir / "work"));
    }
    {
        const EarlierSet set("placed_over_itself");
        std::vector<SafeFileWriter::Finished> files = finishedSet(set, "new c");
        files[1].file = set.path("b.csv");
        expectPlacingFailsNaming<common::exception::RuntimeException>(files, set.path("b.csv"));
        set.expectUntouched({"work"});
    }
}
