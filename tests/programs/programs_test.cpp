// The ten programs run whole, as a user runs them: standard input in;
// standard output, standard error, the exit status and every file written
// compared byte for byte with the files of this folder.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "frontend/comtypes.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/while_programs.hpp"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test_support::expected_output;
using test_support::read_file;

struct file_content {
    std::string name;
    std::string expected_file;  // in this folder; empty: the file is empty
};

struct program_run {
    std::string title;  // the name of the test, as words
    std::string program;
    std::string input;
    std::string expected_out;              // file in this folder
    std::vector<file_content> given = {};  // the working folder before the run; "name/" a folder, made first
    std::vector<file_content> written = {};
    int status = 0;
    // The unhandled-error report as "NAME : module:line", or empty when
    // standard error stays empty.
    std::string report = {};
};

void PrintTo(const program_run& run, std::ostream* os) {
    *os << run.title;
}

std::vector<program_run> program_runs() {
    std::vector<program_run> runs = {
        {"tamsel", "tamsel", "", "tamsel.out"},    {"orvane", "orvane", "", "orvane.out"},
        {"pirrel", "pirrel", "", "pirrel.out"},    {"dunmor", "dunmor", "", "dunmor.out"},
        {"ruskel", "ruskel", "", "ruskel.out"},    {"lintaro", "lintaro", "", "lintaro.out"},
        {"zorbel", "zorbel", "", "zorbel.out"},    {"halvik", "halvik", "", "halvik.out"},
        {"quenmar", "quenmar", "", "quenmar.out"},
    };

    // velkor's dialogues.
    const file_content trace_2{"t.txt", "trace_assignment_2.txt"};
    const file_content tree_2{"b.txt", "tree_file_assignment_2.txt"};
    const std::vector<program_run> dialogues = {
        {"worked example",
         "velkor",
         "c\nt.txt\nb.txt\nx := 2\nn\n",
         "velkor_worked_example.out",
         {},
         {trace_2, tree_2}},
        {"program file with derived names beside it",
         "velkor",
         "d\nprog.txt\nn\n",
         "velkor_file_path.out",
         {{"prog.txt", "program_with_empty_lines.txt"}},
         {{"prog_Trace.txt", "trace_assignment_2.txt"}, {"prog_Baum.txt", "tree_file_assignment_2.txt"}}},
        {"no file, empty path, NUL in the path, then a file without dot and last line end",
         "velkor",
         "d\nnichda.txt\nd\n\nd\nprog\0.txt\nd\nprog\nn\n"s,
         "velkor_no_file_then_good.out",
         {{"prog", "program_without_line_end.txt"}},
         {{"prog_Trace", "trace_assignment_2.txt"}, {"prog_Baum", "tree_file_assignment_2.txt"}}},
        {"program file of empty lines only: no file is derived",
         "velkor",
         "d\nleer.txt\nn\n",
         "velkor_file_of_empty_lines.out",
         {{"leer.txt", "program_of_empty_lines.txt"}}},
        {"invalid menu answers", "velkor", "\nC \n c\ncd\nConsole\ne\nc\n\n\nskip\nn\n",
         "velkor_invalid_menu.out"},
        {"restart with j and J, empty names", "velkor", "c\n\n\nskip\nj\nc\n\n\nskip\nJ\nc\n\n\nskip\nn\n",
         "velkor_restart.out"},
        // The parser writes no message for an empty program: the earlier
        // program's message may not show through.
        {"restart after a parse failure, then an empty program", "velkor",
         "c\nt.txt\nb.txt\nskip skip\nj\nc\nt.txt\nb.txt\n\nn\n", "velkor_restart_after_parse_failure.out"},
        {"empty program", "velkor", "c\nt.txt\nb.txt\n\nn\n", "velkor_empty_program.out"},
        {"token left over", "velkor", "c\nt.txt\nb.txt\nskip skip\nn\n", "velkor_token_left_over.out"},
        {"tokens ran out", "velkor", "c\nt.txt\nb.txt\nwhile x < 1 do skip\nn\n",
         "velkor_tokens_ran_out.out"},
        {"failed step",
         "velkor",
         "c\nt.txt\nb.txt\nx := y\nn\n",
         "velkor_failed_step.out",
         {},
         {{"t.txt", "trace_assignment_of_undefined.txt"}}},
        {"number beyond 32 bits",
         "velkor",
         "c\nt.txt\nb.txt\nx := 2147483648\nn\n",
         "velkor_number_beyond_32_bits.out",
         {},
         {{"t.txt", ""}},
         1,
         "CHECK_ERROR : baumwandler_package:33"},
        {"failed step with empty names", "velkor", "c\n\n\nx := y\nn\n", "velkor_failed_step.out"},
        {"number beyond 32 bits with empty names",
         "velkor",
         "c\n\n\nx := 2147483648\nn\n",
         "velkor_number_beyond_32_bits.out",
         {},
         {},
         1,
         "CHECK_ERROR : baumwandler_package:33"},
        // A loop that never ends stops at the trace's step limit, in the
        // file run: no screen trace, and the temporary file goes too.
        {"endless loop with empty names",
         "velkor",
         "c\n\n\nwhile 0 < 1 do skip od\nn\n",
         "velkor_endless_loop.out",
         {},
         {},
         1,
         "STORAGE_ERROR : baumwandler_package:40"},
        // The last '.' of the whole path takes the suffix, here the folder's:
        // the trace file would go into a folder that does not exist.
        {"dot in the folder name",
         "velkor",
         "d\nordner.alt/prog\nn\n",
         "velkor_dot_in_folder_name.out",
         {{"ordner.alt/", ""}, {"ordner.alt/prog", "program_without_line_end.txt"}},
         {},
         1,
         "NAME_ERROR : textio:134"},
        {"character outside the tokens",
         "velkor",
         "c\nt.txt\nb.txt\nx := 1 # 2\nn\n",
         "velkor_character_outside_tokens.out",
         {},
         {},
         1,
         "SCANNERPAK.EINGABEFEHLER : scannerpak:434"},
        {"character not printable",
         "velkor",
         "c\nt.txt\nb.txt\nx := \x01\nn\n",
         "velkor_character_not_printable.out",
         {},
         {},
         1,
         "SCANNERPAK.EINGABEFEHLER : scannerpak:413"},
        // Ten times deeper than the parser's nesting limit.
        {"nesting beyond the parser's reach",
         "velkor",
         "c\nt.txt\nb.txt\n" + test_support::nested_loops(10 * comtypes::nesting_limit) + "\nn\n",
         "velkor_nesting_too_deep.out",
         {},
         {},
         1,
         "STORAGE_ERROR : comtypes:233"},
        {"same name for both files",
         "velkor",
         "c\nf.txt\nf.txt\nx := 2\nn\n",
         "velkor_worked_example.out",
         {},
         {{"f.txt", "tree_file_assignment_2.txt"}}},
        {"end of input at the menu",
         "velkor",
         "",
         "velkor_end_at_menu.out",
         {},
         {},
         1,
         "END_ERROR : textio:283"},
        {"end of input at the trace name",
         "velkor",
         "c\n",
         "velkor_end_at_trace_name.out",
         {},
         {},
         1,
         "END_ERROR : textio:283"},
        {"end of input at the tree name",
         "velkor",
         "c\nt.txt\n",
         "velkor_end_at_tree_name.out",
         {},
         {},
         1,
         "END_ERROR : textio:283"},
        {"end of input at the program",
         "velkor",
         "c\nt.txt\nb.txt\n",
         "velkor_end_at_program.out",
         {},
         {},
         1,
         "END_ERROR : textio:283"},
        {"end of input at the path",
         "velkor",
         "d\n",
         "velkor_end_at_path.out",
         {},
         {},
         1,
         "END_ERROR : textio:283"},
        {"end of input at the question",
         "velkor",
         "c\n\n\nskip\n",
         "velkor_end_at_question.out",
         {},
         {},
         1,
         "END_ERROR : textio:283"},
        {"program path names a folder",
         "velkor",
         "d\nsub\n",
         "velkor_path_is_folder.out",
         {{"sub/", ""}},
         {},
         1,
         "USE_ERROR : textio:225"},
        {"trace file in a missing folder",
         "velkor",
         "c\nnirgends/t.txt\nb.txt\nx := 2\nn\n",
         "velkor_trace_file_not_creatable.out",
         {},
         {},
         1,
         "NAME_ERROR : textio:134"},
        // A name of 300 characters is longer than a file system takes
        // (255), in the working folder, which exists.
        {"trace-file name too long for the file system",
         "velkor",
         "c\n" + std::string(300, 'a') + "\nb.txt\nx := 2\nn\n",
         "velkor_trace_file_not_creatable.out",
         {},
         {},
         1,
         "NAME_ERROR : textio:134"},
        {"NUL in the tree-file name",
         "velkor",
         "c\nt.txt\nb\0.txt\nx := 2\nn\n"s,
         "velkor_tree_name_with_nul.out",
         {},
         {trace_2},
         1,
         "NAME_ERROR : textio:115"},
    };
    for (program_run run : dialogues) {
        run.title = "velkor " + run.title;
        runs.push_back(run);
    }
    // Every answer but J and j ends the program.
    for (const std::string ending : {"n", "N", "", "ja", " j"}) {
        runs.push_back({"velkor ending with '" + ending + "'", "velkor", "c\n\n\nskip\n" + ending + "\n",
                        "velkor_ending.out"});
    }
    return runs;
}

// What standard error holds: the report, after an empty line, or nothing.
std::string expected_error(const std::string& report) {
    return report.empty() ? "" : "\nraised " + report + "\n";
}

class WholeProgram : public testing::TestWithParam<program_run> {};

// Each run has a working folder and a TMPDIR of its own, so that a file or a
// temporary file left behind would show.
TEST_P(WholeProgram, RunsAsExpected) {
    const program_run& c = GetParam();
    const test_support::scratch_folder work;
    const test_support::scratch_folder temp;
    std::set<std::string> expected_names;
    for (const file_content& g : c.given) {
        if (g.name.back() == '/') {
            fs::create_directory(work.path() / g.name.substr(0, g.name.size() - 1));
        } else {
            test_support::write_file(work.path() / g.name, expected_output(g.expected_file));
        }
        expected_names.insert(fs::path(g.name).begin()->string());  // what the working folder shows
    }
    const auto result = test_support::run_program(c.program, c.input, work.path(), temp.path());
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, expected_output(c.expected_out));
    EXPECT_EQ(result.err, expected_error(c.report));
    for (const file_content& w : c.written) {
        expected_names.insert(w.name);
        const fs::path written = work.path() / w.name;
        ASSERT_TRUE(fs::exists(written)) << w.name;
        EXPECT_EQ(read_file(written), expected_output(w.expected_file)) << w.name;
    }
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(work.path())) {
        present.insert(entry.path().filename().string());
    }
    EXPECT_EQ(present, expected_names);
    EXPECT_TRUE(fs::is_empty(temp.path())) << "a temporary file remains";
    for (const file_content& g : c.given) {  // the program file is never changed
        if (g.name.back() != '/') {
            EXPECT_EQ(read_file(work.path() / g.name), expected_output(g.expected_file));
        }
    }
}

// The title as a test name: its letters and digits, every other run of
// characters one underscore.
std::string test_name(const testing::TestParamInfo<program_run>& info) {
    std::string name;
    for (const char c : info.param.title) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            name += c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, WholeProgram, testing::ValuesIn(program_runs()), test_name);

}  // namespace
