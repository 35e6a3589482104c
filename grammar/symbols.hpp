// Symbol traits: what the generic grammar modules need of a symbol or index
// type — its first and last value, its images, iteration over its values in
// ascending order, and (for grammar symbols) the last nonterminal.
//
// A symbol type is an enumeration (usually an `enum class`) that specialises
// `symbol_traits`. A grammar program lists its symbols once, one row each, in
// their order: the nonterminals (the start symbol first), then the
// terminals, then the end marker. The enumeration and the table of rows are
// both made from that list:
//
//   #define RUSKEL_SYMBOLS(ROW) ROW(nonterminal, S) ROW(terminal, AUF) ROW(terminal, ZU) ROW(end_marker,
//   ENDE)
//
//   enum class grammatiksymbole : std::uint8_t { RUSKEL_SYMBOLS(GRAMMAR_ENUMERATOR) };
//   constexpr grammar::symbol_row rows[]{RUSKEL_SYMBOLS(GRAMMAR_SYMBOL_ROW)};
//   template <>
//   struct grammar::symbol_traits<grammatiksymbole> : grammar::row_symbol_traits<grammatiksymbole, rows> {};
//
// A specialisation can only stand at namespace scope, so a program's symbol
// type and its rows stand there too; the rest of its grammar (the
// alternatives, the instance) is local to its main procedure.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

#include "common/errors.hpp"

namespace grammar {

// Specialised per symbol type. Members: `first`, `last` (values of the type),
// `image(value)` (a std::string); grammar symbols also `last_nonterminal`.
template <class Z>
struct symbol_traits;

// A type the generic modules can range over.
template <class Z>
concept symbol_type = std::is_enum_v<Z> && requires(Z z) {
    { symbol_traits<Z>::first } -> std::convertible_to<Z>;
    { symbol_traits<Z>::last } -> std::convertible_to<Z>;
    { symbol_traits<Z>::image(z) } -> std::convertible_to<std::string>;
};

// A symbol type split into nonterminals (first .. last_nonterminal) and
// terminals (the rest, the end marker last).
template <class Z>
concept grammar_symbol_type = symbol_type<Z> && requires {
    { symbol_traits<Z>::last_nonterminal } -> std::convertible_to<Z>;
};

// Position arithmetic on the underlying values.
template <symbol_type Z>
constexpr long long underlying(Z z) {
    return static_cast<long long>(static_cast<std::underlying_type_t<Z>>(z));
}

template <symbol_type Z>
constexpr Z first_symbol = symbol_traits<Z>::first;

template <symbol_type Z>
constexpr Z last_symbol = symbol_traits<Z>::last;

// Number of values of Z.
template <symbol_type Z>
constexpr std::size_t symbol_count = static_cast<std::size_t>(underlying(last_symbol<Z>) -
                                                              underlying(first_symbol<Z>) + 1);

// True when z is one of the values from first to last.
template <symbol_type Z>
constexpr bool in_range(Z z) {
    return underlying(z) >= underlying(first_symbol<Z>) && underlying(z) <= underlying(last_symbol<Z>);
}

// Position of z counted from the first value (0 for the first). A value
// outside the range is refused with the check error.
template <symbol_type Z>
constexpr std::size_t ordinal(Z z) {
    if (!in_range(z)) {
        common::check_failed(common::here());
    }
    return static_cast<std::size_t>(underlying(z) - underlying(first_symbol<Z>));
}

// The value at position `position` (0 for the first); checked.
template <symbol_type Z>
constexpr Z symbol_at(std::size_t position) {
    if (position >= symbol_count<Z>) {
        common::check_failed(common::here());
    }
    using U = std::underlying_type_t<Z>;
    return static_cast<Z>(static_cast<U>(underlying(first_symbol<Z>) + static_cast<long long>(position)));
}

// The image as the system's output prints it.
template <symbol_type Z>
std::string image(Z z) {
    return std::string(symbol_traits<Z>::image(z));
}

// Grammar symbols: True when z lies after the last nonterminal (the end
// marker included).
template <grammar_symbol_type Z>
constexpr bool is_terminal(Z z) {
    return underlying(z) > underlying(symbol_traits<Z>::last_nonterminal);
}

template <grammar_symbol_type Z>
constexpr Z last_nonterminal = symbol_traits<Z>::last_nonterminal;

// The first terminal: the value after the last nonterminal.
template <grammar_symbol_type Z>
constexpr Z first_terminal = symbol_at<Z>(ordinal(symbol_traits<Z>::last_nonterminal) + 1);

// The end marker: the last value.
template <grammar_symbol_type Z>
constexpr Z end_marker = last_symbol<Z>;

// The values from `from` to `to` inclusive, ascending (or, made with
// `descending`, from `to` down to `from`); empty when `to` comes before
// `from`. Use in a range-for.
template <symbol_type Z>
class symbol_range {
public:
    class iterator {
    public:
        constexpr iterator(long long value, long long step) : value_(value), step_(step) {}
        constexpr Z operator*() const {
            return static_cast<Z>(static_cast<std::underlying_type_t<Z>>(value_));
        }
        constexpr iterator& operator++() {
            value_ += step_;
            return *this;
        }
        constexpr bool operator==(const iterator& other) const { return value_ == other.value_; }

    private:
        long long value_;
        long long step_;
    };

    constexpr symbol_range(Z from, Z to, bool descending = false)
        : low_(underlying(from)),
          high_(std::max(underlying(to), underlying(from) - 1)),
          descending_(descending) {}

    [[nodiscard]] constexpr iterator begin() const {
        return descending_ ? iterator(high_, -1) : iterator(low_, 1);
    }
    [[nodiscard]] constexpr iterator end() const {
        return descending_ ? iterator(low_ - 1, -1) : iterator(high_ + 1, 1);
    }

private:
    long long low_;
    long long high_;
    bool descending_;
};

// Every value of Z, ascending.
template <symbol_type Z>
constexpr symbol_range<Z> all_symbols() {
    return symbol_range<Z>(first_symbol<Z>, last_symbol<Z>);
}

// Every value of Z, descending.
template <symbol_type Z>
constexpr symbol_range<Z> all_symbols_descending() {
    return symbol_range<Z>(first_symbol<Z>, last_symbol<Z>, true);
}

// The nonterminals, ascending.
template <grammar_symbol_type Z>
constexpr symbol_range<Z> nonterminals() {
    return symbol_range<Z>(first_symbol<Z>, last_nonterminal<Z>);
}

// The terminals, ascending, the end marker last.
template <grammar_symbol_type Z>
constexpr symbol_range<Z> terminals() {
    return symbol_range<Z>(first_terminal<Z>, last_symbol<Z>);
}

// A fixed array with one element per value of Z, indexed by the value itself
// (checked). A plain value: copied on assignment, compared element-wise.
template <symbol_type Z, class T>
struct symbol_array {
    std::array<T, symbol_count<Z>> cells{};

    constexpr T& operator[](Z z) { return cells[ordinal(z)]; }
    constexpr const T& operator[](Z z) const { return cells[ordinal(z)]; }
    constexpr bool operator==(const symbol_array&) const = default;
};

// A fixed array with one element per nonterminal of Z (a rule table, for
// instance), indexed by the nonterminal itself. Indexing with a terminal is
// refused with the check error.
template <grammar_symbol_type Z, class T>
struct nonterminal_array {
    std::array<T, ordinal(last_nonterminal<Z>) + 1> cells{};

    constexpr T& operator[](Z z) { return cells[position(z)]; }
    constexpr const T& operator[](Z z) const { return cells[position(z)]; }

private:
    static constexpr std::size_t position(Z z) {
        if (is_terminal(z)) {
            common::check_failed(common::here());
        }
        return ordinal(z);
    }
};

// --- Grammar symbols made from a list of rows ---

// What a row of a grammar program's symbol list says of its symbol.
enum class symbol_kind : std::uint8_t { nonterminal, terminal, end_marker };

// One symbol of a grammar program: its kind and its image, the literal name
// in upper case, for the end marker "'#'".
struct symbol_row {
    symbol_kind kind;
    std::string_view image;
};

// symbol_row_of returns the row of the symbol `name` of kind `kind`.
constexpr symbol_row symbol_row_of(symbol_kind kind, std::string_view name) {
    return {kind, kind == symbol_kind::end_marker ? std::string_view("'#'") : name};
}

// The two expansions of a symbol list ROW(kind, name): the enumerator, and
// the row of its image.
#define GRAMMAR_ENUMERATOR(kind, name) name,
#define GRAMMAR_SYMBOL_ROW(kind, name) ::grammar::symbol_row_of(::grammar::symbol_kind::kind, #name),

// rows_in_grammar_order returns true when `rows` hold at least one
// nonterminal, all nonterminals before the first terminal, and one end
// marker, the last row.
template <std::size_t N>
consteval bool rows_in_grammar_order(const symbol_row (&rows)[N]) {
    std::size_t nonterminal_rows = 0;
    while (nonterminal_rows < N && rows[nonterminal_rows].kind == symbol_kind::nonterminal) {
        ++nonterminal_rows;
    }
    for (std::size_t i = nonterminal_rows; i + 1 < N; ++i) {
        if (rows[i].kind != symbol_kind::terminal) {
            return false;
        }
    }
    return nonterminal_rows >= 1 && nonterminal_rows < N && rows[N - 1].kind == symbol_kind::end_marker;
}

// Traits of a grammar-symbol enumeration whose value i is described by row
// i of `Rows`, both made from one symbol list. Rows out of grammar order do
// not compile.
template <class Z, const auto& Rows>
struct row_symbol_traits {
    static_assert(rows_in_grammar_order(Rows), "nonterminals first, then terminals, the end marker last");

    static constexpr Z first = static_cast<Z>(0);
    static constexpr Z last = static_cast<Z>(std::size(Rows) - 1);
    static constexpr Z last_nonterminal =
        static_cast<Z>(std::ranges::count(Rows, symbol_kind::nonterminal, &symbol_row::kind) - 1);

    static std::string image(Z z) {
        const auto position = static_cast<std::size_t>(static_cast<std::underlying_type_t<Z>>(z));
        common::check(position < std::size(Rows), common::here());
        return std::string(Rows[position].image);
    }
};

// --- Index types over a range of characters ---

// An enumeration over a range of characters (such as 'A' to 'F'): each value
// prints as the character in apostrophes, "'A'".
template <class Z, char First, char Last>
struct char_symbol_traits {
    static constexpr Z first = static_cast<Z>(First);
    static constexpr Z last = static_cast<Z>(Last);
    static std::string image(Z z) { return std::string{'\'', static_cast<char>(z), '\''}; }
};

}  // namespace grammar
