// Tree printer: the grammar tree as indented text with bars.
#include "driver/printpak.hpp"

#include <cstddef>
#include <iterator>
#include <string_view>
#include <vector>

#include "common/arena.hpp"
#include "common/arith.hpp"
#include "common/errors.hpp"
#include "common/rows.hpp"

namespace printpak {
namespace {

using comtypes::alphabet;
using comtypes::grbaum;

constexpr std::string_view module_name = "printpak";

constexpr std::string_view bar = "  |";
constexpr std::string_view no_bar = "   ";

// How a node of a grammar symbol is drawn: the root, a statement list, a
// statement, an expression and a condition each by a step of their own; the
// four statement forms by ausgabeanw; a terminal by ausgabet, with its token
// text (leaf_text) or with its class name and the text one level deeper
// (leaf_class).
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
    std::string_view name;  // the name handed to ausgabeanw or ausgabet
};

constexpr symbol_step symbol_steps[] = {
#define COMTYPES_SYMBOL(symbol, step, name) {alphabet::symbol, drawn_by::step, name},
#include "frontend/alphabet.def"
};
static_assert(common::one_row_per_value(symbol_steps, &symbol_step::symbol, comtypes::alphabet_count));

const symbol_step& step_of(alphabet a) {
    const auto index = static_cast<std::size_t>(a);
    common::check(index < std::size(symbol_steps), common::place{module_name, __LINE__});
    return symbol_steps[index];
}

int one_deeper(int level) {
    return common::add(level, 1, common::place{module_name, __LINE__});
}

// What is left to do once a node's child list has been drawn.
enum class afterwards {
    keep_level,      // the siblings follow at the node's own level
    length_of_list,  // the siblings follow at the length of the bar list
};

// A node whose child list is being drawn: the siblings come after it.
struct pending_node {
    grbaum node;
    int ebene;
    afterwards then;
    strichliste tmp_strichliste;
    bool puts_list_back;
};

// One drawing: the destination and the shared bar list. The walk goes down
// the first children with an explicit stack of pending nodes and along the
// siblings in a loop, so no depth of tree can exhaust the call stack.
class drawing {
public:
    drawing(common::text_writer& ausg, bool txt, strichliste j) : ausg_(ausg), txt_(txt), j_(j) {}

    strichliste run(grbaum first, int ebene);

private:
    common::text_writer& ausg_;
    bool txt_;
    strichliste j_;
    std::vector<pending_node> pending_;

    // The child list to draw next, and at which level; a leaf has none.
    struct descent {
        bool leaf;
        grbaum child;
        int level;
    };

    void put(std::string_view s) { print(ausg_, s, txt_); }
    void put_bars() { put(macheleerzeichen(j_)); }

    // Draws the node itself and says where its child list starts; pushes
    // what to do after the children.
    descent draw_node(grbaum b, int ebene);
    descent children_then(pending_node after, grbaum child, int level);
    descent ausgabeanw(grbaum b, int ebene, std::string_view tokenn);
    void ausgabet(grbaum b, int ebene, std::string_view tokenn, bool special);
    descent list_node(grbaum b, int ebene);
};

strichliste drawing::run(grbaum first, int ebene) {
    grbaum cursor = first;
    int level = ebene;
    for (;;) {
        while (cursor == nullptr) {
            if (pending_.empty()) {
                return j_;
            }
            const pending_node done = pending_.back();
            pending_.pop_back();
            level = done.then == afterwards::length_of_list ? get_strichlisten_length(j_) : done.ebene;
            if (done.puts_list_back) {
                j_ = done.tmp_strichliste;
            }
            cursor = done.node->rest;
        }
        const descent next = draw_node(cursor, level);
        if (next.leaf) {
            cursor = cursor->rest;  // the siblings of a leaf follow at its level
        } else {
            cursor = next.child;
            level = next.level;
        }
    }
}

drawing::descent drawing::children_then(pending_node after, grbaum child, int level) {
    pending_.push_back(after);
    return descent{false, child, level};
}

drawing::descent drawing::draw_node(grbaum b, int ebene) {
    int e = ebene;
    put("\n");
    put_bars();
    const symbol_step& step = step_of(b->al);
    switch (step.step) {
        case drawn_by::root:
            put("Programm\n");
            j_ = common::make<strichknoten>(true, nullptr);
            put_bars();
            return children_then({b, ebene, afterwards::keep_level, j_, false}, b->knoten(), e);
        case drawn_by::statement_list:
            put("_ AnwF\n");
            reducelist(j_);
            extendlist2(j_, e);
            return list_node(b, e);
        case drawn_by::statement:
            put("_ Anw\n");
            return list_node(b, e);
        case drawn_by::expression: {
            put("_ Ausdruck\n");
            const strichliste tmp = j_;
            if (b->rest == nullptr) {
                reducelist(j_);
            }
            e = one_deeper(ebene);
            extendlist2(j_, e);
            put_bars();
            return children_then({b, ebene, afterwards::keep_level, tmp, true}, b->knoten(), e);
        }
        case drawn_by::condition: {
            put("_ Bedingung\n");
            e = one_deeper(ebene);
            extendlist2(j_, e);
            const strichliste tmp = j_;
            put_bars();
            return children_then({b, ebene, afterwards::keep_level, tmp, true}, b->knoten(), e);
        }
        case drawn_by::statement_form:
            return ausgabeanw(b, ebene, step.name);
        case drawn_by::leaf_text:
        case drawn_by::leaf_class:
            ausgabet(b, ebene, step.name, step.step == drawn_by::leaf_class);
            return descent{true, nullptr, ebene};
    }
    common::check_failed(common::place{module_name, __LINE__});
}

// ANWF and ANW: a node with a following sibling opens a column of bars for
// it; the last node of a list goes one level deeper. The siblings follow at
// the length the list has once the children are drawn.
drawing::descent drawing::list_node(grbaum b, int ebene) {
    int e = ebene;
    const strichliste tmp = j_;
    grbaum child = nullptr;
    if (b->rest != nullptr) {
        extendlist(j_, 1);
        e = one_deeper(e);
        if (b->knoten() != nullptr) {
            put_bars();
            child = b->knoten();
        }
    } else if (b->knoten() != nullptr) {
        reducelist(j_);
        e = one_deeper(e);
        extendlist2(j_, e);
        put_bars();
        child = b->knoten();
    }
    return children_then({b, ebene, afterwards::length_of_list, tmp, true}, child, e);
}

drawing::descent drawing::ausgabeanw(grbaum b, int ebene, std::string_view tokenn) {
    put("_ ");
    put(tokenn);
    put("\n");
    reducelist(j_);
    const strichliste tmp = j_;
    const int e = one_deeper(ebene);
    extendlist2(j_, e);
    grbaum child = nullptr;
    if (b->knoten() == nullptr) {
        put_bars();
        put("\n");
        put_bars();
        put("_ HIER NULL!\n");
        reducelist(j_);
    } else {
        put_bars();
        child = b->knoten();
    }
    return children_then({b, ebene, afterwards::keep_level, tmp, true}, child, e);
}

// `special`: the class name is drawn, and the token text one level deeper.
void drawing::ausgabet(grbaum b, int ebene, std::string_view tokenn, bool special) {
    int e = ebene;
    if (special) {
        put("_ ");
        put(tokenn);
        put("\n");
        if (b->rest != nullptr) {
            extendlist(j_, 1);
        } else {
            reducelist(j_);
            e = one_deeper(e);
            extendlist2(j_, e);
        }
        put_bars();
        put("\n");
        put_bars();
        reducelist(j_);
    }
    put("_ ");
    put(b->exp());
    if (!special && b->rest == nullptr) {
        reducelist(j_);
    }
    put("\n");
    put_bars();
}

strichknoten* last_cell(strichliste s) {
    while (s->next != nullptr) {
        s = s->next;
    }
    return s;
}

}  // namespace

void print(common::text_writer& ausg, std::string_view s, bool txt) {
    (txt ? ausg : common::standard_output()).put(s);
}

std::string macheleerzeichen(strichliste s) {
    std::string bars;
    for (; s != nullptr; s = s->next) {
        bars += s->b ? bar : no_bar;
    }
    return bars;
}

int get_strichlisten_length(strichliste s) {
    int length = 0;
    for (; s != nullptr; s = s->next) {
        length = one_deeper(length);
    }
    return length;
}

strichliste reducelist(strichliste s) {
    common::check(s != nullptr, common::place{module_name, __LINE__});
    if (s->next == nullptr) {
        s->b = false;
        return s;
    }
    strichknoten* found = s;
    for (strichknoten* cell = s; cell->next != nullptr; cell = cell->next) {
        if (cell->b) {
            found = cell;  // the innermost cell is never looked at
        }
    }
    found->next = nullptr;
    return s;
}

strichliste extendlist(strichliste s, int n) {
    common::check(s != nullptr, common::place{module_name, __LINE__});
    if (n <= 0) {
        return s;
    }
    strichknoten* tail = last_cell(s);
    for (int i = 1; i <= n; ++i) {
        tail->next = common::make<strichknoten>(i == n, nullptr);
        tail = tail->next;
    }
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
        // A list of one cell never gets shorter: below one level it would
        // reduce for ever.
        common::check(n >= 1, common::place{module_name, __LINE__});
        reducelist(s);
    }
}

void ausgaben(comtypes::grbaum& b, strichliste& j, int& ebene, common::text_writer& ausg, bool txt) {
    j = drawing(ausg, txt, j).run(b, ebene);
}

void printgb(comtypes::grbaum gb, common::text_writer& ausg, bool txt) {
    // Only a PROGRAMM root creates the bar list; any other root fails here,
    // before a partial drawing, and not at whichever list operation comes
    // first (a childless statement node would meet none at all).
    common::check(gb == nullptr || gb->al == alphabet::PROGRAMM, common::place{module_name, __LINE__});
    strichliste strichzeiger = nullptr;
    int ebene = 1;
    ausgaben(gb, strichzeiger, ebene, ausg, txt);
}

}  // namespace printpak
