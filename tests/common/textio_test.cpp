#include "common/textio.hpp"

#include <gtest/gtest.h>
#include <stdio_ext.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "support/capture.hpp"
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
            const std::string piece(i % 97 == 0 ? file.block_size() + i : i % 50,
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

// generated_writes makes a long run of writes from a fixed seed and hands
// each to `writer`: characters, line ends, short pieces and empty ones,
// pieces of about the buffer's size and far beyond it, flushes. Every
// character of the text tells its place, so a lost, doubled or moved piece
// shows. It returns the text as one string, and counts in `line_starts_wrong`
// the writes after which the writer's at_line_start() disagreed with it.
std::string generated_writes(common::text_writer& writer, int& line_starts_wrong) {
    std::mt19937 random(20240611);
    std::string text;
    std::uint32_t next = 0;
    const auto piece = [&](std::size_t size) {
        std::string made(size, ' ');
        for (char& c : made) {
            c = static_cast<char>('!' + next++ % 90);
        }
        return made;
    };
    const std::size_t block = writer.block_size();
    const std::size_t near_block[] = {block - 1, block, block + 1, block / 2, 1, 2 * block, 3 * block + 7};
    line_starts_wrong = 0;
    for (int i = 0; i < 20'000; ++i) {
        const std::uint32_t kind = random() % 1000;
        if (kind < 350) {
            const char c = random() % 8 == 0 ? '\n' : piece(1)[0];
            writer.put(c);
            text += c;
        } else if (kind < 750) {
            std::string p = piece(random() % 40);
            if (!p.empty() && random() % 4 == 0) {
                p.back() = '\n';
            }
            writer.put(p);
            text += p;
        } else if (kind < 900) {
            const std::string p = piece(random() % 20);
            writer.put_line(p);
            text += p + '\n';
        } else if (kind < 950) {
            writer.new_line();
            text += '\n';
        } else if (kind < 970) {
            writer.put(std::string_view());
        } else if (kind < 980) {
            writer.flush();
        } else if (kind < 999) {
            const std::string p = piece(near_block[random() % std::size(near_block)]);
            writer.put(p);
            text += p;
        } else {
            const std::string p = piece((std::size_t{1} << 20) + random() % block);
            writer.put(p);
            text += p;
        }
        if (writer.at_line_start() != (text.empty() || text.back() == '\n')) {
            ++line_starts_wrong;
        }
    }
    return text;
}

// The writer's own buffer against the plain concatenation of the same
// writes, into a file and onto standard output.
TEST(TextWriter, AgreesWithThePlainTextOnGeneratedWrites) {
    {
        scratch_folder folder;
        const auto path = folder.path() / "out.txt";
        common::out_file file;
        file.create(path.string());
        int line_starts_wrong = 0;
        const std::string expected = generated_writes(file, line_starts_wrong);
        EXPECT_EQ(line_starts_wrong, 0);
        file.close();
        const std::string written = read_file(path);
        EXPECT_EQ(written.size(), expected.size() + (expected.back() == '\n' ? 0 : 1));
        EXPECT_TRUE(written.starts_with(expected));
    }
    {
        std::string expected;
        int line_starts_wrong = 0;
        const auto screen = test_support::on_screen(
            [&] { expected = generated_writes(common::standard_output(), line_starts_wrong); });
        EXPECT_EQ(screen.error, "");
        EXPECT_EQ(line_starts_wrong, 0);
        EXPECT_EQ(screen.text.size(), expected.size());
        EXPECT_TRUE(screen.text == expected);
    }
}

// A writer writes in the blocks that a stdio stream takes for the same
// file, so that a write that fails is noticed after the same text.
TEST(TextWriter, WritesInTheBlocksOfAStdioStream) {
    scratch_folder folder;
    const std::string names[] = {(folder.path() / "out.txt").string(), "/dev/full", "/dev/null"};
    for (const std::string& name : names) {
        common::out_file file;
        file.create(name);
        std::FILE* stream = std::fopen(name.c_str(), "w");
        ASSERT_NE(stream, nullptr) << name;
        std::fputc('x', stream);  // a stream takes its buffer at its first write
        EXPECT_EQ(file.block_size(), __fbufsize(stream)) << name;
        (void)std::fclose(stream);  // /dev/full refuses the character
        file.close();
    }
}

// A piece that the buffer cannot take fills it; the whole buffers' worth
// after that go straight out and the tail waits in the buffer: the file
// holds whole buffers before the close.
TEST(TextWriter, PieceBeyondTheBufferGoesOutInWholeBuffers) {
    scratch_folder folder;
    const auto path = folder.path() / "out.txt";
    common::out_file file;
    file.create(path.string());
    const std::size_t block = file.block_size();
    const std::string head = "0123456789";
    std::string big(3 * block + 5, ' ');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>('a' + i % 23);
    }
    file.put(head);
    file.put(big);
    EXPECT_TRUE(read_file(path) == (head + big).substr(0, 3 * block));
    EXPECT_FALSE(file.at_line_start());
    file.put('x');
    file.close();
    EXPECT_TRUE(read_file(path) == head + big + "x\n");
}

// flush_before_close puts what the file took on disk and leaves it open,
// its line unfinished. A failure of its write is the close's to report,
// once: the file, created anew, closes without error.
TEST(OutFile, FlushBeforeCloseLeavesTheFailureToTheClose) {
    scratch_folder folder;
    const auto path = folder.path() / "out.txt";
    common::out_file file;
    file.create("/dev/full");
    file.put_line("lost");
    file.flush_before_close();
    EXPECT_EQ(test_support::raised([&] { file.close(); }), "USE_ERROR : textio:167");
    file.create(path.string());
    file.put("ab\ncd");
    file.flush_before_close();
    EXPECT_EQ(read_file(path), "ab\ncd");
    file.put('e');
    EXPECT_EQ(test_support::raised([&] { file.close(); }), "");
    EXPECT_EQ(read_file(path), "ab\ncde\n");
}

// Each kind of call names its own place when the write it makes fails; the
// close that ends the file is textio:167 whether its line end or its own
// write found no room. The text of a failed write is lost with it: a close
// after it fails only when it still has a line to end.
TEST(OutFile, EveryFailedWriteIsNamedByItsCall) {
    struct failing_write {
        std::string title;
        std::function<void(common::out_file&)> writes;
        std::string report;
        std::string close_after;  // what a close after the failure raises
    };
    const std::string close_failed = "USE_ERROR : textio:167";
    const std::vector<failing_write> writes = {
        {"short text at the close",
         [](common::out_file& f) {
             f.put("short");
             f.close();
         },
         close_failed, ""},
        {"line end of the close into a full buffer",
         [](common::out_file& f) {
             f.put('x');
             f.put(std::string(f.block_size() - 1, 'x'));
             f.close();
         },
         close_failed, ""},
        {"flush",
         [](common::out_file& f) {
             f.put_line("short");
             f.flush();
         },
         "USE_ERROR : textio:91", ""},
        {"piece beyond the buffer", [](common::out_file& f) { f.put(std::string(f.block_size() + 1, 'x')); },
         "USE_ERROR : textio:65", ""},
        {"first piece of a whole buffer",
         [](common::out_file& f) { f.put(std::string(f.block_size(), 'x')); }, "USE_ERROR : textio:65", ""},
        {"piece that fills the buffer",
         [](common::out_file& f) {
             f.put('x');
             f.put(std::string(f.block_size() - 1, 'x'));
             f.put(std::string(f.block_size(), 'x'));
         },
         "USE_ERROR : textio:65", close_failed},
        {"character after a full buffer",
         [](common::out_file& f) {
             f.put('x');
             f.put(std::string(f.block_size() - 1, 'x'));
             f.put('y');
         },
         "USE_ERROR : textio:75", close_failed},
        {"long run of 1024-byte pieces",
         [](common::out_file& f) {
             for (std::size_t i = 0; i <= f.block_size(); ++i) {
                 f.put(std::string(1024, 'x'));
             }
         },
         "USE_ERROR : textio:65", close_failed},
        {"long run of single characters",
         [](common::out_file& f) {
             for (std::size_t i = 0; i <= f.block_size(); ++i) {
                 f.put('x');
             }
         },
         "USE_ERROR : textio:75", close_failed},
    };
    for (const failing_write& w : writes) {
        common::out_file full;
        full.create("/dev/full");
        EXPECT_EQ(test_support::raised([&] { w.writes(full); }), w.report) << w.title;
        if (full.is_open()) {
            EXPECT_EQ(test_support::raised([&] { full.close(); }), w.close_after) << w.title;
        }
        EXPECT_FALSE(full.is_open()) << w.title;
    }
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
    const std::string long_line(100'000, 'x');
    test_support::with_input(
        std::string("one\n\nNUL\0kept\r\n", 15) + long_line + "\nlast without line end", [&] {
            EXPECT_EQ(common::get_line(), "one");
            EXPECT_EQ(common::get_line(), "");
            EXPECT_EQ(common::get_line(), std::string("NUL\0kept\r", 9));
            EXPECT_EQ(common::get_line(), long_line);
            EXPECT_EQ(common::get_line(), "last without line end");
            // The place a prompt at the end of input reports.
            EXPECT_EQ(test_support::raised([] { common::get_line(); }), "END_ERROR : textio:283");
        });
}

}  // namespace
