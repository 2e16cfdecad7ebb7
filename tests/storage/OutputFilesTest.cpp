#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>

#include "storage/OutputFiles.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// Every file in a folder with its contents.
std::map<std::string, std::string> contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto bytes = entry.is_regular_file() ? ReadWholeFile(entry.path().string()) : std::vector<uint8_t>{};
        files[entry.path().filename().string()] = std::string(bytes.begin(), bytes.end());
    }
    return files;
}

std::string failureOf(const std::function<void()>& write, std::string* file) {
    try {
        write();
    } catch (const EOutputFailure& failure) {
        if (file) *file = failure.File;
        return failure.what();
    }
    return "written";
}

TEST(OutputFiles, FilesReplacedTogetherAreAllNewOrAllAsTheyWereWhicheverMoveFails) {
    test::TempDir dir;
    const std::map<std::string, std::string> before = {{"a", "old a"}, {"b", "old b"}};
    for (const auto& [name, text] : before) WriteOutputFile(dir.file(name), bytesOf(text));
    // Two old files to move aside and three new ones to move in: five moves.
    for (int failing = 1; failing <= 6; ++failing) {
        std::vector<TPendingOutput> pending;
        for (const char* name : {"a", "b", "c"})
            pending.push_back({WriteOutputBeside(dir.file(name), bytesOf(std::string("new ") + name)), dir.file(name)});
        int moves = 0;
        const auto rename = [&](const char* from, const char* to) {
            if (++moves != failing) return std::rename(from, to);
            errno = EPERM;
            return -1;
        };
        std::string file;
        const std::string failure = failureOf([&] { ReplaceOutputsTogether(pending, rename); }, &file);
        if (failing == 6) {
            EXPECT_EQ(failure, "written");
            EXPECT_EQ(contents(dir.path()), (std::map<std::string, std::string>{{"a", "new a"}, {"b", "new b"}, {"c", "new c"}}));
            break;
        }
        EXPECT_EQ(failure, "Operation not permitted") << failing;
        EXPECT_EQ(file, dir.file(failing == 1 || failing == 3 ? "a" : failing == 2 || failing == 4 ? "b" : "c")) << failing;
        EXPECT_EQ(contents(dir.path()), before) << "move " << failing << " failed: the old files, and nothing beside them";
    }
}

TEST(OutputFiles, UsersFilesNamedLikeTheTemporaryOnesAreLeftAlone) {
    test::TempDir dir;
    const std::map<std::string, std::string> users = {
        {"a.tmp~", "mine"}, {"a.old~", "mine too"}, {"a.1.old~", "and this"}, {"b.tmp~", "b's"}};
    for (const auto& [name, text] : users) WriteOutputFile(dir.file(name), bytesOf(text));
    WriteOutputFile(dir.file("a"), bytesOf("old a"));
    ReplaceOutputsTogether({{WriteOutputBeside(dir.file("a"), bytesOf("new a")), dir.file("a")}});
    WriteFileAtomically(dir.file("b"), "new b", 5);
    std::map<std::string, std::string> after = users;
    after["a"] = "new a";
    after["b"] = "new b";
    EXPECT_EQ(contents(dir.path()), after);
}

}  // namespace
}  // namespace grottix
