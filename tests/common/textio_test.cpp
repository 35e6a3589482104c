#include "common/textio.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>

#include "common/errors.hpp"
#include "support/program_run.hpp"
#include "support/raised.hpp"

namespace {

using test_support::raised_name;
using test_support::read_file;
using test_support::scratch_folder;
using test_support::write_file;

TEST(OutFile, ClosingEndsAnUnfinishedLine) {
    scratch_folder folder;
    const auto path = folder.path() / "out.txt";
    common::out_file file;
    file.create(path.string());
    file.put("a");
    file.put_line("b");
    file.put("   ");
    file.close();
    EXPECT_EQ(read_file(path), "ab\n   \n");
}

TEST(OutFile, ClosingAfterALineEndAddsNothing) {
    scratch_folder folder;
    const auto path = folder.path() / "out.txt";
    common::out_file file;
    file.create(path.string());
    file.put_line("x");
    file.close();
    EXPECT_EQ(read_file(path), "x\n");
}

TEST(OutFile, EmptyNameLeavesNoFileBehind) {
    scratch_folder folder;
    ASSERT_EQ(::setenv("TMPDIR", folder.path().c_str(), 1), 0);
    common::out_file file;
    file.create("");
    file.put_line("temporary");
    file.close();
    ::unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// Text goes out in blocks: pieces of every size, some larger than a block,
// arrive whole and in order, also in a second file of the same writer.
TEST(OutFile, TextOfManyBlocksArrivesWhole) {
    scratch_folder folder;
    common::out_file file;
    for (const char* name : {"first.txt", "second.txt"}) {
        const auto path = folder.path() / name;
        file.create(path.string());
        std::string expected;
        for (std::size_t i = 0; i < 3000; ++i) {
            const std::string piece(i % 97 == 0 ? common::output_buffer_size + i : i % 50,
                                    static_cast<char>('a' + i % 26));
            file.put(piece);
            file.put(static_cast<char>('0' + i % 10));
            file.put_line(name);
            expected += piece + static_cast<char>('0' + i % 10) + name + "\n";
        }
        file.close();
        EXPECT_EQ(read_file(path), expected) << name;
    }
}

// filling writes to /dev/full with `write` until a write fails, and returns
// what it raised. The file is closed before (its close fails as well, and
// is left unreported) so that no error is left for finalisation.
std::string filling(const std::function<void(common::out_file&)>& write) {
    common::out_file full;
    full.create("/dev/full");
    const std::string error = test_support::raised([&] {
        for (std::size_t i = 0; i <= common::output_buffer_size; ++i) {
            write(full);
        }
    });
    EXPECT_NE(test_support::raised([&] { full.close(); }), "");
    return error;
}

// A write that fails, once the block is full, is named where it fails: at
// the piece (textio:65) or the character (textio:75) that found no room.
TEST(OutFile, WriteThatFailsIsNamedAtThePiece) {
    EXPECT_EQ(filling([](common::out_file& f) { f.put(std::string(1024, 'x')); }), "USE_ERROR : textio:65");
    EXPECT_EQ(filling([](common::out_file& f) { f.put('x'); }), "USE_ERROR : textio:75");
}

TEST(OutFile, CreateFailuresAreNamed) {
    scratch_folder folder;
    EXPECT_EQ(raised_name([&] {
                  common::out_file file;
                  file.create((folder.path() / "missing" / "x.txt").string());
              }),
              "NAME_ERROR");
    EXPECT_EQ(raised_name([&] {
                  common::out_file file;
                  file.create(folder.path().string());
              }),
              "USE_ERROR");
    EXPECT_EQ(raised_name([] {
                  common::out_file file;
                  file.create(std::string("a\0b", 3));
              }),
              "NAME_ERROR");
}

TEST(InFile, ReadsLinesAndTheLastUnfinishedOne) {
    scratch_folder folder;
    const auto path = folder.path() / "in.txt";
    write_file(path, "one\n\nthree");
    common::in_file file;
    file.open(path.string());
    EXPECT_EQ(file.get_line(), "one");
    EXPECT_EQ(file.get_line(), "");
    EXPECT_FALSE(file.end_of_file());
    EXPECT_EQ(file.get_line(), "three");
    EXPECT_TRUE(file.end_of_file());
    EXPECT_EQ(raised_name([&] { file.get_line(); }), "END_ERROR");
}

TEST(InFile, OpenFailuresAreNamed) {
    scratch_folder folder;
    const auto open = [](const std::string& name) {
        return raised_name([&] {
            common::in_file file;
            file.open(name);
        });
    };
    EXPECT_EQ(open(""), "NAME_ERROR");
    EXPECT_EQ(open((folder.path() / "absent").string()), "NAME_ERROR");
    EXPECT_EQ(open(std::string("a\0b", 3)), "NAME_ERROR");
    EXPECT_EQ(open(folder.path().string()), "USE_ERROR");
}

TEST(StandardInput, GetLineReadsWholeLines) {
    scratch_folder folder;
    const auto path = folder.path() / "input.txt";
    const std::string long_line(100'000, 'x');
    write_file(path, std::string("one\n\nNUL\0kept\r\n", 15) + long_line + "\nlast without line end");
    ASSERT_NE(std::freopen(path.c_str(), "r", stdin), nullptr);
    EXPECT_EQ(common::get_line(), "one");
    EXPECT_EQ(common::get_line(), "");
    EXPECT_EQ(common::get_line(), std::string("NUL\0kept\r", 9));
    EXPECT_EQ(common::get_line(), long_line);
    EXPECT_EQ(common::get_line(), "last without line end");
    // The place a prompt at the end of input reports.
    EXPECT_EQ(test_support::raised([] { common::get_line(); }), "END_ERROR : textio:283");
    ASSERT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
}

}  // namespace
