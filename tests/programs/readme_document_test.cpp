// The README shows what the programs print, and a reader copies it line for
// line: every fenced block is a command (`sh`), a program's output (`text`)
// or a grammar (`grammar`), and each output and each grammar is held against
// the program that it belongs to; so are the tables of rule lines and of
// parser messages. The pieces of the nine reports are checked with REPORTS.md
// (reports_document_test.cpp); the examples' table with the examples
// (examples_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "machine/baumwandler_package.hpp"
#include "tests/support/markdown.hpp"
#include "tests/support/program_run.hpp"

namespace {

namespace fs = std::filesystem;
using test_support::code_spans;
using test_support::document;
using test_support::fenced_block;
using test_support::readme;

const std::vector<std::string> report_programs = {"tamsel",  "orvane", "pirrel", "dunmor", "ruskel",
                                                  "lintaro", "zorbel", "halvik", "quenmar"};
const std::vector<std::string> grammar_programs = {"tamsel", "orvane", "pirrel", "dunmor", "ruskel"};

const std::vector<fenced_block>& readme_blocks() {
    static const std::vector<fenced_block> blocks = test_support::fenced_blocks(readme());
    return blocks;
}

// ---- velkor's commands ----

// How a velkor command of the README shows its output: standard output
// alone; standard output, then standard error (2>&1); a file that the run
// wrote (> /dev/null && cat FILE); or a terminal on which the answers were
// typed, each echoed after its prompt.
enum class shown_as { standard_output, with_standard_error, file, terminal };

struct velkor_command {
    shown_as form;
    std::string input;  // the whole of standard input, the answers line by line
    std::string file;   // for shown_as::file
};

// printf_text returns the text that printf makes of `format`: \n a line
// end, \\ a backslash, %% a percent sign; nullopt for any other escape or
// conversion, which the README's commands do not use.
std::optional<std::string> printf_text(std::string_view format) {
    std::string text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '\\' && c != '%') {
            text += c;
            continue;
        }
        if (i + 1 == format.size()) {
            return std::nullopt;
        }
        const char next = format[++i];
        if (c == '\\' && next == 'n') {
            text += '\n';
        } else if (c == next) {
            text += c;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

// skip removes `prefix` from the front of `text` and returns true when
// `text` begins with it; otherwise it leaves `text` alone.
bool skip(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

// The name of a file that a command shows: letters, digits and _ . / -.
bool is_file_name(std::string_view name) {
    return !name.empty() && std::ranges::all_of(name, [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
               std::string_view("_./-").find(c) != std::string_view::npos;
    });
}

constexpr std::string_view velkor_path = "./build/release/bin/velkor";

// command_of reads the one line of a `sh` block before a velkor output, in
// one of the forms
//   printf 'ANSWERS' | ./build/release/bin/velkor
//   printf 'ANSWERS' | ./build/release/bin/velkor 2>&1
//   printf 'ANSWERS' | ./build/release/bin/velkor > /dev/null && cat FILE
//   ./build/release/bin/velkor   # typed in a terminal: 'ANSWERS'
// and nullopt for any other line. (Hand-written, not std::regex, whose
// header g++ 12 warns about under the sanitizers.)
std::optional<velkor_command> command_of(const fenced_block& sh) {
    if (sh.info != "sh" || sh.lines.size() != 1) {
        return std::nullopt;
    }
    std::string_view line = sh.lines.front();
    velkor_command command{shown_as::standard_output, "", ""};
    std::string_view answers;
    if (skip(line, "printf '")) {
        const std::size_t end = line.find('\'');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        answers = line.substr(0, end);
        line.remove_prefix(end + 1);
        if (!skip(line, " | ") || !skip(line, velkor_path)) {
            return std::nullopt;
        }
        if (line == " 2>&1") {
            command.form = shown_as::with_standard_error;
        } else if (skip(line, " > /dev/null && cat ") && is_file_name(line)) {
            command.form = shown_as::file;
            command.file = line;
        } else if (!line.empty()) {
            return std::nullopt;
        }
    } else if (skip(line, velkor_path) && line.starts_with(' ')) {
        const std::size_t comment = line.find_first_not_of(' ');
        if (comment == std::string_view::npos) {
            return std::nullopt;
        }
        line.remove_prefix(comment);
        if (!skip(line, "# typed in a terminal: '") || !line.ends_with('\'')) {
            return std::nullopt;
        }
        command.form = shown_as::terminal;
        answers = line.substr(0, line.size() - 1);
    } else {
        return std::nullopt;
    }
    const std::optional<std::string> input = printf_text(answers);
    if (!input || answers.find('\'') != std::string_view::npos) {
        return std::nullopt;
    }
    command.input = *input;
    return command;
}

// The prompts after which velkor reads an answer. A terminal shows the
// answer of the menu's prompt on the prompt's line, every other one on the
// line below its prompt.
const std::vector<std::string> prompts = {
    "einlesen (C/D)?: ",
    "(keine Eingabe, wenn keine Datei angelegt werden soll)\n",
    "Bitte geben Sie jetzt das Programm als Fliesstext ein: \n",
    "Bitte geben Sie den Pfad der Datei im Format: C:\\Ordner\\Datei.txt an.\n",
    "Moechten Sie ein weiteres Programm eingeben? (j/n)\n",
};

// on_a_terminal returns what a terminal shows of a session whose output
// from a pipe is `from_a_pipe`: each answer of `input`, with its line end,
// after the prompt that reads it. An answer left without a prompt is an
// error.
std::optional<std::string> on_a_terminal(const std::string& from_a_pipe, const std::string& input) {
    std::string shown = from_a_pipe;
    std::size_t at = 0;
    std::istringstream answers(input);
    for (std::string answer; std::getline(answers, answer);) {
        std::size_t found = std::string::npos;
        std::size_t length = 0;
        for (const std::string& prompt : prompts) {
            const std::size_t p = shown.find(prompt, at);
            if (p < found) {
                found = p;
                length = prompt.size();
            }
        }
        if (found == std::string::npos) {
            return std::nullopt;
        }
        shown.insert(found + length, answer + '\n');
        at = found + length + answer.size() + 1;
    }
    return shown;
}

void copy_examples(const fs::path& into) {
    fs::copy(test_support::data_path("../examples"), into / "examples", fs::copy_options::recursive);
}

// What a reader sees who runs `command` in the top folder of the source
// tree, the examples beside it; or why the command does not show it.
struct seen {
    std::string text;
    std::string problem;  // empty when the command shows `text`
};

seen seen_after(const velkor_command& command) {
    const test_support::scratch_folder work;
    copy_examples(work.path());
    const auto result = test_support::run_program("velkor", command.input, work.path());
    // Standard error would show in the terminal too: only 2>&1 shows it in
    // its place.
    if (command.form != shown_as::with_standard_error && !result.err.empty()) {
        return {"", "velkor wrote to standard error: " + result.err};
    }
    switch (command.form) {
        case shown_as::standard_output:
            return {result.out, ""};
        case shown_as::with_standard_error:
            return {result.out + result.err, ""};
        case shown_as::file:
            if (result.status != 0) {  // && runs cat only after a run that ends with 0
                return {"", "velkor ended with status " + std::to_string(result.status)};
            }
            if (!fs::exists(work.path() / command.file)) {
                return {"", "velkor wrote no file " + command.file};
            }
            return {test_support::read_file(work.path() / command.file), ""};
        case shown_as::terminal:
            if (const auto shown = on_a_terminal(result.out, command.input)) {
                return {*shown, ""};
            }
            return {"", "an answer is never asked for"};
    }
    return {"", "unknown form"};
}

TEST(ReadmeDocument, EveryFencedBlockIsACommandAnOutputOrAGrammar) {
    const std::set<std::string> kinds = {"sh", "text", "grammar"};
    for (const fenced_block& block : readme_blocks()) {
        EXPECT_TRUE(kinds.contains(block.info))
            << readme().place(block.fence) << ": info string \"" << block.info << "\"";
    }
}

// A `text` block shows what the command of the `sh` block before it prints,
// or else a piece of the report of the program whose section it stands in.
TEST(ReadmeDocument, EveryTextBlockShowsWhatItsCommandPrints) {
    const auto& blocks = readme_blocks();
    int velkor_blocks = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const fenced_block& block = blocks[i];
        if (block.info != "text") {
            continue;
        }
        const fenced_block* before = test_support::block_before(readme(), blocks, i);
        if (before == nullptr || before->info != "sh") {
            const auto program = test_support::section_program(readme(), block.fence, report_programs);
            EXPECT_TRUE(program.has_value())
                << readme().place(block.fence) << ": no command before the block, and no report's section";
            continue;  // a report's piece, checked with REPORTS.md
        }
        const std::optional<velkor_command> command = command_of(*before);
        if (!command) {
            ADD_FAILURE() << readme().place(before->fence) << ": no velkor command of a known form";
            continue;
        }
        ++velkor_blocks;
        const seen shown = seen_after(*command);
        EXPECT_EQ(shown.problem, "") << readme().place(before->fence);
        if (shown.problem.empty()) {
            EXPECT_TRUE(test_support::shows(readme(), block, shown.text));
        }
    }
    EXPECT_GT(velkor_blocks, 0);
}

// A block shows an output when its runs of lines stand in place: the first
// at the output's start and the last at its end unless a mark stands there,
// a mark leaving out one line at least.
TEST(ReadmeDocument, BlockShowsItsRunsOfLinesInPlace) {
    const std::string m(test_support::left_out_mark);
    struct shown_case {
        std::vector<std::string> block;
        std::string output;
        bool shows;
    };
    const std::string abcd = "a\nb\nc\nd\n";
    const shown_case cases[] = {
        {{"a", "b", "c", "d"}, abcd, true},
        {{"a", "b", "c"}, abcd, false},
        {{"a", "b", "c", "d", ""}, abcd, false},
        {{"a", "b"}, "a\nb", false},  // the last line has no line end
        {{m, "d"}, abcd, true},
        {{m, "a", "b", "c", "d"}, abcd, false},
        {{"b", m}, abcd, false},
        {{"a", m, "d"}, abcd, true},
        {{"a", m, "b", "c", "d"}, abcd, false},
        {{"a", m, "c", m}, abcd, true},
        {{m, "b", m, "d"}, abcd, true},
        {{m, "c", "d", m}, abcd, false},
        {{m, "c", "b", m}, abcd, false},
        {{"a", m, m, "d"}, abcd, false},
        {{m}, abcd, false},
    };
    const document doc{"doc.md", {}};
    for (const shown_case& c : cases) {
        const fenced_block block{0, "text", c.block};
        const testing::AssertionResult result = test_support::shows(doc, block, c.output);
        EXPECT_EQ(static_cast<bool>(result), c.shows)
            << testing::PrintToString(c.block) << ": " << result.message();
    }
}

TEST(ReadmeDocument, TerminalTranscriptPutsEachAnswerAfterItsPrompt) {
    const std::string piped =
        "einlesen (C/D)?: \nBitte geben Sie den Pfad der Datei im Format: C:\\Ordner\\Datei.txt an.\n"
        "Datei nicht gefunden.\nWollen sie das Programm per Console oder Datei\neinlesen (C/D)?: \n";
    EXPECT_EQ(
        on_a_terminal(piped, "d\nweg.txt\nx\n"),
        "einlesen (C/D)?: d\n\nBitte geben Sie den Pfad der Datei im Format: C:\\Ordner\\Datei.txt an.\n"
        "weg.txt\nDatei nicht gefunden.\nWollen sie das Programm per Console oder Datei\n"
        "einlesen (C/D)?: x\n\n");
    EXPECT_EQ(on_a_terminal(piped, "d\nweg.txt\nx\nn\n"), std::nullopt);
}

TEST(ReadmeDocument, CommandsTakeOnlyTheirKnownForms) {
    const auto command = [](const std::string& line) { return command_of({0, "sh", {line}}); };
    const auto file = command(
        "printf 'c\\nt.txt\\n\\nx := 1\\nn\\n' | ./build/release/bin/velkor > /dev/null && cat t.txt");
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->form, shown_as::file);
    EXPECT_EQ(file->input, "c\nt.txt\n\nx := 1\nn\n");
    EXPECT_EQ(file->file, "t.txt");
    EXPECT_EQ(command("printf '100%%\\\\\\n' | ./build/release/bin/velkor")->input, "100%\\\n");
    EXPECT_EQ(command("./build/release/bin/velkor   # typed in a terminal: 'd\\n'")->form,
              shown_as::terminal);
    EXPECT_FALSE(command("printf 'c\\t' | ./build/release/bin/velkor").has_value());
    EXPECT_FALSE(command("printf '%s' | ./build/release/bin/velkor").has_value());
    EXPECT_FALSE(command("printf 'c\\n' | velkor").has_value());
    EXPECT_FALSE(command("printf 'c\\n' | ./build/release/bin/velkor 2>/dev/null").has_value());
}

// ---- Grammars ----

// A grammar block: one line per nonterminal, its name, the arrow and its
// alternatives between " | ", "(empty)" the empty one; the arrows stand in
// one column, one blank after the longest name.
struct grammar_rule {
    std::string left;
    std::vector<std::vector<std::string>> alternatives;
};

struct grammar_text {
    std::string arrow;
    std::vector<grammar_rule> rules;
};

std::vector<std::string> words_of(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

std::string rendered(const grammar_text& g) {
    std::size_t width = 0;
    for (const grammar_rule& r : g.rules) {
        width = std::max(width, r.left.size());
    }
    std::string text;
    for (const grammar_rule& r : g.rules) {
        text += r.left + std::string(width - r.left.size(), ' ') + " " + g.arrow;
        for (std::size_t a = 0; a < r.alternatives.size(); ++a) {
            text += a == 0 ? " " : " | ";
            std::string symbols;
            for (const std::string& symbol : r.alternatives[a]) {
                symbols += (symbols.empty() ? "" : " ") + symbol;
            }
            text += symbols.empty() ? "(empty)" : symbols;
        }
        text += '\n';
    }
    return text;
}

// grammar_of reads a grammar block; a block not in the form above fails,
// naming its first line that differs from the form.
std::optional<grammar_text> grammar_of(const fenced_block& block) {
    grammar_text g;
    for (std::size_t i = 0; i < block.lines.size(); ++i) {
        const std::vector<std::string> words = words_of(block.lines[i]);
        if (words.size() < 3 || (words[1] != "->" && words[1] != "::=") ||
            (!g.arrow.empty() && words[1] != g.arrow)) {
            ADD_FAILURE() << readme().place(block.line(i)) << ": no rule, or another arrow";
            return std::nullopt;
        }
        g.arrow = words[1];
        grammar_rule r{words[0], {{}}};
        for (std::size_t w = 2; w < words.size(); ++w) {
            if (words[w] == "|") {
                r.alternatives.emplace_back();
            } else {
                r.alternatives.back().push_back(words[w]);
            }
        }
        for (auto& alternative : r.alternatives) {
            if (alternative == std::vector<std::string>{"(empty)"}) {
                alternative.clear();
            } else if (alternative.empty() || std::ranges::count(alternative, "(empty)") > 0) {
                ADD_FAILURE() << readme().place(block.line(i)) << ": an alternative is missing";
                return std::nullopt;
            }
        }
        g.rules.push_back(std::move(r));
    }
    std::istringstream canonical(rendered(g));
    std::size_t i = 0;
    for (std::string line; std::getline(canonical, line); ++i) {
        if (block.lines[i] != line) {
            ADD_FAILURE() << readme().place(block.line(i)) << ": in the form of a grammar block this reads \""
                          << line << "\"";
            return std::nullopt;
        }
    }
    return g;
}

// The grammar that a report lists under "Regeln:": per nonterminal the line
// "   NAME ->" and one line per alternative, seven blanks and the symbols,
// each followed by a blank, then "|" or ".".
std::vector<grammar_rule> listed_rules(const std::string& report) {
    std::istringstream in(report);
    std::vector<grammar_rule> rules;
    std::string line;
    while (std::getline(in, line) && line != "Regeln:") {
    }
    while (std::getline(in, line) && !line.empty()) {
        if (line.starts_with("       ")) {
            if (rules.empty()) {
                ADD_FAILURE() << "an alternative of no nonterminal: " << line;
                break;
            }
            std::vector<std::string> symbols = words_of(line);
            symbols.pop_back();  // the mark
            rules.back().alternatives.push_back(symbols);
        } else {
            rules.push_back({words_of(line).front(), {}});
        }
    }
    return rules;
}

// The lines of a report under `label` ("Nichtterminale:"), up to the next
// empty line, joined by blanks.
std::string listed_symbols(const std::string& report, const std::string& label) {
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line) && line != label) {
    }
    std::string symbols;
    while (std::getline(in, line) && !line.empty()) {
        symbols += (symbols.empty() ? "" : " ") + words_of(line).front();
    }
    return symbols;
}

// The productions of the grammar trees that velkor draws: each node with
// children and its children's labels, leaving out a token class's child,
// the text as read.
using production = std::pair<std::string, std::vector<std::string>>;

const std::set<std::string> token_classes = {"NameT", "ZahlT", "ropT", "opT"};

std::set<production> drawn_productions(const std::string& drawing) {
    std::istringstream in(drawing);
    std::vector<std::pair<std::string, std::vector<std::string>>> nodes;  // label, children's labels
    std::vector<std::size_t> path;                                        // the open nodes, root first
    for (std::string line; std::getline(in, line);) {
        if (line == "Programm") {
            nodes.push_back({line, {}});
            path = {0};
            continue;
        }
        const std::size_t at = line.find("|_ ");
        if (at == std::string::npos) {
            continue;  // a bar line
        }
        const std::size_t depth = (at - 2) / 3 + 1;
        if (path.empty() || depth > path.size()) {
            ADD_FAILURE() << "a node without a parent: " << line;
            return {};
        }
        path.resize(depth);
        const std::string label = line.substr(at + 3);
        nodes[path.back()].second.push_back(label);
        nodes.push_back({label, {}});
        path.push_back(nodes.size() - 1);
    }
    std::set<production> found;
    for (const auto& [label, children] : nodes) {
        if (!children.empty() && !token_classes.contains(label)) {
            found.insert({label, children});
        }
    }
    return found;
}

// Programs that together use every alternative of the While grammar.
const std::vector<std::string> drawn_programs = {
    "x := 1; if x < (x + 2) then skip else while x > 0 do x := (x - 1) od fi",
};

std::string drawing_of(const std::string& program) {
    const std::string out = test_support::run_program("velkor", "c\n\n\n" + program + "\nn\n").out;
    const std::string from = "Der Grammatikbaum: \n";
    const std::size_t begin = out.find(from);
    const std::size_t end = out.find("   Der Trace: \n");
    if (begin == std::string::npos || end == std::string::npos) {
        ADD_FAILURE() << "no drawing of " << program;
        return "";
    }
    return out.substr(begin + from.size(), end - begin - from.size());
}

// The README's While grammar names a token class as the reader knows it and
// a terminal by its text in quotes; the drawing by its class's label and by
// its text.
std::string drawn_label(const std::string& symbol) {
    static const std::map<std::string, std::string> classes = {
        {"Name", "NameT"}, {"Zahl", "ZahlT"}, {"Vergleich", "ropT"}, {"Operator", "opT"}};
    if (symbol.size() > 2 && symbol.front() == '"' && symbol.back() == '"') {
        return symbol.substr(1, symbol.size() - 2);
    }
    const auto c = classes.find(symbol);
    return c == classes.end() ? symbol : c->second;
}

void expect_while_grammar(const fenced_block& block, const grammar_text& g) {
    std::set<production> written;
    for (const grammar_rule& r : g.rules) {
        for (const auto& alternative : r.alternatives) {
            production p{r.left, {}};
            std::ranges::transform(alternative, std::back_inserter(p.second), drawn_label);
            written.insert(p);
        }
    }
    std::set<production> drawn;
    for (const std::string& program : drawn_programs) {
        drawn.merge(drawn_productions(drawing_of(program)));
    }
    const auto text = [](const production& p) {
        std::string t = p.first + " ->";
        for (const std::string& s : p.second) {
            t += " " + s;
        }
        return t;
    };
    for (const production& p : written) {
        EXPECT_TRUE(drawn.contains(p)) << readme().place(block.fence) << ": no drawing shows " << text(p);
    }
    for (const production& p : drawn) {
        EXPECT_TRUE(written.contains(p)) << readme().place(block.fence) << ": the grammar lacks " << text(p);
    }
}

void expect_listed_grammar(const fenced_block& block, const grammar_text& g, const std::string& program) {
    const std::vector<grammar_rule> listed = listed_rules(test_support::report_of(program));
    ASSERT_EQ(g.rules.size(), listed.size()) << readme().place(block.fence) << ": the rules of " << program;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(g.rules[i].left, listed[i].left) << readme().place(block.line(i));
        EXPECT_EQ(g.rules[i].alternatives, listed[i].alternatives) << readme().place(block.line(i));
    }
}

// A grammar block in velkor's section is the While grammar of its trees; in
// the section of a grammar program, that program's grammar as its report
// lists it, rules and alternatives in the listing's order.
TEST(ReadmeDocument, GrammarBlocksAreTheGrammarsOfTheirPrograms) {
    std::vector<std::string> programs = grammar_programs;
    programs.emplace_back("velkor");
    std::set<std::string> shown;
    for (const fenced_block& block : readme_blocks()) {
        if (block.info != "grammar") {
            continue;
        }
        const auto program = test_support::section_program(readme(), block.fence, programs);
        ASSERT_TRUE(program.has_value()) << readme().place(block.fence) << ": a grammar of no program";
        shown.insert(*program);
        const std::optional<grammar_text> g = grammar_of(block);
        if (!g) {
            continue;
        }
        if (*program == "velkor") {
            EXPECT_EQ(g->arrow, "::=") << readme().place(block.fence);
            expect_while_grammar(block, *g);
        } else {
            EXPECT_EQ(g->arrow, "->") << readme().place(block.fence);
            expect_listed_grammar(block, *g, *program);
        }
    }
    EXPECT_EQ(shown, std::set<std::string>(programs.begin(), programs.end()));
}

// symbol_lists returns the two lists of each "symbols `A B` and `C D`" in
// `line`.
std::vector<std::pair<std::string, std::string>> symbol_lists(std::string_view line) {
    constexpr std::string_view opening = "symbols `";
    constexpr std::string_view middle = "` and `";
    std::vector<std::pair<std::string, std::string>> found;
    for (std::size_t at = line.find(opening); at != std::string_view::npos; at = line.find(opening, at + 1)) {
        const std::size_t first = at + opening.size();
        const std::size_t first_end = line.find('`', first);
        if (first_end == std::string_view::npos || !line.substr(first_end).starts_with(middle)) {
            continue;
        }
        const std::size_t second = first_end + middle.size();
        const std::size_t second_end = line.find('`', second);
        if (second_end != std::string_view::npos) {
            found.emplace_back(line.substr(first, first_end - first),
                               line.substr(second, second_end - second));
        }
    }
    return found;
}

// titles returns the text of each `title "…"` in `line`.
std::vector<std::string> titles(std::string_view line) {
    constexpr std::string_view opening = "title \"";
    std::vector<std::string> found;
    for (std::size_t at = line.find(opening); at != std::string_view::npos; at = line.find(opening, at + 1)) {
        const std::size_t first = at + opening.size();
        const std::size_t end = line.find('"', first);
        if (end != std::string_view::npos) {
            found.emplace_back(line.substr(first, end - first));
        }
    }
    return found;
}

// Beside its grammar the README gives each grammar program's symbols, as
// "symbols `NONTERMINALS` and `TERMINALS`", and its title, as `title "…"`:
// the lists under "Nichtterminale:" and "Terminale:" and the verdict's
// beginning.
TEST(ReadmeDocument, SymbolsAndTitlesAreThoseOfTheReports) {
    std::set<std::string> with_symbols;
    std::set<std::string> with_title;
    const auto& lines = readme().lines;
    for (std::size_t at = 0; at < lines.size(); ++at) {
        const auto program = test_support::section_program(readme(), at, grammar_programs);
        for (const auto& [nonterminals, terminals] : symbol_lists(lines[at])) {
            ASSERT_TRUE(program.has_value()) << readme().place(at);
            with_symbols.insert(*program);
            const std::string& report = test_support::report_of(*program);
            EXPECT_EQ(nonterminals, listed_symbols(report, "Nichtterminale:")) << readme().place(at);
            EXPECT_EQ(terminals, listed_symbols(report, "Terminale:")) << readme().place(at);
        }
        for (const std::string& verdict : titles(lines[at])) {
            ASSERT_TRUE(program.has_value()) << readme().place(at);
            with_title.insert(*program);
            const std::string& report = test_support::report_of(*program);
            EXPECT_TRUE(report.find("\n" + verdict + "einfach.\n") != std::string::npos ||
                        report.find("\n" + verdict + "nicht einfach.\n") != std::string::npos)
                << readme().place(at) << ": " << verdict;
        }
    }
    const std::set<std::string> all(grammar_programs.begin(), grammar_programs.end());
    EXPECT_EQ(with_symbols, all);
    EXPECT_EQ(with_title, all);
}

// ---- Tables ----

// The table of the machine's rules lists the lines of the machine's rule
// table in its order, each beside its rule's number ("end" for the end).
TEST(ReadmeDocument, RuleTableHoldsTheMachinesRuleLines) {
    const test_support::table rules = test_support::table_with_header(
        readme(), {"rule", "line", "control stack before → after", "value stack and store"});
    namespace bp = baumwandler_package;
    ASSERT_EQ(rules.rows.size(), bp::rule_count) << readme().place(rules.line);
    for (std::size_t i = 0; i < bp::rule_count; ++i) {
        const test_support::table_row& row = rules.rows[i];
        const std::vector<std::string> line = code_spans(row.cells.at(1));
        ASSERT_EQ(line.size(), 1U) << readme().place(row.line);
        EXPECT_EQ(line.front(), bp::rule_rows[i].line) << readme().place(row.line);
        const std::string_view text = bp::rule_rows[i].line;
        const std::string number = bp::rule_rows[i].value == bp::rule::ENDE
                                       ? "end"
                                       : std::string(text.substr(4, text.find(" :") - 4));
        EXPECT_EQ(row.cells.at(0), number) << readme().place(row.line);
    }
}

// Each row of the table of parser messages is a program typed at the
// prompt and the line that follows velkor's "not in the While language".
TEST(ReadmeDocument, ParserMessagesAreVelkors) {
    const test_support::table messages =
        test_support::table_with_header(readme(), {"program text", "the parser's second line"});
    EXPECT_FALSE(messages.rows.empty());
    for (const test_support::table_row& row : messages.rows) {
        const std::vector<std::string> program = code_spans(row.cells.at(0));
        const std::vector<std::string> message = code_spans(row.cells.at(1));
        ASSERT_EQ(program.size(), 1U) << readme().place(row.line);
        ASSERT_EQ(message.size(), 1U) << readme().place(row.line);
        const std::string out =
            test_support::run_program("velkor", "c\n\n\n" + program.front() + "\nn\n").out;
        const std::string expected =
            "Bitte geben Sie jetzt das Programm als Fliesstext ein: \n\n"
            "Das eingegebene Programm liegt nicht in der While-Sprache.\n" +
            message.front() + "\n\n\nMoechten Sie ein weiteres Programm eingeben? (j/n)\n";
        EXPECT_NE(out.find(expected), std::string::npos) << readme().place(row.line) << "\n" << out;
    }
}

}  // namespace
