// The project's documents as their tests read them: the lines, the fenced
// blocks with their info strings, the headings, the tables and the sentences
// that give a figure, each with its line number, so that a failure names the
// line of the document; and the check that a block shows what a program
// printed.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// A document at the top of the source tree (README.md, REPORTS.md), as
// lines without their line ends.
struct document {
    std::string name;
    std::vector<std::string> lines;

    // place names the line at `index` (counted from 0) as "NAME:LINE", the
    // line counted from 1 as an editor counts it.
    [[nodiscard]] std::string place(std::size_t index) const;
};

document read_document(std::string_view name);

// readme returns README.md, read once for the whole test program.
const document& readme();

// A fenced block: the line of its opening fence, the info string after the
// fence ("" when there is none) and the lines between the fences.
struct fenced_block {
    std::size_t fence;
    std::string info;
    std::vector<std::string> lines;

    // The index in the document of the block's line `i`.
    [[nodiscard]] std::size_t line(std::size_t i) const { return fence + 1 + i; }
};

// fenced_blocks returns the blocks of `doc` in their order. A fence is a line
// that begins with three backquotes; a block not closed throws
// std::runtime_error naming its line.
std::vector<fenced_block> fenced_blocks(const document& doc);

// block_before returns the block before blocks[i] when no heading stands
// between them, else null: the block that a block's text may refer to, such
// as the command whose output it shows.
const fenced_block* block_before(const document& doc, const std::vector<fenced_block>& blocks, std::size_t i);

// A heading outside the fenced blocks: its line, its level (the number of
// '#') and its text after the '#'s and a blank.
struct heading {
    std::size_t line;
    int level;
    std::string text;
};

std::vector<heading> headings(const document& doc);

// section_program returns the first of `programs` that the headings above
// line `index` name, looking from the nearest heading outwards: the heading
// of the line's own section, then those of the sections it lies in. A
// heading names a program when it holds the name as a word of its own
// ("### `orvane`: arithmetic terms", "## lintaro: Boolean matrices").
std::optional<std::string> section_program(const document& doc, std::size_t index,
                                           const std::vector<std::string>& programs);

// A table: the cells of its header and of every row after the delimiter
// row, each row with its line. Cells are trimmed; "\|" in a cell is "|".
struct table_row {
    std::size_t line;
    std::vector<std::string> cells;
};

struct table {
    std::size_t line;
    std::vector<std::string> header;
    std::vector<table_row> rows;
};

std::vector<table> tables(const document& doc);

// table_with_header returns the one table of `doc` whose header is
// `header`; when there is none, or more than one, it throws
// std::runtime_error.
table table_with_header(const document& doc, const std::vector<std::string>& header);

// code_spans returns the texts of the code spans in `text` in their order,
// as Markdown reads them: a run of backquotes opens a span that the next
// run of as many closes, and one blank at each end is dropped when both
// ends have one (`` `div` `` is "`div`").
std::vector<std::string> code_spans(std::string_view text);

// span_text returns the text of a code span whose text between its
// backquotes is `raw`: one blank at each end is dropped when both ends have
// one and the text is not all blanks.
std::string span_text(std::string_view raw);

// ---- Sentences read by a pattern ----

// A pattern is a sentence with blanks, each written "{}". A blank between
// backquotes, "`{}`", stands for the text of a code span, everything up to
// the next backquote, read as span_text reads it; any other blank stands for
// a word, one or more characters that are neither blanks nor backquotes. A
// blank takes the shortest text after which the pattern goes on; a blank at
// the pattern's end takes the whole word, without a '.', ',', ':' or ';'
// that ends it. "{}" in a pattern is always a blank.
struct filled_in {
    std::size_t begin;  // where the pattern's text stands in the text
    std::size_t end;    // and where it ends
    std::vector<std::string> blanks;
};

// fill_in returns the first place, at `from` or after it, where `text` reads
// as `pattern`, or nullopt. A pattern that begins with a blank begins a word:
// at the text's start or after a blank or a '('.
std::optional<filled_in> fill_in(std::string_view text, std::string_view pattern, std::size_t from = 0);

// figure returns the number that `word` writes: digits, with a comma between
// every three of them from the right when there are more than three
// ("6,836") or with none, or a word from "zero" to "twenty"; nullopt for any
// other word.
std::optional<std::size_t> figure(std::string_view word);

// A line of a document that reads as a pattern, with the texts of its
// blanks.
struct sentence {
    std::size_t line;
    std::string place;  // the line's place, for failure messages
    std::vector<std::string> blanks;

    // number returns blank `i` as figure reads it; when it writes no number
    // it throws std::runtime_error naming the place.
    [[nodiscard]] std::size_t number(std::size_t i) const;
};

// sentence_with returns the one line of `doc` outside its fenced blocks that
// reads as `pattern`; when there is none, or more than one, it throws
// std::runtime_error. A document's figure is read from its sentence so that a
// change of the figure fails the test that reads it.
sentence sentence_with(const document& doc, std::string_view pattern);

// The lines of a text: a last line without its line end counts as a line,
// and `complete` says whether the text ends with a line end.
struct text_lines {
    std::vector<std::string> lines;
    bool complete = true;
};

text_lines lines_of(std::string_view text);

// The line that stands in a block for one or more lines of the output left
// out.
inline constexpr std::string_view left_out_mark = "\u2026";

// shows checks that the lines of `block` are what `output` holds: every line
// with its line end, in order, the output's first line first and its last
// line last. A line `left_out_mark` stands for one or more lines left out;
// the lines between two such marks stand together in the output, after those
// before them, and a block that begins (ends) with one may begin (end)
// anywhere after the output's first line (before its last). A failure names
// the first line of the block that is not in its place.
testing::AssertionResult shows(const document& doc, const fenced_block& block, std::string_view output);

}  // namespace test_support
