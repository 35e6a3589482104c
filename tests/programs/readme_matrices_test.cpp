// The README's section on lintaro names the matrices it starts from and the
// results it computes, each with what is computed and what comes out, and
// tells how each table is laid out. The test computes every result from the
// section's own words, holds it against the section's result column, and
// reads lintaro's tables back from its report, laid out as the section says:
// they must be exactly these matrices, under these titles, in this order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/markdown.hpp"
#include "tests/support/program_run.hpp"

namespace {

using test_support::code_spans;
using test_support::readme;
using test_support::sentence;

// A Boolean matrix over the section's letters: cell [i][j] holds when the
// i-th letter is related to the j-th (i → j).
using boolean_matrix = std::vector<std::vector<bool>>;

// "prints twenty 6 × 6 Boolean matrices over `'A'` to `'F'`": how many
// tables, and the letters, each written as its name in apostrophes.
struct letters {
    std::size_t tables = 0;
    char first = 'A';
    std::size_t count = 0;

    [[nodiscard]] std::optional<std::size_t> index(std::string_view letter) const {
        if (letter.size() != 1 || letter[0] < first || letter[0] >= first + static_cast<int>(count)) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(letter[0] - first);
    }
    [[nodiscard]] std::string name(std::size_t i) const {
        return {'\'', static_cast<char>(first + static_cast<int>(i)), '\''};
    }
};

letters section_letters() {
    const sentence s =
        test_support::sentence_with(readme(), "prints {} {} × {} Boolean matrices over `{}` to `{}`");
    const std::string& first = s.blanks.at(3);
    const std::string& last = s.blanks.at(4);
    if (first.size() != 3 || last.size() != 3 || first.front() != '\'' || last.front() != '\'' ||
        last[1] < first[1]) {
        ADD_FAILURE() << s.place << ": the letters are no names 'X' in order";
        return {};
    }
    const letters l{s.number(0), first[1], static_cast<std::size_t>(last[1] - first[1] + 1)};
    EXPECT_EQ(s.number(1), l.count) << s.place << ": the rows of a matrix";
    EXPECT_EQ(s.number(2), l.count) << s.place << ": the columns of a matrix";
    return l;
}

// ---- The operations, as the section's computed column defines them ----

boolean_matrix filled(std::size_t n, bool value) {
    return boolean_matrix(n, std::vector<bool>(n, value));
}

boolean_matrix identity(std::size_t n) {
    boolean_matrix m = filled(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        m[i][i] = true;
    }
    return m;
}

// i → j when i → k in the first and k → j in the second, for some k.
boolean_matrix product(const boolean_matrix& a, const boolean_matrix& b) {
    boolean_matrix m = filled(a.size(), false);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < a.size(); ++j) {
            for (std::size_t k = 0; k < a.size(); ++k) {
                m[i][j] = m[i][j] || (a[i][k] && b[k][j]);
            }
        }
    }
    return m;
}

// i → j in either.
boolean_matrix sum(const boolean_matrix& a, const boolean_matrix& b) {
    boolean_matrix m = a;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < a.size(); ++j) {
            m[i][j] = a[i][j] || b[i][j];
        }
    }
    return m;
}

// Every arrow reversed.
boolean_matrix transposed(const boolean_matrix& a) {
    boolean_matrix m = a;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < a.size(); ++j) {
            m[i][j] = a[j][i];
        }
    }
    return m;
}

// i → j along one or more arrows: the arrows, then every path one arrow
// longer, until no new arrow comes.
boolean_matrix transitive_hull(const boolean_matrix& a) {
    for (boolean_matrix hull = a;;) {
        const boolean_matrix longer = sum(hull, product(hull, a));
        if (longer == hull) {
            return hull;
        }
        hull = longer;
    }
}

// The arrow lists of a matrix, as the section writes them, for a failure's
// message.
std::string arrows(const boolean_matrix& m, const letters& l) {
    std::string text;
    for (std::size_t i = 0; i < m.size(); ++i) {
        std::string targets;
        for (std::size_t j = 0; j < m.size(); ++j) {
            if (m[i][j]) {
                targets += (targets.empty() ? "" : ", ") + l.name(j).substr(1, 1);
            }
        }
        if (!targets.empty()) {
            text += (text.empty() ? "" : "; ") + l.name(i).substr(1, 1) + " → " + targets;
        }
    }
    return text.empty() ? "all 0" : text;
}

// ---- What the tables' cells say ----

// The text of a cell without its remark: what follows a colon, or stands in
// parentheses at the end, explains, and is not read.
std::string without_remark(std::string text) {
    if (const std::size_t colon = text.find(": "); colon != std::string::npos) {
        text.resize(colon);
    }
    if (const std::size_t open = text.rfind(" ("); open != std::string::npos && text.ends_with(")")) {
        text.resize(open);
    }
    return text;
}

// An arrow list, "A → C, F; B → E": for each letter with arrows, the letters
// it is related to. nullopt when the text is no arrow list.
std::optional<boolean_matrix> arrow_list(std::string_view text, const letters& l) {
    boolean_matrix m = filled(l.count, false);
    std::vector<bool> listed(l.count, false);
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t end = std::min(text.find("; ", from), text.size());
        const std::string_view group = text.substr(from, end - from);
        const std::size_t arrow = group.find(" → ");
        const auto source = l.index(group.substr(0, arrow));
        if (arrow == std::string_view::npos || !source || listed[*source]) {
            return std::nullopt;
        }
        listed[*source] = true;
        std::string_view targets = group.substr(arrow + std::string_view(" → ").size());
        for (std::size_t at = 0; at <= targets.size();) {
            const std::size_t comma = std::min(targets.find(", ", at), targets.size());
            const auto target = l.index(targets.substr(at, comma - at));
            if (!target) {
                return std::nullopt;
            }
            m[*source][*target] = true;
            at = comma + 2;
        }
        from = end + 2;
    }
    return m;
}

using named_matrices = std::map<std::string, boolean_matrix>;

// described returns the matrix that a cell describes: an arrow list, "all
// 0", "all 1", "the identity", a matrix of the first table by its title
// ("Matrix 2", "Matrix 2 again") or "Matrix 2 with the diagonal added";
// nullopt for any other phrase.
std::optional<boolean_matrix> described(const std::string& cell, const named_matrices& named,
                                        const letters& l) {
    const std::string text = without_remark(cell);
    if (text == "all 0" || text == "all 1") {
        return filled(l.count, text == "all 1");
    }
    if (text == "the identity") {
        return identity(l.count);
    }
    for (const auto& [title, m] : named) {
        if (text == title || text == title + " again") {
            return m;
        }
        if (text == title + " with the diagonal added") {
            return sum(m, identity(l.count));
        }
    }
    return arrow_list(text, l);
}

// What the computed column names: an operation and its operands, the
// matrices of the first table by their titles.
struct computation {
    std::string operation;  // "×", "+", "transposed", "transitive hull", "reflexive-transitive hull"
    std::vector<std::string> operands;
};

// computed_by reads "Matrix 1 × Matrix 2", "Matrix 1 + Matrix 2", "Matrix 2
// transposed", "(the) transitive hull of Matrix 3" or "(the)
// reflexive-transitive hull of Matrix 3"; nullopt for any other phrase.
std::optional<computation> computed_by(const std::string& cell) {
    std::string text = without_remark(cell);
    if (text.starts_with("the ")) {
        text.erase(0, 4);
    }
    for (const std::string operation : {"×", "+"}) {
        if (const std::size_t at = text.find(" " + operation + " "); at != std::string::npos) {
            return computation{operation, {text.substr(0, at), text.substr(at + operation.size() + 2)}};
        }
    }
    if (text.ends_with(" transposed")) {
        return computation{"transposed",
                           {text.substr(0, text.size() - std::string_view(" transposed").size())}};
    }
    for (const std::string hull : {"reflexive-transitive hull", "transitive hull"}) {
        if (text.starts_with(hull + " of ")) {
            return computation{hull, {text.substr(hull.size() + 4)}};
        }
    }
    return std::nullopt;
}

std::optional<boolean_matrix> value_of(const computation& c, const named_matrices& named, std::size_t n) {
    std::vector<boolean_matrix> operands;
    for (const std::string& title : c.operands) {
        const auto m = named.find(title);
        if (m == named.end()) {
            return std::nullopt;
        }
        operands.push_back(m->second);
    }
    if (c.operation == "×") {
        return product(operands.at(0), operands.at(1));
    }
    if (c.operation == "+") {
        return sum(operands.at(0), operands.at(1));
    }
    if (c.operation == "transposed") {
        return transposed(operands.at(0));
    }
    const boolean_matrix hull = transitive_hull(operands.at(0));
    return c.operation == "transitive hull" ? hull : sum(hull, identity(n));
}

// The operation that a title's German word names, the longer word first.
void expect_title_names(const std::string& title, const computation& c, const std::string& place) {
    const std::pair<std::string, std::string> words[] = {
        {"Produkt", "×"},
        {"Summe", "+"},
        {"transpon", "transposed"},
        {"ReflexTransHuelle", "reflexive-transitive hull"},
        {"TransHuelle", "transitive hull"},
    };
    for (const auto& [word, operation] : words) {
        if (title.find(word) != std::string::npos) {
            EXPECT_EQ(c.operation, operation) << place << ": the title " << title;
            break;
        }
    }
}

struct titled_computation {
    std::string title;
    computation computed;
    std::string place;  // of the README's row
};

// The paragraph before the results names the operands of every result: the
// second of each product and sum, the first of two titles, the operands of
// the general case's transpose and hulls, and that of each special case,
// "Mat4" standing for "Matrix 4".
void expect_operands_as_the_paragraph_says(const std::vector<titled_computation>& results) {
    const sentence products = test_support::sentence_with(
        readme(),
        "A product or a sum always takes `{}` as its second operand; its first is {} {} in `{}` and `{}`.");
    const sentence general = test_support::sentence_with(
        readme(),
        "`{}` transposes {} {}, and the two hulls without `{}` or `{}` in their titles are those of {} {}.");
    const sentence special = test_support::sentence_with(
        readme(),
        "In the titles that name `{}` or `{}`, that matrix is the first operand of the product and the sum, "
        "and the matrix transposed or closed");
    const auto words = [](const sentence& s, std::size_t i) {
        return s.blanks.at(i) + " " + s.blanks.at(i + 1);
    };
    const std::vector<std::string> specials = {special.blanks.at(0), special.blanks.at(1)};
    EXPECT_EQ(specials, (std::vector<std::string>{general.blanks.at(3), general.blanks.at(4)}))
        << general.place;
    std::size_t general_hulls = 0;
    for (const titled_computation& r : results) {
        const auto& [operation, operands] = r.computed;
        if (operation == "×" || operation == "+") {
            EXPECT_EQ(operands.back(), products.blanks.at(0))
                << r.place << ": as " << products.place << " says";
        }
        if (r.title == products.blanks.at(3) || r.title == products.blanks.at(4)) {
            EXPECT_EQ(operands.front(), words(products, 1))
                << r.place << ": as " << products.place << " says";
        }
        const auto named = std::ranges::find_if(
            specials, [&](const std::string& name) { return r.title.find(name) != std::string::npos; });
        if (named != specials.end()) {
            // "Mat4" names "Matrix 4".
            EXPECT_EQ(operands.front(), "Matrix " + named->substr(3))
                << r.place << ": as " << special.place << " says";
        } else if (operation.ends_with("hull")) {
            ++general_hulls;
            EXPECT_EQ(operands.front(), words(general, 5)) << r.place << ": as " << general.place << " says";
        }
        if (r.title == general.blanks.at(0)) {
            EXPECT_EQ(operation, "transposed") << r.place;
            EXPECT_EQ(operands.front(), words(general, 1)) << r.place << ": as " << general.place << " says";
        }
    }
    EXPECT_EQ(general_hulls, 2U) << general.place << ": the two hulls";
}

// ---- The tables of the section ----

struct titled_matrix {
    std::string title;
    boolean_matrix matrix;
    std::string place;  // of the README's row
};

std::string title_of(const test_support::table_row& row) {
    const std::vector<std::string> spans = code_spans(row.cells.at(0));
    EXPECT_EQ(spans.size(), 1U) << readme().place(row.line) << ": the title is one code span";
    return spans.empty() ? "" : spans.front();
}

// The matrices that the section's two tables name, the five first, then the
// fifteen results, each result computed as its row says and held against
// what its result column says.
std::vector<titled_matrix> readme_matrices(const letters& l) {
    const auto start = test_support::table_with_header(readme(), {"title", "matrix"});
    const auto results = test_support::table_with_header(readme(), {"title", "computed", "result"});
    const sentence starts_from = test_support::sentence_with(readme(), "The {} matrices it starts from");
    const sentence computed = test_support::sentence_with(readme(), "The {} results, printed in the order");
    EXPECT_EQ(start.rows.size(), starts_from.number(0)) << starts_from.place;
    EXPECT_EQ(results.rows.size(), computed.number(0)) << computed.place;

    std::vector<titled_matrix> all;
    std::vector<titled_computation> computations;
    named_matrices named;
    for (const auto& row : start.rows) {
        const std::string place = readme().place(row.line);
        const std::string title = title_of(row);
        const auto m = described(row.cells.at(1), named, l);
        if (!m) {
            ADD_FAILURE() << place << ": a matrix the test cannot read: " << row.cells.at(1);
            continue;
        }
        named[title] = *m;
        all.push_back({title, *m, place});
    }
    for (const auto& row : results.rows) {
        const std::string place = readme().place(row.line);
        const std::string title = title_of(row);
        const auto c = computed_by(row.cells.at(1));
        const auto value = c ? value_of(*c, named, l.count) : std::nullopt;
        if (!value) {
            ADD_FAILURE() << place << ": a computation the test cannot read: " << row.cells.at(1);
            continue;
        }
        expect_title_names(title, *c, place);
        computations.push_back({title, *c, place});
        const auto said = described(row.cells.at(2), named, l);
        if (!said) {
            ADD_FAILURE() << place << ": a result the test cannot read: " << row.cells.at(2);
        } else {
            EXPECT_EQ(*said, *value) << place << ": " << row.cells.at(2) << ", but " << row.cells.at(1)
                                     << " is " << arrows(*value, l);
        }
        all.push_back({title, *value, place});
    }
    expect_operands_as_the_paragraph_says(computations);
    return all;
}

// ---- lintaro's report, read as the section lays it out ----

// The layout of a table, read from the section's sentences: its lines, its
// header, and the cells of a row.
struct layout {
    std::size_t lines = 0;
    std::string header;
    std::size_t cell_width = 0;
    std::string place;  // of the sentence of the table's lines
};

layout section_layout(const letters& l) {
    const sentence table = test_support::sentence_with(
        readme(),
        "Each table is {} lines: two empty lines, the title alone on its line, an empty line, the header, an "
        "empty line, {} rows, and an empty line.");
    const sentence header = test_support::sentence_with(
        readme(),
        "The header is {} blanks followed by `{}`, the names with their apostrophes and nothing between");
    const sentence row = test_support::sentence_with(
        readme(),
        "A row is the letter's name (`{}`), a blank and a colon, then {} cells of {} characters each, "
        "`{}` or `{}` (two blanks and the digit), nothing after the last.");
    // Two empty lines, the title, an empty line, the header, an empty line,
    // the rows and an empty line.
    const std::size_t rows = table.number(1);
    EXPECT_EQ(rows, l.count) << table.place;
    EXPECT_EQ(table.number(0), 2 + 1 + 1 + 1 + 1 + rows + 1) << table.place;
    std::string names;
    for (std::size_t i = 0; i < l.count; ++i) {
        names += l.name(i);
    }
    EXPECT_EQ(header.blanks.at(1), names) << header.place;
    EXPECT_EQ(row.blanks.at(0), l.name(0)) << row.place;
    EXPECT_EQ(row.number(1), l.count) << row.place;
    const std::size_t width = row.number(2);
    EXPECT_EQ(row.blanks.at(3), std::string(width - 1, ' ') + "1") << row.place;
    EXPECT_EQ(row.blanks.at(4), std::string(width - 1, ' ') + "0") << row.place;
    // "So every digit stands under the letter of its column's name."
    const std::string header_line = std::string(header.number(0), ' ') + names;
    const std::size_t row_name = l.name(0).size() + 2;  // "'A' :"
    for (std::size_t j = 0; j < l.count; ++j) {
        const std::size_t digit = row_name + j * width + width - 1;
        EXPECT_EQ(header_line.substr(std::min(digit, header_line.size()), 1), l.name(j).substr(1, 1))
            << row.place << ": the digit of column " << l.name(j);
    }
    return {table.number(0), header_line, width, table.place};
}

struct printed_table {
    std::string title;
    boolean_matrix matrix;
};

// read_tables reads the report as tables of the layout; a line out of place
// fails, naming the layout's sentence and the report's line.
std::vector<printed_table> read_tables(const std::vector<std::string>& lines, const layout& form,
                                       const letters& l) {
    std::vector<printed_table> tables;
    for (std::size_t base = 0; base + form.lines <= lines.size(); base += form.lines) {
        const auto line = [&](std::size_t i) -> const std::string& { return lines[base + i]; };
        const auto wrong = [&](std::size_t i, std::string_view expected) {
            ADD_FAILURE() << form.place << ": lintaro's line " << base + i + 1 << " is \"" << line(i)
                          << "\", where the layout has " << expected;
        };
        for (const std::size_t empty :
             {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{5}, form.lines - 1}) {
            if (!line(empty).empty()) {
                wrong(empty, "an empty line");
            }
        }
        if (line(4) != form.header) {
            wrong(4, "the header \"" + form.header + "\"");
        }
        printed_table t{line(2), filled(l.count, false)};
        for (std::size_t i = 0; i < l.count; ++i) {
            const std::string& row = line(6 + i);
            const std::string name = l.name(i) + " :";
            if (row.size() != name.size() + l.count * form.cell_width || !row.starts_with(name)) {
                wrong(6 + i, "the row of " + l.name(i));
                continue;
            }
            for (std::size_t j = 0; j < l.count; ++j) {
                const std::string cell = row.substr(name.size() + j * form.cell_width, form.cell_width);
                const std::string blanks(form.cell_width - 1, ' ');
                if (cell != blanks + "0" && cell != blanks + "1") {
                    wrong(6 + i, "the cell \"" + blanks + "0\" or \"" + blanks + "1\"");
                }
                t.matrix[i][j] = cell.ends_with('1');
            }
        }
        tables.push_back(std::move(t));
    }
    return tables;
}

// lintaro prints the section's matrices, in the order of its two tables, as
// tables laid out as the section says and nothing else.
TEST(ReadmeMatrices, LintaroPrintsTheSectionsMatricesUnderTheirTitles) {
    const letters l = section_letters();
    ASSERT_GT(l.count, 0U);
    const std::vector<titled_matrix> expected = readme_matrices(l);
    EXPECT_EQ(expected.size(), l.tables) << "the tables of lintaro's section";
    const layout form = section_layout(l);

    const test_support::text_lines report = test_support::lines_of(test_support::report_of("lintaro"));
    EXPECT_TRUE(report.complete) << "lintaro's last line has no line end";
    ASSERT_EQ(report.lines.size(), expected.size() * form.lines)
        << form.place << ": lintaro's report holds " << report.lines.size() << " lines";
    const std::vector<printed_table> printed = read_tables(report.lines, form, l);
    ASSERT_EQ(printed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(printed[i].title, expected[i].title) << expected[i].place << ": table " << i + 1;
        EXPECT_EQ(printed[i].matrix, expected[i].matrix)
            << expected[i].place << ": lintaro prints " << arrows(printed[i].matrix, l) << " under "
            << printed[i].title;
    }
}

}  // namespace
