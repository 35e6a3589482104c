// Whole dialogues of velkor: standard input in; standard output, standard
// error, the exit status and every file written compared byte for byte.
#include "driver/velkor.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "nested_program.hpp"
#include "support/program_run.hpp"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test_support::data_path;
using test_support::read_file;

struct file_content {
    std::string name;
    std::string expected_file;  // under tests/driver; empty: the file is empty
};

struct dialogue {
    std::string title;
    std::string input;
    std::string expected_out;              // file under tests/driver
    std::vector<file_content> given = {};  // the working folder before the run; "name/" a folder, made first
    std::vector<file_content> written = {};
    int status = 0;
    // The unhandled-error report as "NAME : module:" (any line follows), as
    // "NAME : module:line", or empty when standard error stays empty.
    std::string report = {};
};

std::string d(std::string_view name) {
    return "driver/" + std::string(name);
}

std::vector<dialogue> dialogues() {
    const file_content trace_2{"t.txt", d("trace_assignment_2.txt")};
    const file_content tree_2{"b.txt", d("tree_file_assignment_2.txt")};
    std::vector<dialogue> cases = {
        {"worked example",
         "c\nt.txt\nb.txt\nx := 2\nn\n",
         d("dialogue_worked_example.out"),
         {},
         {trace_2, tree_2}},
        {"program file with derived names beside it",
         "d\nprog.txt\nn\n",
         d("dialogue_file_path.out"),
         {{"prog.txt", d("program_with_empty_lines.txt")}},
         {{"prog_Trace.txt", d("trace_assignment_2.txt")},
          {"prog_Baum.txt", d("tree_file_assignment_2.txt")}}},
        {"no file, empty path, NUL in the path, then a file without '.' and last line end",
         "d\nnichda.txt\nd\n\nd\nprog\0.txt\nd\nprog\nn\n"s,
         d("dialogue_no_file_then_good.out"),
         {{"prog", d("program_without_line_end.txt")}},
         {{"prog_Trace", d("trace_assignment_2.txt")}, {"prog_Baum", d("tree_file_assignment_2.txt")}}},
        {"program file of empty lines only: no file is derived",
         "d\nleer.txt\nn\n",
         d("dialogue_file_of_empty_lines.out"),
         {{"leer.txt", d("program_of_empty_lines.txt")}}},
        {"invalid menu answers", "\nC \n c\ncd\nConsole\ne\nc\n\n\nskip\nn\n",
         d("dialogue_invalid_menu.out")},
        {"restart with j and J, empty names", "c\n\n\nskip\nj\nc\n\n\nskip\nJ\nc\n\n\nskip\nn\n",
         d("dialogue_restart.out")},
        // The parser writes no message for an empty program: the earlier
        // program's message may not show through.
        {"restart after a parse failure, then an empty program",
         "c\nt.txt\nb.txt\nskip skip\nj\nc\nt.txt\nb.txt\n\nn\n",
         d("dialogue_restart_after_parse_failure.out")},
        {"empty program", "c\nt.txt\nb.txt\n\nn\n", d("dialogue_empty_program.out")},
        {"token left over", "c\nt.txt\nb.txt\nskip skip\nn\n", d("dialogue_token_left_over.out")},
        {"tokens ran out", "c\nt.txt\nb.txt\nwhile x < 1 do skip\nn\n", d("dialogue_tokens_ran_out.out")},
        {"failed step",
         "c\nt.txt\nb.txt\nx := y\nn\n",
         d("dialogue_failed_step.out"),
         {},
         {{"t.txt", d("trace_assignment_of_undefined.txt")}}},
        {"number beyond 32 bits",
         "c\nt.txt\nb.txt\nx := 2147483648\nn\n",
         d("dialogue_number_beyond_32_bits.out"),
         {},
         {{"t.txt", ""}},
         1,
         "CHECK_ERROR : baumwandler_package:"},
        {"failed step with empty names", "c\n\n\nx := y\nn\n", d("dialogue_failed_step.out")},
        {"number beyond 32 bits with empty names",
         "c\n\n\nx := 2147483648\nn\n",
         d("dialogue_number_beyond_32_bits.out"),
         {},
         {},
         1,
         "CHECK_ERROR : baumwandler_package:"},
        // A loop that never ends stops at the trace's step limit, in the
        // file run: no screen trace, and the temporary file goes too.
        {"endless loop with empty names",
         "c\n\n\nwhile 0 < 1 do skip od\nn\n",
         d("dialogue_endless_loop.out"),
         {},
         {},
         1,
         "STORAGE_ERROR : baumwandler_package:"},
        // The last '.' of the whole path takes the suffix, here the folder's:
        // the trace file would go into a folder that does not exist.
        {"'.' in the folder name",
         "d\nordner.alt/prog\nn\n",
         d("dialogue_dot_in_folder_name.out"),
         {{"ordner.alt/", ""}, {"ordner.alt/prog", d("program_without_line_end.txt")}},
         {},
         1,
         "NAME_ERROR : textio:"},
        {"character outside the tokens",
         "c\nt.txt\nb.txt\nx := 1 # 2\nn\n",
         d("dialogue_character_outside_tokens.out"),
         {},
         {},
         1,
         "SCANNERPAK.EINGABEFEHLER : scannerpak:434"},
        {"character not printable",
         "c\nt.txt\nb.txt\nx := \x01\nn\n",
         d("dialogue_character_not_printable.out"),
         {},
         {},
         1,
         "SCANNERPAK.EINGABEFEHLER : scannerpak:413"},
        {"same name for both files",
         "c\nf.txt\nf.txt\nx := 2\nn\n",
         d("dialogue_worked_example.out"),
         {},
         {{"f.txt", d("tree_file_assignment_2.txt")}}},
        {"end of input at the menu", "", d("dialogue_end_at_menu.out"), {}, {}, 1, "END_ERROR : textio:"},
        {"end of input at the trace name",
         "c\n",
         d("dialogue_end_at_trace_name.out"),
         {},
         {},
         1,
         "END_ERROR : textio:"},
        {"end of input at the tree name",
         "c\nt.txt\n",
         d("dialogue_end_at_tree_name.out"),
         {},
         {},
         1,
         "END_ERROR : textio:"},
        {"end of input at the program",
         "c\nt.txt\nb.txt\n",
         d("dialogue_end_at_program.out"),
         {},
         {},
         1,
         "END_ERROR : textio:"},
        {"end of input at the path", "d\n", d("dialogue_end_at_path.out"), {}, {}, 1, "END_ERROR : textio:"},
        {"end of input at the question",
         "c\n\n\nskip\n",
         d("dialogue_end_at_question.out"),
         {},
         {},
         1,
         "END_ERROR : textio:"},
        {"program path names a folder",
         "d\nsub\n",
         d("dialogue_path_is_folder.out"),
         {{"sub/", ""}},
         {},
         1,
         "USE_ERROR : textio:"},
        {"trace file in a missing folder",
         "c\nnirgends/t.txt\nb.txt\nx := 2\nn\n",
         d("dialogue_trace_file_not_creatable.out"),
         {},
         {},
         1,
         "NAME_ERROR : textio:"},
        {"NUL in the tree-file name",
         "c\nt.txt\nb\0.txt\nx := 2\nn\n"s,
         d("dialogue_tree_name_with_nul.out"),
         {},
         {trace_2},
         1,
         "NAME_ERROR : textio:"},
    };
    // Every answer but J and j ends the program.
    for (const std::string ending : {"n", "N", "", "ja", " j"}) {
        cases.push_back(
            {"ending with '" + ending + "'", "c\n\n\nskip\n" + ending + "\n", d("dialogue_ending.out")});
    }
    return cases;
}

void expect_report(const std::string& err, const std::string& report) {
    if (report.empty()) {
        EXPECT_EQ(err, "");
        return;
    }
    const std::string head = "\nraised " + report;
    ASSERT_EQ(err.compare(0, head.size(), head), 0) << err;
    ASSERT_EQ(err.back(), '\n');
    if (report.back() == ':') {  // any line number
        const std::string line = err.substr(head.size(), err.size() - head.size() - 1);
        EXPECT_FALSE(line.empty()) << err;
        EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << err;
    } else {
        EXPECT_EQ(err.size(), head.size() + 1) << err;
    }
}

// Runs with TMPDIR in a scratch folder of its own, so that a temporary file
// left behind would show.
test_support::program_result run_with_own_temp(const std::string& input, const fs::path& folder,
                                               const fs::path& temp) {
    const char* before = std::getenv("TMPDIR");
    const std::optional<std::string> saved =
        before != nullptr ? std::optional<std::string>(before) : std::nullopt;
    ::setenv("TMPDIR", temp.c_str(), 1);
    auto result = test_support::run_program("velkor", input, folder);
    if (saved) {
        ::setenv("TMPDIR", saved->c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    return result;
}

TEST(VelkorDialogue, WholeRuns) {
    for (const dialogue& c : dialogues()) {
        SCOPED_TRACE(c.title);
        const test_support::scratch_folder work;
        const test_support::scratch_folder temp;
        std::set<std::string> expected_names;
        for (const file_content& g : c.given) {
            if (g.name.back() == '/') {
                const std::string folder = g.name.substr(0, g.name.size() - 1);
                fs::create_directory(work.path() / folder);
            } else {
                test_support::write_file(work.path() / g.name, read_file(data_path(g.expected_file)));
            }
            expected_names.insert(fs::path(g.name).begin()->string());  // what the working folder shows
        }
        const auto result = run_with_own_temp(c.input, work.path(), temp.path());
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, read_file(data_path(c.expected_out)));
        expect_report(result.err, c.report);
        for (const file_content& w : c.written) {
            expected_names.insert(w.name);
            const fs::path written = work.path() / w.name;
            ASSERT_TRUE(fs::exists(written)) << w.name;
            EXPECT_EQ(read_file(written),
                      w.expected_file.empty() ? "" : read_file(data_path(w.expected_file)))
                << w.name;
        }
        std::set<std::string> present;
        for (const auto& entry : fs::directory_iterator(work.path())) {
            present.insert(entry.path().filename().string());
        }
        EXPECT_EQ(present, expected_names);
        EXPECT_TRUE(fs::is_empty(temp.path())) << "a temporary file remains";
        for (const file_content& g : c.given) {  // the program file is never changed
            if (g.name.back() != '/') {
                EXPECT_EQ(read_file(work.path() / g.name), read_file(data_path(g.expected_file)));
            }
        }
    }
}

TEST(VelkorDialogue, NestingBeyondTheParsersReachEndsWithStorageError) {
    const std::string program = driver_tests::nested_loops(100'000);
    const test_support::scratch_folder work;
    const auto result =
        test_support::run_program("velkor", "c\nt.txt\nb.txt\n" + program + "\nn\n", work.path());
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, read_file(data_path("driver/dialogue_nesting_too_deep.out")));
    expect_report(result.err, "STORAGE_ERROR : comtypes:");
    EXPECT_TRUE(fs::is_empty(work.path()));
}

TEST(Concpf, SuffixGoesBeforeTheLastDot) {
    struct derivation {
        std::string_view path, baum, trace;
    };
    const std::vector<derivation> cases = {
        {"C:\\Ordner\\Datei.txt", "C:\\Ordner\\Datei_Baum.txt", "C:\\Ordner\\Datei_Trace.txt"},
        {"prog", "prog_Baum", "prog_Trace"},
        {"a.b.txt", "a.b_Baum.txt", "a.b_Trace.txt"},
        {"C:\\Ordner.alt\\prog", "C:\\Ordner_Baum.alt\\prog", "C:\\Ordner_Trace.alt\\prog"},
        {"prog.", "prog_Baum.", "prog_Trace."},
        {".txt", "_Baum.txt", "_Trace.txt"},
        {"", "_Baum", "_Trace"},
    };
    for (const derivation& c : cases) {
        std::string baum = "old";
        std::string trace;
        velkor::concpf(c.path, "_Baum", baum);
        velkor::concpf(c.path, "_Trace", trace);
        EXPECT_EQ(baum, c.baum) << c.path;
        EXPECT_EQ(trace, c.trace) << c.path;
    }
}

}  // namespace
