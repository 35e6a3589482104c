// Tree printer: the grammar tree as indented text with bars.
//
// A drawing walks the tree once, node after node in preorder, and writes
// every line as the bars of the list followed by the node's text. The bars
// are kept as their text, so a line costs one copy of them; the lines go out
// in large blocks; and the memory grows with the depth of the tree, not with
// the lines drawn.
#include "driver/printpak.hpp"

#include <cstddef>
#include <deque>
#include <iterator>
#include <string_view>
#include <vector>

#include "common/arith.hpp"
#include "common/errors.hpp"
#include "common/rows.hpp"

namespace printpak {
namespace {

using comtypes::alphabet;
using comtypes::grbaum;

constexpr std::string_view bar = "  |";
constexpr std::string_view no_bar = "   ";
constexpr std::size_t level_width = bar.size();

// The node line that a statement node without children gets in place of them.
constexpr std::string_view no_children = "HIER NULL!";

// How a node of a grammar symbol is drawn: the root, a statement list, a
// statement, an expression and a condition each by a step of ausgaben; the
// four statement forms by ausgabeanw; a terminal by ausgabet, with its token
// text (leaf_text), or drawn by its class: the class's label, and the text
// one level deeper (leaf_class).
enum class drawn_by {
    root,
    statement_list,
    statement,
    expression,
    condition,
    statement_form,
    leaf_text,
    leaf_class,
};

// The tree printer's facts about one grammar symbol.
struct symbol_step {
    alphabet symbol;
    drawn_by step;
    std::string_view label;  // drawn for the node; the name handed to ausgabeanw or ausgabet
};

constexpr symbol_step symbol_steps[] = {
#define COMTYPES_SYMBOL(symbol, step, label) {alphabet::symbol, drawn_by::step, label},
#include "frontend/alphabet.def"
};
static_assert(common::one_row_per_value(symbol_steps, &symbol_step::symbol, comtypes::alphabet_count));

const symbol_step& step_of(alphabet a) {
    const auto index = static_cast<std::size_t>(a);
    common::check(index < std::size(symbol_steps), common::here());
    return symbol_steps[index];
}

int one_deeper(int level) {
    return common::add(level, 1, common::here());
}

// Gathers the pieces and hands them on through print in blocks of about a
// mebibyte: a few large writes instead of a write every few lines on the
// long drawings. The owner hands on the rest before it returns or lets an
// error pass.
class in_blocks {
public:
    static constexpr std::size_t block_size = std::size_t{1} << 20;

    in_blocks(common::text_writer& ausg, bool txt) : ausg_(ausg), txt_(txt) { block_.reserve(block_size); }

    void put(std::string_view s) {
        if (block_.size() + s.size() > block_size) {
            hand_on();
            if (s.size() >= block_size) {  // bars deeper than a block go on their own
                print(ausg_, s, txt_);
                return;
            }
        }
        block_ += s;
    }

    // The block is gone after it, written or not: text of a write that
    // failed is not sent a second time.
    void hand_on() {
        if (!block_.empty()) {
            struct emptied {
                std::string& block;
                ~emptied() { block.clear(); }
            } after{block_};
            print(ausg_, block_, txt_);
        }
    }

private:
    common::text_writer& ausg_;
    bool txt_;
    std::string block_;
};

// One drawing: ausgaben with its steps, the output in blocks, and the levels
// of the bar lists it makes.
class drawing {
public:
    drawing(common::text_writer& ausg, bool txt) : out_(ausg, txt) {}

    // ausgaben draws the node `b` with its subtree and then all its
    // following siblings with theirs, at the level `ebene`, and leaves `j` as
    // the list it holds at its end: the same list, or after a PROGRAMM node
    // the list that node made. It goes down the child lists and along the
    // siblings in one loop, the nodes whose step is still to finish on
    // `pending_`, so the call stack stays flat whatever the depth of the tree.
    void ausgaben(grbaum b, strichliste& j, int ebene);

    // hand_on writes out what the blocks still hold.
    void hand_on() { out_.hand_on(); }

private:
    // A node whose child list is being drawn: the rest of its step, then its
    // following siblings.
    struct pending_node {
        grbaum b;
        int ebene;
        bool at_list_length;  // ANWF and ANW: the siblings follow at the length of the list
        bool puts_list_back;  // all but PROGRAMM: j := tmp_strichliste
        strichliste tmp_strichliste;
    };

    // Where the walk goes on after a node's own step: its child list, at
    // the level `e`, when `pending` is set; its siblings otherwise.
    struct descent {
        bool pending;
        grbaum child_list;
        int e;
    };

    in_blocks out_;
    std::vector<pending_node> pending_;
    // The levels of every list made and still within reach, the newest last:
    // the current list is the newest, and a list put back is older than
    // every list made since, which are then out of reach.
    std::deque<bar_levels> lists_;

    void put(std::string_view s) { out_.put(s); }

    // The text of a node line, after the bars: "_ ", the label, a line end.
    void put_node_line(std::string_view label) {
        put("_ ");
        put(label);
        put("\n");
    }

    strichliste new_list();
    void put_back(strichliste& j, strichliste tmp_strichliste);

    descent draw_child_list(const pending_node& after, grbaum knoten, int e);
    descent node_step(grbaum b, strichliste& j, int ebene);
    descent list_step(grbaum b, strichliste& j, int ebene);
    descent ausgabeanw(grbaum b, strichliste& j, int ebene, std::string_view tokenn);
    void ausgabet(grbaum b, strichliste& j, int ebene, std::string_view tokenn);
};

// The list a PROGRAMM node makes: one level, which shows a bar.
strichliste drawing::new_list() {
    lists_.push_back(bar_levels{std::string(bar), {0}});
    return &lists_.back();
}

// j := tmp_strichliste, and the lists made since give back their room.
void drawing::put_back(strichliste& j, strichliste tmp_strichliste) {
    j = tmp_strichliste;
    while (!lists_.empty() && &lists_.back() != tmp_strichliste) {
        lists_.pop_back();
    }
}

void drawing::ausgaben(grbaum b, strichliste& j, int ebene) {
    int e = ebene;
    for (;;) {
        while (b == nullptr) {
            if (pending_.empty()) {
                return;
            }
            const pending_node done = pending_.back();
            pending_.pop_back();
            e = done.at_list_length ? get_strichlisten_length(j) : done.ebene;
            if (done.puts_list_back) {
                put_back(j, done.tmp_strichliste);
            }
            b = done.b->rest;
        }
        const descent next = node_step(b, j, e);
        if (next.pending) {
            b = next.child_list;
            e = next.e;
        } else {
            b = b->rest;  // a leaf's siblings follow at its level
        }
    }
}

// Draw the child list `knoten` at the level `e`; `after` finishes the step.
drawing::descent drawing::draw_child_list(const pending_node& after, grbaum knoten, int e) {
    pending_.push_back(after);
    return descent{true, knoten, e};
}

// Steps 2 and 3 of ausgaben for the node `b`.
drawing::descent drawing::node_step(grbaum b, strichliste& j, int ebene) {
    int e = ebene;
    put("\n");
    put(macheleerzeichen(j));
    const symbol_step& step = step_of(b->al);
    switch (step.step) {
        case drawn_by::root:  // the one node line without "_ "
            put(step.label);
            put("\n");
            j = new_list();
            put(macheleerzeichen(j));
            return draw_child_list({b, ebene, false, false, nullptr}, b->knoten(), e);
        case drawn_by::statement_list:
            put_node_line(step.label);
            reducelist(j);
            extendlist2(j, e);
            return list_step(b, j, e);
        case drawn_by::statement:
            put_node_line(step.label);
            return list_step(b, j, e);
        case drawn_by::expression: {
            put_node_line(step.label);
            const strichliste tmp_strichliste = j;
            if (b->rest == nullptr) {
                reducelist(j);
            }
            e = one_deeper(ebene);
            extendlist2(j, e);
            put(macheleerzeichen(j));
            return draw_child_list({b, ebene, false, true, tmp_strichliste}, b->knoten(), e);
        }
        case drawn_by::condition: {
            put_node_line(step.label);
            e = one_deeper(ebene);
            extendlist2(j, e);
            const strichliste tmp_strichliste = j;
            put(macheleerzeichen(j));
            return draw_child_list({b, ebene, false, true, tmp_strichliste}, b->knoten(), e);
        }
        case drawn_by::statement_form:
            return ausgabeanw(b, j, ebene, step.label);
        case drawn_by::leaf_text:
        case drawn_by::leaf_class:
            ausgabet(b, j, ebene, step.label);
            return descent{false, nullptr, ebene};
    }
    common::check_failed(common::here());
}

// The common part of ANWF and ANW: a node with a following sibling opens a
// column of bars for it; the last node of a list goes one level deeper. The
// siblings follow at the length the list has once the children are drawn.
drawing::descent drawing::list_step(grbaum b, strichliste& j, int ebene) {
    int e = ebene;
    const strichliste tmp_strichliste = j;
    grbaum children = nullptr;
    if (b->rest != nullptr) {
        extendlist(j, 1);
        e = one_deeper(e);
        if (b->knoten() != nullptr) {
            put(macheleerzeichen(j));
            children = b->knoten();
        }
    } else if (b->knoten() != nullptr) {
        reducelist(j);
        e = one_deeper(e);
        extendlist2(j, e);
        put(macheleerzeichen(j));
        children = b->knoten();
    }
    return draw_child_list({b, ebene, true, true, tmp_strichliste}, children, e);
}

// A statement node, drawn under the name `tokenn`; one without children
// says so.
drawing::descent drawing::ausgabeanw(grbaum b, strichliste& j, int ebene, std::string_view tokenn) {
    put_node_line(tokenn);
    reducelist(j);
    const strichliste tmp_strichliste = j;
    const int e = one_deeper(ebene);
    extendlist2(j, e);
    grbaum children = nullptr;
    if (b->knoten() == nullptr) {
        put(macheleerzeichen(j));
        put("\n");
        put(macheleerzeichen(j));
        put_node_line(no_children);
        reducelist(j);
    } else {
        put(macheleerzeichen(j));
        children = b->knoten();
    }
    return draw_child_list({b, ebene, false, true, tmp_strichliste}, children, e);
}

// A terminal node of the class `tokenn`. The four classes of the leaf_class
// rows (NameT, ZahlT, ropT, opT) are drawn by their name with the token text
// one level deeper; the level raised for it is not passed on.
void drawing::ausgabet(grbaum b, strichliste& j, int ebene, std::string_view tokenn) {
    int e = ebene;
    const bool drawn_by_class = step_of(b->al).step == drawn_by::leaf_class;
    if (drawn_by_class) {
        put_node_line(tokenn);
        if (b->rest != nullptr) {
            extendlist(j, 1);
        } else {
            reducelist(j);
            e = one_deeper(e);
            extendlist2(j, e);
        }
        put(macheleerzeichen(j));
        put("\n");
        put(macheleerzeichen(j));
        reducelist(j);
    }
    if (!drawn_by_class && b->rest == nullptr) {
        reducelist(j);
    }
    put_node_line(b->exp());
    put(macheleerzeichen(j));
}

// The guard of every operation that needs a level to work on.
bar_levels& levels_of(strichliste s) {
    return *common::not_null(s, common::here());
}

}  // namespace

void print(common::text_writer& ausg, std::string_view s, bool txt) {
    (txt ? ausg : common::standard_output()).put(s);
}

std::string_view macheleerzeichen(strichliste s) {
    return s == nullptr ? std::string_view() : std::string_view(s->bars);
}

int get_strichlisten_length(strichliste s) {
    return s == nullptr ? 0 : static_cast<int>(s->bars.size() / level_width);
}

strichliste reducelist(strichliste s) {
    bar_levels& levels = levels_of(s);
    const std::size_t length = levels.bars.size() / level_width;
    if (length == 1) {
        levels.bars = no_bar;
        levels.with_bar.clear();
        return s;
    }
    // The innermost level is not looked at; without a bar before it the
    // list keeps its first level.
    std::size_t outer_bars = levels.with_bar.size();
    if (outer_bars > 0 && levels.with_bar.back() == length - 1) {
        --outer_bars;
    }
    const std::size_t kept = outer_bars == 0 ? 1 : levels.with_bar[outer_bars - 1] + 1;
    levels.bars.resize(kept * level_width);
    levels.with_bar.resize(outer_bars);
    return s;
}

strichliste extendlist(strichliste s, int n) {
    bar_levels& levels = levels_of(s);
    if (n <= 0) {
        return s;
    }
    levels.bars.append((static_cast<std::size_t>(n) - 1) * level_width, ' ');
    levels.bars += bar;
    levels.with_bar.push_back(levels.bars.size() / level_width - 1);
    return s;
}

strichliste extendlist2(strichliste s, int n) {
    for (;;) {
        const int length = get_strichlisten_length(s);
        if (length < n) {
            return extendlist(s, n - length);
        }
        if (length == n) {
            return s;
        }
        // A list of one level never gets shorter: below one level the
        // reduction would go on for ever.
        common::check(n >= 1, common::here());
        reducelist(s);
    }
}

void printgb(comtypes::grbaum gb, common::text_writer& ausg, bool txt) {
    // Only a PROGRAMM root makes the bar list; any other root fails here,
    // before a partial drawing, and not at whichever list operation comes
    // first (a childless statement node would meet none at all).
    common::check(gb == nullptr || gb->al == alphabet::PROGRAMM, common::here());
    drawing d(ausg, txt);
    strichliste strichzeiger = nullptr;
    try {
        d.ausgaben(gb, strichzeiger, 1);
    } catch (...) {
        // What was drawn before the error stands, as it would piece by
        // piece. Should that write fail too, the error that came first is
        // the one the program reports.
        try {
            d.hand_on();
        } catch (...) {
        }
        throw;
    }
    d.hand_on();
}

}  // namespace printpak
