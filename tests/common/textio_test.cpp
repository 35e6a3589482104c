#include "common/textio.hpp"

#include <gtest/gtest.h>
#include <stdio_ext.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"

namespace {

using test_support::raised_name;
using test_support::read_file;
using test_support::scratch_folder;
using test_support::write_file;

// The report of a failed use of a file at `line` of textio, whose places
// are its own.
std::string use_error_at(int line) {
    return test_support::report(common::use_error_name, {"textio", line});
}

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

// The block a stdio stream takes for the file `name` at its first write,
// which writes nothing: by their contract, the block of the writers.
std::size_t stdio_block(const std::string& name) {
    std::FILE* stream = std::fopen(name.c_str(), "a");
    if (stream == nullptr || std::fputc('x', stream) == EOF) {
        throw std::runtime_error("no stdio stream on " + name);
    }
    const std::size_t block = __fbufsize(stream);
    __fpurge(stream);
    std::fclose(stream);
    return block;
}

// Text goes out in blocks: pieces of every size, some larger than a block,
// arrive whole and in order, also in a second file of the same writer.
TEST(OutFile, TextOfManyBlocksArrivesWhole) {
    scratch_folder folder;
    const std::size_t block = stdio_block((folder.path() / "stdio").string());
    common::out_file file;
    for (const char* name : {"first.txt", "second.txt"}) {
        const auto path = folder.path() / name;
        file.create(path.string());
        std::string expected;
        for (std::size_t i = 0; i < 3000; ++i) {
            const std::string piece(i % 97 == 0 ? block + i : i % 50, static_cast<char>('a' + i % 26));
            file.put(piece);
            file.put(static_cast<char>('0' + i % 10));
            file.put_line(name);
            expected += piece + static_cast<char>('0' + i % 10) + name + "\n";
        }
        file.close();
        EXPECT_EQ(read_file(path), expected) << name;
    }
}

// One call to a writer: a character, a piece, a line, a line end, a flush.
struct write_call {
    enum kind { character, piece, line, line_end, flush } kind;
    std::string text;
};

// generated_writes makes `count` calls from `seed`: characters, line ends,
// short pieces and empty ones, pieces of about `block` and beyond it,
// flushes, and with `huge` pieces of more than a MiB. Every character tells
// its place, so a lost, doubled or moved piece shows.
std::vector<write_call> generated_writes(unsigned seed, int count, std::size_t block, bool huge) {
    std::mt19937 random(seed);
    std::uint32_t next = 0;
    const auto piece = [&](std::size_t size) {
        std::string made(size, ' ');
        for (char& c : made) {
            c = static_cast<char>('!' + next++ % 90);
        }
        return made;
    };
    const std::size_t near_block[] = {block - 1, block, block + 1, block / 2, 1, 2 * block, 3 * block + 7};
    std::vector<write_call> calls;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t kind = random() % 1000;
        if (kind < 350) {
            calls.push_back({write_call::character, random() % 8 == 0 ? "\n" : piece(1)});
        } else if (kind < 750) {
            std::string p = piece(random() % 40);
            if (!p.empty() && random() % 4 == 0) {
                p.back() = '\n';
            }
            calls.push_back({write_call::piece, p});
        } else if (kind < 900) {
            calls.push_back({write_call::line, piece(random() % 20)});
        } else if (kind < 950) {
            calls.push_back({write_call::line_end, ""});
        } else if (kind < 970) {
            calls.push_back({write_call::piece, ""});
        } else if (kind < 980) {
            calls.push_back({write_call::flush, ""});
        } else if (kind < 999 || !huge) {
            calls.push_back({write_call::piece, piece(near_block[random() % std::size(near_block)])});
        } else {
            calls.push_back({write_call::piece, piece((std::size_t{1} << 20) + random() % block)});
        }
    }
    return calls;
}

void make(common::text_writer& writer, const write_call& call) {
    switch (call.kind) {
        case write_call::character:
            writer.put(call.text[0]);
            break;
        case write_call::piece:
            writer.put(call.text);
            break;
        case write_call::line:
            writer.put_line(call.text);
            break;
        case write_call::line_end:
            writer.new_line();
            break;
        case write_call::flush:
            writer.flush();
            break;
    }
}

// The same call on a stdio stream; false when it fails.
bool make(std::FILE* stream, const write_call& call) {
    const auto piece = [stream](std::string_view text) {
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    };
    switch (call.kind) {
        case write_call::character:
            return std::fputc(call.text[0], stream) != EOF;
        case write_call::piece:
            return piece(call.text);
        case write_call::line:
            return piece(call.text) && std::fputc('\n', stream) != EOF;
        case write_call::line_end:
            return std::fputc('\n', stream) != EOF;
        case write_call::flush:
            return std::fflush(stream) == 0;
    }
    return false;
}

std::string text_of(const std::vector<write_call>& calls) {
    std::string text;
    for (const write_call& call : calls) {
        text += call.kind == write_call::line_end ? "\n" : call.text;
        if (call.kind == write_call::line) {
            text += '\n';
        }
    }
    return text;
}

// What a file holds after its close: the text, an unfinished line ended.
std::string closed(std::string text) {
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    return text;
}

// The writer's own buffer against the plain concatenation of the same
// writes, into a file and onto standard output.
TEST(TextWriter, AgreesWithThePlainTextOnGeneratedWrites) {
    scratch_folder folder;
    const auto path = folder.path() / "out.txt";
    const std::vector<write_call> calls =
        generated_writes(20240611, 20'000, stdio_block((folder.path() / "stdio").string()), true);
    const std::string expected = text_of(calls);
    {
        common::out_file file;
        file.create(path.string());
        for (const write_call& call : calls) {
            make(file, call);
        }
        file.close();
        EXPECT_TRUE(read_file(path) == closed(expected));
    }
    {
        const auto screen = test_support::on_screen([&] {
            for (const write_call& call : calls) {
                make(common::standard_output(), call);
            }
        });
        EXPECT_EQ(screen.error, "");
        EXPECT_EQ(screen.text.size(), expected.size());
        EXPECT_TRUE(screen.text == expected);
    }
}

// Whatever calls came before, the close ends an unfinished last line and
// adds nothing after a finished one: many short runs of generated writes,
// across the ends of blocks and flushes, each closed.
TEST(OutFile, CloseEndsTheLineWhateverCameBefore) {
    scratch_folder folder;
    const std::size_t block = stdio_block((folder.path() / "stdio").string());
    common::out_file file;
    for (unsigned seed = 1; seed <= 500; ++seed) {
        const std::vector<write_call> calls =
            generated_writes(seed, static_cast<int>(seed % 60), block, false);
        const auto path =
            folder.path() / std::to_string(seed);  // a new file: emptying one waits for the disk
        file.create(path.string());
        for (const write_call& call : calls) {
            make(file, call);
        }
        file.close();
        ASSERT_TRUE(read_file(path) == closed(text_of(calls))) << "seed " << seed;
    }
}

// A writer writes when a stdio stream on the same file writes, and what it
// writes: after every call the file of each holds as much. On /dev/full the
// first call that fails is the same. The close of the writer ends its
// unfinished line.
TEST(TextWriter, WritesWhereAStdioStreamWrites) {
    scratch_folder folder;
    const auto writer_path = folder.path() / "writer.txt";
    const auto stream_path = folder.path() / "stream.txt";
    const std::vector<write_call> calls =
        generated_writes(20250101, 5'000, stdio_block((folder.path() / "stdio").string()), true);
    const auto size_of = [](const std::filesystem::path& path) { return std::filesystem::file_size(path); };
    common::out_file file;
    file.create(writer_path.string());
    std::FILE* stream = std::fopen(stream_path.c_str(), "w");
    ASSERT_NE(stream, nullptr);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        make(file, calls[i]);
        ASSERT_TRUE(make(stream, calls[i]));
        ASSERT_EQ(size_of(writer_path), size_of(stream_path)) << "after call " << i;
    }
    ASSERT_EQ(std::fclose(stream), 0);
    file.close();
    EXPECT_TRUE(read_file(writer_path) == closed(read_file(stream_path)));

    file.create("/dev/full");
    stream = std::fopen("/dev/full", "w");
    ASSERT_NE(stream, nullptr);
    std::size_t stream_failed = 0;
    while (stream_failed < calls.size() && make(stream, calls[stream_failed])) {
        ++stream_failed;
    }
    std::size_t writer_failed = 0;
    while (writer_failed < calls.size() &&
           test_support::raised([&] { make(file, calls[writer_failed]); }).empty()) {
        ++writer_failed;
    }
    EXPECT_LT(stream_failed, calls.size());
    EXPECT_EQ(writer_failed, stream_failed);
    std::fclose(stream);
    (void)test_support::raised([&] { file.close(); });
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
    EXPECT_EQ(test_support::raised([&] { file.close(); }), use_error_at(167));
    file.create(path.string());
    file.put("ab\ncd");
    file.flush_before_close();
    EXPECT_EQ(read_file(path), "ab\ncd");
    file.put('e');
    EXPECT_EQ(test_support::raised([&] { file.close(); }), "");
    EXPECT_EQ(read_file(path), "ab\ncde\n");
}

// Each kind of call names its own place when the write it makes fails; the
// close that ends the file names the place of a failed close (close_failed
// below) whether its line end, its own write or the write of
// flush_before_close found no room. The text of a
// failed write is lost with it: a close after it fails only when it still
// has a line to end; a file that the writes closed is not open.
TEST(OutFile, EveryFailedWriteIsNamedByItsCall) {
    const std::size_t block = stdio_block("/dev/full");
    struct failing_write {
        std::string title;
        std::function<void(common::out_file&)> writes;
        std::string report;
        std::string close_after;  // what a close after the writes raises
    };
    const std::string close_failed = use_error_at(167);
    const std::string not_open = use_error_at(150);
    const std::vector<failing_write> writes = {
        {"short text at the close",
         [](common::out_file& f) {
             f.put("short");
             f.close();
         },
         close_failed, not_open},
        {"line end of the close into a full buffer",
         [block](common::out_file& f) {
             f.put('x');
             f.put(std::string(block - 1, 'x'));
             f.close();
         },
         close_failed, not_open},
        {"flush",
         [](common::out_file& f) {
             f.put_line("short");
             f.flush();
         },
         use_error_at(91), ""},
        {"text written out before the close",
         [](common::out_file& f) {
             f.put_line("short");
             f.flush_before_close();
         },
         "", close_failed},
        {"nothing to write out before the close", [](common::out_file& f) { f.flush_before_close(); }, "",
         ""},
        {"piece beyond the buffer", [block](common::out_file& f) { f.put(std::string(block + 1, 'x')); },
         use_error_at(65), ""},
        {"first piece of a whole buffer", [block](common::out_file& f) { f.put(std::string(block, 'x')); },
         use_error_at(65), ""},
        {"piece that fills the buffer",
         [block](common::out_file& f) {
             f.put('x');
             f.put(std::string(block - 1, 'x'));
             f.put(std::string(block, 'x'));
         },
         use_error_at(65), close_failed},
        {"character after a full buffer",
         [block](common::out_file& f) {
             f.put('x');
             f.put(std::string(block - 1, 'x'));
             f.put('y');
         },
         use_error_at(75), close_failed},
        {"long run of 1024-byte pieces",
         [block](common::out_file& f) {
             for (std::size_t i = 0; i <= block; ++i) {
                 f.put(std::string(1024, 'x'));
             }
         },
         use_error_at(65), close_failed},
        {"long run of single characters",
         [block](common::out_file& f) {
             for (std::size_t i = 0; i <= block; ++i) {
                 f.put('x');
             }
         },
         use_error_at(75), close_failed},
    };
    for (const failing_write& w : writes) {
        common::out_file full;
        full.create("/dev/full");
        EXPECT_EQ(test_support::raised([&] { w.writes(full); }), w.report) << w.title;
        EXPECT_EQ(test_support::raised([&] { full.close(); }), w.close_after) << w.title;
        EXPECT_EQ(test_support::raised([&] { full.close(); }), not_open) << w.title;
    }
}

TEST(OutFile, CreateFailuresAreNamed) {
    scratch_folder folder;
    EXPECT_EQ(raised_name([&] {
                  common::out_file file;
                  file.create((folder.path() / "missing" / "x.txt").string());
              }),
              common::name_error_name);
    EXPECT_EQ(raised_name([&] {
                  common::out_file file;
                  file.create(folder.path().string());
              }),
              common::use_error_name);
    EXPECT_EQ(raised_name([] {
                  common::out_file file;
                  file.create(std::string("a\0b", 3));
              }),
              common::name_error_name);
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
    EXPECT_EQ(raised_name([&] { file.get_line(); }), common::end_error_name);
}

TEST(InFile, OpenFailuresAreNamed) {
    scratch_folder folder;
    const auto open = [](const std::string& name) {
        return raised_name([&] {
            common::in_file file;
            file.open(name);
        });
    };
    EXPECT_EQ(open(""), common::name_error_name);
    EXPECT_EQ(open((folder.path() / "absent").string()), common::name_error_name);
    EXPECT_EQ(open(std::string("a\0b", 3)), common::name_error_name);
    EXPECT_EQ(open(folder.path().string()), common::use_error_name);
}

TEST(StandardInput, GetLineReadsWholeLines) {
    const std::string long_line(100'000, 'x');
    const std::string input = std::string("one\n\nNUL\0kept\r\n", 15) + long_line + "\nlast without line end";
    // The place a prompt at the end of input reports.
    const std::string end_of_input = test_support::report(common::end_error_name, {"textio", 283});
    test_support::with_input(input, [&] {
        EXPECT_EQ(common::get_line(), "one");
        EXPECT_EQ(common::get_line(), "");
        EXPECT_EQ(common::get_line(), std::string("NUL\0kept\r", 9));
        EXPECT_EQ(common::get_line(), long_line);
        EXPECT_EQ(common::get_line(), "last without line end");
        EXPECT_EQ(test_support::raised([] { common::get_line(); }), end_of_input);
    });
}

}  // namespace
