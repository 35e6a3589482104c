// Renderers of the While machine: abstract syntax and machine state as
// one-line texts. One piece of code renders every record: the plain
// renderers zeige_* run it alone, the trace's configuration_renderer runs it
// with the program's text at hand, copying what it has seen instead of
// rendering it again. Lists and stacks are walked in a loop, so a text costs
// time linear in its length.
#include "trace/zeige.hpp"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"

namespace baumwandler_package {
namespace {

// row_text returns the text of the row of the enumeration value `a`; a value
// outside the table fails the guard at `where`.
template <class Enum, std::size_t N>
std::string_view row_text(const symbol_row<Enum> (&rows)[N], Enum a, common::place where) {
    const auto index = static_cast<std::size_t>(a);
    common::check(index < N, where);
    return rows[index].text;
}

// ---- What a rendering may copy instead of making it ----

// text_at is a text that stands in a buffer: `length` characters from
// `begin`; none when `in` is null.
struct text_at {
    const common::text_buffer* in = nullptr;
    std::size_t begin = 0;
    std::size_t length = 0;

    explicit operator bool() const { return in != nullptr; }
};

// span_of returns where the text of `r` stands in `program`, the rendering
// of the program at the start of run `run`; none without a span of that run.
template <class R>
text_at span_of(const R* r, std::uint32_t run, const common::text_buffer& program) {
    if (r == nullptr || r->rendered.run != run) {
        return {};
    }
    return {&program, r->rendered.begin, r->rendered.length};
}

// no_texts knows no text: the plain renderers make every text.
struct no_texts {
    template <class R>
    text_at find(const R*) {
        return {};
    }
    template <class R>
    void note(R&, std::size_t, std::size_t) {}
    void note_cell(anweisung_f_rec&, std::size_t) {}
    void note_list(anweisung_f, anweisung_f, std::size_t) {}
};

// known_texts finds the text of a record in the rendering of the program at
// the start of run `run`; it notes nothing.
struct known_texts : no_texts {
    std::uint32_t run;
    const common::text_buffer& program;
    configuration_renderer::loop_text& last_loop;

    template <class R>
    text_at find(const R* r) {
        return span_of(r, run, program);
    }

    // A statement has no span of its own. A loop statement, the program's or
    // one that rule 16 made, holds the condition and the body of a loop of
    // the program, whose text " while " condition " do " body " od " stands
    // around theirs: it is found there when the pieces between them say so.
    text_at find(const anweisung_rec* s) {
        if (s == nullptr || s->form != anweisungs_art::SCHLEIFE) {
            return {};
        }
        const bedingung b = s->bedingungs_wert_schleife();
        const anweisung_f l = s->erst_anweisung_schleife();
        if (b == nullptr || l == nullptr || b->rendered.run != run || l->rendered.run != run) {
            return {};
        }
        if (b != last_loop.b || l != last_loop.rumpf) {
            const std::size_t condition = b->rendered.begin;
            const std::size_t body = condition + b->rendered.length + 4;
            const std::size_t end = body + l->rendered.length + 4;
            if (condition < 7 || l->rendered.begin != body || end > program.size() ||
                !stands(condition - 7, " while ") || !stands(body - 4, " do ") || !stands(end - 4, " od ")) {
                return {};
            }
            last_loop = {b, l, condition - 7, end - condition + 7};
        }
        return {&program, last_loop.begin, last_loop.length};
    }

private:
    template <std::size_t N>
    bool stands(std::size_t at, const char (&piece)[N]) const {
        return std::memcmp(program.data() + at, piece, N - 1) == 0;
    }
};

// noting_texts renders into the program's text itself: it finds there what
// it has seen already, and gives every record it renders its span.
struct noting_texts {
    std::uint32_t run;
    const common::text_buffer& program;

    template <class R>
    text_at find(const R* r) {
        return span_of(r, run, program);
    }
    text_at find(const anweisung_rec*) { return {}; }  // no span
    void note(anweisung_rec&, std::size_t, std::size_t) {}
    template <class R>
    void note(R& r, std::size_t begin, std::size_t end) {
        if (fits(end)) {
            r.rendered =
                text_span{run, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)};
        }
    }
    // A list cell's text runs to the end of its list: note_cell keeps where
    // it begins, and note_list gives the cells from `first` up to `known`
    // (seen before, or null) their spans once the list's end is known.
    void note_cell(anweisung_f_rec& zelle, std::size_t begin) {
        zelle.rendered.run = 0;  // no earlier run's text while it has this begin
        zelle.rendered.begin = static_cast<std::uint32_t>(begin);
    }
    void note_list(anweisung_f first, anweisung_f known, std::size_t end) {
        if (!fits(end)) {
            return;
        }
        for (anweisung_f zelle = first; zelle != known; zelle = zelle->rest) {
            zelle->rendered.run = run;
            zelle->rendered.length = static_cast<std::uint32_t>(end) - zelle->rendered.begin;
        }
    }
    // A text that ends beyond 32 bits gets no span and is rendered anew.
    static bool fits(std::size_t end) { return end <= UINT32_MAX; }
};

// ---- The one renderer ----

// renderer appends the texts of records to `out`, from where `out` ends
// when it is made until close(); `texts` says which texts it may copy.
// `werte` holds the value stack while a configuration renders. The end of
// its text and of the room after it are kept in the renderer, which never
// leaves the function that renders a line, so that they stay in registers:
// what is rendered out of line (the parts of a record whose text is not
// known) runs on a renderer of its own, `out` closed before and taken up
// again after. A renderer that fails leaves `out` where the last text it
// handed back ended.
template <class Texts>
class renderer {
public:
    renderer(common::text_buffer& out, Texts& texts, std::vector<teil>& werte)
        : out_(out), texts_(texts), werte_(werte), room_(out.open()) {}

    // close hands the text made so far back to `out`.
    void close() { out_.close(room_.at); }

    // Each record's text: copied when known, else made from its parts.
    [[gnu::always_inline]] void ausdr(ausdruck a) {
        if (const text_at t = texts_.find(a)) {
            put(t);
        } else {
            out_of_line(&renderer::make_ausdr, a);
        }
    }
    [[gnu::always_inline]] void bed(bedingung a) {
        if (const text_at t = texts_.find(a)) {
            put(t);
        } else {
            out_of_line(&renderer::make_bed, a);
        }
    }
    // anw_f: the statements joined by a bare ";", or "[]" for the empty list.
    [[gnu::always_inline]] void anw_f(anweisung_f a) {
        if (a == nullptr) {
            put("[]");
        } else if (const text_at t = texts_.find(a)) {
            put(t);
        } else {
            out_of_line(&renderer::make_anw_f, a);
        }
    }
    [[gnu::always_inline]] void anw(anweisung a) {
        if (const text_at t = texts_.find(a)) {
            put(t);
        } else {
            out_of_line(&renderer::make_anw, a);
        }
    }

    void make_ausdr(ausdruck a) {
        ausdruck_rec& e = *common::not_null(a, common::here());
        const std::size_t begin = position();
        switch (e.form) {
            case ausdrucks_art::ZAHL:
                put_image(e.zahl_wert());
                break;
            case ausdrucks_art::NAME:
                put(e.name_wert());
                break;
            case ausdrucks_art::VERKN:
                operation(e.links_ausdruck(), &renderer::zeige_op, e.operator_wert(), e.rechts_ausdruck());
                break;
            default:
                common::check_failed(common::here());
        }
        noted(e, begin);
    }

    void make_bed(bedingung a) {
        bedingung_rec& b = *common::not_null(a, common::here());
        const std::size_t begin = position();
        switch (b.form) {
            case bedingungs_art::WAHR:
                truth(b.wahr_wert());
                break;
            case bedingungs_art::VERGLEICH:
                operation(b.links_ausdruck(), &renderer::zeige_vergl, b.vergleichs_wert(),
                          b.rechts_ausdruck());
                break;
            default:
                common::check_failed(common::here());
        }
        noted(b, begin);
    }

    void make_anw_f(anweisung_f a) {
        anweisung_f zelle = a;
        for (; zelle != nullptr; zelle = zelle->rest) {
            if (zelle != a) {
                put(';');
                if (const text_at t = texts_.find(zelle)) {
                    put(t);  // the rest of the list
                    break;
                }
            }
            texts_.note_cell(*zelle, position());
            anw(zelle->anw);
        }
        close();
        texts_.note_list(a, zelle, position());
    }

    // make_anw: the text of one statement; nested lists go back through
    // anw_f.
    void make_anw(anweisung a) {
        anweisung_rec& s = *common::not_null(a, common::here());
        const std::size_t begin = position();
        switch (s.form) {
            case anweisungs_art::FALL:
                put(" if ");
                bed(s.bedingungs_wert_fall());
                put(" then ");
                anw_f(s.erst_anweisung_fall());
                put(" else ");
                anw_f(s.zweit_anweisung_fall());
                put(" fi");
                break;
            case anweisungs_art::SCHLEIFE:
                put(" while ");
                bed(s.bedingungs_wert_schleife());
                put(" do ");
                anw_f(s.erst_anweisung_schleife());
                put(" od ");
                break;
            case anweisungs_art::SKIP:
                put("skip");
                break;
            case anweisungs_art::ZUWEISUNG:
                put(s.zuweisungs_name());
                put(":=");
                ausdr(s.links_ausdruck());
                break;
            default:
                common::check_failed(common::here());
        }
        noted(s, begin);
    }

    // teil: one stack part.
    [[gnu::always_inline]] void teil_(teil a) {
        const teil_rec& t = *common::not_null(a, common::here());
        switch (t.form) {
            case teil_arten::ANW:
                anw(t.teil_anw());  // reads as the only statement of a list
                return;
            case teil_arten::ANW_F:
                anw_f(t.teil_anw_f());
                return;
            case teil_arten::BED:
                bed(t.teil_bed());
                return;
            case teil_arten::AUSDR:
                ausdr(t.teil_ausdr());
                return;
            case teil_arten::BEZ:
                put(t.teil_bez());
                return;
            case teil_arten::ZWERT:
                put_image(t.teil_zwert());
                return;
            case teil_arten::WWERT:
                truth(t.teil_wwert());
                return;
            case teil_arten::OP:
                zeige_op(t.teil_op());
                return;
            case teil_arten::ROP:
                zeige_vergl(t.teil_rop());
                return;
            case teil_arten::IF_CASE:
                put("if");
                return;
            case teil_arten::DO_CASE:
                put("do");
                return;
            case teil_arten::ZUW:
                put(":=");
                return;
        }
        common::check_failed(common::here());
    }

    // teile: the parts from the head down, joined by a bare "&".
    [[gnu::always_inline]] void teile_(teile a) {
        for (teile zelle = a; zelle != nullptr; zelle = zelle->rest) {
            if (zelle != a) {
                put('&');
            }
            teil_(zelle->t);
        }
    }

    [[gnu::always_inline]] void wert_(const wert& a) {
        switch (a.form) {
            case wert_art::UNDEF:
                put('_');
                return;
            case wert_art::DEF_WERT:
                put_image(a.zahl_wert());
                return;
        }
        common::check_failed(common::here());
    }

    [[gnu::always_inline]] void var(const variable& a) {
        put('(');
        put(a.variable_name);
        put(',');
        wert_(a.variable_wert);
        put(')');
    }

    [[gnu::always_inline]] void vars(umgebung a) {
        for (umgebung zelle = a; zelle != nullptr; zelle = zelle->next) {
            var(zelle->elem);
        }
    }

    // konf: the value stack reads from the value pushed first. Its parts are
    // taken bottom up from `werte` instead of a reversed copy (rev), whose
    // cells would pile up in the arena with every step of a run.
    [[gnu::always_inline]] void konf(const konfiguration& a) {
        put("<< ");
        vars(a.um);
        put(" , ");
        werte_.clear();
        for (teile zelle = a.wk; zelle != nullptr; zelle = zelle->rest) {
            werte_.push_back(zelle->t);
        }
        for (auto it = werte_.rbegin(); it != werte_.rend(); ++it) {
            if (it != werte_.rbegin()) {
                put('&');
            }
            teil_(*it);
        }
        put(" , ");
        teile_(a.zk);
        put(" >>");
    }

    void zeige_op(operator_ a) { put(row_text(operator_rows, a, common::here())); }
    void zeige_vergl(vergleicher a) { put(row_text(comparison_rows, a, common::here())); }

private:
    // ---- Writing in place ----

    [[gnu::always_inline]] void need(std::size_t count) {
        if (static_cast<std::size_t>(room_.end - room_.at) < count) {
            room_ = out_.widen(room_.at, count);
        }
    }
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
    [[gnu::always_inline]] void put_image(std::int64_t value) {
        need(common::image_room);
        room_.at = common::write_image(room_.at, value);
    }
    // A found text is read where it stands once the room is made: it may
    // stand in `out` itself, which making room can move.
    [[gnu::always_inline]] void put(const text_at& text) {
        need(text.length);
        common::copy_text(room_.at, text.in->data() + text.begin, text.length);
        room_.at += text.length;
    }
    [[nodiscard]] std::size_t position() const { return static_cast<std::size_t>(room_.at - out_.data()); }

    // out_of_line runs `make` on a renderer of its own.
    template <class A>
    void out_of_line(void (renderer::*make)(A), A a) {
        close();
        made_apart(out_, texts_, werte_, make, a);
        room_ = out_.open();
    }
    template <class A>
    [[gnu::noinline]] static void made_apart(common::text_buffer& out, Texts& texts, std::vector<teil>& werte,
                                             void (renderer::*make)(A), A a) {
        renderer r(out, texts, werte);
        (r.*make)(a);
        r.close();
    }

    // noted notes the text of `r`, from `begin` to here. The text is handed
    // back to `out` first: what a note points to stays, whatever fails later.
    template <class R>
    void noted(R& r, std::size_t begin) {
        close();
        texts_.note(r, begin, position());
    }

    // operation appends "(" left middle right ")", in this order: the text of
    // an operation and of a comparison alike.
    template <class M>
    void operation(ausdruck left, void (renderer::*middle)(M), M m, ausdruck right) {
        put('(');
        ausdr(left);
        (this->*middle)(m);
        ausdr(right);
        put(')');
    }

    [[gnu::always_inline]] void truth(bool w) {
        if (w) {
            put("true");
        } else {
            put("false");
        }
    }

    common::text_buffer& out_;
    Texts& texts_;
    std::vector<teil>& werte_;
    common::text_buffer::room room_;
};

// plain returns what the renderer's part `zeige` makes of `a` with no text
// at hand: the definition of every text.
template <class A>
std::string plain(void (renderer<no_texts>::*zeige)(A), std::type_identity_t<A> a) {
    common::text_buffer out;
    no_texts texts;
    std::vector<teil> werte;
    renderer<no_texts> r(out, texts, werte);
    (r.*zeige)(a);
    r.close();
    return std::string(out.view());
}

// Each configuration_renderer gets its own run number, never 0.
std::uint32_t next_run() {
    static std::uint32_t last = 0;
    last = last == UINT32_MAX ? 1 : last + 1;
    return last;
}

}  // namespace

teile rev(teile t) {
    teile result = nullptr;
    for (teile tx = t; tx != nullptr; tx = tx->rest) {
        result = common::make_scoped<teile_rec>(tx->t, result);
    }
    return result;
}

std::string zeige_op(operator_ a) {
    return plain(&renderer<no_texts>::zeige_op, a);
}
std::string zeige_vergl(vergleicher a) {
    return plain(&renderer<no_texts>::zeige_vergl, a);
}
std::string zeige_ausdr(ausdruck a) {
    return plain(&renderer<no_texts>::ausdr, a);
}
std::string zeige_bed(bedingung a) {
    return plain(&renderer<no_texts>::bed, a);
}
std::string zeige_anw_f(anweisung_f a) {
    return plain(&renderer<no_texts>::anw_f, a);
}
std::string zeige_teile(teile a) {
    return plain(&renderer<no_texts>::teile_, a);
}
std::string zeige_vars(umgebung a) {
    return plain(&renderer<no_texts>::vars, a);
}
std::string zeige_wert(const wert& a) {
    return plain(&renderer<no_texts>::wert_, a);
}
std::string zeige_var(const variable& a) {
    return plain(&renderer<no_texts>::var, a);
}
std::string zeige_konf(const konfiguration& a) {
    return plain(&renderer<no_texts>::konf, a);
}

configuration_renderer::configuration_renderer(const konfiguration& start)
    : run_(next_run()), program_(4096) {
    noting_texts texts{run_, program_};
    for (const teile stapel : {start.zk, start.wk}) {
        for (teile zelle = stapel; zelle != nullptr; zelle = zelle->rest) {
            try {
                renderer<noting_texts> walk(program_, texts, werte_);
                walk.teil_(zelle->t);
                walk.close();
            } catch (const common::named_error& e) {
                if (!e.is(common::check_error_name)) {
                    throw;
                }
            }
        }
    }
}

void configuration_renderer::konf(common::text_buffer& out, const konfiguration& a) {
    known_texts texts{{}, run_, program_, last_loop_};
    renderer<known_texts> r(out, texts, werte_);
    r.konf(a);
    r.close();
}

void configuration_renderer::vars(common::text_buffer& out, umgebung a) {
    known_texts texts{{}, run_, program_, last_loop_};
    renderer<known_texts> r(out, texts, werte_);
    r.vars(a);
    r.close();
}

}  // namespace baumwandler_package
