// The plain scanner, step by step as the algorithm reads: white space
// skipped, the sixteen lengths taken, the longest chosen with >=, the token
// cut from the rest. A loop stands in for the recursion of one call per
// token; it makes the cells in the same order and writes the same lines.
#include "tests/support/reference_scanner.hpp"

#include <cstring>
#include <string>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"
#include "common/textio.hpp"

namespace test_support {
namespace {

bool is_final(const scannerpak::dea_type& d, std::int32_t s, common::place where) {
    common::check(s >= 0 && s <= d.n(), where);
    return d.f.inh[static_cast<std::size_t>(s)];
}

// A character outside '!' .. '~': the code of a blank or less, or 127 or more.
bool outside_druckbare(char c) {
    const int code = static_cast<unsigned char>(c);
    return code <= ' ' || code >= 127;
}

// A copy of `text` in the arena, as long-lived as the cell that holds it.
std::string_view arena_copy(std::string_view text) {
    char* const copy = static_cast<char*>(common::arena_allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

}  // namespace

std::int32_t reference_erkanntespraefix(scannerpak::dea_ref d, std::string_view w) {
    common::check(d != nullptr, reference_places::null_automaton);
    std::int32_t akt = 0;
    std::int32_t aktvorher = 0;
    std::int32_t ausgabe = 0;
    std::size_t i = 1;  // the index of the next character, from 1
    while (akt != d->n() && i != w.size() + 1) {
        const char c = w[i - 1];
        if (outside_druckbare(c)) {
            aktvorher = akt;
            akt = d->n();
            ausgabe = ausgabe + 1;
        } else {
            aktvorher = akt;
            common::check(akt >= 0 && akt <= d->n(), reference_places::prefix_step);
            akt = d->det.cell(akt, c);
            i = i + 1;
            ausgabe = ausgabe + 1;
        }
    }
    if (is_final(*d, akt, reference_places::prefix_last_state)) {
        return ausgabe;
    }
    if (is_final(*d, aktvorher, reference_places::prefix_state_before)) {
        return ausgabe - 1;
    }
    return 0;
}

scannerpak::token_match reference_longest_match(const token_automata& automata, std::string_view text) {
    std::array<std::int32_t, scannerpak::tokenart_count> laengepraefix{};
    for (std::size_t k = 0; k < laengepraefix.size(); ++k) {
        laengepraefix[k] = reference_erkanntespraefix(automata[k], text);
    }
    std::int32_t laengste = 0;
    auto gefundenertoken = scannerpak::tokenart::GANZEZAHL_TOKEN;
    for (std::size_t k = 0; k < laengepraefix.size(); ++k) {
        if (laengepraefix[k] >= laengste) {
            laengste = laengepraefix[k];
            gefundenertoken = static_cast<scannerpak::tokenart>(k);
        }
    }
    return {gefundenertoken, laengste};
}

scannerpak::listoftoken reference_scanner(const token_automata& automata, std::string_view w) {
    scannerpak::listoftoken first = nullptr;
    scannerpak::listoftoken last = nullptr;
    while (true) {
        std::size_t position = 1;
        while (position <= w.size() &&
               std::string_view(" \t\r\n").find(w[position - 1]) != std::string_view::npos) {
            position = position + 1;
        }
        if (position > w.size()) {
            return first;
        }
        const char c = w[position - 1];
        const int code = static_cast<unsigned char>(c);
        if (code < 33 || code > 126) {
            common::standard_output().put_line("Das ASCII-Zeichen Nr." + common::image(code) +
                                               " ist kein druckbares Zeichen");
            common::raise(scannerpak::eingabefehler, scannerpak::places::not_printable);
        }
        const std::string_view zwischenstring = w.substr(position - 1);
        const scannerpak::token_match found = reference_longest_match(automata, zwischenstring);
        if (found.length == 0) {
            common::standard_output().put_line("EINGABEFEHLER:");
            common::standard_output().put_line("Das Zeichen '" + std::string(1, c) +
                                               "' ist nicht im Sprachschatz der Token");
            common::raise(scannerpak::eingabefehler, scannerpak::places::no_token);
        }
        const auto laengste = static_cast<std::size_t>(found.length);
        const std::string_view ergebnisstring = zwischenstring.substr(0, laengste);
        const std::string_view reststring = zwischenstring.substr(laengste);
        auto* const cell = common::make<scannerpak::elem>(found.kind, arena_copy(ergebnisstring));
        (last == nullptr ? first : last->rest) = cell;
        last = cell;
        w = reststring;
    }
}

}  // namespace test_support
