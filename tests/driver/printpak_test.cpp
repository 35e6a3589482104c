// The tree printer: bar-list operations, the worked drawings, the drawing of
// parsed programs against the layout rule written out directly, and the
// drawing against the plain reference on large generated trees.
#include "driver/printpak.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/program.hpp"
#include "tests/support/arena_watch.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"
#include "tests/support/reference_printpak.hpp"
#include "tests/support/while_programs.hpp"
#include "tests/support/while_tree.hpp"

namespace {

namespace reference = test_support::reference_printpak;

// The blocks in which printgb hands its text on.
constexpr std::size_t printpak_block = std::size_t{1} << 20;

using comtypes::alphabet;
using comtypes::grbaum;
using comtypes::grknoten;

// Bar lists from pictures such as "|-|": '|' a level with a bar, '-' one
// without; as printpak keeps them and as the reference's linked cells.
printpak::bar_levels levels_of(std::string_view picture) {
    printpak::bar_levels levels;
    for (const char c : picture) {
        if (c == '|') {
            levels.with_bar.push_back(levels.bars.size() / 3);
        }
        levels.bars += c == '|' ? "  |" : "   ";
    }
    return levels;
}

reference::strichliste cells_of(std::string_view picture) {
    reference::strichliste head = nullptr;
    reference::strichliste* slot = &head;
    for (const char c : picture) {
        *slot = common::make<reference::strichknoten>(c == '|', nullptr);
        slot = &(*slot)->next;
    }
    return head;
}

// The picture of the bars; the levels noted with a bar must be those that
// show one.
std::string picture_of(const printpak::bar_levels& levels) {
    std::string picture;
    std::vector<std::size_t> shown;
    for (std::size_t at = 0; at < levels.bars.size(); at += 3) {
        const std::string_view level = std::string_view(levels.bars).substr(at, 3);
        picture += level == "  |" ? '|' : level == "   " ? '-' : '?';
        if (level == "  |") {
            shown.push_back(at / 3);
        }
    }
    return shown == levels.with_bar ? picture : picture + " (bars noted elsewhere)";
}

std::string picture_of(reference::strichliste s) {
    std::string picture;
    for (; s != nullptr; s = s->next) {
        picture += s->b ? '|' : '-';
    }
    return picture;
}

grbaum parse(std::string_view program) {
    grbaum tree = nullptr;
    common::run_on_large_stack([&] { tree = test_support::grammar_tree(program); });
    EXPECT_NE(tree, nullptr) << program.substr(0, 80);
    return tree;
}

using draw_function = void (*)(grbaum, common::text_writer&);

void product_drawing(grbaum tree, common::text_writer& file) {
    printpak::printgb(tree, file, true);
}

// The reference recurses about three calls deeper per statement of a list.
void reference_drawing(grbaum tree, common::text_writer& file) {
    common::run_on_large_stack([&] { reference::printgb(tree, file, true); });
}

// Draws into a file with `draw` (printgb by default) and returns what the
// file holds before closing, so the line end that closing adds is not part of
// the drawing.
std::string drawing_of(grbaum tree, draw_function draw = product_drawing) {
    const auto drawn = test_support::into_file([&](common::text_writer& file) { draw(tree, file); });
    EXPECT_EQ(drawn.error, "");
    return drawn.text;
}

// The layout rule, straight from its wording: after "\nProgramm\n" every node
// below the root in preorder gets a bar line and a node line under the prefix
// of its ancestors; class-named terminals get their text as if it were their
// only child; three blanks end the drawing.
bool is_class_named(alphabet a) {
    return a == alphabet::NAMET || a == alphabet::ZAHLT || a == alphabet::ROPT || a == alphabet::OPT;
}

std::string label_of(grbaum x) {
    switch (x->al) {
        case alphabet::ANWF:
            return "AnwF";
        case alphabet::ANW:
            return "Anw";
        case alphabet::AUSDRUCK:
            return "Ausdruck";
        case alphabet::BEDINGUNG:
            return "Bedingung";
        case alphabet::LEEREANWEISUNG:
            return "leereAnweisung";
        case alphabet::ZUWEISUNG:
            return "Zuweisung";
        case alphabet::BEDINGTEANWEISUNG:
            return "bedingteAnweisung";
        case alphabet::SCHLEIFE:
            return "Schleife";
        case alphabet::NAMET:
            return "NameT";
        case alphabet::ZAHLT:
            return "ZahlT";
        case alphabet::ROPT:
            return "ropT";
        case alphabet::OPT:
            return "opT";
        default:
            return std::string(x->exp());
    }
}

void layout_of_children(grbaum first, const std::string& prefix, std::string& out) {
    for (grbaum x = first; x != nullptr; x = x->rest) {
        out += prefix + "  |\n" + prefix + "  |_ " + label_of(x) + "\n";
        const std::string below = prefix + (x->rest != nullptr ? "  |" : "   ");
        if (is_class_named(x->al)) {
            out += below + "  |\n" + below + "  |_ " + std::string(x->exp()) + "\n";
        } else if (comtypes::isnonterminal(x)) {
            layout_of_children(x->knoten(), below, out);
        }
    }
}

std::string layout_of(grbaum root) {
    std::string out = "\nProgramm\n";
    layout_of_children(root->knoten(), "", out);
    return out + "   ";
}

TEST(Strichliste, BarsAndLength) {
    EXPECT_EQ(printpak::macheleerzeichen(nullptr), "");
    EXPECT_EQ(printpak::get_strichlisten_length(nullptr), 0);
    printpak::bar_levels levels = levels_of("|-|");
    EXPECT_EQ(printpak::macheleerzeichen(&levels), "  |     |");
    EXPECT_EQ(printpak::get_strichlisten_length(&levels), 3);
}

// Each case runs on printpak's levels and on the reference's linked cells:
// the two forms change the list alike, in place, and return what they were
// given.
TEST(Strichliste, OperationsChangeTheListInPlace) {
    enum class operation { reduce, extend, extend_to };
    struct change {
        std::string_view before;
        operation op;
        int n;
        std::string_view after;
    };
    // clang-format off
    const std::vector<change> cases = {
        {"|", operation::reduce, 0, "-"},            // one level loses its bar and stays
        {"-", operation::reduce, 0, "-"},
        {"|-||", operation::reduce, 0, "|-|"},       // the innermost level is not looked at
        {"||-", operation::reduce, 0, "||"},
        {"|-|-", operation::reduce, 0, "|-|"},
        {"--|", operation::reduce, 0, "-"},          // no bar before the innermost: cut after level 1
        {"-|--", operation::reduce, 0, "-|"},
        {"|", operation::extend, 3, "|--|"},
        {"-|", operation::extend, 1, "-||"},
        {"|", operation::extend, 0, "|"},
        {"|", operation::extend, -2, "|"},
        {"|", operation::extend_to, 3, "|-|"},
        {"|-|", operation::extend_to, 3, "|-|"},
        {"|||||", operation::extend_to, 3, "|||"},   // one reduction after another
        {"|--|-|", operation::extend_to, 2, "||"},   // reduced to "|" then extended
        {"-----", operation::extend_to, 1, "-"},
        {"||", operation::extend_to, 1, "|"},        // reduced to the target, nothing more
    };
    // clang-format on
    for (const change& c : cases) {
        printpak::bar_levels levels = levels_of(c.before);
        reference::strichliste cells = cells_of(c.before);
        printpak::strichliste returned = nullptr;
        reference::strichliste returned_cells = nullptr;
        switch (c.op) {
            case operation::reduce:
                returned = printpak::reducelist(&levels);
                returned_cells = reference::reducelist(cells);
                break;
            case operation::extend:
                returned = printpak::extendlist(&levels, c.n);
                returned_cells = reference::extendlist(cells, c.n);
                break;
            case operation::extend_to:
                returned = printpak::extendlist2(&levels, c.n);
                returned_cells = reference::extendlist2(cells, c.n);
                break;
        }
        const std::string what = std::string(c.before) + " op " + std::to_string(static_cast<int>(c.op)) +
                                 " n " + std::to_string(c.n);
        EXPECT_EQ(returned, &levels) << what;
        EXPECT_EQ(picture_of(levels), c.after) << what;
        EXPECT_EQ(returned_cells, cells) << what;
        EXPECT_EQ(picture_of(cells), c.after) << what;
    }
}

TEST(Strichliste, EmptyListOrTooShortATargetIsACheckError) {
    EXPECT_THROW(printpak::reducelist(nullptr), common::named_error);
    EXPECT_THROW(printpak::extendlist(nullptr, 1), common::named_error);
    EXPECT_THROW(printpak::extendlist(nullptr, 0), common::named_error);
    EXPECT_THROW(printpak::extendlist2(nullptr, 1), common::named_error);
    EXPECT_THROW(printpak::extendlist2(nullptr, -1), common::named_error);
    EXPECT_EQ(printpak::extendlist2(nullptr, 0), nullptr);  // already of that length
    // Below one level the reduction could never end.
    printpak::bar_levels one = levels_of("|");
    EXPECT_THROW(printpak::extendlist2(&one, 0), common::named_error);
    const std::string error = test_support::raised([] { printpak::reducelist(nullptr); });
    EXPECT_TRUE(error.starts_with(test_support::report_in(common::check_error_name, "printpak"))) << error;
}

TEST(Printgb, WorkedDrawings) {
    struct worked {
        std::string_view program;
        std::string_view expected_file;
    };
    const std::vector<worked> cases = {
        {"x := 1", "driver/tree_assignment.txt"},
        {"while x < 5 do skip od; y := 2", "driver/tree_loop_then_assignment.txt"},
        {"if x = 1 then skip else while y > 0 do skip od fi", "driver/tree_if_and_while.txt"},
        {"x := 1; skip; y := x", "driver/tree_three_statements.txt"},
    };
    for (const worked& w : cases) {
        const grbaum tree = parse(w.program);
        const std::string expected = test_support::read_file(test_support::data_path(w.expected_file));
        EXPECT_EQ(drawing_of(tree), expected) << w.program;
        // The screen gets the same characters; the file is not touched.
        const auto screen = test_support::on_screen([tree] {
            common::out_file never_opened;
            printpak::printgb(tree, never_opened, false);
        });
        EXPECT_EQ(screen.error, "");
        EXPECT_EQ(screen.text, expected) << w.program;
    }
}

TEST(Printgb, DrawingFollowsTheLayoutRule) {
    const std::vector<std::string_view> programs = {
        "x := 1",
        "while x < 5 do skip od; y := 2",
        "skip; skip; skip",
        "if x = 1 then y := (x + 2) else while y > 0 do skip od fi",
        "x := ((a * b) - (c div 2)); y := 3",
        "while (x + 1) >= y do if x < 0 then skip else skip; x := (x mod 2) fi; z := 0 od; skip",
        "if a /= b then if b <= 7 then skip else skip fi else x := (1 + (2 + (3 + 4))) fi",
    };
    for (const std::string_view program : programs) {
        const grbaum tree = parse(program);
        EXPECT_EQ(drawing_of(tree), layout_of(tree)) << program;
    }
}

// Truth-value conditions come from no program text, so the test hangs a
// TRUET or FALSET leaf, by turns, under every condition of a parsed tree.
void truth_values_for_conditions(grbaum node, bool& next) {
    for (; node != nullptr; node = node->rest) {
        if (node->al == alphabet::BEDINGUNG) {
            node->knoten() = next ? common::make<grknoten>(alphabet::TRUET, "true")
                                  : common::make<grknoten>(alphabet::FALSET, "false");
            next = !next;
        } else if (comtypes::isnonterminal(node)) {
            truth_values_for_conditions(node->knoten(), next);
        }
    }
}

TEST(Printgb, TruthValueConditionsFollowTheLayoutRule) {
    const grbaum tree =
        parse("while x < 1 do if x = 1 then skip else skip fi od; if y > 2 then skip else skip fi");
    bool next = true;
    truth_values_for_conditions(tree, next);
    const std::string drawing = drawing_of(tree);
    EXPECT_EQ(drawing, layout_of(tree));
    EXPECT_NE(drawing.find("|_ true\n"), std::string::npos);
    EXPECT_NE(drawing.find("|_ false\n"), std::string::npos);
}

TEST(Printgb, EachFurtherStatementStandsThreeColumnsFurtherRight) {
    const std::string drawing = drawing_of(parse("skip; skip; skip"));
    std::vector<std::size_t> bar_columns;
    for (std::size_t at = drawing.find("|_ leereAnweisung"); at != std::string::npos;
         at = drawing.find("|_ leereAnweisung", at + 1)) {
        bar_columns.push_back(at - drawing.rfind('\n', at));  // 1-based column of the bar
    }
    EXPECT_EQ(bar_columns, (std::vector<std::size_t>{9, 12, 15}));
}

TEST(Printgb, NullTreeWritesNothing) {
    EXPECT_EQ(drawing_of(nullptr), "");
}

TEST(Printgb, StatementWithoutChildren) {
    grbaum skip = common::make<grknoten>(alphabet::LEEREANWEISUNG);
    grbaum anw = common::make<grknoten>(alphabet::ANW);
    anw->knoten() = skip;
    grbaum anwf = common::make<grknoten>(alphabet::ANWF);
    anwf->knoten() = anw;
    grbaum root = common::make<grknoten>(alphabet::PROGRAMM);
    root->knoten() = anwf;
    EXPECT_EQ(drawing_of(root),
              test_support::read_file(test_support::data_path("driver/tree_statement_without_children.txt")));
}

TEST(Printgb, RootOtherThanProgrammIsACheckErrorBeforeAnyOutput) {
    grbaum anw = common::make<grknoten>(alphabet::ANW);
    anw->knoten() = common::make<grknoten>(alphabet::LEEREANWEISUNG);
    grbaum childless = common::make<grknoten>(alphabet::ANW);  // meets no list operation
    for (const grbaum root : {anw, childless}) {
        const auto drawn =
            test_support::into_file([&](common::text_writer& file) { printpak::printgb(root, file, true); });
        EXPECT_EQ(test_support::error_name(drawn.error), common::check_error_name);
        EXPECT_EQ(drawn.text, "");
    }
}

TEST(Printgb, DeepTreeNeedsNoDeepStack) {
    // A thousand nested loops make a tree about 3,000 levels deep; drawn on
    // a small stack, so the walk may not grow the stack with the tree.
    const grbaum tree = parse(test_support::nested_loops(1'000));
    common::run_on_large_stack(
        [tree] {
            common::out_file sink;
            sink.create("/dev/null");
            printpak::printgb(tree, sink, true);
            sink.close();
        },
        std::size_t{256} << 10);
}

// ---- The drawing against the plain reference, on large generated trees ----

// `count` statements, the four forms by turns.
std::string long_list(int count) {
    const std::vector<std::string_view> forms = {
        "x := (y + 1)",
        "skip",
        "if a < 1 then skip else b := 2 fi",
        "while c >= d do e := ((e * 2) mod 7) od",
    };
    std::string program(forms[0]);
    for (int i = 1; i < count; ++i) {
        program += "; ";
        program += forms[static_cast<std::size_t>(i) % forms.size()];
    }
    return program;
}

// `depth` conditional statements, each inside the then or else branch of the
// one around it by turns, with a list in every branch.
std::string alternating_ifs(int depth) {
    std::string opening;
    std::string closing;
    for (int i = 0; i < depth; ++i) {
        if (i % 2 == 0) {
            opening += "if x = 1 then skip; ";
            closing = " else skip fi" + closing;
        } else {
            opening += "if x /= 2 then skip else y := 3; ";
            closing = "; skip fi" + closing;
        }
    }
    return opening + "z := 0" + closing;
}

// Expressions nested `depth` deep, to the left and to the right.
std::string two_sided_expressions(int depth) {
    std::string left = "x := ";
    std::string right = "; y := ";
    for (int i = 0; i < depth; ++i) {
        left += '(';
        right += "(1 - ";
    }
    left += 'y';
    right += 'x';
    for (int i = 0; i < depth; ++i) {
        left += " * 2)";
        right += ')';
    }
    return left + right;
}

// Shapes no parse gives, which the drawing still follows: a truth value for
// every third condition, no children for every fifth assignment and every
// eleventh statement, and every seventh statement list hung below a PROGRAMM
// node of its own.
void hang_odd_shapes(grbaum* slot, int& count) {
    for (; *slot != nullptr; slot = &(*slot)->rest) {
        const grbaum node = *slot;
        ++count;
        if (node->al == alphabet::ANWF && count % 7 == 0) {
            const grbaum program = common::make<grknoten>(alphabet::PROGRAMM);
            program->rest = node->rest;
            node->rest = nullptr;
            program->knoten() = node;
            *slot = program;
        }
        if (node->al == alphabet::BEDINGUNG && count % 3 == 0) {
            node->knoten() = common::make<grknoten>(alphabet::TRUET, "true");
        } else if ((node->al == alphabet::ZUWEISUNG && count % 5 == 0) ||
                   (node->al == alphabet::ANW && count % 11 == 0)) {
            node->knoten() = nullptr;
        } else if (comtypes::isnonterminal(node)) {
            hang_odd_shapes(&node->knoten(), count);
        }
    }
}

// Where two drawings part, for a failure that stays readable on texts of
// megabytes.
std::string where_they_part(const std::string& drawn, const std::string& reference) {
    const auto [at, _] = std::mismatch(drawn.begin(), drawn.end(), reference.begin(), reference.end());
    if (drawn.size() == reference.size() && at == drawn.end()) {
        return "nowhere";
    }
    const auto offset = static_cast<std::size_t>(at - drawn.begin());
    return "at byte " + std::to_string(offset) + " of " + std::to_string(drawn.size()) + " and " +
           std::to_string(reference.size()) + ": \"" + drawn.substr(offset, 40) + "\" against \"" +
           reference.substr(offset, 40) + "\"";
}

TEST(Printgb, FastDrawingAgreesWithTheListOperations) {
    std::vector<std::string> programs = {
        long_list(400),
        test_support::nested_loops(300),
        alternating_ifs(200),
        two_sided_expressions(400),
    };
    for (unsigned seed = 1; seed <= 8; ++seed) {
        programs.push_back(test_support::program_generator(seed).program(60, 4));
    }
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const grbaum tree = parse(programs[i]);
        const std::string expected = drawing_of(tree, reference_drawing);
        EXPECT_GT(expected.size(), std::size_t{10'000}) << "program " << i;
        EXPECT_EQ(where_they_part(drawing_of(tree), expected), "nowhere") << "program " << i;
    }
    for (std::size_t i = 4; i < programs.size(); ++i) {
        grbaum tree = parse(programs[i]);
        int count = 0;
        hang_odd_shapes(&tree->knoten(), count);
        const std::string expected = drawing_of(tree, reference_drawing);
        EXPECT_EQ(where_they_part(drawing_of(tree), expected), "nowhere") << "odd program " << i;
        for (const std::string_view shape : {"|_ true\n", "_ HIER NULL!\n", "Programm\n"}) {
            EXPECT_NE(expected.find(shape, 11), std::string::npos)
                << "odd program " << i << " lacks " << shape;
        }
    }
}

// An error in the middle of a drawing leaves what was drawn before it, as
// the reference's piece-by-piece writing does, and the first error is the
// one that leaves: a node of no grammar symbol after the whole tree stops
// the walk with the check error; /dev/full refuses every write. A drawing
// within one block meets the device only when it is handed on after the
// error; a longer one meets it at its first block.
TEST(Printgb, ErrorsLeaveWhatWasDrawnAndTheFirstErrorStands) {
    struct failure {
        std::string_view what;
        std::string program;
        bool beyond_a_block;
        bool unknown_node_last;
        bool onto_full_device;
        std::string_view error;
    };
    const std::vector<failure> cases = {
        {"unknown node after blocks", long_list(400), true, true, false, common::check_error_name},
        {"unknown node, then a refused write", long_list(30), false, true, true, common::check_error_name},
        {"refused write", long_list(400), true, false, true, common::use_error_name},
    };
    for (const failure& f : cases) {
        const grbaum tree = parse(f.program);
        if (f.unknown_node_last) {
            tree->rest = common::make<grknoten>(static_cast<alphabet>(comtypes::alphabet_count), "?");
        }
        const auto expected =
            test_support::into_file([&](common::text_writer& file) { reference_drawing(tree, file); });
        EXPECT_EQ(expected.text.size() > printpak_block, f.beyond_a_block) << f.what;
        EXPECT_GT(expected.text.size(), common::largest_output_block) << f.what;
        if (f.onto_full_device) {
            common::out_file full;
            full.create("/dev/full");
            EXPECT_EQ(test_support::raised_name([&] { product_drawing(tree, full); }), f.error) << f.what;
            (void)test_support::raised([&] { full.close(); });
        } else {
            const auto drawn =
                test_support::into_file([&](common::text_writer& file) { product_drawing(tree, file); });
            EXPECT_EQ(where_they_part(drawn.text, expected.text), "nowhere") << f.what;
            EXPECT_EQ(test_support::error_name(drawn.error), f.error) << f.what;
            EXPECT_EQ(test_support::error_name(expected.error), f.error) << f.what;
        }
    }
}

TEST(Printgb, DrawingTakesNoCellsFromTheArena) {
    // Bar cells were taken per level and never reused, and each further
    // statement of a list is drawn a level deeper: the memory grew with the
    // square of the program. The drawing keeps the levels of its lists
    // itself, and reuses their room.
    for (const std::string& program : {long_list(2'000), test_support::nested_loops(1'000)}) {
        const grbaum tree = parse(program);
        common::out_file sink;
        sink.create("/dev/null");
        const common::arena_mark before = common::arena_position();
        printpak::printgb(tree, sink, true);
        EXPECT_TRUE(test_support::arena_stands_at(before));
        sink.close();
    }
}

}  // namespace
