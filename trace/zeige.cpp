// Renderers of the While machine, their parts made out of line: the text of
// a record made from its parts, and the texts of a run, rendered once at its
// start. Lists are walked in a loop, so a text costs time linear in its
// length.
#include "trace/zeige.hpp"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "common/errors.hpp"

namespace baumwandler_package {

// ---- Made from their parts ----

namespace {

// operation writes "(" left middle right ")", in this order: the text of an
// operation and of a comparison alike.
template <class M>
void operation(line& erg, ausdruck left, void (*middle)(line&, M), M m, ausdruck right) {
    erg.put('(');
    zeige_ausdr(erg, left);
    middle(erg, m);
    zeige_ausdr(erg, right);
    erg.put(')');
}

}  // namespace

void detail::made_ausdr(common::text_buffer& out, run_texts* texts, ausdruck a) {
    line erg(out, texts);
    const ausdruck_rec& e = *common::not_null(a, common::here());
    const std::size_t begin = erg.position();
    switch (e.form) {
        case ausdrucks_art::ZAHL:
            erg.put_image(e.zahl_wert());
            break;
        case ausdrucks_art::NAME:
            erg.put(e.name_wert());
            break;
        case ausdrucks_art::VERKN:
            operation(erg, e.links_ausdruck(), zeige_op, e.operator_wert(), e.rechts_ausdruck());
            break;
        default:
            common::check_failed(common::here());
    }
    erg.noted(e.id, begin);
    erg.close();
}

void detail::made_bed(common::text_buffer& out, run_texts* texts, bedingung a) {
    line erg(out, texts);
    const bedingung_rec& b = *common::not_null(a, common::here());
    const std::size_t begin = erg.position();
    switch (b.form) {
        case bedingungs_art::WAHR:
            put_truth(erg, b.wahr_wert());
            break;
        case bedingungs_art::VERGLEICH:
            operation(erg, b.links_ausdruck(), zeige_vergl, b.vergleichs_wert(), b.rechts_ausdruck());
            break;
        default:
            common::check_failed(common::here());
    }
    erg.noted(b.id, begin);
    erg.close();
}

// A list cell's text runs from its statement to the end of its list: the
// cells are noted once the list's end is known. A cell whose text is at hand
// ends the walk, its text standing for the rest of the list.
void detail::made_anw_f(common::text_buffer& out, run_texts* texts, anweisung_f a) {
    line erg(out, texts);
    std::vector<std::pair<record_id, std::size_t>> begins;  // of the cells to note
    const bool noting = texts != nullptr && texts->noting();
    anweisung_f cell = a;
    for (; cell != nullptr; cell = cell->rest) {
        if (cell != a) {
            erg.put(';');
            if (const text_span known = erg.find(cell)) {
                erg.put(known);
                break;
            }
        }
        if (noting) {
            begins.emplace_back(cell->id, erg.position());
        }
        zeige_anw(erg, cell->anw);
    }
    erg.close();
    for (const auto& [id, begin] : begins) {
        texts->note(id, begin, erg.position());
    }
}

void detail::made_anw(common::text_buffer& out, run_texts* texts, anweisung a) {
    line erg(out, texts);
    const anweisung_rec& s = *common::not_null(a, common::here());
    switch (s.form) {
        case anweisungs_art::FALL:
            erg.put(" if ");
            zeige_bed(erg, s.bedingungs_wert_fall());
            erg.put(" then ");
            zeige_anw_f(erg, s.erst_anweisung_fall());
            erg.put(" else ");
            zeige_anw_f(erg, s.zweit_anweisung_fall());
            erg.put(" fi");
            break;
        case anweisungs_art::SCHLEIFE:
            erg.put(loop_opening);
            zeige_bed(erg, s.bedingungs_wert_schleife());
            erg.put(loop_middle);
            zeige_anw_f(erg, s.erst_anweisung_schleife());
            erg.put(loop_closing);
            break;
        case anweisungs_art::SKIP:
            erg.put("skip");
            break;
        case anweisungs_art::ZUWEISUNG:
            erg.put(s.zuweisungs_name());
            erg.put(":=");
            zeige_ausdr(erg, s.links_ausdruck());
            break;
        default:
            common::check_failed(common::here());
    }
    erg.close();
}

// ---- The texts of a run ----

namespace {

// A text that ends beyond 32 bits gets no span and is rendered anew.
bool fits(std::size_t end) {
    return end < UINT32_MAX;
}

// A start configuration whose records' numbers spread over more than this
// many numbers per record noted keeps no texts: its table would be mostly
// empty.
constexpr std::size_t numbers_per_record = 4;
constexpr std::size_t numbers_spare = 4096;

// The room that the program's text starts with: most programs' texts fit in
// it; a longer one grows it.
constexpr std::size_t program_text_room = 4096;

}  // namespace

run_texts::run_texts(const konfiguration& start) : program_(program_text_room) {
    for (const teile stack : {start.zk, start.wk}) {
        for (teile cell = stack; cell != nullptr; cell = cell->rest) {
            try {
                line erg(program_, this);
                detail::zeige_teil(erg, cell->t);
                erg.close();
            } catch (const common::named_error& e) {
                if (!e.is(common::check_error_name)) {
                    throw;
                }
            }
        }
    }
    noting_ = false;
    if (noted_.empty()) {
        return;
    }
    const auto [lowest, highest] = std::minmax_element(
        noted_.begin(), noted_.end(), [](const noted_text& x, const noted_text& y) { return x.id < y.id; });
    const record_id spread = highest->id - lowest->id + 1;
    if (spread <= numbers_per_record * noted_.size() + numbers_spare) {
        first_id_ = lowest->id;
        spans_.resize(spread);
        for (const noted_text& n : noted_) {
            spans_[n.id - first_id_] = n.span;
        }
    }
    noted_ = {};
}

void run_texts::note(record_id id, std::size_t begin, std::size_t end) {
    if (noting_ && id != 0 && fits(end)) {
        noted_.push_back({id, {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)}});
    }
}

text_span run_texts::loop_around(record_id condition_id, record_id body_id) {
    const text_span condition = known(condition_id);
    const text_span body = known(body_id);
    if (!condition || !body) {
        return {};
    }
    // The pieces must stand around the two texts, where they stand in the
    // text of a loop of the program.
    const auto stands = [this](std::size_t at, std::string_view piece) {
        return at + piece.size() <= program_.size() &&
               std::string_view(program_.data() + at, piece.size()) == piece;
    };
    const std::size_t condition_end = std::size_t{condition.begin} + condition.length;
    const std::size_t body_end = std::size_t{body.begin} + body.length;
    if (condition.begin < loop_opening.size() || body.begin != condition_end + loop_middle.size() ||
        !stands(condition.begin - loop_opening.size(), loop_opening) || !stands(condition_end, loop_middle) ||
        !stands(body_end, loop_closing)) {
        return {};
    }
    const std::size_t begin = condition.begin - loop_opening.size();
    const std::size_t end = body_end + loop_closing.size();
    if (!fits(end)) {
        return {};
    }
    last_loop_ = {
        condition_id, body_id, {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)}};
    return last_loop_.span;
}

}  // namespace baumwandler_package
