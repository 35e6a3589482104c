#include "tests/support/markdown.hpp"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

#include "tests/support/program_run.hpp"

namespace test_support {
namespace {

constexpr std::string_view fence_mark = "```";

bool is_fence(const std::string& line) {
    return line.starts_with(fence_mark);
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

// The lines of a program's output: a last line without its line end counts
// as a line; `complete` says whether the output ends with a line end.
struct output_lines {
    std::vector<std::string> lines;
    bool complete = true;
};

output_lines lines_of(std::string_view output) {
    output_lines result;
    std::size_t from = 0;
    for (std::size_t end = output.find('\n'); end != std::string_view::npos; end = output.find('\n', from)) {
        result.lines.emplace_back(output.substr(from, end - from));
        from = end + 1;
    }
    if (from < output.size()) {
        result.lines.emplace_back(output.substr(from));
        result.complete = false;
    }
    return result;
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

}  // namespace

std::string document::place(std::size_t index) const {
    return name + ":" + std::to_string(index + 1);
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
    bool in_block = false;
    for (std::size_t at = 0; at < doc.lines.size(); ++at) {
        const std::string& line = doc.lines[at];
        if (is_fence(line)) {
            in_block = !in_block;
            continue;
        }
        const std::size_t level = line.find_first_not_of('#');
        if (!in_block && level > 0 && level != std::string::npos && line[level] == ' ') {
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
    bool in_block = false;
    for (std::size_t at = 0; at < doc.lines.size(); ++at) {
        if (is_fence(doc.lines[at])) {
            in_block = !in_block;
            continue;
        }
        if (in_block || !doc.lines[at].starts_with("|") || at + 1 == doc.lines.size() ||
            !is_delimiter_row(doc.lines[at + 1])) {
            continue;
        }
        table t{at, cells_of(doc.lines[at]), {}};
        for (at += 2; at < doc.lines.size() && doc.lines[at].starts_with("|"); ++at) {
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
        std::string span(text.substr(content, close - content));
        if (span.size() >= 2 && span.front() == ' ' && span.back() == ' ' &&
            span.find_first_not_of(' ') != std::string::npos) {
            span = span.substr(1, span.size() - 2);
        }
        spans.push_back(std::move(span));
        at = close + run;
    }
    return spans;
}

testing::AssertionResult shows(const document& doc, const fenced_block& block, std::string_view output) {
    // No structured binding: clang++ 14 lets no lambda capture one.
    const output_lines printed = lines_of(output);
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
