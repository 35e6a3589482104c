#include "tests/support/markdown.hpp"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "tests/support/program_run.hpp"

namespace test_support {
namespace {

constexpr std::string_view fence_mark = "```";

bool is_fence(const std::string& line) {
    return line.starts_with(fence_mark);
}

// in_blocks marks the lines of `doc` that its fenced blocks take, their
// fences included.
std::vector<bool> in_blocks(const document& doc) {
    std::vector<bool> marked(doc.lines.size(), false);
    bool inside = false;
    for (std::size_t at = 0; at < doc.lines.size(); ++at) {
        const bool fence = is_fence(doc.lines[at]);
        marked[at] = inside || fence;
        inside = fence != inside;
    }
    return marked;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return "";
    }
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The cells of a table line: split at every '|' that no backslash escapes,
// the outer bars dropped.
std::vector<std::string> cells_of(std::string_view line) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
            cell += '|';
            ++i;
        } else if (line[i] == '|') {
            cells.push_back(trimmed(cell));
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    cells.push_back(trimmed(cell));
    // The text before the first bar and after the last one is no cell.
    cells.erase(cells.begin());
    cells.pop_back();
    return cells;
}

bool is_delimiter_row(const std::string& line) {
    return line.starts_with("|") && line.find_first_not_of("|-: ") == std::string::npos &&
           line.find('-') != std::string::npos;
}

// True when `word` stands in `text` with no letter, digit or underscore
// right before or after it.
bool holds_word(std::string_view text, std::string_view word) {
    const auto is_word_character = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
    };
    for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        const std::size_t after = at + word.size();
        if ((at == 0 || !is_word_character(text[at - 1])) &&
            (after == text.size() || !is_word_character(text[after]))) {
            return true;
        }
    }
    return false;
}

// A run of a block's lines between marks: the index of its first line in
// the block, and its length.
struct segment {
    std::size_t first;
    std::size_t size;
};

std::string in_quotes(std::string_view text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

// A piece of a pattern: a text to stand as it is, or a blank.
struct pattern_piece {
    enum class kind { text, word, span } is;
    std::string_view text;  // for kind::text
};

std::vector<pattern_piece> pieces_of(std::string_view pattern) {
    constexpr std::string_view blank = "{}";
    std::vector<pattern_piece> pieces;
    std::size_t from = 0;
    for (std::size_t at = pattern.find(blank); at != std::string_view::npos; at = pattern.find(blank, from)) {
        if (at > from) {
            pieces.push_back({pattern_piece::kind::text, pattern.substr(from, at - from)});
        }
        const bool in_span = at > 0 && pattern[at - 1] == '`' && at + blank.size() < pattern.size() &&
                             pattern[at + blank.size()] == '`';
        pieces.push_back({in_span ? pattern_piece::kind::span : pattern_piece::kind::word, {}});
        from = at + blank.size();
    }
    if (from < pattern.size()) {
        pieces.push_back({pattern_piece::kind::text, pattern.substr(from)});
    }
    return pieces;
}

// The end of `text` read as pieces[k] onwards from `at`, the blanks' texts
// appended to `blanks`; nullopt when it does not read so.
std::optional<std::size_t> read_pieces(std::string_view text, std::size_t at,
                                       const std::vector<pattern_piece>& pieces, std::size_t k,
                                       std::vector<std::string>& blanks) {
    if (k == pieces.size()) {
        return at;
    }
    const pattern_piece& piece = pieces[k];
    if (piece.is == pattern_piece::kind::text) {
        if (!text.substr(at).starts_with(piece.text)) {
            return std::nullopt;
        }
        return read_pieces(text, at + piece.text.size(), pieces, k + 1, blanks);
    }
    const std::string_view stops = piece.is == pattern_piece::kind::span ? "`" : " `";
    const std::size_t run_end = std::min(text.find_first_of(stops, at), text.size());
    const auto taken = [&](std::string_view raw) {
        return piece.is == pattern_piece::kind::span ? span_text(raw) : std::string(raw);
    };
    if (k + 1 == pieces.size()) {
        std::size_t end = run_end;
        while (piece.is == pattern_piece::kind::word && end > at &&
               std::string_view(".,:;").find(text[end - 1]) != std::string_view::npos) {
            --end;
        }
        if (end == at) {
            return std::nullopt;
        }
        blanks.push_back(taken(text.substr(at, end - at)));
        return end;
    }
    for (std::size_t end = at + 1; end <= run_end; ++end) {
        blanks.push_back(taken(text.substr(at, end - at)));
        if (const auto read = read_pieces(text, end, pieces, k + 1, blanks)) {
            return read;
        }
        blanks.pop_back();
    }
    return std::nullopt;
}

}  // namespace

std::string span_text(std::string_view raw) {
    std::string text(raw);
    if (text.size() >= 2 && text.front() == ' ' && text.back() == ' ' &&
        text.find_first_not_of(' ') != std::string::npos) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

std::optional<filled_in> fill_in(std::string_view text, std::string_view pattern, std::size_t from) {
    const std::vector<pattern_piece> pieces = pieces_of(pattern);
    const bool starts_with_blank = !pieces.empty() && pieces.front().is != pattern_piece::kind::text;
    for (std::size_t at = from; at <= text.size(); ++at) {
        if (starts_with_blank && at > 0 && text[at - 1] != ' ' && text[at - 1] != '(') {
            continue;
        }
        std::vector<std::string> blanks;
        if (const auto end = read_pieces(text, at, pieces, 0, blanks)) {
            return filled_in{at, *end, std::move(blanks)};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> figure(std::string_view word) {
    static constexpr std::string_view names[] = {
        "zero",     "one",     "two",     "three",     "four",     "five",     "six",
        "seven",    "eight",   "nine",    "ten",       "eleven",   "twelve",   "thirteen",
        "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen", "twenty"};
    if (const auto* name = std::ranges::find(names, word); name != std::end(names)) {
        return static_cast<std::size_t>(name - std::begin(names));
    }
    // The digits alone, or one to three of them and then groups of three,
    // each after a comma.
    const std::size_t first_comma = word.find(',');
    const std::size_t head = first_comma == std::string_view::npos ? word.size() : first_comma;
    const bool grouped = first_comma != std::string_view::npos;
    if (head == 0 || word.size() > 18 || (grouped && (head > 3 || (word.size() - head) % 4 != 0))) {
        return std::nullopt;
    }
    std::size_t value = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (grouped && i >= head && (i - head) % 4 == 0) {
            if (word[i] != ',') {
                return std::nullopt;
            }
        } else if (std::isdigit(static_cast<unsigned char>(word[i])) != 0) {
            value = value * 10 + static_cast<std::size_t>(word[i] - '0');
        } else {
            return std::nullopt;
        }
    }
    return value;
}

std::size_t sentence::number(std::size_t i) const {
    const std::optional<std::size_t> value = i < blanks.size() ? figure(blanks[i]) : std::nullopt;
    if (!value) {
        throw std::runtime_error(place + ": blank " + std::to_string(i + 1) +
                                 " of the sentence writes no number");
    }
    return *value;
}

sentence sentence_with(const document& doc, std::string_view pattern) {
    std::vector<sentence> found;
    const std::vector<bool> in_block = in_blocks(doc);
    for (std::size_t at = 0; at < doc.lines.size(); ++at) {
        if (auto filled = in_block[at] ? std::nullopt : fill_in(doc.lines[at], pattern)) {
            found.push_back({at, doc.place(at), std::move(filled->blanks)});
        }
    }
    if (found.size() != 1) {
        throw std::runtime_error(doc.name + " holds " + std::to_string(found.size()) +
                                 " lines that read as \"" + std::string(pattern) + "\"");
    }
    return found.front();
}

text_lines lines_of(std::string_view text) {
    text_lines result;
    std::size_t from = 0;
    for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n', from)) {
        result.lines.emplace_back(text.substr(from, end - from));
        from = end + 1;
    }
    if (from < text.size()) {
        result.lines.emplace_back(text.substr(from));
        result.complete = false;
    }
    return result;
}

std::string document::place(std::size_t index) const {
    return name + ":" + std::to_string(index + 1);
}

const document& readme() {
    static const document doc = read_document("README.md");
    return doc;
}

document read_document(std::string_view name) {
    std::istringstream in(read_file(data_path("../" + std::string(name))));
    document doc{std::string(name), {}};
    for (std::string line; std::getline(in, line);) {
        doc.lines.push_back(line);
    }
    return doc;
}

std::vector<fenced_block> fenced_blocks(const document& doc) {
    std::vector<fenced_block> blocks;
    for (std::size_t at = 0; at < doc.lines.size(); ++at) {
        if (!is_fence(doc.lines[at])) {
            continue;
        }
        fenced_block block{at, trimmed(std::string_view(doc.lines[at]).substr(fence_mark.size())), {}};
        for (++at; at < doc.lines.size() && !is_fence(doc.lines[at]); ++at) {
            block.lines.push_back(doc.lines[at]);
        }
        if (at == doc.lines.size() || doc.lines[at] != fence_mark) {
            throw std::runtime_error(doc.place(block.fence) + ": the block is not closed by a line " +
                                     std::string(fence_mark));
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

const fenced_block* block_before(const document& doc, const std::vector<fenced_block>& blocks,
                                 std::size_t i) {
    if (i == 0) {
        return nullptr;
    }
    const fenced_block& before = blocks[i - 1];
    for (std::size_t at = before.line(before.lines.size()) + 1; at < blocks[i].fence; ++at) {
        if (doc.lines[at].starts_with("#")) {
            return nullptr;
        }
    }
    return &before;
}

std::vector<heading> headings(const document& doc) {
    std::vector<heading> found;
    const std::vector<bool> in_block = in_blocks(doc);
    for (std::size_t at = 0; at < doc.lines.size(); ++at) {
        const std::string& line = doc.lines[at];
        const std::size_t level = line.find_first_not_of('#');
        if (!in_block[at] && level > 0 && level != std::string::npos && line[level] == ' ') {
            found.push_back({at, static_cast<int>(level), line.substr(level + 1)});
        }
    }
    return found;
}

std::optional<std::string> section_program(const document& doc, std::size_t index,
                                           const std::vector<std::string>& programs) {
    const std::vector<heading> all = headings(doc);
    int innermost = 7;  // deeper than any heading
    for (auto h = all.rbegin(); h != all.rend(); ++h) {
        if (h->line > index || h->level >= innermost) {
            continue;
        }
        innermost = h->level;
        for (const std::string& program : programs) {
            if (holds_word(h->text, program)) {
                return program;
            }
        }
    }
    return std::nullopt;
}

std::vector<table> tables(const document& doc) {
    std::vector<table> found;
    const std::vector<bool> in_block = in_blocks(doc);
    for (std::size_t at = 0; at < doc.lines.size(); ++at) {
        if (in_block[at] || !doc.lines[at].starts_with("|") || at + 1 == doc.lines.size() ||
            !is_delimiter_row(doc.lines[at + 1])) {
            continue;
        }
        table t{at, cells_of(doc.lines[at]), {}};
        for (at += 2; at < doc.lines.size() && !in_block[at] && doc.lines[at].starts_with("|"); ++at) {
            t.rows.push_back({at, cells_of(doc.lines[at])});
        }
        found.push_back(std::move(t));
    }
    return found;
}

table table_with_header(const document& doc, const std::vector<std::string>& header) {
    std::vector<table> matching;
    for (table& t : tables(doc)) {
        if (t.header == header) {
            matching.push_back(std::move(t));
        }
    }
    if (matching.size() != 1) {
        std::string names;
        for (const std::string& cell : header) {
            names += "| " + cell + " ";
        }
        throw std::runtime_error(doc.name + " holds " + std::to_string(matching.size()) +
                                 " tables with the header " + names + "|");
    }
    return matching.front();
}

std::vector<std::string> code_spans(std::string_view text) {
    std::vector<std::string> spans;
    std::size_t at = 0;
    while ((at = text.find('`', at)) != std::string_view::npos) {
        const std::size_t run = text.find_first_not_of('`', at) == std::string_view::npos
                                    ? text.size() - at
                                    : text.find_first_not_of('`', at) - at;
        const std::size_t content = at + run;
        // The closing run has exactly as many backquotes.
        std::size_t close = content;
        for (;;) {
            close = text.find(std::string(run, '`'), close);
            if (close == std::string_view::npos || (close + run == text.size() || text[close + run] != '`')) {
                break;
            }
            close = text.find_first_not_of('`', close);
        }
        if (close == std::string_view::npos) {
            break;
        }
        spans.push_back(span_text(text.substr(content, close - content)));
        at = close + run;
    }
    return spans;
}

testing::AssertionResult shows(const document& doc, const fenced_block& block, std::string_view output) {
    // No structured binding: clang++ 14 lets no lambda capture one.
    const text_lines printed = lines_of(output);
    const std::vector<std::string>& out = printed.lines;
    const bool complete = printed.complete;
    const std::vector<std::string>& shown = block.lines;
    const auto is_mark = [](const std::string& line) { return line == left_out_mark; };
    if (std::ranges::all_of(shown, is_mark)) {
        return testing::AssertionFailure() << doc.place(block.fence) << ": the block shows no line";
    }
    std::vector<segment> segments;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (is_mark(shown[i])) {
            if (i + 1 < shown.size() && is_mark(shown[i + 1])) {
                return testing::AssertionFailure() << doc.place(block.line(i)) << ": two marks in a row";
            }
            continue;
        }
        if (i == 0 || is_mark(shown[i - 1])) {
            segments.push_back({i, 0});
        }
        ++segments.back().size;
    }
    const bool open_start = is_mark(shown.front());
    const bool open_end = is_mark(shown.back());

    // The first line of `s` that is not the output's line at `start` onwards.
    const auto first_wrong = [&](const segment& s, std::size_t start) {
        std::size_t j = 0;
        while (j < s.size && start + j < out.size() && out[start + j] == shown[s.first + j]) {
            ++j;
        }
        return j;
    };
    const auto wrong_line = [&](const segment& s, std::size_t start, std::size_t j) {
        auto failure = testing::AssertionFailure() << doc.place(block.line(s.first + j)) << ": "
                                                   << in_quotes(shown[s.first + j]) << " is not ";
        if (start + j < out.size()) {
            failure << "the output's line " << start + j + 1 << ", " << in_quotes(out[start + j]);
        } else {
            failure << "in the output, which has only " << out.size() << " lines";
        }
        return failure;
    };

    std::size_t next = open_start ? 1 : 0;  // where the next run may begin at the earliest
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const segment& s = segments[k];
        const bool last = k + 1 == segments.size();
        std::size_t start = next;
        if ((k == 0 && !open_start) || (last && !open_end)) {
            // A run held at the output's first line, or ending with its last.
            if (k != 0 || open_start) {
                if (out.size() < s.size || out.size() - s.size < next) {
                    return testing::AssertionFailure()
                           << doc.place(block.line(s.first)) << ": the output, of " << out.size()
                           << " lines, is too short for the lines from here to the end of the block";
                }
                start = out.size() - s.size;
            } else {
                start = 0;
            }
            if (const std::size_t j = first_wrong(s, start); j < s.size) {
                return wrong_line(s, start, j);
            }
            if (last && !open_end && start + s.size < out.size()) {
                return testing::AssertionFailure() << doc.place(block.line(s.first + s.size - 1))
                                                   << ": the block ends here, but the output goes on with "
                                                   << in_quotes(out[start + s.size]);
            }
            if (last && !open_end && !complete) {
                return testing::AssertionFailure() << doc.place(block.line(s.first + s.size - 1))
                                                   << ": the output's last line has no line end";
            }
            if (last && open_end && start + s.size == out.size()) {
                return testing::AssertionFailure()
                       << doc.place(block.line(s.first + s.size))
                       << ": the block leaves out lines at its end, but the output has none left";
            }
        } else {
            // Anywhere from `next` on, with a line left out after it when the
            // block ends with a mark.
            const std::size_t room = last ? 1 : 0;
            std::size_t best = 0;
            std::size_t best_start = next;
            bool found = false;
            for (start = next; start + s.size + room <= out.size(); ++start) {
                const std::size_t j = first_wrong(s, start);
                if (j == s.size) {
                    found = true;
                    break;
                }
                if (j > best) {
                    best = j;
                    best_start = start;
                }
            }
            if (!found) {
                if (best > 0) {
                    return wrong_line(s, best_start, best);
                }
                return testing::AssertionFailure()
                       << doc.place(block.line(s.first)) << ": " << in_quotes(shown[s.first])
                       << " stands nowhere in the output after its line " << next
                       << (last ? ", with a line left out after it" : "");
            }
        }
        next = start + s.size + 1;  // a mark leaves out one line at least
    }
    return testing::AssertionSuccess();
}

}  // namespace test_support
