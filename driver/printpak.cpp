// Tree printer: the grammar tree as indented text with bars.
//
// One walk of the tree serves two drawings. `ausgaben` walks with the linked
// bar list and its operations and writes piece by piece: the plain form.
// `printgb` walks with the bars in one buffer, kept as their text and changed
// at the innermost levels only, and hands the pieces on in large blocks: a
// line costs one copy of its bars and the node's text, and the memory grows
// with the depth of the tree, not with the lines drawn.
#include "driver/printpak.hpp"

#include <cstddef>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "common/arena.hpp"
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
    common::check(index < std::size(symbol_steps), common::here());
    return symbol_steps[index];
}

int one_deeper(int level) {
    return common::add(level, 1, common::here());
}

// The guards of the list operations, one place each for both forms of the
// bars: an operation on the empty list, and a target below one level, where
// the reduction would never end.
void require_cells(bool some) {
    common::check(some, common::here());
}

void require_a_level(int n) {
    common::check(n >= 1, common::here());
}

strichknoten* last_cell(strichliste s) {
    while (s->next != nullptr) {
        s = s->next;
    }
    return s;
}

// The bars as the linked list, every change one of the module's list
// operations.
class linked_bars {
public:
    // What a step keeps before drawing children and puts back after them:
    // the same head, not a copy.
    using saved = strichliste;

    explicit linked_bars(strichliste j) : j_(j) {}

    [[nodiscard]] strichliste list() const { return j_; }
    [[nodiscard]] saved keep() const { return j_; }
    void put_back(saved s) { j_ = s; }
    void start() { j_ = common::make<strichknoten>(true, nullptr); }
    void reduce() { reducelist(j_); }
    void extend(int n) { extendlist(j_, n); }
    void extend_to(int n) { extendlist2(j_, n); }
    [[nodiscard]] int length() const { return get_strichlisten_length(j_); }
    [[nodiscard]] std::string text() const { return macheleerzeichen(j_); }

private:
    strichliste j_;
};

// The bars in one buffer: their text, three characters a level from the
// outermost, and the levels that show a bar, innermost last. Each operation
// touches only the levels it cuts, appends or flips; a level cut off gives
// its room to the next one appended. A list set aside by `start` (a PROGRAMM
// node below the root, which no parsed tree has) waits unchanged in
// `outer_`, as the linked cells would.
class bar_buffer {
public:
    // How many lists were set aside when the step kept its list.
    using saved = std::size_t;

    [[nodiscard]] saved keep() const { return outer_.size(); }

    void put_back(saved s) {
        if (outer_.size() > s) {
            now_ = std::move(outer_[s]);
            outer_.resize(s);
        }
    }

    void start() {
        outer_.push_back(std::move(now_));
        now_ = bars{};
        now_.text = bar;
        now_.with_bar.push_back(0);
    }

    // reducelist: cut after the innermost bar but the innermost level's own.
    void reduce() {
        require_cells(!now_.text.empty());
        const bool innermost_bar = now_.text.back() == '|';
        if (now_.text.size() == level_width) {
            now_.text = no_bar;
            now_.with_bar.clear();
            return;
        }
        const std::size_t outer_bars = now_.with_bar.size() - (innermost_bar ? 1 : 0);
        const std::size_t kept = outer_bars == 0 ? 1 : now_.with_bar[outer_bars - 1] + 1;
        now_.text.resize(kept * level_width);
        now_.with_bar.resize(outer_bars);
    }

    // extendlist: n levels, a bar on the last only.
    void extend(int n) {
        require_cells(!now_.text.empty());
        if (n <= 0) {
            return;
        }
        now_.text.append((static_cast<std::size_t>(n) - 1) * level_width, ' ');
        now_.text += bar;
        now_.with_bar.push_back(now_.text.size() / level_width - 1);
    }

    // extendlist2: every reduction shortens the list, so the loop ends.
    void extend_to(int n) {
        for (;;) {
            const int levels = length();
            if (levels < n) {
                extend(n - levels);
                return;
            }
            if (levels == n) {
                return;
            }
            require_a_level(n);
            reduce();
        }
    }

    [[nodiscard]] int length() const { return static_cast<int>(now_.text.size() / level_width); }
    [[nodiscard]] std::string_view text() const { return now_.text; }

private:
    struct bars {
        std::string text;
        std::vector<std::size_t> with_bar;
    };
    bars now_;
    std::vector<bars> outer_;
};

// Writes every piece as it comes: the plain form.
class piece_by_piece {
public:
    piece_by_piece(common::text_writer& ausg, bool txt) : ausg_(ausg), txt_(txt) {}
    void put(std::string_view s) { print(ausg_, s, txt_); }

private:
    common::text_writer& ausg_;
    bool txt_;
};

// Gathers the pieces and hands them on in blocks of about a mebibyte: a few
// large writes instead of a write every few lines on the long drawings. The
// owner hands on the rest before it returns or lets an error pass.
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

// What is left to do once a node's child list has been drawn.
enum class afterwards {
    keep_level,      // the siblings follow at the node's own level
    length_of_list,  // the siblings follow at the length of the bar list
};

// One drawing over the bars `Bars` into the output `Out`. The walk goes down
// the first children with an explicit stack of pending nodes and along the
// siblings in a loop, so no depth of tree can exhaust the call stack.
template <class Bars, class Out>
class drawing {
public:
    drawing(Bars& bars, Out& out) : bars_(bars), out_(out) {}

    void run(grbaum first, int ebene);

private:
    // A node whose child list is being drawn: the siblings come after it.
    struct pending_node {
        grbaum node;
        int ebene;
        afterwards then;
        typename Bars::saved tmp_strichliste;
        bool puts_list_back;
    };

    // The child list to draw next, and at which level; a leaf has none.
    struct descent {
        bool leaf;
        grbaum child;
        int level;
    };

    Bars& bars_;
    Out& out_;
    std::vector<pending_node> pending_;

    void put(std::string_view s) { out_.put(s); }
    void put_bars() { out_.put(bars_.text()); }

    // Draws the node itself and says where its child list starts; pushes
    // what to do after the children.
    descent draw_node(grbaum b, int ebene);
    descent children_then(pending_node after, grbaum child, int level);
    descent ausgabeanw(grbaum b, int ebene, std::string_view tokenn);
    void ausgabet(grbaum b, int ebene, std::string_view tokenn, bool special);
    descent list_node(grbaum b, int ebene);
};

template <class Bars, class Out>
void drawing<Bars, Out>::run(grbaum first, int ebene) {
    grbaum cursor = first;
    int level = ebene;
    for (;;) {
        while (cursor == nullptr) {
            if (pending_.empty()) {
                return;
            }
            const pending_node done = pending_.back();
            pending_.pop_back();
            level = done.then == afterwards::length_of_list ? bars_.length() : done.ebene;
            if (done.puts_list_back) {
                bars_.put_back(done.tmp_strichliste);
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

template <class Bars, class Out>
typename drawing<Bars, Out>::descent drawing<Bars, Out>::children_then(pending_node after, grbaum child,
                                                                       int level) {
    pending_.push_back(after);
    return descent{false, child, level};
}

template <class Bars, class Out>
typename drawing<Bars, Out>::descent drawing<Bars, Out>::draw_node(grbaum b, int ebene) {
    int e = ebene;
    put("\n");
    put_bars();
    const symbol_step& step = step_of(b->al);
    switch (step.step) {
        case drawn_by::root: {
            put("Programm\n");
            const auto outer = bars_.keep();
            bars_.start();
            put_bars();
            return children_then({b, ebene, afterwards::keep_level, outer, false}, b->knoten(), e);
        }
        case drawn_by::statement_list:
            put("_ AnwF\n");
            bars_.reduce();
            bars_.extend_to(e);
            return list_node(b, e);
        case drawn_by::statement:
            put("_ Anw\n");
            return list_node(b, e);
        case drawn_by::expression: {
            put("_ Ausdruck\n");
            const auto tmp = bars_.keep();
            if (b->rest == nullptr) {
                bars_.reduce();
            }
            e = one_deeper(ebene);
            bars_.extend_to(e);
            put_bars();
            return children_then({b, ebene, afterwards::keep_level, tmp, true}, b->knoten(), e);
        }
        case drawn_by::condition: {
            put("_ Bedingung\n");
            e = one_deeper(ebene);
            bars_.extend_to(e);
            const auto tmp = bars_.keep();
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
    common::check_failed(common::here());
}

// ANWF and ANW: a node with a following sibling opens a column of bars for
// it; the last node of a list goes one level deeper. The siblings follow at
// the length the list has once the children are drawn.
template <class Bars, class Out>
typename drawing<Bars, Out>::descent drawing<Bars, Out>::list_node(grbaum b, int ebene) {
    int e = ebene;
    const auto tmp = bars_.keep();
    grbaum child = nullptr;
    if (b->rest != nullptr) {
        bars_.extend(1);
        e = one_deeper(e);
        if (b->knoten() != nullptr) {
            put_bars();
            child = b->knoten();
        }
    } else if (b->knoten() != nullptr) {
        bars_.reduce();
        e = one_deeper(e);
        bars_.extend_to(e);
        put_bars();
        child = b->knoten();
    }
    return children_then({b, ebene, afterwards::length_of_list, tmp, true}, child, e);
}

template <class Bars, class Out>
typename drawing<Bars, Out>::descent drawing<Bars, Out>::ausgabeanw(grbaum b, int ebene,
                                                                    std::string_view tokenn) {
    put("_ ");
    put(tokenn);
    put("\n");
    bars_.reduce();
    const auto tmp = bars_.keep();
    const int e = one_deeper(ebene);
    bars_.extend_to(e);
    grbaum child = nullptr;
    if (b->knoten() == nullptr) {
        put_bars();
        put("\n");
        put_bars();
        put("_ HIER NULL!\n");
        bars_.reduce();
    } else {
        put_bars();
        child = b->knoten();
    }
    return children_then({b, ebene, afterwards::keep_level, tmp, true}, child, e);
}

// `special`: the class name is drawn, and the token text one level deeper.
template <class Bars, class Out>
void drawing<Bars, Out>::ausgabet(grbaum b, int ebene, std::string_view tokenn, bool special) {
    int e = ebene;
    if (special) {
        put("_ ");
        put(tokenn);
        put("\n");
        if (b->rest != nullptr) {
            bars_.extend(1);
        } else {
            bars_.reduce();
            e = one_deeper(e);
            bars_.extend_to(e);
        }
        put_bars();
        put("\n");
        put_bars();
        bars_.reduce();
    }
    put("_ ");
    put(b->exp());
    if (!special && b->rest == nullptr) {
        bars_.reduce();
    }
    put("\n");
    put_bars();
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
    require_cells(s != nullptr);
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
    require_cells(s != nullptr);
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
        require_a_level(n);
        reducelist(s);
    }
}

void ausgaben(comtypes::grbaum& b, strichliste& j, int& ebene, common::text_writer& ausg, bool txt) {
    linked_bars bars(j);
    piece_by_piece out(ausg, txt);
    drawing(bars, out).run(b, ebene);
    j = bars.list();
}

void printgb(comtypes::grbaum gb, common::text_writer& ausg, bool txt) {
    // Only a PROGRAMM root creates the bar list; any other root fails here,
    // before a partial drawing, and not at whichever list operation comes
    // first (a childless statement node would meet none at all).
    common::check(gb == nullptr || gb->al == alphabet::PROGRAMM, common::here());
    bar_buffer bars;
    in_blocks out(ausg, txt);
    try {
        drawing(bars, out).run(gb, 1);
    } catch (...) {
        // What was drawn before the error stands, as it would piece by
        // piece. Should that write fail too, the error that came first is
        // the one the program reports.
        try {
            out.hand_on();
        } catch (...) {
        }
        throw;
    }
    out.hand_on();
}

}  // namespace printpak
