// The renderers of the While machine: operators, expressions, conditions,
// statements, stacks, values, environments and whole configurations, each
// written as one line of text. They print nothing and change nothing.
//
// Every renderer appends its text to a line that is written in place at the
// end of a text buffer. A trace run renders its program once, at its start
// (run_texts), and the machine never changes an expression, a condition or a
// list: so a renderer asked for the text of a record of that rendering
// copies it from there instead of rendering it again, a list's text from a
// cell to its end, and a loop's (the program's, or the one that rule 16 makes
// anew on every turn) around its condition and body. With no texts of a run
// at hand, a renderer makes every text from its parts: the plain rendering.
//
// The renderers are inline, so that a whole configuration line is built in
// the function that writes it, the end of its text and of the room after it
// in registers; what is made from its parts is made out of line, on a line
// of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/copy_text.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"
#include "common/text_buffer.hpp"
#include "machine/baumwandler_package.hpp"

namespace baumwandler_package {

class run_texts;

// text_span is where a text stands in the rendering of a run's program:
// `length` characters from `begin`. No record's text is empty (a number has
// two characters at least, a name one), so a length of 0 stands for no text.
struct text_span {
    std::uint32_t begin = 0;
    std::uint32_t length = 0;

    explicit operator bool() const noexcept { return length != 0; }
};

// line is text written in place at the end of a text buffer, with the texts
// of a run at hand or none. It keeps the end of its text and of the room
// after it itself, and hands its text back to the buffer when it is closed;
// until then the buffer is not written to otherwise. A line that fails is
// not closed: the buffer ends where its text was last handed back.
class line {
public:
    // A line at the end of `out`; `texts` is the run whose texts are at
    // hand, or null for none.
    [[gnu::always_inline]] line(common::text_buffer& out, run_texts* texts) noexcept
        : out_(out), texts_(texts), room_(out.open()) {}

    // close hands the text written so far back to the buffer.
    [[gnu::always_inline]] void close() noexcept { out_.close(room_.at); }

    [[nodiscard]] run_texts* texts() const noexcept { return texts_; }

    [[gnu::always_inline]] void put(std::string_view text) {
        need(text.size());
        common::copy_text(room_.at, text.data(), text.size());
        room_.at += text.size();
    }
    // A literal's length is known when compiling: its copy is a few moves.
    template <std::size_t N>
    [[gnu::always_inline]] void put(const char (&literal)[N]) {
        need(N - 1);
        std::memcpy(room_.at, literal, N - 1);
        room_.at += N - 1;
    }
    [[gnu::always_inline]] void put(char character) {
        need(1);
        *room_.at++ = character;
    }
    // put_image writes the number image of `value` (" 5", "-3").
    [[gnu::always_inline]] void put_image(std::int64_t value) {
        need(common::image_room);
        room_.at = common::write_image(room_.at, value);
    }
    // put writes the text that stands at `span` in the rendering of the run's
    // program.
    inline void put(text_span span);

    // The text at hand of a record: none without a run, for a null record
    // and for a record that the run did not render at its start.
    inline text_span find(const ausdruck_rec* a) const noexcept;
    inline text_span find(const bedingung_rec* a) const noexcept;
    inline text_span find(const anweisung_f_rec* a) const noexcept;
    // find_loop: the text at hand of a loop statement, found around its
    // condition and body; none for any other statement.
    inline text_span find_loop(const anweisung_rec* a) const;

    // position returns where the line ends in its buffer.
    [[nodiscard]] std::size_t position() const noexcept {
        return static_cast<std::size_t>(room_.at - out_.data());
    }

    // noted: while the run renders its program at its start, the text of
    // the record `id` stands from `begin` to here. The text is handed back
    // first: what a note points to stays, whatever fails later.
    inline void noted(record_id id, std::size_t begin);

    // apart runs `make` on `a` on a line of its own, this one closed before
    // and taken up again after: this line never leaves the function that
    // writes it, so that its ends stay in registers.
    template <class A>
    [[gnu::always_inline]] void apart(void (*make)(common::text_buffer&, run_texts*, A), A a) {
        close();
        make(out_, texts_, a);
        room_ = out_.open();
    }

private:
    [[gnu::always_inline]] void need(std::size_t count) {
        if (static_cast<std::size_t>(room_.end - room_.at) < count) {
            room_ = out_.widen(room_.at, count);
        }
    }

    common::text_buffer& out_;
    run_texts* texts_;
    common::text_buffer::room room_;
};

// ---- The renderers ----

// zeige_op writes "+", "-", "*", "`div`" or "`mod`". A value outside the
// enumeration raises the check error.
inline void zeige_op(line& erg, operator_ a);

// zeige_vergl writes "<", "=", ">", "<=", "/=" or ">=". A value outside the
// enumeration raises the check error.
inline void zeige_vergl(line& erg, vergleicher a);

// zeige_ausdr writes a number as its image (" 5", "-3"), a name as stored,
// and an operation as "(" left operator right ")" with no blank added:
// "( 2*(y- 3))". A null expression, here or inside, raises the check error.
inline void zeige_ausdr(line& erg, ausdruck a);

// zeige_bed writes "true" or "false" for a truth value, and a comparison in
// parentheses like an operation: "(x> 0)". A null condition, or a null
// expression inside it, raises the check error.
inline void zeige_bed(line& erg, bedingung a);

// zeige_anw_f writes the statements of a list joined by a bare ";", or "[]"
// for the empty list. Statements read "x:= 5", "skip",
// " if (c) then l else l fi" and " while (c) do l od " (zeige_anw). A null
// statement raises the check error; a null nested list reads "[]".
inline void zeige_anw_f(line& erg, anweisung_f a);

// zeige_teile writes the parts of a stack from its head down, joined by a
// bare "&"; the empty stack gives the empty text. A statement part reads
// like its statement, a statement-list part like its list ("[]" when
// emptied), a name part as the name, values as " 5" or "true", the markers
// as "if", "do" and ":=" (zeige_teil). A null part raises the check error.
inline void zeige_teile(line& erg, teile a);

// zeige_wert writes "_" for UNDEF and the number image for a defined value.
inline void zeige_wert(line& erg, const wert& a);

// zeige_var writes "(" name "," value ")": "(x, 5)", "(x,-3)", "(x,_)".
inline void zeige_var(line& erg, const variable& a);

// zeige_vars writes the entries of an environment in list order with no
// separator; the empty environment gives the empty text.
inline void zeige_vars(line& erg, umgebung a);

// rev returns a stack holding the parts of `t` (shared, not copied) in the
// opposite order; `t` and its cells are unchanged, and rev(null) is null.
// Its cells are those of `cells`, filled anew, instead of new cells of the
// arena, which would pile up with every configuration of a run; they hold
// until `cells` is filled again.
inline teile rev(teile t, std::vector<teile_rec>& cells);

// zeige_konf writes "<< " environment " , " value stack " , " control
// stack " >>": the value stack reversed, from the value pushed first to the
// top, the control stack from the top down. The configuration is only read.
inline void zeige_konf(line& erg, const konfiguration& a);

namespace detail {

// The nested renderers: zeige_anw is zeige_anw_f's, and zeige_teil
// zeige_teile's; only they call them.
inline void zeige_anw(line& erg, anweisung a);
inline void zeige_teil(line& erg, teil a);

// What is made from its parts, out of line, on a line of its own in `out`.
void made_ausdr(common::text_buffer& out, run_texts* texts, ausdruck a);
void made_bed(common::text_buffer& out, run_texts* texts, bedingung a);
void made_anw_f(common::text_buffer& out, run_texts* texts, anweisung_f a);
void made_anw(common::text_buffer& out, run_texts* texts, anweisung a);

// put_truth writes "true" or "false".
[[gnu::always_inline]] inline void put_truth(line& erg, bool w) {
    if (w) {
        erg.put("true");
    } else {
        erg.put("false");
    }
}

}  // namespace detail

// The fixed pieces of a loop's text, " while " condition " do " body " od ":
// zeige_anw writes them, and a run finds a loop's text by them.
inline constexpr std::string_view loop_opening = " while ";
inline constexpr std::string_view loop_middle = " do ";
inline constexpr std::string_view loop_closing = " od ";

// ---- The texts of a run ----

// run_texts is what a trace run keeps to render its configurations: the text
// of every record that its start configuration reaches, rendered once, and
// where each record's text stands there, by the record's number; the loop
// statement whose text was copied last; and the cells that the value stack
// is reversed in. A record that no conversion made, or that another
// conversion made, has no text here and is rendered anew, and so is every
// record of a start configuration whose records' numbers lie far apart (put
// together by hand from several conversions; a run's own comes from one).
class run_texts {
public:
    // Renders the text of every record that `start` reaches. A record that
    // fails to render (a null inside) is left without a text: the line that
    // shows it raises the check error there, as the plain rendering does.
    explicit run_texts(const konfiguration& start);
    // The texts are the run's; a copy would double them for no use.
    run_texts(const run_texts&) = delete;
    run_texts& operator=(const run_texts&) = delete;

    // known returns where the text of the record numbered `id` stands in
    // text(); none when the run did not render it at its start.
    [[nodiscard]] text_span known(record_id id) const noexcept {
        const record_id index = id - first_id_;  // beyond the table for 0 and for numbers below it
        return index < spans_.size() ? spans_[index] : text_span{};
    }

    // known_loop returns where the text of the loop statement `s` stands:
    // " while " condition " do " body " od " stands around the texts of its
    // condition and body when it is a loop of the program, or one that rule
    // 16 made of the condition and body of such a loop; none for any other
    // loop. A statement of another kind raises the check error.
    [[nodiscard]] text_span known_loop(const anweisung_rec& s) {
        const bedingung b = s.bedingungs_wert_schleife();
        const anweisung_f l = s.erst_anweisung_schleife();
        if (b == nullptr || l == nullptr) {
            return {};
        }
        if (b->id == last_loop_.condition && l->id == last_loop_.body && last_loop_.span) {
            return last_loop_.span;
        }
        return loop_around(b->id, l->id);
    }

    [[nodiscard]] const common::text_buffer& text() const noexcept { return program_; }

    // The cells that zeige_konf reverses the value stack in, kept for the run.
    [[nodiscard]] std::vector<teile_rec>& value_cells() noexcept { return value_cells_; }

    // note: while the start configuration is rendered, the text of the
    // record numbered `id` stands in text() from `begin` to `end`; at any
    // other time, and for a record with no number, nothing.
    void note(record_id id, std::size_t begin, std::size_t end);
    [[nodiscard]] bool noting() const noexcept { return noting_; }

private:
    // loop_around finds the text of the loop around the condition and the
    // body numbered `condition` and `body`, and keeps it as the last loop.
    text_span loop_around(record_id condition, record_id body);

    struct noted_text {
        record_id id;
        text_span span;
    };
    // The loop statement whose text was copied last, by the numbers of its
    // condition and body, and its text: the same loop shows on many lines.
    struct loop_text {
        record_id condition = 0;
        record_id body = 0;
        text_span span;
    };

    common::text_buffer program_;    // every record's text, once
    bool noting_ = true;             // while the constructor renders
    std::vector<noted_text> noted_;  // what it noted, made into spans_ after
    record_id first_id_ = 0;         // the number of spans_[0]
    std::vector<text_span> spans_;   // by number, from first_id_ on
    loop_text last_loop_;
    std::vector<teile_rec> value_cells_;
};

// ---- How the renderers write ----

inline void line::put(text_span span) {
    need(span.length);
    common::copy_text(room_.at, texts_->text().data() + span.begin, span.length);
    room_.at += span.length;
}

inline text_span line::find(const ausdruck_rec* a) const noexcept {
    return texts_ != nullptr && a != nullptr ? texts_->known(a->id) : text_span{};
}
inline text_span line::find(const bedingung_rec* a) const noexcept {
    return texts_ != nullptr && a != nullptr ? texts_->known(a->id) : text_span{};
}
inline text_span line::find(const anweisung_f_rec* a) const noexcept {
    return texts_ != nullptr && a != nullptr ? texts_->known(a->id) : text_span{};
}
inline text_span line::find_loop(const anweisung_rec* a) const {
    return texts_ != nullptr && a != nullptr && a->form == anweisungs_art::SCHLEIFE ? texts_->known_loop(*a)
                                                                                    : text_span{};
}

inline void line::noted(record_id id, std::size_t begin) {
    if (texts_ != nullptr && texts_->noting()) {
        close();
        texts_->note(id, begin, position());
    }
}

namespace detail {

// row_text returns the text of the row of the enumeration value `a`; a value
// outside the table fails the guard at `where`.
template <class Enum, std::size_t N>
[[gnu::always_inline]] inline std::string_view row_text(const symbol_row<Enum> (&rows)[N], Enum a,
                                                        common::place where) {
    const auto index = static_cast<std::size_t>(a);
    common::check(index < N, where);
    return rows[index].text;
}

}  // namespace detail

[[gnu::always_inline]] inline void zeige_op(line& erg, operator_ a) {
    erg.put(detail::row_text(operator_rows, a, common::here()));
}

[[gnu::always_inline]] inline void zeige_vergl(line& erg, vergleicher a) {
    erg.put(detail::row_text(comparison_rows, a, common::here()));
}

[[gnu::always_inline]] inline void zeige_ausdr(line& erg, ausdruck a) {
    if (const text_span known = erg.find(a)) {
        erg.put(known);
    } else {
        erg.apart(detail::made_ausdr, a);
    }
}

[[gnu::always_inline]] inline void zeige_bed(line& erg, bedingung a) {
    if (const text_span known = erg.find(a)) {
        erg.put(known);
    } else {
        erg.apart(detail::made_bed, a);
    }
}

// A list of one statement is that statement's text, made here; a longer one
// is made apart.
[[gnu::always_inline]] inline void zeige_anw_f(line& erg, anweisung_f a) {
    if (a == nullptr) {
        erg.put("[]");
    } else if (const text_span known = erg.find(a)) {
        erg.put(known);
    } else if (a->rest == nullptr) {
        const std::size_t begin = erg.position();
        detail::zeige_anw(erg, a->anw);
        erg.noted(a->id, begin);
    } else {
        erg.apart(detail::made_anw_f, a);
    }
}

[[gnu::always_inline]] inline void detail::zeige_anw(line& erg, anweisung a) {
    if (const text_span known = erg.find_loop(a)) {
        erg.put(known);
    } else {
        erg.apart(detail::made_anw, a);
    }
}

[[gnu::always_inline]] inline void zeige_teile(line& erg, teile a) {
    for (teile cell = a; cell != nullptr; cell = cell->rest) {
        if (cell != a) {
            erg.put('&');
        }
        detail::zeige_teil(erg, cell->t);
    }
}

[[gnu::always_inline]] inline void detail::zeige_teil(line& erg, teil a) {
    const teil_rec& t = *common::not_null(a, common::here());
    switch (t.form) {
        case teil_arten::ANW: {
            // The statement as the only one of a new list, which reads as the
            // statement itself; the list is a cell of this call.
            anweisung_f_rec only(t.teil_anw());
            zeige_anw_f(erg, &only);
            return;
        }
        case teil_arten::ANW_F:
            zeige_anw_f(erg, t.teil_anw_f());
            return;
        case teil_arten::BED:
            zeige_bed(erg, t.teil_bed());
            return;
        case teil_arten::AUSDR:
            zeige_ausdr(erg, t.teil_ausdr());
            return;
        case teil_arten::BEZ:
            erg.put(t.teil_bez());
            return;
        case teil_arten::ZWERT:
            erg.put_image(t.teil_zwert());
            return;
        case teil_arten::WWERT:
            put_truth(erg, t.teil_wwert());
            return;
        case teil_arten::OP:
            zeige_op(erg, t.teil_op());
            return;
        case teil_arten::ROP:
            zeige_vergl(erg, t.teil_rop());
            return;
        case teil_arten::IF_CASE:
            erg.put("if");
            return;
        case teil_arten::DO_CASE:
            erg.put("do");
            return;
        case teil_arten::ZUW:
            erg.put(":=");
            return;
    }
    common::check_failed(common::here());
}

[[gnu::always_inline]] inline void zeige_wert(line& erg, const wert& a) {
    switch (a.form) {
        case wert_art::UNDEF:
            erg.put('_');
            return;
        case wert_art::DEF_WERT:
            erg.put_image(a.zahl_wert());
            return;
    }
    common::check_failed(common::here());
}

[[gnu::always_inline]] inline void zeige_var(line& erg, const variable& a) {
    erg.put('(');
    erg.put(a.variable_name);
    erg.put(',');
    zeige_wert(erg, a.variable_wert);
    erg.put(')');
}

[[gnu::always_inline]] inline void zeige_vars(line& erg, umgebung a) {
    for (umgebung cell = a; cell != nullptr; cell = cell->next) {
        zeige_var(erg, cell->elem);
    }
}

[[gnu::always_inline]] inline teile rev(teile t, std::vector<teile_rec>& cells) {
    cells.clear();
    for (teile tx = t; tx != nullptr; tx = tx->rest) {
        cells.push_back(teile_rec{tx->t, nullptr});
    }
    teile result = nullptr;
    for (teile_rec& cell : cells) {  // the top first: it ends the reversed stack
        cell.rest = result;
        result = &cell;
    }
    return result;
}

[[gnu::always_inline]] inline void zeige_konf(line& erg, const konfiguration& a) {
    std::vector<teile_rec> own;  // a plain rendering keeps no cells for a run
    std::vector<teile_rec>& cells = erg.texts() != nullptr ? erg.texts()->value_cells() : own;
    erg.put("<< ");
    zeige_vars(erg, a.um);
    erg.put(" , ");
    zeige_teile(erg, rev(a.wk, cells));
    erg.put(" , ");
    zeige_teile(erg, a.zk);
    erg.put(" >>");
}

}  // namespace baumwandler_package
